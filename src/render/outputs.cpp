// outputs: frame records, PNG frames, Y4M video, WAV and the contact sheet.
#include "render/outputs.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "pngio/pngio.h"
#include "tarngr/tarngr.h"
#include "tools/text.h"

namespace render {

namespace {

void put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
void put32(uint8_t* p, uint32_t v) {
  put16(p, static_cast<uint16_t>(v));
  put16(p + 2, static_cast<uint16_t>(v >> 16));
}

uint8_t display[640 * 480];

void torgb(const tframe& f, std::vector<uint8_t>& rgb) {
  const size_t n = static_cast<size_t>(f.width) * f.height;
  rgb.resize(n * 3);
  for (size_t i = 0; i < n; ++i) {
    const tarnpal::tpalentry& e = f.palette[f.pixels[i]];
    rgb[3 * i] = level(e.red);
    rgb[3 * i + 1] = level(e.green);
    rgb[3 * i + 2] = level(e.blue);
  }
}

}  // namespace

const uint8_t* displaypixels(const tframe& frame) {
  if (frame.width == 640 && frame.height == 480) return frame.pixels;
  // The same stretch the scaled presentation uses (its last column and row
  // sample past the frame and come out as colour 0).
  tarngr::tbitmap src, dst;
  tarngr::initbitmap(src, frame.width, frame.height, const_cast<uint8_t*>(frame.pixels));
  tarngr::initbitmap(dst, 640, 480, display);
  tarngr::scalecopy(src, 0, 0, 640, 480, dst);
  return display;
}

bool writedumprecord(std::FILE* file, uint32_t index, const tframe& frame) {
  uint8_t header[12] = {'M', 'V', 'F', '1'};
  put32(header + 4, index);
  put16(header + 8, frame.width);
  put16(header + 10, frame.height);
  const size_t n = static_cast<size_t>(frame.width) * frame.height;
  return std::fwrite(header, 1, sizeof header, file) == sizeof header &&
         std::fwrite(frame.pixels, 1, n, file) == n &&
         std::fwrite(frame.palette, 1, 1024, file) == 1024;
}

bool writeframepng(const std::string& path, const tframe& frame, std::string& error) {
  static std::vector<uint8_t> rgb;
  torgb(frame, rgb);
  return pngio::writergb(path, frame.width, frame.height, rgb.data(), error) == pngio::tpngresult::ok;
}

// ---- Y4M -----------------------------------------------------------------------

// C420jpeg: chroma sited between the four pixels it averages. The range is
// said outright, since readers differ on what an unmarked file holds.
void writey4mheader(std::FILE* file) { std::fputs(y4mheader, file); }

bool writey4mframe(std::FILE* file, const tframe& frame) {
  // Limited-range BT.601 (Y 16..235, Cb and Cr 16..240), what players
  // assume of video; one conversion per palette entry.
  std::array<uint8_t, 256> y{}, u{}, v{};
  for (int i = 0; i < 256; ++i) {
    const double r = level(frame.palette[i].red), g = level(frame.palette[i].green), b = level(frame.palette[i].blue);
    auto round = [](double x) { return static_cast<uint8_t>(x + 0.5); };  // never below 16 or above 240
    y[i] = round(16.0 + 219.0 / 255.0 * (0.299 * r + 0.587 * g + 0.114 * b));
    u[i] = round(128.0 + 224.0 / 255.0 * (-0.168736 * r - 0.331264 * g + 0.5 * b));
    v[i] = round(128.0 + 224.0 / 255.0 * (0.5 * r - 0.418688 * g - 0.081312 * b));
  }
  const uint8_t* px = displaypixels(frame);
  static uint8_t plane[640 * 480 + 2 * 320 * 240];
  uint8_t* py = plane;
  uint8_t* pu = plane + 640 * 480;
  uint8_t* pv = pu + 320 * 240;
  for (int i = 0; i < 640 * 480; ++i) py[i] = y[px[i]];
  for (int row = 0; row < 240; ++row)
    for (int col = 0; col < 320; ++col) {
      const uint8_t* p = px + (2 * row) * 640 + 2 * col;
      pu[row * 320 + col] = static_cast<uint8_t>((u[p[0]] + u[p[1]] + u[p[640]] + u[p[641]] + 2) / 4);
      pv[row * 320 + col] = static_cast<uint8_t>((v[p[0]] + v[p[1]] + v[p[640]] + v[p[641]] + 2) / 4);
    }
  return std::fputs("FRAME\n", file) >= 0 && std::fwrite(plane, 1, sizeof plane, file) == sizeof plane;
}

// ---- WAV -----------------------------------------------------------------------

namespace {
constexpr uint32_t wavrate = 48000;

bool writewavheader(std::FILE* f, uint64_t frames) {
  const uint32_t data = static_cast<uint32_t>(std::min<uint64_t>(frames * 4, 0xFFFFFFFFull - 36));
  uint8_t h[44] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 2, 0};
  put32(h + 4, 36 + data);
  put32(h + 24, wavrate);
  put32(h + 28, wavrate * 4);
  put16(h + 32, 4);
  put16(h + 34, 16);
  std::memcpy(h + 36, "data", 4);
  put32(h + 40, data);
  return std::fseek(f, 0, SEEK_SET) == 0 && std::fwrite(h, 1, 44, f) == 44;
}
}  // namespace

