// myio: existence checks and upper-casing.
#include "myio/myio.h"

#include "archivetest/archivetest.h"

namespace {

TEST(Myio, FileexistsOnlyForFilesThatOpen) {
  archivetest::tempdir dir;
  EXPECT_FALSE(myio::fileexists(""));
  EXPECT_FALSE(myio::fileexists(dir.file("missing.dat")));
  EXPECT_TRUE(myio::fileexists(dir.write("empty.dat", {})));
  std::vector<uint8_t> back{1};
  EXPECT_FALSE(myio::readfile(dir.path(), back));  // a folder opens but cannot be read
  EXPECT_TRUE(back.empty());
}

TEST(Myio, UpstringFoldsOnlyAsciiLetters) {
  EXPECT_EQ(myio::upstring("graph\\teil.im"), "GRAPH\\TEIL.IM");
  EXPECT_EQ(myio::upstring("az AZ 09 @[`{"), "AZ AZ 09 @[`{");
  const std::string high = "\xe4\xf6\xfc\xc3\xa4\x80\xff";  // Latin-1 and UTF-8 letters stay
  EXPECT_EQ(myio::upstring(high), high);
  EXPECT_EQ(myio::upstring(std::string("a\0b", 3)), std::string("A\0B", 3));
}

}  // namespace
