// The fourteen default pictures: what the show's start-up and scenes rely
// on (sizes, colour ranges, transparent colours, masks, palettes).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
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

// Mean absolute difference between the w x h blocks at (x0, y0) and (x1, y1).
double meandiff(const tartwork& a, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t w, int32_t h) {
  double sum = 0;
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) sum += std::abs(pixel(a, x0 + x, y0 + y) - pixel(a, x1 + x, y1 + y));
  return sum / (static_cast<double>(w) * h);
}

// A wrap is seamless when its step is no larger than a typical step
// between neighbours inside.
void expectseamless(double across, double inside) { EXPECT_LE(across, inside * 1.6 + 0.5); }

// Width, height, colors at least, smallest and largest pixel value allowed,
// transparent colour (-1 for none), distinct values at least (masks have two).
struct tcontract {
  const char* stem; uint16_t width, height; uint8_t mincolors, lowest, highest; int32_t background; uint8_t variety;
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

TEST(Pictures, ComeInLoadingOrderWithTheirSizesColourRangesAndTransparentColours) {
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
    const auto [lo, hi] = std::minmax_element(a.pixels.begin(), a.pixels.end());
    EXPECT_GE(*lo, c.lowest);
    EXPECT_LE(*hi, c.highest);
    EXPECT_LE(*hi, a.colors) << "a pixel uses a colour the picture does not bring";
    EXPECT_EQ(brightness(a.palette.entry[0]), 0);  // entry 0 is black in every stored palette
    // Shading needs its colours: a picture is more than a few flat ones.
    EXPECT_GE(std::set<uint8_t>(a.pixels.begin(), a.pixels.end()).size(), c.variety) << "too few colours used";
    if (c.background < 0) continue;
    // Words and digits: enough ink to read, enough clear ground to see the
    // scene through, and clear corners, so a stretched word shows no box.
    double share = static_cast<double>(std::count(a.pixels.begin(), a.pixels.end(), c.background)) / a.pixels.size();
    EXPECT_GT(share, 0.2);
    EXPECT_LT(share, 0.9);
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
  EXPECT_LE(*std::min_element(a.pixels.begin(), a.pixels.end()), 6);
  EXPECT_GE(*std::max_element(a.pixels.begin(), a.pixels.end()), 32);
  const double inside = meandiff(a, 1, 0, 0, 0, 255, 254);
  expectseamless(meandiff(a, 0, 0, 255, 0, 1, 254), inside);  // last column into the first
  expectseamless(meandiff(a, 0, 0, 0, 253, 256, 1), inside);  // last row into the first
}

// The tunnels read teil as levels, wrap it and blur it twice with the
// four-neighbour average.
std::vector<int32_t> blurredtwice(const tartwork& a) {
  const int32_t w = a.width, h = a.height;
  std::vector<int32_t> v(a.pixels.begin(), a.pixels.end()), next(v.size());
  for (int32_t pass = 0; pass < 2; ++pass) {
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        auto g = [&](int32_t xx, int32_t yy) { return v[static_cast<size_t>((yy + h) % h) * w + (xx + w) % w]; };
        next[static_cast<size_t>(y) * w + x] = (g(x - 1, y) + g(x + 1, y) + g(x, y - 1) + g(x, y + 1)) / 4;
      }
    v.swap(next);
  }
  return v;
}

TEST(Teil, SpreadsItsLevelsOverTheRampAndKeepsDetailThroughTwoBlurs) {
  const tartwork& a = picture("teil");
  std::vector<size_t> count(256, 0);
  for (uint8_t p : a.pixels) ++count[p];
  const double n = static_cast<double>(a.pixels.size());
  for (int32_t level = 1; level <= 37; ++level) EXPECT_LE(count[level] / n, 0.08) << "level " << level;
  // Flat slabs show as a few levels holding much of the picture.
  std::sort(count.rbegin(), count.rend());
  double topseven = 0;
  for (int32_t i = 0; i < 7; ++i) topseven += count[i] / n;
  EXPECT_LE(topseven, 0.3);
  // After the tunnels' blurs, hardly any 7x7 patch may be flat (within 4 levels).
  const std::vector<int32_t> b = blurredtwice(a);
  size_t flat = 0;
  for (int32_t y = 0; y < a.height; ++y)
    for (int32_t x = 0; x < a.width; ++x) {
      int32_t lo = 255, hi = 0;
      for (int32_t j = -3; j <= 3; ++j)
        for (int32_t i = -3; i <= 3; ++i) {
          int32_t q = b[static_cast<size_t>((y + j + a.height) % a.height) * a.width + (x + i + a.width) % a.width];
          lo = std::min(lo, q), hi = std::max(hi, q);
        }
      if (hi - lo <= 4) ++flat;
    }
  EXPECT_LT(flat / n, 0.05);
}

