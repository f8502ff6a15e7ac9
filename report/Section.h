// The sections of the count: each table the outputs show (the five count tables with their lengths and
// areas, the blocks and the texts by name, the drawing checks, the comparison with a baseline) described
// once, in one class each. A section is a grid for the window's page and its CSV save, and writes its
// records to every output through one sink (report/SectionSink.h); the outputs walk the list of sections
// (report/SectionList.h) in order.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "counting/CountTables.h"
#include "report/GridSource.h"
#include "report/SectionSink.h"
#include "tempfile/ReaderState.h"

namespace jwcount {

class Section : public GridSource {
 public:
  // What the section is called in files and selectors that name it ("SG1", "blocks", ...), and its title
  // (Shift-JIS).
  virtual std::string_view Id() const = 0;
  virtual std::string_view Title() const = 0;
  // The name of its sheet in the workbook (Shift-JIS): its title, unless that is long or said otherwise on
  // the page's tab.
  virtual std::string_view SheetName() const { return Title(); }
  // False for a section with nothing to show in this count (the comparison, when there is none): the
  // reports leave it out.
  virtual bool HasContent() const { return true; }
  // Writes the section's records to the sink, in its form: by default the grid as WriteGrid writes it.
  virtual void Write(SectionSink& sink) const { WriteGrid(sink, Id(), Title(), *this); }
  // The members of the JSON report the section writes to: its own (its id), by default.
  virtual std::vector<std::string_view> JsonMembers() const { return {Id()}; }
  // True for a section whose records differ from its grid and which the comparison compares by its own
  // rules (the count tables, the names, the checks); false for one written from its grid, which the
  // comparison compares cell by cell.
  virtual bool HasOwnForm() const { return false; }
};

// A section whose outputs are forms of its own rather than its grid (the count tables, the names, the
// checks, the comparison): it writes the text and CSV reports' part, and in the JSON report the value of its
// own member (its id), or what it writes to a member it shares.
class OwnFormSection : public Section {
 public:
  void Write(SectionSink& sink) const final;
  bool HasOwnForm() const final { return true; }

 protected:
  virtual void WriteText(SectionText& out) const = 0;
  virtual void WriteCsv(SectionCsv& out) const = 0;
  virtual void WriteJson(SectionJson& out) const;
  virtual void WriteJsonValue(JsonWriter& /*json*/) const {}
  // Its sheet of the workbook: by default its grid, under the sheet's name.
  virtual void WriteSheet(SectionSheet& out) const;
};

// What the sections show: the count's tables, the drawing for the names of its layers and layer groups,
// what the count is compared with, if anything, and its quantity sheet, if rules were given. All outlive the
// sections.
struct CountComparison;
struct TakeoffResult;
struct SectionData {
  const CountTables& Tables;
  const DrawingState& Drawing;
  const CountComparison* Comparison = nullptr;
  const TakeoffResult* Takeoff = nullptr;  // none where the count was made without take-off rules
};

struct SectionRow {
  std::string_view Id;
  std::string_view Title;  // Shift-JIS, as its page shows it
  std::unique_ptr<Section> (*Make)(const SectionData& data);
};

}  // namespace jwcount
