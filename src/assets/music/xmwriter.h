// xmwriter: writes FastTracker 2 extended modules (XM, version 0x0104).
//
// A module is plain records: the song (order list, speed, tempo), patterns
// of note cells, and instruments holding their samples and volume envelope.
// writexm checks every limit of the format first and returns no bytes at all
// for a module that breaks one (checkxm says which), so a caller can never
// produce a file whose counts and contents disagree.
// Depends on: nothing.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace assets {

// ---- limits of the format ----------------------------------------------

constexpr uint32_t xmmaxorders = 256;
constexpr uint32_t xmmaxpatterns = 256;
constexpr uint32_t xmmaxrows = 256;
constexpr uint32_t xmmaxchannels = 32;
constexpr uint32_t xmmaxinstruments = 128;
constexpr uint32_t xmmaxsamples = 16;  // per instrument
constexpr uint32_t xmmaxenvpoints = 12;
constexpr uint8_t xmkeyoff = 97;  // note value that releases the note
constexpr uint8_t xmnotes = 96;   // playable notes 1..96, C-0 is 1

// Effect-column commands (the digit a tracker shows) and, for the extended
// command E, the high nibble of its parameter.
enum txmeffect : uint8_t {
  xmarpeggio = 0x0,    // 0xy: the note, +x, +y semitones, tick by tick
  xmportaup = 0x1,     // 1xx
  xmportadown = 0x2,   // 2xx
  xmtoneporta = 0x3,   // 3xx: glide to the cell's note, not retriggered
  xmvibrato = 0x4,     // 4xy: speed x, depth y
  xmpanning = 0x8,     // 8xx: 0 left .. 255 right
  xmvolumeslide = 0xa, // Axy: up x or down y per tick
  xmextended = 0xe,
};
constexpr uint8_t xmretrig = 0x90;       // E9x: strike again every x ticks
constexpr uint8_t xmfinevolup = 0xa0;    // EAx: volume +x once per row
constexpr uint8_t xmfinevoldown = 0xb0;  // EBx
constexpr uint8_t xmnotecut = 0xc0;      // ECx: silence after x ticks
constexpr uint8_t xmnotedelay = 0xd0;    // EDx: start the note x ticks late

// ---- records -------------------------------------------------------------

// One cell. note 0 = none, 1..96 = C-0..B-7, 97 = key off; instrument 0 =
// none; volume is the volume-column byte (0 = none, 0x10..0x50 = set 0..64).
struct txmcell {
  uint8_t note = 0;
  uint8_t instrument = 0;
  uint8_t volume = 0;
  uint8_t effect = 0;
  uint8_t param = 0;
  bool operator==(const txmcell&) const = default;
};

// rows x channels cells, row by row; channels must match the module's.
struct txmpattern {
  uint16_t rows = 64;
  uint16_t channels = 8;
  std::vector<txmcell> cells;
};

struct txmenvpoint {
  uint16_t tick = 0;
  uint8_t value = 0;  // 0..64
};

struct txmenvelope {
  bool on = false;
  std::vector<txmenvpoint> points;  // ticks strictly increasing
  bool sustain = false;
  uint8_t sustainpoint = 0;
  bool loop = false;
  uint8_t loopstart = 0;
  uint8_t loopend = 0;
};

enum class txmloop : uint8_t { none = 0, forward = 1, pingpong = 2 };

// Sample data is kept as 16-bit values; eightbit stores each rounded to
// the nearest 8-bit value (v / 256, clamped to -128..127).
// Loop points are in sample frames, not bytes.
struct txmsample {
  std::string name;  // at most 22 characters are stored
  std::vector<int16_t> data;
  bool eightbit = false;
  txmloop looptype = txmloop::none;
  uint32_t loopstart = 0;
  uint32_t looplength = 0;
  uint8_t volume = 64;  // 0..64
  int8_t finetune = 0;
  uint8_t panning = 128;
  int8_t relativenote = 0;
};

struct txminstrument {
  std::string name;  // at most 22 characters are stored
  std::vector<txmsample> samples;
  std::array<uint8_t, xmnotes> notemap{};  // sample index for each note
  txmenvelope volumeenv;
  uint16_t fadeout = 0;  // 0..0xfff
  uint8_t vibratotype = 0;
  uint8_t vibratosweep = 0;
  uint8_t vibratodepth = 0;
  uint8_t vibratorate = 0;
};

struct txmmodule {
  std::string name;                  // at most 20 characters
  std::string tracker = "Morvanta";  // at most 20 characters
  uint16_t channels = 8;
  uint16_t restart = 0;  // order position the song loops to
  bool linearfrequencies = true;
  uint16_t speed = 6;  // ticks per row
  uint16_t bpm = 125;
  std::vector<uint8_t> orders;  // pattern numbers
  std::vector<txmpattern> patterns;
  std::vector<txminstrument> instruments;
};

// ---- operations ----------------------------------------------------------

// The first limit the module breaks, or "" when it can be written.
std::string checkxm(const txmmodule& module);

// The file's bytes; empty when checkxm reports a problem.
std::vector<uint8_t> writexm(const txmmodule& module);

// One pattern's packed cell data (without its header).
std::vector<uint8_t> packpattern(const txmpattern& pattern);

// Sample data as the file stores it: differences of successive values,
// little-endian for 16 bits, high bytes only for 8 bits.
std::vector<uint8_t> deltacode(const std::vector<int16_t>& data, bool eightbit);

// Relative note and finetune that make a sample recorded at rate hz play at
// its own pitch on C-4 (note 49).
struct txmtuning {
  int8_t relativenote = 0;
  int8_t finetune = 0;
};
txmtuning tuningforrate(double hz);

// An instrument that plays one sample on every note.
txminstrument oneinstrument(const std::string& name, txmsample sample);

// An empty pattern of rows x channels cells, and one cell of a pattern
// (limits: channel < channels, row < rows).
txmpattern emptypattern(uint16_t rows, uint16_t channels);
txmcell& cell(txmpattern& pattern, uint16_t channel, uint16_t row);
const txmcell& cell(const txmpattern& pattern, uint16_t channel, uint16_t row);

}  // namespace assets
