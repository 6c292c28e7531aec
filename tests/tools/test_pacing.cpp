// Frame pacing on a virtual clock: deadlines from the start and the count,
// rounded half to even, and a late frame restarting the schedule.
#include <gtest/gtest.h>

#include <vector>

#include "tools/pacing.h"
#include "tools/seam.h"

namespace {

uint32_t now = 0;
std::vector<uint32_t> delays;

uint32_t faketicks() { return now; }
void fakedelay(uint32_t ms) {
  delays.push_back(ms);
  now += ms;
}

class Pacing : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = seam::current;
    seam::current.getticks = faketicks;
    seam::current.delay = fakedelay;
    now = 0;
    delays.clear();
    tools::frameinit();
  }
  void TearDown() override { seam::current = saved; }
  seam::tseam saved{};
};

TEST_F(Pacing, DeadlinesFollowTheStartAndTheCount) {
  EXPECT_FLOAT_EQ(tools::frametime, 16.666666030883789f);
  std::vector<uint32_t> due;
  for (int i = 0; i < 60; ++i) {
    tools::framewait();
    due.push_back(now);
  }
  EXPECT_EQ(due[0], 17u);
  EXPECT_EQ(due[1], 33u);
  EXPECT_EQ(due[2], 50u);  // 49.999998 rounds to 50
  EXPECT_EQ(due[59], 1000u);
}

TEST_F(Pacing, AFrameExactlyOnItsDeadlineWaitsZero) {
  now = 17;
  tools::framewait();
  ASSERT_EQ(delays.size(), 1u);
  EXPECT_EQ(delays[0], 0u);
  EXPECT_EQ(tools::framecount, 1u);
}

TEST_F(Pacing, ALateFrameRestartsTheSchedule) {
  now = 18;  // frame 1 was due at 17
  tools::framewait();
  EXPECT_TRUE(delays.empty());
  EXPECT_EQ(tools::framecount, 0u);
  EXPECT_EQ(tools::framestart, 18u);
  tools::framewait();  // one period after the restart
  EXPECT_EQ(now, 18u + 17u);
}

TEST_F(Pacing, ALongSetUpMakesOneLateFrameNotABurst) {
  tools::framewait();
  now += 500;  // a scene set-up
  tools::framewait();
  EXPECT_EQ(tools::framecount, 0u);
  const uint32_t restart = now;
  for (int i = 0; i < 3; ++i) tools::framewait();
  EXPECT_EQ(now, restart + 50u);  // paced again, no frames without delay
  EXPECT_EQ(delays.size(), 4u);
}

}  // namespace
