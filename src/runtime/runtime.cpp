// runtime: random generator seeding and rounding.
#include "runtime/runtime.h"

#include <cfenv>
#include <cmath>
#include <ctime>
#include <sys/time.h>

namespace runtime {

uint32_t randseed = 0;
std::optional<uint32_t> fixedseed;
bool plainpaths = false;

uint32_t timeofdayms() {
  timeval tv{};
  gettimeofday(&tv, nullptr);
  time_t secs = tv.tv_sec;
  tm local{};
  localtime_r(&secs, &local);
  return static_cast<uint32_t>(((local.tm_hour * 60 + local.tm_min) * 60 + local.tm_sec) * 1000 +
                               tv.tv_usec / 1000);
}

void randomize() { randseed = fixedseed ? *fixedseed : timeofdayms(); }

int64_t round(long double x) {
  // llrintl honours the current rounding mode; the show never changes it
  // from round-to-nearest-even.
  return std::llrintl(x);
}

}  // namespace runtime
