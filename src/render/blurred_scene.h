#pragma once

#include <functional>

#include "render/renderer.h"

namespace orvane {

// Draws a scene blurred into the back buffer, the way the editor and the export do it: the scene
// is rendered with projection g x g into an N x N render texture A (N = trunc(g)), blurred
// along x into a second one B (blurPass 0 over the quad of half size h), and B is blurred along
// y into the back buffer (blurPass 1) with the back buffer's own projection and viewport, so
// that the middle of the blurred square lands on the picture one texel per pixel. The tap
// offsets are measured in g ("g_width" = "g_height" = g).
//
// Only what reaches the back buffer is computed: a scissor limits A and B to the texels that
// the following passes read (the picture's footprint plus the taps' reach), or to whole rows or
// columns where that footprint wraps around the texture's edge.
//
// `drawScene` clears and draws; the caller's bound texture is bound again afterwards and the
// target, projection and viewport are those of the back buffer. False (nothing drawn) when the
// render textures cannot be made (N outside 1 ... kMaxBlurSide).
inline constexpr int kMaxBlurSide = 8192;
bool drawBlurredScene(Renderer& renderer, float g, float h, const std::function<void()>& drawScene);

}  // namespace orvane
