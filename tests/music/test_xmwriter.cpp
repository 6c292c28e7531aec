// The XM writer, read back by libopenmpt: what was written is what a player
// sees, and broken modules are refused instead of written half-valid.
#include <gtest/gtest.h>

#include <cmath>
#include <libopenmpt/libopenmpt.hpp>

#include "assets/music/xmwriter.h"

namespace {

using namespace assets;

constexpr int32_t rate = 48000;

// A tone of whole periods (period frames each), full scale times level.
std::vector<int16_t> tone(size_t frames, size_t period, double level) {
  std::vector<int16_t> v(frames);
  for (size_t i = 0; i < frames; i++)
    v[i] = static_cast<int16_t>(std::lround(level * 32767.0 * std::sin(2.0 * M_PI * double(i) / double(period))));
  return v;
}

txmsample sample(const std::string& name, std::vector<int16_t> data, txmloop loop = txmloop::none, uint32_t start = 0) {
  txmsample s;
  s.name = name;
  s.data = std::move(data);
  s.looptype = loop;
  s.loopstart = loop == txmloop::none ? 0 : start;
  s.looplength = loop == txmloop::none ? 0 : static_cast<uint32_t>(s.data.size()) - start;
  return s;
}

// One instrument playing C-4 on channel 0 at row 0 of a single pattern.
txmmodule onenote(txmsample s) {
  txmmodule m;
  m.channels = 2;
  m.orders = {0};
  m.patterns.push_back(emptypattern(64, 2));
  cell(m.patterns[0], 0, 0) = txmcell{49, 1, 0, 0, 0};
  m.instruments.push_back(oneinstrument("tone", std::move(s)));
  return m;
}

// The left channel of the module's first seconds, written and played back.
std::vector<float> render(const txmmodule& m, double seconds) {
  openmpt::module mod(writexm(m));
  std::vector<float> left(static_cast<size_t>(seconds * rate)), right(left.size());
  for (size_t got = 0, n = 1; got < left.size() && n > 0; got += n)
    n = mod.read(rate, left.size() - got, left.data() + got, right.data() + got);
  return left;
}

// RMS over [from, to) seconds.
double rms(const std::vector<float>& v, double from, double to) {
  const size_t first = static_cast<size_t>(from * rate), last = static_cast<size_t>(to * rate);
  double sum = 0;
  for (size_t i = first; i < last; i++) sum += double(v[i]) * v[i];
  return std::sqrt(sum / double(last - first));
}

}  // namespace

