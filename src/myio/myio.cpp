// myio: file existence, upper-casing and whole-file reads and writes.
#include "myio/myio.h"

#include <cstdio>

namespace myio {

bool fileexists(const std::string& name) {
  if (name.empty()) return false;
  std::FILE* f = std::fopen(name.c_str(), "rb");
  if (f == nullptr) return false;
  std::fclose(f);
  return true;
}

std::string upstring(const std::string& s) {
  std::string out = s;
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

bool readfile(const std::string& name, std::vector<uint8_t>& bytes) {
  bytes.clear();
  std::FILE* f = std::fopen(name.c_str(), "rb");
  if (f == nullptr) return false;
  uint8_t block[65536];
  bool ok = true;
  for (;;) {
    size_t got = std::fread(block, 1, sizeof block, f);
    bytes.insert(bytes.end(), block, block + got);
    if (got < sizeof block) {
      ok = std::ferror(f) == 0;
      break;
    }
  }
  if (std::fclose(f) != 0) ok = false;
  if (!ok) bytes.clear();
  return ok;
}

bool writefile(const std::string& name, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(name.c_str(), "wb");
  if (f == nullptr) return false;
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (std::fclose(f) != 0) ok = false;
  if (!ok) std::remove(name.c_str());
  return ok;
}

}  // namespace myio
