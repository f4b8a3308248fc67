#include "render/renderer.h"

#include <algorithm>
#include <cmath>

#include "render/blur.h"
#include "render/pixel_blend.h"

namespace orvane {
namespace {

bool sideOk(int side) { return side >= 1 && side <= kMaxTextureSide; }

// The covered pixels of one span, shaded by `texelAt(u, v)` (16-bit fixed texel coordinates),
// modulated by the colour and blended over the target.
template <typename TexelAt>
void shadeSpan(std::uint32_t* row, const Span& span, std::int64_t u, std::int64_t v,
               std::int64_t du, std::int64_t dv, std::uint32_t colour, bool keepAlpha,
               TexelAt texelAt) {
  const bool plain = colour == 0xFFFFFFFFu;
  for (int x = span.x0; x < span.x1; ++x, u += du, v += dv) {
    const std::uint32_t texel = texelAt(u, v);
    if ((texel >> 24) == 0) continue;
    const std::uint32_t source = plain ? texel : modulate(texel, colour);
    const std::uint32_t alpha = source >> 24;
    if (alpha == 255) {
      row[x] = source;
    } else if (alpha != 0) {
      row[x] = blendOver(source, row[x], keepAlpha);
    }
  }
}

#if defined(__SSE2__)
// round(x / 255) in each 16-bit lane (x at most 255 * 255), as div255.
inline __m128i div255Lanes16(__m128i x) {
  const __m128i t = _mm_add_epi16(x, _mm_set1_epi16(128));
  return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
}

// The bilinear span with the filter, modulation and blend of one pixel kept in vector lanes
// (lanes 0 ... 3: blue, green, red, alpha). The arithmetic is that of bilerp, modulate and
// blendOver, so the pixels equal those of the plain path.
void shadeBilinearSpan(std::uint32_t* row, const Span& span, std::int64_t u, std::int64_t v,
                       std::int64_t du, std::int64_t dv, std::uint32_t colour, bool keepAlpha,
                       const SamplerSetup& setup) {
  const TextureLevel& level = setup.level0;
  const TexelRect& r = setup.rect;
  const __m128i zero = _mm_setzero_si128();
  const __m128i colourLanes = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(colour)), zero);
  const __m128i alphaMask = _mm_set1_epi32(keepAlpha ? 0 : int(0xFF000000u));
  for (int x = span.x0; x < span.x1; ++x, u += du, v += dv) {
    const std::int64_t u8 = (u + 0x80) >> 8, v8 = (v + 0x80) >> 8;
    const std::int64_t xi = u8 >> 8, yi = v8 >> 8;
    const int x0 = int(std::clamp<std::int64_t>(xi, r.x0, r.x1 - 1));
    const int x1 = int(std::clamp<std::int64_t>(xi + 1, r.x0, r.x1 - 1));
    const std::uint32_t* row0 =
        level.texels + std::size_t(std::clamp<std::int64_t>(yi, r.y0, r.y1 - 1)) * level.width;
    const std::uint32_t* row1 =
        level.texels + std::size_t(std::clamp<std::int64_t>(yi + 1, r.y0, r.y1 - 1)) * level.width;
    const std::uint32_t t00 = row0[x0], t10 = row0[x1], t01 = row1[x0], t11 = row1[x1];
    if (((t00 | t10 | t01 | t11) >> 24) == 0) continue;
    const std::uint32_t fu = std::uint32_t(u8 & 0xFF), fv = std::uint32_t(v8 & 0xFF);
    const __m128i wu = _mm_set1_epi32(int(fu << 16 | (256 - fu)));
    const __m128 top = _mm_cvtepi32_ps(_mm_madd_epi16(interleaveTexels(t00, t10), wu));
    const __m128 bottom = _mm_cvtepi32_ps(_mm_madd_epi16(interleaveTexels(t01, t11), wu));
    const __m128 sum = _mm_add_ps(_mm_add_ps(_mm_mul_ps(top, _mm_set1_ps(float(256 - fv))),
                                             _mm_mul_ps(bottom, _mm_set1_ps(float(fv)))),
                                  _mm_set1_ps(32768.0f));
    const __m128i texel32 = _mm_cvttps_epi32(_mm_mul_ps(sum, _mm_set1_ps(1.0f / 65536.0f)));
    const __m128i texel = _mm_packs_epi32(texel32, zero);
    const __m128i source = div255Lanes16(_mm_mullo_epi16(texel, colourLanes));
    const int alpha = _mm_extract_epi16(source, 3);
    if (alpha == 0) continue;
    if (alpha == 255) {
      row[x] = std::uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(source, zero)));
      continue;
    }
    const __m128i dest = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(row[x])), zero);
    const __m128i blended =
        div255Lanes16(_mm_add_epi16(_mm_mullo_epi16(source, _mm_set1_epi16(short(alpha))),
                                    _mm_mullo_epi16(dest, _mm_set1_epi16(short(255 - alpha)))));
    row[x] =
        std::uint32_t(_mm_cvtsi128_si32(_mm_or_si128(_mm_packus_epi16(blended, zero), alphaMask)));
  }
}
#endif

