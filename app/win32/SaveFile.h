// The files the window writes on the user's request (the CSV save and the workbook with their Save dialog,
// the drawing's baseline and the reply with marks) and the file dialogs the window asks with. A failure never
// leaves half a file: the bytes go into a temporary file beside the target, which then takes the target's
// place in one step.
#pragma once

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "report/CsvFileName.h"

namespace jwcount {

// The filter of the dialogs that pick CSV files: CSV files, then all files.
inline constexpr wchar_t kCsvFilter[] = L"CSV ファイル (*.csv)\0*.csv\0すべてのファイル (*.*)\0*.*\0";

// What a file dialog shows: its title, its filter (pairs of a text and a pattern, each ending in \0), the
// extension a name typed without one is given (none for nullptr), the folder it opens on and the name it
// offers.
struct FileDialog {
  const wchar_t* Title = nullptr;
  const wchar_t* Filter = nullptr;
  const wchar_t* Extension = nullptr;
  std::wstring Folder;
  std::wstring Name;
};

// The Save dialog, which asks before an existing file is replaced, and the Open dialog, for a file that
// exists: the path chosen, or "" when the user cancelled.
std::wstring AskSavePath(HWND owner, const FileDialog& dialog);
std::wstring AskOpenPath(HWND owner, const FileDialog& dialog);

// Says in a message box titled caption that something failed with a file: the text `failed`, the path and
// then `why` (the system's error text, say).
void ShowFileFailure(HWND owner, const wchar_t* failed, const std::wstring& path, const std::wstring& why,
                     const wchar_t* caption);

// Asks for a CSV file to save to, opening the Save dialog on the offered folder when it exists (else on
// fallbackFolder) with the offered name, and writes the bytes made by `csv` there. A failed write is shown
// to the user with the path and the system's error text, in a message box titled `caption`.
void SaveCsvFile(HWND owner, const CsvFileName& offered, const std::filesystem::path& fallbackFolder,
                 const std::function<std::string()>& csv, const wchar_t* caption);

// Asks for an Excel workbook to save to, as SaveCsvFile asks for a CSV file, and has `write` write it
// into a new file beside the path chosen (the path `write` is given; it returns "" when it wrote the
// workbook whole, else why not, in UTF-8), which then takes the chosen path's place. A file Excel holds
// open is said so, with the advice to close it there and save again; any other failure is shown with the
// path and the reason. Nothing half-written is left either way.
// A failure's message starts with kXlsxNotSaved, which the status line may repeat.
enum class SaveOutcome { kCancelled, kSaved, kFailed };
inline constexpr wchar_t kXlsxNotSaved[] = L"Excel ファイルを保存できませんでした。";
SaveOutcome SaveWorkbookFile(HWND owner, const CsvFileName& offered,
                             const std::filesystem::path& fallbackFolder,
                             const std::function<std::string(const std::filesystem::path&)>& write,
                             const wchar_t* caption);

// Writes bytes to path as WriteFileReplacing does, its folder made first when makeFolder. A failure is
// shown in a message box titled caption: the text `failed`, the path and the system's error text. True when
// the file was written.
struct WriteFailure {
  const wchar_t* Failed;
  const wchar_t* Caption;
  bool MakeFolder = false;
};
bool WriteFileOrSay(HWND owner, const std::filesystem::path& path, std::string_view bytes,
                    const WriteFailure& failure);

// Keeps the drawing's baseline (the bytes `baseline` makes) in `file`, or says why not: a drawing never
// saved (an empty path) has no file to keep it in, a baseline kept already is replaced only when the user
// says so, and a failure leaves the one kept before as it was. True when the baseline was kept.
bool KeepBaselineFile(HWND owner, const std::filesystem::path& file,
                      const std::function<std::string()>& baseline, const wchar_t* caption);

// Writes bytes to path. The path afterwards holds either all the new bytes or, after a failure, whatever it
// held before; the temporary file is gone either way. ERROR_SUCCESS, or the system's error code.
DWORD WriteFileReplacing(const std::wstring& path, std::string_view bytes);

// The system's text for an error code, in the user's language, without its line break.
std::wstring SystemErrorText(DWORD error);

}  // namespace jwcount
