// Fuzz target: LoadPlacement on arbitrary bytes, with read failures injected, and SavePlacement of what
// was loaded.
//
// Input: byte 0 chooses how many bytes each read delivers; byte 1 chooses the read call that fails (none
// when its top bit is clear) and whether closing fails; the rest is the placement file. The loaded values
// are checked against a reference worked out here: the file's first four lines, split by the line-break
// rules and converted with TextToInt (which fuzz_numbers checks), only lines completed before a failed
// read counting, and the minimums applied. Then the values are saved and must read back unchanged, and a
// save whose write fails must leave no file.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/view/Placement.h"
#include "tempfile/MyFunc.h"
#include "tests/support/FakeFileSystem.h"

namespace {

using jwcount::WindowPlacement;
using jwcount::test::FakeFileSystem;

const std::filesystem::path kPath = "jw/jwcount.dat";

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz_placement: %s\n", what);
  std::abort();
}

// A line without its break: cut at a Ctrl-Z, every CR dropped.
std::string CleanLine(std::string_view line) {
  line = line.substr(0, line.find('\x1A'));
  std::string out;
  for (char c : line) {
    if (c != '\r') out.push_back(c);
  }
  return out;
}

// The placement the loader must give. `delivered` bytes reach the loader; when `failed`, the read after
// them fails, else the file ends after them.
WindowPlacement Expected(std::string_view bytes, bool failed) {
  WindowPlacement p;
  std::array<int32_t*, 4> fields = {&p.Left, &p.Top, &p.Width, &p.Height};
  std::size_t pos = 0;
  bool atEnd = false;
  for (int32_t* field : fields) {
    if (!atEnd && pos == bytes.size() && failed) break;
    if (!atEnd && (pos == bytes.size() || bytes[pos] == '\x1A')) atEnd = true;
    if (atEnd) {
      *field = 0;
      continue;
    }
    const std::size_t lf = bytes.find('\n', pos);
    if (lf == std::string_view::npos && failed) break;  // the line's end never arrived
    const std::size_t end = lf == std::string_view::npos ? bytes.size() : lf;
    *field = jwcount::TextToInt(CleanLine(bytes.substr(pos, end - pos)));
    pos = lf == std::string_view::npos ? bytes.size() : lf + 1;
  }
  p.Width = std::max(p.Width, jwcount::kMinPlacementWidth);
  p.Height = std::max(p.Height, jwcount::kMinPlacementHeight);
  return p;
}

bool Same(const WindowPlacement& a, const WindowPlacement& b) {
  return a.Left == b.Left && a.Top == b.Top && a.Width == b.Width && a.Height == b.Height;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t chunk = 1 + data[0] % 32;
  const int failAtRead = (data[1] & 0x80) != 0 ? 1 + (data[1] & 0x0F) : 0;
  const bool closeFails = (data[1] & 0x40) != 0;
  const std::string file(reinterpret_cast<const char*>(data) + 2, size - 2);

  FakeFileSystem fs;
  fs.files[kPath] = file;
  fs.readChunk = chunk;
  fs.failAtRead = failAtRead;
  fs.closeInputFails = closeFails;
  const WindowPlacement loaded = jwcount::LoadPlacement(fs, kPath);

  // Read number r delivers the bytes from (r - 1) * chunk on; the read after the last byte reports the
  // end. A failing read number f cuts the file after (f - 1) * chunk bytes unless the end came first.
  const std::size_t endRead = (file.size() + chunk - 1) / chunk + 1;
  const bool failed = failAtRead != 0 && static_cast<std::size_t>(failAtRead) <= endRead;
  const std::size_t delivered = failed ? std::min(file.size(), (failAtRead - 1) * chunk) : file.size();
  Check(Same(loaded, Expected(std::string_view(file).substr(0, delivered), failed)),
        "the loaded placement differs from the reference");
  Check(loaded.Width >= jwcount::kMinPlacementWidth && loaded.Height >= jwcount::kMinPlacementHeight,
        "the minimums were not applied");
  Check(fs.files.size() == 1 && fs.files[kPath] == file, "loading changed the file system");

  FakeFileSystem out;
  jwcount::SavePlacement(out, kPath, loaded);
  Check(Same(jwcount::LoadPlacement(out, kPath), loaded), "a saved placement does not read back unchanged");

  FakeFileSystem full;
  full.files[kPath] = "old";
  full.failWriteAtByte = data[0] % 40;  // the four lines need at least 4 * 5 = 20 bytes
  jwcount::SavePlacement(full, kPath, loaded);
  const std::string text = std::to_string(loaded.Left) + "\r\n" + std::to_string(loaded.Top) + "\r\n" +
                           std::to_string(loaded.Width) + "\r\n" + std::to_string(loaded.Height) + "\r\n";
  if (text.size() <= full.failWriteAtByte) {
    Check(full.files.count(kPath) == 1 && full.files[kPath] == text,
          "a save that fits was not written whole");
  } else {
    Check(full.files.empty(), "a failed save left a file behind");
  }
  return 0;
}
