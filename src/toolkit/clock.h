#pragma once
// The local calendar date, through a seam that tests can fix.

#include <functional>

namespace tk {

struct Date {
  int Day = 1;
  int Month = 1;
  int Year = 1970;
};

Date Today();

// Replaces the clock; an empty function restores the real one.
void SetClock(std::function<Date()> clock);

}  // namespace tk
