// The calls' order, their handles and errors, and the sound set-up.
#include "midas/midastest.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Every call before MIDASstartup, every one that needs MIDASinit or
// background play before it, and every repeat fails with an error.
TEST_F(midaslibrary, CallsOutOfOrderFail) {
  MIDASplayStatus s{};
  int dummy = 0;
  const auto module = reinterpret_cast<MIDASmodule>(&dummy);
  EXPECT_FALSE(MIDASclose());
  EXPECT_EQ(MIDASgetLastError(), MIDAS_NOT_STARTED);
  EXPECT_FALSE(MIDASinit());
  EXPECT_EQ(MIDASgetLastError(), MIDAS_NOT_STARTED);
  EXPECT_FALSE(MIDASstartBackgroundPlay(0));
  EXPECT_EQ(MIDASloadModule("x.xm"), nullptr);
  EXPECT_EQ(MIDASplayModule(module, true), 0u);
  EXPECT_FALSE(MIDASsetPosition(1, 1));
  EXPECT_FALSE(MIDASgetPlayStatus(1, &s));
  EXPECT_FALSE(MIDASstopModule(1));
  EXPECT_FALSE(MIDASfreeModule(module));
  EXPECT_FALSE(MIDASstopBackgroundPlay());
  EXPECT_EQ(MIDASgetLastError(), MIDAS_NOT_STARTED);

  ASSERT_TRUE(MIDASstartup());
  EXPECT_TRUE(MIDASstartup());  // again: harmless
  EXPECT_FALSE(MIDASstartBackgroundPlay(0));
  EXPECT_EQ(MIDASgetLastError(), MIDAS_NOT_INITIALISED);
  EXPECT_EQ(MIDASloadModule("x.xm"), nullptr);
  EXPECT_EQ(MIDASgetLastError(), MIDAS_NOT_INITIALISED);
  EXPECT_FALSE(MIDASstopModule(1));
  EXPECT_EQ(MIDASgetLastError(), MIDAS_NOT_INITIALISED);
  EXPECT_TRUE(MIDASclose());  // started, so there is something to close
  EXPECT_FALSE(MIDASclose());

  midasoffline::uselockstep(nullptr, nullptr);
  ASSERT_TRUE(MIDASstartup());
  ASSERT_TRUE(MIDASinit());
  EXPECT_FALSE(MIDASinit());
  EXPECT_EQ(MIDASgetLastError(), MIDAS_ALREADY_INITIALISED);
  EXPECT_FALSE(MIDASstartup());
  MIDASmodule m = load(xmwriter::tsong{});
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(MIDASplayModule(m, true), 0u);  // no background play yet
  EXPECT_EQ(MIDASgetLastError(), MIDAS_BACKGROUND_STATE);
  EXPECT_FALSE(MIDASstopBackgroundPlay());
  ASSERT_TRUE(MIDASstartBackgroundPlay(0));
  EXPECT_FALSE(MIDASstartBackgroundPlay(0));
  EXPECT_EQ(MIDASgetLastError(), MIDAS_BACKGROUND_STATE);
}

TEST_F(midaslibrary, WrongHandlesAreRefused) {
  midasoffline::uselockstep(nullptr, nullptr);
  start();
  MIDASmodule m = load(xmwriter::tsong{});
  ASSERT_NE(m, nullptr);
  int notamodule = 0;
  EXPECT_EQ(MIDASplayModule(nullptr, true), 0u);
  EXPECT_EQ(MIDASgetLastError(), MIDAS_BAD_MODULE_HANDLE);
  EXPECT_EQ(MIDASplayModule(reinterpret_cast<MIDASmodule>(&notamodule), true), 0u);
  EXPECT_EQ(MIDASgetLastError(), MIDAS_BAD_MODULE_HANDLE);

  const MIDASmodulePlayHandle h = MIDASplayModule(m, true);
  ASSERT_NE(h, 0u);
  EXPECT_EQ(MIDASplayModule(m, true), 0u);  // one play at a time
  EXPECT_EQ(MIDASgetLastError(), MIDAS_MODULE_PLAYING);

  MIDASplayStatus s{};
  for (MIDASmodulePlayHandle bad : {0u, h + 1, ~0u}) {
    EXPECT_FALSE(MIDASsetPosition(bad, 1));
    EXPECT_EQ(MIDASgetLastError(), MIDAS_BAD_PLAY_HANDLE);
    EXPECT_FALSE(MIDASgetPlayStatus(bad, &s));
    EXPECT_FALSE(MIDASstopModule(bad));
    EXPECT_EQ(MIDASgetLastError(), MIDAS_BAD_PLAY_HANDLE);
  }
  EXPECT_FALSE(MIDASgetPlayStatus(h, nullptr));
  EXPECT_EQ(MIDASgetLastError(), MIDAS_BAD_ARGUMENT);
  for (int bad : {-1, 3, 1000}) {
    EXPECT_FALSE(MIDASsetPosition(h, bad));
    EXPECT_EQ(MIDASgetLastError(), MIDAS_BAD_POSITION);
  }
  EXPECT_EQ(status(h).position, 0u);  // refused jumps left it alone

  EXPECT_FALSE(MIDASfreeModule(m));  // still playing
  EXPECT_EQ(MIDASgetLastError(), MIDAS_MODULE_PLAYING);
  EXPECT_NE(lastmessage().find("song.xm"), std::string::npos) << lastmessage();
  ASSERT_TRUE(MIDASstopModule(h));
  EXPECT_FALSE(MIDASstopModule(h));  // a stopped play's handle is dead
  EXPECT_FALSE(MIDASgetPlayStatus(h, &s));
  EXPECT_EQ(MIDASgetLastError(), MIDAS_BAD_PLAY_HANDLE);

  // The module plays again under a new handle, from the start.
  const MIDASmodulePlayHandle again = MIDASplayModule(m, true);
  EXPECT_NE(again, 0u);
  EXPECT_NE(again, h);
  ASSERT_TRUE(MIDASstopModule(again));
  ASSERT_TRUE(MIDASfreeModule(m));
  EXPECT_FALSE(MIDASfreeModule(m));
  EXPECT_EQ(MIDASgetLastError(), MIDAS_BAD_MODULE_HANDLE);
}

