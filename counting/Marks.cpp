// The elements rows cover, and the points marks go on.
#include "counting/Marks.h"

#include <array>
#include <bit>
#include <cmath>
#include <string_view>
#include <unordered_set>

#include "counting/CountTable.h"
#include "counting/DrawingChecks.h"

namespace jwcount {
namespace {

// Every cover at once, as a test on one element that costs the same for one row or for thirty thousand.
class CoverTest {
 public:
  explicit CoverTest(std::span<const ElementCover> covers) {
    for (const ElementCover& cover : covers) Add(cover);
  }

  bool NeedsChecks() const { return duplicates_ != 0 || zeroLength_ || zeroRadius_ || emptyTexts_; }

  bool Takes(const JwwGaibu& reader, const EntityIndexEntry& e, bool duplicate, bool empty) const {
    const EntityAttributes& a = reader.Header(e.Kind, e.Position);
    if (TakesByRow(e.Kind, a)) return true;
    if (e.Kind == kBlock &&
        (everyBlock_ ||
         (!blocks_.empty() && blocks_.contains(reader.Stores.Blocks[e.Position].BlockText.View()))))
      return true;
    if (e.Kind == kText &&
        (everyText_ || (!texts_.empty() && texts_.contains(reader.Stores.Texts[e.Position].Text.View()))))
      return true;
    if (duplicate && (duplicates_ >> e.Kind & 1) != 0) return true;
    if (!empty) return false;
    return (e.Kind == kLine && zeroLength_) || ((e.Kind == kCircle || e.Kind == kArc) && zeroRadius_) ||
           (e.Kind == kText && emptyTexts_);
  }

 private:
  void Add(const ElementCover& cover) {
    switch (cover.From) {
      case ElementCover::Source::kNothing:
      case ElementCover::Source::kTakeoffItem:
      case ElementCover::Source::kUnassigned:
        break;
      case ElementCover::Source::kCountRow:
        AddRow(cover.Table, cover.Row, cover.Kinds != 0 ? cover.Kinds & kEveryKind : kEveryKind);
        break;
      case ElementCover::Source::kBlockName:
        if (cover.Every)
          everyBlock_ = true;
        else
          blocks_.insert(cover.Name);
        break;
      case ElementCover::Source::kTextContent:
        if (cover.Every)
          everyText_ = true;
        else
          texts_.insert(cover.Name);
        break;
      case ElementCover::Source::kCheck:
        AddCheck(cover.Check, cover.Kind);
        break;
    }
  }

  // The row's kinds go into the masks of what it covers: a layer, a layer group, an attribute value, or
  // everything for a total row.
  void AddRow(CountTableId table, int row, uint32_t kinds) {
    switch (table) {
      case CountTableId::kSG1:
        if (row == kSg1TotalRow) {
          every_ |= kinds;
        } else if (row >= 1 && row < kSg1TotalRow) {
          const int group = (row - 1) / kSg1RowsPerGroup;
          const int place = (row - 1) % kSg1RowsPerGroup;
          if (place < kLayersPerGroup)
            layers_[static_cast<std::size_t>(group * kLayersPerGroup + place)] |= kinds;
          if (place == kLayersPerGroup) groups_[static_cast<std::size_t>(group)] |= kinds;
        }
        break;
      case CountTableId::kSG2:
        if (row == kSg2TotalRow)
          every_ |= kinds;
        else if (row >= 1 && row <= kGroupCount)
          groups_[static_cast<std::size_t>(row - 1)] |= kinds;
        break;
      case CountTableId::kSG3:
        AddAttributeRow(colours_, row, kSg3TotalRow, kinds);
        break;
      case CountTableId::kSG4:
        AddAttributeRow(types_, row, kSg4TotalRow, kinds);
        break;
      case CountTableId::kSG5:
        AddAttributeRow(widths_, row, kSg5TotalRow, kinds);
        break;
    }
  }

  void AddAttributeRow(std::vector<uint32_t>& rows, int row, int totalRow, uint32_t kinds) {
    if (row == totalRow) {
      every_ |= kinds;
    } else if (row >= 1 && row < totalRow) {
      if (rows.empty()) rows.resize(static_cast<std::size_t>(totalRow));
      rows[static_cast<std::size_t>(row)] |= kinds;
    }
  }

  void AddCheck(CheckId check, int32_t kind) {
    switch (check) {
      case CheckId::kDuplicates:
        if (kind >= kFirstEntityKind && kind <= kLastEntityKind)
          duplicates_ |= uint32_t{1} << kind;
        else if (kind == 0)
          duplicates_ |= kEveryKind;
        break;
      case CheckId::kZeroLengthLines:
        zeroLength_ = true;
        break;
      case CheckId::kZeroRadius:
        zeroRadius_ = true;
        break;
      case CheckId::kEmptyTexts:
        emptyTexts_ = true;
        break;
    }
  }

  // The rows of the count tables: an element counted in a covered row, or in a row a covered subtotal or
  // total sums. An element the count tables count nowhere is taken by none.
  bool TakesByRow(int32_t kind, const EntityAttributes& a) const {
    const auto group = static_cast<uint32_t>(a.LayerGroup);
    const auto layer = static_cast<uint32_t>(a.Layer);
    if (KindColumn(kind) == 0 || (group | layer) >= static_cast<uint32_t>(kGroupCount)) return false;
    const uint32_t kinds = every_ | groups_[group] | layers_[group * kLayersPerGroup + layer] |
                           Covered(colours_, LineColourRow(a.LineColour)) |
                           Covered(types_, LineTypeRow(a.LineType)) |
                           Covered(widths_, LineWidthRow(a.LineWidth));
    return (kinds >> kind & 1) != 0;
  }

