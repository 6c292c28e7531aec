// lettering: setting lines in the letter set and painting them.
//
// A glyph's skeleton is fitted inside the pen's half width h: skeleton
// y = 0 lands h above the baseline's ink edge, y = 1 h below the cap
// line's, so every weight fills the same cap height; x is scaled like y
// (times the condensing). Coverage is the pen's disc swept along the
// skeleton: 1 within h of a stroke, fading to 0 over one pixel.
// Depends on: draw, typeface.
#include "assets/pictures/lettering.h"

#include <algorithm>
#include <cmath>

namespace assets {

namespace {

// Narrower than this, letters stop reading as letters.
constexpr float minimumcondense = 0.3f;

struct tmetrics {
  float h;       // half the pen width
  float sx, sy;  // pixels per em of the skeleton
};

tmetrics metricsof(const ttype& type) {
  const float h = type.weight * 0.5f;
  const float sy = type.cap - 2.0f * h;
  return {h, sy * type.condense, sy};
}

float segmentdistance(float px, float py, const tpoint& a, const tpoint& b) {
  float vx = b.x - a.x, vy = b.y - a.y;
  float len2 = vx * vx + vy * vy;
  float t = len2 > 0.0f ? clamp01(((px - a.x) * vx + (py - a.y) * vy) / len2) : 0.0f;
  float dx = px - a.x - t * vx, dy = py - a.y - t * vy;
  return std::sqrt(dx * dx + dy * dy);
}

}  // namespace

std::vector<tplaced> layoutline(const tline& line) {
  const tmetrics m = metricsof(line.type);
  std::vector<tplaced> placed;
  float pen = 0.0f;
  char previous = 0;
  const tglyph* before = nullptr;
  for (char c : line.text) {
    const tglyph* g = glyphof(c);
    const float width = (g ? g->width : 0.0f) * m.sx + 2.0f * m.h;
    if (!placed.empty()) {
      float gap = line.type.spacing * line.type.cap + kerning(previous, c) * m.sx;
      if (before) gap -= before->tuckright * m.sx;
      if (g) gap -= g->tuckleft * m.sx;
      pen += gap;
    }
    placed.push_back({c, g, pen, width});
    pen += width;
    previous = c;
    before = g;
  }
  // Centre the line; snapped letters start on whole pixels.
  const float left = line.centrex - pen * 0.5f;
  for (tplaced& p : placed) {
    p.left += left;
    if (line.type.snap) p.left = std::round(p.left);
  }
  return placed;
}

float linewidth(const tline& line) {
  std::vector<tplaced> placed = layoutline(line);
  if (placed.empty()) return 0.0f;
  return placed.back().left + placed.back().width - placed.front().left;
}

tline fitted(tline line, float width) {
  // The width grows linearly with the condensing: two settings fix the line.
  line.type.condense = 0.0f;
  const float base = linewidth(line);
  line.type.condense = 1.0f;
  const float full = linewidth(line);
  line.type.condense = full > base ? std::max(minimumcondense, (width - base) / (full - base)) : 1.0f;
  return line;
}

void inkglyph(tfield& f, const tline& line, const tplaced& glyph, float scale) {
  if (!glyph.glyph || glyph.glyph->strokes.empty()) return;
  const tmetrics m = metricsof(line.type);
  const float h = m.h * scale;
  // The skeleton in f's pixels.
  std::vector<std::vector<tpoint>> strokes;
  float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
  for (const auto& stroke : glyph.glyph->strokes) {
    strokes.emplace_back();
    for (const tpoint& p : stroke) {
      tpoint q{(glyph.left + m.h + p.x * m.sx) * scale, (line.top + m.h + (1.0f - p.y) * m.sy) * scale};
      strokes.back().push_back(q);
      x0 = std::min(x0, q.x), x1 = std::max(x1, q.x), y0 = std::min(y0, q.y), y1 = std::max(y1, q.y);
    }
  }
  const int32_t left = std::max(0, static_cast<int32_t>(std::floor(x0 - h - 1.0f)));
  const int32_t right = std::min(f.width - 1, static_cast<int32_t>(std::ceil(x1 + h + 1.0f)));
  const int32_t top = std::max(0, static_cast<int32_t>(std::floor(y0 - h - 1.0f)));
  const int32_t bottom = std::min(f.height - 1, static_cast<int32_t>(std::ceil(y1 + h + 1.0f)));
  for (int32_t y = top; y <= bottom; ++y) {
    for (int32_t x = left; x <= right; ++x) {
      const float px = x + 0.5f, py = y + 0.5f;
      float d = 1e9f;
      for (const auto& stroke : strokes) {
        if (stroke.size() == 1) d = std::min(d, segmentdistance(px, py, stroke[0], stroke[0]));
        for (size_t i = 1; i < stroke.size(); ++i) d = std::min(d, segmentdistance(px, py, stroke[i - 1], stroke[i]));
      }
      float& out = at(f, x, y);
      out = std::max(out, clamp01(h - d + 0.5f));
    }
  }
}

void inkline(tfield& f, const tline& line, float scale) {
  for (const tplaced& p : layoutline(line)) inkglyph(f, line, p, scale);
}

void paintwords(tcanvas& canvas, const std::vector<tline>& lines, const twordstyle& style, int32_t supersample) {
  const int32_t s = supersample;
  const float fs = static_cast<float>(s);
  const int32_t w = canvas.width * s, h = canvas.height * s;
  tfield mask = makefield(w, h);
  for (const tline& l : lines) inkline(mask, l, fs);
  tfield lit = bevellight(mask, style.bevel * fs, style.lightx, style.lighty);
  tfield around = distanceto(mask);

  // The shadow is the letters and their outline, moved.
  int32_t shx = static_cast<int32_t>(std::lround(style.shadowx * fs));
  int32_t shy = static_cast<int32_t>(std::lround(style.shadowy * fs));
  bool withshadow = shx != 0 || shy != 0;
  float ring = style.outlinewidth * fs;

  std::vector<tcolour> colour(static_cast<size_t>(w) * h);
  std::vector<uint8_t> painted(static_cast<size_t>(w) * h, 0);
  for (int32_t y = 0; y < h; ++y) {
    // Which line this row belongs to, for the face gradient.
    float t = 0.0f;
    for (const tline& l : lines) {
      float top = l.top * fs, bottom = baselineof(l) * fs, reach = 0.35f * l.type.cap * fs;
      if (y >= top - reach && y <= bottom + reach) t = (y + 0.5f - top) / (bottom - top);
    }
    for (int32_t x = 0; x < w; ++x) {
      size_t i = static_cast<size_t>(y) * w + x;
      if (mask.value[i] > 0.5f) {
        float l = lit.value[i];
        tcolour c = scale(gradient(style.face, t), 0.3f + 0.7f * l);
        float specular = std::pow(clamp01(l - 0.9f) / 0.4f, 2.0f);
        colour[i] = add(c, scale({24, 24, 24}, specular));
        painted[i] = 1;
      } else if (ring > 0.0f && around.value[i] <= ring) {
        colour[i] = style.outline;
        painted[i] = 1;
      } else if (withshadow) {
        int32_t sx = x - shx, sy = y - shy;
        if (sx >= 0 && sy >= 0 && sx < w && sy < h) {
          size_t j = static_cast<size_t>(sy) * w + sx;
          if (mask.value[j] > 0.5f || (ring > 0.0f && around.value[j] <= ring)) {
            colour[i] = style.shadow;
            painted[i] = 1;
          }
        }
      }
    }
  }

  // Average each canvas pixel's painted sub-pixels; half or more painted
  // makes the pixel opaque.
  for (int32_t y = 0; y < canvas.height; ++y) {
    for (int32_t x = 0; x < canvas.width; ++x) {
      tcolour sum;
      int32_t n = 0;
      for (int32_t j = 0; j < s; ++j)
        for (int32_t k = 0; k < s; ++k) {
          size_t i = static_cast<size_t>(y * s + j) * w + (x * s + k);
          if (!painted[i]) continue;
          sum = add(sum, colour[i]);
          ++n;
        }
      if (n * 2 < s * s || n == 0) continue;
      size_t o = static_cast<size_t>(y) * canvas.width + x;
      canvas.colour[o] = scale(sum, 1.0f / static_cast<float>(n));
      canvas.opaque[o] = 1;
    }
  }
}

}  // namespace assets
