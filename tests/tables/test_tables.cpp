// The start-up tables: values fixed by their rules, the palette rebuilds,
// the order of the random draws, and reproducibility from one seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "pictures.h"
#include "runtime/runtime.h"
#include "tables/tables.h"
#include "tools/clouds.h"
#include "tools/plasma.h"
#include "tools/stores.h"

// The point records are packed: their fields are read by value (+p.x), so
// no reference ever binds to a misaligned member.
namespace {

using namespace tables;
using tarnpal::tpalentry;
using tarnpal::tpalette;

constexpr uint32_t seed = 0x1234567u;

// An independent copy of the generator, to check which draw went where.
struct tdraws {
  uint32_t s;
  uint32_t next() { return s = s * 134775813u + 1u; }
  uint32_t below(uint32_t n) { return static_cast<uint32_t>((static_cast<uint64_t>(next()) * n) >> 32); }
  long double real() { return next() / 4294967296.0L; }
  void skip(uint32_t n) {
    while (n-- > 0) next();
  }
};

// The pictures and palettes as they were before the build.
struct tbefore {
  tpalette scroll1pal, geoboardpal, counterpal, eye1pal, qelm1pal, corporatpal, proudlypal, presentspal,
      textpal, teilpal, scroll2pal;
  std::vector<uint8_t> scroll2, scroll1;
};
tbefore before;

class Tables : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    testpictures::load();
    // Colours the grey conversion has to tell apart.
    tools::scroll2pal.entry[10] = {5, 5, 5, 0};
    tools::scroll2pal.entry[11] = {5, 5, 6, 0};
    tools::scroll2pal.entry[12] = {70, 70, 70, 0};
    tools::scroll2pal.entry[13] = {63, 63, 63, 0};
    tools::scroll2pal.entry[14] = {0, 0, 0, 0};
    for (uint8_t k = 0; k < 5; ++k) tools::scroll2.pixels[k] = static_cast<uint8_t>(10 + k);
    // Values that show which reads happened before which writes.
    tools::scroll1pal.entry[0] = {60, 1, 2, 0};
    tools::scroll1pal.entry[5] = {30, 7, 200, 0};
    tools::scroll1pal.entry[7] = {1, 2, 254, 0};
    tools::scroll1pal.entry[20] = {17, 17, 17, 0};
    before = {tools::scroll1pal, tools::geoboardpal, tools::counterpal, tools::eye1pal, tools::qelm1pal,
              tools::corporatpal, tools::proudlypal, tools::presentspal, tools::textpal, tools::teilpal,
              tools::scroll2pal,
              std::vector<uint8_t>(tools::scroll2.pixels, tools::scroll2.pixels + 64000),
              std::vector<uint8_t>(tools::scroll1.pixels, tools::scroll1.pixels + 320000)};
    runtime::fixedseed = seed;
    buildtables();
  }
  static void TearDownTestSuite() { runtime::fixedseed.reset(); }
};

void expectentry(const tpalentry& e, int r, int g, int b, const char* what, int i) {
  EXPECT_EQ(e.red, r) << what << " " << i;
  EXPECT_EQ(e.green, g) << what << " " << i;
  EXPECT_EQ(e.blue, b) << what << " " << i;
}
void expectentry(const tpalentry& e, const tpalentry& want, const char* what, int i) {
  expectentry(e, want.red, want.green, want.blue, what, i);
}

TEST_F(Tables, RampsTruncateAnExtendedProduct) {
  // 25 x 1.48 + 8 is 45 with 1.48 as an extended constant (a double 1.48
  // widened would give 44.99999...).
  expectentry(polarpal.entry[25], 45, 45, 0, "polar", 25);
  expectentry(tunnelpal.entry[25], 45, 45, 32, "tunnel", 25);
  expectentry(swirlpal.entry[25], 0, 0, 45, "swirl", 25);
  expectentry(polarpal.entry[1], 9, 9, 0, "polar", 1);
  expectentry(polarpal.entry[64], 102, 102, 0, "polar", 64);  // past 63, not clamped
  expectentry(tunnelpal.entry[64], 102, 102, 81, "tunnel", 64);
}

