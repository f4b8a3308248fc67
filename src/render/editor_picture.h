#pragma once

#include <cstdint>
#include <span>

#include "document/emblem_document.h"
#include "render/renderer.h"

namespace orvane {

// The drawing pane's picture: 768 x 384 pixels at 4 pixels per emblem unit.
inline constexpr int kEditorPaneWidth = 768;
inline constexpr int kEditorPaneHeight = 384;
inline constexpr float kEditorScale = 4.0f;
inline constexpr std::uint32_t kSelectionColour = 0xFF00C000;
inline constexpr std::uint32_t kFrameColour = 0xFFCC8800;

// The three settings a repaint reads.
struct EditorPictureSettings {
  bool colourConversion = true;  // "ColorConvert"
  bool blur = false;             // "GaussianBlur"
  bool viewerMode = false;       // "ViewerMode": no selection highlight, no frame
  // Device pixels per pane pixel: a sharp picture on a high-density screen is drawn at
  // 4 x pixelRatio pixels per unit into a renderer made that much larger.
  int pixelRatio = 1;
};

// Makes the pane's renderer: a 768 x 384 back buffer (times pixelRatio on each side), filtered
// sampling and the parts atlas (1024 x 2048 A4R4G4B4 texels) bound. False when the atlas has the
// wrong size.
bool setUpEditorRenderer(Renderer& renderer, std::span<const std::uint16_t> atlas,
                         int pixelRatio = 1);

// One repaint: the background and the emblem (blurred when asked), then, unless in viewer mode,
// the selection highlight and the emblem frame; ends the frame (the present hook gets it).
void drawEditorPicture(Renderer& renderer, const EmblemDocument& document,
                       const EmblemNode* selection, const EditorPictureSettings& settings);

// Handles on the four corners of the selection (a layer's effective vertices, or the bounding
// box of a group's or the root's layers) and the outline through them; nothing for an image
// node, an empty group or no selection.
void drawSelectionHighlight(Renderer& renderer, const EmblemNode* selection, float scale);

// The orange frame around the emblem's width x height area, drawn on the outermost pixels of
// that area. Nothing when the root is missing or not an info node.
void drawEmblemFrame(Renderer& renderer, const EmblemDocument& document, float scale);

}  // namespace orvane
