// verovo: the archive tool. Lists an archive, extracts its entries (pictures
// as indexed PNG files with their palette), packs a folder into an archive.
//
// extract writes manifest.txt beside the files: the directory names and every
// entry's exact name and file, in archive order. pack follows a manifest when
// the folder has one, so extract then pack gives back the same archive byte
// for byte; without one it packs every .png and .im file in file-name order
// (bytewise) as "GRAPH\<stem>.im" under the directory name "GRAPH".
// A manifest may end its lines with CRLF. Every input must be a regular file
// (a pipe or a device is refused as an unreadable file is), and every output
// is whole or not there at all: a failed extract or pack leaves the folder
// and the archive as they were.
// Exit codes: 0 done, 1 bad input or a failed read or write, 2 bad usage.
// Depends on: verovo, loadimx, pngio, myio, picturefiles.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "apps/picturefiles.h"
#include "myio/myio.h"
#include "verovo/verovo.h"

namespace {

namespace fs = std::filesystem;

const char* const manifestname = "manifest.txt";
const char* const manifesthead = "verovo manifest 1";
// 255 directory names and 255 entries, every name escaped, fit well within.
constexpr uint64_t maxmanifest = 1 << 20;

const char* const usage =
    "usage: verovo list ARCHIVE\n"
    "       verovo extract ARCHIVE DIR\n"
    "       verovo pack DIR ARCHIVE\n"
    "       verovo COMMAND --help\n";

const char* const listhelp =
    "usage: verovo list ARCHIVE\n"
    "Prints every entry of ARCHIVE: its number, name, size in bytes and offset in\n"
    "the file; for a picture also its width x height and colour count.\n";

const char* const extracthelp =
    "usage: verovo extract ARCHIVE DIR\n"
    "Writes every entry of ARCHIVE into DIR (created if missing): pictures as\n"
    "8-bit indexed PNG files (<stem>.png, colours 1..N at palette entries 1..N,\n"
    "entry 0 black), pictures a PNG cannot hold exactly as <stem>.im, anything\n"
    "else as raw bytes (entry.NNN.bin). DIR/manifest.txt records the directory\n"
    "names and the entries in archive order, so that pack rebuilds the same\n"
    "archive.\n";

const char* const packhelp =
    "usage: verovo pack DIR ARCHIVE\n"
    "Writes ARCHIVE from the files in DIR. With DIR/manifest.txt (as extract\n"
    "writes it) the entries, their names and order and the directory names come\n"
    "from the manifest. Without it every .png and .im file becomes an entry\n"
    "\"GRAPH\\<stem>.im\", in file-name order, under the directory name GRAPH.\n"
    "A PNG must be 8-bit indexed (or fewer bits), at most 1025 wide and 65534\n"
    "high, with entry 0 black wherever pixels use it: a picture holds at most\n"
    "255 colours, at entries 1..255.\n";

int fail(const std::string& message) {
  std::fprintf(stderr, "verovo: %s\n", message.c_str());
  return 1;
}

int usageerror(const std::string& message, const char* help) {
  std::fprintf(stderr, "verovo: %s\n%s", message.c_str(), help);
  return 2;
}

bool wantshelp(int argc, char** argv) {
  for (int i = 2; i < argc; ++i)
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return true;
  return false;
}

// Opens and indexes path; on failure says why and returns false.
bool open(const std::string& path, std::string& error) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) {
    error = path + ": is a directory, not an archive";
    return false;
  }
  verovo::openarchive(path);
  switch (verovo::archivestatus) {
    case verovo::archiveok: return true;
    case verovo::archivemissing: error = path + ": no such file, or it cannot be read"; break;
    case verovo::archivenosignature: error = path + ": not an archive (no @@VEROVO@@ signature)"; break;
    case verovo::archivebadversion: error = path + ": unsupported archive version (not 3.1)"; break;
    default: error = path + ": corrupt archive (its header ends early or cannot be read)"; break;
  }
  return false;
}

