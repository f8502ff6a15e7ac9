// Where a section writes its records: the one way every output reaches the sections. Text, CSV and JSON
// are sinks; a section writes to any of them through Section::Write, in the form that sink renders. A
// section with no form of its own is written from its grid (WriteGrid), so a new section needs nothing
// but its grid to appear in every output.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "report/GridSource.h"
#include "report/JsonWriter.h"
#include "report/OutputBuffer.h"
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

// The JSON report as sections write it: the member being written, and the writer. A section writes the
// value of its own member (its id), or its part of a member the report groups ("tables", "quantities")
// as a key and value of that member's object.
struct SectionJson {
  JsonWriter& Json;
  std::string_view Member;
};

// An output the sections write to. Exactly one of the forms is given.
class SectionSink {
 public:
  virtual ~SectionSink() = default;
  virtual SectionText* Text() { return nullptr; }
  virtual SectionCsv* Csv() { return nullptr; }
  virtual SectionJson* Json() { return nullptr; }
};

class TextSink final : public SectionSink {
 public:
  TextSink(OutputBuffer& out, Utf8Text& utf8) : text_(out, utf8) {}
  SectionText* Text() override { return &text_; }

 private:
  SectionText text_;
};

class CsvSink final : public SectionSink {
 public:
  CsvSink(OutputBuffer& out, Utf8Text& utf8) : csv_(out, utf8) {}
  SectionCsv* Csv() override { return &csv_; }

 private:
  SectionCsv csv_;
};

class JsonSink final : public SectionSink {
 public:
  explicit JsonSink(JsonWriter& json, std::string_view member = {}) : json_{json, member} {}
  SectionJson* Json() override { return &json_; }
  void SetMember(std::string_view member) { json_.Member = member; }

 private:
  SectionJson json_;
};

// Calls the one of `text`, `csv` and `json` whose form the sink renders, with that form.
template <class Text, class Csv, class Json>
void WriteForm(SectionSink& sink, Text&& text, Csv&& csv, Json&& json) {
  if (SectionText* form = sink.Text()) {
    text(*form);
  } else if (SectionCsv* form = sink.Csv()) {
    csv(*form);
  } else if (SectionJson* form = sink.Json()) {
    json(*form);
  }
}

// A grid as the JSON report holds it: an array of rows, each on a line of its own and an array of the
// cell texts. A template, so that a section of a final class has its cells read without a virtual call.
template <class Grid>
void WriteJsonRows(JsonWriter& json, const Grid& grid) {
  json.BeginArray();
  for (int row = 0; row < grid.RowCount(); ++row) {
    json.Newline();
    json.BeginArray();
    for (int column = 0; column < grid.ColumnCount(); ++column) json.Text(grid.CellText(column, row));
    json.EndArray();
  }
  json.EndArray();
}

// A grid in every form, for a section with none of its own: in the text report a table of every row
// under the title; in the CSV report a record for every cell that is not blank, by its row's and column's
// heads; in the JSON report (under the member `id`) an array of rows, each an array of the cell texts.
void WriteGrid(SectionSink& sink, std::string_view id, std::string_view title, const GridSource& grid);

}  // namespace jwcount
