// midastest: shared set-up for the music library's tests.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "midas/midas.h"
#include "midas/midasoffline.h"
#include "midas/xmwriter.h"

// Every test leaves the library closed, whatever state it reached.
class midaslibrary : public ::testing::Test {
 protected:
  void TearDown() override { MIDASclose(); }

  // Startup, init and background play; the mode is chosen before.
  static void start() {
    ASSERT_TRUE(MIDASstartup());
    ASSERT_TRUE(MIDASinit());
    ASSERT_TRUE(MIDASstartBackgroundPlay(0));
  }

  static MIDASmodule load(const xmwriter::tsong& song, const std::string& name = "song.xm") {
    return loadbytes(xmwriter::write(song), name);
  }

  // The library keeps the module in memory, so the file goes right away.
  static MIDASmodule loadbytes(const std::vector<uint8_t>& bytes, const std::string& name) {
    const std::string path = xmwriter::save(bytes, name);
    MIDASmodule m = MIDASloadModule(path.c_str());
    std::remove(path.c_str());
    return m;
  }

  static MIDASplayStatus status(MIDASmodulePlayHandle handle) {
    MIDASplayStatus s{};
    EXPECT_TRUE(MIDASgetPlayStatus(handle, &s)) << MIDASgetErrorMessage(MIDASgetLastError());
    return s;
  }

  // Position, pattern, row and loop count, to compare in one go.
  static std::array<uint32_t, 4> place(MIDASmodulePlayHandle handle) {
    const MIDASplayStatus s = status(handle);
    EXPECT_EQ(s.syncInfo, 0u);
    return {s.position, s.pattern, s.row, s.songLoopCount};
  }

  static std::string lastmessage() { return MIDASgetErrorMessage(MIDASgetLastError()); }
};
