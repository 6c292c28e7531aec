// The show's start-up end to end: console lines, options and exit codes,
// run headless on SDL's dummy drivers in a temporary folder.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/process.h"

namespace {

using testsupport::runprogram;
using testsupport::trun;
using lines = std::vector<std::string>;

const std::string banner = "Morvanta - a demo by Qelm Corporation";
const lines archivelines = {"Initializing Memory...", "Verovo Archive System v3.1 by Dr. Zorbleck",
                            " \u25A0 Init Verovo..."};

lines concat(std::initializer_list<lines> parts) {
  lines all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

trun runin(const std::string& folder, const std::vector<std::string>& args, double termafter = 0) {
  testsupport::toptions o;
  o.cwd = folder;
  o.termafter = termafter;
  return runprogram("morvanta", args, o);
}

// A folder with the default data, optionally without one of the files.
std::string datafolder(bool witharchive = true, bool withmodule = true) {
  const std::string f = testsupport::tempfolder();
  if (witharchive) {
    EXPECT_TRUE(testsupport::copyfile(testsupport::datapath("morvanta.dat"), f + "/morvanta.dat"));
  }
  if (withmodule) {
    EXPECT_TRUE(testsupport::copyfile(testsupport::datapath("morvanta.xm"), f + "/morvanta.xm"));
  }
  return f;
}

const lines missingarchive = {"Critical Error : File morvanta.dat does not exist!", "System Halted!"};

TEST(Options, HelpNeedsNoDataAndExitsZero) {
  const trun r = runin(testsupport::tempfolder(), {"?"});
  EXPECT_EQ(r.exitcode, 0);
  EXPECT_EQ(r.lines(), (lines{banner, "System Parameter - ? (interactive help)", "start the demo with this parameters",
                              " M - for Manual Audio Setup", " L - for Loop the Demo", " W - for Windowed Mode",
                              " S - scale 640x480 picture to 320x200", " ? - for Interactive Help"}));
}

TEST(Options, AreTestedInTheOrderMLWWhateverTheirOrder) {
  const trun r = runin(testsupport::tempfolder(), {"w", "l"});
  EXPECT_EQ(r.exitcode, 1);
  EXPECT_EQ(r.lines(), concat({{banner, "System Parameter - L (loop mode)", "System Parameter - W (windowed mode)"},
                               archivelines,
                               missingarchive}));
}

TEST(Options, WordsRepeatsAndUnknownLettersAndASeventhArgument) {
  // "loop" counts as L, a repeat adds nothing, S is no option, the seventh is never read.
  const trun words = runin(testsupport::tempfolder(), {"loop", "L", "s"});
  EXPECT_EQ(words.lines(), concat({{banner, "System Parameter - L (loop mode)"}, archivelines, missingarchive}));
  const trun seventh = runin(testsupport::tempfolder(), {"a", "b", "c", "d", "e", "f", "?"});
  EXPECT_EQ(seventh.exitcode, 1);
  EXPECT_EQ(seventh.lines(), concat({{banner}, archivelines, missingarchive}));
}

TEST(Options, SoundSetUpWithItsInputClosedFails) {
  const trun r = runin(testsupport::tempfolder(), {"m", "?"});
  EXPECT_EQ(r.exitcode, 0);
  const lines got = r.lines();
  ASSERT_GE(got.size(), 3u);
  EXPECT_EQ(got[1], "System Parameter - M (manual audio setup)");
  EXPECT_EQ(got.back(), "MIDAS config failed!");
  EXPECT_EQ(r.out.find("interactive help"), std::string::npos);
}

TEST(Archive, MissingStopsBeforeAnyPictureOrMusic) {
  const trun r = runin(testsupport::tempfolder(), {});
  EXPECT_EQ(r.exitcode, 1);
  EXPECT_EQ(r.lines(), concat({{banner}, archivelines, missingarchive}));
}

TEST(Archive, WithoutSignatureOrWithAnotherVersionIsCorrupt) {
  for (const std::string& bytes : {std::string(5000, 'x'), std::string(""), std::string("@@VEROVO@@3.0\0\0", 15)}) {
    const std::string f = testsupport::tempfolder();
    testsupport::writefile(f + "/morvanta.dat", bytes);
    const trun r = runin(f, {});
    EXPECT_EQ(r.exitcode, 1);
    EXPECT_EQ(r.lines(), concat({{banner}, archivelines,
                                 {"Critical Error : morvanta.dat is a corrupt file", "System Halted!"}}));
  }
}

// A pipe would hold the open until a writer came and /dev/zero never ends:
// anything but a regular file is refused at once, as a file that cannot be
// opened is. A folder is no file either.
TEST(Archive, ThatIsNotAFileIsRefusedAsMissing) {
  for (const char* kind : {"pipe", "zero", "folder"}) {
    const std::string f = datafolder(false, true);
    const std::string dat = f + "/morvanta.dat";
    if (std::string(kind) == "pipe")
      ASSERT_EQ(mkfifo(dat.c_str(), 0644), 0);
    else if (std::string(kind) == "zero")
      std::filesystem::create_symlink("/dev/zero", dat);
    else
      std::filesystem::create_directory(dat);
    testsupport::toptions o;
    o.cwd = f;
    o.killafter = 20;
    const trun r = runprogram("morvanta", {}, o);
    EXPECT_EQ(r.exitcode, 1) << kind;
    EXPECT_EQ(r.lines(), concat({{banner}, archivelines, missingarchive})) << kind;
  }
}

// An archive with the given entries: name and bytes.
std::string archive(const std::vector<std::pair<std::string, std::string>>& entries) {
  std::string a = "@@VEROVO@@3.1";
  a += '\0';
  a += static_cast<char>(entries.size());
  for (const auto& [name, bytes] : entries) {
    a += static_cast<char>(name.size());
    a += name;
    const uint32_t n = static_cast<uint32_t>(bytes.size());
    for (int i = 0; i < 4; ++i) a += static_cast<char>(n >> (8 * i));
  }
  for (const auto& e : entries) a += e.second;
  return a;
}

TEST(Archive, AMissingOrBrokenPictureHaltsAtItsName) {
  const lines before = concat({{banner}, archivelines, {"Loading Pictures..."}});
  const std::string empty = testsupport::tempfolder();
  testsupport::writefile(empty + "/morvanta.dat", archive({}));
  const trun missing = runin(empty, {});
  EXPECT_EQ(missing.exitcode, 1);
  EXPECT_EQ(missing.lines(),
            concat({before, {"Critical Error : GRAPH\\teil.im is missing from morvanta.dat", "System Halted!"}}));

  // A width of 0 is no picture; it is refused before anything is written.
  const std::string broken = testsupport::tempfolder();
  testsupport::writefile(broken + "/morvanta.dat", archive({{"GRAPH\\teil.im", std::string("\0\0\0\2\0", 5)}}));
  const trun b = runin(broken, {});
  EXPECT_EQ(b.exitcode, 1);
  EXPECT_EQ(b.lines(), concat({before, {"Critical Error : GRAPH\\teil.im is a corrupt picture", "System Halted!"}}));
}

const lines startlines = {"Loading Pictures...", "Precalculating Tables...", "Initializing Sound System..."};
const lines videolines = {"SDL_Init...", "Checking video modes...", "modes = PPSDL_Rect(-1)", "Init Graph...",
                          "Starting Demonstration..."};

TEST(Show, RunsUntilAQuitRequestAndSaysDone) {
  const trun r = runin(datafolder(), {}, 3.0);
  EXPECT_EQ(r.exitcode, 0);
  EXPECT_EQ(r.lines(), concat({{banner}, archivelines, startlines, videolines, {"Done!"}}));
  EXPECT_EQ(r.err, "");  // a sound device (the dummy driver) opened: nothing to say
}

// Without a sound device the show plays on the silent clock: the same
// console lines, and one line on standard error that says so, unless the
// sound set-up chose no sound.
TEST(Show, WithoutASoundDeviceSaysOnceOnStandardErrorThatItRunsSilent) {
  testsupport::toptions o;
  o.cwd = datafolder();
  o.termafter = 2.0;
  o.env = {"SDL_AUDIODRIVER=nosuchdriver"};
  const trun r = runprogram("morvanta", {}, o);
  EXPECT_EQ(r.exitcode, 0);
  EXPECT_EQ(r.lines(), concat({{banner}, archivelines, startlines, videolines, {"Done!"}}));
  const std::string said = "No sound device found (";
  EXPECT_EQ(r.err.rfind(said, 0), 0u) << r.err;
  EXPECT_EQ(r.err.find(said, 1), std::string::npos) << r.err;
  EXPECT_EQ(r.err.substr(r.err.size() - 24), "): the show runs silent\n") << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;

  o.input = "2\n\n\n";  // M: no sound
  const trun chosen = runprogram("morvanta", {"m"}, o);
  EXPECT_EQ(chosen.exitcode, 0);
  EXPECT_EQ(chosen.lines().back(), "Done!");
  EXPECT_EQ(chosen.err, "");
}

TEST(Show, AMissingOrBrokenModuleEndsThroughTheMusicErrorExit) {
  const std::string missing = datafolder(true, false);
  const trun r = runin(missing, {});
  EXPECT_EQ(r.exitcode, 0);
  const lines got = r.lines();
  ASSERT_EQ(got.size(), 1 + archivelines.size() + startlines.size() + 1);
  EXPECT_EQ(got.back().rfind("MIDAS error: ", 0), 0u) << got.back();
  EXPECT_NE(got.back().find("morvanta.xm"), std::string::npos) << got.back();

  const std::string broken = datafolder(true, false);
  testsupport::writefile(broken + "/morvanta.xm", "Extended Module: not really");
  const trun b = runin(broken, {});
  EXPECT_EQ(b.exitcode, 0);
  EXPECT_EQ(b.lines().back().rfind("MIDAS error: ", 0), 0u);

  // A pipe in its place is refused at once, not waited on.
  const std::string pipe = datafolder(true, false);
  ASSERT_EQ(mkfifo((pipe + "/morvanta.xm").c_str(), 0644), 0);
  testsupport::toptions o;
  o.cwd = pipe;
  o.killafter = 20;
  const trun p = runprogram("morvanta", {}, o);
  EXPECT_EQ(p.exitcode, 0);
  EXPECT_EQ(p.lines().back(), "MIDAS error: cannot open module file \"morvanta.xm\": not a regular file");
}

}  // namespace