TEST_F(Tables, MapPalettesTakeTheLogoColours) {
  expectentry(polarpal.entry[0], 0, 0, 0, "polar", 0);
  for (int i = 1; i <= 51; ++i) expectentry(polarpal.entry[64 + i], before.qelm1pal.entry[i], "polar", 64 + i);
  for (int i = 1; i <= 70; ++i)
    expectentry(polarpal.entry[115 + i], before.corporatpal.entry[i], "polar", 115 + i);
  expectentry(polarpal.entry[255], 0, 0, 0, "polar", 255);
  for (int i = 1; i <= 16; ++i) {
    expectentry(tunnelpal.entry[64 + i], before.proudlypal.entry[i], "tunnel", 64 + i);
    expectentry(tunnelpal.entry[80 + i], before.presentspal.entry[i], "tunnel", 80 + i);
  }
  // The logos' pixels moved onto those entries.
  EXPECT_EQ(tools::qelm1.pixels[0], static_cast<uint8_t>(2 + 64));
  EXPECT_EQ(tools::corporat.pixels[0], static_cast<uint8_t>(3 + 115));
  EXPECT_EQ(tools::proudly.pixels[0], static_cast<uint8_t>(5 + 64));
  EXPECT_EQ(tools::presents.pixels[0], static_cast<uint8_t>(4 + 80));
  EXPECT_EQ(tools::text.pixels[1], static_cast<uint8_t>(9 + 7 + 64));
  // swirlpal: blue ramp, then the text colours from entry 64 on.
  for (int i = 0; i <= 185; ++i) expectentry(swirlpal.entry[64 + i], before.textpal.entry[i], "swirl", 64 + i);
}

TEST_F(Tables, DepthColumnsAndCurves) {
  EXPECT_EQ(tunneldepth[0], 3000);
  EXPECT_EQ(tunneldepth[255], 11);
  EXPECT_EQ(swirldepth[7], -1);
  EXPECT_EQ(swirldepth[255], -63);
  EXPECT_EQ(polardepth[200], 200);

  EXPECT_EQ(halfsine[0], 0);
  EXPECT_EQ(halfsine[255], 0);  // 3.14, not pi: sin(3.14) * 256 rounds to 0
  EXPECT_EQ(*std::max_element(std::begin(halfsine), std::end(halfsine)), 256);
  EXPECT_EQ(halfsine[128], 256);
  EXPECT_EQ(halfsine[64], 182);  // sin(0.788) * 256 = 181.504
  EXPECT_EQ(atancurve[0], 0);
  EXPECT_EQ(atancurve[255], 195);  // atan(3) * 156 = 194.85

  EXPECT_EQ(sinus63[0], 64);
  EXPECT_EQ(*std::max_element(std::begin(sinus63), std::end(sinus63)), 127);
  EXPECT_EQ(*std::min_element(std::begin(sinus63), std::end(sinus63)), 1);
  EXPECT_EQ(sinus27[0], 128);
  EXPECT_EQ(*std::max_element(std::begin(sinus27), std::end(sinus27)), 155);

  EXPECT_EQ(widthramp[0], 10);
  EXPECT_EQ(widthramp[10], 26);  // 25.5: halves go to the even neighbour
  EXPECT_EQ(widthramp[30], 56);  // 56.5
  EXPECT_EQ(widthramp[199], 318);
}

TEST_F(Tables, CircleOffsetsGoRoundRadiusTen) {
  EXPECT_EQ(circleofs[0], 10 * 320);
  EXPECT_EQ(circleofs[32], 7 * 320 + 7);
  EXPECT_EQ(circleofs[64], 10);  // cos is a hair off 0 and rounds to 0
  EXPECT_EQ(circleofs[96], -7 * 320 + 7);
  EXPECT_EQ(circleofs[128], -10 * 320);
  EXPECT_EQ(circleofs[192], -10);
  EXPECT_EQ(circleofsptr, &circleofs[0]);
  EXPECT_EQ(circlephase, 0);
}

