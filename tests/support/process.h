// process: runs one of our executables for an end-to-end test and captures
// what it printed and how it ended.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

struct trun {
  int exitcode = -1;     // exit status, or -1 when killed by a signal
  std::string out;       // standard output
  std::string err;       // standard error
  std::vector<std::string> lines() const;  // out split at line breaks
};

struct toptions {
  std::string cwd;                   // working folder ("" = current)
  std::vector<std::string> env;      // extra NAME=value entries
  std::string input;                 // fed to standard input, then closed
  double termafter = 0;              // seconds until SIGTERM (0: never)
  double killafter = 60;             // seconds until SIGKILL (a hung test)
};

// Runs MORVANTA_BIN/<program> with args (a program given as a path: that one).
trun runprogram(const std::string& program, const std::vector<std::string>& args, const toptions& options = {});

// A fresh temporary folder, removed with its files at process exit.
std::string tempfolder();

// Path of a built executable or of the generated default data file.
std::string binpath(const std::string& program);
std::string datapath(const std::string& file);

// Copies a file; false when it cannot.
bool copyfile(const std::string& from, const std::string& to);
std::string readfile(const std::string& path);
void writefile(const std::string& path, const std::string& bytes);

}  // namespace testsupport
