// picturefiles: PNG <-> .im conversion, the default archive, manifest names.
#include "apps/picturefiles.h"

#include "verovo/verovo.h"

namespace picturefiles {

bool pngtoim(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
  bytes.clear();
  pngio::tindexed png;
  if (pngio::readindexed(path, png, error, loadimx::maxwidth, loadimx::maxheight) != pngio::tpngresult::ok)
    return false;
  if (png.width == 0 || png.height == 0) {
    error = "empty picture";
    return false;
  }
  const pngio::trgb zero = png.palette[0];
  if (zero.red != 0 || zero.green != 0 || zero.blue != 0) {
    for (uint8_t p : png.pixels)
      if (p == 0) {
        error = png.palette.size() == 256
                    ? "more than 255 colours: all 256 palette entries are in use and entry 0 is not "
                      "black (entry 0 always shows black)"
                    : "palette entry 0 is used but not black (entry 0 always shows black; move the "
                      "colour to a free entry)";
        return false;
      }
  }
  loadimx::tpalette pal{};
  for (size_t k = 1; k < png.palette.size(); ++k) {
    pal.entry[k].red = to6bit(png.palette[k].red);
    pal.entry[k].green = to6bit(png.palette[k].green);
    pal.entry[k].blue = to6bit(png.palette[k].blue);
  }
  const auto colors = static_cast<uint8_t>(png.palette.size() - 1);
  if (!loadimx::encodeim(colors, static_cast<uint16_t>(png.width), static_cast<uint16_t>(png.height), pal,
                         png.pixels, bytes)) {
    error = "cannot be stored as a picture";
    return false;
  }
  return true;
}

bool imtopng(const std::vector<uint8_t>& bytes, pngio::tindexed& png) {
  loadimx::timage image;
  if (loadimx::decodeim(bytes, image) != loadimx::tloadresult::ok) return false;
  if (bytes.size() != 5 + 3 * size_t{image.colors} + image.pixels.size()) return false;
  for (uint8_t p : image.pixels)
    if (p > image.colors) return false;
  png.width = image.width;
  png.height = image.height;
  png.palette.assign(size_t{image.colors} + 1, pngio::trgb{0, 0, 0});
  for (int k = 1; k <= image.colors; ++k) {
    const tarnpal::tpalentry& e = image.palette.entry[k];
    if (e.red > 63 || e.green > 63 || e.blue > 63) return false;
    png.palette[k] = {to8bit(e.red), to8bit(e.green), to8bit(e.blue)};
  }
  png.pixels = std::move(image.pixels);
  return true;
}

bool packartwork(const std::vector<assets::tartwork>& pictures, std::vector<uint8_t>& archive,
                 std::string& error) {
  std::vector<verovo::tentry> entries;
  for (const assets::tartwork& a : pictures) {
    verovo::tentry e;
    e.name = "GRAPH\\" + a.stem + ".im";
    if (!loadimx::encodeim(a.colors, a.width, a.height, a.palette, a.pixels, e.data)) {
      error = "picture " + a.stem + " breaks the picture limits (" + std::to_string(a.width) + "x" +
              std::to_string(a.height) + ", " + std::to_string(a.pixels.size()) + " pixels)";
      return false;
    }
    entries.push_back(std::move(e));
  }
  return verovo::buildarchive({"GRAPH"}, entries, archive, error);
}

std::string escapename(const std::string& name) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : name) {
    const auto b = static_cast<uint8_t>(c);
    if (b < 0x21 || b > 0x7E || b == '%') {
      out += '%';
      out += hex[b >> 4];
      out += hex[b & 15];
    } else {
      out += c;
    }
  }
  return out;
}

bool unescapename(const std::string& text, std::string& name) {
  name.clear();
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<uint8_t>(text[i]);
    if (b < 0x21 || b > 0x7E) return false;
    if (text[i] != '%') {
      name += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return false;
    const int hi = digit(text[i + 1]), lo = digit(text[i + 2]);
    if (hi < 0 || lo < 0) return false;
    name += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return true;
}

}  // namespace picturefiles
