// fuzz_archive: openarchive on any bytes, then every lookup the index allows.
// Beyond the sanitizers it checks what the index promises: a failed open
// leaves nothing to find, every entry finds itself or a later namesake, and
// the offsets climb without wrapping.
#include <cstdlib>

#include "myio/myio.h"
#include "scratchfile.h"
#include "verovo/verovo.h"

namespace {
std::string path;
void removescratch() { std::remove(path.c_str()); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (path.empty()) {
    path = fuzzing::scratchpath("archive");
    std::atexit(removescratch);
  }
  fuzzing::writescratch(path, data, size);
  verovo::openarchive(path);
  if (verovo::archivestatus != verovo::archiveok) {
    if (verovo::filecount != 0 || verovo::findentry("") != 0) std::abort();
    return 0;
  }
  uint64_t expected = verovo::datastart;
  std::vector<uint8_t> bytes;
  for (int i = 1; i <= verovo::filecount; ++i) {
    const auto n = static_cast<uint8_t>(i);
    const std::string& name = verovo::filelist[i].name;
    const uint8_t found = verovo::findentry(name);
    if (found < n || myio::upstring(verovo::filelist[found].name) != myio::upstring(name)) std::abort();
    if (verovo::findentry(myio::upstring(name)) != found) std::abort();
    if (verovo::entryoffset(n) != expected) std::abort();
    expected += verovo::filelist[i].size;
    if (expected > UINT32_MAX) std::abort();
    if (verovo::readentry(n, bytes) && bytes.size() != verovo::filelist[i].size) std::abort();
  }
  return 0;
}
