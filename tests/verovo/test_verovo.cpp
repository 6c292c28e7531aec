// verovo: signature search, header index, lookups and the writer.
#include "verovo/verovo.h"

#include "archivetest/archivetest.h"

namespace {

using archivetest::bytes;
using archivetest::tempdir;
using archivetest::tentry;

// Opens bytes written to a scratch file; returns the status.
uint8_t openbytes(const tempdir& dir, const bytes& b) {
  verovo::openarchive(dir.write("test.dat", b));
  return verovo::archivestatus;
}

// A header with no names and no entries: the data area starts 15 bytes after
// the signature's first byte.
bytes emptyheader() { return archivetest::header({}, {}); }

TEST(Signature, FoundAtAnyPositionAndAcrossBlocks) {
  tempdir dir;
  // Starts around the first two 2049-byte boundaries split the ten bytes
  // every way; the leading '@' bytes trip a search that restarts badly.
  for (size_t start : {0u, 2030u, 2040u, 2045u, 2048u, 2049u, 2050u, 4093u, 4097u, 4098u, 100000u}) {
    bytes b(start, '@');
    bytes h = emptyheader();
    b.insert(b.end(), h.begin(), h.end());
    ASSERT_EQ(openbytes(dir, b), verovo::archiveok) << "signature at " << start;
    EXPECT_EQ(verovo::datastart, start + 15) << "signature at " << start;
  }
  // At 2045 the header (version bytes) is at 2055; a directory name follows.
  bytes b(2045, 0);
  archivetest::put(b, "@@VEROVO@@3.1");
  for (uint8_t c : {1, 0, 2}) b.push_back(c);
  archivetest::put(b, "GR");
  ASSERT_EQ(openbytes(dir, b), verovo::archiveok);
  EXPECT_EQ(verovo::datastart, 2055u + 3 + 2 + 3);
  EXPECT_EQ(verovo::dirlist[1], "GR");
  EXPECT_EQ(verovo::archivename, dir.file("test.dat"));
}

TEST(Signature, FirstOfTwoCountsAndPartialOnesAreSkipped) {
  tempdir dir;
  bytes b;
  archivetest::put(b, "@@VEROVO@ @@VEROV-");  // near misses
  bytes first = archivetest::header({}, {{"A", {1}}});
  b.insert(b.end(), first.begin(), first.end());
  b.push_back(1);
  bytes second = archivetest::header({}, {{"B", {2}}, {"C", {3}}});
  b.insert(b.end(), second.begin(), second.end());
  ASSERT_EQ(openbytes(dir, b), verovo::archiveok);
  EXPECT_EQ(verovo::filecount, 1);
  EXPECT_EQ(verovo::filelist[1].name, "A");
}

TEST(Signature, MissingGivesStatusTwo) {
  tempdir dir;
  EXPECT_EQ(openbytes(dir, {}), verovo::archivenosignature);
  EXPECT_EQ(openbytes(dir, bytes(5000, '@')), verovo::archivenosignature);
  bytes cut;
  archivetest::put(cut, "xx@@VEROVO@");  // the file ends one byte short
  EXPECT_EQ(openbytes(dir, cut), verovo::archivenosignature);
  EXPECT_EQ(verovo::filecount, 0);
  EXPECT_EQ(verovo::archivename, dir.file("test.dat"));
}

TEST(Open, MissingFileGivesStatusOneAndKeepsTheName) {
  tempdir dir;
  ASSERT_EQ(openbytes(dir, emptyheader()), verovo::archiveok);
  verovo::openarchive(dir.file("nothere.dat"));
  EXPECT_EQ(verovo::archivestatus, verovo::archivemissing);
  EXPECT_EQ(verovo::archivename, dir.file("test.dat"));
  verovo::openarchive("");
  EXPECT_EQ(verovo::archivestatus, verovo::archivemissing);
}

TEST(Open, WrongVersionGivesStatusThree) {
  tempdir dir;
  for (const char* v : {"3.0", "3,1", "1.3", "\0\0\0"}) {
    bytes b = archivetest::header({"GRAPH"}, {{"GRAPH\\a.im", {9}}}, std::string(v, 3));
    b.push_back(9);
    EXPECT_EQ(openbytes(dir, b), verovo::archivebadversion) << v;
    EXPECT_EQ(verovo::filecount, 0);
  }
}

TEST(Open, HeaderCutAnywhereGivesStatusFourAndNoIndex) {
  tempdir dir;
  const bytes full = archivetest::header({"GRAPH", "SND"}, {{"GRAPH\\a.im", {}, 100}, {"x", {}, 7}});
  for (size_t cut = 10; cut < full.size(); ++cut) {
    // A good archive first, so a stale index would show.
    ASSERT_EQ(openbytes(dir, archivetest::archive({}, {{"old", {1, 2}}})), verovo::archiveok);
    bytes b(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut));
    EXPECT_EQ(openbytes(dir, b), verovo::archivecorrupt) << "cut at " << cut;
    EXPECT_EQ(verovo::filecount, 0);
    EXPECT_EQ(verovo::dircount, 0);
    EXPECT_EQ(verovo::findentry("old"), 0);
  }
  // The whole header is enough; the data is the readers' business.
  EXPECT_EQ(openbytes(dir, full), verovo::archiveok);
  EXPECT_EQ(verovo::filecount, 2);
}

