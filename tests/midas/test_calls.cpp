// The calls' order, their handles and errors, and the sound set-up.
#include <algorithm>

#include "midas/midastest.h"

namespace {

// Every call before MIDASstartup, every one that needs MIDASinit or
// background play before it, and every repeat fails with an error.
TEST_F(midaslibrary, CallsOutOfOrderFail) {
  MIDASplayStatus s{};
  int dummy = 0;
  const auto module = reinterpret_cast<MIDASmodule>(&dummy);
  EXPECT_REFUSED(MIDASclose(), MIDAS_NOT_STARTED);
  EXPECT_REFUSED(MIDASinit(), MIDAS_NOT_STARTED);
  EXPECT_REFUSED(MIDASstartBackgroundPlay(0), MIDAS_NOT_STARTED);
  EXPECT_REFUSED(MIDASloadModule("x.xm"), MIDAS_NOT_STARTED);
  EXPECT_REFUSED(MIDASplayModule(module, true), MIDAS_NOT_STARTED);
  EXPECT_REFUSED(MIDASsetPosition(1, 1), MIDAS_NOT_STARTED);
  EXPECT_REFUSED(MIDASgetPlayStatus(1, &s), MIDAS_NOT_STARTED);
  EXPECT_REFUSED(MIDASstopModule(1), MIDAS_NOT_STARTED);
  EXPECT_REFUSED(MIDASfreeModule(module), MIDAS_NOT_STARTED);
  EXPECT_REFUSED(MIDASstopBackgroundPlay(), MIDAS_NOT_STARTED);

  ASSERT_TRUE(MIDASstartup());
  EXPECT_TRUE(MIDASstartup());  // again: harmless
  EXPECT_REFUSED(MIDASstartBackgroundPlay(0), MIDAS_NOT_INITIALISED);
  EXPECT_REFUSED(MIDASloadModule("x.xm"), MIDAS_NOT_INITIALISED);
  EXPECT_REFUSED(MIDASstopModule(1), MIDAS_NOT_INITIALISED);
  EXPECT_TRUE(MIDASclose());  // started, so there is something to close
  EXPECT_FALSE(MIDASclose());

  midasoffline::uselockstep(nullptr, nullptr);
  ASSERT_TRUE(MIDASstartup());
  ASSERT_TRUE(MIDASinit());
  EXPECT_REFUSED(MIDASinit(), MIDAS_ALREADY_INITIALISED);
  EXPECT_REFUSED(MIDASstartup(), MIDAS_ALREADY_INITIALISED);
  EXPECT_REFUSED(configure("\n\n\n"), MIDAS_ALREADY_INITIALISED);
  midasoffline::usesyntheticrows(4);
  EXPECT_EQ(MIDASgetLastError(), MIDAS_ALREADY_INITIALISED);
  MIDASmodule m = load();
  ASSERT_NE(m, nullptr);
  EXPECT_REFUSED(MIDASplayModule(m, true), MIDAS_BACKGROUND_STATE);  // no background play yet
  EXPECT_REFUSED(MIDASstopBackgroundPlay(), MIDAS_BACKGROUND_STATE);
  ASSERT_TRUE(MIDASstartBackgroundPlay(0));
  EXPECT_REFUSED(MIDASstartBackgroundPlay(0), MIDAS_BACKGROUND_STATE);
  const MIDASmodulePlayHandle h = MIDASplayModule(m, true);
  for (int i = 0; i < 64 * 4; ++i) midasoffline::framepresented();
  EXPECT_EQ(status(h).position, 0u);  // the refused row clock did not take over
}

TEST_F(midaslibrary, WrongHandlesAreRefused) {
  midasoffline::uselockstep(nullptr, nullptr);
  start();
  MIDASmodule m = load();
  ASSERT_NE(m, nullptr);
  int notamodule = 0;
  EXPECT_REFUSED(MIDASplayModule(nullptr, true), MIDAS_BAD_MODULE_HANDLE);
  EXPECT_REFUSED(MIDASplayModule(reinterpret_cast<MIDASmodule>(&notamodule), true), MIDAS_BAD_MODULE_HANDLE);

  const MIDASmodulePlayHandle h = MIDASplayModule(m, true);
  ASSERT_NE(h, 0u);
  EXPECT_REFUSED(MIDASplayModule(m, true), MIDAS_MODULE_PLAYING);  // one play at a time

  MIDASplayStatus s{};
  for (MIDASmodulePlayHandle bad : {0u, h + 1, ~0u}) {
    EXPECT_REFUSED(MIDASsetPosition(bad, 1), MIDAS_BAD_PLAY_HANDLE);
    EXPECT_REFUSED(MIDASgetPlayStatus(bad, &s), MIDAS_BAD_PLAY_HANDLE);
    EXPECT_REFUSED(MIDASstopModule(bad), MIDAS_BAD_PLAY_HANDLE);
  }
  EXPECT_REFUSED(MIDASgetPlayStatus(h, nullptr), MIDAS_BAD_ARGUMENT);
  for (int bad : {-1, 3, 1000}) EXPECT_REFUSED(MIDASsetPosition(h, bad), MIDAS_BAD_POSITION);
  EXPECT_EQ(status(h).position, 0u);  // refused jumps left it alone

  EXPECT_REFUSED(MIDASfreeModule(m), MIDAS_MODULE_PLAYING);  // still playing
  EXPECT_NE(lastmessage().find("song.xm"), std::string::npos) << lastmessage();
  ASSERT_TRUE(MIDASstopModule(h));
  EXPECT_REFUSED(MIDASstopModule(h), MIDAS_BAD_PLAY_HANDLE);  // a stopped play's handle is dead
  EXPECT_REFUSED(MIDASgetPlayStatus(h, &s), MIDAS_BAD_PLAY_HANDLE);

  // The module plays again under a new handle.
  const MIDASmodulePlayHandle again = MIDASplayModule(m, true);
  EXPECT_NE(again, 0u);
  EXPECT_NE(again, h);
  ASSERT_TRUE(MIDASstopModule(again));
  ASSERT_TRUE(MIDASfreeModule(m));
  EXPECT_REFUSED(MIDASfreeModule(m), MIDAS_BAD_MODULE_HANDLE);
}

TEST_F(midaslibrary, CloseFromAnyStateLeavesAFreshLibrary) {
  start();  // live: a device or the silent clock, playing
  MIDASmodule m = load();
  ASSERT_NE(MIDASplayModule(m, true), 0u);
  EXPECT_FALSE(MIDASstopModule(0));  // the show's shutdown when the music never started
  const int code = MIDASgetLastError();
  EXPECT_TRUE(MIDASclose());
  EXPECT_EQ(MIDASgetLastError(), code);  // still there for the error exit's message
  EXPECT_FALSE(MIDASfreeModule(m));
  start();  // and the whole sequence runs again
  const MIDASmodulePlayHandle h = MIDASplayModule(load(), true);
  EXPECT_NE(h, 0u);
  EXPECT_TRUE(MIDASstopModule(h));
}

// ---- sound set-up ----

std::array<uint32_t, 3> initialise() {
  EXPECT_TRUE(MIDASstartup());
  EXPECT_TRUE(MIDASinit());
  const midas::toutputinfo info = midas::outputinfo();
  return {info.device, info.rate, info.bufferframes};
}

TEST_F(midaslibrary, SoundSetupTakesDefaultsAndChoicesForInit) {
  std::string asked;
  ASSERT_TRUE(configure("\n\n\n", &asked));
  EXPECT_NE(asked.find("[48000]"), std::string::npos) << asked;
  EXPECT_NE(asked.find("[10]"), std::string::npos) << asked;
  EXPECT_EQ(std::count(asked.begin(), asked.end(), '\n'), 4) << asked;  // every prompt ends its line
  const std::array<uint32_t, 3> defaults = initialise();
  EXPECT_EQ(defaults[1], 48000u);
  // The buffer is the power of two nearest to the length chosen (480 frames).
  EXPECT_EQ(defaults[2], 512u);
  MIDASclose();
  ASSERT_TRUE(configure(" 2 \n22050\n20"));  // spaces around, no line break at the end
  EXPECT_EQ(initialise(), (std::array<uint32_t, 3>{false, 22050, 512}));  // 441 frames
  MIDASclose();
  ASSERT_TRUE(configure("1\n48000\n100\n"));
  EXPECT_EQ(initialise()[2], 4096u);  // 4800 frames: nearer below
}

TEST_F(midaslibrary, SoundSetupFailsOnEndOfInputOrAWrongAnswer) {
  for (const char* text : {"", "1\n", "1\n44100\n", "3\n\n\n", "x\n\n\n", "-1\n\n\n", "1\n7999\n\n", "1\n99999999999999999999\n\n",
                           "1\n48000\n101\n", "1\n48000\n4\n", "1 2\n\n\n"}) {
    std::string asked;
    EXPECT_REFUSED(configure(text, &asked), MIDAS_CONFIG);
    EXPECT_EQ(asked.back(), '\n') << asked;  // a failure message that follows starts a line
  }
  // A failed set-up changes nothing.
  ASSERT_TRUE(configure("2\n8000\n100\n"));
  EXPECT_FALSE(configure("1\n48000\nx\n"));
  EXPECT_EQ(initialise(), (std::array<uint32_t, 3>{false, 8000, 1024}));  // 800 frames
}

}  // namespace
