// The verovo tool, run as the built program: list, extract, pack and the
// answer to every bad input.
#include <sys/wait.h>

#include <cstdlib>
#include <iomanip>
#include <sstream>

#include "apps/picturefiles.h"
#include "archivetest/archivetest.h"
#include "myio/myio.h"
#include "verovo/verovo.h"

namespace {

using archivetest::bytes;
using archivetest::tempdir;

struct tran {
  int code = -1;
  std::string out, err;
};

std::string quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

bytes fileof(const std::string& path) {
  bytes b;
  EXPECT_TRUE(myio::readfile(path, b)) << path;
  return b;
}

tran run(const tempdir& dir, const std::vector<std::string>& args) {
  // A tool that blocks ends after a while with code 124, and the test fails.
  std::string cmd = "timeout 30 " + quote(VEROVO_TOOL);
  for (const std::string& a : args) cmd += " " + quote(a);
  cmd += " >" + quote(dir.file("out.txt")) + " 2>" + quote(dir.file("err.txt")) + " </dev/null";
  const int status = std::system(cmd.c_str());
  const bytes out = fileof(dir.file("out.txt")), err = fileof(dir.file("err.txt"));
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::string(out.begin(), out.end()),
          std::string(err.begin(), err.end())};
}

// The run ended with code and its error output holds message.
testing::AssertionResult says(const tran& r, int code, const std::string& message) {
  if (r.code == code && r.err.find(message) != std::string::npos) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "exit " << r.code << ", stderr: " << r.err;
}

void writepng(const std::string& path, uint32_t w, uint32_t h, const std::vector<pngio::trgb>& pal, uint8_t mod) {
  bytes pixels(size_t{w} * h);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>((i * 5 + i / w) % mod);
  std::string error;
  ASSERT_EQ(pngio::writeindexed(path, w, h, pixels.data(), pal, error), pngio::tpngresult::ok) << error;
}

std::vector<pngio::trgb> ramp(int count) {
  std::vector<pngio::trgb> pal(static_cast<size_t>(count));
  for (int i = 1; i < count; ++i) pal[i] = {uint8_t(i * 4), uint8_t(255 - i), uint8_t(i * 7)};
  return pal;
}

TEST(Tool, PacksAFolderListsAndRoundTrips) {
  tempdir dir;
  const std::string art = dir.file("art");
  std::filesystem::create_directory(art);
  writepng(art + "/teil.png", 320, 203, ramp(256), 255);
  writepng(art + "/qelm1.png", 50, 60, ramp(2), 2);
  dir.write("art/eye1.im", archivetest::picture(4, 7, 5));
  dir.write("art/notes.txt", {'h', 'i'});

  ASSERT_TRUE(says(run(dir, {"pack", art, dir.file("a.dat")}), 0, ""));
  verovo::openarchive(dir.file("a.dat"));
  ASSERT_EQ(verovo::archivestatus, verovo::archiveok);
  // In file-name order; notes.txt is neither .png nor .im.
  ASSERT_EQ(archivetest::entrynames(), (archivetest::strings{"GRAPH\\eye1.im", "GRAPH\\qelm1.im", "GRAPH\\teil.im"}));
  EXPECT_EQ(archivetest::dirnames(), archivetest::strings{"GRAPH"});

  tran r = run(dir, {"list", dir.file("a.dat")});
  ASSERT_TRUE(says(r, 0, ""));
  std::ostringstream row;
  row << verovo::filelist[3].size << " " << std::setw(10) << verovo::entryoffset(3);
  for (const std::string& part : {std::string("GRAPH\\teil.im"), std::string("320x203, 255 colours"),
                                  std::string("50x60, 1 colours"), row.str()})
    EXPECT_NE(r.out.find(part), std::string::npos) << part << " in " << r.out;

  ASSERT_TRUE(says(run(dir, {"extract", dir.file("a.dat"), dir.file("out")}), 0, ""));
  EXPECT_TRUE(myio::fileexists(dir.file("out/manifest.txt")));
  // The extracted PNG is the packed one's picture: same pixels, and each
  // colour the 6-bit level nearest to the packed one.
  pngio::tindexed before, after;
  std::string error;
  ASSERT_EQ(pngio::readindexed(art + "/teil.png", before, error), pngio::tpngresult::ok);
  ASSERT_EQ(pngio::readindexed(dir.file("out/teil.png"), after, error), pngio::tpngresult::ok);
  EXPECT_EQ(after.pixels, before.pixels);
  ASSERT_EQ(after.palette.size(), 256u);
  for (int i = 1; i < 256; ++i)
    EXPECT_EQ(after.palette[i].green, picturefiles::to8bit(picturefiles::to6bit(before.palette[i].green)));

  // Packed again, with its manifest and without, it is the same archive.
  ASSERT_TRUE(says(run(dir, {"pack", dir.file("out"), dir.file("b.dat")}), 0, ""));
  EXPECT_EQ(fileof(dir.file("b.dat")), fileof(dir.file("a.dat")));
  std::filesystem::remove(dir.file("out/manifest.txt"));
  ASSERT_TRUE(says(run(dir, {"pack", dir.file("out"), dir.file("c.dat")}), 0, ""));
  EXPECT_EQ(fileof(dir.file("c.dat")), fileof(dir.file("a.dat")));
}