TEST_F(Tables, SqueezeRowsNarrowTowardTheMiddle) {
  EXPECT_EQ(squeezewidth[0], 319);
  EXPECT_EQ(squeezewidth[100], 159);
  EXPECT_EQ(squeezewidth[50], 319 - 113);  // 160 sin(pi/4) = 113.1
  EXPECT_EQ(squeezemap[0], 0);
  EXPECT_EQ(squeezemap[319], 318);  // 319 * 319 div 320
  EXPECT_EQ(squeezemap[100 * 320], 100 * 320 + 80);
  EXPECT_EQ(squeezemap[100 * 320 + 319], 100 * 320 + 80 + 158);
}

TEST_F(Tables, ScrollPaletteRebuildsReadTheirOwnWrites) {
  const tpalette& sp = tools::scroll1pal;
  // Blue doubled, modulo 256, on entries 1..20 only.
  expectentry(sp.entry[5], 30, 7, 144, "scroll1", 5);
  expectentry(sp.entry[7], 1, 2, 252, "scroll1", 7);
  // Entry 20 from entry 0: (60 + 20) / 2; entry 40 from the new entry 20.
  expectentry(sp.entry[20], 40, 40, 40, "scroll1", 20);
  expectentry(sp.entry[40], 30, 30, 30, "scroll1", 40);
  expectentry(sp.entry[25], 25, 25, 25, "scroll1", 25);
  expectentry(sp.entry[41], before.scroll1pal.entry[41], "scroll1", 41);

  // scrollpal: entries 1..20 are the loaded colours plus 3 (bytes wrap).
  expectentry(scrollpal.entry[0], 0, 0, 0, "scrollpal", 0);
  expectentry(scrollpal.entry[5], 33, 10, 203, "scrollpal", 5);
  expectentry(scrollpal.entry[7], 4, 5, 1, "scrollpal", 7);
  // Then entry 20 + i := (red, green + 3, blue + 3) of entry i as it is now.
  expectentry(scrollpal.entry[20], 0, 3, 3, "scrollpal", 20);
  expectentry(scrollpal.entry[25], 33, 13, 206, "scrollpal", 25);
  expectentry(scrollpal.entry[27], 4, 8, 4, "scrollpal", 27);
  expectentry(scrollpal.entry[40], 0, 6, 6, "scrollpal", 40);

  // The picture is held twice in a row.
  EXPECT_EQ(std::memcmp(tools::scroll1.pixels, before.scroll1.data(), 320000), 0);
  EXPECT_EQ(std::memcmp(tools::scroll1.pixels + 320000, before.scroll1.data(), 320000), 0);
}

TEST_F(Tables, BoardPaletteIsFireThenBoardThenLoadedScrollColours) {
  const tpalette& gp = tools::geoboardpal;
  expectentry(gp.entry[0], 0, 0, 0, "board", 0);
  expectentry(gp.entry[1], 0, 0, 0, "board", 1);
  expectentry(gp.entry[64], 63, 0, 0, "board", 64);
  expectentry(gp.entry[65], 63, 0, 0, "board", 65);
  expectentry(gp.entry[128], 63, 63, 0, "board", 128);
  expectentry(gp.entry[191], 63, 63, 62, "board", 191);
  expectentry(gp.entry[192], 0, 0, 0, "board", 192);
  for (int i = 1; i <= 12; ++i) expectentry(gp.entry[192 + i], before.geoboardpal.entry[i], "board", 192 + i);
  // The scroll1 colours as loaded, not as rebuilt above.
  for (int i = 205; i <= 255; ++i) expectentry(gp.entry[i], before.scroll1pal.entry[i], "board", i);
  EXPECT_EQ(tools::geoboard.pixels[0], static_cast<uint8_t>(8 + 192));
  // work2 starts black.
  EXPECT_EQ(std::count(tools::work2.pixels, tools::work2.pixels + 64000, 0), 64000);
}

TEST_F(Tables, CounterPaletteKeepsTheBoardRamps) {
  const tpalette& cp = tools::counterpal;
  for (int i = 0; i <= 63; ++i) expectentry(cp.entry[i], 0, 0, i, "counter", i);
  for (int i = 0; i <= 5; ++i) expectentry(cp.entry[64 + i], before.counterpal.entry[i], "counter", 64 + i);
  expectentry(cp.entry[70], 63, 5, 0, "counter", 70);  // left from the board palette
  expectentry(cp.entry[205], before.scroll1pal.entry[205], "counter", 205);
  EXPECT_EQ(tools::counter.pixels[0], static_cast<uint8_t>(14 + 64));
}

