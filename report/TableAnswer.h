// The count drawn into the drawing: a table of the element kinds and the block names with their counts,
// written into the reply as drawing records after the notice line. Jw_cad draws it on the user's current
// write layer with the current pen, its top-left corner at the point the user picked (the BAT's "#0"
// setting makes that point the origin of the reply), in the user's text size. The reply never sets a layer,
// colour, line type or width and never deletes anything, so the drawing keeps every element and Jw_cad's
// own undo takes the table away again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "counting/CountRun.h"
#include "counting/CountTables.h"
#include "tempfile/JwwGaibu.h"

namespace jwcount {

// At most this many block names get a row of their own; the rest share one row "ほか N 種".
inline constexpr std::size_t kMaxTableNameRows = 200;
// A text of a cell holds at most this many bytes; a longer name is cut at a character and ends in "…".
// With the text sizes accepted below, every record stays well within the reply's 255 bytes.
inline constexpr std::size_t kMaxCellTextBytes = 160;
// Text sizes (sheet millimetres) outside these are taken for a broken header.
inline constexpr double kMinTableTextSize = 0.01;
inline constexpr double kMaxTableTextSize = 1000.0;
// The size used when the exchange file gives none.
inline constexpr double kFallbackTextSize = 3.5;

// The text size the table is laid out in, and the record that makes Jw_cad draw its texts in that size:
// "cn<k>" for one of the drawing's text kinds 1 to 10, or "cn0 <width> <height> <spacing> <colour>".
struct TableTextSize {
  double Width = kFallbackTextSize;
  double Height = kFallbackTextSize;
  double Spacing = 0.0;
  std::string Record;
};

// The text kind of the first "cn" record the host wrote, with its size from the header's hcw, hch and hcd
// (kinds 1 to 10) or from the record's own free size (any other kind). When the header gave no text
// sizes at all (every kind still at the reader's default), or the sizes are no real sizes, the table uses
// a free size of 3.5 mm.
TableTextSize ChooseTableTextSize(const DrawingState& drawing);

struct TableLine {
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

// A text drawn from its lower-left corner (X, Y), running Length to the right.
struct TableText {
  double X = 0, Y = 0, Length = 0;
  std::string Text;  // Shift-JIS
};

// The table in sheet millimetres, relative to its top-left corner (0, 0); y grows upwards, so the rows
// lie below 0.
struct TableLayout {
  TableTextSize Size;
  double Width = 0;
  double Height = 0;
  std::vector<TableLine> Lines;
  std::vector<TableText> Texts;
};

// Head row "種類 | 数", one row per summary count other than 0 (its caption without "数："), "合計"; then,
// when blocks were counted, "ブロック名 | 数", one row per name in the table's order (at most
// kMaxTableNameRows, then "ほか N 種" with the rest of the count) and "合計". Ruled lines around and between
// the cells; columns as wide as their longest text plus a margin; texts vertically centred.
TableLayout LayOutTable(const DrawingState& drawing, const SummaryCounts& summary,
                        const NameCountTable& blocks);

// The reply records of a layout, in order: "bz", the text size record, "cc0", the ruled lines as plain
// line records, the texts as "ch" records. No record ends in a double quote and none is longer than 255
// bytes.
std::vector<std::string> TableRecords(const TableLayout& layout);

// The one call of a count host that answers with the table (from CountHost::AppendToReply, after the notice
// line): appends the records of the table of this count to the reader's reply buffer. Appends nothing when
// `complete` is false (Escape stopped the tally) or `readToEnd` is false (the exchange file could not be
// read to its end; a missing file is no short read), so that the reply is then the notice alone.
void AppendTableAnswer(JwwGaibu& reader, const CountTables& tables, bool complete, bool readToEnd);

}  // namespace jwcount
