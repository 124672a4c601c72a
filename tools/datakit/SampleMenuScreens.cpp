#include "tools/datakit/SampleMenuScreens.h"

#include "tools/datakit/PictureKit.h"

namespace datakit {

void AddSampleMenuScreenSprites(PtxWriter& sprites) {
  sprites.Add("window20", SolidPicture(1, 288, 320, kSampleMenuListColour));
}

}  // namespace datakit
