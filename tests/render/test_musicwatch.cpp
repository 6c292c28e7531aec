// musicwatch: when music that still plays has stopped moving. (A loop back to
// the start is seen end to end in test_render.)
#include <gtest/gtest.h>

#include "render/musicwatch.h"

namespace {

using render::tmusicfate;

MIDASplayStatus at(uint32_t position, uint32_t row) { return {position, 0, row, 0, 0}; }

// No new row for longer than an order at the slowest pace seen, and than the
// longest row an XM module can have: the music has stopped.
TEST(Musicwatch, AStillPlaceIsAStopOnlyPastAnOrdersWorth) {
  for (const uint64_t rowframes : {7u, 100u}) {
    render::tmusicwatch w;
    for (uint32_t r = 0; r < 3; ++r)
      for (uint64_t f = 0; f < rowframes; ++f) ASSERT_EQ(render::watchmusic(w, at(1, r)), tmusicfate::playing);
    const uint64_t limit = std::max<uint64_t>(64 * rowframes, render::longestxmrow);
    for (uint64_t f = rowframes; f < limit; ++f) ASSERT_EQ(render::watchmusic(w, at(1, 2)), tmusicfate::playing) << f;
    EXPECT_EQ(render::watchmusic(w, at(1, 2)), tmusicfate::stopped) << rowframes;
    const std::string why = render::stucksentence(tmusicfate::stopped, w, 1);
    EXPECT_NE(why.find("stopped at order position 1, row 2"), std::string::npos) << why;
    EXPECT_NE(why.find("scene 1 (radial tunnel) waits for position 3 exactly"), std::string::npos) << why;
  }
  // A new position with the same row is a new place.
  render::tmusicwatch w;
  for (uint32_t p = 1; p < 5000; ++p) ASSERT_EQ(render::watchmusic(w, at(p, 0)), tmusicfate::playing);
}

}  // namespace
