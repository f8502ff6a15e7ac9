#include "report/CsvReport.h"

#include <string>

#include "report/CsvWriter.h"
#include "report/Section.h"

namespace jwcount {

void WriteCsvReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report) {
  std::string head(kUtf8ByteOrderMark);
  head += "table,row,name,column,count";
  head += kCsvLineEnd;
  out.Append(head);
  SectionCsv csv(out, utf8);
  for (const SectionRow& row : Sections()) row.Make({report.Tables, report.State.Drawing})->WriteCsv(csv);
}

}  // namespace jwcount
