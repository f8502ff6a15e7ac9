// jwcount-cli mark: what the selectors of its command line mark.
#pragma once

#include <string>
#include <vector>

#include "app/cli/CliOptions.h"
#include "counting/ElementCover.h"
#include "report/CountReport.h"

namespace jwcount {

// The covers the selectors ask for, in their order, or the message of the first selector that marks
// nothing (a block or text of that name not in the drawing, a row that counts no element, checks that found
// nothing).
struct SelectorCovers {
  std::vector<ElementCover> Covers;
  std::string Error;
};
SelectorCovers CoversOfSelectors(const std::vector<MarkSelector>& selectors, const CountReport& report,
                                 const DrawingState& drawing);

}  // namespace jwcount
