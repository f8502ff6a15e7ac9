// The page table: the rules every row must keep, so that a page added later gets its key, its tab and its
// grid without a change anywhere else.
#include "app/view/PageTable.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "counting/CountTexts.h"

namespace jwcount {
namespace {

TEST(PageTable, AltKeysFollowTheOrderOfThePagesAndTheirCaptions) {
  for (std::size_t i = 0; i < Pages().size(); ++i) {
    SCOPED_TRACE(i);
    const PageRow& row = Pages()[i];
    // Alt+1 to Alt+9, then Alt+0 for the tenth page, as on a keyboard's row of digits.
    const char key = i < 9 ? static_cast<char>('1' + i) : i == 9 ? '0' : 0;
    EXPECT_EQ(row.Key, key);
    if (key == 0) continue;
    const std::u8string mnemonic = {u8'&', static_cast<char8_t>(key)};
    EXPECT_NE(row.Caption.find(mnemonic), std::u8string_view::npos);
  }
}

TEST(PageTable, EveryPageIsFoundByItsOwnId) {
  for (std::size_t i = 0; i < Pages().size(); ++i) EXPECT_EQ(PageIndex(Pages()[i].Id), i) << Pages()[i].Id;
  EXPECT_EQ(Pages()[PageIndex("checks")].Title, kCheckTitle);  // where page 1's check line goes
  EXPECT_EQ(PageIndex("no such page"), Pages().size());
}

TEST(PageTable, PageOneShowsTheLabelsEveryOtherPageATitledGrid) {
  CountTables tables;
  DrawingState drawing;
  ASSERT_FALSE(Pages().empty());
  EXPECT_FALSE(Pages()[0].HasGrid());
  EXPECT_EQ(Pages()[0].MakeSource({tables, drawing}), nullptr);
  for (std::size_t i = 1; i < Pages().size(); ++i) {
    SCOPED_TRACE(i);
    ASSERT_TRUE(Pages()[i].HasGrid());
    EXPECT_FALSE(Pages()[i].Title.empty());
    EXPECT_FALSE(Pages()[i].CsvSubject.empty());
    const std::unique_ptr<GridSource> source = Pages()[i].MakeSource({tables, drawing});
    // Page 11 with nothing to compare and page 12 without rules are their heads alone.
    EXPECT_GE(source->RowCount(), Pages()[i].Id == "diff" || Pages()[i].Id == "takeoff" ? 1 : 2);
  }
}

}  // namespace
}  // namespace jwcount