TEST(Tool, OddArchivesComeBackByteForByte) {
  tempdir dir;
  bytes spare = archivetest::picture(2, 4, 3);
  spare.push_back(7);
  bytes high = archivetest::picture(1, 2, 2);
  high[5] = 200;  // a level a PNG cannot hold
  const std::vector<verovo::tentry> entries = {
      {"GRAPH\\pic.im", archivetest::picture(0, 3, 3)},  // pixels past its colours: kept raw
      {"GRAPH\\spare.im", spare},
      {"GRAPH\\high.im", high},
      {"GRAPH\\PIC.im", archivetest::picture(0, 3, 3)},  // same file name in another case
      {"MUSIC\\song name.xm", {1, 2, 3}},
      {"", {}},
      {"GRAPH\\..\\..\\escape.im", {9}},
      {std::string("\xe4\n\x01%", 4), {4, 4}},
  };
  std::string error;
  ASSERT_TRUE(verovo::writearchive(dir.file("odd.dat"), {"GRAPH", "", "MUSIC"}, entries, error));
  ASSERT_TRUE(verovo::writearchive(dir.file("empty.dat"), {}, {}, error));
  for (const char* name : {"odd", "empty"}) {
    const std::string folder = dir.file(std::string(name) + "-x");
    ASSERT_TRUE(says(run(dir, {"extract", dir.file(std::string(name) + ".dat"), folder}), 0, ""));
    ASSERT_TRUE(says(run(dir, {"pack", folder, dir.file("again.dat")}), 0, ""));
    EXPECT_EQ(fileof(dir.file("again.dat")), fileof(dir.file(std::string(name) + ".dat"))) << name;
  }
  // Names never leave the folder.
  EXPECT_FALSE(std::filesystem::exists(dir.file("escape.im")));
  for (const auto& f : std::filesystem::directory_iterator(dir.file("odd-x")))
    EXPECT_TRUE(f.is_regular_file()) << f.path();
}

TEST(Tool, BadArchivesAreNamed) {
  tempdir dir;
  bytes cut = archivetest::header({"GRAPH"}, {{"GRAPH\\a.im", {}, 5}});
  cut.resize(cut.size() - 2);
  const struct {
    std::string file, message;
  } cases[] = {
      {dir.file("none.dat"), "no such file"},
      {dir.write("text.dat", archivetest::text("just text")), "not an archive (no @@VEROVO@@ signature)"},
      {dir.write("old.dat", archivetest::header({}, {}, "3.0")), "unsupported archive version"},
      {dir.write("cut.dat", cut), "corrupt archive"},
      {dir.path(), "is a directory"},
      {dir.write("short.dat", archivetest::header({}, {{"GRAPH\\a.im", {}, 500}})), "runs past the end of the file"},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(says(run(dir, {"list", c.file}), 1, c.message)) << c.file;
    EXPECT_TRUE(says(run(dir, {"extract", c.file, dir.file("x")}), 1, c.message)) << c.file;
  }
}

