// myio: regular-file reads, outputs through a temporary, upper-casing.
#include "myio/myio.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace myio {

namespace fs = std::filesystem;

// ---- reading ---------------------------------------------------------------

std::FILE* openread(const std::string& name, std::string* why) {
  auto refuse = [&](const char* reason) -> std::FILE* {
    if (why) *why = reason;
    return nullptr;
  };
  if (name.empty()) return refuse("no file name");
  // Without O_NONBLOCK opening a named pipe waits for a writer.
  const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return refuse(std::strerror(errno));
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const bool folder = S_ISDIR(st.st_mode);
    ::close(fd);
    return refuse(folder ? "a folder, not a file" : "not a regular file");
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* f = ::fdopen(fd, "rb");
  if (f == nullptr) {
    ::close(fd);
    return refuse(std::strerror(errno));
  }
  return f;
}

bool fileexists(const std::string& name) {
  std::FILE* f = openread(name);
  if (f == nullptr) return false;
  std::fclose(f);
  return true;
}

bool readfile(const std::string& name, std::vector<uint8_t>& bytes, uint64_t maxbytes) {
  bytes.clear();
  std::FILE* f = openread(name);
  if (f == nullptr) return false;
  struct stat st {};
  bool ok = ::fstat(::fileno(f), &st) == 0 && static_cast<uint64_t>(st.st_size) <= maxbytes;
  if (ok) bytes.reserve(static_cast<size_t>(st.st_size));
  uint8_t block[65536];
  while (ok) {
    const size_t got = std::fread(block, 1, sizeof block, f);
    // A file that grows while it is read is held to the same limit.
    if (got > maxbytes - bytes.size()) {
      ok = false;
      break;
    }
    bytes.insert(bytes.end(), block, block + got);
    if (got < sizeof block) {
      ok = std::ferror(f) == 0;
      break;
    }
  }
  if (std::fclose(f) != 0) ok = false;
  if (!ok) {
    bytes.clear();
    bytes.shrink_to_fit();
  }
  return ok;
}

std::string upstring(const std::string& s) {
  std::string out = s;
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

// ---- writing ---------------------------------------------------------------

bool startoutput(const std::string& target, toutput& out, std::string& error) {
  out = toutput{};
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      error = "a folder, not a file";
      return false;
    }
    if (!S_ISREG(st.st_mode)) {
      out = {target, target, true};
      return true;
    }
  }
  fs::path real = target;
  std::error_code ec;
  if (fs::is_symlink(real, ec) && fs::exists(real, ec)) {
    real = fs::canonical(target, ec);
    if (ec) real = target;
  }
  if (real.filename().empty()) {
    error = "no file name";
    return false;
  }
  const fs::path folder = real.has_parent_path() ? real.parent_path() : fs::path(".");
  // Short enough for any file system's name limit, whatever the target's.
  const std::string stem = "." + real.filename().string().substr(0, 200) + "." + std::to_string(::getpid()) + "-";
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    const std::string path = (folder / (stem + std::to_string(counter++) + ".part")).string();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      out = {real.string(), path, false};
      return true;
    }
    if (errno != EEXIST) {
      error = std::strerror(errno);
      return false;
    }
  }
  error = "no free temporary name";
  return false;
}

bool finishoutput(toutput& out, std::string& error) {
  if (out.direct || out.path.empty()) return true;
  if (std::rename(out.path.c_str(), out.target.c_str()) != 0) {
    error = std::strerror(errno);
    dropoutput(out);
    return false;
  }
  out.path.clear();  // the file is the target's now: nothing left to drop
  return true;
}

void dropoutput(toutput& out) {
  if (out.direct || out.path.empty()) return;
  struct stat st {};
  if (::lstat(out.path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(out.path.c_str());
  out.path.clear();
}

bool writefile(const std::string& name, const std::vector<uint8_t>& bytes) {
  toutput out;
  std::string error;
  if (!startoutput(name, out, error)) return false;
  std::FILE* f = std::fopen(out.path.c_str(), "wb");
  bool ok = f != nullptr;
  if (ok && !bytes.empty()) ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (f != nullptr && std::fclose(f) != 0) ok = false;
  if (ok) return finishoutput(out, error);
  dropoutput(out);
  return false;
}

bool makefolders(const std::string& path, std::vector<std::string>& created) {
  created.clear();
  std::error_code ec;
  for (fs::path p = path; !p.empty() && !fs::exists(p, ec); p = p.parent_path()) {
    created.push_back(p.string());
    if (p == p.parent_path()) break;
  }
  fs::create_directories(path, ec);
  return fs::is_directory(path, ec);
}

void removefolders(const std::vector<std::string>& folders) {
  for (const std::string& f : folders) ::rmdir(f.c_str());  // only ever an empty one
}

}  // namespace myio
