// Which elements a row of a table covers: the elements it counts, which the marks in the drawing are put
// on. A table's section says it for each of its rows, as plain data; counting/Marks.h finds the elements.
#pragma once

#include <cstdint>
#include <string>

#include "counting/CheckList.h"
#include "counting/RowNames.h"

namespace jwcount {

struct ElementCover {
  enum class Source : uint8_t {
    kNothing,      // a head, a blank or a separator row
    kCountRow,     // a row of a count table: Table and Row, a subtotal or total summing what it sums
    kBlockName,    // every insertion of the block named Name, or of every block when Every is set
    kTextContent,  // every text whose content is Name, or every text when Every is set
    kCheck,        // every element Check found (of Kind alone, for a kind's duplicates)
    // The quantity sheet's rows, which the take-off's own rules select (takeoff/Takeoff.h) rather than
    // the count's attributes: what the rules of item Row took, or what no rule took of column Row (1 to
    // 13; 0 for every column).
    kTakeoffItem,
    kUnassigned,
  };
  Source From = Source::kNothing;
  CountTableId Table = CountTableId::kSG1;
  int Row = 0;
  uint32_t Kinds = 0;  // kCountRow: bit k for elements of kind k alone; 0 for every kind the row counts
  bool Every = false;
  std::string Name;  // the drawing's own bytes
  CheckId Check = CheckId::kDuplicates;
  int32_t Kind = 0;  // 1 to 15, or 0 for every kind
  // What the reply calls the row (Shift-JIS), and how many elements the row counts.
  std::string Label;
  int64_t Count = 0;

  bool CoversAny() const { return From != Source::kNothing && Count > 0; }
};

}  // namespace jwcount
