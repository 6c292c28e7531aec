// render: the command line.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "render/render.h"

namespace render {

const char* usage() {
  return "usage: morvanta-render [options]\n"
         "       morvanta-render --check-music FILE\n"
         "Renders the show offline: no window, no sound device, a virtual clock.\n"
         "The renderer stops with exit code 1 when the module goes back to its start\n"
         "(or stops) before the show has ended, as the show would then never end.\n"
         "\n"
         "  --data DIR       folder with morvanta.dat and morvanta.xm (default: .)\n"
         "  --seed N         every Randomize uses N instead of the clock\n"
         "  --rows F         synthetic music timing: F frames per row, 64 rows per position\n"
         "  --frames N       stop after N presented frames\n"
         "  --dump FILE      one record per frame: \"MVF1\", index, width, height, pixels, palette\n"
         "  --png DIR        frames as RGB PNG files (with --every K: every K-th frame)\n"
         "  --every K        see --png (default 1)\n"
         "  --sheet FILE     a contact sheet PNG: one labelled frame from the middle of each scene\n"
         "  --video FILE     the show as a Y4M video, 640x480 at 60 fps\n"
         "  --wav FILE       the music as rendered, 48 kHz 16-bit stereo\n"
         "  --mp4 FILE       video and music muxed by ffmpeg\n"
         "  --scaled         present through the 640x480 scaled display\n"
         "  --bench          time start-up and every scene; write nothing\n"
         "  --plain          every hot loop in its plain reading: the same bytes, slower\n"
         "  --check-music FILE\n"
         "                   list the order position each scene starts at and whether\n"
         "                   the module FILE reaches it; exit code 0 when it reaches all\n"
         "  --help           this text\n";
}

namespace {

bool number(const char* text, uint64_t max, uint64_t& value) {
  if (text == nullptr || *text < '0' || *text > '9') return false;
  errno = 0;
  char* end = nullptr;
  const unsigned long long v = std::strtoull(text, &end, 10);
  if (errno != 0 || *end != '\0' || v > max) return false;
  value = v;
  return true;
}

}  // namespace

bool parseoptions(int argc, char** argv, toptions& o, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
    auto needvalue = [&]() {
      if (next == nullptr) {
        error = arg + " needs a value";
        return false;
      }
      ++i;
      return true;
    };
    auto needpath = [&](std::string& into) {
      if (!needvalue()) return false;
      if (*next == '\0') {
        error = arg + " needs a non-empty path";
        return false;
      }
      into = next;
      return true;
    };
    auto neednumber = [&](uint64_t min, uint64_t max, uint64_t& into) {
      if (!needvalue()) return false;
      if (!number(next, max, into) || into < min) {
        error = arg + " needs a whole number from " + std::to_string(min) + " to " + std::to_string(max) +
                ", not '" + next + "'";
        return false;
      }
      return true;
    };
    uint64_t v = 0;
    if (arg == "--help" || arg == "-h") {
      o.help = true;
    } else if (arg == "--data") {
      if (!needpath(o.datadir)) return false;
    } else if (arg == "--seed") {
      if (!neednumber(0, UINT32_MAX, v)) return false;
      o.seed = static_cast<uint32_t>(v);
    } else if (arg == "--rows") {
      if (!neednumber(1, 1000000, v)) return false;
      o.rows = static_cast<uint32_t>(v);
    } else if (arg == "--frames") {
      if (!neednumber(1, UINT32_MAX, v)) return false;
      o.frames = v;
    } else if (arg == "--every") {
      if (!neednumber(1, UINT32_MAX, v)) return false;
      o.every = static_cast<uint32_t>(v);
    } else if (arg == "--dump") {
      if (!needpath(o.dump)) return false;
    } else if (arg == "--png") {
      if (!needpath(o.pngdir)) return false;
    } else if (arg == "--sheet") {
      if (!needpath(o.sheet)) return false;
    } else if (arg == "--video") {
      if (!needpath(o.video)) return false;
    } else if (arg == "--wav") {
      if (!needpath(o.wav)) return false;
    } else if (arg == "--mp4") {
      if (!needpath(o.mp4)) return false;
    } else if (arg == "--check-music") {
      if (!needpath(o.checkmusic)) return false;
    } else if (arg == "--bench") {
      o.bench = true;
    } else if (arg == "--plain") {
      o.plain = true;
    } else if (arg == "--scaled") {
      o.scaled = true;
    } else {
      error = "unknown argument '" + arg + "'";
      return false;
    }
  }
  if (!o.checkmusic.empty() && argc != 3) {
    error = "--check-music FILE takes no other options";
    return false;
  }
  const bool writes = !o.dump.empty() || !o.pngdir.empty() || !o.sheet.empty() || !o.video.empty() ||
                      !o.wav.empty() || !o.mp4.empty();
  if (o.bench && writes) {
    error = "--bench writes nothing: leave out the output options";
    return false;
  }
  if (o.rows && (!o.wav.empty() || !o.mp4.empty())) {
    error = "--rows renders no music: --wav and --mp4 need the module's own timing";
    return false;
  }
  return true;
}

}  // namespace render
