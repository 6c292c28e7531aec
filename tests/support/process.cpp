// process: fork/exec with pipes and timed signals, for end-to-end tests.
#include "support/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace testsupport {

namespace fs = std::filesystem;

std::vector<std::string> trun::lines() const {
  std::vector<std::string> result;
  std::istringstream in(out);
  std::string line;
  while (std::getline(in, line)) result.push_back(line);
  return result;
}

std::string binpath(const std::string& program) {
  const char* bin = std::getenv("MORVANTA_BIN");
  return std::string(bin ? bin : ".") + "/" + program;
}

std::string datapath(const std::string& file) {
  const char* data = std::getenv("MORVANTA_DATA");
  return std::string(data ? data : ".") + "/" + file;
}

namespace {
std::vector<std::string> folders;
void removefolders() {
  for (const auto& f : folders) {
    std::error_code ec;
    fs::remove_all(f, ec);
  }
}
}  // namespace

std::string tempfolder() {
  static bool registered = false;
  if (!registered) {
    std::atexit(removefolders);
    registered = true;
  }
  std::string pattern = (fs::temp_directory_path() / "morvanta-test-XXXXXX").string();
  const char* made = mkdtemp(pattern.data());
  if (made == nullptr) return "";
  folders.push_back(made);
  return made;
}

bool copyfile(const std::string& from, const std::string& to) {
  std::error_code ec;
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
  return !ec;
}

std::string readfile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void writefile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

trun runprogram(const std::string& program, const std::vector<std::string>& args, const toptions& options) {
  trun result;
  int inpipe[2], outpipe[2], errpipe[2];
  if (pipe(inpipe) != 0 || pipe(outpipe) != 0 || pipe(errpipe) != 0) return result;
  const std::string path = program.find('/') == std::string::npos ? binpath(program) : program;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(inpipe[0], 0);
    dup2(outpipe[1], 1);
    dup2(errpipe[1], 2);
    for (int fd : {inpipe[0], inpipe[1], outpipe[0], outpipe[1], errpipe[0], errpipe[1]}) close(fd);
    if (!options.cwd.empty() && chdir(options.cwd.c_str()) != 0) _exit(127);
    for (const auto& e : options.env) putenv(const_cast<char*>(e.c_str()));
    std::vector<char*> argv{const_cast<char*>(path.c_str())};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(path.c_str(), argv.data());
    _exit(127);
  }
  close(inpipe[0]);
  close(outpipe[1]);
  close(errpipe[1]);
  if (!options.input.empty()) {
    ssize_t ignored = write(inpipe[1], options.input.data(), options.input.size());
    (void)ignored;
  }
  close(inpipe[1]);

  using clock = std::chrono::steady_clock;
  const auto start = clock::now();
  bool termsent = false, killsent = false;
  pollfd fds[2] = {{outpipe[0], POLLIN, 0}, {errpipe[0], POLLIN, 0}};
  int open = 2;
  while (open > 0) {
    const double elapsed = std::chrono::duration<double>(clock::now() - start).count();
    if (options.termafter > 0 && !termsent && elapsed >= options.termafter) {
      kill(pid, SIGTERM);
      termsent = true;
    }
    if (!killsent && elapsed >= options.killafter) {
      kill(pid, SIGKILL);
      killsent = true;
    }
    if (poll(fds, 2, 50) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
      char buf[4096];
      const ssize_t n = read(fds[i].fd, buf, sizeof buf);
      if (n <= 0) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      } else {
        (i == 0 ? result.out : result.err).append(buf, static_cast<size_t>(n));
      }
    }
  }
  int status = 0;
  waitpid(pid, &status, 0);
  result.exitcode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace testsupport
