// The live show in a real window on a private X server (Xvfb), on the
// classic SDL 1.2 that the build links and on the SDL-2-based drop-in
// loaded at run time: the same console lines, exit code and picture, and a
// clean end ("Done!", exit code 0) on Escape and on a close request.
//
// Skips, saying why, when Xvfb is missing, or after the classic library's
// runs when the drop-in cannot be fetched (scripts/install-deps brings Xvfb;
// scripts/fetch-sdl12-compat the drop-in).
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "support/dump.h"
#include "support/process.h"
#include "support/xdisplay.h"

namespace {

using testsupport::trun;
using testsupport::twindowimage;
using testsupport::txclient;
using lines = std::vector<std::string>;

// What one run printed, and the window's picture a second into the show.
struct tliverun {
  trun result;
  bool windowseen = false;
  twindowimage picture;
};

// What a shell command printed, without the last line break; false when it failed.
bool output(const std::string& command, std::string& text) {
  text.clear();
  std::FILE* p = popen(command.c_str(), "r");
  if (!p) return false;
  char buf[512];
  while (std::fgets(buf, sizeof buf, p)) text += buf;
  const bool ok = pclose(p) == 0;
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return ok;
}

class desktop : public ::testing::Test {
 protected:
  static inline testsupport::txserver* server = nullptr;
  static inline std::string noserver;   // why there is no X server
  static inline std::string compatpath; // LD_LIBRARY_PATH for the drop-in, or empty
  static inline std::string nocompat;   // why there is none

  static void SetUpTestSuite() {
    server = new testsupport::txserver;
    if (!server->start(noserver)) return;
    std::string said;
    if (output(std::string(FETCH_SDL12_COMPAT) + " " + SDL12_COMPAT_DIR + " 2>&1", said))
      compatpath = said;
    else
      nocompat = "the SDL-2-based SDL 1.2 could not be fetched: " + said;
  }
  static void TearDownTestSuite() {
    delete server;
    server = nullptr;
  }

  // The windowed show with the default data; `act` runs once its window is
  // up and has shown frames for a second.
  static tliverun runlive(const std::string& librarypath, const std::function<void(txclient&)>& act) {
    const std::string folder = testsupport::tempfolder();
    for (const char* f : {"morvanta.dat", "morvanta.xm"})
      EXPECT_TRUE(testsupport::copyfile(testsupport::datapath(f), folder + "/" + f));
    testsupport::toptions o;
    o.cwd = folder;
    // Under the sanitizer build, Xlib, D-Bus and SDL 2 leave a few blocks at
    // exit that are theirs, not the show's (the offline runs check ours).
    o.env = {"DISPLAY=" + server->display(), "SDL_VIDEODRIVER=x11", "LD_LIBRARY_PATH=" + librarypath,
             "ASAN_OPTIONS=detect_leaks=0"};
    o.killafter = 40;
    tliverun run;
    std::thread user([&] {
      txclient x(server->display());
      if (!x.waitforwindow("Morvanta", 30)) return;
      run.windowseen = true;
      std::this_thread::sleep_for(std::chrono::seconds(1));
      x.grab(run.picture);
      act(x);
    });
    run.result = testsupport::runprogram("morvanta", {"w"}, o);
    user.join();
    return run;
  }

  // The SDL 1.2 library the show loads with this library path.
  static std::string loadedsdl(const std::string& librarypath) {
    std::string line;
    output("LD_LIBRARY_PATH='" + librarypath + "' ldd " + testsupport::binpath("morvanta") + " | grep 'libSDL-1.2.so.0'", line);
    return line;
  }
};

const lines expectedlines = {"Morvanta - a demo by Qelm Corporation",
                             "System Parameter - W (windowed mode)",
                             "Initializing Memory...",
                             "Verovo Archive System v3.1 by Dr. Zorbleck",
                             " \u25A0 Init Verovo...",
                             "Loading Pictures...",
                             "Precalculating Tables...",
                             "Initializing Sound System...",
                             "SDL_Init...",
                             "Checking video modes...",
                             "Init Graph...",
                             "Starting Demonstration...",
                             "Done!"};

// The first scene keeps one palette until it fades; the live picture must
// show only its colours (as 8-bit levels, 4 x the 6-bit value), and enough
// of them to be the tunnel rather than a blank or garbled window.
void expectfirstscene(const twindowimage& picture, const std::set<std::array<uint8_t, 3>>& palette,
                      const std::string& library) {
  // Xvfb lists no 320x200 mode: the scaled 640x480 display, on both libraries.
  ASSERT_EQ(picture.width, 640) << library;
  ASSERT_EQ(picture.height, 480) << library;
  std::set<std::array<uint8_t, 3>> seen;
  size_t foreign = 0;
  for (size_t i = 0; i < picture.rgb.size(); i += 3) {
    const std::array<uint8_t, 3> c = {picture.rgb[i], picture.rgb[i + 1], picture.rgb[i + 2]};
    seen.insert(c);
    if (!palette.count(c)) ++foreign;
  }
  EXPECT_EQ(foreign, 0u) << library << ": pixels in colours the first scene does not have";
  EXPECT_GE(seen.size(), 20u) << library << ": too few colours for the tunnel";
}

std::set<std::array<uint8_t, 3>> firstscenepalette() {
  const auto frames = testsupport::renderdump(1, 1, 1);
  std::set<std::array<uint8_t, 3>> colours;
  if (frames.empty()) return colours;
  for (int i = 0; i < 256; ++i) {
    const auto c = frames[0].colour(static_cast<uint8_t>(i));
    colours.insert({static_cast<uint8_t>(c[0] * 4), static_cast<uint8_t>(c[1] * 4), static_cast<uint8_t>(c[2] * 4)});
  }
  return colours;
}

TEST_F(desktop, EscapeAndACloseRequestEndTheShowAlikeOnBothSdlLibraries) {
  if (!noserver.empty()) GTEST_SKIP() << noserver;
  // The drop-in is really what the show loads with its path, and only then.
  EXPECT_EQ(loadedsdl("").find("sdl12-compat"), std::string::npos) << loadedsdl("");
  std::vector<std::pair<std::string, std::string>> libraries = {{"classic SDL 1.2", ""}};
  if (!compatpath.empty()) {
    ASSERT_NE(loadedsdl(compatpath).find(compatpath.substr(0, compatpath.find(':'))), std::string::npos)
        << loadedsdl(compatpath);
    libraries.push_back({"sdl12-compat", compatpath});
  }

  const auto palette = firstscenepalette();
  ASSERT_FALSE(palette.empty());
  const std::vector<std::pair<std::string, std::function<void(txclient&)>>> endings = {
      {"Escape", [](txclient& x) { x.pressescape(); }}, {"close request", [](txclient& x) { x.requestclose(); }}};
  for (const auto& [library, path] : libraries)
    for (const auto& [ending, act] : endings) {
      const tliverun run = runlive(path, act);
      const std::string what = library + ", " + ending;
      ASSERT_TRUE(run.windowseen) << what << ": no window\n" << run.result.out << run.result.err;
      EXPECT_EQ(run.result.exitcode, 0) << what << "\n" << run.result.err;
      EXPECT_EQ(run.result.lines(), expectedlines) << what;
      expectfirstscene(run.picture, palette, what);
    }
  if (!nocompat.empty()) GTEST_SKIP() << nocompat << " (the classic SDL 1.2 passed)";
}

}  // namespace
