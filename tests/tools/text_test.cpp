// The built-in font's layout rules, and how drawtext puts it on a bitmap.
#include "tools/text.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <set>
#include <string>

#include "support/canvas.h"

namespace {

using testsupport::tcanvas;
using tools::fontdata;

const uint8_t* glyph(char c) { return fontdata + (static_cast<unsigned char>(c) - 32) * 16; }
bool inked(char c, int row) { return glyph(c)[row] != 0; }
bool ink(char c, int k, int j) { return (glyph(c)[j] >> (7 - k)) & 1; }

// ---- the font --------------------------------------------------------------

TEST(Font, TellingGlyphsAreExact) {
  const std::array<std::pair<char, std::array<uint8_t, 16>>, 5> telling = {{
      {' ', {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {'A', {0x3c, 0x7e, 0xe7, 0xe7, 0xe7, 0xff, 0xff, 0xe7, 0xe7, 0xe7, 0xe7, 0xe7, 0, 0, 0, 0}},
      {'0', {0x3c, 0x7e, 0xe7, 0xe7, 0xe7, 0xef, 0xff, 0xf7, 0xe7, 0xe7, 0x7e, 0x3c, 0, 0, 0, 0}},
      {'g', {0, 0, 0, 0, 0x3c, 0x7e, 0xe7, 0xe7, 0xe7, 0x7f, 0x3f, 0x07, 0x7e, 0x7c, 0, 0}},
      {'~', {0x70, 0xf9, 0xff, 0x9f, 0x0e, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
  }};
  for (const auto& [c, rows] : telling)
    for (int j = 0; j < 16; ++j) EXPECT_EQ(glyph(c)[j], rows[j]) << "'" << c << "' row " << j;
}

TEST(Font, RowsFourteenAndFifteenAreBlankAndOnlyDescendersReachBelowTheBaseline) {
  const std::string descenders = ",;Qgjpqy";
  for (int code = 32; code <= 126; ++code) {
    const char c = static_cast<char>(code);
    EXPECT_FALSE(inked(c, 14) || inked(c, 15)) << "'" << c << "'";
    const bool below = inked(c, 12) || inked(c, 13);
    EXPECT_EQ(below, descenders.find(c) != std::string::npos) << "'" << c << "'";
  }
}

TEST(Font, CapitalsDigitsAndLowerCaseSitOnTheirLines) {
  // Capitals and digits fill rows 0-11; lower case without ascenders rows 4-11.
  for (char c = 'A'; c <= 'Z'; ++c) EXPECT_TRUE(inked(c, 0) && inked(c, 11)) << c;
  for (char c = '0'; c <= '9'; ++c) EXPECT_TRUE(inked(c, 0) && inked(c, 11)) << c;
  for (char c : std::string("acegmnopqrsuvwxyz")) {
    for (int j = 0; j < 4; ++j) EXPECT_FALSE(inked(c, j)) << c << " row " << j;
    EXPECT_TRUE(inked(c, 4) && inked(c, 11)) << c;
  }
  for (char c : std::string("bdfhkl")) EXPECT_TRUE(inked(c, 0)) << c << " has an ascender";
}

TEST(Font, EveryGlyphButSpaceIsInkedAndNoTwoAreAlike) {
  std::set<std::string> seen;
  for (int code = 32; code <= 126; ++code) {
    const std::string rows(reinterpret_cast<const char*>(glyph(static_cast<char>(code))), 16);
    if (code != ' ') {
      EXPECT_NE(rows, std::string(16, '\0')) << "code " << code;
    }
    EXPECT_TRUE(seen.insert(rows).second) << "code " << code << " repeats an earlier glyph";
  }
}

// ---- drawtext ----------------------------------------------------------------

TEST(DrawText, ScaleTwoTurnsEachInkedPixelIntoATwoByTwoBlock) {
  tcanvas cv(64, 48, 9);
  tools::drawtext(cv.bm, 10, 6, "A", 2, 15, 3);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) {
      const int k = (x - 10) >> 1, j = (y - 6) >> 1;
      const bool in = x >= 10 && y >= 6 && k < 8 && j < 16 && ink('A', k, j);
      EXPECT_EQ(cv.at(x, y), in ? 3 : 9) << x << "," << y;
    }
}

TEST(DrawText, OnlyTheTopTwentyEightRowsOfALineAreEverInked) {
  std::string all;
  for (int code = 32; code <= 126; ++code) all += static_cast<char>(code);
  tcanvas cv(1600, 40);
  tools::drawtext(cv.bm, 0, 4, all, 2, 16, 1);
  int lowest = -1;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 1600; ++x)
      if (cv.at(x, y)) lowest = y;
  EXPECT_EQ(lowest, 4 + 27);  // the descenders reach the last possible row
  EXPECT_TRUE(cv.guardsintact());
}

TEST(DrawText, PenMovesAdvanceTimesScaleMinusOne) {
  // Scale 2, advance 10: the third character stands 20 pixels right of the first.
  tcanvas spaced(100, 40), alone(100, 40);
  tools::drawtext(spaced.bm, 5, 2, "  B", 2, 10, 1);
  tools::drawtext(alone.bm, 25, 2, "B", 2, 10, 1);
  EXPECT_EQ(spaced.store, alone.store);

  // Scale 3, advance 4: 8 pixels per character.
  tcanvas three(100, 60), single(100, 60);
  tools::drawtext(three.bm, 0, 0, "xB", 3, 4, 1);
  tools::drawtext(single.bm, 0, 0, "x", 3, 4, 1);
  tools::drawtext(single.bm, 8, 0, "B", 3, 4, 1);
  EXPECT_EQ(three.store, single.store);

  // Scale 1: the pen stays, so characters land on top of each other.
  tcanvas stacked(20, 20), layered(20, 20);
  tools::drawtext(stacked.bm, 3, 1, "IO", 1, 15, 1);
  tools::drawtext(layered.bm, 3, 1, "I", 1, 15, 1);
  tools::drawtext(layered.bm, 3, 1, "O", 1, 15, 1);
  EXPECT_EQ(stacked.store, layered.store);
}

TEST(DrawText, ClipsAtTheEdgesWithoutWrapping) {
  tcanvas cv(320, 200, 0), reference(400, 200, 0);
  tools::drawtext(cv.bm, 300, 100, "WWWW", 2, 15, 1);
  tools::drawtext(reference.bm, 300, 100, "WWWW", 2, 15, 1);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 320; ++x) EXPECT_EQ(cv.at(x, y), reference.at(x, y)) << x << "," << y;
  EXPECT_GT(cv.countnot(0), 0u);
  EXPECT_TRUE(cv.guardsintact());

  // Above, left of and below the bitmap, and far enough out that the pen
  // arithmetic wraps.
  tcanvas edge(40, 40, 0);
  tools::drawtext(edge.bm, -12, -20, "AB", 2, 15, 1);
  tools::drawtext(edge.bm, 0, 30, "AB", 4, 15, 1);
  tools::drawtext(edge.bm, INT32_MAX - 10, INT32_MAX - 10, "ABC", 8, 255, 1);
  EXPECT_TRUE(edge.guardsintact());
  EXPECT_EQ(edge.at(0, 0), ink('A', 6, 10) ? 1 : 0);  // (-12,-20) puts A's (6,10) at (0,0)
}

TEST(DrawText, LeavesClearGlyphPixelsAlone) {
  tcanvas cv(40, 40, 77);
  tools::drawtext(cv.bm, 2, 2, "g", 2, 15, 5);
  size_t inkedcount = 0;
  for (int j = 0; j < 16; ++j)
    for (int k = 0; k < 8; ++k) inkedcount += ink('g', k, j);
  EXPECT_EQ(cv.countnot(77), 4 * inkedcount);
  EXPECT_EQ(cv.at(2, 2), 77);  // corner of the glyph cell, a clear bit
}

TEST(DrawText, DrawsNothingForEmptyTextSpacesOrCodesWithoutAGlyph) {
  tcanvas cv(100, 40, 6);
  tools::drawtext(cv.bm, 0, 0, "", 2, 15, 1);
  tools::drawtext(cv.bm, 0, 0, "   ", 2, 15, 1);
  tools::drawtext(cv.bm, 0, 0, std::string("\x01\x1f\x7f\x80\xff", 5), 2, 15, 1);
  EXPECT_EQ(cv.countnot(6), 0u);

  // A code without a glyph still takes its place on the line.
  tcanvas after(100, 40), reference(100, 40);
  tools::drawtext(after.bm, 0, 0, std::string("\x7f") + "A", 2, 15, 1);
  tools::drawtext(reference.bm, 15, 0, "A", 2, 15, 1);
  EXPECT_EQ(after.store, reference.store);
}

}  // namespace