  static uint32_t Covered(const std::vector<uint32_t>& rows, int row) {
    return rows.empty() ? 0 : rows[static_cast<std::size_t>(row)];
  }

  static constexpr uint32_t kEveryKind = ((uint32_t{1} << (kLastEntityKind + 1)) - 1) & ~uint32_t{1};

  // Bit k of each mask: elements of kind k there are covered.
  uint32_t every_ = 0;
  std::array<uint32_t, kGroupCount> groups_{};
  std::array<uint32_t, kLayerCount> layers_{};
  std::vector<uint32_t> colours_, types_, widths_;  // by row; empty when no row is covered
  bool everyBlock_ = false, everyText_ = false;
  std::unordered_set<std::string_view> blocks_, texts_;
  uint32_t duplicates_ = 0;  // bit k: the duplicates of kind k
  bool zeroLength_ = false, zeroRadius_ = false, emptyTexts_ = false;
};

MarkPoint Midpoint(double x1, double y1, double x2, double y2) {
  return {x1 / 2 + x2 / 2, y1 / 2 + y2 / 2};
}

}  // namespace

int64_t ElementSelection::Size() const {
  int64_t size = 0;
  for (const uint64_t word : Bits) size += std::popcount(word);
  return size;
}

ElementSelection SelectElements(const JwwGaibu& reader, std::span<const ElementCover> covers) {
  const CoverTest test(covers);
  const auto count = static_cast<std::size_t>(std::max(reader.EntityCount(), 0));
  ElementSelection selection;
  selection.Bits.assign((count + 63) / 64, 0);
  CheckedElements checked;
  if (test.NeedsChecks()) checked = FindCheckedElements(reader);
  auto bit = [](const std::vector<uint64_t>& bits, std::size_t i) {
    return !bits.empty() && (bits[i / 64] >> (i % 64) & 1) != 0;
  };
  for (std::size_t i = 0; i < count; ++i) {
    const EntityIndexEntry& e = reader.Entity(static_cast<int32_t>(i));
    if (e.Kind < kFirstEntityKind || e.Kind > kLastEntityKind) continue;
    if (test.Takes(reader, e, bit(checked.Duplicates, i), bit(checked.Empty, i)))
      selection.Bits[i / 64] |= uint64_t{1} << (i % 64);
  }
  return selection;
}

MarkPoint ElementPoint(const EntityStores& stores, int32_t kind, int32_t position) {
  switch (kind) {
    case kLine: {
      const TJwwEntLine& l = stores.Lines[position];
      return Midpoint(l.X1, l.Y1, l.X2, l.Y2);
    }
    case kCircle:
      return {stores.Circles[position].Param1, stores.Circles[position].Param2};
    case kArc:
      return {stores.Arcs[position].Param1, stores.Arcs[position].Param2};
    case kText:
      return {stores.Texts[position].Param1, stores.Texts[position].Param2};
    case kPoint:
      return {stores.Points[position].X, stores.Points[position].Y};
    case kMarker:
      return {stores.Markers[position].X, stores.Markers[position].Y};
    case kDimension: {
      const TJwwEntLine& l = stores.Dimensions[position].DimLine;
      return Midpoint(l.X1, l.Y1, l.X2, l.Y2);
    }
    case kBlock:
      return {stores.Blocks[position].X, stores.Blocks[position].Y};
    case kSolidLine: {
      const TJwwEntSolidLine& s = stores.SolidLines[position];
      return Midpoint(s.X1, s.Y1, s.X2, s.Y2);
    }
    case kSolidTriangle: {
      const TJwwEntSolidTri& s = stores.SolidTriangles[position];
      return {s.X1 / 3 + s.X2 / 3 + s.X3 / 3, s.Y1 / 3 + s.Y2 / 3 + s.Y3 / 3};
    }
    case kSolidQuad: {
      const TJwwEntSolidQuad& s = stores.SolidQuads[position];
      return {s.X1 / 4 + s.X2 / 4 + s.X3 / 4 + s.X4 / 4, s.Y1 / 4 + s.Y2 / 4 + s.Y3 / 4 + s.Y4 / 4};
    }
    case kSolidCircle:
      return {stores.SolidCircles[position].Param1, stores.SolidCircles[position].Param2};
    case kSolidCircumference:
      return {stores.SolidCircumferences[position].Param1, stores.SolidCircumferences[position].Param2};
    case kSolidRingO:
      return {stores.SolidRingsO[position].Param1, stores.SolidRingsO[position].Param2};
    case kSolidRingG:
      return {stores.SolidRingsG[position].Param1, stores.SolidRingsG[position].Param2};
    default:
      return {};
  }
}

double SheetDivisor(const DrawingState& drawing, int32_t layerGroup) {
  if (drawing.BzFlag || layerGroup < 0 || layerGroup >= kGroupCount) return 1.0;
  const double scale = drawing.HsValues[static_cast<std::size_t>(layerGroup)];
  return std::isfinite(scale) && scale > 0 ? scale : 1.0;
}

}  // namespace jwcount
