#include "app/view/TakeoffPage.h"

#include <memory>

#include "report/TakeoffSection.h"
#include "takeoff/TakeoffTexts.h"
#include "text/ShiftJis.h"

namespace jwcount {
namespace {

// clang-format off
constexpr std::string_view kChosenGone = "\x91I\x82\xF1\x82\xBE\x83\x8B\x81[\x83\x8B\x83t\x83@\x83" "C\x83\x8B ";  // 選んだルールファイル 
constexpr std::string_view kChosenGoneAfter = " \x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE7\x82\xC8\x82\xA2\x82\xBD\x82\xDF\x81" "Atakeoff.csv \x82\xF0\x93\xC7\x82\xDD\x82\xDC\x82\xB5\x82\xBD\x81" "B";  //  が見つからないため、takeoff.csv を読みました。
constexpr std::string_view kWhereToPut = "jwcount.exe \x82\xC6\x93\xAF\x82\xB6\x83t\x83H\x83\x8B\x83_\x81i";  // jwcount.exe と同じフォルダ（
constexpr std::string_view kWhereToPutAfter = "\x81j\x82\xC9 takeoff.csv \x82\xF0\x92u\x82\xAD\x82\xA9\x81" "A\x81u\x83\x8B\x81[\x83\x8B\x82\xF0\x91I\x82\xD4\x81" "c\x81v\x82\xC5\x83t\x83@\x83" "C\x83\x8B\x82\xF0\x91I\x82\xF1\x82\xC5\x82\xAD\x82\xBE\x82\xB3\x82\xA2\x81" "B\x97\xE1\x82\xCD\x83v\x83\x8D\x83O\x83\x89\x83\x80\x82\xCC ZIP \x82\xCC example \x83t\x83H\x83\x8B\x83_\x82\xC9\x82\xA0\x82\xE8\x82\xDC\x82\xB7\x81" "B";  // ）に takeoff.csv を置くか、「ルールを選ぶ…」でファイルを選んでください。例はプログラムの ZIP の example フォルダにあります。
constexpr std::string_view kFixAndReload = "\x92\xBC\x82\xB5\x82\xC4\x95\xDB\x91\xB6\x82\xB5\x82\xBD\x82\xE7\x81" "AF5 \x82\xC5\x93\xC7\x82\xDD\x92\xBC\x82\xB9\x82\xDC\x82\xB7\x81" "B";  // 直して保存したら、F5 で読み直せます。
constexpr std::string_view kCloseAndReload = "Excel \x82\xC5\x8AJ\x82\xA2\x82\xC4\x82\xA2\x82\xE9\x82\xC6\x82\xAB\x82\xCD\x95\xC2\x82\xB6\x82\xC4\x82\xA9\x82\xE7\x81" "AF5 \x82\xC5\x93\xC7\x82\xDD\x92\xBC\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2\x81" "B";  // Excel で開いているときは閉じてから、F5 で読み直してください。
constexpr std::string_view kNoRulesShort = "\x83\x8B\x81[\x83\x8B\x83t\x83@\x83" "C\x83\x8B\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1";  // ルールファイルがありません
constexpr std::string_view kErrorsShort = "\x83\x8B\x81[\x83\x8B\x82\xC9\x8C\xEB\x82\xE8\x82\xAA ";  // ルールに誤りが 
constexpr std::string_view kErrorsShortAfter = " \x8C\x8F";  //  件
constexpr std::string_view kUnreadableShort = "\x83\x8B\x81[\x83\x8B\x83t\x83@\x83" "C\x83\x8B\x82\xF0\x93\xC7\x82\xDF\x82\xDC\x82\xB9\x82\xF1";  // ルールファイルを読めません
constexpr std::string_view kNotCompleteShort = "\x90}\x96\xCA\x82\xCC\x88\xEA\x95\x94\x82\xCC\x90\x94\x82\xC8\x82\xCC\x82\xC5\x8D\xEC\x82\xE8\x82\xDC\x82\xB9\x82\xF1";  // 図面の一部の数なので作りません
// clang-format on

constexpr std::size_t kMaxChoiceBytes = 65536;  // far more than any path
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The first line of the choice file, or "" when it cannot be read.
std::string ChoiceLine(FileSystem& files, const std::filesystem::path& path) {
  std::string bytes;
  if (!files.Exists(path)) return bytes;
  std::unique_ptr<InputFile> file = files.OpenForRead(path);
  if (file == nullptr) return bytes;
  char buffer[4096];
  while (bytes.size() < kMaxChoiceBytes) {
    const std::ptrdiff_t n = file->Read(buffer, sizeof buffer);
    if (n < 0) return {};
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  file->Close();
  if (bytes.starts_with(kUtf8Mark)) bytes.erase(0, kUtf8Mark.size());
  return bytes.substr(0, bytes.find_first_of("\r\n"));
}

// The path a line names: without the blanks around it and the double quotes of a copied path.
std::string_view PathText(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  line = line.substr(first, line.find_last_not_of(" \t") - first + 1);
  if (line.size() >= 2 && line.front() == '"' && line.back() == '"') line = line.substr(1, line.size() - 2);
  return line;
}

std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string PathShiftJis(const std::filesystem::path& path) {
  return Utf8ToShiftJis(PathUtf8(path));
}

void AddLine(std::string& text, std::string_view line) {
  if (line.empty()) return;
  if (!text.empty()) text += "\r\n";
  text += line;
}

}  // namespace

std::filesystem::path RulesChoicePath(const std::filesystem::path& programFolder) {
  return programFolder / kRulesChoiceFileName;
}

RulesChoice FindRulesFile(FileSystem& files, const std::filesystem::path& programFolder) {
  RulesChoice choice{programFolder / kRulesFileName, {}};
  try {
    const std::string line = ChoiceLine(files, RulesChoicePath(programFolder));
    const std::string_view remembered = PathText(line);
    if (remembered.empty()) return choice;
    const std::filesystem::path chosen = programFolder / PathFromUtf8(remembered);
    if (files.Exists(chosen))
      choice.File = chosen;
    else
      choice.Gone = chosen;
  } catch (...) {
    // No memory, or a path the system cannot take: no choice, as if none had been made.
  }
  return choice;
}

std::string RulesChoiceBytes(const std::filesystem::path& chosen) {
  return PathUtf8(chosen) + "\r\n";
}

std::string PathUtf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string TakeoffPageNotice(std::string_view sheetNotice, const TakeoffResult& takeoff,
                              const RulesChoice& choice, const std::filesystem::path& programFolder) {
  std::string notice;
  if (!choice.Gone.empty())
    AddLine(notice, std::string(kChosenGone) + PathShiftJis(choice.Gone) + std::string(kChosenGoneAfter));
  AddLine(notice, sheetNotice);
  switch (takeoff.State) {
    case TakeoffResult::Outcome::kNoRules:
      AddLine(notice, std::string(kWhereToPut) + PathShiftJis(programFolder) + std::string(kWhereToPutAfter));
      break;
    case TakeoffResult::Outcome::kErrors:
      AddLine(notice, kFixAndReload);
      break;
    case TakeoffResult::Outcome::kUnreadable:
      AddLine(notice, kCloseAndReload);
      break;
    default:
      break;
  }
  return notice;
}

std::string TakeoffSummaryLine(const TakeoffResult& takeoff) {
  std::string line = std::string(kTakeoffTitle) + ": ";
  switch (takeoff.State) {
    case TakeoffResult::Outcome::kApplied:
      return line + SheetFigures(takeoff.Sheet);
    case TakeoffResult::Outcome::kNoRules:
      return line + std::string(kNoRulesShort);
    case TakeoffResult::Outcome::kErrors:
      return line + std::string(kErrorsShort) + std::to_string(takeoff.Rules.Errors.size()) +
             std::string(kErrorsShortAfter);
    case TakeoffResult::Outcome::kUnreadable:
      return line + std::string(kUnreadableShort);
    case TakeoffResult::Outcome::kNotComplete:
      return line + std::string(kNotCompleteShort);
  }
  return line;
}

}  // namespace jwcount
