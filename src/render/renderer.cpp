#include "render/renderer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/atomic_file.h"
#include "base/failure.h"
#include "render/blur.h"
#include "render/pixel_blend.h"
#include "render/render_bands.h"
#include "render/span_shader.h"

namespace orvane {
namespace {

bool sideOk(int side) { return side >= 1 && side <= kMaxTextureSide; }

// Sets `count` pixels to the value, four at a time where the processor can.
void fillPixels(std::uint32_t* out, int count, std::uint32_t value) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i four = _mm_set1_epi32(int(value));
  for (; i + 4 <= count; i += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), four);
#endif
  for (; i < count; ++i) out[i] = value;
}

}  // namespace

void Renderer::setShadingThreads(int threads) {
  shadingThreads_ = threads;
  if (deferred_) deferred_->limitThreads(threads);
}

bool Renderer::create(int width, int height, bool /*lockable*/) {
  dropFrame();
  if (!sideOk(width) || !sideOk(height)) return false;
  if (!deferred_) deferred_ = std::make_shared<DeferredShading>();
  deferred_->limitThreads(shadingThreads_);
  backBuffer_ = std::make_shared<Texture>(width, height, false);
  backBuffer_->fill(0xFF000000u);
  filter_ = TextureFilter::Point;
  setProjection(float(width), float(height));
  setViewport(width, height);
  return true;
}

void Renderer::settle() const {
  if (deferred_) deferred_->flush();
}

void Renderer::dropFrame() {
  settle();
  backBuffer_.reset();
  renderTarget_.reset();
  texture_.reset();
  scissor_.reset();
  spans_.clear();
}

void Renderer::release() {
  dropFrame();
  recycled_.clear();
  blurScratch_.release();
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
  settle();
  renderTarget_ = std::move(texture);
  setViewport(target().width(), target().height());
}

TexturePtr Renderer::createTextureFromPixels(int width, int height, const void* pixels,
                                             PixelFormat format, int bitsPerPixel) {
  return makeTextureFromPixels(width, height, pixels, format, bitsPerPixel);
}

TexturePtr Renderer::createRenderTexture(int width, int height, bool cleared) {
  if (!sideOk(width) || !sideOk(height)) return nullptr;
  settle();
  // A texture that only this list still holds is free to be handed out again.
  for (const TexturePtr& t : recycled_) {
    if (t.use_count() == 1 && t->width() == width && t->height() == height) {
      if (cleared) t->fill(0);
      return t;
    }
  }
  auto texture = std::make_shared<Texture>(width, height, true, cleared);
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
  settle();
  Texture& t = target();
  const std::uint32_t value = t.isRenderTarget() ? colour : (colour | 0xFF000000u);
  const PixelRect r = writableRect();
  std::uint32_t* pixels = t.pixels();
  for (int y = r.y0; y < r.y1; ++y) {
    fillPixels(pixels + std::size_t(y) * t.width() + r.x0, std::max(0, r.x1 - r.x0), value);
  }
  t.invalidateMips();
}

void Renderer::endFrame() {
  settle();
  if (isCreated() && presentHook_) presentHook_(backBuffer());
}

