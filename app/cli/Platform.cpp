#include "app/cli/Platform.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace jwcount {

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
