#include "report/NameSection.h"

#include <algorithm>
#include <numeric>
#include <string_view>

#include "counting/CountTexts.h"
#include "report/SheetTexts.h"
#include "text/ShiftJis.h"

namespace jwcount {
namespace {

// The full-width katakana (or mark) of each half-width one, 0xA1 ｡ to 0xDF ﾟ, as Shift-JIS codes.
constexpr uint16_t kFullWidthOf[63] = {
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340, 0x8342, 0x8344, 0x8346, 0x8348, 0x8383, 0x8385,
    0x8387, 0x8362, 0x815B, 0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x834A, 0x834C, 0x834E, 0x8350, 0x8352,
    0x8354, 0x8356, 0x8358, 0x835A, 0x835C, 0x835E, 0x8360, 0x8363, 0x8365, 0x8367, 0x8369, 0x836A, 0x836B,
    0x836C, 0x836D, 0x836E, 0x8371, 0x8374, 0x8377, 0x837A, 0x837D, 0x837E, 0x8380, 0x8381, 0x8382, 0x8384,
    0x8386, 0x8388, 0x8389, 0x838A, 0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B,
};
// clang-format off
constexpr std::string_view kFullWidthBlank = "\x81\x40";
constexpr std::string_view kNothingShown = "\x81i\x8B\xF3\x81j";  // （空）
constexpr std::string_view kOpenBracket = "\x81u";   // 「
constexpr std::string_view kCloseBracket = "\x81v";  // 」
// clang-format on
constexpr unsigned char kVoicedMark = 0xDE;      // ﾞ
constexpr unsigned char kSemiVoicedMark = 0xDF;  // ﾟ

bool IsHalfWidthKana(unsigned char b) {
  return b >= 0xA1 && b <= 0xDF;
}

// The full-width code of a half-width katakana with the mark after it joined in, when the pair makes one
// character (ｶﾞ ガ, ﾊﾟ パ, ｳﾞ ヴ); 0 when it does not.
uint16_t Joined(unsigned char kana, unsigned char mark) {
  const bool kaToTo = kana >= 0xB6 && kana <= 0xC4;  // ｶ .. ﾄ: カ .. ト, each followed by its voiced form
  const bool haToHo = kana >= 0xCA && kana <= 0xCE;  // ﾊ .. ﾎ: ハ .. ホ, then the voiced and half-voiced
  if (mark == kVoicedMark) {
    if (kana == 0xB3) return 0x8394;  // ｳﾞ ヴ
    if (kaToTo || haToHo) return static_cast<uint16_t>(kFullWidthOf[kana - 0xA1] + 1);
  } else if (mark == kSemiVoicedMark && haToHo) {
    return static_cast<uint16_t>(kFullWidthOf[kana - 0xA1] + 2);
  }
  return 0;
}

void AppendCode(std::string& key, uint16_t code) {
  key += static_cast<char>(code >> 8);
  key += static_cast<char>(code & 0xFF);
}

}  // namespace

// Walks whole characters, so the second byte of a double-byte character stays as it is.
std::string NameSortKey(std::string_view name) {
  std::string key;
  key.reserve(name.size() + 8);
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto b = static_cast<unsigned char>(name[i]);
    if (IsCp932LeadByte(b) && i + 1 < name.size()) {
      key += name.substr(i, 2);
      ++i;
    } else if (IsHalfWidthKana(b)) {
      const uint16_t joined = i + 1 < name.size() ? Joined(b, static_cast<unsigned char>(name[i + 1])) : 0;
      AppendCode(key, joined != 0 ? joined : kFullWidthOf[b - 0xA1]);
      if (joined != 0) ++i;
    } else if (b >= 'A' && b <= 'Z') {
      key += static_cast<char>(b - 'A' + 'a');
    } else {
      key += static_cast<char>(b);
    }
  }
  return key;
}

std::vector<int32_t> SortNameRows(const NameCountTable& table, NameOrder by, bool descending) {
  const std::vector<NameCountRow>& rows = table.Rows();
  std::vector<int32_t> order(rows.size());
  std::iota(order.begin(), order.end(), 0);
  switch (by) {
    case NameOrder::kAppearance:
      if (descending) std::reverse(order.begin(), order.end());
      break;
    case NameOrder::kCount:
      std::stable_sort(order.begin(), order.end(), [&rows, descending](int32_t a, int32_t b) {
        return descending ? rows[a].Count > rows[b].Count : rows[a].Count < rows[b].Count;
      });
      break;
    case NameOrder::kName: {
      std::vector<std::string> keys;
      keys.reserve(rows.size());
      for (const NameCountRow& row : rows) keys.push_back(NameSortKey(row.Name));
      std::stable_sort(order.begin(), order.end(), [&keys, descending](int32_t a, int32_t b) {
        return descending ? keys[a] > keys[b] : keys[a] < keys[b];
      });
      break;
    }
  }
  return order;
}

void NameSection::Reset() {
  key_ = NameOrder::kAppearance;
  descending_ = false;
  order_ = SortNameRows(table_, key_, descending_);
}

bool NameSection::SortBy(int column) {
  const NameOrder key = column == kNameColumn ? NameOrder::kName : NameOrder::kCount;
  descending_ = key == key_ && !descending_;
  key_ = key;
  order_ = SortNameRows(table_, key_, descending_);
  return true;
}

