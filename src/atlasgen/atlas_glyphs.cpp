#include "atlasgen/atlas_glyphs.h"

#include <fstream>
#include <iterator>
#include <vector>

#define STBTT_STATIC
#define STB_TRUETYPE_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#include <stb/stb_truetype.h>
#pragma GCC diagnostic pop

namespace orvane::art {

struct GlyphFont::Impl {
  std::vector<unsigned char> data;
  stbtt_fontinfo info{};
};

GlyphFont::GlyphFont() : impl_(std::make_unique<Impl>()) {}
GlyphFont::~GlyphFont() = default;

bool GlyphFont::load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  impl_->data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (impl_->data.empty()) return false;
  const int offset = stbtt_GetFontOffsetForIndex(impl_->data.data(), 0);
  return offset >= 0 && stbtt_InitFont(&impl_->info, impl_->data.data(), offset) != 0;
}

float GlyphFont::scaleForCapHeight(float texels) const {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  // A font without a capital H gives no box; its glyphs are then drawn one texel per unit.
  if (!stbtt_GetCodepointBox(&impl_->info, 'H', &x0, &y0, &x1, &y1) || y1 <= y0) return 1.0f;
  return texels / static_cast<float>(y1 - y0);
}

void GlyphFont::drawCentred(char32_t codePoint, float scale, float maxTexels, Mask& mask,
                            float outlineWidth) const {
  const stbtt_fontinfo* info = &impl_->info;
  const int glyph = stbtt_FindGlyphIndex(info, static_cast<int>(codePoint));
  int bx0, by0, bx1, by1;
  if (glyph == 0 || !stbtt_GetGlyphBox(info, glyph, &bx0, &by0, &bx1, &by1)) return;
  const float inkSize = static_cast<float>(std::max(bx1 - bx0, by1 - by0));
  scale = std::min(scale, maxTexels / inkSize);
  // Font units grow upwards; the cell's rows grow downwards.
  const float centreX = (bx0 + bx1) * 0.5f * scale, centreY = -(by0 + by1) * 0.5f * scale;

  if (outlineWidth <= 0) {
    // Place the glyph's origin so the ink box centre lands on the cell centre (32, 32).
    const float originX = 32 - centreX, originY = 32 - centreY;
    const float fx = std::floor(originX), fy = std::floor(originY);
    int ix0, iy0, ix1, iy1;
    stbtt_GetGlyphBitmapBoxSubpixel(info, glyph, scale, scale, originX - fx, originY - fy, &ix0,
                                    &iy0, &ix1, &iy1);
    const int w = ix1 - ix0, h = iy1 - iy0;
    if (w <= 0 || h <= 0) return;
    std::vector<unsigned char> bitmap(static_cast<std::size_t>(w * h));
    stbtt_MakeGlyphBitmapSubpixel(info, bitmap.data(), w, h, w, scale, scale, originX - fx,
                                  originY - fy, glyph);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const int cx = static_cast<int>(fx) + ix0 + x, cy = static_cast<int>(fy) + iy0 + y;
        if (cx < 0 || cy < 0 || cx >= kCell || cy >= kCell) continue;
        mask.at(cx, cy) = std::max(mask.at(cx, cy), bitmap[y * w + x] / 255.0f);
      }
    }
    return;
  }

  // Outlines come from the glyph's distance field: 128 on the edge, 16 steps per texel.
  constexpr unsigned char kOnEdge = 128;
  constexpr float kStepsPerTexel = 16;
  int w, h, xoff, yoff;
  unsigned char* field =
      stbtt_GetGlyphSDF(info, scale, glyph, 4, kOnEdge, kStepsPerTexel, &w, &h, &xoff, &yoff);
  if (!field) return;
  const int ox = static_cast<int>(std::lround(32 - centreX)) + xoff;
  const int oy = static_cast<int>(std::lround(32 - centreY)) + yoff;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int cx = ox + x, cy = oy + y;
      if (cx < 0 || cy < 0 || cx >= kCell || cy >= kCell) continue;
      // Distance inside the glyph, in texels: the band runs from the edge inwards.
      const float d = (field[y * w + x] - kOnEdge) / kStepsPerTexel;
      const float band = std::abs(d - outlineWidth * 0.5f) - outlineWidth * 0.5f;
      mask.at(cx, cy) = std::max(mask.at(cx, cy), clamp01(0.5f - band));
    }
  }
  stbtt_FreeSDF(field, nullptr);
}

void GlyphFont::drawText(std::string_view text, float pixelHeight, unsigned char* picture,
                         int width, int height, int x, int baseline) const {
  const stbtt_fontinfo* info = &impl_->info;
  const float scale = stbtt_ScaleForPixelHeight(info, pixelHeight);
  float pen = static_cast<float>(x);
  for (const char c : text) {
    int advance, bearing, x0, y0, x1, y1;
    stbtt_GetCodepointHMetrics(info, c, &advance, &bearing);
    const float shift = pen - std::floor(pen);
    stbtt_GetCodepointBitmapBoxSubpixel(info, c, scale, scale, shift, 0, &x0, &y0, &x1, &y1);
    const int w = x1 - x0, h = y1 - y0;
    if (w > 0 && h > 0) {
      std::vector<unsigned char> glyph(static_cast<std::size_t>(w * h));
      stbtt_MakeCodepointBitmapSubpixel(info, glyph.data(), w, h, w, scale, scale, shift, 0, c);
      for (int gy = 0; gy < h; ++gy) {
        for (int gx = 0; gx < w; ++gx) {
          const int px = static_cast<int>(std::floor(pen)) + x0 + gx, py = baseline + y0 + gy;
          if (px < 0 || py < 0 || px >= width || py >= height) continue;
          unsigned char& dst = picture[py * width + px];
          dst = std::max(dst, glyph[gy * w + gx]);
        }
      }
    }
    pen += advance * scale;
  }
}

float GlyphFont::textWidth(std::string_view text, float pixelHeight) const {
  const float scale = stbtt_ScaleForPixelHeight(&impl_->info, pixelHeight);
  float width = 0;
  for (const char c : text) {
    int advance, bearing;
    stbtt_GetCodepointHMetrics(&impl_->info, c, &advance, &bearing);
    width += advance * scale;
  }
  return width;
}

}  // namespace orvane::art