bool openwav(twav& wav, const std::string& path) {
  wav.file = std::fopen(path.c_str(), "wb+");
  wav.frames = 0;
  return wav.file != nullptr && writewavheader(wav.file, 0);
}

bool appendwav(twav& wav, const int16_t* samples, size_t frames) {
  // Little-endian machine: the samples are already in WAV byte order.
  if (std::fwrite(samples, 4, frames, wav.file) != frames) return false;
  wav.frames += frames;
  return true;
}

bool closewav(twav& wav, uint64_t frames) {
  bool ok = true;
  if (wav.frames < frames) {
    static const int16_t silence[2 * 1024] = {};
    while (ok && wav.frames < frames) ok = appendwav(wav, silence, std::min<uint64_t>(1024, frames - wav.frames));
  }
  ok = ok && std::fflush(wav.file) == 0 && ftruncate(fileno(wav.file), static_cast<off_t>(44 + frames * 4)) == 0;
  ok = ok && writewavheader(wav.file, frames);
  ok = (std::fclose(wav.file) == 0) && ok;
  wav.file = nullptr;
  return ok;
}

// ---- contact sheet ---------------------------------------------------------------

namespace {

constexpr int cellw = 320, cellh = 240, labelh = 32, columns = 5;
constexpr size_t keepmax = 32;

struct tsample {
  uint64_t index;
  std::vector<uint8_t> rgb;  // cellw x cellh
};

struct tscenesheet {
  uint64_t first = 0, count = 0, stride = 1;
  std::vector<tsample> kept;
};

std::array<tscenesheet, 16> sheets;

// The frame at the display's 4:3, cellw x cellh, nearest sampling.
std::vector<uint8_t> cell(const tframe& f) {
  std::vector<uint8_t> rgb(static_cast<size_t>(cellw) * cellh * 3);
  for (int y = 0; y < cellh; ++y)
    for (int x = 0; x < cellw; ++x) {
      const int sx = x * f.width / cellw, sy = y * f.height / cellh;
      const tarnpal::tpalentry& e = f.palette[f.pixels[sy * f.width + sx]];
      uint8_t* p = &rgb[(static_cast<size_t>(y) * cellw + x) * 3];
      p[0] = level(e.red);
      p[1] = level(e.green);
      p[2] = level(e.blue);
    }
  return rgb;
}

}  // namespace

void sheetframe(int scene, const tframe& frame) {
  if (scene < 1 || scene > 15) return;
  tscenesheet& s = sheets[static_cast<size_t>(scene)];
  const uint64_t index = s.count++;
  if (index % s.stride != 0) return;
  s.kept.push_back({index, cell(frame)});
  if (s.kept.size() > keepmax) {
    // Keep every other sample and take every second frame from now on.
    std::vector<tsample> half;
    for (size_t i = 0; i < s.kept.size(); i += 2) half.push_back(std::move(s.kept[i]));
    s.kept = std::move(half);
    s.stride *= 2;
  }
}

bool writesheet(const std::string& path, const char* const names[15], std::string& error) {
  const int rows = 3;
  const int width = columns * cellw, height = rows * (cellh + labelh);
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3, 24);
  static uint8_t labelpixels[cellw * labelh];
  for (int scene = 1; scene <= 15; ++scene) {
    const tscenesheet& s = sheets[static_cast<size_t>(scene)];
    const int ox = ((scene - 1) % columns) * cellw, oy = ((scene - 1) / columns) * (cellh + labelh);
    if (!s.kept.empty()) {
      const uint64_t middle = s.count / 2;
      const tsample* best = &s.kept.front();
      for (const tsample& k : s.kept)
        if ((k.index > middle ? k.index - middle : middle - k.index) <
            (best->index > middle ? best->index - middle : middle - best->index))
          best = &k;
      for (int y = 0; y < cellh; ++y)
        std::memcpy(&rgb[(static_cast<size_t>(oy + y) * width + ox) * 3], &best->rgb[static_cast<size_t>(y) * cellw * 3],
                    cellw * 3);
    }
    // The label, in the show's own font.
    tarngr::tbitmap label;
    tarngr::initbitmap(label, cellw, labelh, labelpixels);
    std::memset(labelpixels, 0, sizeof labelpixels);
    tools::drawtext(label, 6, 3, std::to_string(scene) + " " + names[scene - 1], 2, 15, 1);
    for (int y = 0; y < labelh; ++y)
      for (int x = 0; x < cellw; ++x)
        if (labelpixels[y * cellw + x]) {
          uint8_t* p = &rgb[(static_cast<size_t>(oy + cellh + y) * width + ox + x) * 3];
          p[0] = p[1] = p[2] = 230;
        }
  }
  return pngio::writergb(path, width, height, rgb.data(), error) == pngio::tpngresult::ok;
}

}  // namespace render
