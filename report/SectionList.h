// Every section of the count, in the order of the pages and the reports. A new section is one class and
// one row of this list.
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "report/CountReport.h"
#include "report/Section.h"

namespace jwcount {

std::span<const SectionRow> Sections();

// The sections of these rows that have something to show for a count, in order: what the reports of a
// count write; with a comparison (the window's workbook), its section too.
struct CountComparison;
std::vector<std::unique_ptr<Section>> ReportSections(const CountReport& report,
                                                     std::span<const SectionRow> rows,
                                                     const CountComparison* comparison = nullptr);

}  // namespace jwcount
