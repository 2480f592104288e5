// The local wall-clock time, as GetLocalTime gives it.
#pragma once

namespace platform {

struct LocalTime {
  unsigned year = 0, month = 0, day = 0;
  unsigned hour = 0, minute = 0, second = 0;
};

// The current local date and time to the second (GetLocalTime).
LocalTime ReadLocalTime();

}  // namespace platform
