// The fixed Shift-JIS texts of the count, byte for byte as the window shows them and the reply carries
// them: column heads, row-label parts, summary captions, table titles and status texts. These bytes are
// the tool's contract, so they are written out here once; everything else converts them at the edge.
#pragma once

#include <array>
#include <string_view>

namespace jwcount {

// clang-format off

// The kinds the count tells apart: one summary label each, and one column each in the count tables.
inline constexpr int kSummaryCount = 13;

// Heads of columns 1 to 13 of every count table (index 0 is column 1).
inline constexpr std::array<std::string_view, kSummaryCount> kColumnHeads = {
    "\x90\xFC",  // 線
    "\x89\x7E\x8C\xCA",  // 円弧
    "\x95\xB6\x8E\x9A",  // 文字
    "\x93\x5F",  // 点
    "\x93\x5F\x83\x7D",  // 点マ
    "\x90\xA1\x96\x40",  // 寸法
    "BLOCK",  // BLOCK
    "\x90\xFCSLD",  // 線SLD
    "\x82\x52SLD",  // ３SLD
    "\x82\x53SLD",  // ４SLD
    "\x89\x7ESLD",  // 円SLD
    "\x89\x7E\x8E\xFCS",  // 円周S
    "\x89\x7E\x8A\xC2S",  // 円環S
};

// Row-label parts.
inline constexpr std::string_view kWidthCorner = "\x90\xFC\x95\x9D";  // 線幅, cell (0, 0) of the width table
inline constexpr std::string_view kFullWidthDash = "\x81\x7C";  // －
inline constexpr std::string_view kSubtotalSuffix = "\x81\x7C\x8C\x76";  // －計
inline constexpr std::string_view kTotalLabel = "\x8D\x87\x8C\x76";  // 合計
inline constexpr std::string_view kLineColourPrefix = "\x90\xFC\x90\x46";  // 線色
inline constexpr std::string_view kLineTypePrefix = "\x90\xFC\x8E\xED";  // 線種
inline constexpr std::string_view kSxfPrefix = "SXF";  // SXF
inline constexpr std::string_view kOtherLabel = "\x81\x48";  // ？ (full-width)

// Captions of the summary labels Label1 to Label13 (index 0 is Label1); the count run appends the count.
inline constexpr std::array<std::string_view, kSummaryCount> kSummaryCaptions = {
    "\x90\xFC\x83\x66\x81\x5B\x83\x5E\x90\x94\x81\x46",  // 線データ数：
    "\x89\x7E\x81\x45\x89\x7E\x8C\xCA\x81\x45\x91\xC8\x89\x7E\x81\x45\x91\xC8\x89\x7E\x8C\xCA\x83\x66\x81\x5B\x83\x5E\x90\x94\x81\x46",  // 円・円弧・楕円・楕円弧データ数：
    "\x95\xB6\x8E\x9A\x83\x66\x81\x5B\x83\x5E\x90\x94\x81\x46",  // 文字データ数：
    "\x93\x5F\x83\x66\x81\x5B\x83\x5E\x90\x94\x81\x46",  // 点データ数：
    "\x93\x5F\x83\x7D\x81\x5B\x83\x4A\x83\x66\x81\x5B\x83\x5E\x90\x94\x81\x46",  // 点マーカデータ数：
    "\x90\xA1\x96\x40\x90\x7D\x8C\x60\x83\x66\x81\x5B\x83\x5E\x90\x94\x81\x46",  // 寸法図形データ数：
    "\x83\x75\x83\x8D\x83\x62\x83\x4E\x83\x66\x81\x5B\x83\x5E\x90\x94\x81\x46",  // ブロックデータ数：
    "\x90\xFC\x8C\x60\x83\x5C\x83\x8A\x83\x62\x83\x68\x90\x7D\x8C\x60\x83\x66\x81\x5B\x83\x5E\x90\x94\x81\x46",  // 線形ソリッド図形データ数：
    "\x8E\x4F\x8A\x70\x8C\x60\x83\x5C\x83\x8A\x83\x62\x83\x68\x90\x7D\x8C\x60\x83\x66\x81\x5B\x83\x5E\x90\x94\x81\x46",  // 三角形ソリッド図形データ数：
    "\x8E\x6C\x8A\x70\x8C\x60\x83\x5C\x83\x8A\x83\x62\x83\x68\x90\x7D\x8C\x60\x83\x66\x81\x5B\x83\x5E\x90\x94\x81\x46",  // 四角形ソリッド図形データ数：
    "\x89\x7E\x83\x5C\x83\x8A\x83\x62\x83\x68\x90\x7D\x8C\x60\x83\x66\x81\x5B\x83\x5E\x90\x94\x81\x46",  // 円ソリッド図形データ数：
    "\x89\x7E\x8E\xFC\x83\x5C\x83\x8A\x83\x62\x83\x68\x90\x7D\x8C\x60\x83\x66\x81\x5B\x83\x5E\x90\x94\x81\x46",  // 円周ソリッド図形データ数：
    "\x89\x7E\x8A\xC2\x83\x5C\x83\x8A\x83\x62\x83\x68\x90\x7D\x8C\x60\x83\x66\x81\x5B\x83\x5E\x90\x94\x81\x46",  // 円環ソリッド図形データ数：
};

// Titles of the five count tables, SG1 to SG5, as their pages show them.
inline constexpr std::array<std::string_view, 5> kTableTitles = {
    "\x83\x8C\x83\x43\x83\x84\x83\x4F\x83\x8B\x81\x5B\x83\x76\x81\x45\x83\x8C\x83\x43\x83\x84\x95\xCA \x97\x76\x91\x66\x90\x94",  // レイヤグループ・レイヤ別 要素数
    "\x83\x8C\x83\x43\x83\x84\x83\x4F\x83\x8B\x81\x5B\x83\x76\x95\xCA \x97\x76\x91\x66\x90\x94",  // レイヤグループ別 要素数
    "\x90\xFC\x90\x46\x95\xCA \x97\x76\x91\x66\x90\x94",  // 線色別 要素数
    "\x90\xFC\x8E\xED\x95\xCA \x97\x76\x91\x66\x90\x94",  // 線種別 要素数
    "\x90\xFC\x95\x9D\x95\xCA \x97\x76\x91\x66\x90\x94",  // 線幅別 要素数
};

// The block-name table (page 7): its title and the head of its name column. Its count column's head is
// kCountHead and its total row reads kTotalLabel, as in the count tables.
inline constexpr std::string_view kBlockTableTitle = "\x83\x75\x83\x8D\x83\x62\x83\x4E\x96\xBC\x95\xCA \x97\x76\x91\x66\x90\x94";  // ブロック名別 要素数
inline constexpr std::string_view kBlockNameHead = "\x83\x75\x83\x8D\x83\x62\x83\x4E\x96\xBC";  // ブロック名

// Lengths and areas (page 8 and the reports): the title, the five groupings in the order of the tables
// SG1 to SG5, and the heads of the name and figure columns.
inline constexpr std::string_view kQuantityTitle = "\x92\xB7\x82\xB3\x81\x45\x96\xCA\x90\xCF";  // 長さ・面積
inline constexpr std::array<std::string_view, 5> kQuantityGroupings = {
    "\x83\x8C\x83\x43\x83\x84",                                      // レイヤ
    "\x83\x8C\x83\x43\x83\x84\x83\x4F\x83\x8B\x81\x5B\x83\x76",  // レイヤグループ
    "\x90\xFC\x90\x46",                                                // 線色
    "\x90\xFC\x8E\xED",                                                // 線種
    "\x90\xFC\x95\x9D",                                                // 線幅
};
inline constexpr std::string_view kNameHead = "\x96\xBC\x91\x4F";  // 名前
inline constexpr std::array<std::string_view, 4> kQuantityHeads = {
    "\x90\xFC (m)",                                              // 線 (m)
    "\x89\x7E\x81\x45\x89\x7E\x8C\xCA (m)",                      // 円・円弧 (m)
    "\x92\xB7\x82\xB3\x8C\x76 (m)",                              // 長さ計 (m)
    "\x83\x5C\x83\x8A\x83\x62\x83\x68\x96\xCA\x90\xCF (\x87\x75)",  // ソリッド面積 (㎡)
};
// The CSV report's quantity columns, in the drawing's own units.
inline constexpr std::string_view kLengthMmHead = "\x92\xB7\x82\xB3(mm)";      // 長さ(mm)
inline constexpr std::string_view kAreaMm2Head = "\x96\xCA\x90\xCF(mm2)";      // 面積(mm2)

// Texts by content (page 9): the title and the head of the text column; its count column is kCountHead.
inline constexpr std::string_view kTextTableTitle = "\x95\xB6\x8E\x9A\x97\xF1\x95\xCA \x97\x76\x91\x66\x90\x94";  // 文字列別 要素数
inline constexpr std::string_view kTextHead = "\x95\xB6\x8E\x9A\x97\xF1";  // 文字列

// The drawing checks (page 10): the title, the four checks, what the page says when none found anything,
// the heads of its columns and the end of a long list of layers ("ほか 3").
inline constexpr std::string_view kCheckTitle = "\x93\x5F\x8C\x9F";  // 点検
inline constexpr std::string_view kDiffTitle = "\x8A\xEE\x8F\x80\x82\xC6\x82\xCC\x8D\xB7";  // 基準との差
inline constexpr std::string_view kDuplicateLabel = "\x8F\x64\x95\xA1";  // 重複
inline constexpr std::string_view kZeroLengthLabel = "\x92\xB7\x82\xB3 0 \x82\xCC\x90\xFC";  // 長さ 0 の線
inline constexpr std::string_view kZeroRadiusLabel = "\x94\xBC\x8C\x61 0 \x82\xCC\x89\x7E\x81\x45\x89\x7E\x8C\xCA";  // 半径 0 の円・円弧
inline constexpr std::string_view kEmptyTextLabel = "\x8B\xF3\x82\xCC\x95\xB6\x8E\x9A";  // 空の文字
inline constexpr std::string_view kNoProblems = "\x96\xE2\x91\xE8\x82\xCD\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x82\xC5\x82\xB5\x82\xBD";  // 問題は見つかりませんでした
inline constexpr std::string_view kSameLayerHead = "\x93\xAF\x82\xB6\x83\x8C\x83\x43\x83\x84";  // 同じレイヤ
inline constexpr std::string_view kOtherLayerHead = "\x95\xCA\x82\xCC\x83\x8C\x83\x43\x83\x84";  // 別のレイヤ
inline constexpr std::string_view kLayersHead = kQuantityGroupings[0];  // レイヤ
inline constexpr std::string_view kMoreLayersPrefix = "\x82\xD9\x82\xA9 ";  // ほか 
// The fifteen element kinds by name, kind 1 first, for the duplicates of each kind.
inline constexpr std::array<std::string_view, 15> kKindNames = {
    "\x90\xFC",  // 線
    "\x89\x7E",  // 円
    "\x89\x7E\x8C\xCA",  // 円弧
    "\x95\xB6\x8E\x9A",  // 文字
    "\x93\x5F",  // 点
    "\x93\x5F\x83\x7D\x81\x5B\x83\x4A",  // 点マーカ
    "\x90\xA1\x96\x40",  // 寸法
    "\x83\x75\x83\x8D\x83\x62\x83\x4E",  // ブロック
    "\x90\xFC\x83\x5C\x83\x8A\x83\x62\x83\x68",  // 線ソリッド
    "\x8E\x4F\x8A\x70\x8C\x60\x83\x5C\x83\x8A\x83\x62\x83\x68",  // 三角形ソリッド
    "\x8E\x6C\x8A\x70\x8C\x60\x83\x5C\x83\x8A\x83\x62\x83\x68",  // 四角形ソリッド
    "\x89\x7E\x83\x5C\x83\x8A\x83\x62\x83\x68",  // 円ソリッド
    "\x89\x7E\x8E\xFC\x83\x5C\x83\x8A\x83\x62\x83\x68",  // 円周ソリッド
    "\x89\x7E\x8A\xC2\x83\x5C\x83\x8A\x83\x62\x83\x68 (so)",  // 円環ソリッド (so)
    "\x89\x7E\x8A\xC2\x83\x5C\x83\x8A\x83\x62\x83\x68 (sg)",  // 円環ソリッド (sg)
};

// Heads of the two-column tables: page 1 as rows and the table drawn into the drawing (種類 | 数), and the
// block list's count column (数).
inline constexpr std::string_view kKindHead = "\x8E\xED\x97\xDE";  // 種類
inline constexpr std::string_view kCountHead = "\x90\x94";  // 数

// The end of every summary caption; a caption without it names the kind (線データ).
inline constexpr std::string_view kCaptionEnd = "\x90\x94\x81\x46";  // 数：

// Status texts of the count run.
inline constexpr std::string_view kStatusCountStart = "\x97\x76\x91\x66\x90\x94\x82\xF0\x83\x4A\x83\x45\x83\x93\x83\x67\x82\xB5\x82\xDC\x82\xB7";  // 要素数をカウントします
inline constexpr std::string_view kStatusProgressPrefix = "\x97\x76\x91\x66\x90\x94\x83\x4A\x83\x45\x83\x93\x83\x67\x92\x86(ESC:\x92\x86\x92\x66)\x81\x46";  // 要素数カウント中(ESC:中断)： (ASCII parentheses and colon inside, full-width colon at the end)
inline constexpr std::string_view kStatusProgressSlash = "\x81\x5E";  // ／ between the entity number and the entity count
inline constexpr std::string_view kStatusCountDone = "\x97\x76\x91\x66\x90\x94\x82\xF0\x83\x4A\x83\x45\x83\x93\x83\x67\x82\xB5\x82\xDC\x82\xB5\x82\xBD";  // 要素数をカウントしました, also the completion message of the reply

// clang-format on

constexpr bool EveryCaptionEndsInCount() {
  for (const std::string_view caption : kSummaryCaptions) {
    if (!caption.ends_with(kCaptionEnd)) return false;
  }
  return true;
}
static_assert(EveryCaptionEndsInCount(), "a kind's name is its caption without the trailing 数：");

}  // namespace jwcount