std::string shortread(const std::string& path, int n) {
  return path + ": corrupt archive (entry " + std::to_string(n) + ", " +
         picturefiles::escapename(verovo::filelist[n].name) + ", runs past the end of the file)";
}

// ---- list ------------------------------------------------------------------

int list(const std::string& path) {
  std::string error;
  if (!open(path, error)) return fail(error);
  std::printf("%s: %d entries, data at %u\n", path.c_str(), verovo::filecount, verovo::datastart);
  for (int d = 1; d <= verovo::dircount; ++d)
    std::printf("directory %s\n", picturefiles::escapename(verovo::dirlist[d]).c_str());
  std::printf("%5s  %-32s %10s %10s  %s\n", "#", "name", "size", "offset", "picture");
  int status = 0;
  for (int n = 1; n <= verovo::filecount; ++n) {
    const auto entry = static_cast<uint8_t>(n);
    std::string picture;
    std::vector<uint8_t> bytes;
    if (!verovo::readentry(entry, bytes)) {
      picture = "(past the end of the file)";
      status = fail(shortread(path, n));
    } else {
      loadimx::timage image;
      if (loadimx::decodeim(bytes, image) == loadimx::tloadresult::ok)
        picture = std::to_string(image.width) + "x" + std::to_string(image.height) + ", " +
                  std::to_string(image.colors) + " colours";
    }
    std::printf("%5d  %-32s %10u %10u  %s\n", n, picturefiles::escapename(verovo::filelist[n].name).c_str(),
                verovo::filelist[n].size, verovo::entryoffset(entry), picture.c_str());
  }
  return status;
}

// ---- extract -----------------------------------------------------------------

// A file stem from a picture name "GRAPH\<stem>.im" (any letter case), when
// the stem is plain: letters, digits, '_' and '-'. Fallback names contain a
// dot, so they can never meet a stem.
std::string stemof(const std::string& name) {
  const std::string up = myio::upstring(name);
  const std::string prefix = "GRAPH\\", suffix = ".IM";
  if (up.size() <= prefix.size() + suffix.size() || up.compare(0, prefix.size(), prefix) != 0 ||
      up.compare(up.size() - suffix.size(), suffix.size(), suffix) != 0)
    return "";
  std::string stem = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  if (stem.size() > 64) return "";
  for (char c : stem)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-')) return "";
  return stem;
}

std::string numbered(int n, const char* ext) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "entry.%03d%s", n, ext);
  return buf;
}

// Bytes to path as it is: the caller chose the name (a temporary, or a
// device written in place).
bool putfile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  bool ok = f != nullptr && (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
  if (f != nullptr && std::fclose(f) != 0) ok = false;
  if (!ok) error = std::strerror(errno);
  return ok;
}

