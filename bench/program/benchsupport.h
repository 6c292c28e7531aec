// benchsupport: what the scene benchmarks share.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/runtime.h"

namespace benchsupport {

// n bytes of base + Random(below), from the show's own generator.
inline void randomfill(uint8_t* p, size_t n, uint32_t below = 256, uint8_t base = 0) {
  for (size_t i = 0; i < n; ++i) p[i] = static_cast<uint8_t>(base + runtime::random(below));
}

}  // namespace benchsupport
