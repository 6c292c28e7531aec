// loadimx: pictures from the archive into a store and a palette, and the
// .im encoder and decoder.
#include "loadimx/loadimx.h"

#include <cstring>

#include "archivetest/archivetest.h"
#include "verovo/verovo.h"

namespace {

using archivetest::bytes;
using archivetest::tempdir;
using loadimx::tloadresult;

constexpr uint8_t guard = 0xA5;

// A store with guard bytes after its storesize bytes, a palette filled with a
// pattern (spare bytes included), and a bitmap pointing at the store.
struct tdest {
  explicit tdest(uint32_t storesize) : store(storesize + 64, guard), size(storesize) {
    bm.pixels = store.data();
    bm.width = 7;
    bm.height = 9;
    bm.colors = 11;
    for (int i = 0; i < 256; ++i) pal.entry[i] = {uint8_t(i), uint8_t(i + 1), uint8_t(i + 2), uint8_t(200 - i)};
  }
  tloadresult load(const std::string& name) { return loadimx::loadim(name, bm, pal, size); }
  bool untouched() const {
    for (uint8_t b : store)
      if (b != guard) return false;
    if (bm.width != 7 || bm.height != 9 || bm.colors != 11 || bm.pixels != store.data()) return false;
    for (int i = 0; i < 256; ++i)
      if (pal.entry[i].red != uint8_t(i) || pal.entry[i].green != uint8_t(i + 1) ||
          pal.entry[i].blue != uint8_t(i + 2) || pal.entry[i].spare != uint8_t(200 - i))
        return false;
    return true;
  }
  std::vector<uint8_t> store;
  uint32_t size;
  loadimx::tbitmap bm;
  loadimx::tpalette pal;
};

void openentries(const tempdir& dir, const std::vector<archivetest::tentry>& entries) {
  verovo::openarchive(dir.write("pics.dat", archivetest::archive({"GRAPH"}, entries, 5)));
  ASSERT_EQ(verovo::archivestatus, verovo::archiveok);
}

// Checks a load of the hand-laid picture(n, w, h, seed) against its bytes.
void expectpicture(const tdest& d, uint8_t n, uint16_t w, uint16_t storedh, uint8_t seed) {
  const bytes src = archivetest::picture(n, w, storedh, seed);
  EXPECT_EQ(d.bm.width, w);
  EXPECT_EQ(d.bm.height, storedh - 1);
  EXPECT_EQ(d.bm.colors, n);
  EXPECT_EQ(d.bm.pixels, d.store.data());
  const size_t count = size_t{w} * (storedh - 1u);
  EXPECT_EQ(std::memcmp(d.store.data(), src.data() + 5 + 3 * n, count), 0);
  for (size_t i = count; i < d.store.size(); ++i) ASSERT_EQ(d.store[i], guard) << "byte " << i;
  EXPECT_EQ(d.pal.entry[0].red | d.pal.entry[0].green | d.pal.entry[0].blue, 0);
  for (int k = 1; k <= n; ++k) {
    EXPECT_EQ(d.pal.entry[k].red, src[5 + 3 * (k - 1)]);
    EXPECT_EQ(d.pal.entry[k].green, src[6 + 3 * (k - 1)]);
    EXPECT_EQ(d.pal.entry[k].blue, src[7 + 3 * (k - 1)]);
  }
  for (int k = n + 1; k < 256; ++k) EXPECT_EQ(d.pal.entry[k].red, uint8_t(k));  // later entries stay
  for (int k = 0; k < 256; ++k) EXPECT_EQ(d.pal.entry[k].spare, uint8_t(200 - k));
}

TEST(Loadim, PicturesOfEveryShape) {
  tempdir dir;
  bytes withspare = archivetest::picture(3, 5, 4, 9);
  withspare.insert(withspare.end(), {1, 2, 3, 4, 5, 6, 7});  // spare bytes after the rows
  openentries(dir, {{"GRAPH\\none.im", archivetest::picture(0, 4, 3, 1)},
                    {"GRAPH\\full.im", archivetest::picture(255, 2, 2, 2)},
                    {"GRAPH\\screen.im", archivetest::picture(16, 320, 201, 3)},
                    {"GRAPH\\wide.im", archivetest::picture(1, 1025, 3, 4)},
                    {"GRAPH\\spare.im", withspare}});
  {
    tdest d(12);
    ASSERT_EQ(d.load("GRAPH\\none.im"), tloadresult::ok);
    expectpicture(d, 0, 4, 3, 1);
  }
  {
    tdest d(2);  // H = 2: one row
    ASSERT_EQ(d.load("graph\\FULL.im"), tloadresult::ok);
    expectpicture(d, 255, 2, 2, 2);
  }
  {
    tdest d(64000);
    ASSERT_EQ(d.load("GRAPH\\screen.im"), tloadresult::ok);
    expectpicture(d, 16, 320, 201, 3);
    ASSERT_EQ(d.load("GRAPH\\screen.im"), tloadresult::ok);  // twice is the same as once
    expectpicture(d, 16, 320, 201, 3);
  }
  {
    tdest d(2050);
    ASSERT_EQ(d.load("GRAPH\\wide.im"), tloadresult::ok);
    expectpicture(d, 1, 1025, 3, 4);
  }
  {
    tdest d(20);
    ASSERT_EQ(d.load("GRAPH\\spare.im"), tloadresult::ok);
    expectpicture(d, 3, 5, 4, 9);
  }
}

TEST(Loadim, EntriesBreakingTheLimitsWriteNothing) {
  tempdir dir;
  bytes h1 = archivetest::picture(2, 10, 1);
  bytes h0 = archivetest::picture(2, 10, 0);
  h0.insert(h0.end(), 50, 0);  // room enough: only the height is wrong
  bytes cut = archivetest::picture(2, 10, 11);
  cut.pop_back();
  bytes w0 = archivetest::picture(2, 0, 50);
  w0.insert(w0.end(), 50, 0);
  openentries(dir, {{"w0", w0},
                    {"w1026", archivetest::picture(2, 1026, 2)},
                    {"h1", h1},
                    {"h0", h0},
                    {"fits", archivetest::picture(2, 10, 11)},
                    {"short", cut},  // one byte less than its rows need
                    {"tiny", {2, 10, 0}},
                    {"after", archivetest::picture(2, 10, 11)}});
  for (const char* name : {"w0", "w1026", "h1", "h0", "short", "tiny"}) {
    tdest d(100000);
    EXPECT_EQ(d.load(name), tloadresult::corruptpicture) << name;
    EXPECT_TRUE(d.untouched()) << name;
  }
  tdest small(99);  // one byte less than the 10 x 10 rows
  EXPECT_EQ(small.load("fits"), tloadresult::corruptpicture);
  EXPECT_TRUE(small.untouched());
  tdest exact(100);
  EXPECT_EQ(exact.load("fits"), tloadresult::ok);
  EXPECT_EQ(exact.load("after"), tloadresult::ok);
}

TEST(Loadim, MissingNamesAndBrokenFilesAreReported) {
  tempdir dir;
  openentries(dir, {{"GRAPH\\a.im", archivetest::picture(2, 8, 9)}, {"GRAPH\\b.im", archivetest::picture(2, 8, 9)}});
  tdest d(1000);
  EXPECT_EQ(d.load("GRAPH\\c.im"), tloadresult::missing);
  EXPECT_TRUE(d.untouched());

  // The same index over a file cut inside b's rows, then cut before b begins.
  bytes full = archivetest::archive({"GRAPH"}, {{"GRAPH\\a.im", archivetest::picture(2, 8, 9)},
                                                {"GRAPH\\b.im", archivetest::picture(2, 8, 9)}},
                                    5);
  // b takes the last 75 bytes: 5 header, 6 colour and 64 pixel bytes.
  for (size_t cut : {full.size() - 1, full.size() - 40, full.size() - 70, full.size() - 73, full.size() - 75}) {
    dir.write("pics.dat", bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut)));
    tdest cutd(1000);
    EXPECT_EQ(cutd.load("GRAPH\\b.im"), tloadresult::corruptfile) << "cut at " << cut;
    EXPECT_TRUE(cutd.untouched()) << "cut at " << cut;
    EXPECT_EQ(cutd.load("GRAPH\\a.im"), tloadresult::ok);
  }
  std::filesystem::remove(dir.file("pics.dat"));
  tdest gone(1000);
  EXPECT_EQ(gone.load("GRAPH\\a.im"), tloadresult::corruptfile);
  EXPECT_TRUE(gone.untouched());
}

