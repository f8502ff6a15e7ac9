// jwcount-cli: the count without the window.
#include <string>
#include <vector>

#include "app/cli/Cli.h"

#ifdef _WIN32
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  // Arguments arrive as UTF-16 so that any path works; the program takes them as UTF-8.
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
    std::string arg(size > 0 ? static_cast<std::size_t>(size - 1) : 0, '\0');
    if (size > 1) WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, arg.data(), size, nullptr, nullptr);
    args.push_back(std::move(arg));
  }
  return jwcount::RunCli(args);
}

#else

int main(int argc, char** argv) {
  return jwcount::RunCli(std::vector<std::string>(argv + 1, argv + argc));
}

#endif