TEST_F(Tables, EyePaletteShiftsUpSixteen) {
  const tpalette& ep = tools::eye1pal;
  expectentry(ep.entry[0], 63, 63, 63, "eye", 0);
  for (int i = 1; i <= 15; ++i) expectentry(ep.entry[i], 4 * i, 4 * i, 4 * i, "eye", i);
  expectentry(ep.entry[16], 0, 0, 0, "eye", 16);
  for (int i = 17; i <= 255; ++i) expectentry(ep.entry[i], before.eye1pal.entry[i - 16], "eye", i);
  EXPECT_EQ(tools::eye1.pixels[0], static_cast<uint8_t>(10 + 16));
}

TEST_F(Tables, Scroll2BecomesGreyLevels) {
  // (5,5,5) -> 5; (5,5,6) and (70,70,70) are no grey of 0..63 -> 63;
  // (63,63,63) -> 63; (0,0,0) -> 0.
  const uint8_t want[] = {5, 63, 63, 63, 0};
  for (int k = 0; k < 5; ++k) EXPECT_EQ(tools::scroll2.pixels[k], want[k]) << k;
  for (int k = 5; k < 64000; ++k) {
    const tpalentry& e = before.scroll2pal.entry[before.scroll2[k]];
    const uint8_t grey = (e.red == e.green && e.green == e.blue && e.red <= 63) ? e.red : 63;
    ASSERT_EQ(tools::scroll2.pixels[k], grey) << k;
  }
  const tpalette& p = tools::scroll2pal;
  expectentry(p.entry[0], 0, 0, 0, "scroll2", 0);
  expectentry(p.entry[1], 0, 1, 1, "scroll2", 1);
  expectentry(p.entry[64], 0, 64, 64, "scroll2", 64);
  expectentry(p.entry[254], 0, 254, 254, "scroll2", 254);
  expectentry(p.entry[255], 63, 63, 63, "scroll2", 255);
  EXPECT_EQ(std::memcmp(&workpal, &p, sizeof p), 0);
}

TEST_F(Tables, TeilScaledAndItsGreyPalette) {
  for (int i = 0; i <= 64; ++i) expectentry(teilgrey.entry[38 + i], i, i, i, "teilgrey", 38 + i);
  expectentry(teilgrey.entry[37], before.teilpal.entry[37], "teilgrey", 37);
  expectentry(teilgrey.entry[103], before.teilpal.entry[103], "teilgrey", 103);
  // teil (x, y) holds x * 7 + y * 3 + 1, stretched over columns 0..318.
  EXPECT_EQ(tools::teilfull.pixels[0], 1);
  EXPECT_EQ(tools::teilfull.pixels[1], 8);  // source column Round(256 / 319) = 1
  EXPECT_EQ(tools::teilfull.pixels[318], static_cast<uint8_t>(255 * 7 + 1));
  for (int y = 0; y < 200; ++y) ASSERT_EQ(tools::teilfull.pixels[y * 320 + 319], 0) << y;
}

TEST_F(Tables, BandAndFirePalettes) {
  expectentry(bandpal.entry[0], 0, 0, 63, "band", 0);
  expectentry(bandpal.entry[255], 0, 0, 63, "band", 255);
  expectentry(bandpal.entry[1], 1, 1, 62, "band", 1);        // F = 7 div 4, G = 248 div 4
  expectentry(bandpal.entry[32], 63, 63, 0, "band", 32);     // F = 255 div 4, G = 0
  expectentry(bandpal.entry[33], 63, 62, 0, "band", 33);
  expectentry(bandpal.entry[224], 63, 63, 63, "band", 224);  // the seventh ramp writes it last
  expectentry(bandpal.entry[225], 60, 60, 63, "band", 225);  // the eighth ramp's i = 2
  expectentry(bandpal.entry[254], 2, 2, 63, "band", 254);

  expectentry(firepal.entry[0], 0, 0, 0, "fire", 0);
  expectentry(firepal.entry[1], 0, 0, 0, "fire", 1);
  expectentry(firepal.entry[85], 63, 0, 0, "fire", 85);
  expectentry(firepal.entry[86], 63, 0, 0, "fire", 86);
  expectentry(firepal.entry[170], 63, 63, 0, "fire", 170);
  expectentry(firepal.entry[171], 63, 63, 0, "fire", 171);
  expectentry(firepal.entry[254], 63, 63, 63, "fire", 254);
  expectentry(firepal.entry[255], 63, 63, 63, "fire", 255);
}

