// Scene 3: the star field over the 640x480 picture, presented through
// SDL's dummy driver on a clock that never waits.
#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <tuple>
#include <vector>

#include "program/scenes/scenes.h"
#include "program/scenes/scenetest.h"
#include "runtime/runtime.h"
#include "tables/tables.h"
#include "tarnpal/tarnpal.h"
#include "tools/display.h"
#include "tools/seam.h"
#include "tools/stores.h"

namespace {

namespace sc = program::scenes;
using namespace scenetest;
using tools::screen;

std::vector<std::vector<uint8_t>> shown;
uint32_t clock = 0;
uint32_t ticks() { return clock; }
void wait(uint32_t ms) { clock += ms; }
void keep(const uint8_t* pixels, uint16_t width, uint16_t height, const tarnpal::tpalentry*) {
  shown.emplace_back(pixels, pixels + static_cast<size_t>(width) * height);
}

class Stars : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    tools::fullscreen = tools::scaled = false;
    tools::openmode(640, 480);
  }
  static void TearDownTestSuite() { SDL_Quit(); }
  void SetUp() override {
    saved = seam::current;
    seam::current.getticks = ticks;
    seam::current.delay = wait;
    seam::current.framesink = keep;
    shown.clear();
    tools::initmemory();
    fill(tools::morvpic, 640, 480, 0);
    fill(tools::morvdat, 640, 480, 0);
    for (int i = 0; i < 640 * 480; ++i) screen.pixels[i] = tools::morvpic.pixels[i] = static_cast<uint8_t>(i % 200);
    // Every star far away at the centre, where the mask is 0.
    for (auto& s : tables::starfield) s = {0.0f, 0.0f, 0.9f, 0};
    for (auto& e : tools::morvpicpal.entry) e = {63, 20, 1, 0};
    tarnpal::clearpalette();
    runtime::fixedseed = 1234;
    sc::starsetup();
    sc::starangle = 0.0f;
  }
  void TearDown() override {
    seam::current = saved;
    runtime::fixedseed.reset();
  }
  // Passes up to, not including, the one that presents.
  static void drawstars() {
    for (int i = 0; i < 449; ++i) sc::starpass();
  }
  static uint8_t at(int x, int y) { return screen.pixels[y * 640 + x]; }
  static uint8_t picture(int x, int y) { return tools::morvpic.pixels[y * 640 + x]; }
  static size_t changed() {
    size_t n = 0;
    for (int i = 0; i < 640 * 480; ++i) n += screen.pixels[i] != tools::morvpic.pixels[i];
    return n;
  }
  seam::tseam saved{};
};

// A plus sign where the mask is above 3 (4 here, 3 at the centre), whole
// inside the picture: x / z of 318.5/320 and 319.5/320 land on columns 638
// and 639, y likewise rows 477 and 478; only stars a pixel in from an edge show.
TEST_F(Stars, PlusSignOnlyWhereTheMaskAllowsAndInsideThePicture) {
  std::memset(tools::morvdat.pixels, 255, 640 * 480);
  tools::morvdat.pixels[192 * 640 + 384] = 4;
  tools::morvdat.pixels[240 * 640 + 320] = 3;
  const float in = 0.5f / 320, down = 0.5f / 240;
  const float stars[][2] = {{0.1f, -0.1f}, {0.0f, 0.0f},  // to (320 + 64, 240 - 48) and the centre
                            {318.5f * in, 0.0f},  {319.5f * in, -0.1f}, {-0.2f, 237.5f * down},
                            {-0.1f, 238.5f * down}, {-319.5f * in, 0.1f}, {-320.5f * in, 0.2f}};
  for (int i = 0; i < 8; ++i) tables::starfield[i + 1] = {stars[i][0], stars[i][1], 0.501f, 0};
  drawstars();
  for (auto [x, y, v] : {std::tuple{384, 192, 255}, {383, 192, 245}, {385, 192, 245}, {384, 191, 245},
                         {384, 193, 245}, {638, 240, 255}, {639, 240, 245}, {192, 477, 255}, {192, 478, 245},
                         {1, 288, 255}, {0, 288, 245}})
    EXPECT_EQ(at(x, y), v) << x << "," << y;
  EXPECT_EQ(changed(), 4 * 5u);  // nothing at the centre
  EXPECT_EQ(tables::starfield[1].colour, 255);
  const float z = tables::starfield[1].z;  // packed fields are read by value
  EXPECT_FLOAT_EQ(z, 0.5f);
}

TEST_F(Stars, TheFieldTurnsAboutTheViewingAxis) {
  std::memset(tools::morvdat.pixels, 255, 640 * 480);
  tables::starfield[1] = {0.105f, 0.0f, 0.501f, 0};
  sc::starangle = 90.0f;
  drawstars();
  EXPECT_EQ(at(320, 290), 255);  // +x turns onto +y: 240 * 0.21
  EXPECT_EQ(at(387, 240), picture(387, 240));  // where it would be unturned
  EXPECT_EQ(at(320, 190), picture(320, 190));  // turned the other way
}

TEST_F(Stars, AStarPastTheViewerComesBackAtDepthOne) {
  tables::starfield[7] = {0.3f, 0.3f, 0.0005f, 9};
  for (int i = 0; i < 7; ++i) sc::starpass();
  const float x = tables::starfield[7].x, y = tables::starfield[7].y, z = tables::starfield[7].z;
  EXPECT_EQ(z, 1.0f);
  EXPECT_TRUE(std::abs(x) <= 0.25f && std::abs(y) <= 0.25f && x != 0.3f) << x << "," << y;
  EXPECT_EQ(tables::starfield[7].colour, 255);
}

// Each 450th pass presents the frame with its stars and restores the
// picture; the angle shows 360 for one frame, then wraps; the picture has
// faded in before the first frame.
TEST_F(Stars, FramesShownThenPictureRestoredAngleWraps) {
  std::memset(tools::morvdat.pixels, 255, 640 * 480);
  sc::starangle = 359.0f;
  std::vector<float> angles;
  for (size_t frame = 0; frame < 3; ++frame) {
    drawstars();
    if (frame == 0) {
      EXPECT_EQ(colour(100), (std::array<uint8_t, 3>{62, 20, 1}));
    }
    EXPECT_EQ(shown.size(), frame);
    sc::starpass();
    ASSERT_EQ(shown.size(), frame + 1);
    EXPECT_EQ(shown.back().size(), 640u * 480);
    EXPECT_EQ(shown.back()[240 * 640 + 320], 255);
    EXPECT_EQ(changed(), 0u);
    EXPECT_EQ(sc::starindex, 1u);
    angles.push_back(sc::starangle);
  }
  EXPECT_EQ(angles, (std::vector<float>{360.0f, 0.0f, 1.0f}));
}

}  // namespace
