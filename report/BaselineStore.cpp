#include "report/BaselineStore.h"

#include <cstdint>
#include <cstdio>
#include <ctime>

#include "report/JsonReport.h"
#include "text/ShiftJis.h"

namespace jwcount {
namespace {

// The path from UTF-8, on every system.
std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// The last component of a Shift-JIS path: what follows the last "\" or "/" that is a character of its own,
// not the second byte of a double-byte character such as 表 (0x95 0x5C).
std::string_view FileNameOf(std::string_view path) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const auto b = static_cast<unsigned char>(path[i]);
    if (IsCp932LeadByte(b) && i + 1 < path.size()) {
      ++i;
    } else if (b == '\\' || b == '/' || b == ':') {
      start = i + 1;
    }
  }
  return path.substr(start);
}

// 32 bits of FNV-1a over the path's bytes, ASCII letters in lower case.
uint32_t PathHash(std::string_view path) {
  uint64_t h = 14695981039346656037ull;
  for (const char c : path) {
    const auto b = static_cast<unsigned char>(c);
    h ^= b >= 'A' && b <= 'Z' ? b + ('a' - 'A') : b;
    h *= 1099511628211ull;
  }
  return static_cast<uint32_t>(h ^ (h >> 32));
}

bool ReadAll(FileSystem& files, const std::filesystem::path& path, std::string& bytes) {
  std::unique_ptr<InputFile> file = files.OpenForRead(path);
  if (file == nullptr) return false;
  char buffer[65536];
  for (;;) {
    const std::ptrdiff_t n = file->Read(buffer, sizeof buffer);
    if (n < 0) return false;
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return file->Close();
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

std::filesystem::path BaselineFolder(const std::filesystem::path& programFolder) {
  return programFolder / PathOf("基準");
}

std::filesystem::path BaselinePath(const std::filesystem::path& programFolder, std::string_view drawingPath) {
  if (drawingPath.empty()) return {};
  char hash[16];
  std::snprintf(hash, sizeof hash, "_%08x.json", static_cast<unsigned>(PathHash(drawingPath)));
  std::string name = ShiftJisToUtf8(FileNameOf(drawingPath));
  // A name of control characters or replacement marks still names a file; one of nothing gets the hash alone.
  for (char& c : name)
    if (static_cast<unsigned char>(c) < 0x20 || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' ||
        c == '|')
      c = '_';
  return BaselineFolder(programFolder) / PathOf(name + hash);
}

std::string BaselineBytes(const CountReport& report, const JwwGaibu& reader, std::string_view time) {
  std::string bytes;
  OutputBuffer out(bytes);
  Utf8Text utf8;
  WriteBaselineFile(out, utf8, report, reader, time);
  out.Flush();
  return bytes;
}

CountComparison CompareWithKept(const CountReport& report, FileSystem& files,
                                const std::filesystem::path& programFolder) {
  CountComparison comparison;
  const std::filesystem::path path = BaselinePath(programFolder, report.State.Drawing.FileName);
  if (path.empty()) {
    comparison.State = CountComparison::Outcome::kNoDrawing;
    return comparison;
  }
  if (!files.Exists(path)) {
    comparison.State = CountComparison::Outcome::kNoBaseline;
    return comparison;
  }
  std::string bytes;
  if (!ReadAll(files, path, bytes)) {
    comparison.State = CountComparison::Outcome::kUnreadable;
    comparison.Error = SnapshotError::kCannotRead;
    return comparison;
  }
  const SnapshotRead read = ReadSnapshot(bytes);
  if (read.Error != SnapshotError::kNone) {
    comparison.State = CountComparison::Outcome::kUnreadable;
    comparison.Error = read.Error;
    return comparison;
  }
  comparison.State = CountComparison::Outcome::kCompared;
  comparison.Diff = CompareCounts(read.Snapshot, SnapshotOf(report));
  return comparison;
}

}  // namespace jwcount
