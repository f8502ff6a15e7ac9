// The quantity sheet's own Shift-JIS texts: its title, the heads of its columns that the rules file has no
// column of (those it has are the rules file's heads, takeoff/RulesTexts.h) and the labels of its total
// rows.
#pragma once

#include <string_view>

namespace jwcount {

// clang-format off
inline constexpr std::string_view kTakeoffTitle = "\x90\x94\x97\xCA\x95\x5C";  // 数量表
inline constexpr std::string_view kQuantityHead = "\x90\x94\x97\xCA";  // 数量
inline constexpr std::string_view kAmountHead = "\x8B\xE0\x8Az";  // 金額
inline constexpr std::string_view kElementsHead = "\x97v\x91\x66\x90\x94";  // 要素数
inline constexpr std::string_view kMeasuredHead = "\x90}\x96\xCA\x90\x94\x97\xCA";  // 図面数量
inline constexpr std::string_view kFactoredHead = "\x8A\xB7\x8E\x5A\x90\x94\x97\xCA";  // 換算数量
inline constexpr std::string_view kRuleLinesHead = "\x83\x8B\x81[\x83\x8B\x8Ds";  // ルール行
inline constexpr std::string_view kSubtotalLabel = "\x8F\xAC\x8Cv";  // 小計
inline constexpr std::string_view kUnassignedLabel = "\x96\xA2\x8A\x84\x93\x96";  // 未割当
inline constexpr std::string_view kErrorLineHead = "\x8Ds";  // 行
inline constexpr std::string_view kErrorColumnHead = "\x97\xF1";  // 列
inline constexpr std::string_view kErrorReasonHead = "\x97\x9D\x97R";  // 理由
inline constexpr std::string_view kNoFigure = "\x81\x5C";  // ―, a figure too large to give
inline constexpr std::string_view kHeadSeparator = "\x81^";  // ／, between the parts of an item's name
// Why a sheet has no figures although rules were given.
inline constexpr std::string_view kRulesUnreadable =
    "\x83\x8B\x81[\x83\x8B\x83t\x83@\x83\x43\x83\x8B\x82\xF0\x93\xC7\x82\xDF\x82\xDC\x82\xB9\x82\xF1\x81iExcel \x82\xC5\x8AJ\x82\xA2\x82\xC4\x82\xA2\x82\xE9\x82\xA9\x82\xE0\x82\xB5\x82\xEA\x82\xDC\x82\xB9\x82\xF1\x81j";  // ルールファイルを読めません（Excel で開いているかもしれません）
inline constexpr std::string_view kCountNotWhole =
    "\x90}\x96\xCA\x82\xF0\x8D\xC5\x8C\xE3\x82\xDC\x82\xC5\x90\x94\x82\xA6\x82\xC4\x82\xA2\x82\xC8\x82\xA2\x82\xCC\x82\xC5\x81\x41\x90\x94\x97\xCA\x95\x5C\x82\xCD\x8D\xEC\x82\xE8\x82\xDC\x82\xB9\x82\xF1";  // 図面を最後まで数えていないので、数量表は作りません
// clang-format on

}  // namespace jwcount
