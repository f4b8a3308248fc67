#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "atlasgen/atlas_canvas.h"

namespace orvane::art {

// A TrueType face read through stb_truetype, drawing glyphs into cells and text into pictures.
class GlyphFont {
 public:
  GlyphFont();
  ~GlyphFont();
  GlyphFont(const GlyphFont&) = delete;
  GlyphFont& operator=(const GlyphFont&) = delete;

  // Reads the font file; false when it is missing or not a font.
  bool load(const std::string& path);
  // Scale (texels per font unit) at which the capital H is `texels` tall.
  float scaleForCapHeight(float texels) const;
  // Draws a glyph centred on its ink box at `scale`, shrunk to fit `maxTexels` square if larger.
  // An outlined glyph keeps only a band of `outlineWidth` texels along its edge.
  void drawCentred(char32_t codePoint, float scale, float maxTexels, Mask& mask,
                   float outlineWidth = 0) const;
  // Draws ASCII text with its baseline at (x, baseline) into an 8-bit coverage picture.
  void drawText(std::string_view text, float pixelHeight, unsigned char* picture, int width,
                int height, int x, int baseline) const;
  // Width in pixels of ASCII text at that height.
  float textWidth(std::string_view text, float pixelHeight) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orvane::art
