// The verovo tool, run as the built program: list, extract, pack and the
// answer to every bad input.
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
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

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

tran run(const tempdir& dir, const std::vector<std::string>& args) {
  std::string cmd = quote(VEROVO_TOOL);
  for (const std::string& a : args) cmd += " " + quote(a);
  cmd += " >" + quote(dir.file("out.txt")) + " 2>" + quote(dir.file("err.txt")) + " </dev/null";
  const int status = std::system(cmd.c_str());
  tran r;
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.out = slurp(dir.file("out.txt"));
  r.err = slurp(dir.file("err.txt"));
  return r;
}

bytes fileof(const std::string& path) {
  bytes b;
  EXPECT_TRUE(myio::readfile(path, b)) << path;
  return b;
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
  dir.write("art/notes.txt", {'h', 'i'});  // neither .png nor .im: left out

  tran r = run(dir, {"pack", art, dir.file("a.dat")});
  ASSERT_EQ(r.code, 0) << r.err;
  verovo::openarchive(dir.file("a.dat"));
  ASSERT_EQ(verovo::archivestatus, verovo::archiveok);
  ASSERT_EQ(verovo::filecount, 3);  // in file-name order
  EXPECT_EQ(verovo::filelist[1].name, "GRAPH\\eye1.im");
  EXPECT_EQ(verovo::filelist[2].name, "GRAPH\\qelm1.im");
  EXPECT_EQ(verovo::filelist[3].name, "GRAPH\\teil.im");
  EXPECT_EQ(verovo::dirlist[1], "GRAPH");

  r = run(dir, {"list", dir.file("a.dat")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("GRAPH\\teil.im"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("320x203, 255 colours"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("50x60, 1 colours"), std::string::npos) << r.out;
  std::ostringstream row;
  row << verovo::filelist[3].size << " " << std::setw(10) << verovo::entryoffset(3);
  EXPECT_NE(r.out.find(row.str()), std::string::npos) << r.out;

  r = run(dir, {"extract", dir.file("a.dat"), dir.file("out")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(myio::fileexists(dir.file("out/teil.png")));
  EXPECT_TRUE(myio::fileexists(dir.file("out/manifest.txt")));
  // The extracted PNG is the packed one's picture: same pixels, same palette.
  pngio::tindexed before, after;
  std::string error;
  ASSERT_EQ(pngio::readindexed(art + "/teil.png", before, error), pngio::tpngresult::ok);
  ASSERT_EQ(pngio::readindexed(dir.file("out/teil.png"), after, error), pngio::tpngresult::ok);
  EXPECT_EQ(after.pixels, before.pixels);
  ASSERT_EQ(after.palette.size(), 256u);
  for (int i = 1; i < 256; ++i)  // the 6-bit level nearest to each packed colour
    EXPECT_EQ(after.palette[i].green, picturefiles::to8bit(picturefiles::to6bit(before.palette[i].green)));

  r = run(dir, {"pack", dir.file("out"), dir.file("b.dat")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(fileof(dir.file("b.dat")), fileof(dir.file("a.dat")));

  // Without the manifest the same folder still packs to the same archive.
  std::filesystem::remove(dir.file("out/manifest.txt"));
  r = run(dir, {"pack", dir.file("out"), dir.file("c.dat")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(fileof(dir.file("c.dat")), fileof(dir.file("a.dat")));
}

TEST(Tool, OddArchivesComeBackByteForByte) {
  tempdir dir;
  bytes spare = archivetest::picture(2, 4, 3);
  spare.push_back(7);
  bytes high = archivetest::picture(1, 2, 2);
  high[5] = 200;  // a level a PNG cannot hold
  std::vector<verovo::tentry> entries = {
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

  tran r = run(dir, {"extract", dir.file("odd.dat"), dir.file("x")});
  ASSERT_EQ(r.code, 0) << r.err;
  r = run(dir, {"pack", dir.file("x"), dir.file("again.dat")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(fileof(dir.file("again.dat")), fileof(dir.file("odd.dat")));
  // An empty archive too.
  ASSERT_TRUE(verovo::writearchive(dir.file("e.dat"), {}, {}, error));
  ASSERT_EQ(run(dir, {"extract", dir.file("e.dat"), dir.file("e")}).code, 0);
  ASSERT_EQ(run(dir, {"pack", dir.file("e"), dir.file("f.dat")}).code, 0);
  EXPECT_EQ(fileof(dir.file("f.dat")), fileof(dir.file("e.dat")));
  // Names never leave the folder.
  EXPECT_FALSE(std::filesystem::exists(dir.file("escape.im")));
  for (const auto& f : std::filesystem::directory_iterator(dir.file("x")))
    EXPECT_TRUE(f.is_regular_file()) << f.path();
}

TEST(Tool, BadArchivesAreNamed) {
  tempdir dir;
  dir.write("text.dat", {'j', 'u', 's', 't', ' ', 't', 'e', 'x', 't'});
  bytes old = archivetest::header({}, {}, "3.0");
  dir.write("old.dat", old);
  bytes cut = archivetest::header({"GRAPH"}, {{"GRAPH\\a.im", {}, 5}});
  cut.resize(cut.size() - 2);
  dir.write("cut.dat", cut);
  dir.write("short.dat", archivetest::header({}, {{"GRAPH\\a.im", {}, 500}}));

  const struct {
    std::string file, message;
  } cases[] = {
      {dir.file("none.dat"), "no such file"},
      {dir.file("text.dat"), "not an archive (no @@VEROVO@@ signature)"},
      {dir.file("old.dat"), "unsupported archive version"},
      {dir.file("cut.dat"), "corrupt archive"},
      {dir.path(), "is a directory"},
  };
  for (const auto& c : cases) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"list", c.file},
                                                  std::vector<std::string>{"extract", c.file, dir.file("x")}}) {
      tran r = run(dir, args);
      EXPECT_EQ(r.code, 1) << args[0] << " " << c.file;
      EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
  }
  // An entry the file does not hold.
  tran r = run(dir, {"list", dir.file("short.dat")});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("runs past the end of the file"), std::string::npos) << r.err;
  r = run(dir, {"extract", dir.file("short.dat"), dir.file("y")});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("runs past the end of the file"), std::string::npos) << r.err;
}

TEST(Tool, BadPicturesAreNamed) {
  tempdir dir;
  // Each folder holds one bad input; folder() makes it and gives its path.
  auto folder = [&](const std::string& name) {
    std::filesystem::create_directories(dir.file(name));
    return dir.file(name) + "/";
  };
  auto text = [](const std::string& t) { return bytes(t.begin(), t.end()); };
  const bytes rgb(4 * 4 * 3, 9);
  std::string error;
  ASSERT_EQ(pngio::writergb(folder("rgb") + "teil.png", 4, 4, rgb.data(), error), pngio::tpngresult::ok);
  std::vector<pngio::trgb> full = ramp(256);
  full[0] = {1, 2, 3};
  writepng(folder("many") + "teil.png", 16, 16, full, 255);
  writepng(folder("wide") + "teil.png", 1026, 2, ramp(4), 4);
  folder("junk");
  dir.write("junk/teil.png", text("not a picture"));
  folder("badim");
  dir.write("badim/teil.im", archivetest::picture(2, 1026, 2));
  writepng(folder("twice") + "teil.png", 4, 4, ramp(4), 4);
  dir.write("twice/TEIL.im", archivetest::picture(2, 4, 5));
  folder("empty");
  folder("manifest");
  dir.write("manifest/manifest.txt", text("verovo manifest 1\nentry .. x\n"));

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
    tran r = run(dir, {"pack", dir.file(c.folder), dir.file("out.dat")});
    EXPECT_EQ(r.code, 1) << c.folder;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.folder << ": " << r.err;
    EXPECT_FALSE(myio::fileexists(dir.file("out.dat"))) << c.folder;
  }
}

TEST(Tool, UsageAndHelp) {
  tempdir dir;
  for (const char* command : {"list", "extract", "pack"}) {
    tran r = run(dir, {command, "--help"});
    EXPECT_EQ(r.code, 0) << command;
    EXPECT_EQ(r.out.rfind(std::string("usage: verovo ") + command, 0), 0u) << r.out;
    r = run(dir, {command});
    EXPECT_EQ(r.code, 2) << command;
    EXPECT_NE(r.err.find("wrong number of arguments"), std::string::npos) << r.err;
  }
  EXPECT_EQ(run(dir, {"--help"}).code, 0);
  EXPECT_EQ(run(dir, {}).code, 2);
  tran r = run(dir, {"unpack", "x"});
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("unknown command: unpack"), std::string::npos);
}

}  // namespace
