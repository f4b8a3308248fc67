// Feeds arbitrary bytes to the picture reader, whole and reduced for the picture tools. Whatever
// it accepts must have the size it says with a side of 1 ... 16384, the reduced picture must fit
// the side asked for, and a small picture must survive being written as PNG and read again.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "render/picture_file.h"

using namespace orvane;

namespace {

constexpr int kReducedSide = 64;

void checkShape(const Picture& picture, int maxSide) {
  if (picture.width < 1 || picture.height < 1 || picture.width > maxSide ||
      picture.height > maxSide ||
      picture.rgba.size() != std::size_t(picture.width) * std::size_t(picture.height) * 4) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  // Reduced first: whatever the file claims, this takes little memory.
  Picture reduced;
  if (!readPicture(bytes, reduced, nullptr, kReducedSide)) {
    if (!reduced.rgba.empty()) std::abort();  // a refused file leaves no picture
    return 0;
  }
  checkShape(reduced, kReducedSide);
  // Only pictures that fit the reduced side are read whole: the same pixels must come back.
  const bool jpeg = size >= 2 && data[0] == 0xFF && data[1] == 0xD8;
  Picture whole;
  if (jpeg || !readPicture(bytes, whole) || whole.width > kReducedSide ||
      whole.height > kReducedSide) {
    return 0;
  }
  checkShape(whole, kReducedSide);
  if (whole.rgba != reduced.rgba) std::abort();
  std::string png;
  Picture again;
  if (!encodePicture(whole, ImageFormat::Png, true, png) ||
      !readPicture({reinterpret_cast<const std::uint8_t*>(png.data()), png.size()}, again) ||
      again.rgba != whole.rgba) {
    std::abort();
  }
  return 0;
}