TEST(Tool, BadPicturesAreNamed) {
  tempdir dir;
  // Each folder holds one bad input; in() makes the folder and names a file in it.
  auto in = [&](const std::string& folder, const std::string& name) {
    std::filesystem::create_directories(dir.file(folder));
    return folder + "/" + name;
  };
  const bytes rgb(4 * 4 * 3, 9);
  std::string error;
  ASSERT_EQ(pngio::writergb(dir.file(in("rgb", "teil.png")), 4, 4, rgb.data(), error), pngio::tpngresult::ok);
  std::vector<pngio::trgb> full = ramp(256);
  full[0] = {1, 2, 3};
  writepng(dir.file(in("many", "teil.png")), 16, 16, full, 255);
  writepng(dir.file(in("wide", "teil.png")), 1026, 2, ramp(4), 4);
  dir.write(in("junk", "teil.png"), archivetest::text("not a picture"));
  dir.write(in("badim", "teil.im"), archivetest::picture(2, 1026, 2));
  writepng(dir.file(in("twice", "teil.png")), 4, 4, ramp(4), 4);
  dir.write(in("twice", "TEIL.im"), archivetest::picture(2, 4, 5));
  in("empty", "");
  dir.write(in("manifest", "manifest.txt"), archivetest::text("verovo manifest 1\nentry .. x\n"));

  const struct {
    std::string folder, message;
  } cases[] = {
      {"rgb", "teil.png: not an indexed PNG (it is RGB)"},
      {"many", "teil.png: more than 255 colours"},
      {"wide", "teil.png: too large: 1026x2 (at most 1025x65534)"},
      {"junk", "teil.png: not a PNG file"},
      {"badim", "teil.im: not a picture (.im) file"},
      {"twice", "two files give the entry"},
      {"empty", "no .png or .im files to pack"},
      {"manifest", "manifest.txt line 2: not a plain file name: .."},
      {"nofolder", "not a folder"},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(says(run(dir, {"pack", dir.file(c.folder), dir.file("out.dat")}), 1, c.message)) << c.folder;
    EXPECT_FALSE(myio::fileexists(dir.file("out.dat"))) << c.folder;
  }
}

// A named pipe would block the tool, /dev/zero would never end: each is
// refused at once with the line an unreadable file gets.
TEST(Tool, InputsThatAreNotFilesAreRefusedAtOnce) {
  tempdir dir;
  for (const std::string& archive : {dir.fifo("pipe.dat"), dir.link("zero.dat", "/dev/zero")})
    EXPECT_TRUE(says(run(dir, {"list", archive}), 1, archive + ": no such file, or it cannot be read"));
  EXPECT_TRUE(says(run(dir, {"extract", "/dev/zero", dir.file("x")}), 1, "/dev/zero: no such file, or it cannot be read"));
  EXPECT_FALSE(std::filesystem::exists(dir.file("x")));

  // A manifest naming them (as raw bytes and as a PNG), and one that is a pipe.
  std::filesystem::create_directory(dir.file("art"));
  dir.link("art/zero.bin", "/dev/zero");
  dir.fifo("art/pipe.png");
  for (const std::string file : {"zero.bin", "pipe.png"}) {
    dir.write("art/manifest.txt", archivetest::text("verovo manifest 1\nentry " + file + " GRAPH\\a.im\n"));
    EXPECT_TRUE(says(run(dir, {"pack", dir.file("art"), dir.file("out.dat")}), 1,
                     file == "zero.bin" ? "art/zero.bin: cannot read" : "art/pipe.png: cannot open: not a regular file"));
  }
  std::filesystem::remove(dir.file("art/manifest.txt"));
  dir.fifo("art/manifest.txt");
  EXPECT_TRUE(says(run(dir, {"pack", dir.file("art"), dir.file("out.dat")}), 1, "manifest.txt: cannot read"));
  EXPECT_FALSE(std::filesystem::exists(dir.file("out.dat")));
}

