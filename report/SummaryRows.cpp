#include "report/SummaryRows.h"

#include <string_view>

#include "counting/CountTexts.h"

namespace jwcount {

std::vector<std::vector<std::string>> SummaryRows(std::span<const std::string> labelTexts) {
  std::vector<std::vector<std::string>> rows;
  rows.push_back({std::string(kKindHead), std::string(kCountHead)});
  for (std::size_t i = 0; i < kSummaryCaptions.size(); ++i) {
    const std::string_view caption = kSummaryCaptions[i];
    const std::string_view text = i < labelTexts.size() ? std::string_view(labelTexts[i]) : caption;
    const std::string_view kind = caption.substr(0, caption.size() - kCaptionEnd.size());
    const std::string_view count =
        text.starts_with(caption) ? text.substr(caption.size()) : std::string_view();
    rows.push_back({std::string(kind), std::string(count)});
  }
  return rows;
}

}  // namespace jwcount
