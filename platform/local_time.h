// The local wall-clock time, as GetLocalTime gives it.
#pragma once

namespace platform {

struct LocalTime {
  unsigned year = 0, month = 0, day = 0;
  unsigned hour = 0, minute = 0, second = 0;
};

LocalTime ReadLocalTime();

}  // namespace platform
