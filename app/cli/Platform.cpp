#include "Platform.h"

#include <system_error>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>

#endif

namespace jwcount {

#ifdef _WIN32

std::filesystem::path ProgramFolder() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size())
      return std::filesystem::path(buffer.data(), buffer.data() + length).parent_path();
    buffer.resize(buffer.size() * 2);  // the path was cut off: try again with more room
  }
}

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

std::filesystem::path ProgramFolder() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return self.parent_path();
}

bool IsTerminal(std::FILE* stream) {
  return isatty(fileno(stream)) != 0;
}

Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;

#endif

}  // namespace jwcount