std::int64_t toFixed(double texels) { return std::llround(texels * 65536.0); }

}  // namespace

bool Renderer::create(int width, int height, bool /*lockable*/) {
  release();
  if (!sideOk(width) || !sideOk(height)) return false;
  backBuffer_ = std::make_shared<Texture>(width, height, false);
  backBuffer_->fill(0xFF000000u);
  filter_ = TextureFilter::Point;
  setProjection(float(width), float(height));
  setViewport(width, height);
  return true;
}

void Renderer::release() {
  backBuffer_.reset();
  renderTarget_.reset();
  texture_.reset();
  scissor_.reset();
  spans_.clear();
  recycled_.clear();
}

void Renderer::setProjection(float width, float height) {
  projectionWidth_ = width;
  projectionHeight_ = height;
}

void Renderer::setViewport(int width, int height) {
  viewportWidth_ = std::max(0, width);
  viewportHeight_ = std::max(0, height);
}

void Renderer::setRenderTarget(TexturePtr texture) {
  if (!isCreated()) return;
  if (texture && !texture->isRenderTarget()) return;  // only render textures can be targets
  renderTarget_ = std::move(texture);
  setViewport(target().width(), target().height());
}

TexturePtr Renderer::createTextureFromPixels(int width, int height, const void* pixels,
                                             PixelFormat format, int bitsPerPixel) {
  return makeTextureFromPixels(width, height, pixels, format, bitsPerPixel);
}

TexturePtr Renderer::createRenderTexture(int width, int height) {
  if (!sideOk(width) || !sideOk(height)) return nullptr;
  // A texture that only this list still holds is free to be handed out again.
  for (const TexturePtr& t : recycled_) {
    if (t.use_count() == 1 && t->width() == width && t->height() == height) {
      t->fill(0);
      return t;
    }
  }
  auto texture = std::make_shared<Texture>(width, height, true);
  constexpr std::size_t kKept = 4;
  if (recycled_.size() >= kKept) recycled_.erase(recycled_.begin());
  recycled_.push_back(texture);
  return texture;
}

PixelPoint Renderer::toPixels(WorldPoint p) const {
  return {(double(p.x) / projectionWidth_ + 0.5) * viewportWidth_,
          (0.5 - double(p.y) / projectionHeight_) * viewportHeight_};
}

PixelRect Renderer::writableRect() {
  const Texture& t = target();
  PixelRect r{0, 0, std::min(viewportWidth_, t.width()), std::min(viewportHeight_, t.height())};
  if (scissor_) {
    r.x0 = std::max(r.x0, scissor_->x0), r.y0 = std::max(r.y0, scissor_->y0);
    r.x1 = std::min(r.x1, scissor_->x1), r.y1 = std::min(r.y1, scissor_->y1);
  }
  return r;
}

void Renderer::beginFrame(std::uint32_t colour) {
  if (!isCreated()) return;
  Texture& t = target();
  const std::uint32_t value = t.isRenderTarget() ? colour : (colour | 0xFF000000u);
  const PixelRect r = writableRect();
  for (int y = r.y0; y < r.y1; ++y) {
    std::fill_n(t.pixels() + std::size_t(y) * t.width() + r.x0, std::max(0, r.x1 - r.x0), value);
  }
  t.invalidateMips();
}

void Renderer::endFrame() {
  if (isCreated() && presentHook_) presentHook_(backBuffer());
}

