#include "platform/local_time.h"

#include <ctime>

namespace platform {

LocalTime ReadLocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  localtime_r(&now, &parts);
  LocalTime time;
  time.year = static_cast<unsigned>(parts.tm_year + 1900);
  time.month = static_cast<unsigned>(parts.tm_mon + 1);
  time.day = static_cast<unsigned>(parts.tm_mday);
  time.hour = static_cast<unsigned>(parts.tm_hour);
  time.minute = static_cast<unsigned>(parts.tm_min);
  time.second = static_cast<unsigned>(parts.tm_sec);
  return time;
}

}  // namespace platform
