// verovo: signature search, header index, lookups and the archive writer.
#include "verovo/verovo.h"

#include <sys/types.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "myio/myio.h"
#include "runtime/check.h"

namespace verovo {

const char signature[10] = {'@', '@', 'V', 'E', 'R', 'O', 'V', 'O', '@', '@'};
const char version[3] = {'3', '.', '1'};

uint8_t archivestatus = archiveok;
std::string archivename;
std::string dirlist[256];
uint8_t dircount = 0;
tfilelist filelist[256];
uint8_t filecount = 0;
uint32_t datastart = 0;

namespace {

// The header is read into these tables first and copied into the index only
// when all of it was read, so a failed open leaves the index empty.
struct trecord {
  uint8_t length;
  char name[255];
  uint32_t size;
};
trecord records[255];
struct tdirname {
  uint8_t length;
  char name[255];
};
tdirname dirnames[255];

void clearindex() {
  for (int i = 1; i <= filecount; ++i) filelist[i] = tfilelist{};
  for (int i = 1; i <= dircount; ++i) dirlist[i].clear();
  filecount = 0;
  dircount = 0;
  datastart = 0;
}

bool readexact(std::FILE* f, void* to, size_t count) {
  return count == 0 || std::fread(to, 1, count, f) == count;
}

bool readbyte(std::FILE* f, uint8_t& b) { return readexact(f, &b, 1); }

bool readu32(std::FILE* f, uint32_t& v) {
  uint8_t b[4];
  if (!readexact(f, b, 4)) return false;
  v = uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
  return true;
}

enum class tsearch { found, notfound, failed };

// Scans the file from its first byte in 2049-byte blocks. The last nine bytes
// of each block stay in the window, so a signature across two blocks is seen.
tsearch findsignature(std::FILE* f, uint64_t& headerpos) {
  static uint8_t window[sizeof signature - 1 + searchblock];
  size_t kept = 0;
  uint64_t base = 0;  // file position of window[0]
  for (;;) {
    size_t got = std::fread(window + kept, 1, searchblock, f);
    if (got == 0) return std::ferror(f) ? tsearch::failed : tsearch::notfound;
    size_t avail = kept + got;
    for (size_t i = 0; i + sizeof signature <= avail; ++i) {
      if (std::memcmp(window + i, signature, sizeof signature) == 0) {
        headerpos = base + i + sizeof signature;
        return tsearch::found;
      }
    }
    size_t keep = std::min(avail, sizeof signature - 1);
    std::memmove(window, window + avail - keep, keep);
    base += avail - keep;
    kept = keep;
  }
}

// Reads version, counts, names and records. Returns the status to report;
// on archiveok the tables above hold the header and start the data area.
uint8_t readheader(std::FILE* f, uint64_t headerpos, uint8_t& d, uint8_t& n, uint64_t& start) {
  if (headerpos > UINT32_MAX) return archivecorrupt;
  if (fseeko(f, static_cast<off_t>(headerpos), SEEK_SET) != 0) return archivecorrupt;
  char got[3];
  if (!readexact(f, got, 3)) return archivecorrupt;
  if (std::memcmp(got, version, 3) != 0) return archivebadversion;
  if (!readbyte(f, d) || !readbyte(f, n)) return archivecorrupt;
  for (int i = 0; i < d; ++i)
    if (!readbyte(f, dirnames[i].length) || !readexact(f, dirnames[i].name, dirnames[i].length))
      return archivecorrupt;
  for (int i = 0; i < n; ++i)
    if (!readbyte(f, records[i].length) || !readexact(f, records[i].name, records[i].length) ||
        !readu32(f, records[i].size))
      return archivecorrupt;
  off_t here = ftello(f);
  if (here < 0) return archivecorrupt;
  start = static_cast<uint64_t>(here);
  // Positions are 32-bit: an index whose entries end past them cannot be
  // right, and entryoffset would wrap.
  uint64_t end = start;
  for (int i = 0; i < n; ++i) end += records[i].size;
  if (end > UINT32_MAX) return archivecorrupt;
  return archiveok;
}

}  // namespace

void openarchive(const std::string& name) {
  clearindex();
  if (!myio::fileexists(name)) {
    archivestatus = archivemissing;
    return;
  }
  archivename = name;
  std::FILE* f = myio::openread(name);
  if (f == nullptr) {
    archivestatus = archivemissing;
    return;
  }
  uint64_t headerpos = 0;
  uint8_t d = 0, n = 0;
  uint64_t start = 0;
  uint8_t status = archivecorrupt;
  switch (findsignature(f, headerpos)) {
    case tsearch::notfound: status = archivenosignature; break;
    case tsearch::failed: status = archivecorrupt; break;
    case tsearch::found: status = readheader(f, headerpos, d, n, start); break;
  }
  if (std::fclose(f) != 0 && status == archiveok) status = archivecorrupt;
  archivestatus = status;
  if (status != archiveok) return;

  for (int i = 0; i < d; ++i) dirlist[i + 1].assign(dirnames[i].name, dirnames[i].length);
  for (int i = 0; i < n; ++i) {
    filelist[i + 1].name.assign(records[i].name, records[i].length);
    filelist[i + 1].size = records[i].size;
  }
  dircount = d;
  filecount = n;
  datastart = static_cast<uint32_t>(start);
}

uint8_t findentry(const std::string& name) {
  const std::string wanted = myio::upstring(name);
  uint8_t found = 0;
  for (int i = 1; i <= filecount; ++i)
    if (myio::upstring(filelist[i].name) == wanted) found = static_cast<uint8_t>(i);
  return found;
}

uint32_t entryoffset(uint8_t n) {
  MORVANTA_REQUIRE(n >= 1 && n <= filecount);
  uint32_t offset = datastart;
  for (int i = 1; i < n; ++i) offset += filelist[i].size;
  return offset;
}

bool readentry(uint8_t n, std::vector<uint8_t>& bytes) {
  MORVANTA_REQUIRE(n >= 1 && n <= filecount);
  bytes.clear();
  std::FILE* f = myio::openread(archivename);
  if (f == nullptr) return false;
  const uint64_t offset = entryoffset(n);
  const uint64_t size = filelist[n].size;
  bool ok = fseeko(f, 0, SEEK_END) == 0;
  const off_t length = ok ? ftello(f) : -1;
  // Check the length before sizing the buffer: a bad size must not allocate.
  ok = length >= 0 && offset + size <= static_cast<uint64_t>(length) &&
       fseeko(f, static_cast<off_t>(offset), SEEK_SET) == 0;
  if (ok) {
    bytes.resize(size);
    ok = readexact(f, bytes.data(), bytes.size());
  }
  if (std::fclose(f) != 0) ok = false;
  if (!ok) bytes.clear();
  return ok;
}

bool buildarchive(const std::vector<std::string>& dirs, const std::vector<tentry>& entries,
                  std::vector<uint8_t>& bytes, std::string& error) {
  bytes.clear();
  if (dirs.size() > 255) {
    error = "more than 255 directory names";
    return false;
  }
  if (entries.size() > 255) {
    error = "more than 255 entries";
    return false;
  }
  for (const std::string& d : dirs)
    if (d.size() > 255) {
      error = "directory name longer than 255 bytes: " + d.substr(0, 40) + "...";
      return false;
    }
  for (const tentry& e : entries)
    if (e.name.size() > 255) {
      error = "entry name longer than 255 bytes: " + e.name.substr(0, 40) + "...";
      return false;
    }

  bytes.insert(bytes.end(), signature, signature + sizeof signature);
  bytes.insert(bytes.end(), version, version + sizeof version);
  bytes.push_back(static_cast<uint8_t>(dirs.size()));
  bytes.push_back(static_cast<uint8_t>(entries.size()));
  for (const std::string& d : dirs) {
    bytes.push_back(static_cast<uint8_t>(d.size()));
    bytes.insert(bytes.end(), d.begin(), d.end());
  }
  uint64_t end = 0;
  for (const tentry& e : entries) {
    bytes.push_back(static_cast<uint8_t>(e.name.size()));
    bytes.insert(bytes.end(), e.name.begin(), e.name.end());
    const uint64_t size = e.data.size();
    end += size;
    for (int k = 0; k < 4; ++k) bytes.push_back(static_cast<uint8_t>(size >> (8 * k)));
  }
  end += bytes.size();
  if (end > UINT32_MAX) {
    bytes.clear();
    error = "the entries reach past 4 GiB, beyond the archive's 32-bit positions";
    return false;
  }
  bytes.reserve(static_cast<size_t>(end));
  for (const tentry& e : entries) bytes.insert(bytes.end(), e.data.begin(), e.data.end());
  return true;
}

bool writearchive(const std::string& name, const std::vector<std::string>& dirs,
                  const std::vector<tentry>& entries, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!buildarchive(dirs, entries, bytes, error)) return false;
  if (!myio::writefile(name, bytes)) {
    error = "cannot write " + name;
    return false;
  }
  return true;
}

}  // namespace verovo