TEST_F(Tables, RandomDrawsLandInTheirFixedOrder) {
  tdraws d{seed};
  EXPECT_EQ(randsign[0], static_cast<int>(d.below(3)) - 1);
  d.skip(64000 - 1);
  EXPECT_EQ(randsign[64000], static_cast<int>(d.below(3)) - 1);
  EXPECT_EQ(randbit[0], d.below(2));
  d.skip(64000);
  // Stars: x, y, z, colour per point, from point 1.
  EXPECT_EQ(+starfield[1].x, static_cast<float>((d.real() - 0.5L) / 2));
  EXPECT_EQ(+starfield[1].y, static_cast<float>((d.real() - 0.5L) / 2));
  EXPECT_EQ(+starfield[1].z, static_cast<float>(d.real()));
  EXPECT_EQ(+starfield[1].colour, d.below(64));
  d.skip(449 * 4);
  EXPECT_EQ(+starfield[0].z, 0.0f);
  // The cube: x, y, z per point, from point 0.
  EXPECT_EQ(+cloud1[0].x, static_cast<float>((d.real() - 0.5L) / 3));
  EXPECT_EQ(+cloud1[0].y, static_cast<float>((d.real() - 0.5L) / 3));
  EXPECT_EQ(+cloud1[0].z, static_cast<float>(1 - d.real() / 3));
  d.skip(450 * 3);
  // Pixels row by row, dx before dy.
  EXPECT_EQ(+pixelcloud[0].dx, static_cast<int>(d.below(4)) - 2);
  EXPECT_EQ(+pixelcloud[0].dy, static_cast<int>(d.below(4)) - 2);
  d.skip(2 * 63998);
  EXPECT_EQ(+pixelcloud[63999].dx, static_cast<int>(d.below(4)) - 2);
  EXPECT_EQ(+pixelcloud[63999].dy, static_cast<int>(d.below(4)) - 2);
  EXPECT_EQ(+pixelcloud[63999].x, 319);
  EXPECT_EQ(+pixelcloud[63999].y, 199);
  // The fountain comes next: particle 1's colour and velocity, then the
  // first launch entry.
  d.skip(4);
  EXPECT_EQ(fountainlaunch[0].x, static_cast<float>((d.real() - 0.5L) * 0.002L + 0.01L));
}

TEST_F(Tables, MorphCarriesTheCubeOntoTheCoil) {
  static tpoint3d coil[pointcount];
  runtime::randseed = 1;
  tools::helixcloud(coil);
  for (int n = 0; n < pointcount; ++n) {
    float x = cloud1[n].x, y = cloud1[n].y, z = cloud1[n].z;
    for (int step = 0; step < 400; ++step) {
      x = x + morphstep[n].x;
      y = y + morphstep[n].y;
      z = z + morphstep[n].z;
    }
    ASSERT_NEAR(x, +coil[n].x, 1e-4) << n;
    ASSERT_NEAR(y, +coil[n].y, 1e-4) << n;
    ASSERT_NEAR(z, +coil[n].z, 1e-4) << n;
  }
}

TEST_F(Tables, FountainIsInFullFlow) {
  float lowest = 1, highest = -1;
  for (int n = 1; n <= 450; ++n) {
    const auto& p = Eng3D::fountainpos[n];
    ASSERT_LE(+p.y, 0.3f) << n;
    ASSERT_LT(+p.colour, 63) << n;
    lowest = std::min(lowest, +p.y);
    highest = std::max(highest, +p.y);
  }
  // After 201 steps particles are everywhere between the top of the arc
  // and the nozzle, not bunched at the start.
  EXPECT_LT(lowest, 0.0f);
  EXPECT_GT(highest, 0.25f);
  for (const tvector& v : fountainlaunch) {
    ASSERT_GE(v.y, -0.025f);
    ASSERT_LE(v.y, -0.0125f);
  }
}

