#include "report/TableAnswer.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "counting/CountTexts.h"
#include "report/ReplyText.h"
#include "report/SummaryRows.h"

namespace jwcount {
namespace {

// clang-format off
constexpr std::string_view kOthersStart = "\x82\xD9\x82\xA9 ";  // "ほか ", then the number of names
constexpr std::string_view kOthersEnd = " \x8E\xED";  // " 種"
// clang-format on

// The text colour of the free size when the exchange file gives none that can be used.
constexpr int32_t kFallbackColour = 2;

bool IsSize(double value) {
  return value >= kMinTableTextSize && value <= kMaxTableTextSize;  // false for NaN
}

bool IsSpacing(double value) {
  return value >= 0.0 && value <= kMaxTableTextSize;
}

// True when a header record set any text kind's size: every kind still at the reader's default means the
// file gave none.
bool HeaderGaveTextSizes(const DrawingState& drawing) {
  const TextKindEntry unset;
  return std::any_of(drawing.TextKindTable.begin(), drawing.TextKindTable.end(), [&](const TextKindEntry& e) {
    return e.CharWidth != unset.CharWidth || e.CharHeight != unset.CharHeight ||
           e.CharSpacing != unset.CharSpacing;
  });
}

struct Row {
  std::string Name;
  std::string Count;
  bool Head = false;
};

std::vector<Row> TableRows(const SummaryCounts& summary, const NameCountTable& blocks) {
  std::array<std::string, std::tuple_size_v<SummaryCounts>> labels;
  for (std::size_t i = 0; i < summary.size(); ++i)
    labels[i] = SummaryText(static_cast<int>(i) + 1, summary[i]);
  const std::vector<std::vector<std::string>> kinds = SummaryRows(labels);
  std::vector<Row> rows;
  rows.push_back({kinds[0][0], kinds[0][1], true});
  int64_t total = 0;
  for (std::size_t i = 0; i < summary.size(); ++i) {
    if (summary[i] == 0) continue;
    rows.push_back({kinds[i + 1][0], kinds[i + 1][1]});
    total += summary[i];
  }
  rows.push_back({std::string(kTotalLabel), std::to_string(total)});

  const std::vector<NameCountRow>& names = blocks.Rows();
  if (names.empty()) return rows;
  rows.push_back({std::string(kBlockNameHead), std::string(kCountHead), true});
  const std::size_t shown = std::min(names.size(), kMaxTableNameRows);
  for (std::size_t i = 0; i < shown; ++i) {
    rows.push_back({ReplyText(names[i].Name, kMaxCellTextBytes), std::to_string(names[i].Count)});
  }
  if (names.size() > shown) {
    int64_t rest = 0;
    for (std::size_t i = shown; i < names.size(); ++i) rest += names[i].Count;
    rows.push_back(
        {std::string(kOthersStart) + std::to_string(names.size() - shown) + std::string(kOthersEnd),
         std::to_string(rest)});
  }
  rows.push_back({std::string(kTotalLabel), std::to_string(blocks.Total())});
  return rows;
}

}  // namespace

TableTextSize ChooseTableTextSize(const DrawingState& drawing) {
  const int32_t kind = drawing.FirstTextKind;
  if (kind >= 1 && kind <= kTextKindCount) {
    const TextKindEntry& entry = drawing.TextKindTable[static_cast<std::size_t>(kind - 1)];
    if (HeaderGaveTextSizes(drawing) && IsSize(entry.CharWidth) && IsSize(entry.CharHeight) &&
        IsSpacing(entry.CharSpacing)) {
      return {entry.CharWidth, entry.CharHeight, entry.CharSpacing, "cn" + std::to_string(kind)};
    }
  }
  // Any other kind is a free size, which the first "cn" record carried itself.
  TableTextSize size;
  int32_t colour = kFallbackColour;
  if (kind < 1 || kind > kTextKindCount) {
    if (IsSize(drawing.FirstFreeCharWidth) && IsSize(drawing.FirstFreeCharHeight) &&
        IsSpacing(drawing.FirstFreeCharSpacing)) {
      size.Width = drawing.FirstFreeCharWidth;
      size.Height = drawing.FirstFreeCharHeight;
      size.Spacing = drawing.FirstFreeCharSpacing;
    }
    if (drawing.FirstFreeCharColour >= 1 && drawing.FirstFreeCharColour <= 10) {
      colour = drawing.FirstFreeCharColour;
    }
  }
  size.Record = "cn0 " + ReplyNumber(size.Width) + " " + ReplyNumber(size.Height) + " " +
                ReplyNumber(size.Spacing) + " " + std::to_string(colour);
  return size;
}

TableLayout LayOutTable(const DrawingState& drawing, const SummaryCounts& summary,
                        const NameCountTable& blocks) {
  TableLayout layout;
  layout.Size = ChooseTableTextSize(drawing);
  const std::vector<Row> rows = TableRows(summary, blocks);

  // A double-byte character takes its width and the spacing, a single-byte one half of that.
  const double perByte = (layout.Size.Width + layout.Size.Spacing) / 2;
  const auto length = [perByte](const std::string& text) {
    return perByte * static_cast<double>(text.size());
  };
  const double margin = perByte;
  const double rowHeight = 2 * layout.Size.Height;
  double nameWidth = 0;
  double countWidth = 0;
  for (const Row& row : rows) {
    nameWidth = std::max(nameWidth, length(row.Name));
    countWidth = std::max(countWidth, length(row.Count));
  }
  nameWidth += 2 * margin;
  countWidth += 2 * margin;
  layout.Width = nameWidth + countWidth;
  layout.Height = rowHeight * static_cast<double>(rows.size());

  for (std::size_t i = 0; i <= rows.size(); ++i) {
    const double y = -rowHeight * static_cast<double>(i);
    layout.Lines.push_back({0, y, layout.Width, y});
  }
  for (const double x : {0.0, nameWidth, layout.Width}) layout.Lines.push_back({x, 0, x, -layout.Height});

  for (std::size_t i = 0; i < rows.size(); ++i) {
    const Row& row = rows[i];
    const double y = -rowHeight * static_cast<double>(i) - rowHeight / 2 - layout.Size.Height / 2;
    const double nameLength = length(row.Name);
    const double countLength = length(row.Count);
    // A head is centred in its cell; a name starts at the left margin, a count ends at the right one.
    const double nameX = row.Head ? (nameWidth - nameLength) / 2 : margin;
    const double countX =
        row.Head ? nameWidth + (countWidth - countLength) / 2 : layout.Width - margin - countLength;
    if (!row.Name.empty()) layout.Texts.push_back({nameX, y, nameLength, row.Name});
    layout.Texts.push_back({countX, y, countLength, row.Count});
  }
  return layout;
}

std::vector<std::string> TableRecords(const TableLayout& layout) {
  std::vector<std::string> records = {"bz", layout.Size.Record, "cc0"};
  for (const TableLine& line : layout.Lines) {
    records.push_back(" " + ReplyNumber(line.X1) + " " + ReplyNumber(line.Y1) + " " + ReplyNumber(line.X2) +
                      " " + ReplyNumber(line.Y2));
  }
  for (const TableText& text : layout.Texts) {
    records.push_back("ch " + ReplyNumber(text.X) + " " + ReplyNumber(text.Y) + " " +
                      ReplyNumber(text.Length) + " 0 \"" + text.Text);
  }
  return records;
}

void AppendTableAnswer(JwwGaibu& reader, const CountTables& tables, bool complete, bool readToEnd) {
  if (!complete || !readToEnd) return;
  const TableLayout layout = LayOutTable(reader.Drawing, CountSummary(reader), tables.Blocks);
  for (const std::string& record : TableRecords(layout)) reader.AppendReplyLine(record);
}

}  // namespace jwcount
