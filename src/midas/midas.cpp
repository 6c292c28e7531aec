// midas: the MIDAS calls over libopenmpt and SDL audio.
//
// Live, the module renders on SDL's audio thread (the callback) or, when no
// sound device opens, on a thread of ours clocked by real time that renders
// the same way and drops the samples. The status is that of the frame being
// heard: the output publishes which frame is heard when (see queuedframes)
// and the play's ring maps frames to positions. Offline, nothing runs on
// its own: lockstep renders when asked to, the synthetic clock counts frames.
// Depends on: libopenmpt, SDL audio, player, xmcheck.
#include "midas/midas.h"

#include <SDL/SDL.h>

#include <libopenmpt/libopenmpt.hpp>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <new>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "midas/midasoffline.h"
#include "midas/player.h"
#include "midas/xmcheck.h"

// A loaded module: what MIDASmodule points to.
struct midasmodulerec {
  std::unique_ptr<openmpt::module> module;
  std::vector<uint32_t> orderpatterns;  // pattern of each order, read at load
  std::string name;
};

namespace {

// ---- types -------------------------------------------------------------------

enum class tmode { live, lockstep, synthetic };

struct tconfig {
  bool sound = true;
  uint32_t rate = 48000;
  uint32_t bufferms = 10;
};

constexpr size_t maxmodulebytes = 64u << 20;  // far above any XM a tracker writes

// ---- globals (the program's thread, except where marked) -----------------------

struct tstate {
  bool started = false;
  bool initialised = false;
  bool background = false;
  tmode mode = tmode::live;
  tconfig config;

  // offline choices
  midasoffline::tsamplesink sink = nullptr;
  void* sinkuser = nullptr;
  uint32_t framesperrow = 1;

  // output
  bool audioinit = false;  // SDL's audio subsystem is ours to quit
  bool device = false;     // an SDL audio device is open
  std::string nodevice;    // why the device asked for did not open
  uint32_t rate = 48000;
  uint32_t bufferframes = 512;

  // modules and the one play
  std::vector<std::unique_ptr<midasmodulerec>> modules;
  std::unique_ptr<midas::tplay> play;
  midasmodulerec* playing = nullptr;
  MIDASmodulePlayHandle handle = 0;
  MIDASmodulePlayHandle nexthandle = 1;
  int64_t lastheard = 0;

  // lockstep: frames given to the sink and the next frame, rendered ahead so
  // that the module's place is that of the frame at the virtual time.
  uint64_t virtualframes = 0;
  int16_t held[2] = {0, 0};

  // synthetic: the last position set and frames presented since
  uint32_t syntheticposition = 0;
  uint64_t presented = 0;

