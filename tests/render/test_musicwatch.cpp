// musicwatch: when the music has gone back to its start or stopped.
#include <gtest/gtest.h>

#include "render/musicwatch.h"

namespace {

using render::tmusicfate;
using render::tmusicwatch;
using render::watchmusic;

MIDASplayStatus at(uint32_t position, uint32_t row, uint32_t loops = 0) { return {position, 0, row, 0, loops}; }

// Plays rows of `frames` frames each, from position 1 row 0 on.
void playrows(tmusicwatch& w, int rows, uint64_t frames, uint32_t loops = 0) {
  for (int r = 0; r < rows; ++r)
    for (uint64_t f = 0; f < frames; ++f)
      ASSERT_EQ(watchmusic(w, at(1 + r / 64, r % 64, loops)), tmusicfate::playing) << "row " << r;
}

TEST(Musicwatch, ALoopCountAboveTheFirstOneIsALoop) {
  tmusicwatch w;
  playrows(w, 70, 3, 2);  // a status that starts with two passes counted
  EXPECT_EQ(w.furthest, 2u);
  EXPECT_EQ(watchmusic(w, at(0, 0, 2)), tmusicfate::playing);  // a jump back alone is no loop
  EXPECT_EQ(watchmusic(w, at(0, 1, 3)), tmusicfate::looped);
}

// Without a new row for longer than an order at the slowest pace seen, and
// than the longest row an XM module can have, the music has stopped.
TEST(Musicwatch, AStillPlaceIsAStopOnlyPastAnOrdersWorth) {
  tmusicwatch fast;
  playrows(fast, 10, 7);
  for (uint64_t f = 1; f < render::longestxmrow; ++f) ASSERT_EQ(watchmusic(fast, at(1, 10)), tmusicfate::playing);
  EXPECT_EQ(watchmusic(fast, at(1, 10)), tmusicfate::playing);  // the longest row there can be
  EXPECT_EQ(watchmusic(fast, at(1, 10)), tmusicfate::stopped);

  tmusicwatch slow;
  playrows(slow, 3, 100);  // 64 rows of 100 frames: past the longest XM row
  EXPECT_EQ(render::stilllimit(slow), 6400u);
  for (uint64_t f = 0; f < 6400; ++f) ASSERT_EQ(watchmusic(slow, at(1, 3)), tmusicfate::playing) << f;
  EXPECT_EQ(watchmusic(slow, at(1, 3)), tmusicfate::stopped);
  EXPECT_EQ(slow.still, 6401u);

  // A new position with the same row number is a new place.
  tmusicwatch onerow;
  for (uint32_t p = 1; p < 5000; ++p) ASSERT_EQ(watchmusic(onerow, at(p, 0)), tmusicfate::playing);
}

TEST(Musicwatch, TheSentenceNamesTheSceneAndItsPosition) {
  tmusicwatch w;
  watchmusic(w, at(7, 12));
  const std::string stopped = render::stucksentence(tmusicfate::stopped, w, 1);
  EXPECT_NE(stopped.find("stopped at order position 7, row 12"), std::string::npos) << stopped;
  EXPECT_NE(stopped.find("scene 1 (radial tunnel) waits for position 3 exactly"), std::string::npos) << stopped;
  const std::string looped = render::stucksentence(tmusicfate::looped, w, 13);
  EXPECT_NE(looped.find("back to its start after order position 7"), std::string::npos) << looped;
  EXPECT_NE(looped.find("scene 13 (drifting dots) waits for position 22,"), std::string::npos) << looped;
}

}  // namespace
