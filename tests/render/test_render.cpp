// morvanta-render end to end: the dump format, determinism, the synthetic
// row clock's scene changes, the lengths of video and sound, bad arguments.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

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
  const trun r = render({"--seed", "1", "--frames", "30", "--video", folder + "/v.y4m", "--wav", folder + "/a.wav"});
  ASSERT_EQ(r.exitcode, 0) << r.err;
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
  const trun unwritable = render({"--frames", "1", "--dump", "/nonexistent-folder/x.dump"});
  EXPECT_EQ(unwritable.exitcode, 1);
  EXPECT_NE(unwritable.err.find("/nonexistent-folder/x.dump"), std::string::npos) << unwritable.err;
}

}  // namespace
