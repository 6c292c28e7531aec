// draw: noise, planes, distance fields, ramps and the colour quantizer.
//
// Depends on: assets (tartwork), tarnpal.
#include "assets/pictures/draw.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace assets {

// ---- numbers -------------------------------------------------------------

uint32_t hash32(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352du;
  x ^= x >> 15;
  x *= 0x846ca68bu;
  x ^= x >> 16;
  return x;
}

float hashunit(int32_t x, int32_t y, uint32_t seed) {
  uint32_t h = hash32(static_cast<uint32_t>(x) * 0x9e3779b1u ^ hash32(static_cast<uint32_t>(y) + seed * 0x85ebca77u));
  return static_cast<float>(h >> 8) * (1.0f / 16777216.0f);
}

static int32_t wrapindex(int32_t i, int32_t period) {
  int32_t m = i % period;
  return m < 0 ? m + period : m;
}

float periodicnoise(float x, float y, int32_t periodx, int32_t periody, uint32_t seed) {
  float fx = std::floor(x), fy = std::floor(y);
  int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
  float tx = x - fx, ty = y - fy;
  // Quintic fade: no visible lattice in the slope.
  tx = tx * tx * tx * (tx * (tx * 6.0f - 15.0f) + 10.0f);
  ty = ty * ty * ty * (ty * (ty * 6.0f - 15.0f) + 10.0f);
  int32_t x0 = wrapindex(ix, periodx), x1 = wrapindex(ix + 1, periodx);
  int32_t y0 = wrapindex(iy, periody), y1 = wrapindex(iy + 1, periody);
  float a = hashunit(x0, y0, seed), b = hashunit(x1, y0, seed);
  float c = hashunit(x0, y1, seed), d = hashunit(x1, y1, seed);
  return mix(mix(a, b, tx), mix(c, d, tx), ty);
}

float periodicfbm(float x, float y, int32_t periodx, int32_t periody, uint32_t seed, int32_t octaves) {
  float sum = 0.0f, weight = 1.0f, total = 0.0f;
  for (int32_t o = 0; o < octaves; ++o) {
    sum += weight * periodicnoise(x, y, periodx, periody, seed + static_cast<uint32_t>(o) * 1013u);
    total += weight;
    weight *= 0.5f;
    x *= 2.0f;
    y *= 2.0f;
    periodx *= 2;
    periody *= 2;
  }
  return sum / total;
}

tcolour gradient(const std::vector<tstop>& stops, float t) {
  t = clamp01(t);
  if (t <= stops.front().at) return stops.front().colour;
  for (size_t i = 1; i < stops.size(); ++i) {
    if (t <= stops[i].at) {
      float span = stops[i].at - stops[i - 1].at;
      return mix(stops[i - 1].colour, stops[i].colour, span > 0.0f ? (t - stops[i - 1].at) / span : 1.0f);
    }
  }
  return stops.back().colour;
}

// ---- planes --------------------------------------------------------------

tfield makefield(int32_t width, int32_t height, float value) {
  tfield f;
  f.width = width;
  f.height = height;
  f.value.assign(static_cast<size_t>(width) * height, value);
  return f;
}

tcanvas makecanvas(int32_t width, int32_t height, const tcolour& fill, uint8_t opaque) {
  tcanvas c;
  c.width = width;
  c.height = height;
  c.colour.assign(static_cast<size_t>(width) * height, fill);
  c.opaque.assign(static_cast<size_t>(width) * height, opaque);
  return c;
}

float clampedat(const tfield& f, int32_t x, int32_t y) {
  x = std::clamp(x, 0, f.width - 1);
  y = std::clamp(y, 0, f.height - 1);
  return at(f, x, y);
}

float sample(const tfield& f, float x, float y) {
  float fx = std::floor(x), fy = std::floor(y);
  int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
  float tx = x - fx, ty = y - fy;
  float a = clampedat(f, ix, iy), b = clampedat(f, ix + 1, iy);
  float c = clampedat(f, ix, iy + 1), d = clampedat(f, ix + 1, iy + 1);
  return mix(mix(a, b, tx), mix(c, d, tx), ty);
}

// One line of the squared distance transform: the lower envelope of the
// parabolas rooted at each cell. "Far" is a large finite value so that the
// arithmetic between two far cells stays exact in double.
static constexpr double far = 1.0e10;

