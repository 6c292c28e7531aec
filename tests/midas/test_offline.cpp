// The offline modes: lockstep rendering and the synthetic row clock.
#include "midas/midastest.h"

#include <cmath>

namespace {

struct tcollected {
  uint64_t frames = 0;
  uint64_t calls = 0;
  double energy = 0;
};

void collect(const int16_t* frames, size_t count, void* user) {
  auto* c = static_cast<tcollected*>(user);
  c->frames += count;
  ++c->calls;
  for (size_t i = 0; i < 2 * count; ++i) c->energy += std::abs(frames[i]);
}

class midaslockstep : public midaslibrary {
 protected:
  tcollected sunk;
  MIDASmodule module = nullptr;
  MIDASmodulePlayHandle handle = 0;

  void play(const xmwriter::tsong& song) {
    midasoffline::uselockstep(collect, &sunk);
    start();
    module = load(song);
    ASSERT_NE(module, nullptr) << lastmessage();
    handle = MIDASplayModule(module, true);
    ASSERT_NE(handle, 0u) << lastmessage();
  }
};

// Speed 6 at 125 BPM: a row is 6 ticks of 20 ms, a 64-row pattern 7.68 s.
TEST_F(midaslockstep, PositionsAdvanceEveryPatternLength) {
  play(xmwriter::tsong{});
  const MIDASplayStatus start = status(handle);
  EXPECT_EQ(start.position, 0u);
  EXPECT_EQ(start.row, 0u);
  struct tcase {
    uint64_t ms;
    uint32_t position, pattern, row;
  } cases[] = {
      {119, 0, 0, 0},   {120, 0, 0, 1},     {7679, 0, 0, 63}, {7680, 1, 1, 0},
      {7800, 1, 1, 1},  {15359, 1, 1, 63}, {15360, 2, 0, 0}, {22000, 2, 0, 55},
  };
  for (const tcase& c : cases) {
    midasoffline::advanceto(c.ms);
    const MIDASplayStatus s = status(handle);
    EXPECT_EQ(s.position, c.position) << "at " << c.ms << " ms";
    EXPECT_EQ(s.pattern, c.pattern) << "at " << c.ms << " ms";
    EXPECT_EQ(s.row, c.row) << "at " << c.ms << " ms";
    EXPECT_EQ(s.songLoopCount, 0u);
    EXPECT_EQ(s.syncInfo, 0u);
  }
  EXPECT_EQ(sunk.frames, 22000u * 48);  // every frame up to the virtual time, once
}

TEST_F(midaslockstep, TimeNeverRunsBackwards) {
  play(xmwriter::tsong{});
  midasoffline::advanceto(1000);
  const uint32_t row = status(handle).row;
  midasoffline::advanceto(500);
  midasoffline::advanceto(1000);
  EXPECT_EQ(status(handle).row, row);
  EXPECT_EQ(sunk.frames, 48000u);
}

TEST_F(midaslockstep, LoopCountCountsPassesAndHonoursRestart) {
  xmwriter::tsong song;
  song.orders = {0, 1, 0};
  song.restart = 1;
  play(song);
  // One pass is three patterns (23.04 s); the next passes start at order 1.
  midasoffline::advanceto(23039);
  EXPECT_EQ(status(handle).songLoopCount, 0u);
  EXPECT_EQ(status(handle).position, 2u);
  midasoffline::advanceto(23040);
  EXPECT_EQ(status(handle).songLoopCount, 1u);
  EXPECT_EQ(status(handle).position, 1u);
  midasoffline::advanceto(23040 + 2 * 7680);
  EXPECT_EQ(status(handle).songLoopCount, 2u);
  EXPECT_EQ(status(handle).position, 1u);
}

TEST_F(midaslockstep, SetPositionShowsAtOnceAndRunsOnFromThere) {
  play(xmwriter::tsong{});
  midasoffline::advanceto(3000);
  ASSERT_TRUE(MIDASsetPosition(handle, 2));
  MIDASplayStatus s = status(handle);
  EXPECT_EQ(s.position, 2u);
  EXPECT_EQ(s.pattern, 0u);
  EXPECT_EQ(s.row, 0u);
  midasoffline::advanceto(3000 + 120);  // one row later
  s = status(handle);
  EXPECT_EQ(s.position, 2u);
  EXPECT_EQ(s.row, 1u);
  // A jump back is no song loop.
  ASSERT_TRUE(MIDASsetPosition(handle, 0));
  midasoffline::advanceto(3120 + 7680);
  EXPECT_EQ(status(handle).position, 1u);
  EXPECT_EQ(status(handle).songLoopCount, 0u);
}

TEST_F(midaslockstep, SamplesReachTheSink) {
  xmwriter::tsong song;
  song.instrument = true;
  play(song);
  midasoffline::advanceto(250);
  EXPECT_EQ(sunk.frames, 12000u);
  EXPECT_GT(sunk.calls, 1u);  // in chunks, not one huge buffer
  EXPECT_EQ(sunk.energy, 0);  // the song has no notes
}

// Two runs of the same calls give the same samples, frame for frame.
TEST_F(midaslockstep, IsDeterministic) {
  auto run = [&]() {
    tcollected c;
    midasoffline::uselockstep(collect, &c);
    EXPECT_TRUE(MIDASstartup());
    EXPECT_TRUE(MIDASinit());
    EXPECT_TRUE(MIDASstartBackgroundPlay(0));
    MIDASmodule m = load(xmwriter::tsong{});
    const MIDASmodulePlayHandle h = MIDASplayModule(m, true);
    MIDASplayStatus trail[3];
    for (int i = 0; i < 3; ++i) {
      midasoffline::advanceto(static_cast<uint64_t>(4000 * (i + 1)));
      MIDASgetPlayStatus(h, &trail[i]);
    }
    MIDASclose();
    return std::vector<uint32_t>{trail[0].row, trail[1].row, trail[2].position, trail[2].row, static_cast<uint32_t>(c.frames)};
  };
  EXPECT_EQ(run(), run());
}

TEST_F(midaslibrary, NoSinkStillKeepsTime) {
  midasoffline::uselockstep(nullptr, nullptr);
  start();
  const MIDASmodulePlayHandle h = MIDASplayModule(load(xmwriter::tsong{}), true);
  midasoffline::advanceto(7680);
  EXPECT_EQ(status(h).position, 1u);
}

// ---- synthetic rows ----

TEST_F(midaslibrary, SyntheticClockFollowsPresentedFrames) {
  const uint32_t f = 3;  // frames per row
  midasoffline::usesyntheticrows(f);
  start();
  const MIDASmodulePlayHandle h = MIDASplayModule(load(xmwriter::tsong{}), true);
  ASSERT_NE(h, 0u);
  uint64_t presented = 0;
  auto presentto = [&](uint64_t c) {
    for (; presented < c; ++presented) midasoffline::framepresented();
  };
  struct tcase {
    uint64_t frames;
    uint32_t position, row;
  } cases[] = {{0, 0, 0}, {2, 0, 0}, {3, 0, 1}, {191, 0, 63}, {192, 1, 0}, {195, 1, 1}, {1000, 5, 13}};
  for (const tcase& c : cases) {
    presentto(c.frames);
    const MIDASplayStatus s = status(h);
    EXPECT_EQ(s.position, c.position) << c.frames << " frames";
    EXPECT_EQ(s.pattern, c.position) << c.frames << " frames";
    EXPECT_EQ(s.row, c.row) << c.frames << " frames";
    EXPECT_EQ(s.syncInfo, 0u);
    EXPECT_EQ(s.songLoopCount, 0u);
  }
  // A position set restarts the count from there.
  ASSERT_TRUE(MIDASsetPosition(h, 1));
  EXPECT_EQ(status(h).position, 1u);
  EXPECT_EQ(status(h).row, 0u);
  for (int i = 0; i < 64 * 3 + 7; ++i) midasoffline::framepresented();
  EXPECT_EQ(status(h).position, 2u);
  EXPECT_EQ(status(h).row, 2u);
  // The synthetic positions are not bounded by the song; the jumps are.
  EXPECT_FALSE(MIDASsetPosition(h, 3));
  EXPECT_EQ(MIDASgetLastError(), MIDAS_BAD_POSITION);
}

TEST_F(midaslibrary, SyntheticClockWithoutFramesPerRowDoesNotDivideByZero) {
  midasoffline::usesyntheticrows(0);
  start();
  const MIDASmodulePlayHandle h = MIDASplayModule(load(xmwriter::tsong{}), true);
  for (int i = 0; i < 65; ++i) midasoffline::framepresented();
  EXPECT_EQ(status(h).position, 1u);
  EXPECT_EQ(status(h).row, 1u);
}

TEST_F(midaslibrary, OfflineModeCannotChangeAfterInit) {
  start();
  midasoffline::usesyntheticrows(4);
  EXPECT_EQ(MIDASgetLastError(), MIDAS_ALREADY_INITIALISED);
  // Still live: presenting frames moves nothing, the output clock does.
  EXPECT_TRUE(midas::outputinfo().rate > 0);
  const MIDASmodulePlayHandle h = MIDASplayModule(load(xmwriter::tsong{}), true);
  for (int i = 0; i < 64 * 4; ++i) midasoffline::framepresented();
  EXPECT_EQ(status(h).position, 0u);
}

}  // namespace
