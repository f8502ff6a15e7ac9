// The names a drawing gives its layer groups and layers ("lgn", "lyn"), found from the row of a count
// table, so that a row head such as "0－3" can be shown with its name ("壁").
#pragma once

#include <string_view>

#include "tempfile/ReaderState.h"

namespace jwcount {

// The tables by their place on the pages: SG1 (by layer group and layer) to SG5 (by line width).
enum class CountTableId { kSG1, kSG2, kSG3, kSG4, kSG5 };

// The name behind a row of a table (Shift-JIS bytes, as the drawing gives it): in SG1 a layer row gives its
// layer's name and a subtotal row its layer group's name; in SG2 a group row gives its group's name. Every
// other row, and a layer or group the drawing names not, gives "".
std::string_view RowName(const DrawingState& drawing, CountTableId table, int row);

}  // namespace jwcount
