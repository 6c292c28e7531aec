// Scene 3: the star field over the title picture, shown at 640x480.
//
// The morvpic picture fills screen's whole store (rows of 640 bytes); 450
// stars fly towards the viewer while the field turns about the viewing axis,
// and a star shows only where the morvdat mask is above 3. One loop pass
// handles one star, so the timeline's quit check, music query and end test
// run between any two stars; the 450th star's pass presents the frame and
// puts the picture back under the stars. The timeline clears the palette,
// copies the picture and switches to 640x480 before the set-up.
#include <cmath>
#include <cstdint>

#include "Eng3D/Eng3D.h"
#include "program/scenes/scenes.h"
#include "runtime/runtime.h"
#include "tables/tables.h"
#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"
#include "tools/display.h"
#include "tools/stores.h"

namespace program::scenes {

uint32_t starpasses = 0;
uint32_t starindex = 1;
float starangle = 0.0f;
Eng3D::tpoint3d rotatedstar = {};

namespace {

// The turn of the frame's angle, worked out at its first star for all 450.
Eng3D::trotation starturn;

constexpr uint32_t starcount = 450;
constexpr uint32_t bigwidth = 640;
constexpr uint32_t bigbytes = 640 * 480;

// sx = 320 + Trunc(320 x / z), sy = 240 + Trunc(240 y / z), product first.
// A point practically on the camera plane projects so far out that its
// position would not fit an integer: it is off screen, and not converted.
bool projectbig(const Eng3D::tpoint3d& point, int32_t& sx, int32_t& sy) {
  const long double z = point.z;
  if (!(z > 0)) return false;
  const long double px = 320.0L * static_cast<long double>(point.x) / z;
  const long double py = 240.0L * static_cast<long double>(point.y) / z;
  constexpr long double far = 1e9L;
  if (!(std::fabs(px) < far) || !(std::fabs(py) < far)) return false;
  sx = 320 + static_cast<int32_t>(runtime::trunc(px));
  sy = 240 + static_cast<int32_t>(runtime::trunc(py));
  return true;
}

// A plus sign straight into the 640-wide store; the caller keeps it inside.
void drawplus(int32_t sx, int32_t sy, uint8_t colour) {
  uint8_t* centre = tools::screen.pixels + static_cast<uint32_t>(sy) * bigwidth + static_cast<uint32_t>(sx);
  const uint8_t arm = static_cast<uint8_t>(colour - 10);
  centre[0] = colour;
  centre[-1] = arm;
  centre[1] = arm;
  centre[-static_cast<int32_t>(bigwidth)] = arm;
  centre[bigwidth] = arm;
}

}  // namespace

// ---- scene 3 ---------------------------------------------------------------------------

namespace {

void timelinesetup() {
  tarnpal::clearpalette();
  clearframe(tools::screen);
  tarnpal::clearpalette();
  tarngr::copydw(tools::morvpic.pixels, tools::screen.pixels, bigbytes / 4);
  tools::morvpicpal.entry[0].red = 0;
  tools::morvpicpal.entry[0].green = 0;
  tools::morvpicpal.entry[0].blue = 0;
  tarnpal::clearpalette();
  tarngr::transcolor = 0;
  if (!tools::scaled) tools::openmode(640, 480);
}

}  // namespace

void starsetup() {
  runtime::randomize();
  starpasses = 0;
  starangle = static_cast<float>(runtime::random(360));
  starindex = 1;
}

void starpass() {
  starpasses = starpasses + 1;
  // All 62 steps come before the first frame is shown.
  if (starpasses < 63) tarnpal::fadeto(tools::morvpicpal);

  Eng3D::tpoint3d& star = tables::starfield[starindex];
  Eng3D::movepoint(star, 0.0f, 0.0f, -0.001f);
  if (star.z <= 0.0f) {
    const long double r1 = runtime::randomreal();
    const long double r2 = runtime::randomreal();
    Eng3D::setpoint(star, star.colour, static_cast<float>((r1 - 0.5L) / 2.0L),
                    static_cast<float>((r2 - 0.5L) / 2.0L), 1.0f);
  }
  star.colour = 255;
  if (starindex == 1) starturn = Eng3D::makerotation(0.0f, 0.0f, starangle);
  Eng3D::rotatewith(star, rotatedstar, 0.0f, 0.0f, 0.0f, starturn);

  int32_t sx, sy;
  if (projectbig(rotatedstar, sx, sy) && sx >= 1 && sx <= 638 && sy >= 1 && sy <= 477 &&
      tools::morvdat.pixels[static_cast<uint32_t>(sy) * bigwidth + static_cast<uint32_t>(sx)] > 3)
    drawplus(sx, sy, rotatedstar.colour);

  starindex = starindex + 1;
  if (starindex == starcount + 1) {
    starangle = starangle + 1.0f;
    if (starangle > 360.0f) starangle = 0.0f;
    starindex = 1;
    tools::presentbig();
    // The copy removes the stars for the next frame.
    tarngr::copydw(tools::morvpic.pixels, tools::screen.pixels, bigbytes / 4);
  }
}

const tscene scene03 = {
    .name = "star field",
    .timelinesetup = timelinesetup,
    .setup = starsetup,
    .pass = starpass,
    .query = tquery::beforepresent,
    .end = {.position = 5},
    .presentsitself = true,
};

}  // namespace program::scenes
