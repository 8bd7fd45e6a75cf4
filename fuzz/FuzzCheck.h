#pragma once
// An invariant of a fuzz target. The broken invariant's line goes to the report before the abort.
// (A macro: clang 14 has no std::source_location.)
#include <cstdio>
#include <cstdlib>

#define Check(condition)                                                               \
  do {                                                                                 \
    if (!(condition)) {                                                                \
      std::fprintf(stderr, "invariant broken at line %d: %s\n", __LINE__, #condition); \
      std::abort();                                                                    \
    }                                                                                  \
  } while (false)
