// verovo: the packed archive that holds the show's pictures.
//
// File layout (integers little-endian, positions from the first byte):
//   any leading bytes, skipped by the signature search
//   "@@VEROVO@@"                 signature, found in 2049-byte blocks
//   "3.1"                        version; its position is the header position
//   D, F                         one byte each: directory names, entries
//   D x (length byte, name)      directory names, kept in dirlist
//   F x (length byte, name, 4-byte size)
//   the entries' bytes back to back, in record order, from datastart on
// Entry names carry their directory ("GRAPH\teil.im"); lookups compare the
// whole name without regard to letter case, and the last match wins.
//
// openarchive indexes the file once; readers open it again by archivename
// and seek to entryoffset. The index is either complete or empty: a header
// that ends early or cannot be read is reported (status 4), never half
// indexed. Nothing here prints or ends the process.
// Depends on: myio.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace verovo {

// ---- types ---------------------------------------------------------------

struct tfilelist {
  std::string name;  // exactly as stored, up to 255 bytes
  uint32_t size = 0;
};

// archivestatus values.
constexpr uint8_t archiveok = 0;
constexpr uint8_t archivemissing = 1;      // no such file, it cannot be opened, or it is no regular file
constexpr uint8_t archivenosignature = 2;  // no "@@VEROVO@@" anywhere (or an empty file)
constexpr uint8_t archivebadversion = 3;   // the three bytes after it are not "3.1"
constexpr uint8_t archivecorrupt = 4;      // the header ends early or cannot be read

constexpr size_t searchblock = 2049;  // the signature search reads blocks of this size
extern const char signature[10];      // "@@VEROVO@@", no terminator
extern const char version[3];         // "3.1"

// ---- globals (written by openarchive only) ---------------------------------

extern uint8_t archivestatus;      // result of the last openarchive; 0 at start
extern std::string archivename;    // set once the file is known to exist
extern std::string dirlist[256];   // directory names 1..dircount; element 0 unused
extern uint8_t dircount;
extern tfilelist filelist[256];    // entries 1..filecount; element 0 unused
extern uint8_t filecount;
extern uint32_t datastart;         // file position of entry 1's first byte

// ---- reading ---------------------------------------------------------------

// Opens and indexes the archive; sets archivestatus. Every call starts from an
// empty index, so only a status of 0 leaves entries to find.
void openarchive(const std::string& name);

// The number (1..filecount) of the last entry whose name equals name, letter
// case aside; 0 when none does.
uint8_t findentry(const std::string& name);

// File position of entry n's first byte, in 32-bit arithmetic.
// Limit: 1 <= n <= filecount.
uint32_t entryoffset(uint8_t n);

// Entry n's bytes, read from archivename. False (bytes emptied) when the file
// cannot be read or ends before the entry does. Limit: 1 <= n <= filecount.
bool readentry(uint8_t n, std::vector<uint8_t>& bytes);

// ---- writing ---------------------------------------------------------------

struct tentry {
  std::string name;
  std::vector<uint8_t> data;
};

// The bytes of a whole archive: signature, version, directory names, entry
// records and data, nothing before or after. False, with a reason in error,
// when the archive cannot hold them: more than 255 names or entries, a name
// longer than 255 bytes, or data reaching past the 32-bit positions.
bool buildarchive(const std::vector<std::string>& dirs, const std::vector<tentry>& entries,
                  std::vector<uint8_t>& bytes, std::string& error);

// buildarchive, then the bytes to file name.
bool writearchive(const std::string& name, const std::vector<std::string>& dirs,
                  const std::vector<tentry>& entries, std::string& error);

}  // namespace verovo
