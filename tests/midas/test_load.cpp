// Module loading: every broken file gives a null module and a message that
// names the file and the fault.
#include "midas/midastest.h"

#include <sys/stat.h>

#include "midas/xmcheck.h"

namespace {

class midasloading : public midaslibrary {
 protected:
  void SetUp() override {
    midasoffline::uselockstep(nullptr, nullptr);
    start();
  }

  // Loads the bytes from a file and expects a refusal naming it.
  void expectrefused(const std::vector<uint8_t>& bytes, const std::string& name, int code, const std::string& fault) {
    const std::string path = xmwriter::save(bytes, name);
    EXPECT_EQ(MIDASloadModule(path.c_str()), nullptr) << name;
    std::remove(path.c_str());
    EXPECT_EQ(MIDASgetLastError(), code) << name;
    const std::string message = lastmessage();
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_NE(message.find(fault), std::string::npos) << message;
  }
};

TEST_F(midasloading, AWholeModuleLoads) {
  xmwriter::tsong song;
  song.instrument = true;
  EXPECT_NE(load(song), nullptr) << lastmessage();
}

TEST_F(midasloading, MissingFile) {
  const std::string path = xmwriter::tempname("absent.xm");
  EXPECT_EQ(MIDASloadModule(path.c_str()), nullptr);
  EXPECT_EQ(MIDASgetLastError(), MIDAS_FILE_NOT_FOUND);
  EXPECT_NE(lastmessage().find(path), std::string::npos) << lastmessage();
  EXPECT_NE(lastmessage().find("does not exist"), std::string::npos) << lastmessage();
  EXPECT_EQ(MIDASloadModule(nullptr), nullptr);
  EXPECT_EQ(MIDASgetLastError(), MIDAS_BAD_ARGUMENT);
}

TEST_F(midasloading, UnreadableFile) {
  const std::string dir = xmwriter::tempname("folder.xm");
  ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
  EXPECT_EQ(MIDASloadModule(dir.c_str()), nullptr);
  EXPECT_EQ(MIDASgetLastError(), MIDAS_FILE_READ);
  EXPECT_NE(lastmessage().find(dir), std::string::npos) << lastmessage();
  rmdir(dir.c_str());
}

TEST_F(midasloading, EmptyAndRandomFiles) {
  expectrefused({}, "empty.xm", MIDAS_BAD_MODULE, "empty");
  std::vector<uint8_t> noise(4096);
  uint32_t seed = 12345;
  for (auto& b : noise) b = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 24);
  expectrefused(noise, "noise.xm", MIDAS_BAD_MODULE, "signature");
  // Noise behind a good signature must still be refused, never crash.
  std::vector<uint8_t> signednoise = xmwriter::write({});
  signednoise.resize(60);
  signednoise.insert(signednoise.end(), noise.begin(), noise.end());
  EXPECT_EQ(loadbytes(signednoise, "signednoise.xm"), nullptr);
}

// Cut anywhere, a module is refused; libopenmpt alone would play the rest.
TEST_F(midasloading, TruncatedModules) {
  xmwriter::tsong song;
  song.instrument = true;
  const std::vector<uint8_t> whole = xmwriter::write(song);
  struct tcut {
    size_t at;
    const char* fault;
  } cuts[] = {
      {40, "inside the XM header"},      // inside the fixed header
      {200, "inside the XM header"},     // inside the order table
      {336, "before pattern 0"},         // the end of the header
      {340, "before pattern 0"},         // inside pattern 0's header
      {345, "before pattern 1"},         // between the patterns
      {356, "before instrument 1"},      // after the last pattern
      {400, "sample headers of instrument 1"},      // inside the instrument header
      {whole.size() - 1, "samples of instrument 1"},
  };
  for (const tcut& c : cuts) {
    SCOPED_TRACE(c.at);
    std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<long>(c.at));
    expectrefused(cut, "cut" + std::to_string(c.at) + ".xm", MIDAS_BAD_MODULE, c.fault);
  }
}

TEST_F(midasloading, ImpossibleCounts) {
  auto withfield = [](size_t offset, uint16_t value) {
    std::vector<uint8_t> bytes = xmwriter::write({});
    bytes[offset] = static_cast<uint8_t>(value);
    bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
    return bytes;
  };
  struct tcase {
    const char* name;
    size_t offset;
    uint16_t value;
    const char* fault;
  } cases[] = {
      {"noorders", 64, 0, "song length"},        {"manyorders", 64, 257, "song length"},
      {"nochannels", 68, 0, "channel count"},    {"manychannels", 68, 1000, "channel count"},
      {"manypatterns", 70, 300, "pattern count"}, {"manyinstruments", 72, 129, "instrument count"},
      {"norows", 336 + 5, 0, "rows"},            {"manyrows", 336 + 5, 257, "rows"},
      {"version", 58, 0x0102, "version"},
  };
  for (const tcase& c : cases) expectrefused(withfield(c.offset, c.value), std::string(c.name) + ".xm", MIDAS_BAD_MODULE, c.fault);
}

// Counts that point far past the end are caught by arithmetic that cannot wrap.
TEST(midasxmcheck, HugeSizesDoNotWrap) {
  xmwriter::tsong song;
  song.instrument = true;
  std::vector<uint8_t> bytes = xmwriter::write(song);
  std::string why;
  ASSERT_TRUE(midas::checkxm(bytes.data(), bytes.size(), why)) << why;
  const size_t instrument = 336 + 2 * 9;
  std::vector<uint8_t> huge = bytes;
  for (int i = 0; i < 4; ++i) huge[instrument + 263 + i] = 0xFF;  // sample length 4 GiB - 1
  EXPECT_FALSE(midas::checkxm(huge.data(), huge.size(), why));
  huge = bytes;
  for (int i = 0; i < 4; ++i) huge[336 + i] = 0xFF;  // pattern header length
  EXPECT_FALSE(midas::checkxm(huge.data(), huge.size(), why));
  huge = bytes;
  huge[instrument + 27] = 17;  // samples in the instrument
  EXPECT_FALSE(midas::checkxm(huge.data(), huge.size(), why));
  EXPECT_NE(why.find("17 samples"), std::string::npos) << why;
}

}  // namespace
