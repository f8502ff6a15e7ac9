#include "report/TextReport.h"

namespace jwcount {

void WriteTextReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report,
                     std::span<const SectionRow> sections) {
  TextSink sink(out, utf8);
  for (const std::string& label : report.Labels) sink.Text()->Line(label);
  for (const std::unique_ptr<Section>& section : ReportSections(report, sections)) {
    sink.Text()->BlankLine();
    section->Write(sink);
  }
}

}  // namespace jwcount
