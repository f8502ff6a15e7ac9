// What the CSV save offers and writes for page 1, computed without a window.
#include "report/CsvFileName.h"
#include "report/SummaryRows.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "counting/CountTexts.h"
#include "report/CsvWriter.h"

namespace jwcount {
namespace {

TEST(DefaultCsvFileName, TheDrawingsNameAndFolderFromItsShiftJisPath) {
  const struct {
    std::string drawingFile;
    std::string folder;
    std::string name;
  } cases[] = {
      {"C:\\jww\\\x8F\x57\x8D\x87\x8F\x5A\x91\xEE\\1F\x95\xBD\x96\xCA\x90\x7D.jww", "C:\\jww\\集合住宅",
       "1F平面図_要素数.csv"},
      // 表 and ソ end in 0x5C, which is no separator there.
      {"D:\\\x95\x5C\\\x83\x5C\x83\x74\x83\x40.jww", "D:\\表", "ソファ_要素数.csv"},
      {"C:\\a.b.jww", "C:\\", "a.b_要素数.csv"},
      {"\\\\server\\share/plan", "\\\\server\\share", "plan_要素数.csv"},
      {"plan.jww", "", "plan_要素数.csv"},
      {"C:\\x\\a:b?\x81.jww", "C:\\x", "a_b_\xEF\xBF\xBD_要素数.csv"},
      {"", "", "要素数.csv"},
      {"C:\\x\\.jww", "C:\\x", "要素数.csv"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const CsvFileName name = DefaultCsvFileName(c.drawingFile);
    EXPECT_EQ(name.FolderUtf8, c.folder);
    EXPECT_EQ(name.NameUtf8, c.name);
  }
}

TEST(SummaryRows, KindsWithoutTheirCaptionEndAndTheCountsAsShown) {
  std::array<std::string, 13> labels;
  for (std::size_t i = 0; i < labels.size(); ++i)
    labels[i] = std::string(kSummaryCaptions[i]) + std::to_string(i);
  labels[12] = std::string(kSummaryCaptions[12]);  // not counted yet
  const std::string csv = CsvFile(SummaryRows(labels), "warning");
  EXPECT_TRUE(
      csv.starts_with("\xEF\xBB\xBFwarning\r\n種類,数\r\n線データ,0\r\n円・円弧・楕円・楕円弧データ,1\r\n"))
      << csv;
  EXPECT_TRUE(csv.ends_with("\r\n円周ソリッド図形データ,11\r\n円環ソリッド図形データ,\r\n")) << csv;
  EXPECT_EQ(SummaryRows(labels).size(), 14u);
}

}  // namespace
}  // namespace jwcount
