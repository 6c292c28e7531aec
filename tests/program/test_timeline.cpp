// The timeline in-process, on a virtual clock and the synthetic row clock:
// a failing status query never ends a scene, and loop mode starts the show
// over at position 1 with scene 1.
#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include <cstdlib>
#include <string>

#include "midas/midas.h"
#include "midas/midasoffline.h"
#include "program/program.h"
#include "program/timeline.h"
#include "support/process.h"
#include "tools/display.h"
#include "tools/pacing.h"
#include "tools/seam.h"
#include "tools/stores.h"

namespace {

uint32_t virtualms = 0;
uint32_t ticks() { return virtualms; }
void delay(uint32_t ms) { virtualms += ms; }

uint64_t presented = 0;
void (*onframe)() = nullptr;
void sink(const uint8_t*, uint16_t, uint16_t, const tarnpal::tpalentry*) {
  ++presented;
  midasoffline::framepresented();
  if (onframe) onframe();
}

// The show's start-up for these tests: stores, a 320x200 dummy display and
// the default module on the synthetic row clock (one frame per row).
void startshow() {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  seam::current.getticks = ticks;
  seam::current.delay = delay;
  seam::current.framesink = sink;
  tools::initmemory();
  midasoffline::usesyntheticrows(1);
  ASSERT_TRUE(MIDASstartup());
  ASSERT_TRUE(MIDASinit());
  ASSERT_TRUE(MIDASstartBackgroundPlay(0));
  program::module = MIDASloadModule(testsupport::datapath("morvanta.xm").c_str());
  ASSERT_NE(program::module, nullptr) << MIDASgetErrorMessage(MIDASgetLastError());
  ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
  tools::fullscreen = false;
  tools::scaled = false;
  tools::openmode(320, 200);
  program::playhandle = MIDASplayModule(program::module, true);
  ASSERT_NE(program::playhandle, 0u);
  tools::frameinit();
}

MIDASmodulePlayHandle goodhandle = 0;
void restoreafter150() {
  if (presented == 150) program::playhandle = goodhandle;
}

TEST(Timeline, AFailingStatusQueryNeverEndsAScene) {
  startshow();
  // Scene 4 ends at position 8; the music starts at 7 and is past 8 after 64
  // frames, but every query fails until frame 150.
  MIDASsetPosition(program::playhandle, 7);
  presented = 0;
  program::playstatus = {};
  goodhandle = program::playhandle;
  program::playhandle = goodhandle + 1000;
  onframe = restoreafter150;
  testing::internal::CaptureStdout();
  program::runscene(*program::scenetable[3]);
  const std::string out = testing::internal::GetCapturedStdout();
  onframe = nullptr;
  EXPECT_EQ(presented, 150u);  // the first successful query ends it
  EXPECT_EQ(program::playstatus.position, 7u + 150u / 64u);
  size_t failures = 0;
  for (size_t at = out.find("getplaystatus fucked up!\n"); at != std::string::npos;
       at = out.find("getplaystatus fucked up!\n", at + 1))
    ++failures;
  EXPECT_EQ(failures, 149u);  // scene 4 queries after each present
}

// In a forked child: exits 3 once scene 1 runs again at position 1 after
// scene 15, 4 if anything else happens first.
int lastscene = 0;
void watchloop() {
  const int scene = program::currentscene;
  if (lastscene == 15 && scene == 1) std::_Exit(program::playstatus.position <= 1 ? 3 : 4);
  if (scene < lastscene) std::_Exit(4);
  lastscene = scene;
}

TEST(Timeline, LoopModeStartsOverAtPositionOne) {
  EXPECT_EXIT(
      {
        startshow();
        program::loopdemo = true;
        onframe = watchloop;
        program::runshow();
      },
      testing::ExitedWithCode(3), "");
}

// Queues a key event as SDL would for a key press or release.
void pushkey(Uint8 type, SDLKey key) {
  SDL_Event e{};
  e.type = type;
  e.key.type = type;
  e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.sym = key;
  SDL_PushEvent(&e);
}

// Other keys and an Escape release at frame 5 do nothing; an Escape press
// at frame 20 ends the show before another frame is presented.
void presskeys() {
  if (presented == 5) {
    pushkey(SDL_KEYDOWN, SDLK_a);
    pushkey(SDL_KEYUP, SDLK_ESCAPE);
    pushkey(SDL_KEYUP, SDLK_a);
  }
  if (presented == 20) pushkey(SDL_KEYDOWN, SDLK_ESCAPE);
  if (presented == 21) std::_Exit(5);
}
// shutdown's last step: a quit before the Escape press is a failure.
void quitonlyafterescape() {
  if (presented != 20) std::_Exit(6);
}

TEST(Timeline, EscapeEndsTheShowWithinOneFrameOtherKeysDoNothing) {
  EXPECT_EXIT(
      {
        startshow();
        presented = 0;
        onframe = presskeys;
        seam::current.finish = quitonlyafterescape;
        program::runshow();
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
