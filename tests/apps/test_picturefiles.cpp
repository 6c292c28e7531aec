// picturefiles: PNG <-> .im conversion, the default archive, manifest names.
#include "apps/picturefiles.h"

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
  // Reading any 8-bit value gives the nearest level.
  for (int x = 0; x < 256; ++x) {
    const int v = picturefiles::to6bit(uint8_t(x));
    EXPECT_LE(std::abs(v * 255 - x * 63), 127) << x;  // within half a level
  }
}

TEST(Names, EscapingKeepsEveryByte) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string text = picturefiles::escapename(all);
  for (char c : text) EXPECT_TRUE(c > ' ' && c <= '~');
  std::string back;
  ASSERT_TRUE(picturefiles::unescapename(text, back));
  EXPECT_EQ(back, all);
  EXPECT_EQ(picturefiles::escapename("GRAPH\\teil.im"), "GRAPH\\teil.im");
  EXPECT_EQ(picturefiles::escapename("a b%"), "a%20b%25");
  for (const char* bad : {"%", "%4", "%4G", "a b", "x%zz"}) EXPECT_FALSE(picturefiles::unescapename(bad, back)) << bad;
  EXPECT_TRUE(picturefiles::unescapename("", back));
  EXPECT_EQ(back, "");
}

// An indexed PNG file with the given palette and pixels.
std::string writepng(const tempdir& dir, const std::string& name, uint32_t w, uint32_t h,
                     const std::vector<pngio::trgb>& pal, const bytes& pixels) {
  std::string error;
  EXPECT_EQ(pngio::writeindexed(dir.file(name), w, h, pixels.data(), pal, error), pngio::tpngresult::ok);
  return dir.file(name);
}

TEST(Pngtoim, PaletteEntriesBecomeColours) {
  tempdir dir;
  const std::vector<pngio::trgb> pal = {{0, 0, 0}, {255, 0, 4}, {130, 8, 250}};
  const std::string png = writepng(dir, "a.png", 3, 2, pal, {0, 1, 2, 2, 1, 0});
  bytes im;
  std::string error;
  ASSERT_TRUE(picturefiles::pngtoim(png, im, error)) << error;
  EXPECT_EQ(im, (bytes{2, 3, 0, 3, 0, 63, 0, 1, 32, 2, 62, 0, 1, 2, 2, 1, 0}));
}

TEST(Pngtoim, EntryZeroMustBeBlackWherePixelsUseIt) {
  tempdir dir;
  bytes im;
  std::string error;
  std::vector<pngio::trgb> pal = {{9, 9, 9}, {1, 1, 1}};
  EXPECT_TRUE(picturefiles::pngtoim(writepng(dir, "unused.png", 2, 1, pal, {1, 1}), im, error));
  EXPECT_FALSE(picturefiles::pngtoim(writepng(dir, "used.png", 2, 1, pal, {1, 0}), im, error));
  EXPECT_NE(error.find("entry 0 is used but not black"), std::string::npos) << error;
  pal.resize(256, pngio::trgb{5, 5, 5});
  EXPECT_FALSE(picturefiles::pngtoim(writepng(dir, "full.png", 2, 1, pal, {0, 255}), im, error));
  EXPECT_EQ(error.rfind("more than 255 colours", 0), 0u) << error;
  pal[0] = {0, 0, 0};
  ASSERT_TRUE(picturefiles::pngtoim(writepng(dir, "black.png", 2, 1, pal, {0, 255}), im, error));
  EXPECT_EQ(im[0], 255);
}

TEST(Pngtoim, SizeLimits) {
  tempdir dir;
  bytes im;
  std::string error;
  const std::vector<pngio::trgb> pal(2, pngio::trgb{0, 0, 0});
  EXPECT_TRUE(picturefiles::pngtoim(writepng(dir, "w.png", 1025, 1, pal, bytes(1025, 1)), im, error));
  EXPECT_FALSE(picturefiles::pngtoim(writepng(dir, "ww.png", 1026, 1, pal, bytes(1026, 1)), im, error));
  EXPECT_EQ(error, "too large: 1026x1 (at most 1025x65534)");
  EXPECT_FALSE(picturefiles::pngtoim(writepng(dir, "hh.png", 1, 65535, pal, bytes(65535, 1)), im, error));
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

  bytes spare = good;
  spare.push_back(0);
  bytes high = good;
  high[7] = 64;
  bytes index = good;
  index[index.size() - 1] = 4;
  bytes broken = good;
  broken[3] = 1;  // H = 1
  for (const bytes& b : {spare, high, index, broken}) EXPECT_FALSE(picturefiles::imtopng(b, png));
}

// The default data's path: pictures drawn in memory become an archive that
// loads into the show's own stores, each through its own entry name.
TEST(Packartwork, LoadsIntoTheShowsStores) {
  tempdir dir;
  tools::initmemory();
  std::vector<assets::tartwork> pictures;
  for (int i = 0; i < tools::picturecount; ++i) {
    std::string entry = tools::pictures[i].entry;
    assets::tartwork a;
    a.stem = entry.substr(6, entry.size() - 9);
    a.width = static_cast<uint16_t>(10 + i);
    a.height = static_cast<uint16_t>(3 + i);
    a.colors = static_cast<uint8_t>(i * 18);
    for (int k = 1; k <= a.colors; ++k) a.palette.entry[k] = {uint8_t(k % 64), uint8_t(i), uint8_t(63 - k % 64), 0};
    for (int p = 0; p < a.width * a.height; ++p) a.pixels.push_back(static_cast<uint8_t>(p * (i + 1)));
    pictures.push_back(a);
  }
  bytes archive;
  std::string error;
  ASSERT_TRUE(picturefiles::packartwork(pictures, archive, error)) << error;
  verovo::openarchive(dir.write("morvanta.dat", archive));
  ASSERT_EQ(verovo::archivestatus, verovo::archiveok);
  EXPECT_EQ(verovo::dircount, 1);
  EXPECT_EQ(verovo::dirlist[1], "GRAPH");
  for (int i = 0; i < tools::picturecount; ++i) {
    const tools::tpicture& p = tools::pictures[i];
    ASSERT_EQ(loadimx::loadim(p.entry, *p.bitmap, *p.palette, p.storesize), loadimx::tloadresult::ok) << p.entry;
    EXPECT_EQ(p.bitmap->width, pictures[i].width);
    EXPECT_EQ(p.bitmap->height, pictures[i].height);
    EXPECT_EQ(p.bitmap->colors, pictures[i].colors);
    EXPECT_EQ(bytes(p.bitmap->pixels, p.bitmap->pixels + pictures[i].pixels.size()), pictures[i].pixels);
    if (pictures[i].colors > 0) {
      EXPECT_EQ(p.palette->entry[pictures[i].colors].green, i);
    }
  }

  pictures[3].pixels.pop_back();
  EXPECT_FALSE(picturefiles::packartwork(pictures, archive, error));
  EXPECT_NE(error.find("presents"), std::string::npos) << error;
}

}  // namespace

namespace {

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
