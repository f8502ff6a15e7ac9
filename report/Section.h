// The sections of the count: each table the outputs show (the five count tables with their lengths and
// areas, the blocks and the texts by name, the drawing checks, the comparison with a baseline) described
// once, in one class each. A section is a grid for the window's page and its CSV save, and writes its own
// part of the text report and of the CSV report, which walk the list of sections in order.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "counting/CountTables.h"
#include "report/GridSource.h"
#include "report/OutputBuffer.h"
#include "tempfile/ReaderState.h"
#include "text/Utf8Text.h"

namespace jwcount {

// The text report as sections write it: UTF-8 for a terminal, tables aligned by width.
class SectionText {
 public:
  SectionText(OutputBuffer& out, Utf8Text& utf8) : out_(out), utf8_(utf8) {}

  // One line of Shift-JIS text.
  void Line(std::string_view shiftJis);
  // An empty line between two tables.
  void BlankLine() { out_.Append('\n'); }
  // A table of UTF-8 cells under its title: the first column left-aligned, the others right-aligned two
  // columns apart, by width on a terminal; the last one left-aligned too when it holds words, not figures.
  void Table(std::string_view title, const std::vector<std::vector<std::string>>& rows,
             bool lastColumnLeft = false);

  // Shift-JIS text as UTF-8.
  std::string Utf8(std::string_view shiftJis);
  // A name from the drawing as UTF-8 for a terminal: a control character the name carries (a broken
  // double-byte character can hide a tab or an escape) shows as U+FFFD, so that it can neither move the
  // columns nor reach the terminal.
  std::string Name(std::string_view shiftJis);

 private:
  OutputBuffer& out_;
  Utf8Text& utf8_;
};

// The CSV report as sections write it: one record a line, of the section's title, the row, the name the
// drawing gives that row, the column and the value (Shift-JIS in, UTF-8 out).
class SectionCsv {
 public:
  SectionCsv(OutputBuffer& out, Utf8Text& utf8) : out_(out), utf8_(utf8) {}
  void Record(std::string_view table, std::string_view row, std::string_view name, std::string_view column,
              std::string_view value);

 private:
  OutputBuffer& out_;
  Utf8Text& utf8_;
  std::string line_;
};

class Section : public GridSource {
 public:
  // What the section is called in files and selectors that name it ("SG1", "blocks", ...), and its title
  // (Shift-JIS).
  virtual std::string_view Id() const = 0;
  virtual std::string_view Title() const = 0;
  // False for a section with nothing to show in this count (the comparison, when there is none): the
  // reports leave it out.
  virtual bool HasContent() const { return true; }
  // The section's part of the text report and of the CSV report.
  virtual void WriteText(SectionText& out) const = 0;
  virtual void WriteCsv(SectionCsv& out) const = 0;
};

// What the sections show: the count's tables, the drawing for the names of its layers and layer groups,
// and what the count is compared with, if anything. All outlive the sections.
struct CountComparison;
struct SectionData {
  const CountTables& Tables;
  const DrawingState& Drawing;
  const CountComparison* Comparison = nullptr;
};

struct SectionRow {
  std::string_view Id;
  std::string_view Title;  // Shift-JIS, as its page shows it
  std::unique_ptr<Section> (*Make)(const SectionData& data);
};

// Every section, in the order of the pages and the reports.
std::span<const SectionRow> Sections();

}  // namespace jwcount
