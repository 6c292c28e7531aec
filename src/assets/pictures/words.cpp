// words: the texts and their sizes.
//
// Small sizes (the logos, the digits) snap their letters to whole pixels
// and keep the pen at two pixels or more, so that stems and diagonals stay
// solid when a scene squeezes the picture by a third.
// Depends on: lettering.
#include "assets/pictures/words.h"

namespace assets {

tline qelm1word() { return {"QELM", 50.0f, 3.0f, {21.0f, 4.2f, 1.25f, 0.2f, true}}; }

tline corporatword() { return fitted({"CORPORATION", 50.0f, 8.0f, {14.0f, 2.0f, 1.0f, 0.1f, true}}, 94.0f); }

// Both words of the rotating tunnel share one type, so they look a pair:
// the longer one sets the width.
tline presentsword() { return fitted({"presents", 50.0f, 3.0f, {18.5f, 3.0f, 1.0f, 0.12f, true}}, 93.0f); }
tline proudlyword() { return {"proudly", 50.0f, 3.0f, presentsword().type}; }

tline titleword() { return fitted({"MORVANTA", 320.0f, 100.0f, {112.0f, 18.0f, 1.0f, 0.06f}}, 616.0f); }
tline makersword() { return {"Qelm Corporation", 320.0f, 300.0f, {36.0f, 6.0f, 1.0f, 0.14f}}; }

tline greetingsword() { return fitted({"GREETINGS", 160.0f, 12.0f, {48.0f, 7.5f, 1.0f, 0.1f}}, 300.0f); }

std::vector<tline> greetingslines() {
  const ttype small{24.0f, 4.5f, 1.0f, 0.14f};
  return {{"to every coder,", 160.0f, 82.0f, small},
          {"pixel artist and", 160.0f, 116.0f, small},
          {"musician out there", 160.0f, 150.0f, small}};
}

tline floorword() { return fitted({"MORVANTA", 160.0f, 78.0f, {44.0f, 7.5f, 1.0f, 0.08f}}, 296.0f); }

tline digitword(int32_t digit) {
  // Centred on the middle of columns 1..16 of the cell, the part a
  // two-digit number shows.
  return {std::string(1, static_cast<char>('0' + digit)), 20.0f * digit + 9.0f, 3.0f, {24.0f, 4.0f, 0.75f, 0.0f, true}};
}

std::vector<tline> wordsof(const std::string& stem) {
  if (stem == "qelm1") return {qelm1word()};
  if (stem == "corporat") return {corporatword()};
  if (stem == "presents") return {presentsword()};
  if (stem == "proudly") return {proudlyword()};
  if (stem == "morvpic") return {titleword(), makersword()};
  if (stem == "morvdat") return {titleword()};
  if (stem == "text") {
    std::vector<tline> all{greetingsword()};
    for (const tline& l : greetingslines()) all.push_back(l);
    return all;
  }
  if (stem == "scroll2") return {floorword()};
  if (stem == "counter") {
    std::vector<tline> all;
    for (int32_t d = 0; d < 10; ++d) all.push_back(digitword(d));
    return all;
  }
  return {};
}

}  // namespace assets
