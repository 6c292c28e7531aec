// myio: regular-file inputs, outputs through a temporary, upper-casing.
#include "myio/myio.h"

#include <sys/stat.h>
#include <unistd.h>

#include "archivetest/archivetest.h"

namespace {

using archivetest::bytes;
using archivetest::strings;

bool isdevice(const char* path) {
  struct stat st {};
  return stat(path, &st) == 0 && S_ISCHR(st.st_mode);
}

TEST(Myio, FileexistsOnlyForFilesThatOpen) {
  archivetest::tempdir dir;
  EXPECT_FALSE(myio::fileexists(""));
  EXPECT_FALSE(myio::fileexists(dir.file("missing.dat")));
  EXPECT_TRUE(myio::fileexists(dir.write("empty.dat", {})));
  std::vector<uint8_t> back{1};
  EXPECT_FALSE(myio::readfile(dir.path(), back));
  EXPECT_TRUE(back.empty());
}

// A named pipe would block the open until a writer comes, /dev/zero never
// ends: both are refused at once, like a folder.
TEST(Myio, InputsThatAreNotFilesAreRefusedAtOnce) {
  alarm(20);  // a blocking open ends the test instead of hanging it
  archivetest::tempdir dir;
  const strings notfiles = {dir.fifo("pipe"), dir.link("zero", "/dev/zero"), "/dev/zero", dir.path()};
  for (const std::string& name : notfiles) {
    EXPECT_FALSE(myio::fileexists(name)) << name;
    std::string why;
    EXPECT_EQ(myio::openread(name, &why), nullptr) << name;
    EXPECT_TRUE(why == "not a regular file" || why == "a folder, not a file") << name << ": " << why;
    bytes b;
    EXPECT_FALSE(myio::readfile(name, b)) << name;
  }
  // A link to a regular file is that file.
  dir.write("real.dat", {1, 2, 3});
  bytes b;
  EXPECT_TRUE(myio::readfile(dir.link("link.dat", dir.file("real.dat")), b));
  EXPECT_EQ(b, (bytes{1, 2, 3}));
  alarm(0);
}

TEST(Myio, ReadfileHonoursItsLimit) {
  archivetest::tempdir dir;
  const std::string f = dir.write("ten.dat", bytes(10, 7));
  bytes b;
  EXPECT_TRUE(myio::readfile(f, b, 10));
  EXPECT_EQ(b.size(), 10u);
  EXPECT_FALSE(myio::readfile(f, b, 9));
  EXPECT_TRUE(b.empty());
}

TEST(Myio, WritefileReplacesWholeAndLeavesNothingBeside) {
  archivetest::tempdir dir;
  dir.write("out.dat", bytes(100, 1));
  ASSERT_TRUE(myio::writefile(dir.file("out.dat"), {4, 5}));
  bytes b;
  ASSERT_TRUE(myio::readfile(dir.file("out.dat"), b));
  EXPECT_EQ(b, (bytes{4, 5}));
  // Through a link, the link stays and its file gets the bytes.
  dir.write("real.dat", {9});
  dir.link("link.dat", dir.file("real.dat"));
  ASSERT_TRUE(myio::writefile(dir.file("link.dat"), {6}));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.dat")));
  ASSERT_TRUE(myio::readfile(dir.file("real.dat"), b));
  EXPECT_EQ(b, bytes{6});
  EXPECT_EQ(dir.names(), (strings{"link.dat", "out.dat", "real.dat"}));
  EXPECT_FALSE(myio::writefile(dir.path(), {1}));  // a folder is no target
}

// /dev/full stands for a full disk. The device is written in place and
// neither removed nor replaced by a file.
TEST(Myio, AFailedWriteKeepsTheTargetAsItWas) {
  archivetest::tempdir dir;
  dir.link("full.dat", "/dev/full");
  EXPECT_FALSE(myio::writefile(dir.file("full.dat"), bytes(100000, 3)));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("full.dat")));
  EXPECT_TRUE(isdevice("/dev/full"));
  EXPECT_EQ(dir.names(), strings{"full.dat"});

  // Dropped half-way: the old file stays, the temporary goes.
  dir.write("old.dat", {1, 2});
  myio::toutput out;
  std::string error;
  ASSERT_TRUE(myio::startoutput(dir.file("old.dat"), out, error)) << error;
  EXPECT_FALSE(out.direct);
  EXPECT_EQ(std::filesystem::path(out.path).parent_path(), std::filesystem::path(dir.path()));
  std::FILE* f = std::fopen(out.path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("partial", f);
  std::fclose(f);
  myio::dropoutput(out);
  bytes b;
  ASSERT_TRUE(myio::readfile(dir.file("old.dat"), b));
  EXPECT_EQ(b, (bytes{1, 2}));
  EXPECT_EQ(dir.names(), (strings{"full.dat", "old.dat"}));
}

TEST(Myio, MadeFoldersAreRemovedOnlyWhenEmpty) {
  archivetest::tempdir dir;
  std::vector<std::string> made;
  ASSERT_TRUE(myio::makefolders(dir.file("a/b/c"), made));
  EXPECT_EQ(made, (strings{dir.file("a/b/c"), dir.file("a/b"), dir.file("a")}));
  dir.write("a/keep.txt", {1});
  myio::removefolders(made);
  EXPECT_EQ(dir.names("a"), strings{"keep.txt"});
  ASSERT_TRUE(myio::makefolders(dir.file("a"), made));
  EXPECT_TRUE(made.empty());  // it was there already
}

TEST(Myio, UpstringFoldsOnlyAsciiLetters) {
  EXPECT_EQ(myio::upstring("graph\\teil.im"), "GRAPH\\TEIL.IM");
  EXPECT_EQ(myio::upstring("az AZ 09 @[`{"), "AZ AZ 09 @[`{");
  const std::string high = "\xe4\xf6\xfc\xc3\xa4\x80\xff";  // Latin-1 and UTF-8 letters stay
  EXPECT_EQ(myio::upstring(high), high);
  EXPECT_EQ(myio::upstring(std::string("a\0b", 3)), std::string("A\0B", 3));
}

}  // namespace
