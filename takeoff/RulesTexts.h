// The fixed Shift-JIS texts of the take-off rules file: the heads of its columns, the words its cells may
// hold, and what the reader says about a cell it cannot take. Written out byte for byte, as the count's own
// texts are (counting/CountTexts.h); the program converts them only at its edge.
#pragma once

#include <string_view>

namespace jwcount {

// clang-format off

// The heads of the columns the program knows.
inline constexpr std::string_view kHeadTrade = "\x8D\x48\x8E\xED";  // 工種
inline constexpr std::string_view kHeadName = "\x95\x69\x96\xBC";  // 品名
inline constexpr std::string_view kHeadGrade = "\x8B\x4B\x8A\x69";  // 規格
inline constexpr std::string_view kHeadUnit = "\x92\x50\x88\xCA";  // 単位
inline constexpr std::string_view kHeadSource = "\x90\x94\x97\xCA\x8C\xB3";  // 数量元
inline constexpr std::string_view kHeadKinds = "\x8E\xED\x95\xCA";  // 種別
inline constexpr std::string_view kHeadLayerGroup = "\x83\x8C\x83\x43\x83\x84\x83\x4F\x83\x8B\x81\x5B\x83\x76";  // レイヤグループ
inline constexpr std::string_view kHeadLayer = "\x83\x8C\x83\x43\x83\x84";  // レイヤ
inline constexpr std::string_view kHeadColours = "\x90\xFC\x90\x46";  // 線色
inline constexpr std::string_view kHeadTypes = "\x90\xFC\x8E\xED";  // 線種
inline constexpr std::string_view kHeadWidths = "\x90\xFC\x95\x9D";  // 線幅
inline constexpr std::string_view kHeadBlockName = "\x83\x75\x83\x8D\x83\x62\x83\x4E\x96\xBC";  // ブロック名
inline constexpr std::string_view kHeadText = "\x95\xB6\x8E\x9A";  // 文字
inline constexpr std::string_view kHeadFactor = "\x8C\x57\x90\x94";  // 係数
inline constexpr std::string_view kHeadLoss = "\x83\x8D\x83\x58\x97\xA6";  // ロス率
inline constexpr std::string_view kHeadRounding = "\x8A\xDB\x82\xDF";  // 丸め
inline constexpr std::string_view kHeadDigits = "\x8C\x85";  // 桁
inline constexpr std::string_view kHeadPrice = "\x92\x50\x89\xBF";  // 単価
inline constexpr std::string_view kHeadContinue = "\x8C\x70\x91\xB1";  // 継続
inline constexpr std::string_view kHeadNote = "\x94\xF5\x8D\x6C";  // 備考

// What a cell may say: the sources of an item's quantity and their default units, the kind that stands for
// the six solids, the roundings, a yes for 継続, and the full-width forms read as their ASCII ones.
inline constexpr std::string_view kSourceCount = "\x8C\xC2\x90\x94";  // 個数
inline constexpr std::string_view kSourceLength = "\x92\xB7\x82\xB3";  // 長さ
inline constexpr std::string_view kSourceArea = "\x96\xCA\x90\xCF";  // 面積
inline constexpr std::string_view kUnitCount = "\x8C\xC2";  // 個
inline constexpr std::string_view kUnitLength = "m";  // m
inline constexpr std::string_view kUnitArea = "\x87\x75";  // ㎡
inline constexpr std::string_view kSolidKinds = "\x83\x5C\x83\x8A\x83\x62\x83\x68";  // ソリッド
inline constexpr std::string_view kRoundUp = "\x90\xD8\x8F\xE3\x82\xB0";  // 切上げ
inline constexpr std::string_view kRoundUpLong = "\x90\xD8\x82\xE8\x8F\xE3\x82\xB0";  // 切り上げ
inline constexpr std::string_view kRoundHalfUp = "\x8E\x6C\x8E\xCC\x8C\xDC\x93\xFC";  // 四捨五入
inline constexpr std::string_view kRoundDown = "\x90\xD8\x8E\xCC\x82\xC4";  // 切捨て
inline constexpr std::string_view kRoundDownLong = "\x90\xD8\x82\xE8\x8E\xCC\x82\xC4";  // 切り捨て
inline constexpr std::string_view kYes = "\x81\x9B";  // ○
inline constexpr std::string_view kYen = "\x89\x7E";  // 円
inline constexpr std::string_view kFullWidthSlash = "\x81\x5E";  // ／
inline constexpr std::string_view kFullWidthPercent = "\x81\x93";  // ％
inline constexpr std::string_view kFullWidthYen = "\x81\x8F";  // ￥
inline constexpr std::string_view kFullWidthPoint = "\x81\x44";  // ．
inline constexpr std::string_view kFullWidthSpace = "\x81\x40";  // 　
inline constexpr std::string_view kFullWidthStar = "\x81\x96";  // ＊

// Why a file, a row or a cell is not taken. The message about an item that differs from an earlier row
// is kErrItemPrefix, that row's line, and kErrItemSuffix.
inline constexpr std::string_view kErrTooLarge = "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xAA 4 MB \x82\xF0\x92\xB4\x82\xA6\x82\xC4\x82\xA2\x82\xDC\x82\xB7";  // ファイルが 4 MB を超えています
inline constexpr std::string_view kErrTooManyRows = "\x8D\x73\x82\xAA 10000 \x82\xF0\x92\xB4\x82\xA6\x82\xC4\x82\xA2\x82\xDC\x82\xB7";  // 行が 10000 を超えています
inline constexpr std::string_view kErrOpenQuote = "\x88\xF8\x97\x70\x95\x84\x82\xAA\x95\xC2\x82\xB6\x82\xC4\x82\xA2\x82\xDC\x82\xB9\x82\xF1";  // 引用符が閉じていません
inline constexpr std::string_view kErrNoNameColumn = "\x95\x69\x96\xBC\x82\xCC\x97\xF1\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1";  // 品名の列がありません
inline constexpr std::string_view kErrSameHead = "\x93\xAF\x82\xB6\x8C\xA9\x8F\x6F\x82\xB5\x82\xCC\x97\xF1\x82\xAA\x93\xF1\x82\xC2\x82\xA0\x82\xE8\x82\xDC\x82\xB7";  // 同じ見出しの列が二つあります
inline constexpr std::string_view kErrNoName = "\x95\x69\x96\xBC\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1";  // 品名がありません
inline constexpr std::string_view kErrNotShiftJis = "Shift-JIS \x82\xC9\x82\xC8\x82\xA2\x95\xB6\x8E\x9A\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB7";  // Shift-JIS にない文字があります
inline constexpr std::string_view kErrNotNumber = "\x90\x94\x82\xC6\x82\xB5\x82\xC4\x93\xC7\x82\xDF\x82\xDC\x82\xB9\x82\xF1";  // 数として読めません
inline constexpr std::string_view kErrSource = "\x8C\xC2\x90\x94\x81\x41\x92\xB7\x82\xB3\x81\x41\x96\xCA\x90\xCF\x82\xCC\x82\xC7\x82\xEA\x82\xA9\x82\xC9\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2";  // 個数、長さ、面積のどれかにしてください
inline constexpr std::string_view kErrKind = "\x8E\xED\x95\xCA\x82\xCC\x96\xBC\x91\x4F\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1";  // 種別の名前ではありません
inline constexpr std::string_view kErrColour = "\x90\xFC\x90\x46\x82\xCC\x94\xD4\x8D\x86\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1";  // 線色の番号ではありません
inline constexpr std::string_view kErrType = "\x90\xFC\x8E\xED\x82\xCC\x94\xD4\x8D\x86\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1";  // 線種の番号ではありません
inline constexpr std::string_view kErrWidth = "\x90\xFC\x95\x9D\x82\xCD 0 \x82\xA9\x82\xE7 30000 \x82\xC9\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2";  // 線幅は 0 から 30000 にしてください
inline constexpr std::string_view kErrDigits = "0 \x82\xA9\x82\xE7 3 \x82\xCC\x90\xAE\x90\x94\x82\xC9\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2";  // 0 から 3 の整数にしてください
inline constexpr std::string_view kErrRounding = "\x90\xD8\x8F\xE3\x82\xB0\x81\x41\x8E\x6C\x8E\xCC\x8C\xDC\x93\xFC\x81\x41\x90\xD8\x8E\xCC\x82\xC4\x82\xCC\x82\xC7\x82\xEA\x82\xA9\x82\xC9\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2";  // 切上げ、四捨五入、切捨てのどれかにしてください
inline constexpr std::string_view kErrPrice = "\x92\x50\x89\xBF\x82\xCD\x90\xAE\x90\x94 12 \x8C\x85\x81\x41\x8F\xAC\x90\x94 6 \x8C\x85\x82\xDC\x82\xC5\x82\xC5\x82\xB7";  // 単価は整数 12 桁、小数 6 桁までです
inline constexpr std::string_view kErrContinue = "1 \x82\xA9 \x81\x9B \x82\xC9\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2";  // 1 か ○ にしてください
inline constexpr std::string_view kErrBlockAndText = "\x83\x75\x83\x8D\x83\x62\x83\x4E\x96\xBC\x82\xC6\x95\xB6\x8E\x9A\x82\xCD\x88\xEA\x82\xC2\x82\xCC\x8D\x73\x82\xC9\x97\xBC\x95\xFB\x8F\x91\x82\xAF\x82\xDC\x82\xB9\x82\xF1";  // ブロック名と文字は一つの行に両方書けません
inline constexpr std::string_view kErrItemPrefix = "\x8D\x73 ";  // 行 
inline constexpr std::string_view kErrItemSuffix = " \x82\xCC\x93\xAF\x82\xB6\x95\x69\x96\xDA\x82\xC6\x88\xE1\x82\xA2\x82\xDC\x82\xB7";  //  の同じ品目と違います

// clang-format on

}  // namespace jwcount
