// typeface: the letter set of the default artwork, drawn for large sizes.
//
// Every glyph is a skeleton of strokes (straight runs, elliptic arcs and
// cubic curves) traced by a round pen, so a glyph has real diagonals and
// curves at any size and any weight. Skeleton coordinates are in em units:
// y = 0 is the baseline, 1 the cap height and the ascender, `xheight` the top
// of the small letters and `descender` (negative) the bottom of p, q, y, g.
// x runs from 0 to the glyph's width. The skeleton is later set inside the
// pen's half width, so the ink of any weight touches the same lines.
// Depends on: nothing.
#pragma once

#include <cstdint>
#include <vector>

namespace assets {

inline constexpr float xheight = 0.68f;
inline constexpr float descender = -0.28f;

struct tpoint {
  float x, y;
};

// One glyph: the width of its skeleton, its strokes flattened into
// polylines (a polyline of one point is a dot), and how much closer than
// the usual gap it stands to its neighbours on the left and on the right
// (round sides look further away than straight ones).
struct tglyph {
  float width = 0.0f;
  std::vector<std::vector<tpoint>> strokes;
  float tuckleft = 0.0f, tuckright = 0.0f;
};

// The glyph for a character, or nullptr when the set has none (the space
// has a glyph without strokes).
const tglyph* glyphof(char c);

// Extra space (negative: less) between the ink of a and b, in em.
float kerning(char a, char b);

}  // namespace assets
