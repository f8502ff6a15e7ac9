#include "report/DiffReport.h"

#include <string>
#include <vector>

#include "report/CsvWriter.h"
#include "report/DiffSection.h"
#include "text/Utf8Text.h"

namespace jwcount {
namespace {

CountComparison Compared(const CountDiff& diff) {
  CountComparison comparison;
  comparison.State = CountComparison::Outcome::kCompared;
  comparison.Diff = diff;
  return comparison;
}

}  // namespace

void WriteDiffText(OutputBuffer& out, const CountDiff& diff) {
  const CountComparison comparison = Compared(diff);
  Utf8Text utf8;
  TextSink sink(out, utf8);
  DiffSection(&comparison).Write(sink);
}

void WriteDiffCsv(OutputBuffer& out, const CountDiff& diff) {
  const CountComparison comparison = Compared(diff);
  const DiffSection section(&comparison);
  std::vector<std::vector<std::string>> rows = GridRows(section);
  // Nothing differs: the words under the heads, where the grid shows none.
  if (rows.size() == 1) rows.push_back({section.Message(), "", "", "", "", ""});
  out.Append(CsvFile(rows));
}

void WriteDiffJson(OutputBuffer& out, const CountDiff& diff) {
  const CountComparison comparison = Compared(diff);
  const DiffSection section(&comparison);
  Utf8Text utf8;
  JsonWriter json(out, utf8);
  JsonSink sink(json, section.Id());
  section.Write(sink);
  out.Append('\n');
}

}  // namespace jwcount
