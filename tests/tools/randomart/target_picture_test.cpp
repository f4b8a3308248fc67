// The analysis target made from picture files: large ones are reduced while they are read.
#include "tools/randomart/target_picture.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "../../support/child_memory.h"

namespace orvane {
namespace {

TEST(TargetPicture, LargePicturesAreReducedWhileRead) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer keeps freed rows in quarantine, so peaks add up";
#endif
  // A run-length TGA of 8192 x 8192 pixels of one colour: 256 MB as a whole picture.
  std::string tga = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x20, 0, 0x20, 24, 0x20};
  for (long left = 8192L * 8192; left > 0; left -= 128) tga += {char(0xFF), 50, 100, char(200)};
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(tga.data()),
                                            tga.size());
  EXPECT_LT(peakMegabytesOfChild([&] {
              TargetPixels target;
              return loadTargetPicture(bytes, target) &&
                     std::all_of(target.begin(), target.end(),
                                 [](std::uint32_t p) { return p == 0xFFC86432u; });
            }),
            40);
}

}  // namespace
}  // namespace orvane