TEST(Open, SizesReachingPast32BitPositionsAreCorrupt) {
  tempdir dir;
  // The header takes 15 + 2 * (1 + 1 + 4) = 27 bytes; the last entry may end
  // at 0xFFFFFFFF and no further.
  const uint32_t fits = 0xFFFFFFFFu - 27 - 5;
  EXPECT_EQ(openbytes(dir, archivetest::header({}, {{"a", {}, fits}, {"b", {}, 6}})), verovo::archivecorrupt);
  EXPECT_EQ(verovo::filecount, 0);
  EXPECT_EQ(openbytes(dir, archivetest::header({}, {{"a", {}, fits}, {"b", {}, 5}})), verovo::archiveok);
  EXPECT_EQ(verovo::entryoffset(2), 0xFFFFFFFFu - 5);
}

TEST(Index, EmptyCountsAndStoredFields) {
  tempdir dir;
  ASSERT_EQ(openbytes(dir, emptyheader()), verovo::archiveok);
  EXPECT_EQ(verovo::filecount, 0);
  EXPECT_EQ(verovo::dircount, 0);
  EXPECT_EQ(verovo::findentry(""), 0);

  const std::string high = "GRAPH\\\xe4\xff.im";
  ASSERT_EQ(openbytes(dir, archivetest::archive({"GRAPH", ""}, {{high, {1, 2, 3}}, {"", {}}, {"z", {4}}})),
            verovo::archiveok);
  EXPECT_EQ(verovo::dircount, 2);
  EXPECT_EQ(verovo::dirlist[1], "GRAPH");
  EXPECT_EQ(verovo::dirlist[2], "");
  EXPECT_EQ(verovo::filecount, 3);
  EXPECT_EQ(verovo::filelist[1].name, high);
  EXPECT_EQ(verovo::filelist[1].size, 3u);
  EXPECT_EQ(verovo::filelist[2].name, "");
  EXPECT_EQ(verovo::findentry(""), 2);
  EXPECT_EQ(verovo::findentry("Z"), 3);
}

TEST(Index, LongestNamesAndMostEntries) {
  tempdir dir;
  std::vector<tentry> entries;
  for (int i = 0; i < 255; ++i) entries.push_back({std::to_string(100 + i) + std::string(252, 'n'), {uint8_t(i)}});
  ASSERT_EQ(openbytes(dir, archivetest::archive({std::string(255, 'd')}, entries)), verovo::archiveok);
  EXPECT_EQ(verovo::filecount, 255);
  EXPECT_EQ(verovo::dirlist[1].size(), 255u);
  EXPECT_EQ(verovo::findentry(entries[254].name), 255);
  EXPECT_EQ(verovo::entryoffset(255), verovo::datastart + 254);
}