static void distanceline(const std::vector<double>& in, std::vector<double>& out, int32_t n, std::vector<int32_t>& v,
                         std::vector<double>& z) {
  int32_t k = 0;
  v[0] = 0;
  z[0] = -1.0e30;
  z[1] = 1.0e30;
  for (int32_t q = 1; q < n; ++q) {
    double s;
    while (true) {
      int32_t p = v[k];
      s = ((in[q] + static_cast<double>(q) * q) - (in[p] + static_cast<double>(p) * p)) / (2.0 * (q - p));
      if (s <= z[k] && k > 0) {
        --k;
        continue;
      }
      break;
    }
    ++k;
    v[k] = q;
    z[k] = s;
    z[k + 1] = 1.0e30;
  }
  k = 0;
  for (int32_t q = 0; q < n; ++q) {
    while (z[k + 1] < static_cast<double>(q)) ++k;
    double d = static_cast<double>(q - v[k]);
    out[q] = d * d + in[v[k]];
  }
}

tfield distanceto(const tfield& mask) {
  int32_t w = mask.width, h = mask.height, n = std::max(w, h);
  tfield d = makefield(w, h);
  std::vector<double> in(n), out(n), z(n + 1), column(static_cast<size_t>(w) * h);
  std::vector<int32_t> v(n);
  for (int32_t x = 0; x < w; ++x) {
    for (int32_t y = 0; y < h; ++y) in[y] = at(mask, x, y) > 0.5f ? 0.0 : far;
    distanceline(in, out, h, v, z);
    for (int32_t y = 0; y < h; ++y) column[static_cast<size_t>(y) * w + x] = std::min(out[y], far);
  }
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) in[x] = column[static_cast<size_t>(y) * w + x];
    distanceline(in, out, w, v, z);
    for (int32_t x = 0; x < w; ++x) at(d, x, y) = out[x] >= far ? 1.0e5f : static_cast<float>(std::sqrt(out[x]));
  }
  return d;
}

void blurfield(tfield& f, int32_t radius, int32_t passes) {
  if (radius <= 0) return;
  std::vector<float> line(std::max(f.width, f.height));
  float norm = 1.0f / static_cast<float>(2 * radius + 1);
  for (int32_t pass = 0; pass < passes; ++pass) {
    for (int32_t y = 0; y < f.height; ++y) {
      for (int32_t x = 0; x < f.width; ++x) {
        float s = 0.0f;
        for (int32_t k = -radius; k <= radius; ++k) s += clampedat(f, x + k, y);
        line[x] = s * norm;
      }
      for (int32_t x = 0; x < f.width; ++x) at(f, x, y) = line[x];
    }
    for (int32_t x = 0; x < f.width; ++x) {
      for (int32_t y = 0; y < f.height; ++y) {
        float s = 0.0f;
        for (int32_t k = -radius; k <= radius; ++k) s += clampedat(f, x, y + k);
        line[y] = s * norm;
      }
      for (int32_t y = 0; y < f.height; ++y) at(f, x, y) = line[y];
    }
  }
}

tfield bevellight(const tfield& mask, float width, float lx, float ly) {
  tfield outside = makefield(mask.width, mask.height);
  for (size_t i = 0; i < mask.value.size(); ++i) outside.value[i] = mask.value[i] > 0.5f ? 0.0f : 1.0f;
  tfield inside = distanceto(outside);
  tfield height = makefield(mask.width, mask.height);
  for (size_t i = 0; i < height.value.size(); ++i) {
    float t = clamp01(inside.value[i] / width);
    height.value[i] = mask.value[i] > 0.5f ? std::sqrt(t * (2.0f - t)) : 0.0f;  // rounded shoulder
  }
  blurfield(height, 1, 1);
  float ll = std::sqrt(lx * lx + ly * ly + 1.0f);
  tfield lit = makefield(mask.width, mask.height);
  for (int32_t y = 0; y < mask.height; ++y) {
    for (int32_t x = 0; x < mask.width; ++x) {
      if (at(mask, x, y) <= 0.5f) continue;
      float gx = (clampedat(height, x + 1, y) - clampedat(height, x - 1, y)) * width * 0.5f;
      float gy = (clampedat(height, x, y + 1) - clampedat(height, x, y - 1)) * width * 0.5f;
      float nl = std::sqrt(gx * gx + gy * gy + 1.0f);
      // Normal (-gx, -gy, 1); light (lx, ly, 1).
      float diffuse = (-gx * lx - gy * ly + 1.0f) / (nl * ll);
      at(lit, x, y) = std::max(0.0f, diffuse) * 1.2f + 0.1f;
    }
  }
  return lit;
}

