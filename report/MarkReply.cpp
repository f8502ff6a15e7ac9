#include "report/MarkReply.h"

#include <cmath>

#include "counting/Marks.h"
#include "report/ReplyText.h"
#include "takeoff/Takeoff.h"

namespace jwcount {
namespace {

// clang-format off
constexpr std::string_view kNoticePrefix = "h#";
constexpr std::string_view kMarked = "\x88\xF3\x82\xF0\x95t\x82\xAF\x82\xDC\x82\xB5\x82\xBD: ";  // 印を付けました:
constexpr std::string_view kNoneMarked =  // 印を付けられませんでした:
    "\x88\xF3\x82\xF0\x95t\x82\xAF\x82\xE7\x82\xEA\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD: ";
constexpr std::string_view kOverCap = "\x8F\xE3\x8C\xC0\x82\xF0\x92\xB4\x82\xA6\x82\xBD \x82\xD9\x82\xA9 ";  // 上限を超えた ほか
constexpr std::string_view kNoPoint = "\x88\xCA\x92u\x82\xCC\x82\xC8\x82\xA2 ";  // 位置のない
constexpr std::string_view kItems = " \x8C\x8F";  // " 件"
// clang-format on
constexpr std::string_view kSheetUnits = "bz";
constexpr std::string_view kConstructionColour = "lc9";
constexpr std::string_view kConstructionType = "lt9";
// A row's label in the notice keeps at most this many bytes.
constexpr std::size_t kMaxLabelBytes = 60;

// "(上限を超えた ほか N 件, 位置のない M 件)" for what was left unmarked; "" when nothing was.
std::string UnmarkedText(const MarkReply& reply) {
  std::string text;
  auto add = [&text](std::string_view what, int64_t count) {
    if (count == 0) return;
    text += text.empty() ? " (" : ", ";
    text += what;
    text += std::to_string(count);
    text += kItems;
  };
  add(kOverCap, reply.OverCap);
  add(kNoPoint, reply.NoPoint);
  if (!text.empty()) text += ")";
  return text;
}

// The notice: what was marked, row by row, cut at a character to keep the line within kMaxMarkNotice bytes,
// and what was left unmarked, which is never cut.
std::string Notice(std::span<const ElementCover> covers, const MarkReply& reply) {
  std::string items;
  for (const ElementCover& cover : covers) {
    if (!cover.CoversAny()) continue;
    if (!items.empty()) items += ", ";
    items += ReplyText(cover.Label, kMaxLabelBytes);
    items += ' ';
    items += std::to_string(cover.Count);
  }
  const std::string unmarked = UnmarkedText(reply);
  const std::string_view lead = reply.Marked > 0 ? kMarked : kNoneMarked;
  const std::size_t room = kMaxMarkNotice - kNoticePrefix.size() - lead.size() - unmarked.size();
  std::string notice(kNoticePrefix);
  notice += lead;
  notice += ReplyText(items, room);
  notice += unmarked;
  return notice;
}

}  // namespace

// Every element the covers take: the count's rows by the count's attributes, the quantity sheet's by its
// rules.
ElementSelection CoveredElements(const JwwGaibu& reader, std::span<const ElementCover> covers,
                                 const TakeoffRules* takeoffRules) {
  ElementSelection selection = SelectElements(reader, covers);
  std::vector<TakeoffPick> picks;
  for (const ElementCover& cover : covers) {
    if (cover.From == ElementCover::Source::kTakeoffItem || cover.From == ElementCover::Source::kUnassigned)
      picks.push_back({cover.From == ElementCover::Source::kUnassigned, cover.Row});
  }
  if (picks.empty() || takeoffRules == nullptr) return selection;
  const ElementSelection taken = SelectTakeoffElements(*takeoffRules, reader, picks);
  for (std::size_t w = 0; w < selection.Bits.size() && w < taken.Bits.size(); ++w)
    selection.Bits[w] |= taken.Bits[w];
  return selection;
}

MarkReply MakeMarkReply(const JwwGaibu& reader, std::span<const ElementCover> covers,
                        const TakeoffRules* takeoffRules) {
  const ElementSelection selection = CoveredElements(reader, covers, takeoffRules);
  MarkReply reply;
  std::vector<std::string> marks;
  const int32_t count = reader.EntityCount();
  for (int32_t i = 0; i < count; ++i) {
    if (!selection.Has(static_cast<std::size_t>(i))) continue;
    const EntityIndexEntry& e = reader.Entity(i);
    const MarkPoint p = ElementPoint(reader.Stores, e.Kind, e.Position);
    const double divisor = SheetDivisor(reader.Drawing, reader.Header(e.Kind, e.Position).LayerGroup);
    const double x = p.X / divisor;
    const double y = p.Y / divisor;
    if (!(std::abs(x) <= kMaxMarkCoordinate && std::abs(y) <= kMaxMarkCoordinate)) {
      ++reply.NoPoint;  // also a NaN, which fails every comparison
    } else if (reply.Marked == kMaxMarks) {
      ++reply.OverCap;
    } else {
      ++reply.Marked;
      marks.push_back("ci " + ReplyNumber(x) + " " + ReplyNumber(y) + " " + ReplyNumber(kMarkRadius));
    }
  }
  reply.Lines.reserve(marks.size() + 4);
  reply.Lines.push_back(Notice(covers, reply));
  for (const std::string_view record : {kSheetUnits, kConstructionColour, kConstructionType})
    reply.Lines.emplace_back(record);
  for (std::string& mark : marks) reply.Lines.push_back(std::move(mark));
  return reply;
}

std::string MarkReplyBytes(const MarkReply& reply) {
  std::string bytes;
  for (const std::string& line : reply.Lines) {
    bytes += line;
    bytes += "\r\n";
  }
  return bytes;
}

}  // namespace jwcount
