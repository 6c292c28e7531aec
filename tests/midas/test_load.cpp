// Module loading: every broken file gives a null module and a message that
// names the file and the fault.
#include <sys/stat.h>

#include "midas/midastest.h"

namespace {

class midasloading : public midaslibrary {
 protected:
  void SetUp() override {
    midasoffline::uselockstep(nullptr, nullptr);
    start();
  }

  static void expectrefused(const std::string& path, int code, const std::string& fault) {
    EXPECT_EQ(MIDASloadModule(path.c_str()), nullptr) << path;
    EXPECT_EQ(MIDASgetLastError(), code) << path;
    EXPECT_NE(lastmessage().find(path), std::string::npos) << lastmessage();
    EXPECT_NE(lastmessage().find(fault), std::string::npos) << lastmessage();
  }
};

TEST_F(midasloading, MissingOrUnreadableFiles) {
  expectrefused(xmwriter::tempname("absent.xm"), MIDAS_FILE_NOT_FOUND, "does not exist");
  EXPECT_REFUSED(MIDASloadModule(nullptr), MIDAS_BAD_ARGUMENT);
  const std::string dir = xmwriter::tempname("folder.xm");
  ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
  expectrefused(dir, MIDAS_FILE_READ, "");
  rmdir(dir.c_str());
}

// Empty, noise, cut anywhere (libopenmpt alone would play the rest), or
// with counts no module can have, including ones whose sizes would wrap.
TEST_F(midasloading, BrokenModulesAreRefused) {
  std::vector<uint8_t> noise(4096);
  uint32_t seed = 12345;
  for (auto& b : noise) b = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 24);
  const std::vector<uint8_t> plain = xmwriter::write({});
  const std::vector<uint8_t> whole = xmwriter::write({.instrument = true});
  ASSERT_NE(loadbytes(whole, "whole.xm"), nullptr) << lastmessage();
  const size_t instrument = 336 + 2 * 9;
  auto cut = [&](size_t at) { return std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<long>(at)); };
  auto with = [](std::vector<uint8_t> bytes, size_t at, uint32_t value, size_t width) {
    for (size_t i = 0; i < width; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
    return bytes;
  };
  struct tcase {
    std::vector<uint8_t> bytes;
    const char* fault;
  } cases[] = {
      {{}, "empty"},
      {noise, "signature"},
      {cut(40), "inside the XM header"},  // inside the fixed header
      {cut(200), "inside the XM header"},  // inside the order table
      {cut(336), "before pattern 0"},
      {cut(340), "before pattern 0"},  // inside pattern 0's header
      {cut(345), "before pattern 1"},
      {cut(356), "before instrument 1"},
      {cut(400), "sample headers of instrument 1"},
      {cut(whole.size() - 1), "samples of instrument 1"},
      {with(plain, 64, 0, 2), "song length"},
      {with(plain, 64, 257, 2), "song length"},
      {with(plain, 68, 0, 2), "channel count"},
      {with(plain, 68, 1000, 2), "channel count"},
      {with(plain, 70, 300, 2), "pattern count"},
      {with(plain, 72, 129, 2), "instrument count"},
      {with(plain, 336 + 5, 0, 2), "rows"},
      {with(plain, 336 + 5, 257, 2), "rows"},
      {with(plain, 58, 0x0102, 2), "version"},
      {with(whole, 336, ~0u, 4), "inside pattern 0"},  // header length 4 GiB - 1
      {with(whole, instrument + 263, ~0u, 4), "samples of instrument 1"},  // sample length 4 GiB - 1
      {with(whole, instrument + 27, 17, 2), "17 samples"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const std::string path = xmwriter::save(cases[i].bytes, "broken" + std::to_string(i) + ".xm");
    expectrefused(path, MIDAS_BAD_MODULE, cases[i].fault);
    std::remove(path.c_str());
  }
  // Noise behind a good signature must still be refused, never crash.
  std::vector<uint8_t> signednoise(plain.begin(), plain.begin() + 60);
  signednoise.insert(signednoise.end(), noise.begin(), noise.end());
  EXPECT_EQ(loadbytes(signednoise, "signednoise.xm"), nullptr);
}

}  // namespace