PixelView Renderer::backBuffer() const {
  if (!backBuffer_) return {};
  return {backBuffer_->width(), backBuffer_->height(), backBuffer_->pixels()};
}

void Renderer::quadTriangles(WorldPoint lt, WorldPoint lb, WorldPoint rt, WorldPoint rb,
                             const AtlasCell& c, Triangle (&out)[2]) const {
  const PixelPoint plt = toPixels(lt), plb = toPixels(lb), prt = toPixels(rt), prb = toPixels(rb);
  const double u0 = c.u, u1 = double(c.u) + c.du, v0 = c.v, v1 = double(c.v) + c.dv;
  out[0] = {{plb, plt, prb}, {u0, u0, u1}, {v1, v0, v1}};
  out[1] = {{plt, prb, prt}, {u0, u1, u1}, {v0, v1, v0}};
}

void Renderer::spansOf(Triangle& tri, const PixelRect& clip) {
  spans_.clear();
  if (clip.x1 <= clip.x0 || clip.y1 <= clip.y0) return;
  for (PixelPoint& p : tri.p) p = snapToSubpixel(p);
  coverTriangle(tri.p, clip.x1, clip.y1, spans_);
  // Cut away what lies before the clip's origin.
  std::size_t kept = 0;
  for (const Span& s : spans_) {
    if (s.y < clip.y0 || s.x1 <= clip.x0) continue;
    spans_[kept++] = {s.y, std::max(s.x0, clip.x0), s.x1};
  }
  spans_.resize(kept);
}

bool Renderer::drawQuad(WorldPoint lt, WorldPoint lb, WorldPoint rt, WorldPoint rb,
                        std::uint32_t colour, const AtlasCell& cell) {
  if (!isCreated()) return true;
  Texture& t = target();
  const bool keepAlpha = t.isRenderTarget();
  const PixelRect clip = writableRect();
  Triangle tris[2];
  quadTriangles(lt, lb, rt, rb, cell, tris);
  const Texture* tex = texture_.get();
  const TexelRect rect = tex ? texelRectOf(*tex, cell.u, cell.v, cell.du, cell.dv) : TexelRect{};
  for (Triangle& tri : tris) {
    spansOf(tri, clip);
    if (spans_.empty()) continue;
    if (!tex) {
      for (const Span& s : spans_) {
        std::uint32_t* row = t.pixels() + std::size_t(s.y) * t.width();
        shadeSpan(row, s, 0, 0, 0, 0, colour, keepAlpha,
                  [](std::int64_t, std::int64_t) { return 0xFFFFFFFFu; });
      }
      continue;
    }
    AffineMap mu, mv;
    const double us[3] = {tri.u[0] * tex->width() - 0.5, tri.u[1] * tex->width() - 0.5,
                          tri.u[2] * tex->width() - 0.5};
    const double vs[3] = {tri.v[0] * tex->height() - 0.5, tri.v[1] * tex->height() - 0.5,
                          tri.v[2] * tex->height() - 0.5};
    if (!affineMapOf(tri.p, us, mu) || !affineMapOf(tri.p, vs, mv)) continue;
    const SamplerSetup setup = prepareSampler(*tex, rect, filter_, mu.dx, mv.dx, mu.dy, mv.dy);
    const std::int64_t du = toFixed(mu.dx), dv = toFixed(mv.dx);
    for (const Span& s : spans_) {
      std::uint32_t* row = t.pixels() + std::size_t(s.y) * t.width();
      const std::int64_t u = toFixed(mu.at(s.x0 + 0.5, s.y + 0.5));
      const std::int64_t v = toFixed(mv.at(s.x0 + 0.5, s.y + 0.5));
      switch (setup.kind) {
        case SamplerSetup::Kind::Nearest:
          shadeSpan(row, s, u, v, du, dv, colour, keepAlpha, [&](std::int64_t a, std::int64_t b) {
            return sampleNearest(setup.level0, setup.rect, a, b);
          });
          break;
        case SamplerSetup::Kind::Bilinear:
#if defined(__SSE2__)
          shadeBilinearSpan(row, s, u, v, du, dv, colour, keepAlpha, setup);
#else
          shadeSpan(row, s, u, v, du, dv, colour, keepAlpha, [&](std::int64_t a, std::int64_t b) {
            return sampleBilinear<true>(setup.level0, setup.rect, a, b);
          });
#endif
          break;
        case SamplerSetup::Kind::Minified:
          shadeSpan(row, s, u, v, du, dv, colour, keepAlpha,
                    [&](std::int64_t a, std::int64_t b) { return sampleMinified(setup, a, b); });
          break;
      }
    }
  }
  t.invalidateMips();
  return true;
}

