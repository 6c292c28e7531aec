// tables: the table building, step by step in its fixed order.
#include "tables/tables.h"

#include <cmath>
#include <cstring>

#include "runtime/runtime.h"
#include "tarngr/tarngr.h"
#include "tools/clouds.h"
#include "tools/plasma.h"
#include "tools/stores.h"

namespace tables {

int8_t randsign[randcount];
uint8_t randbit[randcount];

int32_t polardepth[256], tunneldepth[256], swirldepth[256];
int32_t polarmap[framesize], tunnelmap[framesize], swirlmap[framesize];
int32_t polarshade[framesize], tunnelshade[framesize];

int16_t halfsine[256];
int16_t atancurve[256];
uint8_t sinus63[512];
uint8_t sinus27[256];
int16_t squeezewidth[200];
uint16_t squeezemap[framesize];
int16_t widthramp[200];

int32_t circleofs[256];
int32_t* const circleofsptr = circleofs;
uint8_t circlephase = 0;

tflypixel pixelcloud[framesize];
tpoint3d starfield[pointcount];
tpoint3d cloud1[pointcount];
tvector morphstep[pointcount];
tvector fountainlaunch[450];
tdot driftdots[driftcount];

tpalette polarpal, tunnelpal, swirlpal, scrollpal, bandpal, firepal, teilgrey;
tpalette workpal;

namespace {
using ld = long double;
using runtime::random;
using runtime::randomreal;
using tarnpal::tpalentry;

constexpr ld pi = 3.141592653589793238462643383279502884L;

inline uint8_t byte(int64_t v) { return static_cast<uint8_t>(static_cast<uint64_t>(v)); }

// Entry i := (r, g, b); the spare byte is left alone.
inline void set(tpalette& pal, int i, int64_t r, int64_t g, int64_t b) {
  tpalentry& e = pal.entry[i];
  e.red = byte(r);
  e.green = byte(g);
  e.blue = byte(b);
}

// The bright ramp of the map palettes: 9 at i = 1 up to 102 at i = 64.
inline int64_t ramp(int i) { return runtime::trunc(i * 1.48L + 8); }

// ---- the steps ------------------------------------------------------------------

void randomtables() {
  for (int k = 0; k < randcount; ++k) randsign[k] = static_cast<int8_t>(static_cast<int32_t>(random(3)) - 1);
  for (int k = 0; k < randcount; ++k) randbit[k] = static_cast<uint8_t>(random(2));
}

void polartables() {
  for (int i = 0; i < 256; ++i) polardepth[i] = i;
  buildmap(160, 100, polardepth, false, polarmap, polarshade);
  set(polarpal, 0, 0, 0, 0);
  for (int i = 1; i <= 64; ++i) set(polarpal, i, ramp(i), ramp(i), 0);
  tarngr::mergepal(tools::qelm1pal, 51, polarpal, 64);
  tarngr::mergepal(tools::corporatpal, 70, polarpal, 115);
  tarngr::brighten(tools::qelm1, 64);
  tarngr::brighten(tools::corporat, 115);
  set(polarpal, 255, 0, 0, 0);
}

void tunneltables() {
  for (int i = 0; i < 256; ++i) tunneldepth[i] = 3000 / (i + 1);
  buildmap(160, 100, tunneldepth, false, tunnelmap, tunnelshade);
  set(tunnelpal, 0, 0, 0, 0);
  for (int i = 1; i <= 64; ++i) set(tunnelpal, i, ramp(i), ramp(i), runtime::trunc(i * 1.28L));
  tarngr::mergepal(tools::proudlypal, 16, tunnelpal, 64);
  tarngr::mergepal(tools::presentspal, 16, tunnelpal, 80);
  tarngr::brighten(tools::proudly, 64);
  tarngr::brighten(tools::presents, 80);
}

void stars() {
  for (int n = 1; n < pointcount; ++n) {
    const float x = static_cast<float>((randomreal() - 0.5L) / 2);
    const float y = static_cast<float>((randomreal() - 0.5L) / 2);
    const float z = static_cast<float>(randomreal());
    const uint8_t colour = static_cast<uint8_t>(random(64));
    Eng3D::setpoint(starfield[n], colour, x, y, z);
  }
}

void curves() {
  for (int i = 0; i < 256; ++i) {
    // 3.14, not pi: the last entry comes out 0 as well.
    halfsine[i] = static_cast<int16_t>(runtime::round(std::sin(i * 3.14L / 255) * 256));
    atancurve[i] = static_cast<int16_t>(runtime::round(std::atan(3.0L * i / 255) * 156));
  }
}

void scrolltables() {
  tpalette& sp = tools::scroll1pal;
  workpal = sp;
  for (int i = 1; i <= 20; ++i) sp.entry[i].blue = byte(2 * workpal.entry[i].blue);
  // Entry 20 is rewritten at i = 0 and read again at i = 20.
  for (int i = 0; i <= 20; ++i) {
    const int g = (sp.entry[i].red + 20) >> 1;
    set(sp, 20 + i, g, g, g);
  }
  set(scrollpal, 0, 0, 0, 0);
  for (int i = 1; i <= 20; ++i) {
    const tpalentry& w = workpal.entry[i];
    set(scrollpal, i, w.red + 3, w.green + 3, w.blue + 3);
  }
  for (int i = 0; i <= 20; ++i) {
    const tpalentry e = scrollpal.entry[i];
    set(scrollpal, 20 + i, e.red, e.green + 3, e.blue + 3);
  }
  // The picture is held twice in a row so a 200-row window can start at
  // any row 0..1800 without wrapping.
  tarngr::copydw(tools::scroll1.pixels, tools::scroll1.pixels + 320000, 80000);
}

void morphtables() {
  tools::cubecloud(cloud1);
  static tpoint3d coil[pointcount];
  tools::helixcloud(coil);
  for (int n = 0; n < pointcount; ++n) {
    morphstep[n].x = static_cast<float>((static_cast<ld>(coil[n].x) - cloud1[n].x) / 400);
    morphstep[n].y = static_cast<float>((static_cast<ld>(coil[n].y) - cloud1[n].y) / 400);
    morphstep[n].z = static_cast<float>((static_cast<ld>(coil[n].z) - cloud1[n].z) / 400);
  }
}

void boardtables() {
  tarngr::filldw(tools::work2.pixels, 16000, 0);
  tarngr::brighten(tools::geoboard, 192);
  for (int i = 1; i <= 64; ++i) {
    set(workpal, i, i - 1, 0, 0);
    set(workpal, 64 + i, 63, i - 1, 0);
    set(workpal, 128 + i, 63, 63, i - 1);
  }
  tarngr::mergepal(tools::geoboardpal, 12, workpal, 192);
  set(workpal, 0, 0, 0, 0);
  set(workpal, 192, 0, 0, 0);
  // 205..255 still carry scroll1's palette as loaded.
  tools::geoboardpal = workpal;
  for (int i = 0; i < 256; ++i) {
    const ld t = i * pi / 128;
    const int16_t dy = static_cast<int16_t>(runtime::round(std::cos(t) * 10));
    const int16_t dx = static_cast<int16_t>(runtime::round(std::sin(t) * 10));
    circleofs[i] = dy * 320 + dx;
  }
  circlephase = 0;
  for (int row = 0; row < 200; ++row)
    for (int column = 0; column < 320; ++column) {
      tflypixel& f = pixelcloud[row * 320 + column];
      f.colour = 0;
      f.x = column;
      f.y = row;
      f.dx = static_cast<int8_t>(static_cast<int32_t>(random(4)) - 2);
      f.dy = static_cast<int8_t>(static_cast<int32_t>(random(4)) - 2);
    }
}

void sinustables() {
  for (int i = 0; i < 512; ++i) sinus63[i] = byte(runtime::round(std::sin(i / 40.74L) * 63 + 64));
  for (int i = 0; i < 256; ++i) sinus27[i] = byte(runtime::round(std::sin(i / 40.74L) * 27 + 128));
}

void swirltables() {
  for (int i = 0; i < 256; ++i) swirldepth[i] = -(i / 4);
  buildmap(121, 99, swirldepth, true, swirlmap, nullptr);
  set(swirlpal, 0, 0, 0, 0);
  for (int i = 1; i <= 64; ++i) set(swirlpal, i, 0, 0, ramp(i));
  for (int i = 0; i <= 185; ++i) {
    const tpalentry& e = tools::textpal.entry[i];
    set(swirlpal, 64 + i, e.red, e.green, e.blue);
  }
  tarngr::brighten(tools::text, 64);
}

void fountain() {
  using Eng3D::fountainpos;
  using Eng3D::fountainvel;
  for (uint16_t n = 1; n <= Eng3D::fountaincount; ++n) {
    tools::spawnparticle(n);
    fountainlaunch[n - 1] = tools::launchvelocity();
  }
  // Run it ahead so it is in full flow when its scene starts.
  for (int step = 0; step < 201; ++step)
    for (uint16_t n = 1; n <= Eng3D::fountaincount; ++n) {
      tvector& v = fountainvel[n];
      v.y = static_cast<float>(static_cast<ld>(v.y) + 0.0005L);
      tpoint3d& p = fountainpos[n];
      p.x = p.x + v.x;
      p.y = p.y + v.y;
      p.z = p.z + v.z;
      if (static_cast<ld>(p.y) > 0.3L) tools::spawnparticle(n);
    }
}

void counterpalette() {
  for (int i = 0; i <= 64; ++i) set(workpal, i, 0, 0, i);
  for (int i = 0; i <= 5; ++i) {
    const tpalentry& e = tools::counterpal.entry[i];
    set(workpal, 64 + i, e.red, e.green, e.blue);
  }
  tarngr::brighten(tools::counter, 64);
  tools::counterpal = workpal;
}

void eyepalette() {
  tarngr::brighten(tools::eye1, 16);
  tarngr::mergepal(tools::eye1pal, 239, tools::eye1pal, 16);
  for (int i = 1; i <= 16; ++i) set(tools::eye1pal, i, 4 * i, 4 * i, 4 * i);
  set(tools::eye1pal, 16, 0, 0, 0);
  set(tools::eye1pal, 0, 63, 63, 63);
}

void squeezetables() {
  for (int i = 0; i < 200; ++i)
    squeezewidth[i] = static_cast<int16_t>(
        319 - runtime::round(std::fabs(std::sin(i * 0.015707963267948966192L) * 160)));
  for (int r = 0; r < 200; ++r) {
    const int32_t w = squeezewidth[r];
    const int32_t c = (319 - w) >> 1;
    for (int32_t x = 0; x < 320; ++x)
      squeezemap[r * 320 + x] = static_cast<uint16_t>(static_cast<uint32_t>(r * 320 + c + (x * w) / 320));
  }
}

void teiltables() {
  tarngr::transcolor = 0;
  tarngr::scaleblit(tools::teil, 0, 0, 319, 201, tools::teilfull);
  teilgrey = tools::teilpal;
  for (int i = 0; i <= 64; ++i) set(teilgrey, 38 + i, i, i, i);
  for (int i = 0; i < 200; ++i) widthramp[i] = static_cast<int16_t>(runtime::round(i * 310 / 200.0L + 10));
}

void greyscroll() {
  for (int i = 0; i <= 63; ++i) set(workpal, i, i, i, i);
  greyconvert(tools::scroll2.pixels, framesize, tools::scroll2pal, workpal);
  for (int i = 0; i <= 255; ++i) set(workpal, i, 0, i, i);
  set(workpal, 255, 63, 63, 63);
  set(workpal, 0, 0, 0, 0);
  tools::scroll2pal = workpal;
}

void bandpalette() {
  set(bandpal, 0, 0, 0, 63);
  for (int i = 1; i <= 32; ++i) {
    const int f = (8 * i - 1) / 4, g = (256 - 8 * i) / 4;
    set(bandpal, i, f, f, g);
    set(bandpal, 32 + i, 63, g, 0);
    set(bandpal, 64 + i, g, 0, f);
    set(bandpal, 96 + i, f, f, 63);
    set(bandpal, 128 + i, g, g, 63);
    set(bandpal, 160 + i, f, f, g);
    set(bandpal, 192 + i, 63, 63, f);
    set(bandpal, 223 + i, g, g, 63);  // one early: 224 keeps the previous ramp's last
  }
  set(bandpal, 255, 0, 0, 63);
}

void firepalette() {
  set(firepal, 0, 0, 0, 0);
  for (int m = 0; m <= 84; ++m) {
    const int f = (3 * m + 3) / 4;
    set(firepal, 1 + m, f, 0, 0);
    set(firepal, 86 + m, 63, f, 0);
    set(firepal, 171 + m, 63, 63, f);
  }
  set(firepal, 255, 63, 63, 63);
}

void drift() {
  for (tdot& d : driftdots) {
    d.x = static_cast<uint16_t>(random(319));
    d.y = static_cast<uint8_t>(random(199));
    d.dx = static_cast<int8_t>(static_cast<int32_t>(random(2)) - 1);
    d.dy = static_cast<int8_t>(static_cast<int32_t>(random(2)) - 1);
  }
}
}  // namespace

void buildtables() {
  runtime::randomize();
  randomtables();
  polartables();
  tunneltables();
  stars();
  curves();
  scrolltables();
  morphtables();
  boardtables();
  sinustables();
  swirltables();
  fountain();
  counterpalette();
  eyepalette();
  squeezetables();
  teiltables();
  greyscroll();
  bandpalette();
  firepalette();
  drift();
  tools::plasma(1000);
}

}  // namespace tables
