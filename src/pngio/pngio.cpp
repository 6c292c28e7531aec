// pngio: libpng behind three calls.
//
// libpng reports errors by longjmp. Each function that sets the jump point
// keeps everything it changes afterwards in a job record owned by its
// caller, so nothing in the jumping frame needs to be volatile and no C++
// object's lifetime spans the jump.
#include "pngio/pngio.h"

#include <png.h>
#include <sys/stat.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include "myio/myio.h"

namespace pngio {

namespace {

struct tjob {
  std::FILE* file = nullptr;
  tpngresult result = tpngresult::ok;
  char message[256] = {};
  // reading
  tindexed* image = nullptr;
  uint32_t maxwidth = 0, maxheight = 0;
  // writing
  uint32_t width = 0, height = 0;
  const uint8_t* pixels = nullptr;
  uint32_t rowbytes = 0;
  const std::vector<trgb>* palette = nullptr;
  std::vector<png_bytep> rows;
};

void onerror(png_structp png, png_const_charp msg) {
  auto* job = static_cast<tjob*>(png_get_error_ptr(png));
  std::snprintf(job->message, sizeof job->message, "%s", msg);
  png_longjmp(png, 1);
}

void onwarning(png_structp, png_const_charp) {}  // warnings change nothing we return

void say(tjob& job, tpngresult result, const char* text) {
  job.result = result;
  std::snprintf(job.message, sizeof job.message, "%s", text);
}

const char* colourtypename(int type) {
  switch (type) {
    case PNG_COLOR_TYPE_GRAY: return "greyscale";
    case PNG_COLOR_TYPE_GRAY_ALPHA: return "greyscale with alpha";
    case PNG_COLOR_TYPE_RGB: return "RGB";
    case PNG_COLOR_TYPE_RGB_ALPHA: return "RGBA";
    default: return "unknown colour type";
  }
}

void readbody(tjob& job) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &job, onerror, onwarning);
  if (png == nullptr) return say(job, tpngresult::unreadable, "out of memory");
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return say(job, tpngresult::unreadable, "out of memory");
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    const std::string why = job.message;
    std::snprintf(job.message, sizeof job.message, "damaged PNG: %s", why.c_str());
    job.result = tpngresult::unreadable;
    return;
  }
  png_init_io(png, job.file);
  png_set_sig_bytes(png, 8);
  png_read_info(png, info);
  const uint32_t w = png_get_image_width(png, info);
  const uint32_t h = png_get_image_height(png, info);
  const int type = png_get_color_type(png, info);
  if (type != PNG_COLOR_TYPE_PALETTE) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::snprintf(job.message, sizeof job.message, "not an indexed PNG (it is %s)", colourtypename(type));
    job.result = tpngresult::notindexed;
    return;
  }
  if (w > job.maxwidth || h > job.maxheight) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::snprintf(job.message, sizeof job.message, "too large: %ux%u (at most %ux%u)", w, h, job.maxwidth,
                  job.maxheight);
    job.result = tpngresult::toolarge;
    return;
  }
  png_colorp plte = nullptr;
  int count = 0;
  if (png_get_PLTE(png, info, &plte, &count) != PNG_INFO_PLTE || count < 1 || count > 256) {
    png_destroy_read_struct(&png, &info, nullptr);
    return say(job, tpngresult::unreadable, "damaged PNG: no palette");
  }
  tindexed& image = *job.image;
  image.width = w;
  image.height = h;
  image.palette.resize(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) image.palette[i] = {plte[i].red, plte[i].green, plte[i].blue};

  if (png_get_bit_depth(png, info) < 8) png_set_packing(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != w) {
    png_destroy_read_struct(&png, &info, nullptr);
    return say(job, tpngresult::unreadable, "damaged PNG: unexpected row layout");
  }
  image.pixels.resize(size_t{w} * h);
  job.rows.resize(h);
  for (uint32_t y = 0; y < h; ++y) job.rows[y] = image.pixels.data() + size_t{y} * w;
  png_read_image(png, job.rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);

  for (uint8_t p : image.pixels)
    if (p >= count) {
      std::snprintf(job.message, sizeof job.message, "pixel index %u past the palette's %d entries", p, count);
      job.result = tpngresult::badindex;
      return;
    }
}

