// pngio: indexed and RGB PNG files, and every way a file can be refused.
#include "pngio/pngio.h"

#include <png.h>

#include <cstring>
#include <tuple>

#include "archivetest/archivetest.h"
#include "myio/myio.h"

namespace {

using archivetest::bytes;
using pngio::tpngresult;

// Writes a palette PNG through libpng directly, at any bit depth and with or
// without interlacing: the shapes pngio itself never writes.
void writeraw(const std::string& path, uint32_t w, uint32_t h, int depth, bool interlaced, const bytes& pixels,
              int palettesize) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  ASSERT_EQ(setjmp(png_jmpbuf(png)), 0);
  png_init_io(png, f);
  png_set_IHDR(png, info, w, h, depth, PNG_COLOR_TYPE_PALETTE,
               interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_color plte[256];
  for (int i = 0; i < 256; ++i) plte[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 3)};
  png_set_PLTE(png, info, plte, palettesize);
  std::vector<png_bytep> rows(h);
  for (uint32_t y = 0; y < h; ++y) rows[y] = const_cast<uint8_t*>(pixels.data() + size_t{y} * w);
  png_set_rows(png, info, rows.data());
  png_write_png(png, info, PNG_TRANSFORM_PACKING, nullptr);  // rows are given one byte per pixel
  png_destroy_write_struct(&png, &info);
  std::fclose(f);
}

bytes pattern(size_t count, int modulo) {
  bytes b(count);
  for (size_t i = 0; i < count; ++i) b[i] = static_cast<uint8_t>((i * 7 + i / 5) % modulo);
  return b;
}

// A scratch folder, and readindexed of a file in it into image and error.
class Png : public testing::Test {
 protected:
  tpngresult read(const std::string& name, uint32_t maxw = 16384, uint32_t maxh = 16384) {
    return pngio::readindexed(dir.file(name), image, error, maxw, maxh);
  }
  tpngresult write(const std::string& name, uint32_t w, uint32_t h, const bytes& pixels,
                   const std::vector<pngio::trgb>& pal) {
    return pngio::writeindexed(dir.file(name), w, h, pixels.data(), pal, error);
  }
  archivetest::tempdir dir;
  pngio::tindexed image;
  std::string error;
};
using Indexed = Png;
using Rgb = Png;

TEST_F(Indexed, WrittenPicturesReadBack) {
  std::vector<pngio::trgb> pal(256);
  for (int i = 0; i < 256; ++i) pal[i] = {uint8_t(i), uint8_t(i * 5), uint8_t(255 - i)};
  for (auto [w, h, colours] : {std::tuple{1u, 1u, 1}, {13u, 7u, 200}, {320u, 200u, 256}, {1025u, 3u, 2}}) {
    const bytes pixels = pattern(size_t{w} * h, colours);
    const std::vector<pngio::trgb> p(pal.begin(), pal.begin() + colours);
    ASSERT_EQ(write("a.png", w, h, pixels, p), tpngresult::ok) << error;
    ASSERT_EQ(read("a.png"), tpngresult::ok) << error;
    EXPECT_EQ(std::tuple(image.width, image.height), std::tuple(w, h));
    EXPECT_EQ(image.pixels, pixels);
    ASSERT_EQ(image.palette.size(), p.size());
    static_assert(sizeof(pngio::trgb) == 3);
    EXPECT_EQ(std::memcmp(image.palette.data(), p.data(), 3 * p.size()), 0);
  }
}

TEST_F(Indexed, SmallDepthsAndInterlacingExpandToBytes) {
  for (int depth : {1, 2, 4, 8}) {
    for (bool interlaced : {false, true}) {
      const int colours = 1 << depth;
      const bytes pixels = pattern(23 * 9, colours);
      writeraw(dir.file("d.png"), 23, 9, depth, interlaced, pixels, colours);
      ASSERT_EQ(read("d.png"), tpngresult::ok) << depth << error;
      EXPECT_EQ(image.pixels, pixels) << "depth " << depth << " interlaced " << interlaced;
      EXPECT_EQ(image.palette.size(), size_t(colours));
      EXPECT_EQ(image.palette[colours - 1].blue, uint8_t((colours - 1) * 3));
    }
  }
}

TEST_F(Indexed, RefusalsSayWhy) {
  // Text and RGB files are refused with their messages through the tool.
  EXPECT_EQ(read("none.png"), tpngresult::unreadable);
  EXPECT_NE(error.find("cannot open"), std::string::npos);

  ASSERT_EQ(write("big.png", 30, 20, pattern(30 * 20, 4), std::vector<pngio::trgb>(4)), tpngresult::ok);
  EXPECT_EQ(read("big.png", 29, 20), tpngresult::toolarge);
  EXPECT_EQ(error, "too large: 30x20 (at most 29x20)");
  EXPECT_EQ(read("big.png", 30, 19), tpngresult::toolarge);
  EXPECT_EQ(read("big.png", 30, 20), tpngresult::ok);

  // A damaged file: every cut of a good one is refused, never half read.
  bytes good;
  ASSERT_TRUE(myio::readfile(dir.file("big.png"), good));
  for (size_t cut = 8; cut < good.size(); cut += 7) {
    dir.write("cut.png", archivetest::prefix(good, cut));
    EXPECT_EQ(read("cut.png"), tpngresult::unreadable) << cut;
    EXPECT_TRUE(image.pixels.empty());
  }
  good[40] ^= 0xFF;  // inside the image data: its checksum no longer matches
  dir.write("flip.png", good);
  EXPECT_EQ(read("flip.png"), tpngresult::unreadable);
  EXPECT_EQ(error.rfind("damaged PNG: ", 0), 0u) << error;
}

TEST_F(Indexed, PixelsPastThePaletteAreRefused) {
  bytes pixels = pattern(8 * 8, 4);
  pixels[63] = 9;
  writeraw(dir.file("past.png"), 8, 8, 8, false, pixels, 4);
  EXPECT_EQ(read("past.png"), tpngresult::badindex);
  EXPECT_EQ(error, "pixel index 9 past the palette's 4 entries");

  const std::vector<pngio::trgb> pal(4);
  EXPECT_EQ(write("w.png", 8, 8, pixels, pal), tpngresult::badindex);
  EXPECT_FALSE(myio::fileexists(dir.file("w.png")));
  EXPECT_EQ(write("w.png", 8, 8, pixels, {}), tpngresult::writefailed);
  EXPECT_EQ(write("w.png", 0, 8, pixels, pal), tpngresult::writefailed);
  EXPECT_EQ(write("none/w.png", 8, 8, pixels, std::vector<pngio::trgb>(16)), tpngresult::writefailed);
}

TEST_F(Rgb, WrittenPixelsReadBack) {
  bytes rgb(17 * 5 * 3);
  for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(i * 11);
  ASSERT_EQ(pngio::writergb(dir.file("c.png"), 17, 5, rgb.data(), error), tpngresult::ok);
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&png, dir.file("c.png").c_str()));
  EXPECT_EQ(png.width, 17u);
  EXPECT_EQ(png.height, 5u);
  png.format = PNG_FORMAT_RGB;
  bytes back(PNG_IMAGE_SIZE(png));
  ASSERT_TRUE(png_image_finish_read(&png, nullptr, back.data(), 0, nullptr));
  EXPECT_EQ(back, rgb);
}

}  // namespace
