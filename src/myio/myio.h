// myio: the small file and string helpers the archive and its tools share.
//
// Strings are byte strings: no encoding is assumed, bytes above 127 pass
// through untouched. Nothing here prints or ends the process; a failure is
// a false result for the caller to report.
//
// Inputs are regular files only: a named pipe would block the reader until
// some writer comes, a device such as /dev/zero never ends. Both are refused
// at once, as a file that cannot be opened is.
//
// Outputs are written under a temporary name in the target's folder and
// renamed onto the target once complete, so the target holds either what it
// held before or the whole new file, never a part. A target that exists and
// is not a regular file (/dev/null, a named pipe, a terminal) is written
// directly, and is never removed or replaced.
// Depends on: nothing.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace myio {

// ---- reading ---------------------------------------------------------------

// True when name is not empty and names a regular file that opens for
// reading. The file is closed again at once.
bool fileexists(const std::string& name);

// Opens a regular file for reading ("rb") without waiting on a pipe. Null
// when it cannot; why (when given) then says why, in a few words.
std::FILE* openread(const std::string& name, std::string* why = nullptr);

// The whole file into bytes. False (bytes emptied) when it cannot be opened,
// is larger than maxbytes or cannot be read completely; nothing larger than
// the file (and maxbytes) is ever allocated.
bool readfile(const std::string& name, std::vector<uint8_t>& bytes, uint64_t maxbytes = UINT32_MAX);

// A copy with 'a'..'z' turned into 'A'..'Z'; every other byte unchanged.
std::string upstring(const std::string& s);

// ---- writing ---------------------------------------------------------------

struct toutput {
  std::string target;   // the name the finished file gets
  std::string path;     // the name being written: a temporary, or target when direct
  bool direct = false;  // target is not a regular file: written in place
};

// Picks the name to write for target and, unless direct, creates it empty
// (".<name>.<pid>-<n>.part" beside the target; a symbolic link is followed,
// so the link stays and its file is replaced). False, with a reason, when
// the target is a folder or its folder takes no new file.
bool startoutput(const std::string& target, toutput& out, std::string& error);

// The file at out.path is complete and closed: renames it onto the target.
// False, the temporary removed, when it cannot.
bool finishoutput(toutput& out, std::string& error);

// Removes what was written under out.path, unless it is a direct target.
void dropoutput(toutput& out);

// Replaces the file with bytes, through a temporary as above. False when it
// cannot be written completely; the target then holds what it held before.
bool writefile(const std::string& name, const std::vector<uint8_t>& bytes);

// Makes the folder and any missing parents; created receives those made,
// deepest first, for removefolders. False when path is no folder after.
bool makefolders(const std::string& path, std::vector<std::string>& created);

// Removes the given folders in order, each only when it is empty.
void removefolders(const std::vector<std::string>& folders);

}  // namespace myio