  int lasterror = MIDAS_OK;
  std::string lastmessage;
};

tstate state;

// Shared with the rendering thread (SDL's callback or ours).
std::atomic<midas::tplay*> attached{nullptr};
std::atomic<bool> rendering{false};
std::atomic<uint64_t> outputframes{0};  // frames produced since MIDASinit
int64_t queued = 0;  // frames ahead of the ear as the callback runs; set before SDL's thread starts
midas::tclock outputclock;
std::thread silentthread;
std::atomic<bool> silentstop{false};

// ---- errors ------------------------------------------------------------------

const char* genericmessage(int code) {
  switch (code) {
    case MIDAS_OK: return "no error";
    case MIDAS_NOT_STARTED: return "the music library has not been started (MIDASstartup)";
    case MIDAS_NOT_INITIALISED: return "the music library has not been initialised (MIDASinit)";
    case MIDAS_ALREADY_INITIALISED: return "the music library is already initialised";
    case MIDAS_BACKGROUND_STATE: return "background play is not in the state this call needs";
    case MIDAS_CONFIG: return "the sound set-up was not completed";
    case MIDAS_FILE_NOT_FOUND: return "module file not found";
    case MIDAS_FILE_READ: return "module file could not be read";
    case MIDAS_BAD_MODULE: return "not a valid XM module";
    case MIDAS_BAD_MODULE_HANDLE: return "no such module";
    case MIDAS_BAD_PLAY_HANDLE: return "no such play handle";
    case MIDAS_MODULE_PLAYING: return "a module is playing";
    case MIDAS_BAD_POSITION: return "no such order position";
    case MIDAS_BAD_ARGUMENT: return "invalid argument";
    case MIDAS_OUT_OF_MEMORY: return "out of memory";
    default: return "unknown error code";
  }
}

bool fail(int code, const std::string& message) {
  state.lasterror = code;
  state.lastmessage = message;
  return false;
}

bool fail(int code) { return fail(code, genericmessage(code)); }

bool needstarted() { return state.started || fail(MIDAS_NOT_STARTED); }

bool needinitialised() {
  if (!needstarted()) return false;
  return state.initialised || fail(MIDAS_NOT_INITIALISED);
}

MIDASmodulePlayHandle nohandle(int code, const std::string& message) {
  fail(code, message);
  return 0;
}

bool validplay(MIDASmodulePlayHandle handle) {
  if (!needinitialised()) return false;
  if (handle == 0 || !state.play || handle != state.handle)
    return fail(MIDAS_BAD_PLAY_HANDLE, "no module plays with handle " + std::to_string(handle));
  return true;
}

midasmodulerec* findmodule(MIDASmodule module) {
  for (auto& m : state.modules)
    if (m.get() == module) return m.get();  // compared, never dereferenced, until found
  return nullptr;
}

// ---- output ------------------------------------------------------------------

int64_t nowns() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Renders the attached play, or silence. The flag tells the program's
// thread that the play may be in use (see detach).
void produce(int16_t* out, uint32_t frames, uint64_t first) {
  rendering.store(true);
  midas::tplay* play = attached.load();
  if (play)
    play->render(out, frames, first);
  else
    std::memset(out, 0, frames * 2 * sizeof(int16_t));
  rendering.store(false);
}

// SDL's audio thread. The buffer it fills is heard after the frames still
// queued in the driver: frame first - queued is heard as the callback runs.
void audiocallback(void*, Uint8* stream, int length) {
  const int64_t now = nowns();
  const uint32_t frames = static_cast<uint32_t>(length) / 4;
  const uint64_t first = outputframes.load(std::memory_order_relaxed);
  produce(reinterpret_cast<int16_t*>(stream), frames, first);
  outputframes.store(first + frames, std::memory_order_relaxed);
  const int64_t reference = static_cast<int64_t>(first) - queued;
  outputclock.publish(now, reference, reference + frames);
}

// The silent output: frame `start` is heard at the thread's start and the
// rest follow in real time; each block is rendered one block ahead.
void silentloop(uint32_t rate, uint32_t blockframes) {
  std::vector<int16_t> scratch(2 * static_cast<size_t>(blockframes));
  const auto t0 = std::chrono::steady_clock::now();
  const int64_t ns0 = nowns();
  const uint64_t start = outputframes.load(std::memory_order_relaxed);
  while (!silentstop.load()) {
    const uint64_t first = outputframes.load(std::memory_order_relaxed);
    produce(scratch.data(), blockframes, first);
    outputframes.store(first + blockframes, std::memory_order_relaxed);
    outputclock.publish(ns0, static_cast<int64_t>(start), static_cast<int64_t>(first + blockframes));
    // The next block is due when this one starts to sound; whole seconds
    // apart, so that days of frames times 10^9 cannot overflow.
    const uint64_t due = first - start;
    std::this_thread::sleep_until(t0 + std::chrono::seconds(due / rate) + std::chrono::nanoseconds(due % rate * 1000000000 / rate));
  }
}

// How many frames a driver holds between the callback and the ear. SDL's
// dummy and disk drivers consume a buffer as soon as it is filled; a real
// device plays the buffer filled now after the one it is still playing and
// the one queued behind it.
int64_t queuedframes(const char* driver, uint32_t bufferframes) {
  if (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "disk") == 0) return 0;
  return 2 * static_cast<int64_t>(bufferframes);
}

// The buffer asked for: the power of two nearest to the chosen length. SDL
// 1.2 documents the sample count as a power of two; the SDL 2 based drop-in
// corrupts its heap on other counts and crashes when the device closes.
uint32_t bufferlength(uint32_t rate, uint32_t ms) {
  const uint32_t frames = std::max<uint32_t>(1, rate * ms / 1000);
  uint32_t p = 1;
  while (p * 2 <= frames) p *= 2;
  return frames - p < 2 * p - frames ? p : 2 * p;  // a tie takes the longer
}

