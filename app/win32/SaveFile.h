// The files the window writes on the user's request: the CSV save with its Save dialog, the drawing's
// baseline and the reply with marks. A failure never leaves half a file: the bytes go into a temporary
// file beside the target, which then takes the target's place in one step.
#pragma once

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "report/CsvFileName.h"

namespace jwcount {

// Asks for a CSV file to save to, opening the Save dialog on the offered folder when it exists (else on
// fallbackFolder) with the offered name, and writes the bytes made by `csv` there. A failed write is shown
// to the user with the path and the system's error text, in a message box titled `caption`.
void SaveCsvFile(HWND owner, const CsvFileName& offered, const std::filesystem::path& fallbackFolder,
                 const std::function<std::string()>& csv, const wchar_t* caption);

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
