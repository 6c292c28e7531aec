// The start-up tables: values fixed by their rules, the palette rebuilds,
// and reproducibility from one seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

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

// Small known pictures and palettes in place of the archive's, every picture
// at its real size, as start-up's loader would leave them.
uint8_t pixelof(const tarngr::tbitmap& bm, uint32_t k) { return static_cast<uint8_t>(k * 7 + bm.width + bm.height); }
void loadpictures() {
  using namespace tools;
  initmemory();
  uint32_t salt = 0;
  for (const tpicture& p : pictures) {
    tarngr::tbitmap& bm = *p.bitmap;
    bm.width = 320, bm.height = 200;
    if (&bm == &teil) bm.width = 256, bm.height = 254;
    if (p.storesize == 3004) bm.width = 100, bm.height = 30;
    if (p.storesize == 307204) bm.width = 640, bm.height = 480;
    if (&bm == &scroll1) bm.height = 1000;
    if (&bm == &counter) bm.width = 200, bm.height = 30;
    for (uint32_t k = 0; k < uint32_t{bm.width} * bm.height; ++k) bm.pixels[k] = pixelof(bm, k);
    for (uint32_t i = 0; i < 256; ++i)
      p.palette->entry[i] = {uint8_t((i + salt) % 64), uint8_t((i * 3 + salt) % 64),
                             uint8_t((i * 5 + salt * 7) % 64), 0};
    ++salt;
  }
}

tpalette scroll1was, geoboardwas, counterwas, eye1was, qelm1was, corporatwas, textwas;

class Tables : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    loadpictures();
    // Colours that tell which reads came before which writes, and which
    // the grey conversion must tell apart.
    tools::scroll1pal.entry[0] = {60, 1, 2, 0};
    tools::scroll1pal.entry[5] = {30, 7, 200, 0};
    tools::scroll1pal.entry[7] = {1, 2, 254, 0};
    const tpalentry probes[] = {{5, 5, 5, 0}, {5, 5, 6, 0}, {70, 70, 70, 0}, {63, 63, 63, 0}, {0, 0, 0, 0}};
    for (uint8_t k = 0; k < 5; ++k) {
      tools::scroll2pal.entry[10 + k] = probes[k];
      tools::scroll2.pixels[k] = static_cast<uint8_t>(10 + k);
    }
    scroll1was = tools::scroll1pal, geoboardwas = tools::geoboardpal, counterwas = tools::counterpal;
    eye1was = tools::eye1pal, qelm1was = tools::qelm1pal, corporatwas = tools::corporatpal;
    textwas = tools::textpal;
    runtime::fixedseed = 0x1234567u;
    buildtables();
    runtime::fixedseed.reset();
  }
};

// Compares each listed entry's three components.
struct trgb {
  int r, g, b;
  trgb(int red, int green, int blue) : r(red), g(green), b(blue) {}
  trgb(const tpalentry& e) : r(e.red), g(e.green), b(e.blue) {}
  bool operator==(const trgb&) const = default;
};
struct twant {
  const tpalette& pal;
  int i;
  trgb is;
};
void expectentries(std::initializer_list<twant> wants) {
  for (const twant& w : wants) {
    const trgb e(w.pal.entry[w.i]);
    EXPECT_TRUE(e == w.is) << "row " << &w - wants.begin() << ": entry " << w.i << " is (" << e.r << "," << e.g
                           << "," << e.b << "), want (" << w.is.r << "," << w.is.g << "," << w.is.b << ")";
  }
}

TEST_F(Tables, MapPalettesRampsAndLogoColours) {
  // 25 x 1.48 + 8 with an extended 1.48 is 45 (a widened double gives 44.99..).
  expectentries({{polarpal, 25, {45, 45, 0}}, {tunnelpal, 25, {45, 45, 32}}, {swirlpal, 25, {0, 0, 45}},
                 {polarpal, 65, qelm1was.entry[1]}, {polarpal, 185, corporatwas.entry[70]},
                 {polarpal, 255, {0, 0, 0}}, {swirlpal, 64, textwas.entry[0]}});
  // The logos' pixels moved onto those entries.
  EXPECT_EQ(tools::qelm1.pixels[0], static_cast<uint8_t>(pixelof(tools::qelm1, 0) + 64));
  EXPECT_EQ(tools::text.pixels[1], static_cast<uint8_t>(pixelof(tools::text, 1) + 64));
}

