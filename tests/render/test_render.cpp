// morvanta-render end to end: the dump format, determinism, the synthetic
// row clock's scene changes, the lengths of video and sound, outputs that
// are whole or not there, modules that never let the show end, bad arguments.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "assets/music/xmwriter.h"
#include "support/dump.h"
#include "support/process.h"
#include "support/rgbpng.h"

namespace {

using testsupport::runprogram;
using testsupport::trun;

uint32_t le(const std::string& s, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(s[at + static_cast<size_t>(i)]);
  return v;
}

trun render(const std::vector<std::string>& extra, double termafter = 0) {
  std::vector<std::string> args = {"--data", testsupport::datapath("")};
  args.insert(args.end(), extra.begin(), extra.end());
  testsupport::toptions o;
  o.cwd = testsupport::tempfolder();
  o.termafter = termafter;
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
  const std::string header = "YUV4MPEG2 W640 H480 F60:1 Ip A1:1 C420jpeg XCOLORRANGE=LIMITED\n";
  EXPECT_EQ(video.substr(0, header.size()), header);
  EXPECT_EQ(video.size(), header.size() + 30 * (6 + 640 * 480 * 3 / 2));
  const std::string wav = testsupport::readfile(folder + "/a.wav");
  const uint32_t samples = 30 * 48000 / 60;  // the video's length in sample frames
  ASSERT_EQ(wav.size(), 44 + 4u * samples);
  EXPECT_EQ(wav.substr(0, 4), "RIFF");
  EXPECT_EQ(le(wav, 24, 4), 48000u);
  EXPECT_EQ(le(wav, 40, 4), 4u * samples);
}

// ---- colours of the videos ----

using tcolour = std::array<double, 3>;

tcolour meancolour(const uint8_t* rgb, size_t pixels) {
  tcolour sum = {0, 0, 0};
  for (size_t i = 0; i < pixels; ++i)
    for (int c = 0; c < 3; ++c) sum[c] += rgb[3 * i + c];
  for (double& c : sum) c /= static_cast<double>(pixels);
  return sum;
}

tcolour pngmean(const std::string& path) {
  testsupport::trgbimage png;
  EXPECT_TRUE(testsupport::readrgbpng(path, png)) << path;
  EXPECT_EQ(png.width * png.height, 640u * 480u) << path;
  return meancolour(png.rgb.data(), png.rgb.size() / 3);
}

void expectnear(const tcolour& got, const tcolour& png, double tolerance, const std::string& what) {
  for (int c = 0; c < 3; ++c)
    EXPECT_NEAR(got[c], png[c], tolerance) << what << ", channel " << "RGB"[c];
}

constexpr size_t y4mframe = 6 + 640 * 480 * 3 / 2;  // "FRAME\n" and the planes

// The Y4M holds limited-range BT.601 and says so: every sample within its
// range, black at 16, and the mean colour read back through the limited
// BT.601 matrix is that of the PNG of the same frame (the title picture,
// many colours, at frame 200 with one frame per row).
TEST(Video, Y4mHoldsLimitedRangeBt601OfThePngColours) {
  const std::string folder = testsupport::tempfolder();
  const trun r = render({"--seed", "1", "--rows", "1", "--frames", "201", "--scaled", "--video", folder + "/v.y4m",
                         "--png", folder + "/png", "--every", "200"});
  ASSERT_EQ(r.exitcode, 0) << r.err;
  const std::string video = testsupport::readfile(folder + "/v.y4m");
  const std::string header = "YUV4MPEG2 W640 H480 F60:1 Ip A1:1 C420jpeg XCOLORRANGE=LIMITED\n";
  ASSERT_EQ(video.substr(0, header.size()), header);
  ASSERT_EQ(video.size(), header.size() + 201 * y4mframe);

  size_t outside = 0, black = 0;
  for (size_t f = 0; f < 201; ++f) {
    const auto* planes = reinterpret_cast<const uint8_t*>(video.data() + header.size() + f * y4mframe + 6);
    for (size_t i = 0; i < 640 * 480; ++i) {
      outside += planes[i] < 16 || planes[i] > 235;
      black += planes[i] == 16;
    }
    for (size_t i = 640 * 480; i < y4mframe - 6; ++i) outside += planes[i] < 16 || planes[i] > 240;
  }
  EXPECT_EQ(outside, 0u);
  EXPECT_GT(black, 0u);  // the tunnel's black is 16, not 0

  const auto* planes = reinterpret_cast<const uint8_t*>(video.data() + header.size() + 200 * y4mframe + 6);
  double y = 0, u = 0, v = 0;
  for (size_t i = 0; i < 640 * 480; ++i) y += planes[i];
  for (size_t i = 0; i < 320 * 240; ++i) {
    u += planes[640 * 480 + i];
    v += planes[640 * 480 + 320 * 240 + i];
  }
  y = y / (640 * 480) - 16;
  u = u / (320 * 240) - 128;
  v = v / (320 * 240) - 128;
  const tcolour back = {1.164383 * y + 1.596027 * v, 1.164383 * y - 0.391762 * u - 0.812968 * v, 1.164383 * y + 2.017232 * u};
  expectnear(back, pngmean(folder + "/png/frame000200.png"), 1.0, "Y4M frame 200");
}

// The frames a message says, from "(<bytes> bytes, <frames> frames)"; 0 when none.
uint64_t saidframes(const std::string& text, uint64_t* bytes = nullptr) {
  std::smatch m;
  if (!std::regex_search(text, m, std::regex("\\((\\d+) bytes, (\\d+) frames?\\)"))) return 0;
  if (bytes) *bytes = std::stoull(m[1]);
  return std::stoull(m[2]);
}

// A whole show's Y4M is gigabytes: its size is said before it is written,
// exactly when --frames cuts the show, else from the show's length, which
// must be the frames the show presents (as --bench counts them).
TEST(Video, Y4mSaysItsSizeBeforeWriting) {
  const std::string file = testsupport::tempfolder() + "/v.y4m";
  const trun cut = render({"--seed", "1", "--frames", "30", "--video", file});
  ASSERT_EQ(cut.exitcode, 0) << cut.err;
  uint64_t bytes = 0;
  EXPECT_EQ(saidframes(cut.err, &bytes), 30u) << cut.err;
  EXPECT_EQ(bytes, testsupport::readfile(file).size());

  for (const std::vector<std::string>& timing : {std::vector<std::string>{"--rows", "1"}, std::vector<std::string>{}}) {
    std::vector<std::string> bench = timing;
    bench.push_back("--bench");
    const trun counted = render(bench);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(counted.out, m, std::regex("\\n(\\d+) frames, "))) << counted.out;
    // The size is said at once; the show is stopped early, whatever it wrote.
    std::vector<std::string> video = timing;
    video.insert(video.end(), {"--video", file});
    const trun said = render(video, 1.5);
    const uint64_t frames = saidframes(said.err, &bytes);
    EXPECT_NEAR(static_cast<double>(frames), std::stod(m[1]), 2.0) << said.err;
    EXPECT_EQ(bytes, 63 + frames * y4mframe);
  }
}

