// The opening scenes in the offline renderer's frames: a fixed seed and the
// synthetic row clock (64 frames per position at one frame per row), so the
// frame in which each position is first read is known.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/process.h"

namespace {

struct tframe {
  uint16_t width = 0, height = 0;
  std::string pixels;
  uint8_t at(size_t offset) const { return static_cast<uint8_t>(pixels[offset]); }
};

// The frames of a dump: "MVF1", index, width, height, pixels, 1,024 palette bytes.
std::vector<tframe> renderframes(uint32_t count) {
  const std::string file = testsupport::tempfolder() + "/show.dump";
  testsupport::toptions o;
  o.cwd = testsupport::tempfolder();
  const testsupport::trun r =
      testsupport::runprogram("morvanta-render", {"--data", testsupport::datapath(""), "--seed", "5", "--rows", "1",
                                                  "--frames", std::to_string(count), "--dump", file}, o);
  EXPECT_EQ(r.exitcode, 0) << r.err;
  const std::string bytes = testsupport::readfile(file);
  std::vector<tframe> frames;
  for (size_t at = 0; at + 12 <= bytes.size();) {
    tframe f;
    f.width = static_cast<uint16_t>(static_cast<uint8_t>(bytes[at + 8]) | static_cast<uint8_t>(bytes[at + 9]) << 8);
    f.height = static_cast<uint16_t>(static_cast<uint8_t>(bytes[at + 10]) | static_cast<uint8_t>(bytes[at + 11]) << 8);
    const size_t n = static_cast<size_t>(f.width) * f.height;
    f.pixels = bytes.substr(at + 12, n);
    frames.push_back(f);
    at += 12 + n + 1024;
  }
  return frames;
}

size_t countabove(const tframe& f, uint8_t v) {
  size_t n = 0;
  for (char c : f.pixels) n += static_cast<uint8_t>(c) > v;
  return n;
}

// Frames 0..128 are scene 1 (128 reads position 3 and is shown), 129 is
// scene 2's cleared set-up frame, 130..191 scene 2, then scene 3 at 640x480.
TEST(OpeningScenes, LogosStripsAndStarsFrameByFrame) {
  const std::vector<tframe> frames = renderframes(200);
  ASSERT_EQ(frames.size(), 200u);
  for (size_t i = 0; i < 192; ++i) {
    const tframe& f = frames[i];
    ASSERT_EQ(f.pixels.size(), 64000u) << "frame " << i;
    // Scene 1 writes offset 319, scene 2 does not; neither touches the rest.
    const size_t untouched = i <= 128 ? 319 : 320;
    for (size_t p = 0; p < untouched; ++p) ASSERT_EQ(f.at(p), 0) << "frame " << i << " offset " << p;
    for (size_t p = 63681; p < 64000; ++p) ASSERT_EQ(f.at(p), 0) << "frame " << i << " offset " << p;
  }
  // The tunnel's ramp ends at 64; the logos' and pictures' colours lie above.
  EXPECT_EQ(countabove(frames[63], 64), 0u);
  EXPECT_GT(countabove(frames[64], 64), 1000u);
  EXPECT_EQ(countabove(frames[129], 0), 0u);
  EXPECT_GT(countabove(frames[130], 64), 1000u);
  // Scene 3: the picture comes back under every frame's stars, so two
  // frames differ only where one of them shows a star (255 centre, 245 arms).
  for (size_t i = 192; i < 199; ++i) {
    ASSERT_EQ(frames[i].pixels.size(), 640u * 480) << "frame " << i;
    size_t stars = 0;
    for (size_t p = 0; p < 640 * 480; ++p) {
      const uint8_t a = frames[i].at(p), b = frames[i + 1].at(p);
      if (a == b) continue;
      ++stars;
      ASSERT_TRUE(a == 255 || a == 245 || b == 255 || b == 245) << "frame " << i << " offset " << p;
    }
    EXPECT_GT(stars, 0u);
  }
}

}  // namespace
