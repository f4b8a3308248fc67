// The atlas texture that reads its cells from the enciphered resource as they are drawn holds
// the texels of the unpacked atlas, and draws the same pictures.
#include "render/atlas_texture.h"

#include <gtest/gtest.h>

#include <string>

#include "formats/emblem_file.h"
#include "render/image_export.h"
#include "resources/embedded_parts_atlas.h"
#include "resources/parts_atlas_resource.h"

namespace orvane {
namespace {

TEST(AtlasTexture, ReadFromTheResourceItHoldsTheUnpackedAtlas) {
  PartsAtlasBuffer atlas;
  ASSERT_TRUE(loadEmbeddedPartsAtlas(atlas));
  const TexturePtr fromResource = atlasTextureFromResource(embeddedPartsAtlasResource());
  const TexturePtr fromBuffer =
      makeTextureFromPixels(1024, 2048, atlas.pixels().data(), PixelFormat::A4R4G4B4, 16);
  ASSERT_TRUE(fromResource && fromBuffer);
  // A cell's sheets, as drawing makes them, and then every texel.
  const TexelRect cell{320, 448, 384, 512};
  for (int level = 0; level <= 6; ++level) {
    const TexelSheet& a = fromResource->sheet(cell, level);
    const TexelSheet& b = fromBuffer->sheet(cell, level);
    ASSERT_EQ(a.width, b.width);
    for (int y = -1; y < a.height; ++y) {
      for (int x = -1; x < a.width; ++x) {
        ASSERT_TRUE(std::equal(a.record(x, y), a.record(x, y) + 4, b.record(x, y))) << level;
      }
    }
  }
  EXPECT_TRUE(std::equal(fromResource->pixels(), fromResource->pixels() + 1024 * 2048,
                         fromBuffer->pixels()));
  EXPECT_FALSE(atlasTextureFromResource(embeddedPartsAtlasResource().first(1000)));
}

TEST(AtlasTexture, ExportsDrawTheSamePicturesWithIt) {
  EmblemDocument document;
  ASSERT_TRUE(readEmblemFile(document, std::string(ORVANE_SOURCE_DIR) + "/examples/banner.ovml"));
  PartsAtlasBuffer atlas;
  ASSERT_TRUE(loadEmbeddedPartsAtlas(atlas));
  for (const ExportSettings& settings :
       {ExportSettings{}, ExportSettings{1.5f, false, 0x203040, false, true}}) {
    Renderer a, b;
    ASSERT_TRUE(renderExportPicture(a, document, atlas.pixels(), settings));
    ASSERT_TRUE(renderExportPicture(
        b, document, atlasTextureFromResource(embeddedPartsAtlasResource()), settings));
    const PixelView va = a.backBuffer(), vb = b.backBuffer();
    ASSERT_EQ(va.width, vb.width);
    EXPECT_TRUE(std::equal(va.pixels, va.pixels + va.width * va.height, vb.pixels));
  }
}

}  // namespace
}  // namespace orvane