// halfsine uses 3.14, not pi, so its entry 255 is 0; atancurve[255] is
// atan(3) x 156 = 194.85; widthramp[30] is 56.5 and halves go to the even
// neighbour; squeezemap[319] is 319 x 319 div 320.
TEST_F(Tables, CurvesAndColumns) {
  const int got[] = {tunneldepth[0], tunneldepth[255], halfsine[0], halfsine[255], halfsine[128],
                     *std::max_element(std::begin(halfsine), std::end(halfsine)), atancurve[255], sinus63[0],
                     *std::min_element(std::begin(sinus63), std::end(sinus63)), widthramp[30], widthramp[199],
                     squeezewidth[100], squeezemap[319], squeezemap[100 * 320 + 319]};
  const int want[] = {3000, 11, 0, 0, 256, 256, 195, 64, 1, 56, 318, 159, 318, 100 * 320 + 80 + 158};
  for (size_t k = 0; k < std::size(want); ++k) EXPECT_EQ(got[k], want[k]) << "value " << k;
  const int32_t circle[][2] = {{0, 3200}, {32, 2247}, {64, 10}, {96, -2233}, {128, -3200}, {192, -10}};
  for (const auto& c : circle) EXPECT_EQ(circleofs[c[0]], c[1]) << c[0];
}

TEST_F(Tables, PicturePalettesRebuilt) {
  const tpalette &sp = tools::scroll1pal, &gp = tools::geoboardpal, &cp = tools::counterpal, &ep = tools::eye1pal;
  expectentries({
      {sp, 5, {30, 7, 144}},          // blue doubled modulo 256
      {sp, 20, {40, 40, 40}},         // (60 + 20) shr 1, from entry 0
      {sp, 40, {30, 30, 30}},         // from entry 20 as just rewritten
      {scrollpal, 7, {4, 5, 1}},      // loaded colour + 3 in bytes
      {scrollpal, 20, {0, 3, 3}},     // from entry 0
      {scrollpal, 25, {33, 13, 206}}, // (red, green + 3, blue + 3) of new entry 5
      {scrollpal, 40, {0, 6, 6}},     // from entry 20 as just rewritten
      {gp, 191, {63, 63, 62}}, {gp, 192, {0, 0, 0}}, {gp, 204, geoboardwas.entry[12]},
      {gp, 205, scroll1was.entry[205]},  // as loaded, not as rebuilt
      {cp, 64, counterwas.entry[0]}, {cp, 69, counterwas.entry[5]},
      {cp, 70, {63, 5, 0}},           // left over from the board
      {ep, 0, {63, 63, 63}}, {ep, 16, {0, 0, 0}}, {ep, 17, eye1was.entry[1]}, {ep, 255, eye1was.entry[239]},
      {teilgrey, 102, {64, 64, 64}},
      {tools::scroll2pal, 64, {0, 64, 64}}, {tools::scroll2pal, 255, {63, 63, 63}},
      {bandpal, 0, {0, 0, 63}}, {bandpal, 255, {0, 0, 63}},
      {bandpal, 224, {63, 63, 63}},  // the seventh ramp writes it last
      {bandpal, 225, {60, 60, 63}},
      {firepal, 85, {63, 0, 0}}, {firepal, 86, {63, 0, 0}}, {firepal, 255, {63, 63, 63}},
  });
  EXPECT_EQ(std::memcmp(&workpal, &tools::scroll2pal, sizeof workpal), 0);
}

// Which draw lands in which table: the order of the draws is what makes a
// fixed seed reproduce the show's tables.
TEST_F(Tables, RandomDrawsLandInTheirFixedOrder) {
  uint32_t s = 0x1234567u;
  auto next = [&] { return s = s * 134775813u + 1u; };
  auto below = [&](uint32_t n) { return static_cast<int>((static_cast<uint64_t>(next()) * n) >> 32); };
  auto real = [&] { return next() / 4294967296.0L; };
  auto skip = [&](int n) { while (n-- > 0) next(); };
  EXPECT_EQ(randsign[0], below(3) - 1);
  skip(63999);
  EXPECT_EQ(randsign[64000], below(3) - 1);
  EXPECT_EQ(randbit[0], below(2));
  skip(64000);
  EXPECT_EQ(+starfield[1].x, static_cast<float>((real() - 0.5L) / 2));  // x, y, z, colour
  skip(2);
  EXPECT_EQ(+starfield[1].colour, below(64));
  skip(449 * 4);
  EXPECT_EQ(+cloud1[0].x, static_cast<float>((real() - 0.5L) / 3));  // x, y, z
  skip(450 * 3 + 2);
  EXPECT_EQ(+pixelcloud[0].dx, below(4) - 2);  // dx before dy, row by row
  EXPECT_EQ(+pixelcloud[0].dy, below(4) - 2);
  skip(2 * 63999 + 4);  // then particle 1's colour and velocity
  EXPECT_EQ(fountainlaunch[0].x, static_cast<float>((real() - 0.5L) * 0.002L + 0.01L));
}

