// What the window adds to the quantity sheet: the rules file it reads (the remembered choice while it is
// there, else takeoff.csv beside the program), and what page 12's notice and page 1's line say for each
// outcome of the sample drawing's take-off, read again after the rules change without the drawing.
#include "app/view/TakeoffPage.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "app/view/CountSession.h"
#include "counting/RunSequence.h"
#include "report/TakeoffSection.h"
#include "tests/support/FakeFileSystem.h"
#include "tests/support/QuietCount.h"
#include "text/ShiftJis.h"

namespace jwcount {
namespace {

const std::filesystem::path kFolder = "tool";
const std::filesystem::path kDefault = kFolder / "takeoff.csv";

std::string Example(const char* name) {
  std::ifstream in(std::filesystem::path(JWCOUNT_EXAMPLES) / name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class EscapeHost final : public test::QuietHost {
 public:
  bool EscapePressed() override { return true; }
};

std::string Sjis(std::string_view utf8) {
  return Utf8ToShiftJis(utf8);
}

TEST(TakeoffPageTest, ReadsTheRememberedChoiceWhileItIsThere) {
  // Chosen through the Open dialog: a whole path, here with a Japanese name and a blank.
  const std::filesystem::path japanese = std::filesystem::temp_directory_path() / "規則" / "内装 2.csv";
  struct Case {
    const char* name;
    std::optional<std::string> remembered;  // the choice file's bytes
    bool unreadable;
    std::filesystem::path file, gone;
  } cases[] = {
      {"no choice", std::nullopt, false, kDefault, {}},
      {"as the window writes it", RulesChoiceBytes(japanese), false, japanese, {}},
      {"copied by hand: a mark, blanks, quotes, relative",
       "\xEF\xBB\xBF  \"sub/r.csv\" \r\nrest",
       false,
       kFolder / "sub/r.csv",
       {}},
      {"a blank line", " \r\n", false, kDefault, {}},
      {"cannot be read", RulesChoiceBytes(japanese), true, kDefault, {}},
      {"gone", "gone.csv", false, kDefault, kFolder / "gone.csv"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::FakeFileSystem files;
    files.files[japanese] = files.files[kFolder / "sub/r.csv"] = "rules";
    if (c.remembered) files.files[RulesChoicePath(kFolder)] = *c.remembered;
    files.failAtRead = c.unreadable ? 1 : 0;
    const RulesChoice choice = FindRulesFile(files, kFolder);
    EXPECT_EQ(choice.File, c.file);
    EXPECT_EQ(choice.Gone, c.gone);
  }
  EXPECT_TRUE(
      RulesChoiceBytes(japanese).ends_with("\xE8\xA6\x8F\xE5\x89\x87/\xE5\x86\x85\xE8\xA3\x85 2.csv\r\n"));
}

// The sample counted once; then the rules read as each case leaves them.
TEST(TakeoffPageTest, NoticeAndPageOneLineSayWhatBecameOfTheRules) {
  const std::string rules = Example("takeoff.csv");
  const std::string noPrices = Sjis("工種,品名,単位,種別,ブロック名\r\n家具,椅子,脚,BLOCK,椅子\r\n");
  const std::string damaged =
      Sjis("工種,品名,単位,種別,単価\r\n家具,椅子,脚,BLOCK,abc\r\n家具,机,脚,机,1\r\n");
  const std::string sheet = "12 品目, 合計 ￥2,067,959, 未割当 146";
  const std::string where =
      "jwcount.exe と同じフォルダ（tool）に takeoff.csv を置くか、「ルールを選ぶ…」でファイルを選んでくだ"
      "さい。例はプログラムの ZIP の example フォルダにあります。";
  struct Case {
    const char* name;
    std::optional<std::string> bytes;  // of takeoff.csv
    bool escape;
    bool unreadable;
    const char* remembered;  // the choice file's bytes
    std::string line, notice;
  } cases[] = {
      {"applied", rules, false, false, "", "数量表: " + sheet, "ルール: tool/takeoff.csv\r\n" + sheet},
      {"no price: no total", noPrices, false, false, "", "数量表: 1 品目, 未割当 258",
       "ルール: tool/takeoff.csv\r\n1 品目, 未割当 258"},
      {"errors", damaged, false, false, "", "数量表: ルールに誤りが 2 件",
       "ルール: tool/takeoff.csv\r\nルールに誤りが 2 "
       "件あるため、何も適用していません。行・列・理由は下の表のとおり"
       "です。\r\n直して保存したら、F5 で読み直せます。"},
      {"no rules file", std::nullopt, false, false, "", "数量表: ルールファイルがありません",
       "ルールファイルがありません: tool/takeoff.csv\r\n" + where},
      {"the choice gone", std::nullopt, false, false, "old.csv", "数量表: ルールファイルがありません",
       "選んだルールファイル tool/old.csv が見つからないため、takeoff.csv "
       "を読みました。\r\nルールファイルがありませ"
       "ん: tool/takeoff.csv\r\n" +
           where},
      {"held by Excel", rules, false, true, "", "数量表: ルールファイルを読めません",
       "ルール: tool/takeoff.csv\r\nルールファイルを読めません（Excel で開いているかもしれません）\r\nExcel "
       "で開"
       "いているときは閉じてから、F5 で読み直してください。"},
      {"stopped by Escape", rules, true, false, "", "数量表: 図面の一部の数なので作りません",
       "ルール: tool/takeoff.csv\r\n図面を最後まで数えていないので、数量表は作りません"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::FakeFileSystem files;
    files.files[TempFilePath(kFolder)] = Example("JWC_TEMP.TXT");
    CountSession session(files);
    session.Read(TempFilePath(kFolder));
    test::QuietHost quiet;
    EscapeHost escape;
    session.Count(kFolder, c.escape ? static_cast<CountHost&>(escape) : quiet);
    if (c.bytes) files.files[kDefault] = *c.bytes;
    if (*c.remembered != '\0') files.files[RulesChoicePath(kFolder)] = c.remembered;
    files.openFails = c.unreadable;
    const RulesChoice choice = FindRulesFile(files, kFolder);
    const TakeoffResult& takeoff = session.ApplyRules(choice.File, PathUtf8(choice.File));
    EXPECT_EQ(ShiftJisToUtf8(TakeoffSummaryLine(takeoff)), c.line);
    const TakeoffSection page(&takeoff);
    EXPECT_EQ(ShiftJisToUtf8(TakeoffPageNotice(page.Notice(), takeoff, choice, kFolder)), c.notice);
  }
}

// F5 after the user changed a price in Excel: the sheet follows, and the drawing is not read again.
TEST(TakeoffPageTest, ReadingTheRulesAgainFollowsTheirChange) {
  test::FakeFileSystem files;
  files.files[TempFilePath(kFolder)] = Example("JWC_TEMP.TXT");
  files.files[kDefault] = Example("takeoff.csv");
  CountSession session(files);
  session.Read(TempFilePath(kFolder));
  test::QuietHost quiet;
  session.Count(kFolder, quiet);
  session.ApplyRules(kDefault, PathUtf8(kDefault));
  files.files.erase(TempFilePath(kFolder));
  std::string& bytes = files.files[kDefault];
  bytes.replace(bytes.find("\"12,500\""), 8, "13000");  // 椅子, 6 of them
  const TakeoffResult& again = session.ApplyRules(kDefault, PathUtf8(kDefault));
  EXPECT_EQ(ShiftJisToUtf8(TakeoffSummaryLine(again)), "数量表: 12 品目, 合計 ￥2,070,959, 未割当 146");
}

}  // namespace
}  // namespace jwcount
