// loadimx: picture loading from the archive, and .im encoding and decoding.
#include "loadimx/loadimx.h"

#include <sys/types.h>

#include <cstdio>
#include <cstring>

#include "myio/myio.h"
#include "verovo/verovo.h"

namespace loadimx {

namespace {

uint8_t rowbuffer[maxwidth];
uint8_t colourbuffer[3 * 255];

bool readexact(std::FILE* f, void* to, size_t count) {
  return count == 0 || std::fread(to, 1, count, f) == count;
}

uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

uint64_t imsize(uint8_t n, uint16_t w, uint16_t h) {
  return 5u + 3u * uint64_t{n} + uint64_t{w} * (uint64_t{h} - 1u);
}

void setcolours(tpalette& pal, uint8_t n, const uint8_t* rgb) {
  pal.entry[0].red = pal.entry[0].green = pal.entry[0].blue = 0;
  for (int k = 1; k <= n; ++k) {
    pal.entry[k].red = rgb[3 * (k - 1)];
    pal.entry[k].green = rgb[3 * (k - 1) + 1];
    pal.entry[k].blue = rgb[3 * (k - 1) + 2];
  }
}

// The body of loadim once the file is open; the caller closes it.
tloadresult loadfrom(std::FILE* f, uint8_t entry, tbitmap& bm, tpalette& pal, uint32_t storesize) {
  const uint64_t offset = verovo::entryoffset(entry);
  if (fseeko(f, 0, SEEK_END) != 0) return tloadresult::corruptfile;
  const off_t length = ftello(f);
  if (length < 0 || fseeko(f, static_cast<off_t>(offset), SEEK_SET) != 0) return tloadresult::corruptfile;

  uint8_t head[5];
  if (!readexact(f, head, sizeof head)) return tloadresult::corruptfile;
  const uint8_t n = head[0];
  const uint16_t w = le16(head + 1);
  const uint16_t h = le16(head + 3);
  if (!imfits(n, w, h, storesize, verovo::filelist[entry].size)) return tloadresult::corruptpicture;
  // An index that promises more than the file holds: nothing is written then.
  if (offset + imsize(n, w, h) > static_cast<uint64_t>(length)) return tloadresult::corruptfile;

  if (!readexact(f, colourbuffer, 3u * n)) return tloadresult::corruptfile;
  setcolours(pal, n, colourbuffer);
  bm.width = w;
  bm.height = static_cast<uint16_t>(h - 1);
  bm.colors = n;
  for (uint32_t r = 0; r + 1 < h; ++r) {
    if (!readexact(f, rowbuffer, w)) return tloadresult::corruptfile;
    std::memcpy(bm.pixels + r * w, rowbuffer, w);
  }
  return tloadresult::ok;
}

}  // namespace

bool imfits(uint8_t n, uint16_t w, uint16_t h, uint32_t storesize, uint64_t entrysize) {
  if (w < 1 || w > maxwidth || h < 2) return false;
  if (uint64_t{w} * (h - 1u) > storesize) return false;
  return imsize(n, w, h) <= entrysize;
}

tloadresult loadim(const std::string& name, tbitmap& bm, tpalette& pal, uint32_t storesize) {
  const uint8_t entry = verovo::findentry(name);
  if (entry == 0) return tloadresult::missing;
  std::FILE* f = myio::openread(verovo::archivename);
  if (f == nullptr) return tloadresult::corruptfile;
  tloadresult result = loadfrom(f, entry, bm, pal, storesize);
  if (std::fclose(f) != 0 && result == tloadresult::ok) result = tloadresult::corruptfile;
  return result;
}

std::string loadimmessage(tloadresult result, const std::string& name) {
  switch (result) {
    case tloadresult::ok: return "";
    case tloadresult::missing: return name + " is missing from morvanta.dat";
    case tloadresult::corruptfile: return "morvanta.dat is a corrupt file";
    case tloadresult::corruptpicture: return name + " is a corrupt picture";
  }
  return "";
}

bool encodeim(uint8_t colors, uint16_t width, uint16_t height, const tpalette& palette,
              const std::vector<uint8_t>& pixels, std::vector<uint8_t>& bytes) {
  bytes.clear();
  if (width < 1 || width > maxwidth || height < 1 || height > maxheight) return false;
  if (pixels.size() != size_t{width} * height) return false;
  const uint16_t stored = static_cast<uint16_t>(height + 1);
  bytes.reserve(static_cast<size_t>(imsize(colors, width, stored)));
  bytes.push_back(colors);
  bytes.push_back(static_cast<uint8_t>(width));
  bytes.push_back(static_cast<uint8_t>(width >> 8));
  bytes.push_back(static_cast<uint8_t>(stored));
  bytes.push_back(static_cast<uint8_t>(stored >> 8));
  for (int k = 1; k <= colors; ++k) {
    bytes.push_back(palette.entry[k].red);
    bytes.push_back(palette.entry[k].green);
    bytes.push_back(palette.entry[k].blue);
  }
  bytes.insert(bytes.end(), pixels.begin(), pixels.end());
  return true;
}

tloadresult decodeim(const std::vector<uint8_t>& bytes, timage& image) {
  if (bytes.size() < 5) return tloadresult::corruptpicture;
  const uint8_t n = bytes[0];
  const uint16_t w = le16(bytes.data() + 1);
  const uint16_t h = le16(bytes.data() + 3);
  if (!imfits(n, w, h, UINT32_MAX, bytes.size())) return tloadresult::corruptpicture;
  setcolours(image.palette, n, bytes.data() + 5);
  image.colors = n;
  image.width = w;
  image.height = static_cast<uint16_t>(h - 1);
  const uint8_t* rows = bytes.data() + 5 + 3 * size_t{n};
  image.pixels.assign(rows, rows + size_t{w} * (h - 1u));
  return tloadresult::ok;
}

}  // namespace loadimx
