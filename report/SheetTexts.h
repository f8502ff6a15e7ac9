// The workbook's own texts (Shift-JIS, as the sections' titles): the names of the sheets that are not a
// section's title, and the heads and rows of the sheets only the workbook has.
#pragma once

#include <string_view>

namespace jwcount {

inline constexpr std::string_view kSummarySheet = "\x8A\x54\x97\x76";                // 概要
inline constexpr std::string_view kBlockSheet = "\x83\x75\x83\x8D\x83\x62\x83\x4E";  // ブロック
inline constexpr std::string_view kTextSheet = "\x95\xB6\x8E\x9A";                   // 文字
inline constexpr std::string_view kCheckSheet = "\x83\x60\x83\x46\x83\x62\x83\x4E";  // チェック
inline constexpr std::string_view kInfoSheet = "\x8F\xEE\x95\xF1";                   // 情報

// The lengths and areas of every grouping share one sheet: its first column says which grouping a row is of.
inline constexpr std::string_view kGroupingHead = "\x8F\x57\x8C\x76";  // 集計
inline constexpr std::string_view kRowHead = "\x8D\x73";               // 行

// The sheet 情報: what the workbook was made of.
inline constexpr std::string_view kInfoItemHead = "\x8D\x80\x96\xDA";   // 項目
inline constexpr std::string_view kInfoValueHead = "\x93\xE0\x97\x65";  // 内容
inline constexpr std::string_view kInfoDrawing =
    "\x90\x7D\x96\xCA\x83\x74\x83\x40\x83\x43\x83\x8B";            // 図面ファイル
inline constexpr std::string_view kInfoTime = "\x93\xFA\x8E\x9E";  // 日時
inline constexpr std::string_view kInfoVersion = "\x83\x6F\x81\x5B\x83\x57\x83\x87\x83\x93";  // バージョン
inline constexpr std::string_view kInfoRange = "\x91\x49\x91\xF0\x94\xCD\x88\xCD";            // 選択範囲
inline constexpr std::string_view kInfoRules =
    "\x83\x8B\x81\x5B\x83\x8B\x83\x74\x83\x40\x83\x43\x83\x8B";  // ルールファイル
inline constexpr std::string_view kInfoRulesSha =
    "\x83\x8B\x81\x5B\x83\x8B\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC SHA-256";  // ルールファイルの SHA-256
// The sheet 情報 of a comparison: the two drawings compared, and when the baseline was kept.
inline constexpr std::string_view kInfoBaselineDrawing =
    "\x8A\xEE\x8F\x80\x82\xCC\x90\x7D\x96\xCA";  // 基準の図面
inline constexpr std::string_view kInfoBaselineTime =
    "\x8A\xEE\x8F\x80\x82\xCC\x93\xFA\x8E\x9E";  // 基準の日時
inline constexpr std::string_view kInfoCurrentDrawing =
    "\x8D\xA1\x89\xF1\x82\xCC\x90\x7D\x96\xCA";  // 今回の図面

}  // namespace jwcount
