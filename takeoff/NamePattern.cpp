#include "takeoff/ShiftJisChars.h"
#include "takeoff/TakeoffRules.h"

namespace jwcount {

namespace {

// How many characters the name has from `at` on.
std::size_t CharsFrom(std::string_view name, std::size_t at) {
  std::size_t chars = 0;
  for (std::size_t i = at; i < name.size(); i += CharLengthAt(name, i)) ++chars;
  return chars;
}

// Where the name is `chars` characters after `at`.
std::size_t SkipChars(std::string_view name, std::size_t at, std::size_t chars) {
  for (; chars > 0; --chars) at += CharLengthAt(name, at);
  return at;
}

}  // namespace

// The pattern is cut at each star that starts a character: the segments between have a fixed number of
// characters each, which is what lets the match place them without going back.
NamePattern::NamePattern(std::string shiftJis) : text_(std::move(shiftJis)) {
  Segment segment;
  for (std::size_t i = 0; i < text_.size();) {
    const std::size_t length = CharLengthAt(text_, i);
    if (length == 1 && text_[i] == '*') {
      segment.End = i;
      segments_.push_back(segment);
      segment = Segment{i + 1, i + 1, 0};
    } else {
      ++segment.Chars;
    }
    i += length;
  }
  segment.End = text_.size();
  segments_.push_back(segment);
}

// Whether the segment matches the name's characters from `at` on; `end` is then where it stops.
bool NamePattern::SegmentMatchesAt(const Segment& segment, std::string_view name, std::size_t at,
                                   std::size_t& end) const {
  std::size_t p = at;
  for (std::size_t i = segment.Begin; i < segment.End;) {
    if (p >= name.size()) return false;
    const std::size_t patternLength = CharLengthAt(text_, i);
    const std::size_t nameLength = CharLengthAt(name, p);
    const bool any = patternLength == 1 && text_[i] == '?';
    if (!any && (patternLength != nameLength || name.compare(p, nameLength, text_, i, patternLength) != 0))
      return false;
    i += patternLength;
    p += nameLength;
  }
  end = p;
  return true;
}

// The first segment is anchored at the start and the last at the end; each one between is placed at its
// leftmost match after the one before, which leaves the most room to those after it, so no placement is
// ever worth revisiting.
bool NamePattern::Matches(std::string_view name) const {
  if (segments_.empty()) return name.empty();
  std::size_t pos = 0;
  if (!SegmentMatchesAt(segments_.front(), name, 0, pos)) return false;
  if (segments_.size() == 1) return pos == name.size();
  for (std::size_t s = 1; s + 1 < segments_.size(); ++s) {
    std::size_t end = 0;
    while (!SegmentMatchesAt(segments_[s], name, pos, end)) {
      if (pos >= name.size()) return false;
      pos += CharLengthAt(name, pos);
    }
    pos = end;
  }
  const Segment& last = segments_.back();
  const std::size_t remaining = CharsFrom(name, pos);
  if (remaining < last.Chars) return false;
  std::size_t end = 0;
  return SegmentMatchesAt(last, name, SkipChars(name, pos, remaining - last.Chars), end) &&
         end == name.size();
}

}  // namespace jwcount
