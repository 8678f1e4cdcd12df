// A fixed date and time for the NC program tests: the export line of a
// program head carries the date and time of the run. Headless runs read the
// platform's virtual clock, which starts at a wall time the test can set.
#pragma once

#include <stdlib.h>
#include <time.h>

#include <cstdint>

#include "platform/backend.h"
#include "platform/window.h"

namespace nctest {

// 11.12.2026 04:30:15 UTC: the texts read "11.12.26  " and "04:30:15 h ".
constexpr int64_t kFixedClockSeconds = 1796963415;
constexpr const char* kFixedDateText = "11.12.26  ";
constexpr const char* kFixedDateTimeText = "11.12.26  04:30:15 h ";

// Needs the headless backend (a TWorkFolder chooses it); returns false when
// the clock could not be fixed.
inline bool FixClock() {
  if (!plat::IsHeadless()) return false;
  setenv("TZ", "UTC0", 1);
  tzset();
  plat::SystemState.startWallUs = kFixedClockSeconds * 1000000 - static_cast<int64_t>(plat::SystemState.virtualUs);
  return true;
}

}  // namespace nctest
