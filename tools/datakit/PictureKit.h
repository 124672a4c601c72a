// Simple pictures for texture packs: solid colours, gradients, checkers and digits. Pictures of
// kinds 1 and 2 get an alpha layer as each maker describes.
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

}  // namespace datakit
