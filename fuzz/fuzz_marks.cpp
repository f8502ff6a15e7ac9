// Fuzz target: arbitrary bytes as JWC_TEMP.TXT (after a first byte, as fuzz_read_count takes them), counted,
// then marked. Checks:
// - every row of every section marks exactly as many elements as it counts;
// - the reply that marks the rows the first byte picks, and the reply that marks everything, are sound:
//   the notice within 200 bytes, then "bz", "lc9", "lt9", and one "ci X Y 2.5" per element marked, X and Y
//   in plain decimal (no exponent, no "nan", no "inf"), at most 10,000 of them; every element of the
//   selection is marked, over the cap or without a point, exactly once; no line is longer than 255 bytes,
//   ends in a double quote, or holds a CR or LF of its own.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "counting/Marks.h"
#include "counting/RunSequence.h"
#include "report/CheckSection.h"
#include "report/MarkReply.h"
#include "report/SectionList.h"
#include "tests/support/FakeFileSystem.h"
#include "tests/support/QuietCount.h"

namespace {

using namespace jwcount;

const std::filesystem::path kFolder = "jw";
const std::filesystem::path kTempFile = kFolder / "JWC_TEMP.TXT";

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz_marks: %s\n", what);
  std::abort();
}

bool IsPlainDecimal(std::string_view text) {
  if (!text.empty() && text[0] == '-') text.remove_prefix(1);
  if (text.empty()) return false;
  int points = 0;
  for (const char c : text) {
    if (c == '.')
      ++points;
    else if (c < '0' || c > '9')
      return false;
  }
  return points <= 1 && text.front() != '.' && text.back() != '.';
}

void CheckReply(const JwwGaibu& reader, const std::vector<ElementCover>& covers) {
  const MarkReply reply = MakeMarkReply(reader, covers);
  const int64_t selected = SelectElements(reader, covers).Size();
  Check(reply.Marked + reply.OverCap + reply.NoPoint == selected, "an element was marked twice or lost");
  Check(reply.Marked <= kMaxMarks, "more marks than the cap");
  Check(reply.Lines.size() == static_cast<std::size_t>(reply.Marked) + 4, "a mark line too many or too few");
  Check(reply.Lines[0].size() <= kMaxMarkNotice && reply.Lines[0].rfind("h#", 0) == 0, "bad notice");
  Check(reply.Lines[1] == "bz" && reply.Lines[2] == "lc9" && reply.Lines[3] == "lt9", "bad pen records");
  for (std::size_t i = 0; i < reply.Lines.size(); ++i) {
    const std::string& line = reply.Lines[i];
    Check(line.size() <= 255 && line.find_first_of("\r\n") == std::string::npos,
          "a line the host cannot read");
    Check(line.empty() || line.back() != '"', "a line that joins the next");
    if (i < 4) continue;
    Check(line.rfind("ci ", 0) == 0 && line.size() > 7 && line.substr(line.size() - 4) == " 2.5", "bad mark");
    const std::string_view xy = std::string_view(line).substr(3, line.size() - 7);
    const std::size_t blank = xy.find(' ');
    Check(blank != std::string_view::npos && IsPlainDecimal(xy.substr(0, blank)) &&
              IsPlainDecimal(xy.substr(blank + 1)),
          "a mark's point is no plain decimal");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const uint8_t pick = data[0];
  test::FakeFileSystem files;
  files.files[kTempFile] = std::string(reinterpret_cast<const char*>(data) + 1, size - 1);
  JwwGaibu reader(files);
  ReadForCount(reader, kTempFile);
  // One set of tables for all inputs, as in fuzz_read_count: a fresh width table per input costs most of
  // the time.
  static CountTables tables;
  test::QuietHost host;
  CountElements(reader, tables, kFolder, host);

  const SectionData sectionData{tables, reader.Drawing};
  std::vector<ElementCover> picked;
  int row = 0;
  for (const SectionRow& sectionRow : Sections()) {
    const std::unique_ptr<Section> section = sectionRow.Make(sectionData);
    section->Refresh();
    for (int r = 0; r < section->RowCount(); ++r, ++row) {
      ElementCover cover = section->RowCover(r);
      if (!cover.CoversAny()) continue;
      const ElementCover one[] = {cover};
      Check(SelectElements(reader, one).Size() == cover.Count, "a row marks other than what it counts");
      if ((row + pick) % 7 == 0) picked.push_back(std::move(cover));
    }
  }
  CheckReply(reader, picked);
  std::vector<ElementCover> everything = CheckCovers(tables.Checks);
  ElementCover all;
  all.From = ElementCover::Source::kCountRow;
  all.Table = CountTableId::kSG2;
  all.Row = kSg2TotalRow;
  all.Count = reader.EntityCount();
  everything.push_back(all);
  CheckReply(reader, everything);
  return 0;
}
