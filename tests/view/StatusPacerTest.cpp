// StatusPacer: which status texts of a count go on screen, and when.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/view/StatusPacer.h"
#include "counting/CountRun.h"
#include "counting/CountTexts.h"

namespace jwcount {
namespace {

using Texts = std::vector<std::string>;

TEST(StatusPacerTest, ShowsProgressAtMostOncePerIntervalAndNeverLosesTheFirstOrLast) {
  const std::string start(kStatusCountStart);
  const std::string done(kStatusCountDone);
  const auto p = [](int entity) { return ProgressText(entity, 1000); };
  struct Step {
    std::string text;
    uint64_t ms;
    Texts shown;
  };
  const std::vector<Step> steps = {
      {start, 1000, {start}},       {p(1), 1000, {p(1)}},  // the first progress text at once
      {p(101), 1010, {}},           {p(201), 1032, {}},
      {p(301), 1033, {p(301)}},  // an interval after the last one shown
      {p(401), 1034, {}},           {p(501), 1040, {}},
      {done, 1041, {p(501), done}},                        // the last progress text, then the closing text
      {start, 1042, {start}},                              // a new run starts afresh
      {p(1), 1043, {p(1)}},         {done, 1044, {done}},  // nothing held back
  };
  StatusPacer pacer;
  for (const Step& step : steps) {
    EXPECT_EQ(pacer.Take(step.text, step.ms), step.shown) << step.ms;
  }
}

}  // namespace
}  // namespace jwcount
