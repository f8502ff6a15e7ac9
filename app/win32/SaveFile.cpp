#include "app/win32/SaveFile.h"

#include <commdlg.h>

#include <algorithm>

#include "app/win32/WinText.h"
#include "app/win32/WinUtil.h"
#include "tempfile/FileIo.h"

namespace jwcount {
namespace {

// The Save dialog and its error message.
constexpr wchar_t kSaveCsvTitle[] = L"CSV ファイルに保存";
constexpr wchar_t kCsvExtension[] = L"csv";
constexpr wchar_t kSaveFailed[] = L"CSV ファイルを保存できませんでした。";
// The workbook's Save dialog and its messages.
constexpr wchar_t kSaveXlsxTitle[] = L"Excel ファイルに保存";
constexpr wchar_t kXlsxFilter[] = L"Excel ブック (*.xlsx)\0*.xlsx\0すべてのファイル (*.*)\0*.*\0";
constexpr wchar_t kXlsxExtension[] = L"xlsx";
constexpr wchar_t kXlsxHeldOpen[] =
    L"このファイルは Excel などで開かれているため、置き換えられません。\r\n\r\n"
    L"Excel でこのファイルを閉じてから、もう一度保存してください。";
constexpr DWORD kPathCapacity = 32768;  // the longest path Windows knows
// The drawing's baseline.
constexpr wchar_t kUnsavedDrawing[] =
    L"この図面はまだ保存されていないため、基準として保存できません。\r\n\r\n"
    L"Jw_cad で図面に名前を付けて保存してから、もう一度集計してください。";
constexpr wchar_t kReplaceBaseline[] =
    L"この図面の基準はすでに保存されています。\r\n\r\n今回の集計で置き換えますか？";
constexpr wchar_t kKeepFailed[] = L"基準を保存できませんでした。前の基準はそのまま残っています。";

constexpr DWORD kWriteStep = 1 << 20;
constexpr int kTemporaryNames = 100;

// CreateFileW .. CloseHandle; the close is checked by whoever needs to know it succeeded.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  bool Close() {
    if (handle_ == INVALID_HANDLE_VALUE) return true;
    const bool closed = CloseHandle(handle_) != FALSE;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

// Makes a new file beside path, named after it and this process, and opens it for writing.
HANDLE CreateTemporaryBeside(const std::wstring& path, std::wstring& temporary) {
  const std::wstring stem = path + L"." + std::to_wstring(GetCurrentProcessId());
  for (int attempt = 0; attempt < kTemporaryNames; ++attempt) {
    temporary = stem + L"-" + std::to_wstring(attempt) + L".tmp";
    const HANDLE handle = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (handle != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return handle;
  }
  return INVALID_HANDLE_VALUE;
}

DWORD WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD step = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kWriteStep));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), step, &written, nullptr)) return GetLastError();
    if (written == 0) return ERROR_WRITE_FAULT;
    bytes.remove_prefix(written);
  }
  return FlushFileBuffers(file) ? ERROR_SUCCESS : GetLastError();
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The Save or the Open dialog.
std::wstring AskPath(HWND owner, const FileDialog& dialog, bool save) {
  std::wstring file = dialog.Name;
  file.resize(kPathCapacity, L'\0');
  OPENFILENAMEW asked{};
  asked.lStructSize = sizeof asked;
  asked.hwndOwner = owner;
  asked.lpstrFilter = dialog.Filter;
  asked.nFilterIndex = 1;
  asked.lpstrFile = file.data();
  asked.nMaxFile = kPathCapacity;
  asked.lpstrInitialDir = dialog.Folder.c_str();
  asked.lpstrTitle = dialog.Title;
  asked.lpstrDefExt = dialog.Extension;
  asked.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  if (!(save ? GetSaveFileNameW(&asked) : GetOpenFileNameW(&asked))) return {};
  file.resize(file.find(L'\0'));
  return file;
}

// The folder the Save dialog opens on: the offered one where it exists, else fallbackFolder.
std::wstring OfferedFolder(const CsvFileName& offered, const std::filesystem::path& fallbackFolder) {
  std::wstring folder = WidenUtf8(offered.FolderUtf8);
  if (folder.empty() || !IsFolder(folder)) folder = fallbackFolder.wstring();
  return folder;
}

}  // namespace

std::wstring AskSavePath(HWND owner, const FileDialog& dialog) {
  return AskPath(owner, dialog, true);
}

std::wstring AskOpenPath(HWND owner, const FileDialog& dialog) {
  return AskPath(owner, dialog, false);
}

void ShowFileFailure(HWND owner, const wchar_t* failed, const std::wstring& path, const std::wstring& why,
                     const wchar_t* caption) {
  const std::wstring message = std::wstring(failed) + L"\r\n\r\n" + path + L"\r\n\r\n" + why;
  MessageBoxW(owner, message.c_str(), caption, MB_OK | MB_ICONERROR);
}