PixelView Renderer::backBuffer() const {
  if (!backBuffer_) return {};
  settle();
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
  const PixelRect clip = writableRect();
  if (clip.x1 <= clip.x0 || clip.y1 <= clip.y0) return true;
  Triangle tris[2];
  quadTriangles(lt, lb, rt, rb, cell, tris);
  const Texture* tex = texture_.get();
  const TexelRect rect = tex ? texelRectOf(*tex, cell.u, cell.v, cell.du, cell.dv) : TexelRect{};
  const TexturePtr targetPtr = renderTarget_ ? renderTarget_ : backBuffer_;
  for (Triangle& tri : tris) {
    for (PixelPoint& p : tri.p) p = snapToSubpixel(p);
    TriangleRows pieces[kMaxTrianglePieces];
    const int pieceCount = trianglePieces(tri.p, clip.x1, clip.y1, pieces);
    bool anyRow = false;
    for (int i = 0; i < pieceCount; ++i) {
      anyRow =
          anyRow || (pieces[i].firstRow() <= pieces[i].lastRow() && pieces[i].lastRow() >= clip.y0);
    }
    if (!anyRow) continue;
    DeferredShading::Job job;
    job.colour = colour, job.keepAlpha = t.isRenderTarget();
    job.opaque = (colour >> 24) == 255;
    if (tex) {
      AffineMap& mu = job.spans.u;
      AffineMap& mv = job.spans.v;
      const double us[3] = {tri.u[0] * tex->width() - 0.5, tri.u[1] * tex->width() - 0.5,
                            tri.u[2] * tex->width() - 0.5};
      const double vs[3] = {tri.v[0] * tex->height() - 0.5, tri.v[1] * tex->height() - 0.5,
                            tri.v[2] * tex->height() - 0.5};
      if (!affineMapOf(tri.p, us, mu) || !affineMapOf(tri.p, vs, mv)) continue;
      job.setup = prepareSampler(*tex, rect, filter_, mu.dx, mv.dx, mu.dy, mv.dy);
      // Texels that are all clear leave every pixel as it is; all opaque ones, under an opaque
      // colour, replace every pixel (filtering and modulating keep alpha 255 then).
      if (!job.setup.sheet->anyVisible()) continue;
      job.opaque = job.opaque && job.setup.sheet->allOpaque;
      job.texture = texture_;
      job.sampling = job.setup.kind == SamplerSetup::Kind::Nearest
                         ? DeferredShading::Sampling::Nearest
                         : DeferredShading::Sampling::Filtered;
      job.spans.du = toFixed(mu.dx), job.spans.dv = toFixed(mv.dx);
      job.spans.uLow = std::min({us[0], us[1], us[2]}),
      job.spans.uHigh = std::max({us[0], us[1], us[2]});
      job.spans.vLow = std::min({vs[0], vs[1], vs[2]}),
      job.spans.vHigh = std::max({vs[0], vs[1], vs[2]});
    }
    deferred_->add(targetPtr, std::move(job), pieces, pieceCount, clip.x0, clip.y0, clip.x1,
                   clip.y1);
  }
  t.invalidateMips();
  // A texture drawn into itself must see each quad's pixels before the next quad reads them.
  if (tex == &t) settle();
  return true;
}

bool Renderer::drawOutline(WorldPoint lt, WorldPoint lb, WorldPoint rt, WorldPoint rb,
                           std::uint32_t colour) {
  if (!isCreated()) return true;
  settle();
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
  settle();
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
  BlurRows rows(*src, blurScratch_);
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
    // Two bands of rows, each thread writing only its own; the pass reads another texture.
    std::size_t pixels = 0;
    for (const Span& s : spans_) pixels += std::size_t(s.x1 - s.x0);
    const Span* first = spans_.data();
    const Span* last = first + spans_.size();
    std::uint32_t* out = t.pixels();
    if (deferred_->worthTwoThreads(pixels)) {
      const Span* middle = first;
      for (std::size_t sum = 0; middle != last && 2 * sum < pixels; ++middle) {
        sum += std::size_t(middle->x1 - middle->x0);
      }
      deferred_->runOnTwoThreads([&](int band) {
        if (band == 0) {
          shadeBlurSpanRange(setup, first, middle, rows, out, t.width(), t.isRenderTarget());
        } else {
          shadeBlurSpanRange(setup, middle, last, rows, out, t.width(), t.isRenderTarget());
        }
      });
    } else {
      shadeBlurSpanRange(setup, first, last, rows, out, t.width(), t.isRenderTarget());
    }
    t.invalidateMips();
  }
}

bool Renderer::encodeBackBuffer(ImageFormat format, std::string& bytes, std::string* error) const {
  if (!backBuffer_) return fail(error, "no back buffer");
  settle();
  // Compressed on as many threads as this renderer shades with.
  static const bool twoCores = std::thread::hardware_concurrency() > 1;
  return encodePixels(backBuffer_->pixels(), backBuffer_->width(), backBuffer_->height(), format,
                      false, bytes, error, twoCores && shadingThreads_ > 1 ? 2 : 1);
}

bool Renderer::saveBackBuffer(const std::filesystem::path& path, ImageFormat format,
                              std::string* error) const {
  std::string bytes;
  return encodeBackBuffer(format, bytes, error) && saveFileAtomically(path, bytes, error);
}

}  // namespace orvane