TEST(Loadim, ConsoleLines) {
  EXPECT_EQ(loadimx::loadimmessage(tloadresult::ok, "GRAPH\\teil.im"), "");
  EXPECT_EQ(loadimx::loadimmessage(tloadresult::missing, "GRAPH\\teil.im"),
            "GRAPH\\teil.im is missing from morvanta.dat");
  EXPECT_EQ(loadimx::loadimmessage(tloadresult::corruptfile, "GRAPH\\teil.im"),
            "morvanta.dat is a corrupt file");
  EXPECT_EQ(loadimx::loadimmessage(tloadresult::corruptpicture, "GRAPH\\eye1.im"),
            "GRAPH\\eye1.im is a corrupt picture");
}

TEST(Imbytes, EncodeLaysOutTheEntry) {
  loadimx::tpalette pal{};
  pal.entry[1] = {1, 2, 3, 99};
  pal.entry[2] = {63, 0, 62, 99};
  pal.entry[3] = {7, 7, 7, 7};  // past colors: not stored
  bytes out;
  ASSERT_TRUE(loadimx::encodeim(2, 3, 2, pal, {0, 1, 2, 2, 1, 0}, out));
  EXPECT_EQ(out, (bytes{2, 3, 0, 3, 0, 1, 2, 3, 63, 0, 62, 0, 1, 2, 2, 1, 0}));

  ASSERT_TRUE(loadimx::encodeim(0, 1025, 1, pal, bytes(1025, 4), out));
  EXPECT_EQ(out.size(), 5u + 1025);
  EXPECT_FALSE(loadimx::encodeim(0, 1026, 1, pal, bytes(1026, 4), out));
  EXPECT_FALSE(loadimx::encodeim(0, 0, 1, pal, {}, out));
  EXPECT_FALSE(loadimx::encodeim(0, 2, 0, pal, {}, out));
  EXPECT_FALSE(loadimx::encodeim(0, 2, 2, pal, {1, 2, 3}, out));
  EXPECT_FALSE(loadimx::encodeim(0, 1, 65535, pal, bytes(65535, 0), out));  // stored height would wrap
  EXPECT_TRUE(out.empty());
}

TEST(Imbytes, DecodeAppliesTheLoadersChecks) {
  loadimx::timage image;
  image.palette.entry[5] = {9, 9, 9, 9};
  ASSERT_EQ(loadimx::decodeim(archivetest::picture(3, 4, 6, 2), image), tloadresult::ok);
  const bytes src = archivetest::picture(3, 4, 6, 2);
  EXPECT_EQ(image.colors, 3);
  EXPECT_EQ(image.width, 4);
  EXPECT_EQ(image.height, 5);
  EXPECT_EQ(image.pixels, bytes(src.begin() + 14, src.end()));
  EXPECT_EQ(image.palette.entry[3].blue, src[13]);
  EXPECT_EQ(image.palette.entry[5].red, 9);

  bytes cut = archivetest::picture(3, 4, 6);
  cut.pop_back();
  for (const bytes& bad : {bytes{}, bytes{1, 1, 0, 2}, archivetest::picture(0, 0, 5), archivetest::picture(0, 1026, 2),
                           archivetest::picture(1, 3, 1), cut})
    EXPECT_EQ(loadimx::decodeim(bad, image), tloadresult::corruptpicture);
}

}  // namespace
