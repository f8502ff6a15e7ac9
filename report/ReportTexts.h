// The outputs' own UTF-8 texts beyond those the count shows (which stay Shift-JIS in
// counting/CountTexts.h).
#pragma once

#include <string_view>

namespace jwcount {

// Shown when JWC_TEMP.TXT could not be read to its end: the counts cover the lines read. The window shows
// it beside the status line and on page 1; a CSV save writes it as its first line.
inline constexpr std::u8string_view kShortReadWarning =
    u8"JWC_TEMP.TXT を最後まで読めませんでした。表示は読めた分の数です。";

// What the CSV save names its file after, unless a page names its own: "<drawing name>_要素数.csv".
inline constexpr std::u8string_view kCountCsvSubject = u8"要素数";
// What the lengths and areas are saved as: "<drawing name>_長さ・面積.csv".
inline constexpr std::u8string_view kQuantityCsvSubject = u8"長さ・面積";
// The texts by content and the checks: "<drawing name>_文字列.csv", "<drawing name>_点検.csv".
inline constexpr std::u8string_view kTextCsvSubject = u8"文字列";
inline constexpr std::u8string_view kCheckCsvSubject = u8"点検";
inline constexpr std::u8string_view kDiffCsvSubject = u8"基準との差";

}  // namespace jwcount