TEST(Tool, AManifestWithCrlfLineEndsPacksTheSame) {
  tempdir dir;
  std::string error;
  ASSERT_TRUE(verovo::writearchive(dir.file("a.dat"), {"GRAPH"},
                                   {{"GRAPH\\teil.im", archivetest::picture(3, 5, 4)}, {"GRAPH\\x.im", {1, 2}}}, error));
  ASSERT_TRUE(says(run(dir, {"extract", dir.file("a.dat"), dir.file("art")}), 0, ""));
  const bytes lf = fileof(dir.file("art/manifest.txt"));
  bytes crlf;
  for (uint8_t b : lf) {
    if (b == '\n') crlf.push_back('\r');
    crlf.push_back(b);
  }
  dir.write("art/manifest.txt", crlf);
  ASSERT_TRUE(says(run(dir, {"pack", dir.file("art"), dir.file("b.dat")}), 0, ""));
  EXPECT_EQ(fileof(dir.file("b.dat")), fileof(dir.file("a.dat")));
}

// /dev/full stands for a full disk: the second file cannot be written.
// (pack writes its archive through the same temporary: see test_myio.)
TEST(Tool, AFailedExtractLeavesWhatWasThere) {
  tempdir dir;
  std::string error;
  // teil is kept as .im (pixels past its colours), qelm1 becomes a PNG.
  bytes qelm1;
  loadimx::tpalette pal{};
  pal.entry[1] = {63, 0, 0, 0};
  pal.entry[2] = {0, 63, 0, 0};
  ASSERT_TRUE(loadimx::encodeim(2, 4, 2, pal, {0, 1, 2, 1, 2, 1, 0, 0}, qelm1));
  ASSERT_TRUE(verovo::writearchive(dir.file("a.dat"), {"GRAPH"},
                                   {{"GRAPH\\teil.im", archivetest::picture(3, 5, 4)},
                                    {"GRAPH\\qelm1.im", qelm1},
                                    {"MUSIC\\x.bin", {1}}},
                                   error));
  std::filesystem::create_directory(dir.file("out"));
  dir.write("out/teil.im", archivetest::text("old"));
  dir.link("out/qelm1.png", "/dev/full");
  const tran failed = run(dir, {"extract", dir.file("a.dat"), dir.file("out")});
  EXPECT_TRUE(says(failed, 1, "qelm1.png: cannot write"));
  EXPECT_TRUE(says(failed, 1, "nothing extracted"));
  EXPECT_EQ(dir.names("out"), (archivetest::strings{"qelm1.png", "teil.im"}));
  EXPECT_EQ(fileof(dir.file("out/teil.im")), archivetest::text("old"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("out/qelm1.png")));
  EXPECT_TRUE(archivetest::isdevice("/dev/full"));

}

TEST(Tool, UsageAndHelp) {
  tempdir dir;
  for (const char* command : {"list", "extract", "pack"}) {
    tran r = run(dir, {command, "--help"});
    EXPECT_EQ(r.code, 0) << command;
    EXPECT_EQ(r.out.rfind(std::string("usage: verovo ") + command, 0), 0u) << r.out;
    EXPECT_TRUE(says(run(dir, {command}), 2, "wrong number of arguments")) << command;
  }
  EXPECT_EQ(run(dir, {"--help"}).code, 0);
  EXPECT_EQ(run(dir, {}).code, 2);
  EXPECT_TRUE(says(run(dir, {"unpack", "x"}), 2, "unknown command: unpack"));
}

}  // namespace
