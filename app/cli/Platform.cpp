#include "app/cli/Platform.h"

#include <cstdio>
#include <ctime>
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

// The broken-down local time and UTC of a moment.
void BreakDown(std::time_t t, std::tm& local, std::tm& utc) {
#ifdef _WIN32
  localtime_s(&local, &t);
  gmtime_s(&utc, &t);
#else
  localtime_r(&t, &local);
  gmtime_r(&t, &utc);
#endif
}

}  // namespace

std::string LocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  std::tm utc{};
  BreakDown(now, local, utc);
  // The offset: the local fields read as if they were UTC, less the moment itself.
  utc.tm_isdst = local.tm_isdst;
  const long offset = static_cast<long>(std::difftime(std::mktime(&local), std::mktime(&utc)));
  char text[40];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
  const long minutes = (offset < 0 ? -offset : offset) / 60;
  char zone[48];
  std::snprintf(zone, sizeof zone, "%c%02ld:%02ld", offset < 0 ? '-' : '+', minutes / 60, minutes % 60);
  return std::string(text) + zone;
}

bool ReplaceFileWhole(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::path temporary = path;
  temporary += ".jwcount-new";
  bool written = false;
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (out) {
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      out.close();
      written = !out.fail();
    }
  }
  if (written && MoveOver(temporary, path)) return true;
  std::error_code ignored;
  std::filesystem::remove(temporary, ignored);
  return false;
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
