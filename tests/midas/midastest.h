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

// A call that must fail and leave the given error code.
#define EXPECT_REFUSED(call, code) \
  do { EXPECT_FALSE(call) << #call; EXPECT_EQ(MIDASgetLastError(), (code)) << #call; } while (0)

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

  static MIDASmodule load(const xmwriter::tsong& song = {}, const std::string& name = "song.xm") {
    return loadbytes(xmwriter::write(song), name);
  }

  // The library keeps the module in memory, so the file goes right away.
  static MIDASmodule loadbytes(const std::vector<uint8_t>& bytes, const std::string& name) {
    const std::string path = xmwriter::save(bytes, name);
    MIDASmodule m = MIDASloadModule(path.c_str());
    std::remove(path.c_str());
    return m;
  }

  // The sound set-up reading the answers; what it asked goes to asked.
  static bool configure(const std::string& answers, std::string* asked = nullptr) {
    std::FILE* in = std::tmpfile();
    std::FILE* out = std::tmpfile();
    std::fputs(answers.c_str(), in);
    std::rewind(in);
    const bool ok = midas::configure(in, out);
    std::rewind(out);
    for (int c; asked && (c = std::fgetc(out)) != EOF;) *asked += static_cast<char>(c);
    std::fclose(in);
    std::fclose(out);
    return ok;
  }

  static MIDASplayStatus status(MIDASmodulePlayHandle handle) {
    MIDASplayStatus s{};
    EXPECT_TRUE(MIDASgetPlayStatus(handle, &s)) << lastmessage();
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