void openoutput() {
  state.device = false;
  state.nodevice.clear();
  state.audioinit = false;
  if (!state.config.sound) return;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0) {
    state.nodevice = SDL_GetError();
    return;
  }
  state.audioinit = true;
  char driver[64] = "";
  SDL_AudioDriverName(driver, sizeof driver);
  queued = queuedframes(driver, state.bufferframes);
  SDL_AudioSpec want{};
  want.freq = static_cast<int>(state.rate);
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = static_cast<Uint16>(state.bufferframes);
  want.callback = audiocallback;
  // No obtained format: SDL converts to whatever the device takes, so the
  // callback always gets the rate and format asked for.
  if (SDL_OpenAudio(&want, nullptr) < 0) {
    state.nodevice = SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    state.audioinit = false;
    return;  // no device: play silently
  }
  state.device = true;
}

void startoutput() {
  if (state.device) {
    SDL_PauseAudio(0);
  } else {
    silentstop.store(false);
    silentthread = std::thread(silentloop, state.rate, state.bufferframes);
  }
}

void stopoutput() {
  if (state.device) {
    SDL_PauseAudio(1);
  } else if (silentthread.joinable()) {
    silentstop.store(true);
    silentthread.join();
  }
}

// Takes the play away from the rendering thread and waits until that thread
// is not inside it. Both sides use sequentially consistent operations, so
// either the renderer sees the null or we see its flag.
void detach() {
  attached.store(nullptr);
  while (rendering.load()) std::this_thread::sleep_for(std::chrono::microseconds(100));
}

// A program that ends without MIDASclose (a fatal error while the music
// plays) must not free the play under the rendering thread: static objects
// die in reverse order, so this runs before state's destructor. What the
// callback touches afterwards is plain atomics.
struct texitguard {
  ~texitguard() {
    detach();
    if (silentthread.joinable()) {
      silentstop.store(true);
      silentthread.join();
    }
  }
} exitguard;

int64_t heardframe() {
  int64_t frame = state.lastheard;
  if (outputclock.heard(nowns(), state.rate, frame)) frame = std::max(frame, state.lastheard);
  state.lastheard = frame;
  return frame;
}

// ---- lockstep ------------------------------------------------------------------

void renderheld() {
  state.play->render(state.held, 1, state.virtualframes);
}

// ---- module loading ---------------------------------------------------------------

bool readfile(const char* name, std::vector<uint8_t>& data) {
  const std::string quoted = std::string("\"") + name + "\"";
  // Only a regular file: a named pipe would wait for a writer at the open,
  // a device such as /dev/zero never ends.
  const int fd = ::open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    const int e = errno;
    if (e == ENOENT) return fail(MIDAS_FILE_NOT_FOUND, "module file " + quoted + " does not exist");
    return fail(MIDAS_FILE_READ, "cannot open module file " + quoted + ": " + std::strerror(e));
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return fail(MIDAS_FILE_READ, "cannot open module file " + quoted + ": not a regular file");
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* f = ::fdopen(fd, "rb");
  if (!f) {
    ::close(fd);
    return fail(MIDAS_FILE_READ, "cannot open module file " + quoted + ": " + std::strerror(errno));
  }
  uint8_t chunk[65536];
  bool ok = true;
  int e = 0;
  for (;;) {
    const size_t got = std::fread(chunk, 1, sizeof chunk, f);
    data.insert(data.end(), chunk, chunk + got);
    if (data.size() > maxmodulebytes) {
      std::fclose(f);
      return fail(MIDAS_BAD_MODULE, "module file " + quoted + " is larger than " + std::to_string(maxmodulebytes >> 20) + " MiB");
    }
    if (got < sizeof chunk) {
      if (std::ferror(f)) {
        ok = false;
        e = errno;
      }
      break;
    }
  }
  std::fclose(f);
  if (!ok) return fail(MIDAS_FILE_READ, "cannot read module file " + quoted + ": " + std::strerror(e));
  return true;
}

}  // namespace

// ---- calls -------------------------------------------------------------------

bool MIDASstartup() {
  if (state.initialised) return fail(MIDAS_ALREADY_INITIALISED);
  state.started = true;
  return true;
}

