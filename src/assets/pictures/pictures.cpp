// pictures: the fourteen default pictures in the show's loading order.
//
// Depends on: the painters in this folder.
#include "assets/pictures/pictures.h"

namespace assets {

std::vector<tartwork> drawpictures() {
  std::vector<tartwork> all;
  all.push_back(drawteil());
  all.push_back(drawqelm1());
  all.push_back(drawproudly());
  all.push_back(drawpresents());
  all.push_back(drawcorporat());
  all.push_back(drawmorvpic());
  all.push_back(drawgeoboard());
  all.push_back(drawscroll1());
  all.push_back(drawtext());
  all.push_back(draweye1());
  all.push_back(draweye2());
  all.push_back(drawmorvdat());
  all.push_back(drawcounter());
  all.push_back(drawscroll2());
  return all;
}

}  // namespace assets
