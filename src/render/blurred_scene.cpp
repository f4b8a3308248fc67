#include "render/blurred_scene.h"

#include <algorithm>
#include <cmath>

#include "render/blur.h"

namespace orvane {
namespace {

// Texel interval [first, last] of an N-texel axis that covers the picture interval of world
// coordinates [-half, half] through the quad [-h, h], widened by `margin` texels; the whole axis
// when it would leave the texture (wrap addressing reads the far side then).
void neededTexels(double half, double h, int n, int margin, int& first, int& last) {
  const double lo = (h - half) / (2 * h) * n - 0.5;
  const double hi = (h + half) / (2 * h) * n - 0.5;
  first = int(std::floor(lo)) - margin;
  last = int(std::ceil(hi)) + margin;
  if (first < 0 || last >= n) first = 0, last = n - 1;
}

}  // namespace

bool drawBlurredScene(Renderer& renderer, float g, float h,
                      const std::function<void()>& drawScene) {
  if (!renderer.isCreated() || !(g >= 1.0f) || !(g < float(kMaxBlurSide) + 1.0f)) return false;
  const int n = static_cast<int>(g);
  // Uncleared: the scissors below keep every read within texels written first.
  const TexturePtr a = renderer.createRenderTexture(n, n, false);
  const TexturePtr b = renderer.createRenderTexture(n, n, false);
  if (!a || !b) return false;
  const TexturePtr atlas = renderer.currentTexture();
  const PixelView picture = renderer.backBuffer();

  // What the last pass reads of B: the picture's footprint, the vertical taps and a texel
  // for bilinear reads; and what the first pass reads of A: that, the horizontal taps.
  const int reach = int(std::ceil(kBlurTaps / 2 * (n / double(g)))) + 1;
  int bx0, bx1, by0, by1, ax0, ax1;
  neededTexels(picture.width / 2.0, h, n, 1, bx0, bx1);
  neededTexels(picture.height / 2.0, h, n, reach, by0, by1);
  neededTexels(picture.width / 2.0, h, n, 1 + reach, ax0, ax1);
  const int ay0 = std::max(0, by0 - 1), ay1 = std::min(n - 1, by1 + 1);

  renderer.setBlurSize(g, g);
  renderer.setRenderTarget(a);
  renderer.setProjection(g, g);
  renderer.setViewport(n, n);
  renderer.setScissor(PixelRect{ax0, ay0, ax1 + 1, ay1 + 1});
  drawScene();

  renderer.setRenderTarget(b);
  renderer.setScissor(PixelRect{bx0, by0, bx1 + 1, by1 + 1});
  renderer.blurPass(a, 0, h);

  renderer.setScissor(std::nullopt);
  renderer.setTexture(atlas);
  renderer.setRenderTarget(nullptr);
  renderer.setProjection(float(picture.width), float(picture.height));
  renderer.setViewport(picture.width, picture.height);
  renderer.blurPass(b, 1, h);
  renderer.setTexture(atlas);
  return true;
}

}  // namespace orvane
