// A count that shows nothing, and the reply every count writes.
#pragma once

#include <string_view>

#include "counting/CountRun.h"
#include "counting/CountTexts.h"

namespace jwcount::test {

// Shows nothing and never finds Escape down. Not final: a test host overrides what it watches.
class QuietHost : public CountHost {
 public:
  void ShowStatus(std::string_view) override {}
  bool EscapePressed() override { return false; }
  void ShowSummary(int, std::string_view) override {}
  void ShowFirstPage() override {}
};

// The reply the host reads back: "h#", 要素数をカウントしました in Shift-JIS, CR LF. Written out byte for
// byte, since these 28 bytes are what Jw_cad expects; the check below keeps the status text in step.
inline constexpr std::string_view kReply =
    "h#\x97\x76\x91\x66\x90\x94\x82\xF0\x83\x4A\x83\x45\x83\x93\x83\x67\x82\xB5\x82\xDC\x82\xB5\x82\xBD\r\n";
static_assert(kReply.size() == 28 && kReply.substr(2, 24) == kStatusCountDone);

}  // namespace jwcount::test
