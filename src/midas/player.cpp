// player: one playing module, shared between the program's thread and the
// thread that renders it, without locks around rendering.
#include "midas/player.h"

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <cstring>

namespace midas {

namespace {

constexpr uint64_t framemask = (uint64_t{1} << 48) - 1;

uint64_t pack(const twhere& w) {
  return (w.order & 0xFFFFu) | (uint64_t{w.pattern & 0xFFFFu} << 16) | (uint64_t{w.row & 0xFFFFu} << 32);
}

bool same(const twhere& a, const twhere& b) {
  return a.order == b.order && a.pattern == b.pattern && a.row == b.row && a.loops == b.loops;
}

}  // namespace

// ---- tstatusring --------------------------------------------------------------

void tstatusring::publish(uint64_t frame, const twhere& where) {
  const uint64_t index = count_.load(std::memory_order_relaxed);
  if (index > 0 && same(where, last_)) return;  // the entry in force already says it
  tslot& s = slot_[index % slots];
  const uint32_t seq = s.seq.load(std::memory_order_relaxed);
  // Seqlock without fences: the fields are stored with release after the odd
  // sequence, so a reader that loads one of them (acquire) also sees that.
  s.seq.store(seq + 1, std::memory_order_relaxed);
  s.frame.store(frame, std::memory_order_release);
  s.place.store(pack(where), std::memory_order_release);
  s.loops.store(where.loops, std::memory_order_release);
  s.seq.store(seq + 2, std::memory_order_release);
  count_.store(index + 1, std::memory_order_release);
  last_ = where;
}

bool tstatusring::read(uint64_t index, uint64_t& frame, twhere& where) const {
  const tslot& s = slot_[index % slots];
  // The slot's n-th write (from 1) leaves its sequence at 2n.
  const uint32_t expected = static_cast<uint32_t>(2 * (index / slots + 1));
  const uint32_t before = s.seq.load(std::memory_order_acquire);
  if (before != expected) return false;  // overwritten, or being written
  frame = s.frame.load(std::memory_order_acquire);
  const uint64_t place = s.place.load(std::memory_order_acquire);
  where.loops = s.loops.load(std::memory_order_acquire);
  if (s.seq.load(std::memory_order_relaxed) != before) return false;
  where.order = static_cast<uint32_t>(place & 0xFFFF);
  where.pattern = static_cast<uint32_t>((place >> 16) & 0xFFFF);
  where.row = static_cast<uint32_t>((place >> 32) & 0xFFFF);
  return true;
}

bool tstatusring::lookup(uint64_t frame, twhere& where) const {
  const uint64_t count = count_.load(std::memory_order_acquire);
  bool found = false;
  for (uint64_t i = count; i > 0 && i + slots > count; --i) {
    uint64_t key = 0;
    twhere w;
    if (!read(i - 1, key, w)) break;  // the writer lapped us: keep the oldest we saw
    where = w;
    found = true;
    if (key <= frame) break;
  }
  return found;
}

// ---- tclock -------------------------------------------------------------------

void tclock::publish(int64_t ns, int64_t reference, int64_t limit) {
  const uint32_t seq = seq_.load(std::memory_order_relaxed);
  seq_.store(seq + 1, std::memory_order_relaxed);
  ns_.store(ns, std::memory_order_release);
  reference_.store(reference, std::memory_order_release);
  limit_.store(limit, std::memory_order_release);
  seq_.store(seq + 2, std::memory_order_release);
}

bool tclock::heard(int64_t ns, uint32_t rate, int64_t& frame) const {
  for (;;) {
    const uint32_t before = seq_.load(std::memory_order_acquire);
    if (before == 0) return false;
    if (before & 1) continue;
    const int64_t at = ns_.load(std::memory_order_acquire);
    const int64_t reference = reference_.load(std::memory_order_acquire);
    const int64_t limit = limit_.load(std::memory_order_acquire);
    if (seq_.load(std::memory_order_relaxed) != before) continue;
    // Split the product so that hours of nanoseconds times the rate fit.
    const int64_t elapsed = ns - at;
    const int64_t played = elapsed / 1000000000 * rate + elapsed % 1000000000 * rate / 1000000000;
    frame = std::max<int64_t>(0, std::min(reference + played, limit));
    return true;
  }
}

// ---- tplay --------------------------------------------------------------------

tplay::tplay(openmpt::module* module, const std::vector<uint32_t>& orderpatterns, uint32_t rate, bool looping)
    : module_(module), orderpatterns_(orderpatterns), rate_(rate), looping_(looping) {}

uint32_t tplay::patternat(uint32_t order) const {
  return order < orderpatterns_.size() ? orderpatterns_[order] : 0;
}

twhere tplay::modulewhere() const {
  twhere w;
  w.order = static_cast<uint32_t>(std::max(0, module_->get_current_order()));
  w.pattern = static_cast<uint32_t>(std::max(0, module_->get_current_pattern()));
  w.row = static_cast<uint32_t>(std::max(0, module_->get_current_row()));
  w.loops = looping_ ? static_cast<uint32_t>(loopbudget - module_->get_repeat_count()) : 0;
  return w;
}

void tplay::render(int16_t* out, uint32_t frames, uint64_t first) {
  for (uint32_t done = 0; done < frames;) {
    const uint32_t n = std::min(block, frames - done);
    const uint64_t frame = first + done;
    int16_t* at = out + 2 * static_cast<size_t>(done);
    size_t got = 0;
    try {
      const uint64_t request = jumprequest_.load(std::memory_order_acquire);
      const uint32_t generation = static_cast<uint32_t>(request >> 32);
      if (generation != renderedgeneration_) {
        renderedgeneration_ = generation;
        const uint32_t order = static_cast<uint32_t>(request);
        module_->set_position_order_row(static_cast<int32_t>(order), 0);
        twhere w = modulewhere();
        w.order = order;
        w.pattern = patternat(order);
        w.row = 0;
        ring_.publish(frame, w);
        jumpdone_.store((uint64_t{generation & 0xFFFF} << 48) | (frame & framemask), std::memory_order_release);
      }
      got = module_->read_interleaved_stereo(static_cast<int32_t>(rate_), n, at);
      ring_.publish(frame + n - 1, modulewhere());
    } catch (...) {
      got = 0;  // a module that fails to render plays silence
    }
    if (got < n) std::memset(at + 2 * got, 0, (n - got) * 2 * sizeof(int16_t));
    done += n;
  }
}

void tplay::requestjump(uint32_t order) {
  const uint32_t generation = static_cast<uint32_t>(requested_ >> 32) + 1;
  requested_ = (uint64_t{generation} << 32) | order;
  jumprequest_.store(requested_, std::memory_order_release);
}

twhere tplay::status(uint64_t heard) {
  const uint32_t generation = static_cast<uint32_t>(requested_ >> 32);
  const uint32_t order = static_cast<uint32_t>(requested_);
  const uint64_t done = jumpdone_.load(std::memory_order_acquire);
  twhere w;
  const bool applied = (done >> 48) == (generation & 0xFFFF) && heard >= (done & framemask);
  if (!applied || !ring_.lookup(heard, w)) {
    // What plays before the jump is still in the output; the caller already
    // asked for the new place, so that is what it gets.
    w.order = order;
    w.pattern = patternat(order);
    w.row = 0;
    w.loops = last_.loops;
  }
  last_ = w;
  return w;
}

}  // namespace midas
