// The XM writer, read back by libopenmpt: what was written is what a player
// sees, and broken modules are refused instead of written half-valid.
#include <gtest/gtest.h>

#include <cmath>
#include <libopenmpt/libopenmpt.hpp>

#include "assets/music/xmwriter.h"

namespace {

using namespace assets;

// A tone of whole periods (period frames each), full scale times level.
std::vector<int16_t> tone(size_t frames, size_t period, double level) {
  std::vector<int16_t> v(frames);
  for (size_t i = 0; i < frames; i++)
    v[i] = static_cast<int16_t>(std::lround(level * 32767.0 * std::sin(2.0 * M_PI * double(i) / double(period))));
  return v;
}

txminstrument instrument(const std::string& name, txmsample s) {
  txminstrument ins;
  ins.name = name;
  ins.samples.push_back(std::move(s));
  return ins;
}

// One instrument playing C-4 on channel 0 at row 0 of a single pattern.
txmmodule onenote(txmsample s) {
  txmmodule m;
  m.channels = 2;
  m.orders = {0};
  m.patterns.push_back(emptypattern(64, 2));
  cell(m.patterns[0], 0, 0) = txmcell{49, 1, 0, 0, 0};
  m.instruments.push_back(instrument("tone", std::move(s)));
  return m;
}

std::unique_ptr<openmpt::module> load(const std::vector<uint8_t>& bytes) {
  return std::make_unique<openmpt::module>(bytes);
}

// RMS of the left channel over [from, to) seconds of a render at 48 kHz.
double rmsbetween(openmpt::module& mod, double from, double to) {
  constexpr int32_t rate = 48000;
  const size_t first = static_cast<size_t>(from * rate), last = static_cast<size_t>(to * rate);
  std::vector<float> left(last), right(last);
  size_t got = 0;
  while (got < last) {
    const size_t n = mod.read(rate, last - got, left.data() + got, right.data() + got);
    if (n == 0) break;
    got += n;
  }
  double sum = 0;
  for (size_t i = first; i < last; i++) sum += double(left[i]) * left[i];
  return std::sqrt(sum / double(last - first));
}

}  // namespace

TEST(xmwriter, songstructurereadsbackaswritten) {
  txmmodule m;
  m.name = "structure check";
  m.channels = 4;
  m.speed = 5;
  m.bpm = 140;
  m.restart = 1;
  m.patterns.push_back(emptypattern(64, 4));
  m.patterns.push_back(emptypattern(32, 4));
  m.patterns.push_back(emptypattern(16, 4));
  m.orders = {0, 2, 1, 2, 0};
  txmsample a;
  a.name = "loud sample";
  a.data = tone(256, 32, 0.5);
  a.eightbit = true;
  txmsample b;
  b.name = "soft sample";
  b.data = tone(512, 64, 0.25);
  b.looptype = txmloop::forward;
  b.looplength = 512;
  m.instruments.push_back(instrument("first instrument", a));
  m.instruments.push_back(instrument("second instrument", b));
  // A cell with every field set and cells with only some fields.
  cell(m.patterns[1], 3, 31) = txmcell{49, 2, 0x30, 0x0c, 0x20};
  cell(m.patterns[2], 1, 5) = txmcell{xmkeyoff, 0, 0, 0, 0};
  cell(m.patterns[2], 2, 7) = txmcell{0, 0, 0, 0x0f, 0x03};

  ASSERT_EQ(checkxm(m), "");
  auto mod = load(writexm(m));
  EXPECT_EQ(mod->get_metadata("title"), "structure check");
  EXPECT_EQ(mod->get_metadata("type"), "xm");
  EXPECT_EQ(mod->get_num_channels(), 4);
  ASSERT_EQ(mod->get_num_orders(), 5);
  for (int32_t i = 0; i < 5; i++) EXPECT_EQ(mod->get_order_pattern(i), m.orders[i]) << "order " << i;
  ASSERT_EQ(mod->get_num_patterns(), 3);
  EXPECT_EQ(mod->get_pattern_num_rows(0), 64);
  EXPECT_EQ(mod->get_pattern_num_rows(1), 32);
  EXPECT_EQ(mod->get_pattern_num_rows(2), 16);
  EXPECT_EQ(mod->get_current_speed(), 5);
  EXPECT_EQ(mod->get_current_tempo(), 140);
  EXPECT_EQ(mod->get_instrument_names(), (std::vector<std::string>{"first instrument", "second instrument"}));
  EXPECT_EQ(mod->get_sample_names(), (std::vector<std::string>{"loud sample", "soft sample"}));

  using M = openmpt::module;
  // libopenmpt names notes one octave above FastTracker's C-4.
  EXPECT_EQ(mod->format_pattern_row_channel_command(1, 31, 3, M::command_note), "C-5");
  EXPECT_EQ(mod->get_pattern_row_channel_command(1, 31, 3, M::command_instrument), 2);
  EXPECT_EQ(mod->get_pattern_row_channel_command(1, 31, 3, M::command_volume), 0x20);
  EXPECT_EQ(mod->get_pattern_row_channel_command(1, 31, 3, M::command_parameter), 0x20);
  EXPECT_EQ(mod->format_pattern_row_channel_command(2, 5, 1, M::command_note), "===");
  EXPECT_EQ(mod->get_pattern_row_channel_command(2, 7, 2, M::command_parameter), 0x03);
  EXPECT_EQ(mod->get_pattern_row_channel_command(2, 7, 1, M::command_note), 0);
  EXPECT_EQ(mod->get_pattern_row_channel_command(0, 0, 0, M::command_instrument), 0);
}

