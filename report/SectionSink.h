// Where a section writes its records: the one way every output reaches the sections. Text, CSV and JSON
// are sinks; a section writes to any of them through Section::Write, in the form that sink renders. A
// section with no form of its own is written from its grid (WriteGrid), so a new section needs nothing
// but its grid to appear in every output.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
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

// The workbook as sections write it: a sheet for each member (as in the JSON report, a section writes to
// its own or to one it shares), each a table under one row of heads, of typed cells written left to right,
// row by row. Texts are Shift-JIS and always stay texts; numbers are numbers with the decimals they show.
class SectionSheet {
 public:
  virtual ~SectionSheet() = default;

  // The sheet being written: a section writes its part of it, or nothing.
  std::string_view Member;

  // Starts the sheet `name` under `heads`. A sheet that several sections share is started by the first
  // of them; a later Begin only goes on with it.
  virtual void Begin(std::string_view name, std::span<const std::string> heads) = 0;
  virtual void Text(std::string_view shiftJis) = 0;
  virtual void Whole(int64_t value) = 0;
  // A figure at full precision, shown with `decimals` decimals and a thousands separator.
  virtual void Figure(double value, int decimals) = 0;
  // A formula in the workbook's own notation ("ROUND(D2*F2,0)"), with the figure it gives, so that a
  // reader that does not calculate shows it too.
  virtual void Formula(std::string_view formula, double result, int decimals) = 0;
  virtual void Blank() = 0;
  virtual void EndRow() = 0;
  // The sheet's row the next cells go to: the heads are row 0. Formulas name cells by it (CellName).
  virtual int64_t Row() const = 0;
};

// A cell's name in a formula: column 0 and row 0 are A1.
std::string CellName(int column, int64_t row);

// An output the sections write to. Exactly one of the forms is given.
class SectionSink {
 public:
  virtual ~SectionSink() = default;
  virtual SectionText* Text() { return nullptr; }
  virtual SectionCsv* Csv() { return nullptr; }
  virtual SectionJson* Json() { return nullptr; }
  virtual SectionSheet* Sheet() { return nullptr; }
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

class SheetSink final : public SectionSink {
 public:
  explicit SheetSink(SectionSheet& sheet) : sheet_(sheet) {}
  SectionSheet* Sheet() override { return &sheet_; }

 private:
  SectionSheet& sheet_;
};

// Calls the one of `text`, `csv`, `json` and `sheet` whose form the sink renders, with that form.
template <class Text, class Csv, class Json, class Sheet>
void WriteForm(SectionSink& sink, Text&& text, Csv&& csv, Json&& json, Sheet&& sheet) {
  if (SectionText* form = sink.Text()) {
    text(*form);
  } else if (SectionCsv* form = sink.Csv()) {
    csv(*form);
  } else if (SectionJson* form = sink.Json()) {
    json(*form);
  } else if (SectionSheet* form = sink.Sheet()) {
    sheet(*form);
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
// heads; in the JSON report (under the member `id`) an array of rows, each an array of the cell texts; in
// the workbook (the sheet `id`, named by the title) its rows under its first row, a figure of a column of
// figures as a number (GridFigure).
void WriteGrid(SectionSink& sink, std::string_view id, std::string_view title, const GridSource& grid);

// A cell of a column of figures as a number: its CSV text read as a decimal, with the decimals it has (at
// most three shown); none for a head, a text or a blank cell.
struct CellFigure {
  double Value = 0;
  int Decimals = 0;
};
std::optional<CellFigure> GridFigure(const GridSource& grid, int column, int row);

// A grid as a sheet of the workbook, named `name`: its first row as the heads, then its rows, a figure of a
// column of figures as a number.
void WriteGridSheet(SectionSheet& out, std::string_view name, const GridSource& grid);

}  // namespace jwcount
