#include "report/CsvReport.h"

#include <string>

#include "report/CsvWriter.h"

namespace jwcount {

void WriteCsvReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report,
                    std::span<const SectionRow> sections) {
  std::string head(kUtf8ByteOrderMark);
  head += "table,row,name,column,count";
  head += kCsvLineEnd;
  out.Append(head);
  CsvSink sink(out, utf8);
  for (const std::unique_ptr<Section>& section : ReportSections(report, sections)) section->Write(sink);
}

}  // namespace jwcount