TEST_F(Tables, DriftDotsAndPlasma) {
  for (const tdot& dot : driftdots) {
    ASSERT_LT(+dot.x, 319);
    ASSERT_LT(+dot.y, 199);
    ASSERT_TRUE(+dot.dx == -1 || +dot.dx == 0);
    ASSERT_TRUE(+dot.dy == -1 || +dot.dy == 0);
  }
  EXPECT_LE(std::count(std::begin(tools::plasmabuf), std::end(tools::plasmabuf), 0), 4);
  EXPECT_EQ(tools::plasmarough, 1000);
}

// Every table, palette and picture the build writes.
std::vector<uint8_t> snapshot() {
  std::vector<uint8_t> all;
  auto add = [&](const void* p, size_t n) {
    const auto* b = static_cast<const uint8_t*>(p);
    all.insert(all.end(), b, b + n);
  };
  add(randsign, sizeof randsign);
  add(randbit, sizeof randbit);
  add(polardepth, sizeof polardepth);
  add(tunneldepth, sizeof tunneldepth);
  add(swirldepth, sizeof swirldepth);
  add(polarmap, sizeof polarmap);
  add(tunnelmap, sizeof tunnelmap);
  add(swirlmap, sizeof swirlmap);
  add(polarshade, sizeof polarshade);
  add(tunnelshade, sizeof tunnelshade);
  add(halfsine, sizeof halfsine);
  add(atancurve, sizeof atancurve);
  add(circleofs, sizeof circleofs);
  add(sinus63, sizeof sinus63);
  add(sinus27, sizeof sinus27);
  add(squeezewidth, sizeof squeezewidth);
  add(squeezemap, sizeof squeezemap);
  add(widthramp, sizeof widthramp);
  add(pixelcloud, sizeof pixelcloud);
  add(starfield, sizeof starfield);
  add(cloud1, sizeof cloud1);
  add(morphstep, sizeof morphstep);
  add(Eng3D::fountainpos, sizeof Eng3D::fountainpos);
  add(Eng3D::fountainvel, sizeof Eng3D::fountainvel);
  add(fountainlaunch, sizeof fountainlaunch);
  add(driftdots, sizeof driftdots);
  add(tools::plasmabuf, sizeof tools::plasmabuf);
  for (const tpalette* p : {&polarpal, &tunnelpal, &swirlpal, &scrollpal, &bandpal, &firepal, &teilgrey, &workpal})
    add(p, sizeof *p);
  for (const tools::tpicture& p : tools::pictures) {
    add(p.bitmap->pixels, p.storesize);
    add(p.palette, sizeof *p.palette);
  }
  add(tools::work2.pixels, tools::work2storesize);
  add(tools::teilfull.pixels, tools::framestoresize);
  add(&runtime::randseed, sizeof runtime::randseed);
  return all;
}

TEST(Rebuild, SameSeedSameBytes) {
  runtime::fixedseed = 987654321u;
  testpictures::load();
  buildtables();
  const std::vector<uint8_t> first = snapshot();
  // Disturb what the scenes change in place, then start over.
  cloud1[3].x = 42;
  Eng3D::fountainpos[9].y = -5;
  workpal.entry[100].red = 1;
  circlephase = 77;
  testpictures::load();
  buildtables();
  const std::vector<uint8_t> second = snapshot();
  ASSERT_EQ(first.size(), second.size());
  EXPECT_EQ(std::memcmp(first.data(), second.data(), first.size()), 0);
  EXPECT_EQ(circlephase, 0);
  // A different seed gives different random tables.
  runtime::fixedseed = 987654322u;
  testpictures::load();
  buildtables();
  EXPECT_NE(std::memcmp(first.data(), randsign, sizeof randsign), 0);
  runtime::fixedseed.reset();
}

}  // namespace
