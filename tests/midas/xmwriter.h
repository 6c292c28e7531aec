// xmwriter: the smallest XM files libopenmpt plays, for the music tests.
//
// A header, the order table, empty patterns and optionally one instrument
// with one silent 8-bit sample; enough to drive positions and rows.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

namespace xmwriter {

struct tsong {
  std::vector<uint8_t> orders{0, 1, 0};  // pattern of each order
  uint16_t patterns = 2;
  uint16_t rows = 64;
  uint16_t restart = 0;
  uint16_t channels = 4;
  uint16_t speed = 6;
  uint16_t bpm = 125;
  bool instrument = false;  // one instrument with a 1000-byte sample
};

inline void put16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}

inline void put32(std::vector<uint8_t>& v, uint32_t x) { put16(v, x & 0xFFFF); put16(v, x >> 16); }

inline void puttext(std::vector<uint8_t>& v, const char* text, size_t width) {
  for (size_t i = 0; i < width; ++i) v.push_back(*text ? static_cast<uint8_t>(*text++) : uint8_t{' '});
}

inline std::vector<uint8_t> write(const tsong& s) {
  std::vector<uint8_t> v;
  puttext(v, "Extended Module: ", 17);
  puttext(v, "test", 20);
  v.push_back(0x1A);
  puttext(v, "xmwriter", 20);
  put16(v, 0x0104);
  put32(v, 276);
  put16(v, static_cast<uint32_t>(s.orders.size()));
  put16(v, s.restart);
  put16(v, s.channels);
  put16(v, s.patterns);
  put16(v, s.instrument ? 1 : 0);
  put16(v, 1);  // linear frequencies
  put16(v, s.speed);
  put16(v, s.bpm);
  for (size_t i = 0; i < 256; ++i) v.push_back(i < s.orders.size() ? s.orders[i] : 0);
  for (uint16_t p = 0; p < s.patterns; ++p) {
    put32(v, 9);
    v.push_back(0);
    put16(v, s.rows);
    put16(v, 0);  // no packed data: every cell empty
  }
  if (s.instrument) {
    put32(v, 263);
    puttext(v, "silence", 22);
    v.push_back(0);
    put16(v, 1);
    put32(v, 40);
    v.resize(v.size() + 263 - 33, 0);  // key map, envelopes, vibrato, fade-out, reserved
    put32(v, 1000);                    // sample length in bytes
    v.resize(v.size() + 8, 0);         // loop start and length
    v.insert(v.end(), {64, 0, 0, 128, 0, 0});  // volume, finetune, 8-bit unlooped, panning, note, reserved
    puttext(v, "silence", 22);
    v.resize(v.size() + 1000, 0);
  }
  return v;
}

// A path under the temporary folder, unique to this process.
inline std::string tempname(const std::string& name) {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir ? dir : "/tmp") + "/midastest-" + std::to_string(::getpid()) + "-" + name;
}

// Writes the bytes to a temporary file; returns its path.
inline std::string save(const std::vector<uint8_t>& bytes, const std::string& name) {
  const std::string path = tempname(name);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f) {
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  return path;
}

}  // namespace xmwriter
