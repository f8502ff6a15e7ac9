// The fixed texts of the reports beyond the five count tables: the block-name table's title and heads
// (Shift-JIS, like every text the count shows) and the warning after a short read (UTF-8, for the window and
// the CSV files). The count tables' own texts stay in CountTexts.h.
#pragma once

#include <string_view>

namespace jwcount {

// clang-format off

// The block-name table: its title, the head of its name column and of its count column. Its total row reads
// kTotalLabel (合計), as in the count tables.
inline constexpr std::string_view kBlockTableTitle = "\x83\x75\x83\x8D\x83\x62\x83\x4E\x96\xBC\x95\xCA \x97\x76\x91\x66\x90\x94";  // ブロック名別 要素数
inline constexpr std::string_view kBlockNameHead = "\x83\x75\x83\x8D\x83\x62\x83\x4E\x96\xBC";  // ブロック名
inline constexpr std::string_view kBlockCountHead = "\x90\x94";  // 数

// Shown (UTF-8) when JWC_TEMP.TXT could not be read to its end: the counts cover the lines read.
inline constexpr std::string_view kShortReadWarningUtf8 = "JWC_TEMP.TXT \xE3\x82\x92\xE6\x9C\x80\xE5\xBE\x8C\xE3\x81\xBE\xE3\x81\xA7\xE8\xAA\xAD\xE3\x82\x81\xE3\x81\xBE\xE3\x81\x9B\xE3\x82\x93\xE3\x81\xA7\xE3\x81\x97\xE3\x81\x9F\xE3\x80\x82\xE8\xA1\xA8\xE7\xA4\xBA\xE3\x81\xAF\xE8\xAA\xAD\xE3\x82\x81\xE3\x81\x9F\xE5\x88\x86\xE3\x81\xAE\xE6\x95\xB0\xE3\x81\xA7\xE3\x81\x99\xE3\x80\x82";  // JWC_TEMP.TXT を最後まで読めませんでした。表示は読めた分の数です。

// clang-format on

}  // namespace jwcount
