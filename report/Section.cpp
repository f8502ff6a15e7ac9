#include "report/Section.h"

namespace jwcount {

void OwnFormSection::Write(SectionSink& sink) const {
  WriteForm(
      sink, [this](SectionText& out) { WriteText(out); }, [this](SectionCsv& out) { WriteCsv(out); },
      [this](SectionJson& out) { WriteJson(out); }, [this](SectionSheet& out) { WriteSheet(out); });
}

void OwnFormSection::WriteSheet(SectionSheet& out) const {
  if (out.Member == Id()) WriteGridSheet(out, SheetName(), *this);
}

void OwnFormSection::WriteJson(SectionJson& out) const {
  if (out.Member == Id()) WriteJsonValue(out.Json);
}

}  // namespace jwcount
