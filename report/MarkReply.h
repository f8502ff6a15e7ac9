// The reply that shows the user where things are: a circle drawn around every element the chosen rows
// cover. Jw_cad draws the circles on the user's current write layer in construction-line colour and type
// (補助線色, 補助線種), which show on screen and never print; 属性選択 picks them all at once, and Jw_cad's
// own undo takes them away. The reply never deletes, and never sets a layer group or layer: a reply's layer
// moves the user's write layer and can make a protected layer group editable.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "counting/ElementCover.h"
#include "takeoff/TakeoffRules.h"
#include "tempfile/JwwGaibu.h"

namespace jwcount {

// At most this many marks are drawn; the message says how many more there were.
inline constexpr int64_t kMaxMarks = 10000;
// The notice line, "h#" included, is at most this long.
inline constexpr std::size_t kMaxMarkNotice = 200;
// The radius of a mark in sheet millimetres: a circle of 5 mm on paper at any scale.
inline constexpr double kMarkRadius = 2.5;
// A point further than this from the origin, in sheet millimetres, is no place on any sheet: it gets no
// mark, like a point that is not a number.
inline constexpr double kMaxMarkCoordinate = 1e12;

struct MarkReply {
  // The reply's lines in order: the notice, "bz", "lc9", "lt9", then one "ci X Y 2.5" per mark.
  std::vector<std::string> Lines;
  int64_t Marked = 0;
  int64_t OverCap = 0;  // elements past kMaxMarks, left without a mark
  int64_t NoPoint = 0;  // elements whose point is no number after scaling, left without a mark
};

// The reply that marks every element the covers take, each once, in reading order. The notice names the
// covers that take something with the number each row counts: "印を付けました: 重複 2, 長さ 0 の線 2".
// Rows of the quantity sheet are found by the take-off's rules, given where the sheet has them.
MarkReply MakeMarkReply(const JwwGaibu& reader, std::span<const ElementCover> covers,
                        const TakeoffRules* takeoffRules = nullptr);

// The reply file's bytes: each line and CR LF, Shift-JIS.
std::string MarkReplyBytes(const MarkReply& reply);

}  // namespace jwcount
