// The built-in font's layout rules, and how drawtext puts it on a bitmap.
#include "tools/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <set>
#include <string>

#include "support/canvas.h"

namespace {

using testsupport::tcanvas;
using tools::fontdata;

const uint8_t* glyph(char c) { return fontdata + (static_cast<unsigned char>(c) - 32) * 16; }
bool inked(char c, int row) { return glyph(c)[row] != 0; }
bool blank(char c, int from, int to) {
  return std::all_of(glyph(c) + from, glyph(c) + to + 1, [](uint8_t r) { return r == 0; });
}
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

TEST(Font, EveryGlyphSitsOnItsLinesAndNoTwoAreAlike) {
  // Rows 14-15 blank; rows 12-13 only for descenders; capitals and digits fill
  // rows 0-11, lower case without ascenders rows 4-11.
  const std::string descenders = ",;Qgjpqy", xheight = "acegmnopqrsuvwxyz", ascenders = "bdfhkl";
  std::set<std::string> seen;
  for (int code = 32; code <= 126; ++code) {
    const char c = static_cast<char>(code);
    EXPECT_TRUE(blank(c, 14, 15)) << "'" << c << "'";
    EXPECT_NE(blank(c, 12, 13), descenders.find(c) != std::string::npos) << "'" << c << "'";
    const bool tall = std::isupper(code) || std::isdigit(code), small = xheight.find(c) != std::string::npos;
    EXPECT_TRUE(!tall || (inked(c, 0) && inked(c, 11))) << c;
    EXPECT_TRUE(!small || (blank(c, 0, 3) && inked(c, 4) && inked(c, 11))) << c;
    EXPECT_TRUE(ascenders.find(c) == std::string::npos || inked(c, 0)) << c << " has no ascender";
    EXPECT_TRUE(c == ' ' || !blank(c, 0, 15)) << "'" << c << "' is blank";
    const std::string rows(reinterpret_cast<const char*>(glyph(c)), 16);
    EXPECT_TRUE(seen.insert(rows).second) << "'" << c << "' repeats an earlier glyph";
  }
}

// ---- drawtext ----------------------------------------------------------------

// Clear glyph pixels keep the background.
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

TEST(DrawText, PenMovesAdvanceTimesScaleMinusOneAndOnlyGlyphsDraw) {
  // A text against its last character drawn apart at the expected pen.
  struct tcase {
    std::string text;
    uint8_t scale, advance;
    int32_t last;  // where the last character stands, relative to the first
  };
  const tcase cases[] = {
      {"  B", 2, 10, 20},       // scale 2, advance 10: 10 pixels a character
      {"xB", 3, 4, 8},          // scale 3, advance 4: 8 pixels a character
      {"IO", 1, 15, 0},         // scale 1: the pen stays
      {"\x7f" "A", 2, 15, 15},  // a code without a glyph still takes its place
  };
  for (const auto& c : cases) {
    tcanvas whole(100, 60), apart(100, 60);
    const std::string head = c.text.substr(0, c.text.size() - 1), tail = c.text.substr(c.text.size() - 1);
    tools::drawtext(whole.bm, 5, 1, c.text, c.scale, c.advance, 1);
    tools::drawtext(apart.bm, 5, 1, head, c.scale, c.advance, 1);
    tools::drawtext(apart.bm, 5 + c.last, 1, tail, c.scale, c.advance, 1);
    EXPECT_EQ(whole.store, apart.store) << c.text;
  }
  // Empty text, spaces and codes without a glyph draw nothing.
  tcanvas cv(100, 40, 6);
  tools::drawtext(cv.bm, 0, 0, "", 2, 15, 1);
  tools::drawtext(cv.bm, 0, 0, std::string("  \x01\x1f\x7f\x80\xff", 7), 2, 15, 1);
  EXPECT_EQ(cv.countnot(6), 0u);
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

}  // namespace
