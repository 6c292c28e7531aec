// loadimx: pictures from the archive into a store and a palette, and the
// .im encoder and decoder.
#include "loadimx/loadimx.h"

#include <cstring>
#include <tuple>

#include "archivetest/archivetest.h"
#include "verovo/verovo.h"

namespace {

using archivetest::bytes;
using archivetest::picture;
using archivetest::tempdir;
using loadimx::tloadresult;

constexpr uint8_t guard = 0xA5;

// A store with guard bytes after its storesize bytes, a palette filled with a
// pattern (spare bytes included), and a bitmap pointing at the store.
struct tdest {
  explicit tdest(uint32_t storesize) : store(storesize + 64, guard), size(storesize) {
    bm = {store.data(), 7, 9, 11};
    for (int i = 0; i < 256; ++i) pal.entry[i] = {uint8_t(i), uint8_t(i + 1), uint8_t(i + 2), uint8_t(200 - i)};
    before = pal;
  }
  tloadresult load(const std::string& name) { return loadimx::loadim(name, bm, pal, size); }
  bool untouched() const {
    for (uint8_t b : store)
      if (b != guard) return false;
    return bm.width == 7 && bm.height == 9 && bm.colors == 11 && bm.pixels == store.data() &&
           std::memcmp(&pal, &before, sizeof pal) == 0;
  }
  std::vector<uint8_t> store;
  uint32_t size;
  loadimx::tbitmap bm;
  loadimx::tpalette pal, before;
};

void openentries(const tempdir& dir, const std::vector<archivetest::tentry>& entries) {
  verovo::openarchive(dir.write("pics.dat", archivetest::archive({"GRAPH"}, entries, 5)));
  ASSERT_EQ(verovo::archivestatus, verovo::archiveok);
}

// Checks a load of the hand-laid picture(n, w, h, seed) against its bytes:
// entry 0 black, 1..n the stored colours, later entries and spare bytes kept.
void expectpicture(const tdest& d, uint8_t n, uint16_t w, uint16_t storedh, uint8_t seed) {
  const bytes src = picture(n, w, storedh, seed);
  EXPECT_EQ(std::tuple(d.bm.width, d.bm.height, d.bm.colors, d.bm.pixels),
            std::tuple(w, storedh - 1, n, d.store.data()));
  const size_t count = size_t{w} * (storedh - 1u);
  EXPECT_EQ(std::memcmp(d.store.data(), src.data() + 5 + 3 * n, count), 0);
  for (size_t i = count; i < d.store.size(); ++i) ASSERT_EQ(d.store[i], guard) << "byte " << i;
  loadimx::tpalette want = d.before;
  want.entry[0].red = want.entry[0].green = want.entry[0].blue = 0;
  for (int k = 1; k <= n; ++k) std::memcpy(&want.entry[k], &src[5 + 3 * (k - 1)], 3);
  EXPECT_EQ(std::memcmp(&d.pal, &want, sizeof want), 0);
}

TEST(Loadim, PicturesOfEveryShape) {
  tempdir dir;
  const struct {
    uint32_t store;
    uint8_t n;
    uint16_t w, storedh;
  } cases[] = {{12, 0, 4, 3}, {2, 255, 2, 2} /* H = 2: one row */, {64000, 16, 320, 201}, {2050, 1, 1025, 3},
               {20, 3, 5, 4}};
  std::vector<archivetest::tentry> entries;
  for (uint8_t i = 0; i < 5; ++i)
    entries.push_back({"GRAPH\\P" + std::to_string(i) + ".IM", picture(cases[i].n, cases[i].w, cases[i].storedh, i)});
  entries[4].data.insert(entries[4].data.end(), {1, 2, 3, 4, 5, 6, 7});  // spare bytes after the rows
  openentries(dir, entries);
  for (uint8_t i = 0; i < 5; ++i) {
    SCOPED_TRACE(entries[i].name);
    tdest d(cases[i].store);
    for (int twice = 0; twice < 2; ++twice) {  // loading again changes nothing
      ASSERT_EQ(d.load("graph\\p" + std::to_string(i) + ".im"), tloadresult::ok);
      expectpicture(d, cases[i].n, cases[i].w, cases[i].storedh, i);
    }
  }
}

TEST(Loadim, MissingEntriesAndOnesBreakingTheLimitsWriteNothing) {
  tempdir dir;
  bytes h0 = picture(2, 10, 0);
  h0.insert(h0.end(), 50, 0);  // room enough: only the height is wrong
  bytes w0 = picture(2, 0, 50);
  w0.insert(w0.end(), 50, 0);
  openentries(dir, {{"w0", w0},
                    {"w1026", picture(2, 1026, 2)},
                    {"h1", picture(2, 10, 1)},
                    {"h0", h0},
                    {"fits", picture(2, 10, 11)},
                    {"short", archivetest::prefix(picture(2, 10, 11), 5 + 6 + 100 - 1)},  // one row byte short
                    {"tiny", {2, 10, 0}},
                    {"after", picture(2, 10, 11)}});
  for (const char* name : {"w0", "w1026", "h1", "h0", "short", "tiny", "nothere"}) {
    tdest d(100000);
    const bool missing = std::string(name) == "nothere";
    EXPECT_EQ(d.load(name), missing ? tloadresult::missing : tloadresult::corruptpicture) << name;
    EXPECT_TRUE(d.untouched()) << name;
  }
  tdest small(99);  // one byte less than the 10 x 10 rows
  EXPECT_EQ(small.load("fits"), tloadresult::corruptpicture);
  EXPECT_TRUE(small.untouched());
  tdest exact(100);
  EXPECT_EQ(exact.load("fits"), tloadresult::ok);
  EXPECT_EQ(exact.load("after"), tloadresult::ok);
}

TEST(Loadim, BrokenFilesAreReported) {
  tempdir dir;
  const std::vector<archivetest::tentry> entries = {{"GRAPH\\a.im", picture(2, 8, 9)},
                                                    {"GRAPH\\b.im", picture(2, 8, 9)}};
  openentries(dir, entries);
  // The same index over a file cut inside b's rows, then cut before b begins.
  // b takes the last 75 bytes: 5 header, 6 colour and 64 pixel bytes.
  const bytes full = archivetest::archive({"GRAPH"}, entries, 5);
  for (size_t cut : {full.size() - 1, full.size() - 40, full.size() - 70, full.size() - 73, full.size() - 75}) {
    dir.write("pics.dat", archivetest::prefix(full, cut));
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

// The missing and corrupt-picture lines are checked through start-up.
TEST(Loadim, ConsoleLines) {
  EXPECT_EQ(loadimx::loadimmessage(tloadresult::ok, "GRAPH\\teil.im"), "");
  EXPECT_EQ(loadimx::loadimmessage(tloadresult::corruptfile, "GRAPH\\teil.im"), "morvanta.dat is a corrupt file");
}

// The layout encodeim writes is checked through pngtoim and packartwork.
TEST(Imbytes, EncodeRefusesWhatAPictureCannotHold) {
  loadimx::tpalette pal{};
  bytes out;
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
  const bytes src = picture(3, 4, 6, 2);
  ASSERT_EQ(loadimx::decodeim(src, image), tloadresult::ok);
  EXPECT_EQ(std::tuple(image.colors, image.width, image.height), std::tuple(3, 4, 5));
  EXPECT_EQ(image.pixels, bytes(src.begin() + 14, src.end()));
  EXPECT_EQ(image.palette.entry[3].blue, src[13]);
  EXPECT_EQ(image.palette.entry[5].red, 9);
  for (const bytes& bad : {bytes{}, bytes{1, 1, 0, 2}, picture(0, 0, 5), picture(0, 1026, 2), picture(1, 3, 1),
                           archivetest::prefix(src, src.size() - 1)})
    EXPECT_EQ(loadimx::decodeim(bad, image), tloadresult::corruptpicture);
}

}  // namespace
