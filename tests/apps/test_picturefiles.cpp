// picturefiles: PNG <-> .im conversion, the default archive, manifest names.
#include "apps/picturefiles.h"

#include <tuple>

#include "archivetest/archivetest.h"
#include "myio/myio.h"
#include "tools/stores.h"
#include "verovo/verovo.h"

namespace {

using archivetest::bytes;
using archivetest::tempdir;

TEST(Levels, EverySixBitLevelComesBack) {
  for (int v = 0; v < 64; ++v) EXPECT_EQ(picturefiles::to6bit(picturefiles::to8bit(uint8_t(v))), v);
  EXPECT_EQ(picturefiles::to8bit(0), 0);
  EXPECT_EQ(picturefiles::to8bit(63), 255);
  EXPECT_EQ(picturefiles::to8bit(32), 130);  // 32 * 255 / 63 = 129.5...
  for (int x = 0; x < 256; ++x)  // any 8-bit value reads as the nearest level, within half a level
    EXPECT_LE(std::abs(picturefiles::to6bit(uint8_t(x)) * 255 - x * 63), 127) << x;
}

TEST(Names, EscapingKeepsEveryByte) {
  std::string all, back;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string text = picturefiles::escapename(all);
  for (char c : text) EXPECT_TRUE(c > ' ' && c <= '~');
  ASSERT_TRUE(picturefiles::unescapename(text, back));
  EXPECT_EQ(back, all);
  EXPECT_EQ(picturefiles::escapename("GRAPH\\teil.im"), "GRAPH\\teil.im");
  EXPECT_EQ(picturefiles::escapename("a b%"), "a%20b%25");
  for (const char* bad : {"%", "%4", "%4G", "a b", "x%zz"}) EXPECT_FALSE(picturefiles::unescapename(bad, back)) << bad;
  EXPECT_TRUE(picturefiles::unescapename("", back));
  EXPECT_EQ(back, "");
}

// Converts a w x h indexed PNG with the given palette and pixels.
bool pngtoim(const tempdir& dir, uint32_t w, uint32_t h, const std::vector<pngio::trgb>& pal, const bytes& pixels,
             bytes& im, std::string& error) {
  EXPECT_EQ(pngio::writeindexed(dir.file("a.png"), w, h, pixels.data(), pal, error), pngio::tpngresult::ok);
  return picturefiles::pngtoim(dir.file("a.png"), im, error);
}

// Refusals of 256 colours and of a width of 1026 are checked through the tool.
TEST(Pngtoim, PaletteEntriesBecomeColoursAndEntryZeroMustBeBlack) {
  tempdir dir;
  bytes im;
  std::string error;
  ASSERT_TRUE(pngtoim(dir, 3, 2, {{0, 0, 0}, {255, 0, 4}, {130, 8, 250}}, {0, 1, 2, 2, 1, 0}, im, error)) << error;
  EXPECT_EQ(im, (bytes{2, 3, 0, 3, 0, 63, 0, 1, 32, 2, 62, 0, 1, 2, 2, 1, 0}));

  std::vector<pngio::trgb> pal = {{9, 9, 9}, {1, 1, 1}};
  EXPECT_TRUE(pngtoim(dir, 2, 1, pal, {1, 1}, im, error));
  EXPECT_FALSE(pngtoim(dir, 2, 1, pal, {1, 0}, im, error));
  EXPECT_NE(error.find("entry 0 is used but not black"), std::string::npos) << error;
  pal.resize(256, pngio::trgb{5, 5, 5});
  pal[0] = {0, 0, 0};
  ASSERT_TRUE(pngtoim(dir, 2, 1, pal, {0, 255}, im, error));
  EXPECT_EQ(im[0], 255);

  EXPECT_TRUE(pngtoim(dir, 1025, 1, pal, bytes(1025, 1), im, error));
  EXPECT_FALSE(pngtoim(dir, 1, 65535, pal, bytes(65535, 1), im, error));
  EXPECT_EQ(error, "too large: 1x65535 (at most 1025x65534)");
}

TEST(Imtopng, OnlyPicturesThatComeBackExactly) {
  pngio::tindexed png;
  bytes good = archivetest::picture(3, 4, 3);  // levels below 64, pixels spread over 0..255
  for (size_t i = 14; i < good.size(); ++i) good[i] = static_cast<uint8_t>(i % 4);
  ASSERT_TRUE(picturefiles::imtopng(good, png));
  EXPECT_EQ(png.palette.size(), 4u);
  EXPECT_EQ(png.palette[0].red + png.palette[0].green + png.palette[0].blue, 0);
  EXPECT_EQ(png.palette[1].green, picturefiles::to8bit(good[6]));
  EXPECT_EQ(png.pixels, bytes(good.begin() + 14, good.end()));

  bytes spare = good, high = good, index = good, broken = good;
  spare.push_back(0);
  high[7] = 64;
  index.back() = 4;
  broken[3] = 1;  // H = 1
  for (const bytes& b : {spare, high, index, broken}) EXPECT_FALSE(picturefiles::imtopng(b, png));
}

// Pictures drawn in memory become an archive that loads into the show's own
// stores, each through its own entry name.
TEST(Packartwork, LoadsIntoTheShowsStores) {
  tempdir dir;
  tools::initmemory();
  std::vector<assets::tartwork> pictures(tools::picturecount);
  for (int i = 0; i < tools::picturecount; ++i) {
    const std::string entry = tools::pictures[i].entry;
    assets::tartwork& a = pictures[i];
    a.stem = entry.substr(6, entry.size() - 9);
    a.width = uint16_t(10 + i), a.height = uint16_t(3 + i), a.colors = uint8_t(i * 18);
    for (int k = 1; k <= a.colors; ++k) a.palette.entry[k] = {uint8_t(k % 64), uint8_t(i), uint8_t(63 - k % 64), 0};
    for (int p = 0; p < a.width * a.height; ++p) a.pixels.push_back(static_cast<uint8_t>(p * (i + 1)));
  }
  bytes archive;
  std::string error;
  ASSERT_TRUE(picturefiles::packartwork(pictures, archive, error)) << error;
  verovo::openarchive(dir.write("morvanta.dat", archive));
  ASSERT_EQ(verovo::archivestatus, verovo::archiveok);
  EXPECT_EQ(archivetest::dirnames(), archivetest::strings{"GRAPH"});
  for (int i = 0; i < tools::picturecount; ++i) {
    const tools::tpicture& p = tools::pictures[i];
    const assets::tartwork& a = pictures[i];
    ASSERT_EQ(loadimx::loadim(p.entry, *p.bitmap, *p.palette, p.storesize), loadimx::tloadresult::ok) << p.entry;
    EXPECT_EQ(std::tuple(p.bitmap->width, p.bitmap->height, p.bitmap->colors), std::tuple(a.width, a.height, a.colors));
    EXPECT_EQ(bytes(p.bitmap->pixels, p.bitmap->pixels + a.pixels.size()), a.pixels);
    EXPECT_EQ(p.palette->entry[a.colors].green, a.colors > 0 ? i : 0);
  }
  pictures[3].pixels.pop_back();
  EXPECT_FALSE(picturefiles::packartwork(pictures, archive, error));
  EXPECT_NE(error.find("presents"), std::string::npos) << error;
}

// The default data the build writes loads as start-up loads it: every picture
// found, within its limits and its store.
TEST(Defaultdata, EveryPictureLoadsIntoItsStore) {
  const char* data = std::getenv("MORVANTA_DATA");
  const std::string path = std::string(data ? data : "") + "/morvanta.dat";
  ASSERT_TRUE(data != nullptr && myio::fileexists(path)) << "no default data at " << path;
  tools::initmemory();
  verovo::openarchive(path);
  ASSERT_EQ(verovo::archivestatus, verovo::archiveok);
  for (const tools::tpicture& p : tools::pictures) {
    const loadimx::tloadresult r = loadimx::loadim(p.entry, *p.bitmap, *p.palette, p.storesize);
    EXPECT_EQ(r, loadimx::tloadresult::ok) << loadimx::loadimmessage(r, p.entry);
  }
}

}  // namespace
