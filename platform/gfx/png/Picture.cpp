#include "platform/gfx/png/Picture.h"

#include <png.h>

namespace plat {

// ARGB words lie in memory as B, G, R, A on the little-endian machines the game runs on.
bool SavePng(const Picture& picture, const std::string& path) {
  if (picture.width == 0 || picture.height == 0 || picture.pixels.size() != size_t(picture.width) * picture.height)
    return false;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = picture.width;
  image.height = picture.height;
  image.format = PNG_FORMAT_BGRA;
  const bool ok = png_image_write_to_file(&image, path.c_str(), 0, picture.pixels.data(),
                                          static_cast<png_int_32>(picture.width * 4), nullptr) != 0;
  png_image_free(&image);
  return ok;
}

bool LoadPng(const std::string& path, Picture& picture) {
  picture = Picture{};
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_BGRA;
  std::vector<D3DCOLOR> pixels(size_t(image.width) * image.height);
  if (!png_image_finish_read(&image, nullptr, pixels.data(), static_cast<png_int_32>(image.width * 4), nullptr)) {
    png_image_free(&image);
    return false;
  }
  picture.width = image.width;
  picture.height = image.height;
  picture.pixels = std::move(pixels);
  return true;
}

}  // namespace plat