bool MIDASconfig() { return midas::configure(stdin, stdout); }

bool MIDASinit() {
  if (!needstarted()) return false;
  if (state.initialised) return fail(MIDAS_ALREADY_INITIALISED);
  state.lastheard = 0;
  outputframes.store(0);
  outputclock.publish(nowns(), 0, 0);
  if (state.mode == tmode::live) {
    state.rate = state.config.rate;
    state.bufferframes = bufferlength(state.rate, state.config.bufferms);
    openoutput();
  } else {
    state.rate = midasoffline::samplerate;
  }
  state.initialised = true;
  return true;
}

bool MIDASstartBackgroundPlay(uint32_t) {
  if (!needinitialised()) return false;
  if (state.background) return fail(MIDAS_BACKGROUND_STATE, "background play is already running");
  if (state.mode == tmode::live) startoutput();
  state.background = true;
  return true;
}

MIDASmodule MIDASloadModule(const char* filename) {
  if (!needinitialised()) return nullptr;
  if (!filename) {
    fail(MIDAS_BAD_ARGUMENT, "no module file name given");
    return nullptr;
  }
  const std::string quoted = std::string("\"") + filename + "\"";
  try {
    std::vector<uint8_t> data;
    if (!readfile(filename, data)) return nullptr;
    std::string why;
    if (!midas::checkxm(data.data(), data.size(), why)) {
      fail(MIDAS_BAD_MODULE, "module file " + quoted + " is not a valid XM module: " + why);
      return nullptr;
    }
    auto rec = std::make_unique<midasmodulerec>();
    std::ostringstream log;  // libopenmpt would otherwise talk on stderr
    try {
      rec->module = std::make_unique<openmpt::module>(data, log);
    } catch (const openmpt::exception& e) {
      fail(MIDAS_BAD_MODULE, "module file " + quoted + " could not be loaded: " + e.what());
      return nullptr;
    }
    if (rec->module->get_metadata("type") != "xm" || rec->module->get_num_orders() < 1) {
      fail(MIDAS_BAD_MODULE, "module file " + quoted + " is not a playable XM module");
      return nullptr;
    }
    for (int32_t i = 0; i < rec->module->get_num_orders(); ++i)
      rec->orderpatterns.push_back(static_cast<uint32_t>(std::max(0, rec->module->get_order_pattern(i))));
    rec->name = filename;
    state.modules.push_back(std::move(rec));
    return state.modules.back().get();
  } catch (const std::bad_alloc&) {
    fail(MIDAS_OUT_OF_MEMORY, "out of memory loading module file " + quoted);
    return nullptr;
  }
}

MIDASmodulePlayHandle MIDASplayModule(MIDASmodule module, bool loopsong) {
  if (!needinitialised()) return 0;
  midasmodulerec* rec = findmodule(module);
  if (!rec) return nohandle(MIDAS_BAD_MODULE_HANDLE, "no such module loaded");
  if (!state.background) return nohandle(MIDAS_BACKGROUND_STATE, "background play has not been started");
  if (state.play) return nohandle(MIDAS_MODULE_PLAYING, "a module is already playing (handle " + std::to_string(state.handle) + ")");
  try {
    rec->module->set_repeat_count(loopsong ? midas::tplay::loopbudget : 0);
    rec->module->set_position_order_row(0, 0);
    state.play = std::make_unique<midas::tplay>(rec->module.get(), rec->orderpatterns, state.rate, loopsong);
  } catch (...) {
    return nohandle(MIDAS_OUT_OF_MEMORY, "out of memory starting module \"" + rec->name + "\"");
  }
  state.play->requestjump(0);
  state.playing = rec;
  state.handle = state.nexthandle;
  state.nexthandle = state.nexthandle == UINT32_MAX ? 1 : state.nexthandle + 1;
  switch (state.mode) {
    case tmode::live: attached.store(state.play.get()); break;
    case tmode::lockstep:
      state.virtualframes = 0;
      renderheld();
      break;
    case tmode::synthetic:
      state.syntheticposition = 0;
      state.presented = 0;
      break;
  }
  return state.handle;
}

