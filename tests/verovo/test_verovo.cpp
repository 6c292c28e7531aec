// verovo: signature search, header index, lookups and the writer.
#include "verovo/verovo.h"

#include "archivetest/archivetest.h"

namespace {

using archivetest::archive;
using archivetest::bytes;
using archivetest::entrynames;
using archivetest::header;
using archivetest::put;
using archivetest::strings;
using archivetest::tempdir;

// Opens bytes written to a scratch file; returns the status.
uint8_t openbytes(const tempdir& dir, const bytes& b, const std::string& name = "test.dat") {
  verovo::openarchive(dir.write(name, b));
  return verovo::archivestatus;
}

TEST(Signature, FoundAtAnyPositionAndAcrossBlocks) {
  tempdir dir;
  // Starts around the first two 2049-byte boundaries split the ten bytes
  // every way (at 2045 the version is at 2055); the leading '@' bytes trip a
  // search that restarts badly. A directory name follows the counts.
  for (size_t start : {0u, 2030u, 2040u, 2045u, 2048u, 2049u, 2050u, 4093u, 4097u, 4098u, 100000u}) {
    bytes b(start, '@');
    put(b, header({"GR"}, {}));
    ASSERT_EQ(openbytes(dir, b), verovo::archiveok) << "signature at " << start;
    EXPECT_EQ(verovo::datastart, start + 15 + 3) << "signature at " << start;
    EXPECT_EQ(verovo::dirlist[1], "GR") << "signature at " << start;
  }
}

TEST(Signature, FirstOfTwoCountsAndPartialOnesAreSkipped) {
  tempdir dir;
  bytes b = archivetest::text("@@VEROVO@ @@VEROV-");  // near misses
  put(b, header({}, {{"A", {1}}}));
  b.push_back(1);
  put(b, header({}, {{"B", {2}}, {"C", {3}}}));
  ASSERT_EQ(openbytes(dir, b), verovo::archiveok);
  EXPECT_EQ(entrynames(), strings{"A"});
}

// Each failure leaves no index, even right after a good archive.
TEST(Open, NoSignatureIsTwoAnotherVersionThreeAMissingFileOne) {
  tempdir dir;
  std::vector<std::pair<bytes, uint8_t>> cases = {{{}, verovo::archivenosignature},
                                                  {bytes(5000, '@'), verovo::archivenosignature},
                                                  {archivetest::text("xx@@VEROVO@"), verovo::archivenosignature}};
  for (const char* v : {"3.0", "3,1", "1.3", "\0\0\0"}) {
    cases.push_back({header({"GRAPH"}, {{"GRAPH\\a.im", {9}}}, std::string(v, 3)), verovo::archivebadversion});
    cases.back().first.push_back(9);
  }
  for (const auto& [b, status] : cases) {
    ASSERT_EQ(openbytes(dir, archive({"D"}, {{"old", {1}}}), "old.dat"), verovo::archiveok);
    EXPECT_EQ(openbytes(dir, b), status) << std::string(b.begin(), b.begin() + std::min<size_t>(b.size(), 20));
    EXPECT_EQ(verovo::filecount, 0);
    EXPECT_EQ(verovo::archivename, dir.file("test.dat"));
  }
  // A missing file keeps the name of the last one found.
  for (const std::string& name : {dir.file("nothere.dat"), std::string()}) {
    verovo::openarchive(name);
    EXPECT_EQ(verovo::archivestatus, verovo::archivemissing) << name;
    EXPECT_EQ(verovo::archivename, dir.file("test.dat"));
  }
}

TEST(Open, HeaderCutAnywhereGivesStatusFourAndNoIndex) {
  tempdir dir;
  const bytes full = header({"GRAPH", "SND"}, {{"GRAPH\\a.im", {}, 100}, {"x", {}, 7}});
  for (size_t cut = 10; cut < full.size(); ++cut) {
    ASSERT_EQ(openbytes(dir, archive({}, {{"old", {1, 2}}})), verovo::archiveok);
    EXPECT_EQ(openbytes(dir, archivetest::prefix(full, cut)), verovo::archivecorrupt) << "cut at " << cut;
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
  EXPECT_EQ(openbytes(dir, header({}, {{"a", {}, fits}, {"b", {}, 6}})), verovo::archivecorrupt);
  EXPECT_EQ(verovo::filecount, 0);
  EXPECT_EQ(openbytes(dir, header({}, {{"a", {}, fits}, {"b", {}, 5}})), verovo::archiveok);
  EXPECT_EQ(verovo::entryoffset(2), 0xFFFFFFFFu - 5);
}

TEST(Index, NamesAndSizesAsStoredFromNoneTo255) {
  tempdir dir;
  ASSERT_EQ(openbytes(dir, header({}, {})), verovo::archiveok);
  EXPECT_EQ(verovo::filecount, 0);
  EXPECT_EQ(verovo::dircount, 0);
  EXPECT_EQ(verovo::findentry(""), 0);

  const std::string high = "GRAPH\\\xe4\xff.im";
  ASSERT_EQ(openbytes(dir, archive({"GRAPH", ""}, {{high, {1, 2, 3}}, {"", {}}, {"z", {4}}})), verovo::archiveok);
  EXPECT_EQ(archivetest::dirnames(), (strings{"GRAPH", ""}));
  EXPECT_EQ(entrynames(), (strings{high, "", "z"}));
  EXPECT_EQ(verovo::filelist[1].size, 3u);
  EXPECT_EQ(verovo::findentry(""), 2);
  EXPECT_EQ(verovo::findentry("Z"), 3);

  std::vector<archivetest::tentry> entries;
  for (int i = 0; i < 255; ++i) entries.push_back({std::to_string(100 + i) + std::string(252, 'n'), {uint8_t(i)}});
  ASSERT_EQ(openbytes(dir, archive({std::string(255, 'd')}, entries)), verovo::archiveok);
  EXPECT_EQ(verovo::filecount, 255);
  EXPECT_EQ(verovo::dirlist[1].size(), 255u);
  EXPECT_EQ(verovo::findentry(entries[254].name), 255);
  EXPECT_EQ(verovo::entryoffset(255), verovo::datastart + 254);
}

TEST(Lookup, IgnoresCaseAndTheLastMatchWins) {
  tempdir dir;
  ASSERT_EQ(openbytes(dir, archive({}, {{"GRAPH\\teil.im", {}}, {"GRAPH\\eye1.im", {}}, {"graph\\EYE1.IM", {}},
                                        {"GRAPH\\\xe4.im", {}}})),
            verovo::archiveok);
  EXPECT_EQ(verovo::findentry("graph\\teil.im"), 1);
  EXPECT_EQ(verovo::findentry("GRAPH\\TEIL.IM"), 1);
  EXPECT_EQ(verovo::findentry("GRAPH\\eye1.im"), 3);
  EXPECT_EQ(verovo::findentry("GRAPH\\\xe4.IM"), 4);
  // Whole names only, and bytes above 127 are not folded.
  for (const char* name : {"GRAPH\\teil.i", "GRAPH\\teil.im ", "teil.im", "GRAPH\\\xc4.im"})
    EXPECT_EQ(verovo::findentry(name), 0) << name;
}

TEST(Lookup, OffsetsAddTheSizesBefore) {
  tempdir dir;
  ASSERT_EQ(openbytes(dir, archive({}, {{"a", bytes(100, 1)}, {"b", bytes(250, 2)}, {"c", bytes(7, 3)}}, 33)),
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
  ASSERT_EQ(openbytes(dir, archive({}, {{"a", {1}}})), verovo::archiveok);
  EXPECT_DEATH(verovo::entryoffset(0), "limit broken");
  EXPECT_DEATH(verovo::entryoffset(2), "limit broken");
}

TEST(Writer, LaysOutTheFormatAndRefusesWhatItCannotHold) {
  bytes got;
  std::string error;
  ASSERT_TRUE(verovo::buildarchive({"GRAPH", "X"}, {{"GRAPH\\a.im", {1, 2, 3}}, {"", {}}, {"b", bytes(300, 7)}},
                                   got, error));
  EXPECT_EQ(got, archive({"GRAPH", "X"}, {{"GRAPH\\a.im", {1, 2, 3}}, {"", {}}, {"b", bytes(300, 7)}}));

  std::vector<verovo::tentry> many(256);
  EXPECT_FALSE(verovo::buildarchive({}, many, got, error));
  EXPECT_EQ(error, "more than 255 entries");
  many.resize(255);
  EXPECT_TRUE(verovo::buildarchive({}, many, got, error));
  EXPECT_FALSE(verovo::buildarchive(strings(256), {}, got, error));
  EXPECT_FALSE(verovo::buildarchive({}, {{std::string(256, 'n'), {}}}, got, error));
  EXPECT_FALSE(verovo::buildarchive({std::string(256, 'd')}, {}, got, error));
  EXPECT_TRUE(got.empty());
}

}  // namespace
