// The show's own song, as the assets unit writes it, through the library:
// the timeline needs every order position at 7.68 s steps, 25 included.
#include "assets/assets.h"
#include "midas/midastest.h"

namespace {

struct tloudness {
  uint64_t nonzero = 0;
};

void listen(const int16_t* frames, size_t count, void* user) {
  for (size_t i = 0; i < 2 * count; ++i) static_cast<tloudness*>(user)->nonzero += frames[i] != 0;
}

TEST_F(midaslibrary, ShowSongPlaysEveryPositionInTime) {
  tloudness heard;
  midasoffline::uselockstep(listen, &heard);
  start();
  MIDASmodule m = loadbytes(assets::composemodule(), "morvanta.xm");
  ASSERT_NE(m, nullptr) << lastmessage();
  const MIDASmodulePlayHandle h = MIDASplayModule(m, true);
  for (uint32_t p = 0; p < 26; ++p) {
    midasoffline::advanceto(7680 * p + 60);
    const MIDASplayStatus s = status(h);
    EXPECT_EQ(s.position, p);
    EXPECT_EQ(s.row, 0u);
  }
  midasoffline::advanceto(7680 * 26 + 60);
  EXPECT_EQ(status(h).position, 0u);  // and round again
  EXPECT_EQ(status(h).songLoopCount, 1u);
  EXPECT_GT(heard.nonzero, 0u);
}

}  // namespace
