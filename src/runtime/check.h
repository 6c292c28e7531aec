// check: limits a caller must respect, tested where the build asks for it.
//
// Drawing never reports errors; a caller that breaks a stated limit (an empty
// rectangle, a filter count past its buffer) is a bug in the caller. With
// MORVANTA_CHECKS (on in the default, test and sanitizer builds) such a call
// stops the process with a message instead of corrupting memory.
#pragma once

#ifdef MORVANTA_CHECKS
#include <cstdio>
#include <cstdlib>
#define MORVANTA_REQUIRE(cond)                                                       \
  do {                                                                               \
    if (!(cond)) {                                                                   \
      std::fprintf(stderr, "%s:%d: limit broken: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                  \
    }                                                                                \
  } while (0)
#else
#define MORVANTA_REQUIRE(cond) ((void)0)
#endif
