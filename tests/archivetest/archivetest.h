// archivetest: scratch folders and hand-laid archive bytes for the tests of
// the archive, the picture loader and the tools.
//
// The archive bytes here are laid out field by field from the file format,
// independently of verovo's writer, so each side checks the other.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "verovo/verovo.h"

namespace archivetest {

using bytes = std::vector<uint8_t>;
using strings = std::vector<std::string>;

struct tentry {
  std::string name;
  bytes data;
  int64_t size = -1;  // the size written into the record; -1: data.size()
};

inline bytes text(const std::string& s) { return bytes(s.begin(), s.end()); }
inline void put(bytes& b, const bytes& more) { b.insert(b.end(), more.begin(), more.end()); }
inline void put(bytes& b, const std::string& s) { put(b, text(s)); }
inline void putle(bytes& b, uint32_t v, int count) {
  for (int k = 0; k < count; ++k) b.push_back(static_cast<uint8_t>(v >> (8 * k)));
}
// The first n bytes of b.
inline bytes prefix(const bytes& b, size_t n) { return bytes(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(n)); }

// Signature, version, counts, names and records, without the data.
inline bytes header(const strings& dirs, const std::vector<tentry>& entries,
                    const std::string& version = "3.1") {
  bytes b = text("@@VEROVO@@" + version);
  b.push_back(static_cast<uint8_t>(dirs.size()));
  b.push_back(static_cast<uint8_t>(entries.size()));
  for (const std::string& d : dirs) {
    b.push_back(static_cast<uint8_t>(d.size()));
    put(b, d);
  }
  for (const tentry& e : entries) {
    b.push_back(static_cast<uint8_t>(e.name.size()));
    put(b, e.name);
    putle(b, static_cast<uint32_t>(e.size >= 0 ? e.size : static_cast<int64_t>(e.data.size())), 4);
  }
  return b;
}

// leading filler bytes, the header, then every entry's data.
inline bytes archive(const strings& dirs, const std::vector<tentry>& entries,
                     size_t leading = 0) {
  bytes b(leading, 0x55);
  put(b, header(dirs, entries));
  for (const tentry& e : entries) put(b, e.data);
  return b;
}

// The entry bytes of a picture, laid out by hand: stored height is rows + 1.
inline bytes picture(uint8_t n, uint16_t w, uint16_t storedh, uint8_t seed = 1) {
  bytes b{n};
  putle(b, w, 2);
  putle(b, storedh, 2);
  for (int k = 0; k < 3 * n; ++k) b.push_back(static_cast<uint8_t>((k * 7 + seed) % 64));
  const size_t count = storedh >= 1 ? size_t{w} * (storedh - 1u) : 0;
  for (size_t i = 0; i < count; ++i) b.push_back(static_cast<uint8_t>(i * 31 + seed));
  return b;
}

// The open archive's directory names and entry names, in order.
inline strings dirnames() { return strings(verovo::dirlist + 1, verovo::dirlist + 1 + verovo::dircount); }
inline strings entrynames() {
  strings names;
  for (int i = 1; i <= verovo::filecount; ++i) names.push_back(verovo::filelist[i].name);
  return names;
}

// True for a character device, such as /dev/full.
inline bool isdevice(const char* path) {
  struct stat st {};
  return stat(path, &st) == 0 && S_ISCHR(st.st_mode);
}

// A scratch folder, removed with everything in it at the end of the test.
class tempdir {
 public:
  tempdir() {
    std::string base = (std::filesystem::temp_directory_path() / "morvanta-test-XXXXXX").string();
    if (mkdtemp(base.data()) == nullptr) std::abort();
    path_ = base;
  }
  ~tempdir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  tempdir(const tempdir&) = delete;
  tempdir& operator=(const tempdir&) = delete;

  std::string file(const std::string& name) const { return (std::filesystem::path(path_) / name).string(); }
  const std::string& path() const { return path_; }

  std::string write(const std::string& name, const bytes& b) const {
    const std::string p = file(name);
    std::FILE* f = std::fopen(p.c_str(), "wb");
    if (f == nullptr) std::abort();
    if (!b.empty()) std::fwrite(b.data(), 1, b.size(), f);
    std::fclose(f);
    return p;
  }

  // Files that are not files: a named pipe, and a symbolic link to `to`.
  std::string fifo(const std::string& name) const {
    const std::string p = file(name);
    if (mkfifo(p.c_str(), 0644) != 0) std::abort();
    return p;
  }
  std::string link(const std::string& name, const std::string& to) const {
    const std::string p = file(name);
    std::filesystem::create_symlink(to, p);
    return p;
  }

  // The names in the folder, or in one of its subfolders, sorted.
  strings names(const std::string& sub = "") const {
    strings all;
    for (const auto& e : std::filesystem::directory_iterator(sub.empty() ? path_ : file(sub)))
      all.push_back(e.path().filename().string());
    std::sort(all.begin(), all.end());
    return all;
  }

 private:
  std::string path_;
};

}  // namespace archivetest