TEST(xmwriter, namesarecuttofieldwidth) {
  txmsample s;
  s.name = "a sample name far longer than twenty-two";
  s.data = tone(64, 64, 0.5);
  txmmodule m = onenote(s);
  m.name = "a module name longer than twenty";
  m.instruments[0].name = "an instrument name that goes on";
  auto mod = load(writexm(m));
  EXPECT_EQ(mod->get_metadata("title"), "a module name longer");
  EXPECT_EQ(mod->get_instrument_names()[0], "an instrument name tha");
  EXPECT_EQ(mod->get_sample_names()[0], "a sample name far long");
}

// Both sample widths must decode to the same tone: a wrong delta coding
// turns the tone into noise or silence and changes the level.
TEST(xmwriter, eightandsixteenbitsamplessoundalike) {
  txmsample s;
  s.data = tone(2048, 64, 0.8);
  txmsample s8 = s;
  s8.eightbit = true;
  auto m16 = load(writexm(onenote(s)));
  auto m8 = load(writexm(onenote(s8)));
  const double r16 = rmsbetween(*m16, 0.005, 0.2);
  const double r8 = rmsbetween(*m8, 0.005, 0.2);
  EXPECT_GT(r16, 0.01);
  EXPECT_NEAR(r8 / r16, 1.0, 0.03);
}

// The loop covers only the tone after a stretch of silence; loop points
// counted in the wrong unit would loop over part of the silence.
TEST(xmwriter, looppointsholdforbothwidths) {
  for (bool eightbit : {false, true}) {
    txmsample s;
    s.eightbit = eightbit;
    s.data.assign(4000, 0);
    const std::vector<int16_t> t = tone(2000, 50, 0.8);
    s.data.insert(s.data.end(), t.begin(), t.end());
    s.looptype = txmloop::forward;
    s.loopstart = 4000;
    s.looplength = 2000;
    // At C-4 8363 frames play per second: the data is used up in 0.72 s.
    auto mod = load(writexm(onenote(s)));
    const double early = rmsbetween(*mod, 0.55, 0.7);
    auto again = load(writexm(onenote(s)));
    const double late = rmsbetween(*again, 2.0, 3.0);
    EXPECT_GT(early, 0.01) << "eightbit " << eightbit;
    EXPECT_NEAR(late / early, 1.0, 0.05) << "eightbit " << eightbit;
  }
}

