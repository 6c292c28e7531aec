// The offline modes: lockstep rendering and the synthetic row clock.
#include "assets/assets.h"
#include "midas/midastest.h"

namespace {

using tplace = std::array<uint32_t, 4>;  // position, pattern, row, loops

struct tcollected {
  uint64_t frames = 0;
  uint64_t calls = 0;
  uint64_t nonzero = 0;  // samples
};

void collect(const int16_t* samples, size_t count, void* user) {
  auto* c = static_cast<tcollected*>(user);
  c->frames += count;
  ++c->calls;
  for (size_t i = 0; i < 2 * count; ++i) c->nonzero += samples[i] != 0;
}

class midaslockstep : public midaslibrary {
 protected:
  tcollected sunk;
  MIDASmodulePlayHandle handle = 0;

  void play(const std::vector<uint8_t>& bytes) {
    midasoffline::uselockstep(collect, &sunk);
    start();
    handle = MIDASplayModule(loadbytes(bytes, "song.xm"), true);
    ASSERT_NE(handle, 0u) << lastmessage();
  }

  tplace at(uint64_t ms) {
    midasoffline::advanceto(ms);
    return place(handle);
  }
};

// Speed 6 at 125 BPM: a row is 6 ticks of 20 ms, a 64-row pattern 7.68 s.
TEST_F(midaslockstep, PositionsAdvanceEveryPatternLength) {
  play(xmwriter::write({}));  // orders: patterns 0, 1, 0
  EXPECT_EQ(place(handle), (tplace{0, 0, 0, 0}));
  EXPECT_EQ(at(119), (tplace{0, 0, 0, 0}));
  EXPECT_EQ(at(120), (tplace{0, 0, 1, 0}));
  EXPECT_EQ(at(7679), (tplace{0, 0, 63, 0}));
  EXPECT_EQ(at(7680), (tplace{1, 1, 0, 0}));
  EXPECT_EQ(at(15359), (tplace{1, 1, 63, 0}));
  EXPECT_EQ(at(15360), (tplace{2, 0, 0, 0}));
  EXPECT_EQ(at(22000), (tplace{2, 0, 55, 0}));
  EXPECT_EQ(sunk.frames, 22000u * 48);  // every frame up to the virtual time, once
  EXPECT_GT(sunk.calls, 1u);            // in chunks
  EXPECT_EQ(at(1000), (tplace{2, 0, 55, 0}));  // time never runs back
  EXPECT_EQ(sunk.frames, 22000u * 48);
}

TEST_F(midaslockstep, LoopCountCountsPassesAndHonoursRestart) {
  play(xmwriter::write({.restart = 1}));
  // One pass is three patterns (23.04 s); the next ones start at order 1.
  EXPECT_EQ(at(23039), (tplace{2, 0, 63, 0}));
  EXPECT_EQ(at(23040), (tplace{1, 1, 0, 1}));
  EXPECT_EQ(at(23040 + 2 * 7680), (tplace{1, 1, 0, 2}));
}

TEST_F(midaslockstep, SetPositionShowsAtOnceAndRunsOnFromThere) {
  play(xmwriter::write({}));
  midasoffline::advanceto(3000);
  ASSERT_TRUE(MIDASsetPosition(handle, 2));
  EXPECT_EQ(place(handle), (tplace{2, 0, 0, 0}));
  EXPECT_EQ(at(3000 + 120), (tplace{2, 0, 1, 0}));  // one row later
  ASSERT_TRUE(MIDASsetPosition(handle, 0));
  EXPECT_EQ(at(3120 + 7680), (tplace{1, 1, 0, 0}));  // a jump back is no song loop
}

// The show's own song: the timeline needs every order position at its
// 7.68 s step, 25 included, then the song round again.
TEST_F(midaslockstep, ShowSongPlaysEveryPositionInTime) {
  play(assets::composemodule());
  for (uint32_t p = 0; p < 26; ++p) {
    const tplace now = at(7680 * p + 60);
    EXPECT_EQ(now[0], p);
    EXPECT_EQ(now[2], 0u) << p;
  }
  const tplace round = at(7680 * 26 + 60);
  EXPECT_EQ(round[0], 0u);
  EXPECT_EQ(round[3], 1u);
  EXPECT_GT(sunk.nonzero, 0u);
}

// With F frames per row: position = p + c div 64F, row = (c div F) mod 64.
TEST_F(midaslibrary, SyntheticClockFollowsPresentedFrames) {
  midasoffline::usesyntheticrows(3);
  start();
  const MIDASmodulePlayHandle h = MIDASplayModule(load(), true);
  ASSERT_NE(h, 0u);
  uint64_t presented = 0;
  auto after = [&](uint64_t c) {
    for (; presented < c; ++presented) midasoffline::framepresented();
    return place(h);
  };
  EXPECT_EQ(after(0), (tplace{0, 0, 0, 0}));
  EXPECT_EQ(after(2), (tplace{0, 0, 0, 0}));
  EXPECT_EQ(after(3), (tplace{0, 0, 1, 0}));
  EXPECT_EQ(after(191), (tplace{0, 0, 63, 0}));
  EXPECT_EQ(after(192), (tplace{1, 1, 0, 0}));
  EXPECT_EQ(after(1000), (tplace{5, 5, 13, 0}));  // past the song's end too
  // A position set restarts the count from there.
  ASSERT_TRUE(MIDASsetPosition(h, 1));
  EXPECT_EQ(place(h), (tplace{1, 1, 0, 0}));
  presented = 0;
  EXPECT_EQ(after(64 * 3 + 7), (tplace{2, 2, 2, 0}));
  EXPECT_REFUSED(MIDASsetPosition(h, 3), MIDAS_BAD_POSITION);  // jumps stay inside the song
}

TEST_F(midaslibrary, SyntheticClockWithoutFramesPerRowDoesNotDivideByZero) {
  midasoffline::usesyntheticrows(0);
  start();
  const MIDASmodulePlayHandle h = MIDASplayModule(load(), true);
  for (int i = 0; i < 65; ++i) midasoffline::framepresented();
  EXPECT_EQ(place(h), (tplace{1, 1, 1, 0}));
}

}  // namespace