// Names longer than their fields are cut to 20 (module) and 22 characters.
TEST(xmwriter, songstructurereadsbackaswritten) {
  txmmodule m;
  m.name = "a module name longer than twenty";
  m.channels = 4;
  m.speed = 5;
  m.bpm = 140;
  m.restart = 1;
  m.patterns.push_back(emptypattern(64, 4));
  m.patterns.push_back(emptypattern(32, 4));
  m.patterns.push_back(emptypattern(16, 4));
  m.orders = {0, 2, 1, 2, 0};
  txmsample a = sample("a sample name far longer than twenty-two", tone(256, 32, 0.5));
  a.eightbit = true;
  const txmsample b = sample("soft sample", tone(512, 64, 0.25), txmloop::forward);
  m.instruments.push_back(oneinstrument("an instrument name that goes on", a));
  m.instruments.push_back(oneinstrument("second instrument", b));
  // A cell with every field set and cells with only some fields.
  cell(m.patterns[1], 3, 31) = txmcell{49, 2, 0x30, 0x0c, 0x20};
  cell(m.patterns[2], 1, 5) = txmcell{xmkeyoff, 0, 0, 0, 0};
  cell(m.patterns[2], 2, 7) = txmcell{0, 0, 0, 0x0f, 0x03};

  ASSERT_EQ(checkxm(m), "");
  openmpt::module mod(writexm(m));
  EXPECT_EQ(mod.get_metadata("title"), "a module name longer");
  EXPECT_EQ(mod.get_metadata("type"), "xm");
  EXPECT_EQ(mod.get_num_channels(), 4);
  ASSERT_EQ(mod.get_num_orders(), 5);
  for (int32_t i = 0; i < 5; i++) EXPECT_EQ(mod.get_order_pattern(i), m.orders[i]) << "order " << i;
  ASSERT_EQ(mod.get_num_patterns(), 3);
  EXPECT_EQ(mod.get_pattern_num_rows(0), 64);
  EXPECT_EQ(mod.get_pattern_num_rows(1), 32);
  EXPECT_EQ(mod.get_pattern_num_rows(2), 16);
  EXPECT_EQ(mod.get_current_speed(), 5);
  EXPECT_EQ(mod.get_current_tempo(), 140);
  EXPECT_EQ(mod.get_instrument_names(), (std::vector<std::string>{"an instrument name tha", "second instrument"}));
  EXPECT_EQ(mod.get_sample_names(), (std::vector<std::string>{"a sample name far long", "soft sample"}));

  using M = openmpt::module;
  // libopenmpt names notes one octave above FastTracker's C-4.
  EXPECT_EQ(mod.format_pattern_row_channel_command(1, 31, 3, M::command_note), "C-5");
  EXPECT_EQ(mod.get_pattern_row_channel_command(1, 31, 3, M::command_instrument), 2);
  EXPECT_EQ(mod.get_pattern_row_channel_command(1, 31, 3, M::command_volume), 0x20);
  EXPECT_EQ(mod.get_pattern_row_channel_command(1, 31, 3, M::command_parameter), 0x20);
  EXPECT_EQ(mod.format_pattern_row_channel_command(2, 5, 1, M::command_note), "===");
  EXPECT_EQ(mod.get_pattern_row_channel_command(2, 7, 2, M::command_parameter), 0x03);
  EXPECT_EQ(mod.get_pattern_row_channel_command(2, 7, 1, M::command_note), 0);
  EXPECT_EQ(mod.get_pattern_row_channel_command(0, 0, 0, M::command_instrument), 0);
}

// A tone after 4000 frames of silence, at C-4 used up in 0.72 s. Both widths
// must sound alike (a wrong delta coding gives noise or silence); a loop over
// just the tone must hold its level (loop points in the wrong unit would take
// in silence); without a loop the sound ends with the data.
TEST(xmwriter, samplesplaytheirdataandloops) {
  double reference = 0;
  for (txmloop loop : {txmloop::forward, txmloop::none}) {
    for (bool eightbit : {false, true}) {
      SCOPED_TRACE(testing::Message() << "loop " << int(loop) << " eightbit " << eightbit);
      std::vector<int16_t> data(4000, 0), t = tone(2000, 50, 0.8);
      data.insert(data.end(), t.begin(), t.end());
      txmsample s = sample("tone", data, loop, 4000);
      s.eightbit = eightbit;
      const std::vector<float> out = render(onenote(s), 3.0);
      const double early = rms(out, 0.55, 0.7), late = rms(out, 2.0, 3.0);
      if (reference == 0) reference = early;
      EXPECT_GT(early, 0.01);
      EXPECT_NEAR(early / reference, 1.0, 0.03);
      if (loop == txmloop::none) EXPECT_LT(late, 1e-4);
      else EXPECT_NEAR(late / early, 1.0, 0.05);
    }
  }
}

// A reader sums the stored differences with wrap-around: 16-bit data comes
// back exactly, 8-bit data as the nearest 8-bit value.
TEST(xmwriter, deltacodingreadsbackthroughrunningsums) {
  const std::vector<int16_t> data = {0, 1, -1, 32767, -32768, 12345, -12345, 127, 128, -129, -32768, 32767};
  const std::vector<int8_t> narrowed = {0, 0, 0, 127, -128, 48, -48, 0, 1, -1, -128, 127};
  const std::vector<uint8_t> wide = deltacode(data, false), narrow = deltacode(data, true);
  ASSERT_EQ(wide.size(), data.size() * 2);
  ASSERT_EQ(narrow.size(), data.size());
  uint16_t sum = 0;
  uint8_t sum8 = 0;
  for (size_t i = 0; i < data.size(); i++) {
    sum = static_cast<uint16_t>(sum + (wide[2 * i] | (wide[2 * i + 1] << 8)));
    sum8 = static_cast<uint8_t>(sum8 + narrow[i]);
    EXPECT_EQ(static_cast<int16_t>(sum), data[i]) << i;
    EXPECT_EQ(static_cast<int8_t>(sum8), narrowed[i]) << i;
  }
}