TEST(xmwriter, unloopedsampleendswithitsdata) {
  txmsample s;
  s.data = tone(8363 / 10, 50, 0.8);  // a tenth of a second at C-4
  auto mod = load(writexm(onenote(s)));
  EXPECT_GT(rmsbetween(*mod, 0.01, 0.09), 0.01);
  auto again = load(writexm(onenote(s)));
  EXPECT_LT(rmsbetween(*again, 0.2, 0.5), 1e-4);
}

// A reader sums the stored differences with wrap-around: 16-bit data comes
// back exactly, 8-bit data as the nearest 8-bit value.
TEST(xmwriter, deltacodingreadsbackthroughrunningsums) {
  const std::vector<int16_t> data = {0, 1, -1, 32767, -32768, 12345, -12345, 127, 128, -129, -32768, 32767};
  const std::vector<uint8_t> wide = deltacode(data, false);
  ASSERT_EQ(wide.size(), data.size() * 2);
  uint16_t sum = 0;
  for (size_t i = 0; i < data.size(); i++) {
    sum = static_cast<uint16_t>(sum + (wide[2 * i] | (wide[2 * i + 1] << 8)));
    EXPECT_EQ(static_cast<int16_t>(sum), data[i]) << i;
  }
  const std::vector<int8_t> narrowed = {0, 0, 0, 127, -128, 48, -48, 0, 1, -1, -128, 127};
  const std::vector<uint8_t> narrow = deltacode(data, true);
  ASSERT_EQ(narrow.size(), data.size());
  uint8_t sum8 = 0;
  for (size_t i = 0; i < data.size(); i++) {
    sum8 = static_cast<uint8_t>(sum8 + narrow[i]);
    EXPECT_EQ(static_cast<int8_t>(sum8), narrowed[i]) << i;
  }
}

TEST(xmwriter, tuningplacessamplerateonc4) {
  const auto t0 = tuningforrate(8363.0);
  EXPECT_EQ(t0.relativenote, 0);
  EXPECT_EQ(t0.finetune, 0);
  const auto up = tuningforrate(8363.0 * 2.0);
  EXPECT_EQ(up.relativenote, 12);
  EXPECT_EQ(up.finetune, 0);
  // Below 8363 Hz the note goes down and the finetune stays positive.
  const auto down = tuningforrate(8363.0 * std::pow(2.0, -1.5 / 12.0));
  EXPECT_EQ(down.relativenote, -2);
  EXPECT_EQ(down.finetune, 64);
  const auto cd = tuningforrate(44100.0);  // 28.79 semitones
  EXPECT_EQ(cd.relativenote, 28);
  EXPECT_NEAR(cd.finetune, 101, 1);
}

TEST(xmwriter, brokenmodulesarerefused) {
  txmsample s;
  s.data = tone(64, 64, 0.5);
  const txmmodule good = onenote(s);
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
  add("envelope going back in time", [](txmmodule& m) {
    m.instruments[0].volumeenv = txmenvelope{true, {{0, 64}, {10, 32}, {10, 0}}, false, 0, false, 0, 0};
  });
  add("envelope sustain past the points", [](txmmodule& m) {
    m.instruments[0].volumeenv = txmenvelope{true, {{0, 64}, {10, 0}}, true, 2, false, 0, 0};
  });
  add("envelope value above 64", [](txmmodule& m) {
    m.instruments[0].volumeenv = txmenvelope{true, {{0, 65}}, false, 0, false, 0, 0};
  });
  add("volume above 64", [](txmmodule& m) { m.instruments[0].samples[0].volume = 65; });
  for (const auto& [what, m] : bad) {
    EXPECT_NE(checkxm(m), "") << what;
    EXPECT_TRUE(writexm(m).empty()) << what;
  }
}