bool MIDASsetPosition(MIDASmodulePlayHandle handle, int position) {
  if (!validplay(handle)) return false;
  if (position < 0 || static_cast<size_t>(position) >= state.playing->orderpatterns.size())
    return fail(MIDAS_BAD_POSITION, "order position " + std::to_string(position) + " is outside the song (0.." +
                                        std::to_string(state.playing->orderpatterns.size() - 1) + ")");
  state.play->requestjump(static_cast<uint32_t>(position));
  switch (state.mode) {
    case tmode::live: break;  // the renderer picks it up before its next block
    case tmode::lockstep: renderheld(); break;  // the frame at the virtual time, from the new place
    case tmode::synthetic:
      state.syntheticposition = static_cast<uint32_t>(position);
      state.presented = 0;
      break;
  }
  return true;
}

bool MIDASgetPlayStatus(MIDASmodulePlayHandle handle, MIDASplayStatus* status) {
  if (!validplay(handle)) return false;
  if (!status) return fail(MIDAS_BAD_ARGUMENT, "no status record given");
  midas::twhere w;
  switch (state.mode) {
    case tmode::live: w = state.play->status(static_cast<uint64_t>(heardframe())); break;
    case tmode::lockstep: w = state.play->modulewhere(); break;
    case tmode::synthetic: {
      const uint64_t f = state.framesperrow;
      w.order = static_cast<uint32_t>(state.syntheticposition + state.presented / (64 * f));
      w.pattern = w.order;
      w.row = static_cast<uint32_t>(state.presented / f % 64);
      w.loops = 0;
      break;
    }
  }
  status->position = w.order;
  status->pattern = w.pattern;
  status->row = w.row;
  status->syncInfo = 0;
  status->songLoopCount = w.loops;
  return true;
}

bool MIDASstopModule(MIDASmodulePlayHandle handle) {
  if (!validplay(handle)) return false;
  if (state.mode == tmode::live) detach();
  state.play.reset();
  state.playing = nullptr;
  state.handle = 0;
  return true;
}

bool MIDASfreeModule(MIDASmodule module) {
  if (!needinitialised()) return false;
  midasmodulerec* rec = findmodule(module);
  if (!rec) return fail(MIDAS_BAD_MODULE_HANDLE, "no such module loaded");
  if (rec == state.playing)
    return fail(MIDAS_MODULE_PLAYING, "module \"" + rec->name + "\" is still playing; stop it first");
  std::erase_if(state.modules, [rec](const auto& m) { return m.get() == rec; });
  return true;
}

bool MIDASstopBackgroundPlay() {
  if (!needinitialised()) return false;
  if (!state.background) return fail(MIDAS_BACKGROUND_STATE, "background play is not running");
  if (state.mode == tmode::live) stopoutput();
  state.background = false;
  return true;
}

// Also the error exit's clean-up: from any state it stops, frees and closes
// everything, and leaves the library as it was before MIDASstartup.
bool MIDASclose() {
  if (!needstarted()) return false;
  if (state.play && state.mode == tmode::live) detach();
  state.play.reset();
  state.playing = nullptr;
  state.handle = 0;
  if (state.background && state.mode == tmode::live) stopoutput();
  if (state.device) SDL_CloseAudio();
  if (state.audioinit) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  state.modules.clear();
  const int lasterror = state.lasterror;
  const std::string lastmessage = state.lastmessage;
  state = tstate{};
  state.lasterror = lasterror;  // the error exit may still ask
  state.lastmessage = lastmessage;
  return true;
}

int MIDASgetLastError() { return state.lasterror; }

const char* MIDASgetErrorMessage(int errorcode) {
  if (errorcode == state.lasterror && !state.lastmessage.empty()) return state.lastmessage.c_str();
  return genericmessage(errorcode);
}

// ---- sound set-up ------------------------------------------------------------------

