#include "app/cli/Platform.h"

#include <cstdio>
#include <fstream>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace jwcount {
namespace {

// Puts the finished file `from` in the place of `to`, replacing it in one step.
bool MoveOver(const std::filesystem::path& from, const std::filesystem::path& to) {
#ifdef _WIN32
  return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
  return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

}  // namespace

bool ReplaceFileBy(const std::filesystem::path& path,
                   const std::function<bool(const std::filesystem::path& temporary)>& write) {
  std::filesystem::path temporary = path;
  temporary += ".jwcount-new";
  if (write(temporary) && MoveOver(temporary, path)) return true;
  std::error_code ignored;
  std::filesystem::remove(temporary, ignored);
  return false;
}

bool ReplaceFileWhole(const std::filesystem::path& path, std::string_view bytes) {
  return ReplaceFileBy(path, [bytes](const std::filesystem::path& temporary) {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
  });
}

#ifdef _WIN32

bool IsTerminal(std::FILE* stream) {
  return _isatty(_fileno(stream)) != 0;
}

Utf8Console::Utf8Console() {
  _setmode(_fileno(stdout), _O_BINARY);
  if (IsTerminal(stdout) || IsTerminal(stderr)) {
    previousCodePage_ = GetConsoleOutputCP();
    SetConsoleOutputCP(CP_UTF8);
  }
}

Utf8Console::~Utf8Console() {
  std::fflush(stdout);
  std::fflush(stderr);
  if (previousCodePage_ != 0) SetConsoleOutputCP(previousCodePage_);
}

#else

bool IsTerminal(std::FILE* stream) {
  return isatty(fileno(stream)) != 0;
}

Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;

#endif

}  // namespace jwcount
