// fuzz_loadim: the fourteen pictures loaded into the show's own stores from
// any archive bytes, and every entry loaded into a store as well. A load
// that succeeds must agree with decoding the entry's bytes, and must fit the
// store it was given.
#include <cstdlib>
#include <cstring>

#include "loadimx/loadimx.h"
#include "scratchfile.h"
#include "tools/stores.h"
#include "verovo/verovo.h"

namespace {
std::string path;
void removescratch() { std::remove(path.c_str()); }

void check(const tools::tpicture& p, loadimx::tloadresult result) {
  if (result != loadimx::tloadresult::ok) return;
  if (uint64_t{p.bitmap->width} * p.bitmap->height > p.storesize) std::abort();
  if (p.bitmap->width == 0 || p.bitmap->width > loadimx::maxwidth || p.bitmap->height == 0) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (path.empty()) {
    path = fuzzing::scratchpath("loadim");
    std::atexit(removescratch);
    tools::initmemory();
  }
  fuzzing::writescratch(path, data, size);
  verovo::openarchive(path);
  if (verovo::archivestatus != verovo::archiveok) return 0;

  for (const tools::tpicture& p : tools::pictures)
    check(p, loadimx::loadim(p.entry, *p.bitmap, *p.palette, p.storesize));

  std::vector<uint8_t> bytes;
  for (int i = 1; i <= verovo::filecount; ++i) {
    const std::string& name = verovo::filelist[i].name;
    if (verovo::findentry(name) != i) continue;  // a later namesake is the one loaded
    const tools::tpicture& p = tools::pictures[i % tools::picturecount];
    const loadimx::tloadresult result = loadimx::loadim(name, *p.bitmap, *p.palette, p.storesize);
    check(p, result);
    // A picture may load although the file lacks the entry's spare bytes.
    if (!verovo::readentry(static_cast<uint8_t>(i), bytes)) continue;
    loadimx::timage image;
    const loadimx::tloadresult decoded = loadimx::decodeim(bytes, image);
    if (result == loadimx::tloadresult::ok) {
      if (decoded != loadimx::tloadresult::ok || image.width != p.bitmap->width ||
          image.height != p.bitmap->height || image.colors != p.bitmap->colors ||
          std::memcmp(image.pixels.data(), p.bitmap->pixels, image.pixels.size()) != 0)
        std::abort();
    } else if (decoded == loadimx::tloadresult::ok &&
               uint64_t{image.width} * image.height <= p.storesize) {
      std::abort();  // the bytes are a picture that fits, yet the load refused it
    }
  }
  return 0;
}
