// player: one playing module, shared between the program's thread and the
// thread that renders it, without locks around rendering.
//
// libopenmpt objects are not thread-safe, so while a play is attached to the
// output only the rendering thread touches its module. The two threads talk
// through atomics only:
//   - the program's thread asks for a jump (a generation and an order);
//   - the renderer applies it before its next block and says at which frame;
//   - after every block of 32 frames the renderer publishes where the music
//     is, keyed by the block's last frame, into a small ring (one seqlock
//     per slot); only changes take a slot, so the ring spans 512 rows;
//   - the output publishes its clock: which frame is heard when.
// The status query turns "now" into the frame being heard and looks that
// frame up in the ring.
// Depends on: libopenmpt.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

namespace openmpt {
class module;
}

namespace midas {

// Where the music is: order position, pattern, row and completed passes.
struct twhere {
  uint32_t order = 0;
  uint32_t pattern = 0;
  uint32_t row = 0;
  uint32_t loops = 0;
};

// Positions published by one writer, read by any thread. Holds the latest
// entries; a lookup of a frame older than all of them gets the oldest.
class tstatusring {
 public:
  static constexpr uint32_t slots = 512;

  void publish(uint64_t frame, const twhere& where);  // writer only
  // The entry in force at frame: the latest with key <= frame.
  bool lookup(uint64_t frame, twhere& where) const;

 private:
  struct tslot {
    std::atomic<uint32_t> seq{0};
    std::atomic<uint64_t> frame{0};
    std::atomic<uint64_t> place{0};  // order | pattern << 16 | row << 32
    std::atomic<uint32_t> loops{0};
  };
  bool read(uint64_t index, uint64_t& frame, twhere& where) const;

  tslot slot_[slots];
  std::atomic<uint64_t> count_{0};
  twhere last_;  // writer only: publish skips repeats
};

// The output's clock: frame `reference` is heard at `ns` (steady clock), and
// no frame past `limit` has been produced yet.
class tclock {
 public:
  void publish(int64_t ns, int64_t reference, int64_t limit);
  // The frame heard at ns, never negative; false before the first publish.
  bool heard(int64_t ns, uint32_t rate, int64_t& frame) const;

 private:
  std::atomic<uint32_t> seq_{0};
  std::atomic<int64_t> ns_{0};
  std::atomic<int64_t> reference_{0};
  std::atomic<int64_t> limit_{0};
};

// One MIDASplayModule: the module, its jump hand-over and its status ring.
class tplay {
 public:
  tplay(openmpt::module* module, const std::vector<uint32_t>& orderpatterns, uint32_t rate, bool looping);

  // ---- rendering side (the renderer owns the module while attached) ----
  // Renders frames of interleaved stereo, in blocks, from output frame
  // `first` on, applying a pending jump first.
  void render(int16_t* out, uint32_t frames, uint64_t first);

  // ---- program side ----
  void requestjump(uint32_t order);  // takes effect before the next block
  // The status at output frame `heard`: a requested jump shows at once and
  // stays until the frames after it are heard.
  twhere status(uint64_t heard);

  uint32_t patternat(uint32_t order) const;
  // The module's own place; only for whoever owns the module right now.
  twhere modulewhere() const;

  static constexpr uint32_t block = 32;  // frames between two status entries
  static constexpr int32_t loopbudget = 0x7FFFFFFF;  // libopenmpt counts it down per pass

 private:
  openmpt::module* module_;
  std::vector<uint32_t> orderpatterns_;
  uint32_t rate_;
  bool looping_;
  tstatusring ring_;
  std::atomic<uint64_t> jumprequest_{0};  // generation << 32 | order
  std::atomic<uint64_t> jumpdone_{0};     // generation << 48 | frame
  uint32_t renderedgeneration_ = 0;       // renderer only
  uint64_t requested_ = 0;                // program side only
  twhere last_;                           // program side only
};

}  // namespace midas
