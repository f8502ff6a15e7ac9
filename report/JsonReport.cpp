// The JSON report: the labels and status texts, then what the sections write (the count tables, block and
// text lists, lengths and areas and checks, each under its own key) with the layer names among them, and,
// when the report asks for it, the reader state after the read (report/StateJson.h).
#include "report/JsonReport.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>
#include <vector>

#include "report/CountDiff.h"
#include "report/JsonWriter.h"
#include "report/SectionList.h"
#include "report/StateJson.h"

namespace jwcount {
namespace {

void WriteNames(JsonWriter& json, const DrawingState& d) {
  json.Key("names");
  json.BeginObject();
  json.Newline();
  json.TextArrayField("groups", d.GroupNames);
  json.Newline();
  json.TextArrayField("layers", d.LayerNames);
  json.EndObject();
}

// The member a kept baseline adds: which drawing, when, over which range, by which version.
void WriteBaselineStamp(JsonWriter& json, const DrawingState& drawing, std::string_view time) {
  json.Key("baseline");
  json.BeginObject();
  json.TextField("file", drawing.FileName);
  json.Key("time");
  if (time.empty()) {
    json.Real(std::numeric_limits<double>::quiet_NaN());  // null
  } else {
    json.Text(time);  // ASCII
  }
  json.Key("range");
  const bool noRange =
      std::all_of(drawing.HnValues.begin(), drawing.HnValues.end(), [](double v) { return v == 0; });
  if (noRange) {
    json.Real(std::numeric_limits<double>::quiet_NaN());  // null
  } else {
    json.Array(drawing.HnValues);
  }
  json.Key("version");
  json.Text(JwcountVersion());
  json.EndObject();
}

// The members of the report the sections write, in their order: the count tables, the blocks, the names
// of the layer groups and layers (the drawing's, not a section's), the lengths and areas of the tables, the
// texts and the checks; then the own member of any other section, in the order of the sections.
constexpr std::string_view kNamesMember = "names";
constexpr std::string_view kMemberOrder[] = {"tables",     "blocks", kNamesMember,
                                             "quantities", "texts",  "checks"};

std::vector<std::string_view> MemberOrder(const std::vector<std::unique_ptr<Section>>& sections) {
  std::vector<std::string_view> order(std::begin(kMemberOrder), std::end(kMemberOrder));
  for (const std::unique_ptr<Section>& section : sections) {
    for (const std::string_view member : section->JsonMembers())
      if (std::find(order.begin(), order.end(), member) == order.end()) order.push_back(member);
  }
  return order;
}

// One member: written by the section whose own it is, or an object of the parts of those that share it.
void WriteMember(JsonWriter& json, std::string_view member,
                 const std::vector<std::unique_ptr<Section>>& sections) {
  std::vector<const Section*> writers;
  for (const std::unique_ptr<Section>& section : sections) {
    const std::vector<std::string_view> members = section->JsonMembers();
    if (std::find(members.begin(), members.end(), member) != members.end()) writers.push_back(section.get());
  }
  if (writers.empty()) return;
  json.Newline();
  json.Key(member);
  JsonSink sink(json, member);
  const bool shared = writers.size() > 1 || writers[0]->Id() != member;
  if (shared) json.BeginObject();
  for (const Section* section : writers) section->Write(sink);
  if (shared) json.EndObject();
}

// The report, and with `baselineTime` the member of a kept baseline.
void WriteReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report, const JwwGaibu& reader,
                 std::span<const SectionRow> sectionRows, const std::string_view* baselineTime) {
  JsonWriter json(out, utf8);
  json.BeginObject();
  json.Field("read_ok", report.ReadOk);
  json.Newline();
  json.ArrayField("summary", report.Summary);
  json.Newline();
  json.TextArrayField("labels", report.Labels);
  json.Newline();
  json.TextArrayField("status", report.Statuses);
  const std::vector<std::unique_ptr<Section>> sections = ReportSections(report, sectionRows);
  for (const std::string_view member : MemberOrder(sections)) {
    if (member == kNamesMember) {
      json.Newline();
      WriteNames(json, report.State.Drawing);
    } else {
      WriteMember(json, member, sections);
    }
  }
  if (report.ShowState) {
    json.Newline();
    json.Key("state");
    WriteStateJson(json, report.State, reader);
  }
  if (baselineTime != nullptr) {
    json.Newline();
    WriteBaselineStamp(json, report.State.Drawing, *baselineTime);
  }
  json.EndObject();
  out.Append('\n');
}

}  // namespace

void WriteJsonReport(OutputBuffer& out, Utf8Text& utf8, const CountReport& report, const JwwGaibu& reader,
                     std::span<const SectionRow> sections) {
  WriteReport(out, utf8, report, reader, sections, nullptr);
}

void WriteBaselineFile(OutputBuffer& out, Utf8Text& utf8, const CountReport& report, const JwwGaibu& reader,
                       std::string_view time) {
  WriteReport(out, utf8, report, reader, Sections(), &time);
}

}  // namespace jwcount
