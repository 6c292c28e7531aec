// dump: the renderer's frame records, read back for the tests.
#include "support/dump.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/process.h"

namespace testsupport {

namespace {
uint32_t le(const std::string& s, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(s[at + static_cast<size_t>(i)]);
  return v;
}
}  // namespace

std::array<uint8_t, 3> tframerecord::colour(uint8_t i) const {
  std::array<uint8_t, 3> c{};
  for (size_t k = 0; k < 3; ++k) c[k] = static_cast<uint8_t>(static_cast<uint8_t>(palette[i * 4u + k]) >> 2);
  return c;
}

std::vector<tframerecord> readdump(const std::string& bytes) {
  std::vector<tframerecord> records;
  size_t at = 0;
  while (at < bytes.size()) {
    if (bytes.size() - at < 12) {
      ADD_FAILURE() << "a record header cut short at byte " << at;
      break;
    }
    if (bytes.compare(at, 4, "MVF1") != 0) {
      ADD_FAILURE() << "no MVF1 record at byte " << at;
      break;
    }
    tframerecord r;
    r.index = le(bytes, at + 4, 4);
    r.width = static_cast<uint16_t>(le(bytes, at + 8, 2));
    r.height = static_cast<uint16_t>(le(bytes, at + 10, 2));
    const size_t n = static_cast<size_t>(r.width) * r.height;
    if (bytes.size() - at - 12 < n + 1024) {
      ADD_FAILURE() << "record " << r.index << " cut short";
      break;
    }
    r.pixels = bytes.substr(at + 12, n);
    r.palette = bytes.substr(at + 12 + n, 1024);
    records.push_back(std::move(r));
    at += 12 + n + 1024;
  }
  return records;
}

std::vector<tframerecord> readdumpfile(const std::string& path, uint32_t from) {
  std::vector<tframerecord> records;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    ADD_FAILURE() << "cannot read " << path;
    return records;
  }
  std::string header(12, '\0');
  while (in.read(header.data(), 12)) {
    if (header.compare(0, 4, "MVF1") != 0) {
      ADD_FAILURE() << "no MVF1 record after frame " << records.size();
      break;
    }
    tframerecord r;
    r.index = le(header, 4, 4);
    r.width = static_cast<uint16_t>(le(header, 8, 2));
    r.height = static_cast<uint16_t>(le(header, 10, 2));
    const size_t n = static_cast<size_t>(r.width) * r.height;
    if (r.index < from) {
      in.seekg(static_cast<std::streamoff>(n + 1024), std::ios::cur);
      continue;
    }
    r.pixels.resize(n);
    r.palette.resize(1024);
    if (!in.read(r.pixels.data(), static_cast<std::streamsize>(n)) || !in.read(r.palette.data(), 1024)) {
      ADD_FAILURE() << "record " << r.index << " cut short";
      break;
    }
    records.push_back(std::move(r));
  }
  if (!in.eof() || in.gcount() != 0) ADD_FAILURE() << "a record header cut short in " << path;
  return records;
}

std::vector<tframerecord> renderdump(uint32_t seed, uint32_t rows, uint64_t frames,
                                     const std::vector<std::string>& extra, uint32_t from) {
  const std::string file = tempfolder() + "/show.dump";
  std::vector<std::string> args = {"--data", datapath(""), "--seed", std::to_string(seed), "--rows",
                                   std::to_string(rows), "--dump", file};
  if (frames > 0) {
    args.push_back("--frames");
    args.push_back(std::to_string(frames));
  }
  args.insert(args.end(), extra.begin(), extra.end());
  toptions o;
  o.cwd = tempfolder();
  o.killafter = 600;
  const trun r = runprogram("morvanta-render", args, o);
  EXPECT_EQ(r.exitcode, 0) << r.err;
  return readdumpfile(file, from);
}

}  // namespace testsupport
