// myio: the small file and string helpers the archive and its tools share.
//
// Strings are byte strings: no encoding is assumed, bytes above 127 pass
// through untouched. Nothing here prints or ends the process; a failure is
// a false result for the caller to report.
// Depends on: nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace myio {

// True when name is not empty and a file of that name opens for reading.
// The file is closed again at once.
bool fileexists(const std::string& name);

// A copy with 'a'..'z' turned into 'A'..'Z'; every other byte unchanged.
std::string upstring(const std::string& s);

// The whole file into bytes. False (bytes emptied) when it cannot be opened
// or read completely.
bool readfile(const std::string& name, std::vector<uint8_t>& bytes);

// Replaces the file with bytes. False when it cannot be written completely;
// a partly written file is removed.
bool writefile(const std::string& name, const std::vector<uint8_t>& bytes);

}  // namespace myio