void SaveCsvFile(HWND owner, const CsvFileName& offered, const std::filesystem::path& fallbackFolder,
                 const std::function<std::string()>& csv, const wchar_t* caption) {
  const std::wstring path =
      AskSavePath(owner, {kSaveCsvTitle, kCsvFilter, kCsvExtension, OfferedFolder(offered, fallbackFolder),
                          WidenUtf8(offered.NameUtf8)});
  if (path.empty()) return;
  if (const DWORD error = WriteFileReplacing(path, csv()); error != ERROR_SUCCESS)
    ShowFileFailure(owner, kSaveFailed, path, SystemErrorText(error), caption);
}

SaveOutcome SaveWorkbookFile(HWND owner, const CsvFileName& offered,
                             const std::filesystem::path& fallbackFolder,
                             const std::function<std::string(const std::filesystem::path&)>& write,
                             const wchar_t* caption) {
  const std::wstring path =
      AskSavePath(owner, {kSaveXlsxTitle, kXlsxFilter, kXlsxExtension, OfferedFolder(offered, fallbackFolder),
                          WidenUtf8(offered.NameUtf8)});
  if (path.empty()) return SaveOutcome::kCancelled;
  // The temporary file is made here, so that a folder that refuses it is told with the system's reason,
  // and then left to the writer, which makes the workbook itself under that name.
  std::wstring temporary;
  if (FileHandle made(CreateTemporaryBeside(path, temporary)); !made.IsOpen()) {
    ShowFileFailure(owner, kXlsxNotSaved, path, SystemErrorText(GetLastError()), caption);
    return SaveOutcome::kFailed;
  }
  DeleteFileW(temporary.c_str());
  std::string why;
  DWORD error = ERROR_SUCCESS;
  {
    const WaitCursor wait;
    why = write(std::filesystem::path(temporary));
    if (why.empty() &&
        !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      error = GetLastError();
    }
  }
  if (why.empty() && error == ERROR_SUCCESS) return SaveOutcome::kSaved;
  DeleteFileW(temporary.c_str());
  if (!why.empty()) {
    ShowFileFailure(owner, kXlsxNotSaved, path, WidenUtf8(why), caption);
  } else if ((error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
              error == ERROR_ACCESS_DENIED) &&
             GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
    // An existing file that cannot be replaced: Excel shows it, and keeps it open while it does.
    ShowFileFailure(owner, kXlsxNotSaved, path, kXlsxHeldOpen, caption);
  } else {
    ShowFileFailure(owner, kXlsxNotSaved, path, SystemErrorText(error), caption);
  }
  return SaveOutcome::kFailed;
}

bool WriteFileOrSay(HWND owner, const std::filesystem::path& path, std::string_view bytes,
                    const WriteFailure& failure) {
  DWORD error = ERROR_SUCCESS;
  const std::wstring folder = path.parent_path().wstring();
  if (failure.MakeFolder && !CreateDirectoryW(folder.c_str(), nullptr) &&
      GetLastError() != ERROR_ALREADY_EXISTS)
    error = GetLastError();
  if (error == ERROR_SUCCESS) error = WriteFileReplacing(path.wstring(), bytes);
  if (error == ERROR_SUCCESS) return true;
  ShowFileFailure(owner, failure.Failed, path.wstring(), SystemErrorText(error), failure.Caption);
  return false;
}

bool KeepBaselineFile(HWND owner, const std::filesystem::path& file,
                      const std::function<std::string()>& baseline, const wchar_t* caption) {
  if (file.empty()) {
    MessageBoxW(owner, kUnsavedDrawing, caption, MB_OK | MB_ICONINFORMATION);
    return false;
  }
  if (NativeFileSystem().Exists(file) &&
      MessageBoxW(owner, kReplaceBaseline, caption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
    return false;
  }
  return WriteFileOrSay(owner, file, baseline(), {kKeepFailed, caption, true});
}

DWORD WriteFileReplacing(const std::wstring& path, std::string_view bytes) {
  std::wstring temporary;
  FileHandle file(CreateTemporaryBeside(path, temporary));
  if (!file.IsOpen()) return GetLastError();
  DWORD error = WriteAll(file.Get(), bytes);
  if (!file.Close() && error == ERROR_SUCCESS) error = GetLastError();
  if (error == ERROR_SUCCESS &&
      !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
  }
  if (error != ERROR_SUCCESS) DeleteFileW(temporary.c_str());
  return error;
}

std::wstring SystemErrorText(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text(buffer != nullptr ? buffer : L"", length);
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
    text.pop_back();
  if (text.empty()) text = L"エラー " + std::to_wstring(error);
  return text;
}

}  // namespace jwcount
