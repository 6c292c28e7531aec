// startup: the start-up sequence, the options and shutdown.
//
// Console lines come in a fixed order; every fatal problem on the way is one
// "Critical Error : " line, "System Halted!" and exit code 1, except the
// music library's, which end through its error exit with code 0.
#include <SDL/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "loadimx/loadimx.h"
#include "program/program.h"
#include "tables/tables.h"
#include "tools/display.h"
#include "tools/halt.h"
#include "tools/pacing.h"
#include "tools/seam.h"
#include "tools/stores.h"
#include "verovo/verovo.h"

namespace program {

char params[6] = {};
bool loopdemo = false;
MIDASmodule module = nullptr;
MIDASmodulePlayHandle playhandle = 0;
MIDASplayStatus playstatus = {};
SDL_Event event = {};

namespace {

const char* const archivefile = "morvanta.dat";

void say(const char* line) {
  std::printf("%s\n", line);
  if (seam::current.milestone) seam::current.milestone(line);
}

bool given(char option) {
  for (char p : params)
    if (p == option) return true;
  return false;
}

char upcase(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Options: the first character of each of up to six arguments, tested in the
// fixed order M, L, W, ? so they can be given in any order or as words.
void readoptions(int argc, char** argv) {
  if (argc < 2) return;
  for (int i = 1; i < argc && i <= 6; ++i) params[i - 1] = upcase(argv[i][0]);
  if (given('M')) {
    say("System Parameter - M (manual audio setup)");
    if (!MIDASconfig()) {
      say("MIDAS config failed!");
      std::exit(0);
    }
  }
  if (given('L')) {
    say("System Parameter - L (loop mode)");
    loopdemo = true;
  }
  if (given('W')) {
    say("System Parameter - W (windowed mode)");
    tools::fullscreen = false;
  }
  if (given('?')) {
    say("System Parameter - ? (interactive help)");
    say("start the demo with this parameters");
    say(" M - for Manual Audio Setup");
    say(" L - for Loop the Demo");
    say(" W - for Windowed Mode");
    say(" S - scale 640x480 picture to 320x200");
    say(" ? - for Interactive Help");
    std::exit(0);
  }
}

void openthearchive() {
  say("Verovo Archive System v3.1 by Dr. Zorbleck");
  // The small square, written in UTF-8 for today's consoles.
  say(" \u25A0 Init Verovo...");
  verovo::openarchive(archivefile);
  switch (verovo::archivestatus) {
    case 0:
      return;
    case 1:
      tools::criticalerror("File morvanta.dat does not exist!");
    default:
      tools::criticalerror("morvanta.dat is a corrupt file");
  }
}

void loadpictures() {
  say("Loading Pictures...");
  for (const tools::tpicture& p : tools::pictures) {
    const loadimx::tloadresult result = loadimx::loadim(p.entry, *p.bitmap, *p.palette, p.storesize);
    if (result != loadimx::tloadresult::ok) tools::criticalerror(loadimx::loadimmessage(result, p.entry));
  }
}

void startsound() {
  say("Initializing Sound System...");
  MIDASstartup();
  if (!MIDASinit()) tools::midaserror();
  // The show then runs on the library's silent clock; say so once, on
  // standard error, which holds none of the show's own lines.
  const midas::toutputinfo output = midas::outputinfo();
  if (output.wanted && !output.device)
    std::fprintf(stderr, "No sound device found (%s): the show runs silent\n",
                 output.nodevice.empty() ? "no reason given" : output.nodevice.c_str());
  if (!MIDASstartBackgroundPlay(0)) tools::midaserror();
  module = MIDASloadModule("morvanta.xm");
  if (module == nullptr) tools::midaserror();
}

void startvideo() {
  say("SDL_Init...");
  if (SDL_Init(SDL_INIT_VIDEO) == -1) tools::criticalerror(std::string("Could not init SDL. ") + SDL_GetError());
  // One event is taken per frame and SDL 1.2's queue drops new events when
  // full: mouse motion could crowd out the Escape key.
  SDL_EventState(SDL_MOUSEMOTION, SDL_IGNORE);

  say("Checking video modes...");
  // Full-screen flags even when windowed: the list decides scaling.
  SDL_Rect** modes = SDL_ListModes(nullptr, SDL_FULLSCREEN | SDL_HWPALETTE);
  if (modes == nullptr) tools::criticalerror(std::string("No graph mode found. ") + SDL_GetError());
  if (modes == reinterpret_cast<SDL_Rect**>(-1)) {
    // Every size is allowed, 320x200 too.
    say("modes = PPSDL_Rect(-1)");
    tools::scaled = false;
  } else {
    for (int i = 0; modes[i] != nullptr; ++i)
      if (modes[i]->w == 320 && modes[i]->h == 200) {
        tools::scaled = false;
        break;
      }
  }
  if (seam::current.forcescaled) tools::scaled = *seam::current.forcescaled;

  say("Init Graph...");
  if (!tools::fullscreen) SDL_WM_SetCaption("Morvanta", "Morvanta");
  if (tools::scaled)
    tools::openmode(640, 480);
  else
    tools::openmode(320, 200);
}

}  // namespace

void startup(int argc, char** argv) {
  // Console lines appear as they are printed, also through a pipe.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  say("Morvanta - a demo by Qelm Corporation");
  readoptions(argc, argv);

  say("Initializing Memory...");
  tools::initmemory();

  openthearchive();
  loadpictures();

  say("Precalculating Tables...");
  tables::buildtables();

  startsound();
  startvideo();

  say("Starting Demonstration...");
  playhandle = MIDASplayModule(module, true);
  if (playhandle == 0) tools::midaserror();

  tools::frameinit();
  SDL_ShowCursor(0);
  runshow();
}

void shutdown() {
  if (!MIDASstopModule(playhandle)) tools::midaserror();
  if (!MIDASfreeModule(module)) tools::midaserror();
  if (!MIDASstopBackgroundPlay()) tools::midaserror();
  if (!MIDASclose()) tools::midaserror();
  SDL_Quit();
  say("Done!");
  if (seam::current.finish) seam::current.finish();
  std::exit(0);
}

}  // namespace program
