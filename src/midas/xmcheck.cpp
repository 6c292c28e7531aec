// xmcheck: walks an XM file's structure before libopenmpt sees it.
#include "midas/xmcheck.h"

#include <cstdio>
#include <cstring>

namespace midas {

namespace {

constexpr char signature[] = "Extended Module: ";
constexpr size_t signaturelength = 17;
constexpr size_t headerstart = 60;  // the header size field
constexpr size_t headerfields = 20;  // size field up to the BPM

uint32_t get16(const uint8_t* p) { return static_cast<uint32_t>(p[0] | (p[1] << 8)); }
uint32_t get32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool fail(std::string& why, const std::string& text) {
  why = text;
  return false;
}

}  // namespace

bool checkxm(const uint8_t* data, size_t size, std::string& why) {
  if (size == 0) return fail(why, "the file is empty");
  if (size < signaturelength || std::memcmp(data, signature, signaturelength) != 0)
    return fail(why, "not an XM module (no \"Extended Module\" signature)");
  if (size < headerstart + 4) return fail(why, "the file ends inside the XM header");
  const uint32_t version = get16(data + 58);
  if (version != 0x0104) {
    char text[64];
    std::snprintf(text, sizeof text, "XM version %u.%02x is not supported", version >> 8, version & 0xFF);
    return fail(why, text);
  }
  const uint64_t headersize = get32(data + headerstart);
  if (headersize < headerfields) return fail(why, "the XM header is too short");
  if (headerstart + headersize > size) return fail(why, "the file ends inside the XM header");

  const uint8_t* h = data + headerstart;
  const uint32_t songlength = get16(h + 4);
  const uint32_t channels = get16(h + 8);
  const uint32_t patterns = get16(h + 10);
  const uint32_t instruments = get16(h + 12);
  if (songlength < 1 || songlength > 256) return fail(why, "the song length " + std::to_string(songlength) + " is outside 1..256");
  if (channels < 1 || channels > 64) return fail(why, "the channel count " + std::to_string(channels) + " is outside 1..64");
  if (patterns > 256) return fail(why, "the pattern count " + std::to_string(patterns) + " is above 256");
  if (instruments > 128) return fail(why, "the instrument count " + std::to_string(instruments) + " is above 128");

  uint64_t at = headerstart + headersize;
  for (uint32_t p = 0; p < patterns; ++p) {
    const std::string name = "pattern " + std::to_string(p);
    if (at + 9 > size) return fail(why, "the file ends before " + name);
    const uint64_t length = get32(data + at);
    const uint32_t packing = data[at + 4];
    const uint32_t rows = get16(data + at + 5);
    const uint64_t packed = get16(data + at + 7);
    if (length < 9) return fail(why, name + " has a header of " + std::to_string(length) + " bytes");
    if (packing != 0) return fail(why, name + " has an unknown packing type");
    if (rows < 1 || rows > 256) return fail(why, name + " has " + std::to_string(rows) + " rows (1..256)");
    at += length + packed;
    if (at > size) return fail(why, "the file ends inside " + name);
  }

  for (uint32_t i = 1; i <= instruments; ++i) {
    const std::string name = "instrument " + std::to_string(i);
    if (at + 29 > size) return fail(why, "the file ends before " + name);
    const uint64_t length = get32(data + at);
    const uint32_t samples = get16(data + at + 27);
    if (length < 29) return fail(why, name + " has a header of " + std::to_string(length) + " bytes");
    if (samples > 16) return fail(why, name + " has " + std::to_string(samples) + " samples (at most 16)");
    uint64_t sampleheader = 0;
    if (samples > 0) {
      if (at + 33 > size) return fail(why, "the file ends inside " + name);
      sampleheader = get32(data + at + 29);
      if (sampleheader < 40) return fail(why, name + " has sample headers of " + std::to_string(sampleheader) + " bytes");
    }
    at += length;
    uint64_t body = 0;
    for (uint32_t s = 0; s < samples; ++s) {
      if (at + 40 > size) return fail(why, "the file ends inside the sample headers of " + name);
      uint64_t bytes = get32(data + at);
      if (data[at + 17] == 0xAD) bytes = (bytes + 1) / 2 + 16;  // 4-bit delta packed
      body += bytes;
      at += sampleheader;
    }
    at += body;
    if (at > size) return fail(why, "the file ends inside the samples of " + name);
  }
  return true;
}

}  // namespace midas