// ---- palettes ------------------------------------------------------------

static uint8_t component(float v) {
  float r = std::nearbyint(v);
  return static_cast<uint8_t>(std::clamp(r, 0.0f, 63.0f));
}

void rampentries(tartwork& art, uint8_t first, uint32_t count, const std::vector<tstop>& stops) {
  for (uint32_t i = 0; i < count; ++i) {
    float t = count > 1 ? static_cast<float>(i) / static_cast<float>(count - 1) : 0.0f;
    tcolour c = gradient(stops, t);
    tarnpal::tpalentry& e = art.palette.entry[first + i];
    e.red = component(c.r);
    e.green = component(c.g);
    e.blue = component(c.b);
  }
}

namespace {

struct tbin {
  uint8_t c[3];
  uint32_t count;
};

struct tbox {
  size_t begin, end;  // range of bins
};

float weightof(int axis) {
  static const float w[3] = {3.0f, 4.0f, 2.0f};  // rough eye sensitivity
  return w[axis];
}

float distance2(const float* a, const float* b) {
  float d = 0.0f;
  for (int i = 0; i < 3; ++i) {
    float e = a[i] - b[i];
    d += weightof(i) * e * e;
  }
  return d;
}

// Weighted spread of a box along one axis.
float spread(const std::vector<tbin>& bins, const tbox& box, int axis, double* mean) {
  double s = 0, s2 = 0, n = 0;
  for (size_t i = box.begin; i < box.end; ++i) {
    double v = bins[i].c[axis], w = bins[i].count;
    s += v * w;
    s2 += v * v * w;
    n += w;
  }
  double m = s / n;
  if (mean) *mean = m;
  return static_cast<float>((s2 / n - m * m) * n) * weightof(axis);
}

}  // namespace

