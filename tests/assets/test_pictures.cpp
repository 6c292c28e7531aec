// The fourteen default pictures: what the show's start-up and scenes rely
// on (sizes, colour ranges, transparent colours, masks, palettes).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>

#include "assets/assets.h"

namespace assets {
namespace {

const std::vector<tartwork>& pictures() {
  static const std::vector<tartwork> all = drawpictures();
  return all;
}

const tartwork& picture(const std::string& stem) {
  for (const tartwork& a : pictures())
    if (a.stem == stem) return a;
  ADD_FAILURE() << "no picture " << stem;
  return pictures().front();
}

uint8_t pixel(const tartwork& a, int32_t x, int32_t y) { return a.pixels[static_cast<size_t>(y) * a.width + x]; }

int32_t brightness(const tarnpal::tpalentry& e) { return e.red + e.green + e.blue; }

struct tcontract {
  const char* stem;
  uint16_t width, height;
  uint8_t mincolors;    // colors at least this
  uint8_t lowest;       // smallest pixel value allowed
  uint8_t highest;      // largest pixel value allowed
  int32_t background;   // transparent colour, -1 for none
  uint8_t variety;      // distinct values at least (masks have two)
};

const tcontract contracts[] = {
    {"teil", 256, 254, 37, 1, 37, -1, 8},       {"qelm1", 100, 30, 51, 1, 51, 4, 8},
    {"proudly", 100, 30, 16, 1, 16, 15, 6},     {"presents", 100, 30, 16, 1, 16, 15, 6},
    {"corporat", 100, 30, 70, 1, 70, 53, 8},    {"morvpic", 640, 480, 255, 0, 255, -1, 64},
    {"geoboard", 320, 200, 12, 1, 12, -1, 10},   {"scroll1", 320, 1000, 20, 0, 20, -1, 16},
    {"text", 320, 200, 185, 1, 185, 116, 32},    {"eye1", 320, 200, 239, 1, 239, -1, 64},
    {"eye2", 320, 200, 1, 0, 255, -1, 2},       {"morvdat", 640, 480, 4, 0, 255, -1, 2},
    {"counter", 200, 30, 5, 1, 5, 5, 5},        {"scroll2", 320, 200, 1, 0, 255, -1, 32},
};

TEST(Pictures, ComeInLoadingOrderWithTheirSizesAndColourRanges) {
  ASSERT_EQ(pictures().size(), 14u);
  for (size_t i = 0; i < 14; ++i) {
    const tcontract& c = contracts[i];
    const tartwork& a = pictures()[i];
    SCOPED_TRACE(c.stem);
    EXPECT_EQ(a.stem, c.stem);
    EXPECT_EQ(a.width, c.width);
    EXPECT_EQ(a.height, c.height);
    ASSERT_EQ(a.pixels.size(), static_cast<size_t>(c.width) * c.height);
    EXPECT_GE(a.colors, c.mincolors);
    uint8_t lo = *std::min_element(a.pixels.begin(), a.pixels.end());
    uint8_t hi = *std::max_element(a.pixels.begin(), a.pixels.end());
    EXPECT_GE(lo, c.lowest);
    EXPECT_LE(hi, c.highest);
    EXPECT_LE(hi, a.colors) << "a pixel uses a colour the picture does not bring";
    // Entry 0 is black in every stored palette.
    EXPECT_EQ(brightness(a.palette.entry[0]), 0);
    // Shading needs its colours: a picture is more than a few flat ones.
    std::set<uint8_t> used(a.pixels.begin(), a.pixels.end());
    EXPECT_GE(used.size(), c.variety) << "too few colours used";
  }
}

TEST(Pictures, WordsAndDigitsLieOnTheirTransparentColour) {
  for (const tcontract& c : contracts) {
    if (c.background < 0) continue;
    SCOPED_TRACE(c.stem);
    const tartwork& a = picture(c.stem);
    size_t clear = std::count(a.pixels.begin(), a.pixels.end(), static_cast<uint8_t>(c.background));
    double share = static_cast<double>(clear) / a.pixels.size();
    // Enough ink to read, enough clear ground to see the scene through.
    EXPECT_GT(share, 0.2);
    EXPECT_LT(share, 0.9);
    // The corners are clear, so a stretched word shows no box round it.
    EXPECT_EQ(pixel(a, 0, 0), c.background);
    EXPECT_EQ(pixel(a, a.width - 1, a.height - 1), c.background);
  }
}

TEST(Teil, BrightensStepByStepAndTilesBothWays) {
  const tartwork& a = picture("teil");
  for (int32_t i = 2; i <= 37; ++i)
    EXPECT_GT(brightness(a.palette.entry[i]), brightness(a.palette.entry[i - 1])) << "entry " << i;
  // The tunnels subtract up to 25 and more: the texture needs its darks
  // and its brights.
  uint8_t lo = *std::min_element(a.pixels.begin(), a.pixels.end());
  uint8_t hi = *std::max_element(a.pixels.begin(), a.pixels.end());
  EXPECT_LE(lo, 6);
  EXPECT_GE(hi, 32);
  // Seams: the step across each wrap is no larger than a typical step
  // between neighbours inside.
  double inside = 0, across = 0, down = 0;
  int32_t n = 0;
  for (int32_t y = 0; y < 254; ++y)
    for (int32_t x = 0; x < 255; ++x, ++n) inside += std::abs(pixel(a, x + 1, y) - pixel(a, x, y));
  inside /= n;
  for (int32_t y = 0; y < 254; ++y) across += std::abs(pixel(a, 0, y) - pixel(a, 255, y));
  for (int32_t x = 0; x < 256; ++x) down += std::abs(pixel(a, x, 0) - pixel(a, x, 253));
  EXPECT_LE(across / 254, inside * 1.6 + 0.5);
  EXPECT_LE(down / 256, inside * 1.6 + 0.5);
}

TEST(Title, StarsShowBrightOnDarkFacesInsideTheMask) {
  const tartwork& pic = picture("morvpic");
  const tartwork& mask = picture("morvdat");
  for (int32_t e : {245, 255}) {
    EXPECT_GE(pic.palette.entry[e].red, 48) << e;
    EXPECT_GE(pic.palette.entry[e].green, 48) << e;
    EXPECT_GE(pic.palette.entry[e].blue, 48) << e;
  }
  size_t inside = 0;
  double under = 0;
  int32_t top = 480, bottom = 0, left = 640, right = 0;
  for (int32_t y = 0; y < 480; ++y)
    for (int32_t x = 0; x < 640; ++x) {
      uint8_t m = pixel(mask, x, y);
      EXPECT_TRUE(m == 0 || m > 3) << x << "," << y;
      if (m <= 3) continue;
      ++inside;
      under += brightness(pic.palette.entry[pixel(pic, x, y)]);
      top = std::min(top, y), bottom = std::max(bottom, y), left = std::min(left, x), right = std::max(right, x);
    }
  // Stars fly in a real area, well inside the picture, over dark glass.
  EXPECT_GT(inside, 640u * 480u / 50u);
  EXPECT_LT(inside, 640u * 480u / 3u);
  EXPECT_GT(top, 2);
  EXPECT_LT(bottom, 477);
  EXPECT_GT(left, 2);
  EXPECT_LT(right, 637);
  EXPECT_LT(under / inside, brightness(pic.palette.entry[255]) / 3.0);
}

TEST(Eye, LensMaskCoversTheIrisAndNothingFarFromIt) {
  const tartwork& eye = picture("eye1");
  const tartwork& mask = picture("eye2");
  size_t lens = 0;
  for (int32_t y = 0; y < 200; ++y)
    for (int32_t x = 0; x < 320; ++x) {
      float d = std::hypot(x - 154.0f, y - 118.0f);
      if (pixel(mask, x, y) == 1) {
        ++lens;
        EXPECT_LE(d, 80.0f) << x << "," << y;
      }
      // Pupil and inner iris are always inside the lens.
      if (d < 40.0f) {
        EXPECT_EQ(pixel(mask, x, y), 1) << x << "," << y;
      }
    }
  EXPECT_GT(lens, 10000u);
  // The pupil is dark, the white of the eye bright.
  EXPECT_LT(brightness(eye.palette.entry[pixel(eye, 154, 118)]), 20);
  EXPECT_GT(brightness(eye.palette.entry[pixel(eye, 250, 118)]), 100);
}

TEST(Scrollers, PalettesLeaveRoomForTheShowsAdjustments) {
  const tartwork& s1 = picture("scroll1");
  for (int32_t i = 1; i <= 20; ++i) {
    const auto& e = s1.palette.entry[i];
    EXPECT_LE(e.blue, 31) << i;  // doubled at start-up
    EXPECT_LE(std::max({e.red, e.green, e.blue}), 60) << i;  // raised by 3
  }
  // The picture repeats top to bottom: the last row leads into the first.
  double inside = 0, seam = 0;
  for (int32_t x = 0; x < 320; ++x) {
    seam += std::abs(pixel(s1, x, 0) - pixel(s1, x, 999));
    for (int32_t y = 1; y < 1000; ++y) inside += std::abs(pixel(s1, x, y) - pixel(s1, x, y - 1));
  }
  EXPECT_LE(seam / 320, inside / (320.0 * 999) * 1.6 + 0.5);

  // scroll2 is read as grey levels: every colour it uses must be a grey.
  const tartwork& s2 = picture("scroll2");
  std::set<uint8_t> levels;
  for (uint8_t p : s2.pixels) {
    const auto& e = s2.palette.entry[p];
    ASSERT_TRUE(e.red == e.green && e.green == e.blue && e.red <= 63) << int(p);
    levels.insert(e.red);
  }
  EXPECT_GE(levels.size(), 32u);
  // It rolls round over rows 1..198: row 198 leads into row 1.
  double step = 0, wrap = 0;
  for (int32_t x = 0; x < 320; ++x) {
    wrap += std::abs(pixel(s2, x, 1) - pixel(s2, x, 198));
    for (int32_t y = 2; y <= 198; ++y) step += std::abs(pixel(s2, x, y) - pixel(s2, x, y - 1));
  }
  EXPECT_LE(wrap / 320, step / (320.0 * 197) * 1.6 + 0.5);
}

TEST(Counter, TenDistinctDigitsInsideTheirCutColumns) {
  const tartwork& a = picture("counter");
  std::set<std::vector<uint8_t>> cells;
  for (int32_t d = 0; d < 10; ++d) {
    std::vector<uint8_t> cell;
    size_t ink = 0;
    for (int32_t y = 0; y < 30; ++y)
      for (int32_t x = 0; x < 20; ++x) {
        uint8_t p = pixel(a, 20 * d + x, y);
        cell.push_back(p);
        if (p == 5) continue;
        ++ink;
        EXPECT_TRUE(x >= 1 && x <= 16) << "digit " << d << " inks column " << x;
        EXPECT_TRUE(p >= 1 && p <= 4) << "digit " << d;
      }
    EXPECT_GT(ink, 60u) << d;
    cells.insert(cell);
  }
  EXPECT_EQ(cells.size(), 10u);
}

TEST(Pictures, ComeOutTheSameOnEveryCall) {
  std::vector<tartwork> again = drawpictures();
  ASSERT_EQ(again.size(), pictures().size());
  for (size_t i = 0; i < again.size(); ++i) {
    SCOPED_TRACE(again[i].stem);
    EXPECT_EQ(again[i].pixels, pictures()[i].pixels);
    EXPECT_EQ(again[i].colors, pictures()[i].colors);
    for (int32_t e = 0; e < 256; ++e) {
      const auto& p = again[i].palette.entry[e];
      const auto& q = pictures()[i].palette.entry[e];
      ASSERT_TRUE(p.red == q.red && p.green == q.green && p.blue == q.blue) << e;
    }
  }
}

}  // namespace
}  // namespace assets
