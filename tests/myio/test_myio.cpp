// myio: existence checks, upper-casing and whole-file transfers.
#include "myio/myio.h"

#include "archivetest/archivetest.h"

namespace {

using archivetest::tempdir;

TEST(Fileexists, OnlyFilesThatOpen) {
  tempdir dir;
  EXPECT_FALSE(myio::fileexists(""));
  EXPECT_FALSE(myio::fileexists(dir.file("missing.dat")));
  EXPECT_TRUE(myio::fileexists(dir.write("empty.dat", {})));
}

TEST(Upstring, FoldsOnlyAsciiLetters) {
  EXPECT_EQ(myio::upstring("graph\\teil.im"), "GRAPH\\TEIL.IM");
  EXPECT_EQ(myio::upstring("az AZ 09 @[`{"), "AZ AZ 09 @[`{");
  // Bytes above 127 (Latin-1 or UTF-8 letters among them) pass unchanged.
  const std::string high = "\xe4\xf6\xfc\xc3\xa4\x80\xff";
  EXPECT_EQ(myio::upstring(high), high);
  EXPECT_EQ(myio::upstring(std::string("a\0b", 3)), std::string("A\0B", 3));
}

TEST(Files, WrittenBytesReadBack) {
  tempdir dir;
  std::vector<uint8_t> data(200000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 13);
  ASSERT_TRUE(myio::writefile(dir.file("a.bin"), data));
  std::vector<uint8_t> back{1, 2, 3};
  ASSERT_TRUE(myio::readfile(dir.file("a.bin"), back));
  EXPECT_EQ(back, data);

  ASSERT_TRUE(myio::writefile(dir.file("a.bin"), {}));  // replaced, not appended
  ASSERT_TRUE(myio::readfile(dir.file("a.bin"), back));
  EXPECT_TRUE(back.empty());
}

TEST(Files, FailuresAreReported) {
  tempdir dir;
  std::vector<uint8_t> back{1};
  EXPECT_FALSE(myio::readfile(dir.file("missing"), back));
  EXPECT_TRUE(back.empty());
  EXPECT_FALSE(myio::readfile(dir.path(), back));  // a folder cannot be read
  EXPECT_FALSE(myio::writefile(dir.file("no/such/folder/x"), {1, 2}));
}

}  // namespace
