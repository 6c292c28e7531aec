// typeface: the skeletons of the letters, figures and a few signs.
//
// A geometric sans: round letters are ellipses, the diagonals of A, K, M,
// N, V, W, X, Y and Z run corner to corner, the small letters share one
// bowl (a, b, d, g, p, q) and one arch (h, m, n, r, u). Widths are in em
// (cap height 1); see typeface.h for the lines.
// Depends on: nothing.
#include "assets/pictures/typeface.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace assets {

namespace {

constexpr float pi = 3.14159265358979f;
constexpr float X = xheight;
constexpr float D = descender;

// ---- tracing strokes -------------------------------------------------------

// Starts a new stroke at (x, y).
void start(tglyph& g, float x, float y) { g.strokes.push_back({{x, y}}); }

void line(tglyph& g, float x, float y) { g.strokes.back().push_back({x, y}); }

// A polyline as a stroke of its own.
void path(tglyph& g, std::initializer_list<tpoint> points) { g.strokes.emplace_back(points); }

// A dot: a stroke of one point, inked as a disc of the pen.
void dot(tglyph& g, float x, float y) { g.strokes.push_back({{x, y}}); }

// Continues the current stroke along the ellipse round (cx, cy) from angle
// a0 to a1 (degrees, counter-clockwise from the right; a1 < a0 runs
// clockwise). The first point of the arc is joined to the stroke so far.
void arc(tglyph& g, float cx, float cy, float rx, float ry, float a0, float a1) {
  const int32_t steps = std::max(4, static_cast<int32_t>(std::fabs(a1 - a0) / 5.0f));
  for (int32_t i = 0; i <= steps; ++i) {
    float a = (a0 + (a1 - a0) * static_cast<float>(i) / static_cast<float>(steps)) * pi / 180.0f;
    g.strokes.back().push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
  }
}

// An arc as a stroke of its own.
void newarc(tglyph& g, float cx, float cy, float rx, float ry, float a0, float a1) {
  g.strokes.emplace_back();
  arc(g, cx, cy, rx, ry, a0, a1);
}

// Continues the current stroke along a cubic curve to p with controls c1, c2.
void curve(tglyph& g, tpoint c1, tpoint c2, tpoint p) {
  const tpoint p0 = g.strokes.back().back();
  for (int32_t i = 1; i <= 16; ++i) {
    float t = static_cast<float>(i) / 16.0f, u = 1.0f - t;
    float a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    g.strokes.back().push_back({a * p0.x + b * c1.x + c * c2.x + d * p.x, a * p0.y + b * c1.y + c * c2.y + d * p.y});
  }
}

// ---- the shared parts of the small letters -------------------------------

constexpr float bowl = 0.6f;  // width of the round bowl of a, b, d, g, p, q, o

void bowlat(tglyph& g, float left) { newarc(g, left + bowl / 2, X / 2, bowl / 2, X / 2, 0.0f, 360.0f); }

// An arch from the stem at `left` over to a stem `width` further right,
// which runs down to the baseline.
void archat(tglyph& g, float left, float width) {
  const float r = width / 2, top = X - r * 1.1f;
  start(g, left, top);
  arc(g, left + r, top, r, r * 1.1f, 180.0f, 0.0f);
  line(g, left + width, 0.0f);
}

// ---- the letter set --------------------------------------------------------

using tset = std::array<tglyph, 128>;

void capitals(tset& s) {
  tglyph* g;
  g = &s['A'], g->width = 0.74f;
  path(*g, {{0, 0}, {0.37f, 1}, {0.74f, 0}});
  path(*g, {{0.12f, 0.32f}, {0.62f, 0.32f}});
  g = &s['B'], g->width = 0.56f;
  start(*g, 0, 0.54f), line(*g, 0.28f, 0.54f), arc(*g, 0.28f, 0.77f, 0.24f, 0.23f, -90, 90), line(*g, 0, 1);
  line(*g, 0, 0), line(*g, 0.3f, 0), arc(*g, 0.3f, 0.27f, 0.26f, 0.27f, -90, 90), line(*g, 0.28f, 0.54f);
  g = &s['C'], g->width = 0.66f, g->tuckleft = 0.04f;
  newarc(*g, 0.37f, 0.5f, 0.37f, 0.5f, 42, 318);
  g = &s['D'], g->width = 0.66f, g->tuckright = 0.04f;
  start(*g, 0, 0), line(*g, 0, 1), line(*g, 0.2f, 1), arc(*g, 0.2f, 0.5f, 0.46f, 0.5f, 90, -90), line(*g, 0, 0);
  g = &s['E'], g->width = 0.5f;
  path(*g, {{0.5f, 1}, {0, 1}, {0, 0}, {0.5f, 0}});
  path(*g, {{0, 0.52f}, {0.42f, 0.52f}});
  g = &s['F'], g->width = 0.48f;
  path(*g, {{0.48f, 1}, {0, 1}, {0, 0}});
  path(*g, {{0, 0.52f}, {0.4f, 0.52f}});
  g = &s['G'], g->width = 0.74f, g->tuckleft = 0.04f;
  newarc(*g, 0.37f, 0.5f, 0.37f, 0.5f, 42, 360), line(*g, 0.44f, 0.5f);
  g = &s['H'], g->width = 0.6f;
  path(*g, {{0, 0}, {0, 1}});
  path(*g, {{0.6f, 0}, {0.6f, 1}});
  path(*g, {{0, 0.52f}, {0.6f, 0.52f}});
  g = &s['I'], g->width = 0.0f;
  path(*g, {{0, 0}, {0, 1}});
  g = &s['J'], g->width = 0.46f;
  start(*g, 0.46f, 1), line(*g, 0.46f, 0.26f), arc(*g, 0.23f, 0.26f, 0.23f, 0.26f, 0, -180);
  g = &s['K'], g->width = 0.58f;
  path(*g, {{0, 0}, {0, 1}});
  path(*g, {{0.58f, 1}, {0, 0.36f}});
  path(*g, {{0.2f, 0.57f}, {0.6f, 0}});
  g = &s['L'], g->width = 0.46f;
  path(*g, {{0, 1}, {0, 0}, {0.46f, 0}});
  g = &s['M'], g->width = 0.82f;
  path(*g, {{0, 0}, {0, 1}, {0.41f, 0.12f}, {0.82f, 1}, {0.82f, 0}});
  g = &s['N'], g->width = 0.64f;
  path(*g, {{0, 0}, {0, 1}, {0.64f, 0}, {0.64f, 1}});
  g = &s['O'], g->width = 0.8f, g->tuckleft = g->tuckright = 0.04f;
  newarc(*g, 0.4f, 0.5f, 0.4f, 0.5f, 0, 360);
  g = &s['P'], g->width = 0.54f;
  start(*g, 0, 0), line(*g, 0, 1), line(*g, 0.28f, 1), arc(*g, 0.28f, 0.73f, 0.26f, 0.27f, 90, -90), line(*g, 0, 0.46f);
  g = &s['Q'], g->width = 0.86f, g->tuckleft = 0.04f;
  newarc(*g, 0.4f, 0.5f, 0.4f, 0.5f, 0, 360);
  path(*g, {{0.46f, 0.3f}, {0.86f, 0.0f}});
  g = &s['R'], g->width = 0.56f;
  start(*g, 0, 0), line(*g, 0, 1), line(*g, 0.28f, 1), arc(*g, 0.28f, 0.73f, 0.26f, 0.27f, 90, -90), line(*g, 0, 0.46f);
  path(*g, {{0.26f, 0.46f}, {0.56f, 0}});
  g = &s['S'], g->width = 0.56f;
  newarc(*g, 0.27f, 0.75f, 0.25f, 0.25f, 28, 270), arc(*g, 0.29f, 0.25f, 0.27f, 0.25f, 90, -152);
  g = &s['T'], g->width = 0.6f;
  path(*g, {{0, 1}, {0.6f, 1}});
  path(*g, {{0.3f, 1}, {0.3f, 0}});
  g = &s['U'], g->width = 0.6f;
  start(*g, 0, 1), line(*g, 0, 0.3f), arc(*g, 0.3f, 0.3f, 0.3f, 0.3f, 180, 360), line(*g, 0.6f, 1);
  g = &s['V'], g->width = 0.7f;
  path(*g, {{0, 1}, {0.35f, 0}, {0.7f, 1}});
  g = &s['W'], g->width = 1.0f;
  path(*g, {{0, 1}, {0.25f, 0}, {0.5f, 0.82f}, {0.75f, 0}, {1.0f, 1}});
  g = &s['X'], g->width = 0.62f;
  path(*g, {{0, 1}, {0.62f, 0}});
  path(*g, {{0, 0}, {0.62f, 1}});
  g = &s['Y'], g->width = 0.66f;
  path(*g, {{0, 1}, {0.33f, 0.48f}, {0.66f, 1}});
  path(*g, {{0.33f, 0.48f}, {0.33f, 0}});
  g = &s['Z'], g->width = 0.56f;
  path(*g, {{0, 1}, {0.56f, 1}, {0, 0}, {0.56f, 0}});
}

void smallletters(tset& s) {
  tglyph* g;
  g = &s['a'], g->width = bowl, g->tuckleft = 0.03f;
  bowlat(*g, 0), path(*g, {{bowl, X}, {bowl, 0}});
  g = &s['b'], g->width = bowl, g->tuckright = 0.03f;
  bowlat(*g, 0), path(*g, {{0, 1}, {0, 0}});
  g = &s['c'], g->width = 0.54f, g->tuckleft = 0.03f;
  newarc(*g, 0.3f, X / 2, 0.3f, X / 2, 45, 315);
  g = &s['d'], g->width = bowl, g->tuckleft = 0.03f;
  bowlat(*g, 0), path(*g, {{bowl, 1}, {bowl, 0}});
  g = &s['e'], g->width = bowl, g->tuckleft = 0.03f;
  start(*g, 0, 0.36f), line(*g, bowl, 0.36f);
  arc(*g, bowl / 2, X / 2, bowl / 2, X / 2, 6, 320);
  g = &s['f'], g->width = 0.42f;
  start(*g, 0.44f, 0.93f), arc(*g, 0.32f, 0.8f, 0.18f, 0.2f, 45, 180), line(*g, 0.14f, 0);
  path(*g, {{0, X}, {0.38f, X}});
  g = &s['g'], g->width = bowl, g->tuckleft = 0.03f;
  bowlat(*g, 0);
  start(*g, bowl, X), line(*g, bowl, -0.04f), arc(*g, bowl / 2, -0.04f, bowl / 2, 0.24f, 0, -150);
  g = &s['h'], g->width = 0.56f;
  path(*g, {{0, 1}, {0, 0}}), archat(*g, 0, 0.56f);
  g = &s['i'], g->width = 0.0f;
  path(*g, {{0, X}, {0, 0}}), dot(*g, 0, 0.92f);
  g = &s['j'], g->width = 0.18f;
  start(*g, 0.18f, X), line(*g, 0.18f, -0.1f), arc(*g, 0.0f, -0.1f, 0.18f, 0.18f, 0, -90);
  dot(*g, 0.18f, 0.92f);
  g = &s['k'], g->width = 0.52f;
  path(*g, {{0, 1}, {0, 0}});
  path(*g, {{0.5f, X}, {0, 0.22f}});
  path(*g, {{0.16f, 0.38f}, {0.54f, 0}});
  g = &s['l'], g->width = 0.0f;
  path(*g, {{0, 1}, {0, 0}});
  g = &s['m'], g->width = 0.9f;
  path(*g, {{0, X}, {0, 0}}), archat(*g, 0, 0.45f), archat(*g, 0.45f, 0.45f);
  g = &s['n'], g->width = 0.56f;
  path(*g, {{0, X}, {0, 0}}), archat(*g, 0, 0.56f);
  g = &s['o'], g->width = 0.64f, g->tuckleft = g->tuckright = 0.03f;
  newarc(*g, 0.32f, X / 2, 0.32f, X / 2, 0, 360);
  g = &s['p'], g->width = bowl, g->tuckright = 0.03f;
  bowlat(*g, 0), path(*g, {{0, X}, {0, D}});
  g = &s['q'], g->width = bowl, g->tuckleft = 0.03f;
  bowlat(*g, 0), path(*g, {{bowl, X}, {bowl, D}});
  g = &s['r'], g->width = 0.38f;
  path(*g, {{0, X}, {0, 0}});
  start(*g, 0, 0.36f), arc(*g, 0.32f, 0.36f, 0.32f, 0.32f, 180, 75);
  g = &s['s'], g->width = 0.48f;
  newarc(*g, 0.23f, 0.51f, 0.21f, 0.17f, 30, 270), arc(*g, 0.25f, 0.17f, 0.23f, 0.17f, 90, -150);
  g = &s['t'], g->width = 0.38f;
  start(*g, 0.14f, 0.9f), line(*g, 0.14f, 0.16f), arc(*g, 0.32f, 0.16f, 0.18f, 0.16f, 180, 300);
  path(*g, {{0, X}, {0.38f, X}});
  g = &s['u'], g->width = 0.56f;
  start(*g, 0, X), line(*g, 0, 0.28f), arc(*g, 0.28f, 0.28f, 0.28f, 0.28f, 180, 360);
  path(*g, {{0.56f, X}, {0.56f, 0}});
  g = &s['v'], g->width = 0.58f;
  path(*g, {{0, X}, {0.29f, 0}, {0.58f, X}});
  g = &s['w'], g->width = 0.86f;
  path(*g, {{0, X}, {0.215f, 0}, {0.43f, 0.56f}, {0.645f, 0}, {0.86f, X}});
  g = &s['x'], g->width = 0.54f;
  path(*g, {{0, X}, {0.54f, 0}});
  path(*g, {{0, 0}, {0.54f, X}});
  g = &s['y'], g->width = 0.6f;
  path(*g, {{0, X}, {0.31f, 0.02f}});
  path(*g, {{0.6f, X}, {0.16f, D}});
  g = &s['z'], g->width = 0.5f;
  path(*g, {{0, X}, {0.5f, X}, {0, 0}, {0.5f, 0}});
}

void figures(tset& s) {
  tglyph* g;
  g = &s['0'], g->width = 0.6f;
  newarc(*g, 0.3f, 0.5f, 0.3f, 0.5f, 0, 360);
  g = &s['1'], g->width = 0.34f;
  path(*g, {{0, 0.78f}, {0.34f, 1}, {0.34f, 0}});
  g = &s['2'], g->width = 0.58f;
  newarc(*g, 0.29f, 0.71f, 0.28f, 0.29f, 158, -36), line(*g, 0, 0), line(*g, 0.58f, 0);
  g = &s['3'], g->width = 0.56f;
  newarc(*g, 0.27f, 0.76f, 0.26f, 0.24f, 150, -90), arc(*g, 0.27f, 0.26f, 0.29f, 0.26f, 90, -150);
  g = &s['4'], g->width = 0.62f;
  path(*g, {{0.46f, 0}, {0.46f, 1}, {0, 0.3f}, {0.62f, 0.3f}});
  g = &s['5'], g->width = 0.56f;
  start(*g, 0.54f, 1), line(*g, 0.06f, 1), line(*g, 0.03f, 0.54f);
  arc(*g, 0.27f, 0.32f, 0.29f, 0.32f, 132, -150);
  g = &s['6'], g->width = 0.58f;
  newarc(*g, 0.29f, 0.3f, 0.29f, 0.3f, 0, 360);
  start(*g, 0.0f, 0.34f), curve(*g, {0.0f, 0.8f}, {0.2f, 1.0f}, {0.5f, 1.0f});
  g = &s['7'], g->width = 0.56f;
  path(*g, {{0, 1}, {0.56f, 1}, {0.16f, 0}});
  g = &s['8'], g->width = 0.58f;
  newarc(*g, 0.29f, 0.76f, 0.25f, 0.24f, 0, 360);
  newarc(*g, 0.29f, 0.26f, 0.29f, 0.26f, 0, 360);
  g = &s['9'], g->width = 0.58f;
  newarc(*g, 0.29f, 0.7f, 0.29f, 0.3f, 0, 360);
  start(*g, 0.58f, 0.66f), curve(*g, {0.58f, 0.2f}, {0.38f, 0.0f}, {0.08f, 0.0f});
}

void signs(tset& s) {
  tglyph* g;
  s[' '].width = 0.2f;
  g = &s[','], g->width = 0.06f;
  path(*g, {{0.06f, 0.06f}, {-0.02f, -0.16f}});
  g = &s['.'], g->width = 0.0f;
  dot(*g, 0, 0);
  g = &s['!'], g->width = 0.0f;
  path(*g, {{0, 1}, {0, 0.3f}}), dot(*g, 0, 0);
  g = &s['?'], g->width = 0.48f;
  newarc(*g, 0.24f, 0.74f, 0.24f, 0.26f, 160, -60), line(*g, 0.24f, 0.3f), dot(*g, 0.24f, 0);
  g = &s['\''], g->width = 0.0f;
  path(*g, {{0, 1}, {0, 0.72f}});
  g = &s['-'], g->width = 0.3f;
  path(*g, {{0, 0.4f}, {0.3f, 0.4f}});
  g = &s[':'], g->width = 0.0f;
  dot(*g, 0, 0), dot(*g, 0, X * 0.9f);
}

const tset& letterset() {
  static const tset set = [] {
    tset s;
    capitals(s);
    smallletters(s);
    figures(s);
    signs(s);
    return s;
  }();
  return set;
}

}  // namespace

