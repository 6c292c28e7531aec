// lettering: the show's bitmap font, enlarged smoothly, and painted words.
//
// The font's 8x16 glyphs are blocky; sampled bilinearly between the bit
// centres and cut at half, a step of one bit becomes a slanted edge and a
// corner a small chamfer, which bevels nicely at large sizes.
// Depends on: draw, tools (fontdata).
#include <algorithm>
#include <cmath>

#include "assets/pictures/draw.h"
#include "assets/pictures/lettering.h"
#include "tools/text.h"

namespace assets {

namespace {

// Bit (k, j) of glyph g as 0 or 1; outside the 8x16 cell 0.
float glyphbit(int32_t g, int32_t k, int32_t j) {
  if (k < 0 || k > 7 || j < 0 || j > 15) return 0.0f;
  return (tools::fontdata[static_cast<size_t>(16 * g + j)] >> (7 - k)) & 1 ? 1.0f : 0.0f;
}

}  // namespace

void letters(tfield& f, const std::string& text, float x, float y, float sx, float sy, float advance) {
  for (size_t c = 0; c < text.size(); ++c) {
    int32_t code = static_cast<unsigned char>(text[c]);
    if (code <= 32 || code > 126) continue;
    int32_t g = code - 32;
    float pen = x + advance * static_cast<float>(c);
    int32_t x0 = std::max(0, static_cast<int32_t>(std::floor(pen - sx)));
    int32_t x1 = std::min(f.width - 1, static_cast<int32_t>(std::ceil(pen + 9.0f * sx)));
    int32_t y0 = std::max(0, static_cast<int32_t>(std::floor(y - sy)));
    int32_t y1 = std::min(f.height - 1, static_cast<int32_t>(std::ceil(y + 17.0f * sy)));
    // Half a target pixel in glyph units: the width of the soft edge.
    float soft = 0.5f / std::min(sx, sy);
    for (int32_t py = y0; py <= y1; ++py) {
      float v = (py + 0.5f - y) / sy - 0.5f;
      int32_t j = static_cast<int32_t>(std::floor(v));
      float tv = v - static_cast<float>(j);
      for (int32_t px = x0; px <= x1; ++px) {
        float u = (px + 0.5f - pen) / sx - 0.5f;
        int32_t k = static_cast<int32_t>(std::floor(u));
        float tu = u - static_cast<float>(k);
        float a = glyphbit(g, k, j), b = glyphbit(g, k + 1, j);
        float cc = glyphbit(g, k, j + 1), d = glyphbit(g, k + 1, j + 1);
        float value = mix(mix(a, b, tu), mix(cc, d, tu), tv);
        float cover = smoothstep(0.5f - soft, 0.5f + soft, value);
        float& out = at(f, px, py);
        out = std::max(out, cover);
      }
    }
  }
}

float letterswidth(const std::string& text, float sx, float advance) {
  if (text.empty()) return 0.0f;
  return advance * static_cast<float>(text.size() - 1) + 8.0f * sx;
}

}  // namespace assets

namespace assets {

void centrelines(std::vector<tline>& lines, float width) {
  for (tline& l : lines) l.x = (width - letterswidth(l.text, l.sx, l.advance)) * 0.5f;
}

void paintwords(tcanvas& canvas, const std::vector<tline>& lines, const twordstyle& style, int32_t supersample) {
  const int32_t s = supersample;
  const float fs = static_cast<float>(s);
  const int32_t w = canvas.width * s, h = canvas.height * s;
  tfield mask = makefield(w, h);
  for (const tline& l : lines) letters(mask, l.text, l.x * fs, l.y * fs, l.sx * fs, l.sy * fs, l.advance * fs);
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
      float top = l.y * fs, bottom = (l.y + 12.0f * l.sy) * fs;
      if (y >= top - 2.0f * fs && y <= bottom + 4.0f * l.sy * fs) t = (y + 0.5f - top) / (bottom - top);
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