void writebody(tjob& job, int type) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &job, onerror, onwarning);
  if (png == nullptr) return say(job, tpngresult::writefailed, "out of memory");
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return say(job, tpngresult::writefailed, "out of memory");
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    job.result = tpngresult::writefailed;
    return;
  }
  png_init_io(png, job.file);
  png_set_IHDR(png, info, job.width, job.height, 8, type, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (type == PNG_COLOR_TYPE_PALETTE) {
    png_color plte[256];
    const int count = static_cast<int>(job.palette->size());
    for (int i = 0; i < count; ++i) plte[i] = {(*job.palette)[i].red, (*job.palette)[i].green, (*job.palette)[i].blue};
    png_set_PLTE(png, info, plte, count);
  }
  png_write_info(png, info);
  for (uint32_t y = 0; y < job.height; ++y)
    png_write_row(png, const_cast<png_bytep>(job.pixels + size_t{y} * job.rowbytes));
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
}

tpngresult finishwrite(const std::string& path, tjob& job, int type, std::string& error) {
  job.file = std::fopen(path.c_str(), "wb");
  if (job.file == nullptr) {
    error = std::string("cannot create: ") + std::strerror(errno);
    return tpngresult::writefailed;
  }
  // Only a regular file is ours to remove: the path may be a device.
  struct stat st {};
  const bool regular = fstat(fileno(job.file), &st) == 0 && S_ISREG(st.st_mode);
  writebody(job, type);
  if (std::fclose(job.file) != 0 && job.result == tpngresult::ok)
    say(job, tpngresult::writefailed, "cannot finish writing");
  if (job.result != tpngresult::ok) {
    if (regular) std::remove(path.c_str());
    error = std::string("cannot write: ") + job.message;
  }
  return job.result;
}

bool checksize(uint32_t width, uint32_t height, std::string& error) {
  if (width >= 1 && height >= 1 && width <= PNG_UINT_31_MAX && height <= PNG_UINT_31_MAX) return true;
  error = "a PNG needs a width and height of at least 1";
  return false;
}

}  // namespace

tpngresult readindexed(const std::string& path, tindexed& image, std::string& error, uint32_t maxwidth,
                       uint32_t maxheight) {
  image = tindexed{};
  std::string why;
  std::FILE* f = myio::openread(path, &why);
  if (f == nullptr) {
    error = "cannot open: " + why;
    return tpngresult::unreadable;
  }
  uint8_t sig[8];
  if (std::fread(sig, 1, sizeof sig, f) != sizeof sig || png_sig_cmp(sig, 0, sizeof sig) != 0) {
    std::fclose(f);
    error = "not a PNG file";
    return tpngresult::unreadable;
  }
  tjob job;
  job.file = f;
  job.image = &image;
  job.maxwidth = maxwidth;
  job.maxheight = maxheight;
  readbody(job);
  std::fclose(f);
  error = job.message;
  if (job.result != tpngresult::ok) image = tindexed{};
  return job.result;
}

tpngresult writeindexed(const std::string& path, uint32_t width, uint32_t height, const uint8_t* pixels,
                        const std::vector<trgb>& palette, std::string& error) {
  if (!checksize(width, height, error)) return tpngresult::writefailed;
  if (palette.empty() || palette.size() > 256) {
    error = "a palette needs 1 to 256 entries";
    return tpngresult::writefailed;
  }
  const size_t count = size_t{width} * height;
  for (size_t i = 0; i < count; ++i)
    if (pixels[i] >= palette.size()) {
      error = "pixel index " + std::to_string(pixels[i]) + " past the palette's " +
              std::to_string(palette.size()) + " entries";
      return tpngresult::badindex;
    }
  tjob job;
  job.width = width;
  job.height = height;
  job.pixels = pixels;
  job.rowbytes = width;
  job.palette = &palette;
  return finishwrite(path, job, PNG_COLOR_TYPE_PALETTE, error);
}

tpngresult writergb(const std::string& path, uint32_t width, uint32_t height, const uint8_t* rgb,
                    std::string& error) {
  if (!checksize(width, height, error)) return tpngresult::writefailed;
  tjob job;
  job.width = width;
  job.height = height;
  job.pixels = rgb;
  job.rowbytes = 3 * width;
  return finishwrite(path, job, PNG_COLOR_TYPE_RGB, error);
}

}  // namespace pngio
