// words: every line of text the default pictures show, with its type.
//
// Change a text or a size here; the painters take their lines from these
// functions. Coordinates are in the pixels of the picture the line belongs
// to. The logos keep clear of the two outer rows and columns of their
// 100x30 pictures, so the scenes can stretch them without showing an edge.
// Depends on: lettering.
#pragma once

#include <string>
#include <vector>

#include "assets/pictures/lettering.h"

namespace assets {

tline qelm1word();       // the makers' logo over the opening tunnel
tline corporatword();    // the second logo under it
tline presentsword();    // over the rotating tunnel
tline proudlyword();
tline titleword();       // the production's name on the title picture
tline makersword();      // the line below it
tline greetingsword();   // the heading of the text picture
std::vector<tline> greetingslines();  // and its three lines
tline floorword();       // the name inlaid in the floor of the perspective scroller
tline digitword(int32_t digit);  // digit d of the counter strip, in its 20x30 cell

// All lines a picture shows (none for pictures without text).
std::vector<tline> wordsof(const std::string& stem);

}  // namespace assets