std::string shellword(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::string commandoutput(const std::string& command) {
  std::string text;
  if (std::FILE* p = popen(command.c_str(), "r")) {
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) text.append(buf, n);
    pclose(p);
  }
  return text;
}

// --mp4 needs ffmpeg and says so without it. With it, the file is written
// to any path, its stream is tagged as what it holds (limited range, the
// BT.601 matrix, the PNG frames' sRGB primaries and transfer), and a frame
// decoded as a player does shows the PNG's colours.
TEST(Video, Mp4IsTaggedSoPlayersShowThePngColours) {
  const std::string folder = testsupport::tempfolder();
  const std::string file = folder + "/it's a show.mp4";
  const trun r = render({"--seed", "1", "--frames", "61", "--scaled", "--mp4", file, "--png", folder + "/png",
                         "--every", "60"});
  if (std::system("ffmpeg -version >/dev/null 2>&1") != 0) {
    EXPECT_EQ(r.exitcode, 1);
    EXPECT_NE(r.err.find("needs ffmpeg"), std::string::npos) << r.err;
    GTEST_SKIP() << "ffmpeg is not installed (apt-get install ffmpeg): the MP4's colours are not checked";
  }
  ASSERT_EQ(r.exitcode, 0) << r.err;
  const std::string tags = commandoutput("ffprobe -v error -select_streams v -show_entries "
                                         "stream=color_range,color_space,color_primaries,color_transfer -of default=nw=1 " +
                                         shellword(file));
  for (const char* tag : {"color_range=tv", "color_space=smpte170m", "color_primaries=bt709", "color_transfer=iec61966-2-1"})
    EXPECT_NE(tags.find(tag), std::string::npos) << tag << " in\n" << tags;

  // The first scene's yellow tunnel on black: a range read wrongly darkens it by several levels.
  const std::string frame = commandoutput("ffmpeg -v error -i " + shellword(file) +
                                          " -vf 'select=eq(n\\,60)' -frames:v 1 -f rawvideo -pix_fmt rgb24 -");
  ASSERT_EQ(frame.size(), 640u * 480u * 3u);
  expectnear(meancolour(reinterpret_cast<const uint8_t*>(frame.data()), 640 * 480), pngmean(folder + "/png/frame000060.png"),
             2.5, "MP4 frame 60");
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
