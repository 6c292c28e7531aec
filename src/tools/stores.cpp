// stores: the static pixel memory of every bitmap and picture.
#include "tools/stores.h"

namespace tools {

namespace {
// 16-byte alignment keeps the word copies and the fast filters aligned.
alignas(16) uint8_t work1store[framestoresize];
alignas(16) uint8_t work2store[work2storesize];
alignas(16) uint8_t work3store[work3storesize];
alignas(16) uint8_t work4store[cellstoresize];
alignas(16) uint8_t work5store[cellstoresize];
alignas(16) uint8_t digitcellstore[digitcellstoresize];
alignas(16) uint8_t linebufstore[linebufstoresize];
alignas(16) uint8_t teilfullstore[framestoresize];
alignas(16) uint8_t bigscreenstore[bigscreenstoresize];

alignas(16) uint8_t teilstore[65028];
alignas(16) uint8_t qelm1store[3004];
alignas(16) uint8_t proudlystore[3004];
alignas(16) uint8_t presentsstore[3004];
alignas(16) uint8_t corporatstore[3004];
alignas(16) uint8_t morvpicstore[307204];
alignas(16) uint8_t geoboardstore[64004];
alignas(16) uint8_t scroll1store[640004];
alignas(16) uint8_t textstore[64004];
alignas(16) uint8_t eye1store[64004];
alignas(16) uint8_t eye2store[64004];
alignas(16) uint8_t morvdatstore[307204];
alignas(16) uint8_t counterstore[6328];
alignas(16) uint8_t scroll2store[64004];
}  // namespace

alignas(16) uint8_t screenstore[1 + screenstoresize];

tbitmap screen, work1, work2, work3, work4, work5, digitcell, linebuf, teilfull, bigscreen;
tbitmap teil, qelm1, proudly, presents, corporat, morvpic, geoboard, scroll1, text, eye1, eye2, morvdat,
    counter, scroll2;
tpalette teilpal, qelm1pal, proudlypal, presentspal, corporatpal, morvpicpal, geoboardpal, scroll1pal,
    textpal, eye1pal, eye2pal, morvdatpal, counterpal, scroll2pal;

#define PICTURE(stem) {"GRAPH\\" #stem ".im", &stem, &stem##pal, sizeof(stem##store)}
const tpicture pictures[picturecount] = {
    PICTURE(teil),    PICTURE(qelm1), PICTURE(proudly), PICTURE(presents), PICTURE(corporat),
    PICTURE(morvpic), PICTURE(geoboard), PICTURE(scroll1), PICTURE(text),   PICTURE(eye1),
    PICTURE(eye2),    PICTURE(morvdat), PICTURE(counter), PICTURE(scroll2),
};
#undef PICTURE

void initmemory() {
  using tarngr::initbitmap;
  screenstore[0] = 0;
  initbitmap(screen, 320, 200, screenstore + 1);
  initbitmap(work1, 320, 200, work1store);
  initbitmap(work2, 320, 200, work2store);
  initbitmap(work3, 320, 200, work3store);
  initbitmap(work4, 320, 200, work4store);
  initbitmap(work5, 320, 200, work5store);
  initbitmap(digitcell, 20, 30, digitcellstore);
  initbitmap(linebuf, 320, 1, linebufstore);
  initbitmap(teilfull, 320, 200, teilfullstore);
  initbitmap(bigscreen, 640, 480, bigscreenstore);
  // The loader fills width and height; only the stores are known here.
  teil.pixels = teilstore;
  qelm1.pixels = qelm1store;
  proudly.pixels = proudlystore;
  presents.pixels = presentsstore;
  corporat.pixels = corporatstore;
  morvpic.pixels = morvpicstore;
  geoboard.pixels = geoboardstore;
  scroll1.pixels = scroll1store;
  text.pixels = textstore;
  eye1.pixels = eye1store;
  eye2.pixels = eye2store;
  morvdat.pixels = morvdatstore;
  counter.pixels = counterstore;
  scroll2.pixels = scroll2store;
}

}  // namespace tools
