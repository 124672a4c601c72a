// Simple pictures for texture packs: solid colours, gradients, checkers, digits, words and a face.
// Pictures of kinds 1 and 2 get an alpha layer as each maker describes.
#pragma once
#include <initializer_list>
#include <string>

#include "tools/datakit/PtxWriter.h"

namespace datakit {

// Every pixel one colour; the alpha layer holds alpha.
PtxPicture SolidPicture(uint32_t kind, uint32_t width, uint32_t height, Rgb colour,
                        uint8_t alpha = 255);
// From one colour to the other across (horizontal) or down the picture, over up to 256 steps; the
// alpha layer runs from opaque to transparent in the same direction.
PtxPicture GradientPicture(uint32_t kind, uint32_t width, uint32_t height, Rgb from, Rgb to,
                           bool horizontal = true);
// Squares of cell pixels, colour a where the top-left one is; a-squares are opaque, b-squares have
// alpha bAlpha.
PtxPicture CheckerPicture(uint32_t kind, uint32_t width, uint32_t height, uint32_t cell, Rgb a,
                          Rgb b, uint8_t bAlpha = 255);
// The digits of text (other characters are left blank) drawn in a 3×5 pixel font scaled to fill
// the height, each digit one cell of (height × 3/5 + gap) pixels; ink opaque, background alpha 0.
PtxPicture DigitsPicture(uint32_t kind, uint32_t width, uint32_t height, const std::string& text,
                         Rgb ink, Rgb background);

// A transparent picture (kind 1) with opaque rectangles on it, each of its own colour.
struct Block {
  uint32_t x, y, width, height;
  Rgb colour;
};
PtxPicture Blocks(uint32_t width, uint32_t height, std::initializer_list<Block> blocks);

// Where words go: centred down the box, set from its left or centred across it. Words wider than
// the box are drawn smaller until they fit; what falls outside the picture is left out.
struct WordBox {
  uint32_t x, y, width, height;
  bool centred = false;
};
// Lays UTF-8 words in ink onto the picture with an em of `pixels` (IPA Gothic), blended by their
// coverage; where the picture is less opaque than the words they raise its alpha to their coverage.
// The palette is made again from the colours shown, the most used kept exactly when there are
// more than 256.
void DrawWords(PtxPicture& picture, const std::string& utf8, uint32_t pixels, WordBox box, Rgb ink);
// Ink that reads on a ground: white on a dark one, near black on a light one.
Rgb InkOn(Rgb ground);

// A face seen from the front on a clear ground (kind 1): a round head of skin under a cap of hair,
// two eyes and a smile in the features' colour.
PtxPicture FacePicture(uint32_t size, Rgb skin, Rgb features);

}  // namespace datakit
