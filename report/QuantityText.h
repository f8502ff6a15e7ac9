// Lengths and areas as the outputs show them: which rows of a table hold any, and their figures in metres
// and square metres for people or in the drawing's own units at full precision for files.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "counting/CountTable.h"

namespace jwcount {

// The rows of a table that hold a length or an area (subtotals included), then the total row, which is
// always last.
std::vector<int> QuantityRows(const CountTable& table);

// True when the table's total row holds a length or an area: the drawing measures something.
bool HasQuantities(const CountTable& table);

// The four figures of a row in the order of their heads (kQuantityHeads): lines, circles and arcs, all
// lengths (mm), solid area (mm²).
std::array<double, 4> QuantityFigures(const RowQuantities& q);

// A figure for people, Shift-JIS: mm as m (or mm² as ㎡, when `area`) with three decimals and a thousands
// separator ("1,234.567"); "？" for a sum beyond the range of a double.
std::string ShownQuantity(double drawingUnits, bool area);

// A decimal for people: a thousands separator in its whole part ("1,234.5", "-1,234").
std::string WithThousands(std::string_view decimal);

// A figure for a file: the shortest text that reads back as exactly the same double; "" for a sum beyond
// the range of a double.
std::string ExactQuantity(double value);

}  // namespace jwcount