TEST(Lookup, IgnoresCaseAndTheLastMatchWins) {
  tempdir dir;
  ASSERT_EQ(openbytes(dir, archivetest::archive({"GRAPH"}, {{"GRAPH\\teil.im", {}},
                                                            {"GRAPH\\eye1.im", {}},
                                                            {"graph\\EYE1.IM", {}},
                                                            {"GRAPH\\\xe4.im", {}}})),
            verovo::archiveok);
  EXPECT_EQ(verovo::findentry("graph\\teil.im"), 1);
  EXPECT_EQ(verovo::findentry("GRAPH\\TEIL.IM"), 1);
  EXPECT_EQ(verovo::findentry("GRAPH\\eye1.im"), 3);
  EXPECT_EQ(verovo::findentry("GRAPH\\\xe4.IM"), 4);
  // Whole names only, and bytes above 127 are not folded.
  EXPECT_EQ(verovo::findentry("GRAPH\\teil.i"), 0);
  EXPECT_EQ(verovo::findentry("GRAPH\\teil.im "), 0);
  EXPECT_EQ(verovo::findentry("teil.im"), 0);
  EXPECT_EQ(verovo::findentry("GRAPH\\\xc4.im"), 0);
}

TEST(Lookup, OffsetsAddTheSizesBefore) {
  tempdir dir;
  ASSERT_EQ(openbytes(dir, archivetest::archive({}, {{"a", bytes(100, 1)}, {"b", bytes(250, 2)}, {"c", bytes(7, 3)}},
                                                  33)),
            verovo::archiveok);
  const uint32_t s = verovo::datastart;
  EXPECT_EQ(s, 33u + 15 + 3 * 6);
  EXPECT_EQ(verovo::entryoffset(1), s);
  EXPECT_EQ(verovo::entryoffset(2), s + 100);
  EXPECT_EQ(verovo::entryoffset(3), s + 350);

  bytes got;
  ASSERT_TRUE(verovo::readentry(2, got));
  EXPECT_EQ(got, bytes(250, 2));
  ASSERT_TRUE(verovo::readentry(3, got));
  EXPECT_EQ(got, bytes(7, 3));
}

TEST(LookupDeathTest, EntryNumbersOutsideTheIndexAreRefused) {
  tempdir dir;
  ASSERT_EQ(openbytes(dir, archivetest::archive({}, {{"a", {1}}})), verovo::archiveok);
  EXPECT_DEATH(verovo::entryoffset(0), "limit broken");
  EXPECT_DEATH(verovo::entryoffset(2), "limit broken");
}

TEST(Writer, LaysOutTheFormatAndRefusesWhatItCannotHold) {
  bytes got;
  std::string error;
  ASSERT_TRUE(verovo::buildarchive({"GRAPH", "X"}, {{"GRAPH\\a.im", {1, 2, 3}}, {"", {}}, {"b", bytes(300, 7)}},
                                   got, error));
  EXPECT_EQ(got, archivetest::archive({"GRAPH", "X"}, {{"GRAPH\\a.im", {1, 2, 3}}, {"", {}}, {"b", bytes(300, 7)}}));

  std::vector<verovo::tentry> many(256);
  EXPECT_FALSE(verovo::buildarchive({}, many, got, error));
  EXPECT_EQ(error, "more than 255 entries");
  many.resize(255);
  EXPECT_TRUE(verovo::buildarchive({}, many, got, error));
  EXPECT_FALSE(verovo::buildarchive(std::vector<std::string>(256), {}, got, error));
  EXPECT_FALSE(verovo::buildarchive({}, {{std::string(256, 'n'), {}}}, got, error));
  EXPECT_FALSE(verovo::buildarchive({std::string(256, 'd')}, {}, got, error));
  EXPECT_TRUE(got.empty());
}

}  // namespace
