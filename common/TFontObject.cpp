#include "common/TFontObject.h"

#include <algorithm>
#include <cstring>

TFontObject::TFontObject(int32_t width, int32_t height, const std::string& faceName,
                         int32_t weight, uint8_t pitchAndFamily, uint8_t italic, uint8_t underline,
                         uint8_t strikeOut) {
  description.lfHeight = height;
  description.lfWidth = width;
  description.lfEscapement = 0;
  description.lfOrientation = 0;
  description.lfWeight = weight;
  description.lfItalic = italic;
  description.lfUnderline = underline;
  description.lfStrikeOut = strikeOut;
  description.lfCharSet = plat::DEFAULT_CHARSET;
  description.lfOutPrecision = 0;
  description.lfClipPrecision = 0;
  description.lfQuality = 0;
  description.lfPitchAndFamily = pitchAndFamily;
  std::memset(description.lfFaceName, 0, sizeof description.lfFaceName);
  std::memcpy(description.lfFaceName, faceName.data(),
              std::min<size_t>(faceName.size(), plat::LF_FACESIZE - 1));
  Create();
}

TFontObject::~TFontObject() {
  if (handle) plat::DeleteObject(handle);
}

void TFontObject::Create() {
  if (handle) plat::DeleteObject(handle);
  handle = plat::CreateFontIndirect(&description);
}