namespace midas {

namespace {

// One answer: a whole number within lo..hi, or the default for an empty
// line. False at end of input or for anything else.
bool ask(std::FILE* in, std::FILE* out, const char* question, uint32_t lo, uint32_t hi, uint32_t fallback, uint32_t& answer) {
  std::fprintf(out, "%s [%u]: ", question, fallback);
  std::fflush(out);
  char line[64];
  if (!std::fgets(line, sizeof line, in)) {
    std::fputc('\n', out);  // the prompt's line ends, so the next message has its own
    return fail(MIDAS_CONFIG, "sound set-up: no answer (end of input)");
  }
  std::string text(line);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
  size_t from = 0;
  while (from < text.size() && std::isspace(static_cast<unsigned char>(text[from]))) ++from;
  text = text.substr(from);
  // A terminal echoes what was typed with its line break; answers from a
  // file or pipe are echoed here, so the console reads the same.
  if (!isatty(fileno(in))) std::fprintf(out, "%s\n", text.c_str());
  const size_t length = std::strlen(line);
  if (length == sizeof line - 1 && line[length - 1] != '\n') return fail(MIDAS_CONFIG, "sound set-up: answer too long");
  if (text.empty()) {
    answer = fallback;
    return true;
  }
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9' || value > hi) return fail(MIDAS_CONFIG, "sound set-up: \"" + text + "\" is not a number from " + std::to_string(lo) + " to " + std::to_string(hi));
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  if (value < lo || value > hi)
    return fail(MIDAS_CONFIG, "sound set-up: " + text + " is not between " + std::to_string(lo) + " and " + std::to_string(hi));
  answer = static_cast<uint32_t>(value);
  return true;
}

}  // namespace

bool configure(std::FILE* in, std::FILE* out) {
  if (state.initialised) return fail(MIDAS_ALREADY_INITIALISED, "the sound set-up must come before MIDASinit");
  if (!in || !out) return fail(MIDAS_BAD_ARGUMENT);
  const tconfig defaults;
  tconfig chosen;
  uint32_t output = 0;
  std::fprintf(out, "Sound set-up\n");
  if (!ask(in, out, "Output: 1 = sound device, 2 = no sound", 1, 2, defaults.sound ? 1 : 2, output)) return false;
  chosen.sound = output == 1;
  if (!ask(in, out, "Mixing rate in Hz (8000 to 48000)", minrate, maxrate, defaults.rate, chosen.rate)) return false;
  if (!ask(in, out, "Buffer length in milliseconds (5 to 100)", minbufferms, maxbufferms, defaults.bufferms, chosen.bufferms)) return false;
  state.config = chosen;
  return true;
}

toutputinfo outputinfo() {
  toutputinfo info;
  if (!state.initialised) return info;
  info.device = state.device;
  info.wanted = state.mode == tmode::live && state.config.sound;
  info.nodevice = state.nodevice;
  info.rate = state.rate;
  info.bufferframes = state.bufferframes;
  info.queuedframes = state.device ? static_cast<uint32_t>(queued) : 0;
  return info;
}

}  // namespace midas

// ---- offline modes ------------------------------------------------------------------

namespace midasoffline {

void uselockstep(tsamplesink sink, void* user) {
  if (state.initialised) {
    fail(MIDAS_ALREADY_INITIALISED, "the offline mode must be chosen before MIDASinit");
    return;
  }
  state.mode = tmode::lockstep;
  state.sink = sink;
  state.sinkuser = user;
}

void advanceto(uint64_t ms) {
  if (state.mode != tmode::lockstep || !state.play) return;
  const uint64_t target = ms * (samplerate / 1000);
  if (target <= state.virtualframes) return;
  constexpr uint32_t chunk = 1024;
  static int16_t buffer[2 * chunk];
  bool first = true;
  while (state.virtualframes < target) {
    const uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(chunk, target - state.virtualframes));
    uint32_t k = 0;
    if (first) {  // the frame rendered ahead is the first one due
      buffer[0] = state.held[0];
      buffer[1] = state.held[1];
      k = 1;
      first = false;
    }
    if (n > k) state.play->render(buffer + 2 * k, n - k, state.virtualframes + k);
    if (state.sink) state.sink(buffer, n, state.sinkuser);
    state.virtualframes += n;
  }
  renderheld();
}

void usesyntheticrows(uint32_t framesperrow) {
  if (state.initialised) {
    fail(MIDAS_ALREADY_INITIALISED, "the offline mode must be chosen before MIDASinit");
    return;
  }
  state.mode = tmode::synthetic;
  state.framesperrow = std::max<uint32_t>(1, framesperrow);  // no row without a frame
}

void framepresented() { ++state.presented; }

}  // namespace midasoffline