bool Renderer::drawOutline(WorldPoint lt, WorldPoint lb, WorldPoint rt, WorldPoint rb,
                           std::uint32_t colour) {
  if (!isCreated()) return true;
  Texture& t = target();
  const bool keepAlpha = t.isRenderTarget();
  const PixelRect clip = writableRect();
  if (clip.x1 <= clip.x0 || clip.y1 <= clip.y0) return true;
  const PixelPoint corners[5] = {toPixels(lt), toPixels(lb), toPixels(rb), toPixels(rt),
                                 toPixels(lt)};
  spans_.clear();
  for (int i = 0; i < 4; ++i) coverLine(corners[i], corners[i + 1], clip.x1, clip.y1, spans_);
  for (const Span& s : spans_) {
    if (s.y < clip.y0 || s.x0 < clip.x0) continue;
    std::uint32_t& pixel = t.pixels()[std::size_t(s.y) * t.width() + s.x0];
    const std::uint32_t alpha = colour >> 24;
    if (alpha == 255) {
      pixel = colour;
    } else if (alpha != 0) {
      pixel = blendOver(colour, pixel, keepAlpha);
    }
  }
  t.invalidateMips();
  return true;
}

void Renderer::blurPass(const TexturePtr& source, int pass, float h) {
  if (!isCreated() || !source) return;
  // Reading and writing the same texture would see half-blurred texels: read a copy.
  TexturePtr src = source;
  if (src == renderTarget_) {
    src = std::make_shared<Texture>(source->width(), source->height(), true);
    std::copy_n(source->pixels(), std::size_t(source->width()) * source->height(), src->pixels());
  }
  Texture& t = target();
  const PixelRect clip = writableRect();
  Triangle tris[2];
  quadTriangles({-h, h}, {-h, -h}, {h, h}, {h, -h}, AtlasCell{0, 0, 1, 1}, tris);
  BlurRows rows(*src);
  for (Triangle& tri : tris) {
    spansOf(tri, clip);
    if (spans_.empty()) continue;
    BlurPassSetup setup;
    setup.source = src.get();
    setup.pass = pass == 0 ? 0 : 1;
    setup.tapStep =
        setup.pass == 0 ? src->width() / double(blurWidth_) : src->height() / double(blurHeight_);
    const double us[3] = {tri.u[0] * src->width() - 0.5, tri.u[1] * src->width() - 0.5,
                          tri.u[2] * src->width() - 0.5};
    const double vs[3] = {tri.v[0] * src->height() - 0.5, tri.v[1] * src->height() - 0.5,
                          tri.v[2] * src->height() - 0.5};
    if (!affineMapOf(tri.p, us, setup.u) || !affineMapOf(tri.p, vs, setup.v)) continue;
    setup.minified =
        std::max(std::hypot(setup.u.dx, setup.v.dx), std::hypot(setup.u.dy, setup.v.dy)) > 1.0;
    shadeBlurSpans(setup, spans_, rows, t, t.isRenderTarget());
  }
}

bool Renderer::saveBackBuffer(const std::filesystem::path& path, ImageFormat format,
                              std::string* error) const {
  if (!backBuffer_) {
    if (error) *error = "no back buffer";
    return false;
  }
  Picture picture;
  picture.width = backBuffer_->width();
  picture.height = backBuffer_->height();
  picture.rgba.resize(std::size_t(picture.width) * picture.height * 4);
  const std::uint32_t* in = backBuffer_->pixels();
  for (std::size_t i = 0, n = std::size_t(picture.width) * picture.height; i < n; ++i) {
    picture.rgba[4 * i] = std::uint8_t(in[i] >> 16);
    picture.rgba[4 * i + 1] = std::uint8_t(in[i] >> 8);
    picture.rgba[4 * i + 2] = std::uint8_t(in[i]);
    picture.rgba[4 * i + 3] = 0xFF;
  }
  return writePictureFile(path, picture, format, false, error);
}

}  // namespace orvane
