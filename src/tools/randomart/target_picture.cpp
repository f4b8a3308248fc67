#include "tools/randomart/target_picture.h"

#include <algorithm>

#include "base/failure.h"
#include "render/renderer.h"

namespace orvane {

bool makeTargetPixels(const Picture& picture, TargetPixels& target) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.rgba.size() < std::size_t(picture.width) * picture.height * 4) {
    return false;
  }
  std::vector<std::uint32_t> argb(std::size_t(picture.width) * picture.height);
  for (std::size_t i = 0; i < argb.size(); ++i) {
    const std::uint8_t* p = &picture.rgba[4 * i];
    argb[i] =
        std::uint32_t(p[3]) << 24 | std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2];
  }
  Renderer renderer;
  if (!renderer.create(kFieldWidth, kFieldHeight, true)) return false;
  renderer.useAnisotropicFiltering();
  TexturePtr texture = renderer.createTextureFromPixels(picture.width, picture.height, argb.data(),
                                                        PixelFormat::A8R8G8B8, 32);
  if (!texture) return false;
  renderer.setTexture(texture);
  // The quad reaches one unit past the right and top edges, as the loader always drew it.
  const float halfW = float(kFieldWidth / 2), halfH = float(kFieldHeight / 2);
  renderer.beginFrame(0);
  renderer.drawQuad({-halfW, halfH + 1}, {-halfW, -halfH}, {halfW + 1, halfH + 1},
                    {halfW + 1, -halfH}, 0xFFFFFFFFu, AtlasCell{0, 0, 1, 1});
  const PixelView view = renderer.backBuffer();
  target.resize(kFieldPixels);
  for (int i = 0; i < kFieldPixels; ++i) target[std::size_t(i)] = view.pixels[i] | 0xFF000000u;
  return true;
}

namespace {

// Draws a decoded picture into `target`, leaving `target` as it was when that fails.
bool adoptPicture(const Picture& picture, TargetPixels& target, std::string* error) {
  TargetPixels made;
  if (!makeTargetPixels(picture, made)) return fail(error, "the picture cannot be drawn");
  target = std::move(made);
  return true;
}

}  // namespace

bool loadTargetPicture(std::span<const std::uint8_t> bytes, TargetPixels& target,
                       std::string* error) {
  Picture picture;
  return readPicture(bytes, picture, error, kTargetPictureSide) &&
         adoptPicture(picture, target, error);
}

bool loadTargetPictureFile(const std::filesystem::path& path, TargetPixels& target,
                           std::string* error) {
  Picture picture;
  return readPictureFile(path, picture, error, kTargetPictureSide) &&
         adoptPicture(picture, target, error);
}

}  // namespace orvane
