// render: the seam's offline side and the run.
#include "render/render.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "midas/midasoffline.h"
#include "myio/myio.h"
#include "program/program.h"
#include "program/timeline.h"
#include "render/bench.h"
#include "render/musicwatch.h"
#include "render/outputs.h"
#include "render/videosize.h"
#include "runtime/runtime.h"
#include "tools/seam.h"

namespace render {

namespace {

namespace fs = std::filesystem;

// ---- state of the run ------------------------------------------------------------

toptions options;
uint64_t virtualms = 0;    // the virtual clock
uint64_t presented = 0;    // frames presented so far
bool finished = false;     // shutdown reached and every output closed

std::FILE* dumpfile = nullptr;
std::FILE* videofile = nullptr;  // the Y4M file, or ffmpeg's input pipe for --mp4
bool videopipe = false;
twav wav, mp4wav;
std::string mp4video, mp4audio;  // ffmpeg's intermediate files
bool progress = false;
std::chrono::steady_clock::time_point started;
tmusicwatch musicwatch;

// Outputs are written under temporary names and renamed when the show has
// ended and every one is complete (see myio); PNG frames are renamed one by
// one, and a failed run removes those it wrote.
myio::toutput dumpout, videoout, wavout, sheetout;
std::vector<std::string> madefolders;  // made for --png, deepest first
uint64_t pngframes = 0;                // PNG frames written so far

std::string framefile(uint64_t index) {
  char name[32];
  std::snprintf(name, sizeof name, "frame%06llu.png", static_cast<unsigned long long>(index));
  return (fs::path(options.pngdir) / name).string();
}

// Removes a file only when it is a regular one: a path may name a device.
bool removeregular(const std::string& path) {
  struct stat st {};
  return !path.empty() && lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && std::remove(path.c_str()) == 0;
}

// A run that fails leaves nothing of its own behind: the temporaries, the
// PNG frames it wrote and the folder it made for them, ffmpeg's files.
void discardoutputs() {
  if (dumpfile) std::fclose(dumpfile);
  if (videofile) videopipe ? pclose(videofile) : std::fclose(videofile);
  if (wav.file) std::fclose(wav.file);
  if (mp4wav.file) std::fclose(mp4wav.file);
  dumpfile = videofile = wav.file = mp4wav.file = nullptr;
  bool removed = false;
  for (myio::toutput* o : {&dumpout, &videoout, &wavout, &sheetout}) {
    removed = removed || (!o->direct && !o->path.empty());
    myio::dropoutput(*o);
  }
  for (uint64_t k = 0; k < pngframes; ++k) removed = removeregular(framefile(k * options.every)) || removed;
  pngframes = 0;
  myio::removefolders(madefolders);
  if (!mp4video.empty()) {
    // The --mp4 target was created empty at the start, ffmpeg may have begun it.
    for (const std::string& f : {mp4video, mp4audio, options.mp4}) removed = removeregular(f) || removed;
  }
  if (removed) std::fprintf(stderr, "morvanta-render: the unfinished outputs are removed\n");
}

[[noreturn]] void fail(const std::string& message) {
  std::fprintf(stderr, "morvanta-render: %s\n", message.c_str());
  discardoutputs();
  std::fflush(stdout);
  std::_Exit(1);
}

std::string cannotwrite(const std::string& path) { return "cannot write " + path + ": " + std::strerror(errno); }

// ---- the virtual clock -------------------------------------------------------------

uint32_t virtualticks() { return static_cast<uint32_t>(virtualms); }

void virtualdelay(uint32_t ms) {
  virtualms += ms;
  if (!options.rows) midasoffline::advanceto(virtualms);
}

// ---- music samples -------------------------------------------------------------------

void musicsink(const int16_t* frames, size_t count, void*) {
  if (wav.file && !appendwav(wav, frames, count)) fail(cannotwrite(options.wav));
  if (mp4wav.file && !appendwav(mp4wav, frames, count)) fail("cannot write " + mp4audio);
}

// ---- frames ---------------------------------------------------------------------------

void showprogress() {
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  const MIDASplayStatus& s = program::playstatus;
  const double done = std::min(100.0, (s.position * 64.0 + s.row) * 100.0 / (25 * 64));
  std::fprintf(stderr, "\rscene %2d/15  frame %6llu  %5.1f%%  %6.0f fps ", program::currentscene,
               static_cast<unsigned long long>(presented), done, seconds > 0 ? presented / seconds : 0.0);
}

void framesink(const uint8_t* pixels, uint16_t width, uint16_t height, const tarnpal::tpalentry* palette) {
  const tframe frame{pixels, width, height, palette};
  const uint64_t index = presented++;
  if (options.rows) midasoffline::framepresented();
  if (options.bench) benchframe(program::currentscene);
  if (dumpfile && !writedumprecord(dumpfile, static_cast<uint32_t>(index), frame)) fail(cannotwrite(options.dump));
  if (!options.pngdir.empty() && index % options.every == 0) {
    const std::string file = framefile(index);
    myio::toutput out;
    std::string error;
    if (!myio::startoutput(file, out, error)) fail("cannot write " + file + ": " + error);
    if (!writeframepng(out.path, frame, error)) {
      myio::dropoutput(out);
      fail(file + ": " + error);
    }
    if (!myio::finishoutput(out, error)) fail("cannot write " + file + ": " + error);
    ++pngframes;
  }
  if (videofile && !writey4mframe(videofile, frame)) fail(cannotwrite(options.video.empty() ? "the video" : options.video));
  if (!options.sheet.empty()) sheetframe(program::currentscene, frame);
  if (progress && index % 30 == 0) showprogress();
  if (options.frames && presented >= *options.frames) program::shutdown();
  // The synthetic row clock reaches every position; a module may not.
  if (!options.rows) {
    const tmusicfate fate = watchmusic(musicwatch, program::playstatus);
    if (fate != tmusicfate::playing)
      fail(stucksentence(fate, musicwatch, program::currentscene) + " " + moduleneeds +
           "; --check-music FILE lists what a module reaches.");
  }
}

// ---- start and finish ---------------------------------------------------------------------

void milestone(const char* line) {
  if (options.bench) benchmilestone(line);
}

// A path as one shell word, whatever quotes or spaces it holds.
std::string shellword(const std::string& path) {
  std::string q = "'";
  for (char c : path) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

bool runffmpeg(const std::string& args) {
  const std::string command = "ffmpeg -hide_banner -loglevel error -y " + args;
  return std::system(command.c_str()) == 0;
}

void finish() {
  // Every output lasts exactly as long as the frames presented.
  const uint64_t samples = presented * (midasoffline::samplerate / 60);
  bool ok = true;
  if (dumpfile && std::fclose(dumpfile) != 0) {
    dumpfile = nullptr;
    fail(cannotwrite(options.dump));  // what the buffer held did not fit
  }
  if (videofile) ok = (videopipe ? pclose(videofile) == 0 : std::fclose(videofile) == 0) && ok;
  if (wav.file) ok = closewav(wav, samples) && ok;
  if (mp4wav.file) ok = closewav(mp4wav, samples) && ok;
  dumpfile = videofile = nullptr;
  if (!ok) fail("an output could not be written completely");
  if (!options.mp4.empty()) {
    if (!runffmpeg("-i " + shellword(mp4video) + " -i " + shellword(mp4audio) + " -c:v copy -c:a aac -b:a 192k -shortest " +
                   shellword(options.mp4)))
      fail("ffmpeg could not mux " + options.mp4);
    fs::remove(mp4video);
    fs::remove(mp4audio);
  }
  if (!options.sheet.empty()) {
    const char* names[15];
    for (int i = 0; i < 15; ++i) names[i] = program::scenetable[i]->name;
    std::string error;
    if (!writesheet(sheetout.path, names, error)) fail(options.sheet + ": " + error);
  }
  for (myio::toutput* o : {&dumpout, &videoout, &wavout, &sheetout}) {
    std::string error;
    if (!myio::finishoutput(*o, error)) fail("cannot rename into " + o->target + ": " + error);
  }
  if (progress) std::fputc('\n', stderr);
  if (options.bench) benchreport(virtualms);
  finished = true;
}

// exit() without finish: the show stopped on a music-library error.
void checkfinished() {
  if (finished) return;
  std::fflush(stdout);
  fail("the show stopped before its end; see the lines above");
}

// A fatal start-up or mode-switch error: its lines are printed already.
void halted() {
  discardoutputs();
  std::fflush(stderr);
}

std::string absolute(const std::string& path) { return path.empty() ? path : fs::absolute(path).string(); }

std::FILE* create(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) fail("cannot write " + path);
  return f;
}

// Starts the output for path: the name it is written under until the end.
void startoutput(const std::string& path, myio::toutput& out) {
  std::string error;
  if (!myio::startoutput(path, out, error)) fail("cannot write " + path + ": " + error);
}

// A whole show's Y4M is gigabytes: say how large before writing it.
void announcevideo() {
  const auto show = showframes((fs::path(options.datadir) / "morvanta.xm").string(), options.rows,
                               program::scenetable[14]->end.position);
  const bool cut = options.frames && (!show || *options.frames < *show);
  if (!cut && !show) {
    std::fprintf(stderr, "morvanta-render: the Y4M video takes %llu bytes a frame, %s a second of show\n",
                 static_cast<unsigned long long>(y4mframebytes), sizetext(60 * y4mframebytes).c_str());
    return;
  }
  const uint64_t frames = cut ? *options.frames : *show;
  const uint64_t bytes = y4mbytes(frames);
  std::fprintf(stderr, "morvanta-render: the Y4M video takes %s%s (%llu bytes, %llu frame%s)%s\n", cut ? "" : "about ",
               sizetext(bytes).c_str(), static_cast<unsigned long long>(bytes), static_cast<unsigned long long>(frames),
               frames == 1 ? "" : "s", cut || options.rows ? "" : "; --mp4 writes a small MP4 instead, with ffmpeg");
}

void openoutputs() {
  if (!options.dump.empty()) {
    startoutput(options.dump, dumpout);
    dumpfile = create(dumpout.path);
    static char buffer[1 << 20];
    std::setvbuf(dumpfile, buffer, _IOFBF, sizeof buffer);
  }
  if (!options.pngdir.empty() && !myio::makefolders(options.pngdir, madefolders))
    fail("cannot make the folder " + options.pngdir);
  if (!options.sheet.empty()) startoutput(options.sheet, sheetout);  // written at the end
  if (!options.video.empty()) {
    startoutput(options.video, videoout);
    videofile = create(videoout.path);
    announcevideo();
    writey4mheader(videofile);
  }
  if (!options.wav.empty()) {
    startoutput(options.wav, wavout);
    if (!openwav(wav, wavout.path)) fail(cannotwrite(options.wav));
  }
  if (!options.mp4.empty()) {
    if (std::system("ffmpeg -version >/dev/null 2>&1") != 0)
      fail("--mp4 needs ffmpeg, which is not installed (apt-get install ffmpeg); --video and --wav write the "
           "same show without it");
    std::fclose(create(options.mp4));
    mp4video = options.mp4 + ".video.mp4";
    mp4audio = options.mp4 + ".audio.wav";
    if (!openwav(mp4wav, mp4audio)) fail("cannot write " + mp4audio);
    if (!options.video.empty()) fail("--mp4 and --video cannot be combined: render the Y4M separately");
    // The stream says what it holds: limited range, the BT.601 matrix of the
    // conversion, and the sRGB primaries and transfer of the frames' colours,
    // so players show what the PNG frames show.
    const std::string command = "ffmpeg -hide_banner -loglevel error -y -f yuv4mpegpipe -i - -c:v libx264 "
                                "-preset medium -crf 18 -pix_fmt yuv420p -color_range tv -colorspace smpte170m "
                                "-color_primaries bt709 -color_trc iec61966-2-1 " + shellword(mp4video);
    videofile = popen(command.c_str(), "w");
    if (videofile == nullptr) fail("cannot start ffmpeg");
    videopipe = true;
    writey4mheader(videofile);
  }
}

}  // namespace

void run(const toptions& given) {
  options = given;
  // Paths are taken from where the renderer was started, before it moves
  // into the data folder.
  for (std::string* p : {&options.dump, &options.pngdir, &options.sheet, &options.video, &options.wav, &options.mp4})
    *p = absolute(*p);
  for (const char* file : {"morvanta.dat", "morvanta.xm"}) {
    const fs::path path = fs::path(options.datadir) / file;
    if (!myio::fileexists(path.string()))
      fail("cannot read " + path.string() + " (--data names the folder that holds the data files)");
  }
  openoutputs();
  if (chdir(options.datadir.c_str()) != 0) fail("cannot enter " + options.datadir);

  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  if (options.seed) runtime::fixedseed = options.seed;
  runtime::plainpaths = options.plain;
  if (options.rows)
    midasoffline::usesyntheticrows(*options.rows);
  else
    midasoffline::uselockstep(musicsink, nullptr);

  seam::current.getticks = virtualticks;
  seam::current.delay = virtualdelay;
  seam::current.framesink = framesink;
  seam::current.forcescaled = options.scaled;
  seam::current.milestone = milestone;
  seam::current.finish = finish;
  seam::current.halt = halted;
  std::atexit(checkfinished);

  progress = isatty(2) && !options.bench;
  started = std::chrono::steady_clock::now();
  if (options.bench) benchstart();
  char name[] = "morvanta-render";
  char* argv[] = {name, nullptr};
  program::startup(1, argv);
}

}  // namespace render
