// pictures: the painters of the fourteen default pictures, one per picture.
//
// Each returns a finished record: size, colour count, palette entries
// 1..colors (entry 0 black) and pixels. drawpictures() collects them in the
// show's loading order.
// Depends on: assets (tartwork), draw.
#pragma once

#include "assets/assets.h"

namespace assets {

tartwork drawteil();      // 256x254 tunnel texture, brightness ramp 1..37
tartwork drawqelm1();     // 100x30 makers' logo, background 4
tartwork drawproudly();   // 100x30 word, background 15
tartwork drawpresents();  // 100x30 word, background 15
tartwork drawcorporat();  // 100x30 second logo, background 53
tartwork drawmorvpic();   // 640x480 title picture
tartwork drawgeoboard();  // 320x200 board, colours 1..12
tartwork drawscroll1();   // 320x1000 tall scroller picture, colours 0..20
tartwork drawtext();      // 320x200 lettering over the swirl tunnel, background 116
tartwork draweye1();      // 320x200 eye, iris round (154, 118)
tartwork draweye2();      // 320x200 lens mask: 1 on the iris and pupil
tartwork drawmorvdat();   // 640x480 star mask of the title
tartwork drawcounter();   // 200x30 digit strip, background 5
tartwork drawscroll2();   // 320x200 grey picture of the perspective scroller

// Where the eye's iris sits; the mask and the picture share it.
inline constexpr float irisx = 154.0f;
inline constexpr float irisy = 118.0f;
inline constexpr float irisrx = 74.0f;  // wider than high: pixels are taller than wide
inline constexpr float irisry = 64.0f;

}  // namespace assets