// Below 8363 Hz the note goes down and the finetune stays positive; 44.1 kHz
// is 28.79 semitones up.
TEST(xmwriter, tuningplacessamplerateonc4) {
  const struct {
    double hz;
    int note, finetune, tolerance;
  } cases[] = {{8363.0, 0, 0, 0}, {8363.0 * 2.0, 12, 0, 0}, {8363.0 * std::pow(2.0, -1.5 / 12.0), -2, 64, 0}, {44100.0, 28, 101, 1}};
  for (const auto& c : cases) {
    const txmtuning t = tuningforrate(c.hz);
    EXPECT_EQ(t.relativenote, c.note) << c.hz;
    EXPECT_NEAR(t.finetune, c.finetune, c.tolerance) << c.hz;
  }
}

TEST(xmwriter, brokenmodulesarerefused) {
  const txmmodule good = onenote(sample("tone", tone(64, 64, 0.5)));
  ASSERT_EQ(checkxm(good), "");
  ASSERT_FALSE(writexm(good).empty());

  std::vector<std::pair<const char*, txmmodule>> bad;
  auto add = [&](const char* what, auto change) {
    txmmodule m = good;
    change(m);
    bad.emplace_back(what, m);
  };
  add("order names a missing pattern", [](txmmodule& m) { m.orders = {0, 1}; });
  add("no orders", [](txmmodule& m) { m.orders.clear(); });
  add("restart past the end", [](txmmodule& m) { m.restart = 1; });
  add("pattern of the wrong width", [](txmmodule& m) { m.patterns[0] = emptypattern(64, 3); });
  add("cells missing", [](txmmodule& m) { m.patterns[0].cells.pop_back(); });
  add("no rows", [](txmmodule& m) { m.patterns[0] = emptypattern(0, 2); });
  add("missing instrument", [](txmmodule& m) { cell(m.patterns[0], 1, 1).instrument = 2; });
  add("note past key off", [](txmmodule& m) { cell(m.patterns[0], 1, 1).note = 98; });
  add("too many channels", [](txmmodule& m) { m.channels = 33; });
  add("speed 0", [](txmmodule& m) { m.speed = 0; });
  add("loop past the data", [](txmmodule& m) {
    auto& smp = m.instruments[0].samples[0];
    smp.looptype = txmloop::forward;
    smp.loopstart = 32;
    smp.looplength = 33;
  });
  add("empty loop", [](txmmodule& m) { m.instruments[0].samples[0].looptype = txmloop::pingpong; });
  add("note map past the samples", [](txmmodule& m) { m.instruments[0].notemap[40] = 1; });
  auto envelope = [&](const char* what, txmenvelope env) { add(what, [&](txmmodule& m) { m.instruments[0].volumeenv = env; }); };
  envelope("envelope going back in time", {true, {{0, 64}, {10, 32}, {10, 0}}, false, 0, false, 0, 0});
  envelope("envelope sustain past the points", {true, {{0, 64}, {10, 0}}, true, 2, false, 0, 0});
  envelope("envelope value above 64", {true, {{0, 65}}, false, 0, false, 0, 0});
  add("volume above 64", [](txmmodule& m) { m.instruments[0].samples[0].volume = 65; });
  for (const auto& [what, m] : bad) {
    EXPECT_NE(checkxm(m), "") << what;
    EXPECT_TRUE(writexm(m).empty()) << what;
  }
}