// Every file is written under a temporary name; only when all of them and
// the manifest are complete are they renamed, the manifest last. A failure
// removes what was written, so the folder holds a whole extraction or what
// it held before.
int extract(const std::string& path, const std::string& dir) {
  std::string error;
  if (!open(path, error)) return fail(error);
  std::vector<std::string> made;
  if (!myio::makefolders(dir, made)) return fail(dir + ": cannot create the folder");
  std::vector<myio::toutput> written;
  auto abandon = [&](const std::string& message) {
    for (myio::toutput& o : written) myio::dropoutput(o);
    myio::removefolders(made);
    return fail(message + " (nothing extracted: what was written is removed)");
  };
  // Starts the output for a file of the folder; false when it cannot.
  auto start = [&](const std::string& target) {
    written.emplace_back();
    if (myio::startoutput(target, written.back(), error)) return true;
    error = target + ": cannot write: " + error;
    return false;
  };

  std::string manifest = std::string(manifesthead) + "\n";
  for (int d = 1; d <= verovo::dircount; ++d) manifest += "dir " + picturefiles::escapename(verovo::dirlist[d]) + "\n";
  std::set<std::string> used;  // file names in upper case: one per entry on any file system
  int pictures = 0, others = 0;
  for (int n = 1; n <= verovo::filecount; ++n) {
    std::vector<uint8_t> bytes;
    if (!verovo::readentry(static_cast<uint8_t>(n), bytes)) return abandon(shortread(path, n));
    pngio::tindexed png;
    loadimx::timage image;
    const char* ext = ".bin";
    if (picturefiles::imtopng(bytes, png)) ext = ".png";
    else if (loadimx::decodeim(bytes, image) == loadimx::tloadresult::ok) ext = ".im";
    const std::string stem = stemof(verovo::filelist[n].name);
    std::string file = stem.empty() || std::strcmp(ext, ".bin") == 0 ? "" : stem + ext;
    if (file.empty() || used.count(myio::upstring(file)) != 0) file = numbered(n, ext);
    used.insert(myio::upstring(file));

    const std::string target = (fs::path(dir) / file).string();
    if (!start(target)) return abandon(error);
    if (std::strcmp(ext, ".png") == 0) {
      if (pngio::writeindexed(written.back().path, png.width, png.height, png.pixels.data(), png.palette, error) !=
          pngio::tpngresult::ok)
        return abandon(target + ": " + error);
      ++pictures;
    } else {
      if (!putfile(written.back().path, bytes, error)) return abandon(target + ": cannot write: " + error);
      ++others;
    }
    manifest += "entry " + file + " " + picturefiles::escapename(verovo::filelist[n].name) + "\n";
  }
  const std::string manifestpath = (fs::path(dir) / manifestname).string();
  if (!start(manifestpath)) return abandon(error);
  if (!putfile(written.back().path, std::vector<uint8_t>(manifest.begin(), manifest.end()), error))
    return abandon(manifestpath + ": cannot write: " + error);
  for (myio::toutput& o : written)
    if (!myio::finishoutput(o, error)) return abandon(o.target + ": cannot rename into place: " + error);
  std::printf("%s: %d pictures as PNG, %d entries as raw bytes, manifest in %s\n", path.c_str(), pictures, others,
              manifestpath.c_str());
  return 0;
}

// ---- pack --------------------------------------------------------------------

bool hasext(const std::string& file, const std::string& ext) {
  return file.size() > ext.size() &&
         myio::upstring(file.substr(file.size() - ext.size())) == myio::upstring(ext);
}

// One entry's bytes from a file: a PNG is converted, a .im must be a picture,
// anything else is taken as it is. room is what the archive's 32-bit
// positions have left; nothing larger is read.
bool loadfile(const std::string& path, uint64_t& room, std::vector<uint8_t>& data, std::string& error) {
  const std::string toolarge = path + ": too large: an archive holds at most 4 GiB";
  if (hasext(path, ".png")) {
    if (!picturefiles::pngtoim(path, data, error)) {
      error = path + ": " + error;
      return false;
    }
  } else if (!myio::readfile(path, data, room)) {
    error = myio::fileexists(path) ? toolarge : path + ": cannot read";
    return false;
  }
  if (data.size() > room) {
    error = toolarge;
    return false;
  }
  room -= data.size();
  loadimx::timage image;
  if (hasext(path, ".im") && loadimx::decodeim(data, image) != loadimx::tloadresult::ok) {
    error = path + ": not a picture (.im) file: bad header, or shorter than its header says";
    return false;
  }
  return true;
}

bool plainfile(const std::string& file) {
  if (file.empty() || file == "." || file == "..") return false;
  for (char c : file)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.')) return false;
  return true;
}