void quantize(tartwork& art, const tcanvas& canvas, const std::vector<uint8_t>& slots, uint8_t background,
              float dither) {
  static const float bayer[16] = {0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};
  size_t n = static_cast<size_t>(canvas.width) * canvas.height;
  std::vector<uint32_t> key(n, 0);
  std::vector<uint32_t> histogram(1u << 18, 0);
  for (int32_t y = 0; y < canvas.height; ++y) {
    for (int32_t x = 0; x < canvas.width; ++x) {
      size_t i = static_cast<size_t>(y) * canvas.width + x;
      if (!canvas.opaque[i]) continue;
      float d = dither * ((bayer[(y & 3) * 4 + (x & 3)] + 0.5f) / 16.0f - 0.5f);
      const tcolour& c = canvas.colour[i];
      uint32_t k = static_cast<uint32_t>(component(c.r + d)) << 12 | static_cast<uint32_t>(component(c.g + d)) << 6 |
                   component(c.b + d);
      key[i] = k;
      ++histogram[k];
    }
  }
  std::vector<tbin> bins;
  for (uint32_t k = 0; k < histogram.size(); ++k)
    if (histogram[k]) bins.push_back({{static_cast<uint8_t>(k >> 12), static_cast<uint8_t>((k >> 6) & 63), static_cast<uint8_t>(k & 63)}, histogram[k]});

  // Median cut: split the box with the largest weighted spread at its
  // weighted median until every slot has a box.
  std::vector<tbox> boxes;
  if (!bins.empty()) boxes.push_back({0, bins.size()});
  while (boxes.size() < slots.size()) {
    int best = -1, bestaxis = 0;
    float bestspread = 0.0f;
    for (size_t b = 0; b < boxes.size(); ++b) {
      if (boxes[b].end - boxes[b].begin < 2) continue;
      for (int axis = 0; axis < 3; ++axis) {
        float s = spread(bins, boxes[b], axis, nullptr);
        if (s > bestspread) {
          bestspread = s;
          best = static_cast<int>(b);
          bestaxis = axis;
        }
      }
    }
    if (best < 0) break;
    tbox box = boxes[best];
    std::sort(bins.begin() + box.begin, bins.begin() + box.end, [bestaxis](const tbin& a, const tbin& b) {
      if (a.c[bestaxis] != b.c[bestaxis]) return a.c[bestaxis] < b.c[bestaxis];
      return (a.c[0] << 12 | a.c[1] << 6 | a.c[2]) < (b.c[0] << 12 | b.c[1] << 6 | b.c[2]);
    });
    uint64_t total = 0, run = 0;
    for (size_t i = box.begin; i < box.end; ++i) total += bins[i].count;
    size_t cut = box.begin + 1;
    for (size_t i = box.begin; i < box.end - 1; ++i) {
      run += bins[i].count;
      cut = i + 1;
      if (run * 2 >= total) break;
    }
    boxes[best] = {box.begin, cut};
    boxes.push_back({cut, box.end});
  }

  std::vector<std::array<float, 3>> centre(boxes.size());
  for (size_t b = 0; b < boxes.size(); ++b) {
    for (int axis = 0; axis < 3; ++axis) {
      double m = 0;
      spread(bins, boxes[b], axis, &m);
      centre[b][axis] = static_cast<float>(m);
    }
  }
  // A few k-means rounds over the distinct colours.
  std::vector<uint32_t> owner(bins.size(), 0);
  for (int round = 0; round < 6 && !centre.empty(); ++round) {
    std::vector<std::array<double, 4>> sum(centre.size(), {0, 0, 0, 0});
    for (size_t i = 0; i < bins.size(); ++i) {
      float c[3] = {static_cast<float>(bins[i].c[0]), static_cast<float>(bins[i].c[1]), static_cast<float>(bins[i].c[2])};
      float bestd = std::numeric_limits<float>::max();
      for (size_t k = 0; k < centre.size(); ++k) {
        float d = distance2(c, centre[k].data());
        if (d < bestd) {
          bestd = d;
          owner[i] = static_cast<uint32_t>(k);
        }
      }
      for (int axis = 0; axis < 3; ++axis) sum[owner[i]][axis] += c[axis] * static_cast<double>(bins[i].count);
      sum[owner[i]][3] += bins[i].count;
    }
    for (size_t k = 0; k < centre.size(); ++k)
      if (sum[k][3] > 0)
        for (int axis = 0; axis < 3; ++axis) centre[k][axis] = static_cast<float>(sum[k][axis] / sum[k][3]);
  }

  // Round to palette colours, order dark to bright, and write the slots.
  std::vector<std::array<float, 3>> colours;
  for (const auto& c : centre) colours.push_back({static_cast<float>(component(c[0])), static_cast<float>(component(c[1])), static_cast<float>(component(c[2]))});
  std::sort(colours.begin(), colours.end(), [](const std::array<float, 3>& a, const std::array<float, 3>& b) {
    float la = 3 * a[0] + 4 * a[1] + 2 * a[2], lb = 3 * b[0] + 4 * b[1] + 2 * b[2];
    if (la != lb) return la < lb;
    return a < b;
  });
  if (colours.empty()) colours.push_back({0, 0, 0});
  for (size_t s = 0; s < slots.size(); ++s) {
    const auto& c = colours[std::min(s, colours.size() - 1)];
    tarnpal::tpalentry& e = art.palette.entry[slots[s]];
    e.red = static_cast<uint8_t>(c[0]);
    e.green = static_cast<uint8_t>(c[1]);
    e.blue = static_cast<uint8_t>(c[2]);
  }

  // Each distinct colour goes to its nearest palette colour.
  std::vector<uint8_t> lookup(1u << 18, background);
  for (const tbin& bin : bins) {
    float c[3] = {static_cast<float>(bin.c[0]), static_cast<float>(bin.c[1]), static_cast<float>(bin.c[2])};
    float bestd = std::numeric_limits<float>::max();
    uint8_t best = slots.empty() ? background : slots[0];
    for (size_t s = 0; s < std::min(slots.size(), colours.size()); ++s) {
      float d = distance2(c, colours[s].data());
      if (d < bestd) {
        bestd = d;
        best = slots[s];
      }
    }
    lookup[static_cast<uint32_t>(bin.c[0]) << 12 | static_cast<uint32_t>(bin.c[1]) << 6 | bin.c[2]] = best;
  }
  art.pixels.assign(n, background);
  for (size_t i = 0; i < n; ++i)
    if (canvas.opaque[i]) art.pixels[i] = lookup[key[i]];
}

std::vector<uint8_t> slotrange(uint8_t first, uint8_t last, int32_t skip) {
  std::vector<uint8_t> s;
  for (uint32_t i = first; i <= last; ++i)
    if (static_cast<int32_t>(i) != skip) s.push_back(static_cast<uint8_t>(i));
  return s;
}

tartwork makeartwork(const std::string& stem, uint16_t width, uint16_t height, uint8_t colors) {
  tartwork art;
  art.stem = stem;
  art.width = width;
  art.height = height;
  art.colors = colors;
  art.pixels.assign(static_cast<size_t>(width) * height, 0);
  return art;
}

}  // namespace assets
