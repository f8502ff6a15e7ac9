// What the console program needs from the operating system: terminal detection and a console that
// shows UTF-8.
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace jwcount {

// True when the stream writes to a terminal (a console window on Windows).
bool IsTerminal(std::FILE* stream);

// For the life of the object: standard output writes bytes unchanged, and a Windows console shows the
// UTF-8 the program writes. The console's code page is given back at the end.
class Utf8Console {
 public:
  Utf8Console();
  ~Utf8Console();
  Utf8Console(const Utf8Console&) = delete;
  Utf8Console& operator=(const Utf8Console&) = delete;

 private:
  [[maybe_unused]] unsigned previousCodePage_ = 0;  // used on Windows only
};

// Replaces the file at `path` with `bytes`, whole or not at all: they are written to a new file beside it,
// which then takes its place. On failure the old file is as it was, nothing is left behind, and the result
// is false.
bool ReplaceFileWhole(const std::filesystem::path& path, std::string_view bytes);

// The same for a file that `write` writes into the new file it is given (true when it wrote it whole).
bool ReplaceFileBy(const std::filesystem::path& path,
                   const std::function<bool(const std::filesystem::path& temporary)>& write);

}  // namespace jwcount
