// outputs: the files the renderer writes from presented frames and from the
// rendered music. Each writer reports failure to its caller; nothing exits.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tarnpal/tarnpal.h"

namespace render {

// A presented frame: exactly the bytes copied to the surface, and the
// palette uploaded with them.
struct tframe {
  const uint8_t* pixels;
  uint16_t width;
  uint16_t height;
  const tarnpal::tpalentry* palette;
};

// The frame as the 640x480 scaled display shows it (320x200 frames are
// scaled as the presentation scales them). Points into a static buffer.
const uint8_t* displaypixels(const tframe& frame);

// 8-bit display level of a palette byte (0..252 -> 0..255).
inline uint8_t level(uint8_t stored) { return static_cast<uint8_t>(stored + (stored >> 6)); }

// ---- frame records ------------------------------------------------------------

// "MVF1", index (u32 LE), width, height (u16 LE), pixels, 1,024 palette bytes.
bool writedumprecord(std::FILE* file, uint32_t index, const tframe& frame);

// ---- PNG frames --------------------------------------------------------------------

bool writeframepng(const std::string& path, const tframe& frame, std::string& error);

// ---- Y4M video ------------------------------------------------------------------------

// 640x480, 60 fps, 4:2:0, limited-range BT.601 colours (said in the header).
constexpr const char* y4mheader = "YUV4MPEG2 W640 H480 F60:1 Ip A1:1 C420jpeg XCOLORRANGE=LIMITED\n";
constexpr uint64_t y4mframebytes = 6 + 640 * 480 * 3 / 2;  // "FRAME\n" and the three planes
void writey4mheader(std::FILE* file);
bool writey4mframe(std::FILE* file, const tframe& frame);

// ---- WAV -----------------------------------------------------------------------------------

struct twav {
  std::FILE* file = nullptr;
  uint64_t frames = 0;  // stereo sample frames written
};
bool openwav(twav& wav, const std::string& path);
bool appendwav(twav& wav, const int16_t* samples, size_t frames);
// Pads with silence or cuts to exactly `frames`, fixes the header, closes.
bool closewav(twav& wav, uint64_t frames);

// ---- contact sheet ----------------------------------------------------------------------------

// Keeps a bounded, evenly spaced sample of each scene's frames and picks the
// one nearest the middle of the scene.
void sheetframe(int scene, const tframe& frame);
// names[i] labels scene i + 1, also when the show never reached it.
bool writesheet(const std::string& path, const char* const names[15], std::string& error);

}  // namespace render