bool IsBlankName(std::string_view name) {
  for (std::size_t i = 0; i < name.size();) {
    if (name[i] == ' ') {
      ++i;
    } else if (name.substr(i, 2) == kFullWidthBlank) {
      i += 2;
    } else {
      return false;
    }
  }
  return true;
}

std::string ShownName(std::string_view name) {
  if (name.empty()) return std::string(kNothingShown);
  if (!IsBlankName(name)) return std::string(name);
  std::string shown(kOpenBracket);
  shown += name;
  shown += kCloseBracket;
  return shown;
}

ElementCover NameSection::RowCover(int row) const {
  ElementCover cover;
  if (row < 1 || row >= RowCount()) return cover;
  cover.From = which_ == kBlocks ? ElementCover::Source::kBlockName : ElementCover::Source::kTextContent;
  if (row == RowCount() - 1) {
    cover.Every = true;
    cover.Label = std::string(NameHead()) + " " + std::string(kTotalLabel);
    cover.Count = table_.Total();
    return cover;
  }
  const auto index = static_cast<std::size_t>(order_[static_cast<std::size_t>(row - 1)]);
  if (index >= table_.Rows().size()) return {};
  return NameCover(which_, table_.Rows()[index]);
}

ElementCover NameSection::NameCover(Which which, const NameCountRow& row) {
  ElementCover cover;
  cover.From = which == kBlocks ? ElementCover::Source::kBlockName : ElementCover::Source::kTextContent;
  cover.Name = row.Name;
  cover.Label = ShownName(row.Name);
  cover.Count = row.Count;
  return cover;
}

std::string NameSection::CellText(int column, int row) const {
  if (column < 0 || column >= ColumnCount() || row < 0 || row >= RowCount()) return {};
  if (row == 0) return std::string(column == kNameColumn ? NameHead() : kCountHead);
  if (row == RowCount() - 1) {
    return column == kNameColumn ? std::string(kTotalLabel) : std::to_string(table_.Total());
  }
  // The order is taken after the count; a table emptied since (a new count) shows blank rows until then.
  const auto index = static_cast<std::size_t>(order_[static_cast<std::size_t>(row - 1)]);
  if (index >= table_.Rows().size()) return {};
  const NameCountRow& entry = table_.Rows()[index];
  return column == kNameColumn ? std::string(entry.Name) : std::to_string(entry.Count);
}

bool NameSection::Dimmed(int column, int row) const {
  if (which_ != kTexts || column != kNameColumn || row < 1 || row >= RowCount() - 1) return false;
  const auto index = static_cast<std::size_t>(order_[static_cast<std::size_t>(row - 1)]);
  return index < table_.Rows().size() && IsBlankName(table_.Rows()[index].Name);
}

std::string NameSection::ShownText(int column, int row) const {
  std::string text = CellText(column, row);
  return Dimmed(column, row) ? ShownName(text) : text;
}

int NameSection::SortMark(int column) const {
  if (key_ == NameOrder::kAppearance) return 0;
  const int sorted = key_ == NameOrder::kName ? kNameColumn : kCountColumn;
  if (column != sorted) return 0;
  return descending_ ? -1 : 1;
}

std::string_view NameSection::Id() const {
  return which_ == kBlocks ? "blocks" : "texts";
}

std::string_view NameSection::Title() const {
  return which_ == kBlocks ? kBlockTableTitle : kTextTableTitle;
}

std::string_view NameSection::NameHead() const {
  return which_ == kBlocks ? kBlockNameHead : kTextHead;
}

// One entry a line: the name as shown under "name" (blocks) or "text", its bytes in hex and its count.
void NameSection::WriteJsonValue(JsonWriter& json) const {
  const std::string_view nameKey = which_ == kBlocks ? "name" : "text";
  json.BeginArray();
  for (const NameCountRow& row : table_.Rows()) {
    json.Newline();
    json.BeginObject();
    json.TextField(nameKey, row.Name);
    json.HexField("bytes", row.Name);
    json.Field("count", row.Count);
    json.EndObject();
  }
  json.EndArray();
}

void NameSection::WriteText(SectionText& out) const {
  std::vector<std::vector<std::string>> rows;
  rows.push_back({out.Utf8(NameHead()), out.Utf8(kCountHead)});
  for (const NameCountRow& row : table_.Rows())
    rows.push_back({out.Name(row.Name), std::to_string(row.Count)});
  rows.push_back({out.Utf8(kTotalLabel), std::to_string(table_.Total())});
  out.Table(Title(), rows);
}

// Row is the name's place in order of first appearance, then 合計.
void NameSection::WriteCsv(SectionCsv& out) const {
  for (std::size_t i = 0; i < table_.Rows().size(); ++i)
    out.Record(Title(), std::to_string(i + 1), table_.Rows()[i].Name, kCountHead,
               std::to_string(table_.Rows()[i].Count));
  if (table_.Total() > 0) out.Record(Title(), kTotalLabel, {}, kCountHead, std::to_string(table_.Total()));
}

std::string_view NameSection::SheetName() const {
  return which_ == kBlocks ? kBlockSheet : kTextSheet;
}

void NameSection::WriteSheet(SectionSheet& out) const {
  if (out.Member != Id() || table_.Rows().empty()) return;  // no sheet for no names
  const std::string heads[] = {std::string(NameHead()), std::string(kCountHead)};
  out.Begin(SheetName(), heads);
  for (const NameCountRow& row : table_.Rows()) {
    out.Text(row.Name);
    out.Whole(row.Count);
    out.EndRow();
  }
}

}  // namespace jwcount
