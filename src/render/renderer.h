#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/part_catalogue.h"
#include "render/blur.h"
#include "render/picture_file.h"
#include "render/rasteriser.h"
#include "render/texture.h"
#include "render/texture_sampler.h"

namespace orvane {

class DeferredShading;

// A point of the renderer's world: x to the right, y upwards, (0, 0) at the centre of the
// target, one unit one pixel while projection and viewport agree.
struct WorldPoint {
  float x = 0;
  float y = 0;
};

// The back buffer as handed to the present hook and to readers: width x height words
// 0xAARRGGBB, rows top to bottom, no padding, alpha always 0xFF.
struct PixelView {
  int width = 0;
  int height = 0;
  const std::uint32_t* pixels = nullptr;
  std::uint32_t at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};
using PresentHook = std::function<void(const PixelView&)>;

// A rectangle of target pixels [x0, x1) x [y0, y1).
struct PixelRect {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// The one object everything draws through: a headless software renderer with a back buffer, a
// bound texture, render textures, and the two-pass blur. Used by one thread at a time.
//
// Rules this renderer keeps (the tests check each):
// - Position: with projection Pw x Ph and viewport Vw x Vh, the world point (x, y) lands on
//   the target's pixel-space point ((x / Pw + 0.5) * Vw, (0.5 - y / Ph) * Vh), pixel (i, j)
//   being sampled at its centre (i + 0.5, j + 0.5). With projection = viewport = W x H that is
//   world (i + 0.5 - W / 2, H / 2 - j - 0.5): pixel centres half a unit in from integer world
//   coordinates, so a quad on integer world coordinates maps texel centres onto pixel centres
//   and a quad spanning the whole target covers every pixel exactly once.
// - Coverage: the top-left rule of coverTriangle; a quad is the triangles (lb, lt, rb) and
//   (lt, rb, rt), so a crossed quad fills both triangles, overlapping twice where they meet.
// - Texturing: texel x colour per channel, alpha included (pixel_blend.h); sampling as in
//   texture_sampler.h, never leaving the drawn cell. No bound texture reads as opaque white.
// - Blending: source alpha and one minus source alpha, rounded to nearest (pixel_blend.h). The
//   back buffer has no alpha channel of its own (its alpha stays 0xFF, so exports are opaque);
//   render textures keep alpha.
// - Lines: drawOutline draws four one-pixel lines (coverLine) in the plain colour, blended.
// - Blur: blur.h.
// Textured quads may be shaded later, on two threads (render_bands.h); every call that reads or
// writes pixels otherwise (backBuffer, endFrame, blurPass, drawOutline, ...) settles them first.
// Differences from a device: the viewport is clipped to the target; an optional scissor
// rectangle limits every write, clears included.
class Renderer {
 public:
  Renderer() = default;
  ~Renderer() { release(); }
  Renderer(const Renderer&) = delete;
  Renderer& operator=(const Renderer&) = delete;

  // Makes the back buffer (width x height, 1 ... kMaxTextureSide each) and the fixed state:
  // projection and viewport of that size, blending on, point filtering. `lockable` is accepted
  // for the callers' sake; every back buffer here can be read. The render textures kept for
  // reuse stay, so a renderer made again for each of many pictures does not ask for them anew.
  bool create(int width, int height, bool lockable = false);
  bool isCreated() const { return backBuffer_ != nullptr; }
  // Frees the back buffer and the render textures kept for reuse and unbinds everything; safe
  // to call twice or before create.
  void release();

  // Switches texture reads to the filtered rules (bilinear when magnified, mip-mapped and
  // anisotropic when minified).
  void useAnisotropicFiltering() { filter_ = TextureFilter::Anisotropic; }
  TextureFilter filter() const { return filter_; }

  // Clears the current target (within the scissor) to the colour.
  void beginFrame(std::uint32_t colour);
  // Hands the back buffer to the present hook, if one is set.
  void endFrame();
  void setPresentHook(PresentHook hook) { presentHook_ = std::move(hook); }