const tglyph* glyphof(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  if (u >= 128) return nullptr;
  const tglyph& g = letterset()[u];
  if (g.strokes.empty() && c != ' ') return nullptr;
  return &g;
}

float kerning(char a, char b) {
  // Pairs whose shapes leave a hole between them; the rest are spaced by
  // their side bearings alone.
  struct tpair {
    char a, b;
    float kern;
  };
  static const tpair pairs[] = {
      {'A', 'T', -0.1f}, {'T', 'A', -0.1f}, {'A', 'V', -0.1f}, {'V', 'A', -0.1f}, {'A', 'W', -0.08f},
      {'W', 'A', -0.08f}, {'A', 'Y', -0.1f}, {'Y', 'A', -0.1f}, {'L', 'T', -0.12f}, {'L', 'V', -0.1f},
      {'L', 'Y', -0.1f}, {'P', 'A', -0.08f}, {'R', 'A', -0.03f}, {'F', 'A', -0.06f}, {'T', 'o', -0.1f},
      {'T', 'e', -0.1f}, {'T', 'a', -0.1f}, {'V', 'o', -0.06f}, {'r', ',', -0.1f}, {'r', '.', -0.1f},
      {'y', ',', -0.06f}, {'y', '.', -0.06f}, {'r', 'a', -0.03f}, {'v', 'e', -0.02f}, {'e', 'v', -0.02f},
      {'r', 'y', 0.02f},  {'r', 't', 0.02f},
  };
  for (const tpair& p : pairs)
    if (p.a == a && p.b == b) return p.kern;
  return 0.0f;
}

}  // namespace assets