TEST(Logos, KeepTwoClearPixelsRoundTheirWords) {
  for (const auto& [stem, background] : {std::pair<const char*, uint8_t>{"qelm1", 4}, {"proudly", 15}, {"presents", 15},
                                         {"corporat", 53}}) {
    const tartwork& a = picture(stem);
    for (int32_t y = 0; y < a.height; ++y)
      for (int32_t x = 0; x < a.width; ++x) {
        const bool edge = x < 2 || y < 2 || x >= a.width - 2 || y >= a.height - 2;
        if (edge) {
          EXPECT_EQ(pixel(a, x, y), background) << stem << " at " << x << "," << y;
        }
      }
  }
}

TEST(Title, StarsShowBrightOnDarkFacesInsideTheMask) {
  const tartwork& pic = picture("morvpic");
  const tartwork& mask = picture("morvdat");
  for (const auto& c : {pic.palette.entry[245], pic.palette.entry[255]})
    EXPECT_GE(std::min({c.red, c.green, c.blue}), 48) << int(c.red) << "," << int(c.green) << "," << int(c.blue);
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
  EXPECT_TRUE(top > 2 && bottom < 477) << top << " " << bottom;
  EXPECT_TRUE(left > 2 && right < 637) << left << " " << right;
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
      EXPECT_TRUE(d >= 40.0f || pixel(mask, x, y) == 1) << x << "," << y;
    }
  EXPECT_GT(lens, 10000u);
  // The pupil is dark, the white of the eye bright.
  EXPECT_LT(brightness(eye.palette.entry[pixel(eye, 154, 118)]), 20);
  EXPECT_GT(brightness(eye.palette.entry[pixel(eye, 250, 118)]), 100);
}

TEST(Scrollers, PalettesLeaveRoomForTheShowsAdjustmentsAndTheyRollRound) {
  const tartwork& s1 = picture("scroll1");
  for (int32_t i = 1; i <= 20; ++i) {
    const auto& e = s1.palette.entry[i];
    EXPECT_LE(e.blue, 31) << i;  // doubled at start-up
    EXPECT_LE(std::max({e.red, e.green, e.blue}), 60) << i;  // raised by 3
  }
  // The last row leads into the first.
  expectseamless(meandiff(s1, 0, 0, 0, 999, 320, 1), meandiff(s1, 0, 1, 0, 0, 320, 999));
  // Start-up turns colour 20 into a grey: the picture keeps to 1..19.
  EXPECT_LE(*std::max_element(s1.pixels.begin(), s1.pixels.end()), 19);
  // Dithered shading changes level every two pixels or so; banded shading
  // holds one level over long runs.
  size_t runs = 0;
  for (int32_t y = 0; y < 1000; ++y)
    for (int32_t x = 0; x < 320; ++x)
      if (x == 0 || pixel(s1, x, y) != pixel(s1, x - 1, y)) ++runs;
  EXPECT_LT(320.0 * 1000.0 / runs, 4.0) << "mean run of one level";
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
  expectseamless(meandiff(s2, 0, 1, 0, 198, 320, 1), meandiff(s2, 0, 2, 0, 1, 320, 197));
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
    EXPECT_EQ(std::memcmp(&again[i].palette, &pictures()[i].palette, sizeof(tarnpal::tpalette)), 0);
  }
}

}  // namespace
}  // namespace assets