TEST_F(Tables, PicturesAndMovingStateReadyForTheirScenes) {
  EXPECT_EQ(std::memcmp(tools::scroll1.pixels, tools::scroll1.pixels + 320000, 320000), 0);
  const uint8_t greys[] = {5, 63, 63, 63, 0};  // (5,5,6) and (70,70,70) are no grey
  for (int k = 0; k < 5; ++k) EXPECT_EQ(tools::scroll2.pixels[k], greys[k]) << k;
  EXPECT_EQ(std::count(tools::work2.pixels, tools::work2.pixels + 64000, 0), 64000);
  static tpoint3d coil[pointcount];
  tools::helixcloud(coil);
  float x = cloud1[7].x;  // 400 steps carry the cube onto the coil
  for (int step = 0; step < 400; ++step) x = x + morphstep[7].x;
  EXPECT_NEAR(x, +coil[7].x, 1e-5);
  float lowest = 1;
  for (int n = 1; n <= 450; ++n) {
    ASSERT_LE(+Eng3D::fountainpos[n].y, 0.3f) << n;  // re-launched once past the nozzle
    lowest = std::min(lowest, +Eng3D::fountainpos[n].y);
  }
  EXPECT_LT(lowest, 0.0f);  // in full flow, not bunched at the nozzle
  EXPECT_EQ(circlephase, 0);
  EXPECT_EQ(std::count(std::begin(tools::plasmabuf), std::end(tools::plasmabuf), 0), 0);
}

// Every table, palette and picture the build writes.
std::vector<uint8_t> snapshot() {
  std::vector<uint8_t> all;
  auto add = [&](const void* p, size_t n) {
    all.insert(all.end(), static_cast<const uint8_t*>(p), static_cast<const uint8_t*>(p) + n);
  };
#define ADD(t) add(&(t), sizeof(t))
  ADD(randsign), ADD(randbit), ADD(polardepth), ADD(tunneldepth), ADD(swirldepth), ADD(polarmap);
  ADD(tunnelmap), ADD(swirlmap), ADD(polarshade), ADD(tunnelshade), ADD(halfsine), ADD(atancurve);
  ADD(circleofs), ADD(sinus63), ADD(sinus27), ADD(squeezewidth), ADD(squeezemap), ADD(widthramp);
  ADD(pixelcloud), ADD(starfield), ADD(cloud1), ADD(morphstep), ADD(Eng3D::fountainpos);
  ADD(Eng3D::fountainvel), ADD(fountainlaunch), ADD(driftdots), ADD(tools::plasmabuf), ADD(polarpal);
  ADD(tunnelpal), ADD(swirlpal), ADD(scrollpal), ADD(bandpal), ADD(firepal), ADD(teilgrey), ADD(workpal);
  ADD(circlephase), ADD(runtime::randseed);
#undef ADD
  for (const tools::tpicture& p : tools::pictures) add(p.bitmap->pixels, p.storesize), add(p.palette, sizeof *p.palette);
  add(tools::work2.pixels, tools::work2storesize);
  add(tools::teilfull.pixels, tools::framestoresize);
  return all;
}

TEST(Rebuild, SameSeedSameBytes) {
  runtime::fixedseed = 987654321u;
  loadpictures();
  buildtables();
  const std::vector<uint8_t> first = snapshot();
  cloud1[3].x = 42;  // what the scenes change in place
  circlephase = 77;
  loadpictures();
  buildtables();
  EXPECT_TRUE(first == snapshot());
  runtime::fixedseed = 987654322u;
  loadpictures();
  buildtables();
  EXPECT_NE(std::memcmp(first.data(), randsign, sizeof randsign), 0);
  runtime::fixedseed.reset();
}

}  // namespace