  // A textured, tinted quad: the cell's top-left texel at lt, top-right at rt and so on.
  bool drawQuad(WorldPoint lt, WorldPoint lb, WorldPoint rt, WorldPoint rb, std::uint32_t colour,
                const AtlasCell& cell);
  // The closed outline lt -> lb -> rb -> rt -> lt in the plain colour.
  bool drawOutline(WorldPoint lt, WorldPoint lb, WorldPoint rt, WorldPoint rb,
                   std::uint32_t colour);

  TexturePtr createTextureFromPixels(int width, int height, const void* pixels, PixelFormat format,
                                     int bitsPerPixel);
  // An A8R8G8B8 render texture, cleared to 0; none when a side is outside 1 ... 16384. The
  // memory of render textures that their users have dropped is reused, so that a repaint that
  // makes and drops the same textures every time does not ask the system for it again. A
  // caller that writes every texel it reads may ask for it uncleared: its texels are then
  // whatever they were.
  TexturePtr createRenderTexture(int width, int height, bool cleared = true);
  void setTexture(TexturePtr texture) { texture_ = std::move(texture); }
  TexturePtr currentTexture() const { return texture_; }
  // Draws into the texture from now on (none: the back buffer); resets the viewport to the
  // whole new target.
  void setRenderTarget(TexturePtr texture);

  void setProjection(float width, float height);
  void setViewport(int width, int height);
  // Limits every write to the rectangle (clipped to the target); nullopt removes the limit.
  void setScissor(std::optional<PixelRect> rect) { scissor_ = rect; }
  // At most this many threads (1 or 2, default 2) shade this renderer's quads and blur passes;
  // the pixels are the same either way. Callers that already keep every core busy, such as a
  // pool of export workers, ask for 1.
  void setShadingThreads(int threads);

  // The blur: always available in this renderer.
  bool hasBlur() const { return isCreated(); }
  // The texture size the tap offsets are measured in ("g_width", "g_height").
  void setBlurSize(float width, float height) { blurWidth_ = width, blurHeight_ = height; }
  // One pass (0 horizontal, 1 vertical) of the blur of `source` into the current target, over
  // the quad (-h, h) ... (h, -h), without blending.
  void blurPass(const TexturePtr& source, int pass, float h);

  // The back buffer; empty before create.
  PixelView backBuffer() const;
  // The back buffer encoded as a picture file (opaque), for writing later. False when there is
  // no back buffer or it cannot be encoded.
  bool encodeBackBuffer(ImageFormat format, std::string& bytes, std::string* error = nullptr) const;
  // Writes the back buffer as a picture file (opaque) through the atomic saver. False when
  // there is no back buffer, or the file cannot be encoded or written.
  bool saveBackBuffer(const std::filesystem::path& path, ImageFormat format,
                      std::string* error = nullptr) const;

 private:
  struct Triangle {
    PixelPoint p[3];
    double u[3], v[3];
  };
  Texture& target() { return renderTarget_ ? *renderTarget_ : *backBuffer_; }
  // Shades the queued quads.
  void settle() const;
  PixelPoint toPixels(WorldPoint p) const;
  PixelRect writableRect();
  // The two triangles of a quad with their texture coordinates.
  void quadTriangles(WorldPoint lt, WorldPoint lb, WorldPoint rt, WorldPoint rb,
                     const AtlasCell& cell, Triangle (&out)[2]) const;
  // Spans of a triangle within the writable rectangle, in snapped pixel space.
  void spansOf(Triangle& tri, const PixelRect& clip);

  std::shared_ptr<Texture> backBuffer_;
  TexturePtr renderTarget_;
  TexturePtr texture_;
  TextureFilter filter_ = TextureFilter::Point;
  float projectionWidth_ = 1, projectionHeight_ = 1;
  int viewportWidth_ = 0, viewportHeight_ = 0;
  std::optional<PixelRect> scissor_;
  float blurWidth_ = 1, blurHeight_ = 1;
  PresentHook presentHook_;
  std::vector<Span> spans_;  // scratch
  // The frame's state: everything release frees but the render textures kept for reuse.
  void dropFrame();

  std::vector<TexturePtr> recycled_;  // render textures handed out, kept for reuse
  BlurScratch blurScratch_;           // the blur's source rows as floats, kept between passes
  std::shared_ptr<DeferredShading> deferred_;
  int shadingThreads_ = 2;
};

}  // namespace orvane
