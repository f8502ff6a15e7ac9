#include "tempfile/ProgramPath.h"

#include <system_error>

#ifdef _WIN32
#include <windows.h>

#include <string>
#endif

namespace jwcount {

#ifdef _WIN32

std::filesystem::path ProgramPath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(buffer.size() * 2);  // the path was cut off: try again with more room
  }
}

#else

std::filesystem::path ProgramPath() {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return self;
}

#endif

std::filesystem::path ProgramFolder() {
  return ProgramPath().parent_path();
}

}  // namespace jwcount
