// pngio: indexed and RGB PNG files, and every way a file can be refused.
#include "pngio/pngio.h"

#include <png.h>

#include "archivetest/archivetest.h"
#include "myio/myio.h"

namespace {

using archivetest::bytes;
using archivetest::tempdir;
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
  png_write_info(png, info);
  png_set_packing(png);  // rows are given one byte per pixel
  const int passes = png_set_interlace_handling(png);
  for (int pass = 0; pass < passes; ++pass)
    for (uint32_t y = 0; y < h; ++y) png_write_row(png, const_cast<uint8_t*>(pixels.data() + size_t{y} * w));
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  std::fclose(f);
}

bytes pattern(size_t count, int modulo) {
  bytes b(count);
  for (size_t i = 0; i < count; ++i) b[i] = static_cast<uint8_t>((i * 7 + i / 5) % modulo);
  return b;
}

TEST(Indexed, WrittenPicturesReadBack) {
  tempdir dir;
  std::vector<pngio::trgb> pal(256);
  for (int i = 0; i < 256; ++i) pal[i] = {uint8_t(i), uint8_t(i * 5), uint8_t(255 - i)};
  for (auto [w, h, colours] : {std::tuple{1u, 1u, 1}, {13u, 7u, 200}, {320u, 200u, 256}, {1025u, 3u, 2}}) {
    const bytes pixels = pattern(size_t{w} * h, colours);
    std::vector<pngio::trgb> p(pal.begin(), pal.begin() + colours);
    std::string error;
    ASSERT_EQ(pngio::writeindexed(dir.file("a.png"), w, h, pixels.data(), p, error), tpngresult::ok) << error;
    pngio::tindexed back;
    ASSERT_EQ(pngio::readindexed(dir.file("a.png"), back, error), tpngresult::ok) << error;
    EXPECT_EQ(back.width, w);
    EXPECT_EQ(back.height, h);
    EXPECT_EQ(back.pixels, pixels);
    ASSERT_EQ(back.palette.size(), p.size());
    for (size_t i = 0; i < p.size(); ++i)
      EXPECT_TRUE(back.palette[i].red == p[i].red && back.palette[i].green == p[i].green &&
                  back.palette[i].blue == p[i].blue);
  }
}

TEST(Indexed, SmallDepthsAndInterlacingExpandToBytes) {
  tempdir dir;
  for (int depth : {1, 2, 4, 8}) {
    for (bool interlaced : {false, true}) {
      const int colours = 1 << depth;
      const bytes pixels = pattern(23 * 9, colours);
      writeraw(dir.file("d.png"), 23, 9, depth, interlaced, pixels, colours);
      pngio::tindexed back;
      std::string error;
      ASSERT_EQ(pngio::readindexed(dir.file("d.png"), back, error), tpngresult::ok) << depth << error;
      EXPECT_EQ(back.pixels, pixels) << "depth " << depth << " interlaced " << interlaced;
      EXPECT_EQ(back.palette.size(), size_t(colours));
      EXPECT_EQ(back.palette[colours - 1].blue, uint8_t((colours - 1) * 3));
    }
  }
}

TEST(Indexed, RefusalsSayWhy) {
  tempdir dir;
  pngio::tindexed image;
  std::string error;

  EXPECT_EQ(pngio::readindexed(dir.file("none.png"), image, error), tpngresult::unreadable);
  EXPECT_NE(error.find("cannot open"), std::string::npos);

  dir.write("text.png", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n'});
  EXPECT_EQ(pngio::readindexed(dir.file("text.png"), image, error), tpngresult::unreadable);
  EXPECT_EQ(error, "not a PNG file");

  const bytes rgb(6 * 4 * 3, 77);
  ASSERT_EQ(pngio::writergb(dir.file("rgb.png"), 6, 4, rgb.data(), error), tpngresult::ok);
  EXPECT_EQ(pngio::readindexed(dir.file("rgb.png"), image, error), tpngresult::notindexed);
  EXPECT_EQ(error, "not an indexed PNG (it is RGB)");

  const bytes pixels = pattern(30 * 20, 4);
  std::vector<pngio::trgb> pal(4, pngio::trgb{0, 0, 0});
  ASSERT_EQ(pngio::writeindexed(dir.file("big.png"), 30, 20, pixels.data(), pal, error), tpngresult::ok);
  EXPECT_EQ(pngio::readindexed(dir.file("big.png"), image, error, 29, 20), tpngresult::toolarge);
  EXPECT_EQ(error, "too large: 30x20 (at most 29x20)");
  EXPECT_EQ(pngio::readindexed(dir.file("big.png"), image, error, 30, 19), tpngresult::toolarge);
  EXPECT_EQ(pngio::readindexed(dir.file("big.png"), image, error, 30, 20), tpngresult::ok);

  // A damaged file: every cut of a good one is refused, never half read.
  bytes good;
  ASSERT_TRUE(myio::readfile(dir.file("big.png"), good));
  for (size_t cut = 8; cut < good.size(); cut += 7) {
    dir.write("cut.png", bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut)));
    EXPECT_EQ(pngio::readindexed(dir.file("cut.png"), image, error), tpngresult::unreadable) << cut;
    EXPECT_TRUE(image.pixels.empty());
  }
  bytes flipped = good;
  flipped[40] ^= 0xFF;  // inside the image data: its checksum no longer matches
  dir.write("flip.png", flipped);
  EXPECT_EQ(pngio::readindexed(dir.file("flip.png"), image, error), tpngresult::unreadable);
  EXPECT_EQ(error.rfind("damaged PNG: ", 0), 0u) << error;
}

TEST(Indexed, PixelsPastThePaletteAreRefused) {
  tempdir dir;
  bytes pixels = pattern(8 * 8, 4);
  pixels[63] = 9;
  writeraw(dir.file("past.png"), 8, 8, 8, false, pixels, 4);
  pngio::tindexed image;
  std::string error;
  EXPECT_EQ(pngio::readindexed(dir.file("past.png"), image, error), tpngresult::badindex);
  EXPECT_EQ(error, "pixel index 9 past the palette's 4 entries");

  std::vector<pngio::trgb> pal(4, pngio::trgb{0, 0, 0});
  EXPECT_EQ(pngio::writeindexed(dir.file("w.png"), 8, 8, pixels.data(), pal, error), tpngresult::badindex);
  EXPECT_FALSE(myio::fileexists(dir.file("w.png")));
  EXPECT_EQ(pngio::writeindexed(dir.file("w.png"), 8, 8, pixels.data(), {}, error), tpngresult::writefailed);
  EXPECT_EQ(pngio::writeindexed(dir.file("w.png"), 0, 8, pixels.data(), pal, error), tpngresult::writefailed);
  EXPECT_EQ(pngio::writeindexed(dir.file("none/w.png"), 8, 8, pixels.data(), std::vector<pngio::trgb>(16), error),
            tpngresult::writefailed);
}

TEST(Rgb, WrittenPixelsReadBack) {
  tempdir dir;
  bytes rgb(17 * 5 * 3);
  for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(i * 11);
  std::string error;
  ASSERT_EQ(pngio::writergb(dir.file("c.png"), 17, 5, rgb.data(), error), tpngresult::ok);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, dir.file("c.png").c_str()));
  EXPECT_EQ(image.width, 17u);
  EXPECT_EQ(image.height, 5u);
  image.format = PNG_FORMAT_RGB;
  bytes back(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, back.data(), 0, nullptr));
  EXPECT_EQ(back, rgb);
}

}  // namespace