bool readmanifest(const std::string& dir, std::vector<std::string>& dirs, std::vector<verovo::tentry>& entries,
                  std::string& error) {
  const std::string path = (fs::path(dir) / manifestname).string();
  std::vector<uint8_t> text;
  if (!myio::readfile(path, text, maxmanifest)) {
    error = myio::fileexists(path) ? path + ": too large for a manifest (more than 1 MiB)" : path + ": cannot read";
    return false;
  }
  int number = 0;
  auto bad = [&](const std::string& why) {
    error = path + " line " + std::to_string(number) + ": " + why;
    return false;
  };
  uint64_t room = UINT32_MAX;
  const std::string all(text.begin(), text.end());
  for (size_t at = 0; at < all.size();) {
    const size_t end = std::min(all.find('\n', at), all.size());
    std::string line = all.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();  // written on a system with CRLF line ends
    ++number;
    if (number == 1) {
      if (line != manifesthead) return bad("not a verovo manifest (expected \"" + std::string(manifesthead) + "\")");
      continue;
    }
    if (line.empty()) continue;
    if (line.compare(0, 4, "dir ") == 0) {
      std::string name;
      if (!picturefiles::unescapename(line.substr(4), name)) return bad("malformed name");
      dirs.push_back(name);
    } else if (line.compare(0, 6, "entry ") == 0) {
      const size_t space = line.find(' ', 6);
      if (space == std::string::npos) return bad("expected: entry FILE NAME");
      const std::string file = line.substr(6, space - 6);
      verovo::tentry e;
      if (!plainfile(file)) return bad("not a plain file name: " + file);
      if (!picturefiles::unescapename(line.substr(space + 1), e.name)) return bad("malformed name");
      if (!loadfile((fs::path(dir) / file).string(), room, e.data, error)) return false;
      entries.push_back(std::move(e));
    } else {
      return bad("expected a dir or entry line");
    }
  }
  if (number == 0) return bad("empty manifest");
  return true;
}

bool readfolder(const std::string& dir, std::vector<std::string>& dirs, std::vector<verovo::tentry>& entries,
                std::string& error) {
  std::vector<std::string> files;
  std::error_code ec;
  for (const fs::directory_entry& f : fs::directory_iterator(dir, ec)) {
    const std::string file = f.path().filename().string();
    if ((hasext(file, ".png") || hasext(file, ".im")) && f.is_regular_file(ec)) files.push_back(file);
  }
  if (ec) {
    error = dir + ": cannot read the folder";
    return false;
  }
  if (files.empty()) {
    error = dir + ": no .png or .im files to pack";
    return false;
  }
  std::sort(files.begin(), files.end());
  dirs = {"GRAPH"};
  std::set<std::string> names;
  uint64_t room = UINT32_MAX;
  for (const std::string& file : files) {
    verovo::tentry e;
    const std::string stem = file.substr(0, file.size() - (hasext(file, ".png") ? 4 : 3));
    e.name = "GRAPH\\" + stem + ".im";
    if (!names.insert(myio::upstring(e.name)).second) {
      error = dir + ": two files give the entry " + e.name + " (names compare without letter case)";
      return false;
    }
    if (!loadfile((fs::path(dir) / file).string(), room, e.data, error)) return false;
    entries.push_back(std::move(e));
  }
  return true;
}

int pack(const std::string& dir, const std::string& path) {
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) return fail(dir + ": not a folder");
  std::vector<std::string> dirs;
  std::vector<verovo::tentry> entries;
  std::string error;
  const bool manifest = fs::exists(fs::path(dir) / manifestname, ec);
  if (!(manifest ? readmanifest(dir, dirs, entries, error) : readfolder(dir, dirs, entries, error)))
    return fail(error);
  if (!verovo::writearchive(path, dirs, entries, error)) return fail(path + ": " + error);
  std::printf("%s: %zu entries%s\n", path.c_str(), entries.size(), manifest ? " (from manifest.txt)" : "");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usageerror("no command", usage);
  const std::string command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    std::printf("verovo: lists, extracts and packs Morvanta archives.\n%s", usage);
    return 0;
  }
  struct tcommand {
    const char* name;
    const char* help;
    int args;
  };
  static const tcommand commands[] = {{"list", listhelp, 1}, {"extract", extracthelp, 2}, {"pack", packhelp, 2}};
  for (const tcommand& c : commands) {
    if (command != c.name) continue;
    if (wantshelp(argc, argv)) {
      std::printf("%s", c.help);
      return 0;
    }
    if (argc - 2 != c.args) return usageerror(command + ": wrong number of arguments", c.help);
    if (command == "list") return list(argv[2]);
    if (command == "extract") return extract(argv[2], argv[3]);
    return pack(argv[2], argv[3]);
  }
  return usageerror("unknown command: " + command, usage);
}
