// Live playback on a background thread: SDL's callback (the dummy driver in
// the test environment) or the silent real-time clock.
#include "midas/midastest.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Waits, polling the status, until done(status) holds or time runs out;
// every status on the way must keep position and loop count from going
// backwards within the pass.
template <typename tdone>
MIDASplayStatus waitfor(MIDASmodulePlayHandle h, tdone done) {
  MIDASplayStatus s{}, before{};
  MIDASgetPlayStatus(h, &before);
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (std::chrono::steady_clock::now() < deadline) {
    EXPECT_TRUE(MIDASgetPlayStatus(h, &s));
    EXPECT_GE(s.songLoopCount, before.songLoopCount);
    if (s.songLoopCount == before.songLoopCount && s.position == before.position) {
      EXPECT_GE(s.row, before.row);
    }
    before = s;
    if (done(s)) break;
    std::this_thread::sleep_for(1ms);
  }
  return s;
}

// "device": the test environment's driver (dummy); "nodevice": a driver
// that does not exist, so the library falls back to the silent clock;
// "silent": the silent clock chosen in the sound set-up.
class midaslive : public midaslibrary, public ::testing::WithParamInterface<const char*> {
 protected:
  std::string saveddriver;

  void SetUp() override {
    const std::string output = GetParam();
    if (const char* d = std::getenv("SDL_AUDIODRIVER")) saveddriver = d;
    if (output == "nodevice") setenv("SDL_AUDIODRIVER", "nosuchdriver", 1);
    if (output == "silent") {
      ASSERT_TRUE(configure("2\n\n\n"));
    }
    start();
    if (output != "device" || saveddriver == "dummy") {
      EXPECT_EQ(midas::outputinfo().device, output == "device");
    }
  }

  void TearDown() override {
    midaslibrary::TearDown();
    if (!saveddriver.empty()) setenv("SDL_AUDIODRIVER", saveddriver.c_str(), 1);
  }
};

// A jump shows in the status at once; stopping background play holds the
// music where it was heard, and starting it again goes on from there.
TEST_P(midaslive, RowsAdvanceJumpsShowAtOnceAndBackgroundPlayHolds) {
  MIDASmodule m = load({.orders = {0, 1, 0, 1}, .speed = 1});  // 20 ms rows
  ASSERT_NE(m, nullptr) << lastmessage();
  const MIDASmodulePlayHandle h = MIDASplayModule(m, true);
  ASSERT_NE(h, 0u);
  EXPECT_EQ(status(h).position, 0u);
  MIDASplayStatus s = waitfor(h, [](const MIDASplayStatus& s) { return s.row >= 5; });
  EXPECT_GE(s.row, 5u);
  EXPECT_EQ(s.position, 0u);
  for (int order : {3, 1}) {
    ASSERT_TRUE(MIDASsetPosition(h, order));
    s = status(h);  // the music before the jump is still queued; the status is already there
    EXPECT_EQ(s.position, static_cast<uint32_t>(order));
    EXPECT_EQ(s.pattern, static_cast<uint32_t>(order % 2));
    EXPECT_EQ(s.row, 0u);
    s = waitfor(h, [](const MIDASplayStatus& s) { return s.row >= 3; });
    EXPECT_EQ(s.position, static_cast<uint32_t>(order));
    EXPECT_GE(s.row, 3u);
  }

  ASSERT_TRUE(MIDASstopBackgroundPlay());
  std::this_thread::sleep_for(100ms);  // whatever was queued is heard by now
  const MIDASplayStatus held = status(h);
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(status(h).row, held.row);
  ASSERT_TRUE(MIDASstartBackgroundPlay(0));
  s = waitfor(h, [&](const MIDASplayStatus& s) { return s.row >= held.row + 3; });
  EXPECT_GE(s.row, held.row + 3);
  EXPECT_EQ(s.position, held.position);

  ASSERT_TRUE(MIDASstopModule(h));
  ASSERT_TRUE(MIDASfreeModule(m));
  ASSERT_TRUE(MIDASstopBackgroundPlay());
  ASSERT_TRUE(MIDASclose());
}

// A fatal error ends the program with exit() while the music plays; that
// must give the program's exit code, not a crash in the rendering thread.
TEST_P(midaslive, ExitWhilePlayingKeepsTheExitCode) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {  // the child runs SetUp again, so the output is already playing
        MIDASplayModule(load({.speed = 1}, "exit.xm"), true);
        std::this_thread::sleep_for(50ms);
        std::exit(1);
      },
      ::testing::ExitedWithCode(1), "");
}

INSTANTIATE_TEST_SUITE_P(outputs, midaslive, ::testing::Values("device", "nodevice", "silent"),
                         [](const ::testing::TestParamInfo<const char*>& p) { return std::string(p.param); });

}  // namespace
