// What changed between two counts of a drawing: a count kept as the baseline (the JSON report with a
// "baseline" member saying which drawing, when, over which range and by which version) against a later
// count, row by row: counts of each kind in every table, lengths and areas, blocks and texts by name, and
// what the checks found.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace jwcount {

// Where and when a count was made; every field unknown for a plain JSON report.
struct BaselineInfo {
  std::optional<std::string> File;             // the drawing's path, UTF-8
  std::optional<std::string> Time;             // ISO 8601 with its offset
  std::optional<std::array<double, 4>> Range;  // the selection range ("hn")
  std::optional<std::string> Version;          // jwcount's version
};

// A count as the comparison reads it: from a JSON report, or from a count just made.
struct CountSnapshot {
  static constexpr int kCountColumns = 13;
  struct Table {
    std::vector<std::string> ColumnHeads;                    // row 0, UTF-8 (column 0 the corner)
    std::vector<std::string> RowHeads;                       // column 0 of every row, UTF-8
    std::vector<std::array<int64_t, kCountColumns>> Counts;  // columns 1 to 13 of every row; blank is 0
    std::vector<std::optional<double>> Length;  // mm, per row; none where the sum left a double's range
    std::vector<std::optional<double>> Area;    // mm²
  };
  struct Name {
    std::string Bytes;  // the drawing's own bytes
    int64_t Count = 0;
  };
  BaselineInfo Info;
  std::array<Table, 5> Tables;  // SG1 to SG5
  std::vector<Name> Blocks;
  std::vector<Name> Texts;
  std::vector<std::pair<std::string, int64_t>> Checks;  // key path ("duplicates.total", ...) and number
  std::vector<std::string> GroupNames;                  // UTF-8, 16
  std::vector<std::string> LayerNames;                  // UTF-8, 256: group × 16 + layer
  // A section written from its grid (one with no form of its own): its id and every row of cells, UTF-8.
  struct Grid {
    std::string Id;
    std::vector<std::vector<std::string>> Rows;
  };
  std::vector<Grid> Grids;
  // The quantity sheet's items, where the count was made with rules that applied: each by its head
  // (工種／品名／規格／単位, UTF-8) with its 数量 and 金額 (none where the sheet gives none).
  struct SheetItem {
    std::string Head;
    std::optional<double> Quantity;
    std::optional<double> Amount;
    int64_t Elements = 0;
  };
  std::optional<std::vector<SheetItem>> Sheet;
};

// Why a JSON text is no count to compare with.
enum class SnapshotError { kNone, kCannotRead, kEmpty, kCut, kNotJson, kWrongShape, kNewerVersion };

struct SnapshotRead {
  CountSnapshot Snapshot;
  SnapshotError Error = SnapshotError::kNone;
  std::string Detail;  // where the shape was wrong, for the CLI's message (English)
};

// Reads a JSON report or a baseline file. Never throws; a text that is not one gives the error.
SnapshotRead ReadSnapshot(std::string_view json);

// The snapshot of a count just made, as ReadSnapshot would read its JSON report; the time is left unknown.
// `sections` are those its report holds: every section of the count, unless told otherwise.
struct CountReport;
struct SectionRow;
CountSnapshot SnapshotOf(const CountReport& report, std::span<const SectionRow> sections);
CountSnapshot SnapshotOf(const CountReport& report);

// jwcount's own version, as a baseline records it.
std::string_view JwcountVersion();

// One figure that differs. Counts are whole numbers; lengths and areas are not, and either side may be
// unknown (beyond a double), which differs from any number and leaves the change unknown.
// The count columns whose elements have a length (lines; circles and arcs) and an area (the solids from
// triangles to rings).
inline constexpr int kLengthFirstColumn = 1;
inline constexpr int kLengthLastColumn = 2;
inline constexpr int kAreaFirstColumn = 9;
inline constexpr int kAreaLastColumn = 13;

struct DiffRow {
  static constexpr int kLengthColumn = 14;
  static constexpr int kAreaColumn = 15;
  std::string Section;    // "SG1" to "SG5", "blocks", "texts", "checks", "takeoff", or a grid's id
  int Row = -1;           // the row in the report's table (SG1 to SG5), else -1
  int Column = 0;         // SG1 to SG5: 1 to 13 for a count, kLengthColumn or kAreaColumn
  std::string Head;       // the row's head, or the name as shown, or the check's key path (UTF-8)
  std::string RowName;    // SG1 and SG2: the name the drawing gives the row's layer or group (UTF-8)
  std::string Name;       // blocks and texts: the name's own bytes
  std::string Bytes;      // blocks and texts: the name's bytes in hex
  std::string Item;       // the column's head, 長さ(mm), 面積(mm2), 数, or an item's 数量 or 金額
  bool Quantity = false;  // a length or area
  // The elements behind the current figure: its count, or for a length those of lines, circles and arcs in
  // the row, for an area those of the solids that have one (triangles to rings).
  int64_t Elements = 0;
  std::optional<double> Baseline, Current, Change;
};

struct CountDiff {
  BaselineInfo Baseline;
  BaselineInfo Current;
  bool RangeDiffers = false;
  std::vector<DiffRow> Rows;
};

// A count against the baseline kept for its drawing, as page 11 shows it: the comparison, or why there
// is none.
struct CountComparison {
  enum class Outcome : uint8_t {
    kNoDrawing,   // the drawing was never saved: no path to keep a baseline by
    kNoBaseline,  // none kept for this drawing yet
    kUnreadable,  // one is kept but cannot be read (Error says why); it is left as it is
    kCompared,
    kNotCompared,  // the count did not cover the whole drawing (stopped by Escape, a file read in part)
  };
  Outcome State = Outcome::kNoBaseline;
  SnapshotError Error = SnapshotError::kNone;
  CountDiff Diff;
};

// The rows that differ, in order: SG1 to SG5, each row's count cells then its length and area; blocks and
// texts in the current count's order followed by the names found only in the baseline; then the checks;
// then the quantity sheet's items whose 数量 or 金額 changed (when both counts have a sheet; an item on one
// side only counts 0 on the other); then each section written from its grid, the cells that hold whole
// numbers by the heads of their row and column (a blank cell counts 0; a row or column only one count has
// counts 0 in the other).
CountDiff CompareCounts(const CountSnapshot& baseline, const CountSnapshot& current);

}  // namespace jwcount