TEST_F(midaslibrary, CloseFromAnyStateLeavesAFreshLibrary) {
  start();  // live: a device or the silent clock, playing
  MIDASmodule m = load(xmwriter::tsong{});
  ASSERT_NE(MIDASplayModule(m, true), 0u);
  EXPECT_FALSE(MIDASstopModule(0));  // the show's shutdown when the music never started
  const int code = MIDASgetLastError();
  EXPECT_TRUE(MIDASclose());
  EXPECT_EQ(MIDASgetLastError(), code);  // still there for the error exit's message
  EXPECT_FALSE(MIDASfreeModule(m));
  start();  // and the whole sequence runs again
  const MIDASmodulePlayHandle h = MIDASplayModule(load(xmwriter::tsong{}), true);
  EXPECT_NE(h, 0u);
  EXPECT_TRUE(MIDASstopModule(h));
}

// ---- sound set-up ----

class midassoundsetup : public midaslibrary {
 protected:
  std::string asked;

  bool answer(const char* text) {
    std::FILE* in = fmemopen(const_cast<char*>(text), std::strlen(text), "r");
    if (std::strlen(text) == 0) in = std::tmpfile();  // fmemopen wants a size
    std::FILE* out = std::tmpfile();
    const bool ok = midas::configure(in, out);
    std::rewind(out);
    char line[256];
    asked.clear();
    while (std::fgets(line, sizeof line, out)) asked += line;
    std::fclose(in);
    std::fclose(out);
    return ok;
  }

  static midas::toutputinfo initialise() {
    EXPECT_TRUE(MIDASstartup());
    EXPECT_TRUE(MIDASinit());
    return midas::outputinfo();
  }
};

TEST_F(midassoundsetup, EnterTakesTheDefaults) {
  ASSERT_TRUE(answer("\n\n\n"));
  EXPECT_NE(asked.find("[48000]"), std::string::npos) << asked;
  EXPECT_NE(asked.find("[10]"), std::string::npos) << asked;
  EXPECT_EQ(std::count(asked.begin(), asked.end(), '\n'), 4) << asked;  // every prompt ends its line
  const midas::toutputinfo info = initialise();
  EXPECT_EQ(info.rate, 48000u);
  EXPECT_EQ(info.bufferframes, 480u);
}

TEST_F(midassoundsetup, ChoicesHoldForInit) {
  ASSERT_TRUE(answer(" 2 \n22050\n20"));  // spaces around, no line break at the end
  const midas::toutputinfo info = initialise();
  EXPECT_FALSE(info.device);
  EXPECT_EQ(info.rate, 22050u);
  EXPECT_EQ(info.bufferframes, 441u);
  // The silent output still plays: background play and a module run.
  ASSERT_TRUE(MIDASstartBackgroundPlay(0));
  EXPECT_NE(MIDASplayModule(load(xmwriter::tsong{}), true), 0u);
}

TEST_F(midassoundsetup, EndOfInputOrAWrongAnswerFails) {
  const char* cases[] = {"", "1\n", "1\n44100\n", "3\n\n\n", "x\n\n\n", "-1\n\n\n", "1\n7999\n\n", "1\n99999999999999999999\n\n",
                         "1\n48000\n101\n", "1\n48000\n4\n", "1 2\n\n\n"};
  for (const char* text : cases) {
    EXPECT_FALSE(answer(text)) << '"' << text << '"';
    EXPECT_EQ(MIDASgetLastError(), MIDAS_CONFIG) << '"' << text << '"';
    EXPECT_EQ(asked.back(), '\n') << asked;  // a failure message that follows starts a line
  }
  // A failed set-up changes nothing.
  ASSERT_TRUE(answer("2\n8000\n100\n"));
  EXPECT_FALSE(answer("1\n48000\nx\n"));
  const midas::toutputinfo info = initialise();
  EXPECT_FALSE(info.device);
  EXPECT_EQ(info.rate, 8000u);
  EXPECT_EQ(info.bufferframes, 800u);
}

TEST_F(midassoundsetup, OnlyBeforeInit) {
  initialise();
  EXPECT_FALSE(answer("\n\n\n"));
  EXPECT_EQ(MIDASgetLastError(), MIDAS_ALREADY_INITIALISED);
}

}  // namespace
