// scratchfile: where a fuzz target puts its input, since the code under test
// reads files by name. Memory-backed /dev/shm when there is one.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzzing {

inline std::string scratchpath(const char* stem) {
  std::string dir = "/dev/shm";
  if (access(dir.c_str(), W_OK) != 0) {
    const char* tmp = std::getenv("TMPDIR");
    dir = tmp != nullptr && *tmp != 0 ? tmp : "/tmp";
  }
  return dir + "/morvanta-fuzz-" + stem + "-" + std::to_string(getpid()) + ".dat";
}

inline void writescratch(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) std::abort();
  if (size != 0 && std::fwrite(data, 1, size, f) != size) std::abort();
  if (std::fclose(f) != 0) std::abort();
}

}  // namespace fuzzing
