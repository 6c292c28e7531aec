// The letter set and the lines the pictures show: letters that exist, read
// as themselves at the sizes they are drawn, keep apart, and land in the
// pictures.
#include <gtest/gtest.h>

#include <cmath>

#include "assets/assets.h"
#include "assets/pictures/lettering.h"
#include "assets/pictures/words.h"

namespace assets {
namespace {

struct tpicture {
  const char* stem;
  int32_t width, height;
  int32_t background;  // -1: the letters are not a layer of their own
};

const tpicture withwords[] = {{"qelm1", 100, 30, 4},     {"corporat", 100, 30, 53}, {"presents", 100, 30, 15},
                              {"proudly", 100, 30, 15},  {"morvpic", 640, 480, -1}, {"text", 320, 200, 116},
                              {"scroll2", 320, 200, -1}, {"counter", 200, 30, 5}};

// The ink of one glyph of a line, at the picture's resolution.
tfield glyphink(const tpicture& p, const tline& line, const tplaced& g) {
  tfield f = makefield(p.width, p.height);
  inkglyph(f, line, g, 1.0f);
  return f;
}

// Runs of inked pixels (coverage above a half) along row y, as [first, last].
std::vector<std::pair<int32_t, int32_t>> inkruns(const tfield& f, int32_t y) {
  std::vector<std::pair<int32_t, int32_t>> runs;
  for (int32_t x = 0; x < f.width; ++x) {
    if (at(f, x, y) <= 0.5f) continue;
    if (!runs.empty() && runs.back().second == x - 1)
      runs.back().second = x;
    else
      runs.push_back({x, x});
  }
  return runs;
}

TEST(Words, EveryLetterExistsAndInks) {
  for (const tpicture& p : withwords) {
    const std::vector<tline> lines = wordsof(p.stem);
    ASSERT_FALSE(lines.empty()) << p.stem;
    for (const tline& line : lines)
      for (const tplaced& g : layoutline(line)) {
        if (g.c == ' ') continue;
        ASSERT_NE(g.glyph, nullptr) << p.stem << ": no glyph for '" << g.c << "'";
        tfield f = glyphink(p, line, g);
        float ink = 0;
        for (float v : f.value) ink += v;
        EXPECT_GT(ink, 4.0f) << p.stem << " '" << g.c << "'";
      }
  }
}

TEST(Words, TheDiagonalOfEveryNIsTwoPixelsAndApartFromItsStems) {
  size_t seen = 0;
  for (const tpicture& p : withwords)
    for (const tline& line : wordsof(p.stem))
      for (const tplaced& g : layoutline(line)) {
        if (g.c != 'N') continue;
        ++seen;
        tfield f = glyphink(p, line, g);
        const float middle = line.top + line.type.cap * 0.5f;
        for (int32_t y = static_cast<int32_t>(middle) - 1; y <= static_cast<int32_t>(middle) + 1; ++y) {
          if (std::fabs(y + 0.5f - middle) > 1.0f) continue;
          // Stem, diagonal, stem: an N, not an H or a block.
          auto runs = inkruns(f, y);
          ASSERT_EQ(runs.size(), 3u) << p.stem << " \"" << line.text << "\" row " << y;
          EXPECT_GE(runs[1].second - runs[1].first + 1, 2) << p.stem << " \"" << line.text << "\" row " << y;
        }
      }
  EXPECT_GE(seen, 4u);  // CORPORATION, both MORVANTAs, GREETINGS
}

TEST(Words, NeighbouringLettersNeverTouch) {
  for (const tpicture& p : withwords)
    for (const tline& line : wordsof(p.stem)) {
      const std::vector<tplaced> placed = layoutline(line);
      for (size_t i = 1; i < placed.size(); ++i) {
        if (placed[i - 1].c == ' ' || placed[i].c == ' ') continue;
        tfield left = glyphink(p, line, placed[i - 1]), right = glyphink(p, line, placed[i]);
        for (int32_t y = 0; y < p.height; ++y) {
          auto a = inkruns(left, y), b = inkruns(right, y);
          if (a.empty() || b.empty()) continue;
          // At least one clear pixel between them on every row.
          EXPECT_GE(b.front().first - a.back().second, 2)
              << p.stem << " \"" << placed[i - 1].c << placed[i].c << "\" row " << y;
        }
      }
    }
}

TEST(Words, CapitalsStayDistinctAtTheSmallestLogoSize) {
  const tline logo = corporatword();
  const std::string capitals = "ACEHILMNOPQRTVW";
  std::vector<tfield> ink;
  for (char c : capitals) {
    tfield f = makefield(40, 30);
    inkline(f, {std::string(1, c), 20.0f, logo.top, logo.type}, 1.0f);
    ink.push_back(f);
  }
  for (size_t a = 0; a < ink.size(); ++a)
    for (size_t b = a + 1; b < ink.size(); ++b) {
      int32_t differ = 0;
      for (size_t i = 0; i < ink[a].value.size(); ++i) differ += (ink[a].value[i] > 0.5f) != (ink[b].value[i] > 0.5f);
      EXPECT_GE(differ, 8) << capitals[a] << " and " << capitals[b] << " look alike";
    }
}

TEST(Words, PicturesPaintWhereTheirLettersInk) {
  const std::vector<tartwork> all = drawpictures();
  for (const tpicture& p : withwords) {
    if (p.background < 0) continue;
    const tartwork* art = nullptr;
    for (const tartwork& a : all)
      if (a.stem == p.stem) art = &a;
    ASSERT_NE(art, nullptr) << p.stem;
    tfield f = makefield(p.width, p.height);
    for (const tline& line : wordsof(p.stem)) inkline(f, line, 1.0f);
    size_t inked = 0;
    for (size_t i = 0; i < f.value.size(); ++i) {
      if (f.value[i] < 0.9f) continue;
      ++inked;
      EXPECT_NE(art->pixels[i], p.background) << p.stem << " at " << i % p.width << "," << i / p.width;
    }
    EXPECT_GT(inked, 100u) << p.stem;
  }
}

TEST(Lettering, FittedLinesTakeTheWidthAskedForWithinReason) {
  for (const char* text : {"MORVANTA", "Wide and narrow"})
    for (float width : {250.0f, 400.0f, 600.0f}) {
      tline line = fitted({text, 160.0f, 10.0f, {30.0f, 5.0f}}, width);
      EXPECT_NEAR(linewidth(line), width, 0.01f) << text;
      const std::vector<tplaced> placed = layoutline(line);
      EXPECT_NEAR(placed.front().left + linewidth(line) * 0.5f, 160.0f, 0.01f) << text;  // still centred
    }
  // Too narrow a width would mirror the letters: they stop at their narrowest.
  tline squeezed = fitted({"MORVANTA", 160.0f, 10.0f, {30.0f, 5.0f}}, 40.0f);
  EXPECT_GT(squeezed.type.condense, 0.0f);
  EXPECT_GT(linewidth(squeezed), 40.0f);
  // A line without width to scale keeps its letters.
  EXPECT_EQ(fitted({"I", 160.0f, 10.0f, {30.0f, 5.0f}}, 100.0f).type.condense, 1.0f);
}

}  // namespace
}  // namespace assets
