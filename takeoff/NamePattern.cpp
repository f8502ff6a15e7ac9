#include "takeoff/TakeoffRules.h"

namespace jwcount {

NamePattern::NamePattern(std::string shiftJis) : text_(std::move(shiftJis)) {}

bool NamePattern::Matches(std::string_view name) const {
  return name == text_;
}

}  // namespace jwcount
