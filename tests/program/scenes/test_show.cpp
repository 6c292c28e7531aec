// The show in the offline renderer's frames: a fixed seed and the synthetic
// row clock (64 frames per position at one frame per row), so the frame in
// which each position is first read is known.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/dump.h"
#include "support/process.h"

namespace {

// The pixels of the first `count` frames.
std::vector<std::string> renderframes(uint32_t count) {
  std::vector<std::string> frames;
  for (auto& r : testsupport::renderdump(5, 1, count)) frames.push_back(std::move(r.pixels));
  return frames;
}

size_t countabove(const std::string& f, uint8_t v) {
  size_t n = 0;
  for (char c : f) n += static_cast<uint8_t>(c) > v;
  return n;
}

// Frames 0..128 are scene 1 (128 reads position 3 and is shown), 129 is
// scene 2's cleared set-up frame, 130..191 scene 2 (its last drawn frame is
// not presented), then scene 3 at 640x480.
TEST(OpeningScenes, UntouchedStripsAndWhenLogosAndPicturesShow) {
  const std::vector<std::string> frames = renderframes(193);
  ASSERT_EQ(frames.size(), 193u);
  for (size_t i = 0; i < 192; ++i) {
    const std::string& f = frames[i];
    ASSERT_EQ(f.size(), 64000u) << "frame " << i;
    // Scene 1 writes offset 319, scene 2 does not; neither touches the rest.
    const size_t untouched = i <= 128 ? 319 : 320;
    for (size_t p = 0; p < untouched; ++p) ASSERT_EQ(f[p], 0) << "frame " << i << " offset " << p;
    for (size_t p = 63681; p < 64000; ++p) ASSERT_EQ(f[p], 0) << "frame " << i << " offset " << p;
  }
  EXPECT_EQ(frames[192].size(), 640u * 480);
  // The tunnel's ramp ends at 64; the logos' and pictures' colours lie above.
  EXPECT_EQ(countabove(frames[63], 64), 0u);
  EXPECT_GT(countabove(frames[64], 64), 1000u);
  EXPECT_EQ(countabove(frames[129], 0), 0u);
  EXPECT_GT(countabove(frames[130], 64), 1000u);
}

// Every fast path against its plain reading over whole shows: every scene
// at one frame per row, and the first seven scenes at four (the lens then
// grows through the sizes where its rounding has exact ties), each with a
// seed of its own, and the opening on the module's own timing through the
// scaled display.
TEST(WholeShow, FastPathsGiveThePlainBytes) {
  const std::vector<std::vector<std::string>> runs = {
      {"--seed", "9", "--rows", "1"},
      {"--seed", "23", "--rows", "4", "--frames", "2816"},
      {"--seed", "4", "--frames", "200", "--scaled"},
  };
  for (const auto& args : runs) {
    std::string dumps[2];
    for (int plain = 0; plain < 2; ++plain) {
      std::vector<std::string> a = {"--data", testsupport::datapath("")};
      a.insert(a.end(), args.begin(), args.end());
      const std::string file = testsupport::tempfolder() + (plain ? "/plain.dump" : "/fast.dump");
      a.insert(a.end(), {"--dump", file});
      if (plain) a.push_back("--plain");
      testsupport::toptions o;
      o.killafter = 600;
      const testsupport::trun r = testsupport::runprogram("morvanta-render", a, o);
      ASSERT_EQ(r.exitcode, 0) << r.err;
      dumps[plain] = testsupport::readfile(file);
    }
    EXPECT_GT(dumps[0].size(), 1000000u) << args[1];
    EXPECT_TRUE(dumps[0] == dumps[1]) << "seed " << args[1];
  }
}

}  // namespace
