// morvanta-render end to end: the dump format, determinism, the synthetic
// row clock's scene changes, the lengths of video and sound, outputs that
// are whole or not there, modules that never let the show end, bad arguments.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/music/xmwriter.h"
#include "support/dump.h"
#include "support/process.h"

namespace {

using testsupport::runprogram;
using testsupport::trun;

uint32_t le(const std::string& s, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(s[at + static_cast<size_t>(i)]);
  return v;
}

trun render(const std::vector<std::string>& extra) {
  std::vector<std::string> args = {"--data", testsupport::datapath("")};
  args.insert(args.end(), extra.begin(), extra.end());
  testsupport::toptions o;
  o.cwd = testsupport::tempfolder();
  return runprogram("morvanta-render", args, o);
}

// The names in a folder, sorted.
std::vector<std::string> names(const std::string& folder) {
  std::vector<std::string> all;
  for (const auto& e : std::filesystem::directory_iterator(folder)) all.push_back(e.path().filename().string());
  std::sort(all.begin(), all.end());
  return all;
}

bool isdevice(const char* path) {
  struct stat st {};
  return stat(path, &st) == 0 && S_ISCHR(st.st_mode);
}

std::vector<testsupport::tframerecord> dumped(const std::vector<std::string>& extra) {
  const std::string file = testsupport::tempfolder() + "/show.dump";
  std::vector<std::string> args = extra;
  args.push_back("--dump");
  args.push_back(file);
  const trun r = render(args);
  EXPECT_EQ(r.exitcode, 0) << r.err;
  EXPECT_EQ(r.lines().back(), "Done!");
  return testsupport::readdump(testsupport::readfile(file));
}

TEST(Dump, HoldsOneRecordPerPresentedFrameWithItsPalette) {
  const auto records = dumped({"--seed", "7", "--rows", "1", "--frames", "5"});
  ASSERT_EQ(records.size(), 5u);
  for (uint32_t i = 0; i < 5; ++i) {
    EXPECT_EQ(records[i].index, i);
    EXPECT_EQ(records[i].width, 320);
    EXPECT_EQ(records[i].height, 200);
    for (size_t k = 0; k < 1024; ++k) {
      const auto b = static_cast<uint8_t>(records[i].palette[k]);
      if (k % 4 == 3)
        EXPECT_EQ(b, 0) << "spare byte of entry " << k / 4;
      else
        EXPECT_EQ(b % 4, 0) << "byte " << k;
    }
  }
  // The opening scene shows the tunnel palette: entry 1 is the ramp's first
  // step, Trunc(1 x 1.48 + 8) = 9 in 6 bits, 36 as stored.
  EXPECT_EQ(static_cast<uint8_t>(records[0].palette[4]), 36);
  EXPECT_EQ(static_cast<uint8_t>(records[0].palette[5]), 36);
  EXPECT_EQ(static_cast<uint8_t>(records[0].palette[6]), 0);
}

TEST(Dump, IsTheSameForTheSameArguments) {
  const std::string a = testsupport::tempfolder() + "/a", b = testsupport::tempfolder() + "/b";
  for (const std::string& f : {a, b}) {
    // The module's own timing, not the synthetic one, and a scaled display.
    const trun r = render({"--seed", "99", "--frames", "240", "--scaled", "--dump", f});
    ASSERT_EQ(r.exitcode, 0) << r.err;
  }
  const std::string first = testsupport::readfile(a);
  EXPECT_EQ(first.size(), 240u * (12 + 640 * 480 + 1024));
  EXPECT_TRUE(first == testsupport::readfile(b));
}

// Which frames the first scenes present with F frames per row: scene 1 ends
// in the frame that reads position 3 (and presents it), scene 2's set-up
// presents once and its last drawn frame (position 4) is not presented,
// scene 3 presents 640x480 frames until a pass reads position 5.
void expectscenechanges(uint32_t f) {
  const uint32_t position = 64 * f;  // frames per position
  const auto records = dumped({"--seed", "3", "--rows", std::to_string(f), "--frames", std::to_string(4 * position + 10)});
  ASSERT_EQ(records.size(), 4 * position + 10);
  for (uint32_t i = 0; i < records.size(); ++i) {
    const bool big = i >= 3 * position && i < 4 * position;
    EXPECT_EQ(records[i].width, big ? 640 : 320) << "frame " << i;
    EXPECT_EQ(records[i].height, big ? 480 : 200) << "frame " << i;
  }
  // Scene 1 fades from row 49 of position 2; each step shows one frame later.
  const uint32_t fadefrom = position + 49 * f;
  auto entry1 = [&](uint32_t frame) { return static_cast<uint8_t>(records[frame].palette[4]); };
  EXPECT_EQ(entry1(fadefrom), 36);
  EXPECT_EQ(entry1(fadefrom + 1), 32);
  EXPECT_EQ(entry1(fadefrom + 2), 28);
}

TEST(RowClock, ScenesChangeAtTheirPositionsWithOneFramePerRow) { expectscenechanges(1); }
TEST(RowClock, ScenesChangeAtTheirPositionsWithThreeFramesPerRow) { expectscenechanges(3); }

TEST(Outputs, VideoAndSoundLastAsLongAsTheFrames) {
  const std::string folder = testsupport::tempfolder();
  const trun r = render({"--seed", "1", "--frames", "30", "--video", folder + "/v.y4m", "--wav", folder + "/a.wav",
                         "--sheet", folder + "/s.png", "--png", folder + "/frames", "--every", "10"});
  ASSERT_EQ(r.exitcode, 0) << r.err;
  // Every output is in place under its own name, nothing is left beside.
  EXPECT_EQ(names(folder), (std::vector<std::string>{"a.wav", "frames", "s.png", "v.y4m"}));
  EXPECT_EQ(names(folder + "/frames"),
            (std::vector<std::string>{"frame000000.png", "frame000010.png", "frame000020.png"}));
  EXPECT_EQ(testsupport::readfile(folder + "/s.png").substr(1, 3), "PNG");
  const std::string video = testsupport::readfile(folder + "/v.y4m");
  const std::string header = "YUV4MPEG2 W640 H480 F60:1 Ip A1:1 C420jpeg\n";
  EXPECT_EQ(video.substr(0, header.size()), header);
  EXPECT_EQ(video.size(), header.size() + 30 * (6 + 640 * 480 * 3 / 2));
  const std::string wav = testsupport::readfile(folder + "/a.wav");
  const uint32_t samples = 30 * 48000 / 60;  // the video's length in sample frames
  ASSERT_EQ(wav.size(), 44 + 4u * samples);
  EXPECT_EQ(wav.substr(0, 4), "RIFF");
  EXPECT_EQ(le(wav, 24, 4), 48000u);
  EXPECT_EQ(le(wav, 40, 4), 4u * samples);
}

// With ffmpeg, --mp4 writes the file, also to a path with quotes and spaces;
// without it, the renderer says so and writes nothing.
TEST(Outputs, Mp4NeedsFfmpegAndTakesAnyPath) {
  const std::string file = testsupport::tempfolder() + "/it's a show.mp4";
  const trun r = render({"--seed", "1", "--frames", "12", "--mp4", file});
  if (std::system("ffmpeg -version >/dev/null 2>&1") == 0) {
    EXPECT_EQ(r.exitcode, 0) << r.err;
    EXPECT_GT(testsupport::readfile(file).size(), 1000u);
  } else {
    EXPECT_EQ(r.exitcode, 1);
    EXPECT_NE(r.err.find("needs ffmpeg"), std::string::npos) << r.err;
  }
}

// /dev/full stands for a full disk. The dump's buffer meets it after some
// frames, when PNG frames are written already: a failed run removes every
// output it began, keeps what was there before and leaves devices alone.
TEST(Outputs, AFailedRunLeavesNoPartialFiles) {
  const std::string folder = testsupport::tempfolder();
  testsupport::writefile(folder + "/v.y4m", "old");
  std::filesystem::create_symlink("/dev/full", folder + "/full.dump");
  const std::vector<std::string> outputs = {"--video", folder + "/v.y4m", "--wav", folder + "/a.wav", "--sheet",
                                            folder + "/s.png", "--png", folder + "/frames/all", "--every", "5"};
  std::vector<std::string> args = {"--seed", "1", "--frames", "60", "--dump", folder + "/full.dump"};
  args.insert(args.end(), outputs.begin(), outputs.end());
  const trun full = render(args);
  EXPECT_EQ(full.exitcode, 1);
  EXPECT_NE(full.err.find("cannot write " + folder + "/full.dump: No space left on device"), std::string::npos)
      << full.err;
  EXPECT_NE(full.err.find("the unfinished outputs are removed"), std::string::npos) << full.err;
  EXPECT_EQ(names(folder), (std::vector<std::string>{"full.dump", "v.y4m"}));
  EXPECT_EQ(testsupport::readfile(folder + "/v.y4m"), "old");
  EXPECT_TRUE(isdevice("/dev/full"));

  // A fatal start-up error after the outputs were begun.
  const std::string broken = testsupport::tempfolder();
  testsupport::writefile(broken + "/morvanta.dat", "not an archive");
  ASSERT_TRUE(testsupport::copyfile(testsupport::datapath("morvanta.xm"), broken + "/morvanta.xm"));
  args = {"--data", broken};
  args.insert(args.end(), outputs.begin(), outputs.end());
  const trun halted = runprogram("morvanta-render", args);
  EXPECT_EQ(halted.exitcode, 1);
  EXPECT_EQ(halted.lines().back(), "System Halted!");
  EXPECT_EQ(names(folder), (std::vector<std::string>{"full.dump", "v.y4m"}));
}

// ---- modules that never let the show end ------------------------------------

// A quick module: 8-row patterns at speed 1 and 250 BPM, 80 ms an order, so
// a whole show lasts two seconds. jumpfrom >= 0: that order plays a pattern
// whose last row jumps to order jumpto.
std::string quickmodule(size_t orders, int jumpfrom = -1, uint8_t jumpto = 0) {
  assets::txmmodule m;
  m.channels = 2;
  m.speed = 1;
  m.bpm = 250;
  m.patterns = {assets::emptypattern(8, 2), assets::emptypattern(8, 2)};
  assets::cell(m.patterns[1], 0, 7) = {0, 0, 0, 0xB, jumpto};
  for (size_t i = 0; i < orders; ++i) m.orders.push_back(static_cast<int>(i) == jumpfrom ? 1 : 0);
  const std::vector<uint8_t> bytes = assets::writexm(m);
  return std::string(bytes.begin(), bytes.end());
}

// A data folder with the default pictures and the given module.
std::string withmodule(const std::string& module) {
  const std::string f = testsupport::tempfolder();
  EXPECT_TRUE(testsupport::copyfile(testsupport::datapath("morvanta.dat"), f + "/morvanta.dat"));
  testsupport::writefile(f + "/morvanta.xm", module);
  return f;
}

TEST(Music, AModuleThatGoesBackBeforeTheEndStopsTheRender) {
  const struct {
    std::string module, waits;
  } cases[] = {
      {quickmodule(3), "scene 1 (radial tunnel) waits for position 3 exactly"},
      {quickmodule(26, 2, 4), "scene 1 (radial tunnel) waits for position 3 exactly"},  // jumps over it
      {quickmodule(20), "after order position 19 while scene 12 (squeezed picture) waits for position 20,"},
  };
  for (const auto& c : cases) {
    const std::string out = testsupport::tempfolder() + "/show.dump";
    testsupport::toptions o;
    o.cwd = testsupport::tempfolder();
    const trun r = runprogram("morvanta-render", {"--data", withmodule(c.module), "--frames", "30000", "--dump", out}, o);
    EXPECT_EQ(r.exitcode, 1) << c.waits;
    EXPECT_NE(r.err.find("the music went back to its start"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(c.waits), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(out));
  }
  // 26 orders played straight through end the show.
  const trun whole = runprogram("morvanta-render", {"--data", withmodule(quickmodule(26))});
  EXPECT_EQ(whole.exitcode, 0) << whole.err;
  EXPECT_EQ(whole.lines().back(), "Done!");
}

TEST(Music, CheckListsWhereEachSceneStartsAndWhetherTheModuleGetsThere) {
  const std::string folder = testsupport::tempfolder();
  testsupport::writefile(folder + "/whole.xm", quickmodule(26));
  testsupport::writefile(folder + "/short.xm", quickmodule(20));
  const trun whole = runprogram("morvanta-render", {"--check-music", folder + "/whole.xm"});
  EXPECT_EQ(whole.exitcode, 0) << whole.err;
  const std::vector<std::string> lines = whole.lines();
  ASSERT_EQ(lines.size(), 17u) << whole.out;
  EXPECT_NE(lines[2].find("scene 2 (rotating tunnel) starts     at position  3 exactly  reached at 0:00.1"),
            std::string::npos) << lines[2];
  EXPECT_NE(lines[16].find("the show ends                        at position 25 exactly  reached at 0:0"),
            std::string::npos) << lines[16];

  const trun cut = runprogram("morvanta-render", {"--check-music", folder + "/short.xm"});
  EXPECT_EQ(cut.exitcode, 1);
  const std::vector<std::string> got = cut.lines();
  ASSERT_GE(got.size(), 18u) << cut.out;
  for (size_t i = 1; i <= 16; ++i)
    EXPECT_EQ(got[i].find("not reached") != std::string::npos, i >= 13) << got[i];
  EXPECT_NE(got[17].find("scene 12 (squeezed picture) waits for position 20"), std::string::npos) << got[17];
}

TEST(Arguments, BadOnesEndWithAMessageAndNonZero) {
  const std::vector<std::vector<std::string>> bad = {
      {"--nonsense"}, {"--seed", "x"}, {"--frames", "0"}, {"--rows"}, {"--every", "-3"}, {"--bench", "--dump", "x"}};
  for (const auto& args : bad) {
    const trun r = render(args);
    EXPECT_EQ(r.exitcode, 2) << args[0];
    EXPECT_NE(r.err.find("morvanta-render: "), std::string::npos) << args[0];
  }
  const trun nodata = runprogram("morvanta-render", {"--data", testsupport::tempfolder(), "--frames", "1"});
  EXPECT_EQ(nodata.exitcode, 1);
  EXPECT_NE(nodata.err.find("morvanta.dat"), std::string::npos) << nodata.err;
  // Data files that are not files are unreadable ones, refused at once.
  const std::string pipes = testsupport::tempfolder();
  ASSERT_EQ(mkfifo((pipes + "/morvanta.dat").c_str(), 0644), 0);
  testsupport::toptions o;
  o.killafter = 20;
  const trun pipe = runprogram("morvanta-render", {"--data", pipes, "--frames", "1"}, o);
  EXPECT_EQ(pipe.exitcode, 1);
  EXPECT_NE(pipe.err.find("cannot read " + pipes + "/morvanta.dat"), std::string::npos) << pipe.err;
  const trun unwritable = render({"--frames", "1", "--dump", "/nonexistent-folder/x.dump"});
  EXPECT_EQ(unwritable.exitcode, 1);
  EXPECT_NE(unwritable.err.find("/nonexistent-folder/x.dump"), std::string::npos) << unwritable.err;
}

}  // namespace
