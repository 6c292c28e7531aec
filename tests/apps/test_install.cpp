// make install's work, done into a temporary prefix: the programs, the
// default data and the man pages land where users look for them, and the
// installed programs run on the installed data.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/dump.h"
#include "support/process.h"

namespace {

using testsupport::readfile;
using testsupport::runprogram;
using testsupport::trun;

TEST(Install, PutsProgramsDataAndManPagesUnderThePrefixAndTheyRun) {
  const std::string prefix = testsupport::tempfolder() + "/usr";
  const trun install = runprogram(CMAKE_COMMAND, {"--install", BUILD_DIR, "--prefix", prefix});
  ASSERT_EQ(install.exitcode, 0) << install.out << install.err;

  for (const char* program : {"morvanta", "morvanta-render", "verovo"})
    EXPECT_EQ(access((prefix + "/bin/" + program).c_str(), X_OK), 0) << program;
  const std::string data = prefix + "/share/morvanta";
  for (const char* file : {"morvanta.dat", "morvanta.xm"}) {
    const std::string installed = readfile(data + "/" + file);
    EXPECT_FALSE(installed.empty()) << file;
    EXPECT_TRUE(installed == readfile(testsupport::datapath(file))) << file;
  }

  // Each page says its options or commands, where the installed data is
  // (with this prefix), and what the exit codes mean.
  const std::vector<std::pair<std::string, std::vector<std::string>>> pages = {
      {"morvanta", {".SH OPTIONS", ".SH KEYS", "Escape", "morvanta.xm"}},
      {"morvanta-render", {".SH OPTIONS", "\\-\\-frames", "\\-\\-mp4"}},
      {"verovo", {".SH COMMANDS", "extract"}}};
  for (const auto& [name, says] : pages) {
    const std::string page = readfile(prefix + "/share/man/man1/" + name + ".1");
    ASSERT_FALSE(page.empty()) << name;
    EXPECT_EQ(page.rfind(".TH ", 0), 0u) << name;
    EXPECT_EQ(page.find('@'), std::string::npos) << name << ": a placeholder is left";
    for (const std::string& text : says) EXPECT_NE(page.find(text), std::string::npos) << name << ": " << text;
    const size_t files = page.find(".SH FILES");
    ASSERT_NE(files, std::string::npos) << name;
    EXPECT_NE(page.find(".I " + data, files), std::string::npos) << name << ": the installed data";
    EXPECT_NE(page.find(".SH EXIT STATUS"), std::string::npos) << name;
  }

  // The installed renderer on the installed data, for a few frames.
  const std::string dump = testsupport::tempfolder() + "/show.dump";
  const trun rendered = runprogram(prefix + "/bin/morvanta-render", {"--data", data, "--seed", "1", "--frames", "5", "--dump", dump});
  ASSERT_EQ(rendered.exitcode, 0) << rendered.err;
  EXPECT_EQ(testsupport::readdump(readfile(dump)).size(), 5u);

  // The show itself runs where its page says the data is.
  testsupport::toptions o;
  o.cwd = data;
  o.termafter = 1.5;
  const trun show = runprogram(prefix + "/bin/morvanta", {}, o);
  EXPECT_EQ(show.exitcode, 0) << show.err;
  ASSERT_FALSE(show.lines().empty());
  EXPECT_EQ(show.lines().back(), "Done!");
}

}  // namespace
