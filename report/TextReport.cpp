#include "report/TextReport.h"

#include "report/Section.h"

namespace jwcount {

void WriteTextReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report) {
  SectionText text(out, utf8);
  for (const std::string& label : report.Labels) text.Line(label);
  for (const SectionRow& row : Sections()) {
    const std::unique_ptr<Section> section = row.Make({report.Tables, report.State.Drawing});
    if (!section->HasContent()) continue;
    text.BlankLine();
    section->WriteText(text);
  }
}

}  // namespace jwcount
