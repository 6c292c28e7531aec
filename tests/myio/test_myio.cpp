// myio: regular-file inputs, outputs through a temporary, upper-casing.
#include "myio/myio.h"

#include "archivetest/archivetest.h"

namespace {

using archivetest::bytes;
using archivetest::strings;

// Pipes and devices are refused as inputs end to end, in the tools' tests.
TEST(Myio, FileexistsOnlyForFilesThatOpen) {
  archivetest::tempdir dir;
  EXPECT_FALSE(myio::fileexists(""));
  EXPECT_FALSE(myio::fileexists(dir.file("missing.dat")));
  EXPECT_TRUE(myio::fileexists(dir.write("empty.dat", {})));
  std::vector<uint8_t> back{1};
  EXPECT_FALSE(myio::readfile(dir.path(), back));
  EXPECT_TRUE(back.empty());
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

// Through a link the link stays and its file is replaced. /dev/full stands
// for a full disk: a device is written in place, never removed or replaced.
// (That a failed output keeps the old file is seen in the tools' tests.)
TEST(Myio, WritesFollowLinksAndLeaveDevicesAlone) {
  archivetest::tempdir dir;
  dir.write("real.dat", {9});
  dir.link("link.dat", dir.file("real.dat"));
  ASSERT_TRUE(myio::writefile(dir.file("link.dat"), {6}));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.dat")));
  bytes b;
  ASSERT_TRUE(myio::readfile(dir.file("real.dat"), b));
  EXPECT_EQ(b, bytes{6});
  std::filesystem::remove(dir.file("link.dat"));
  std::filesystem::remove(dir.file("real.dat"));

  dir.link("full.dat", "/dev/full");
  EXPECT_FALSE(myio::writefile(dir.file("full.dat"), bytes(100000, 3)));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("full.dat")));
  EXPECT_TRUE(archivetest::isdevice("/dev/full"));
  EXPECT_EQ(dir.names(), strings{"full.dat"});
}

TEST(Myio, UpstringFoldsOnlyAsciiLetters) {
  EXPECT_EQ(myio::upstring("graph\\teil.im"), "GRAPH\\TEIL.IM");
  EXPECT_EQ(myio::upstring("az AZ 09 @[`{"), "AZ AZ 09 @[`{");
  const std::string high = "\xe4\xf6\xfc\xc3\xa4\x80\xff";  // Latin-1 and UTF-8 letters stay
  EXPECT_EQ(myio::upstring(high), high);
  EXPECT_EQ(myio::upstring(std::string("a\0b", 3)), std::string("A\0B", 3));
}

}  // namespace
