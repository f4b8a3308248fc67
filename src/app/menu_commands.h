#pragma once

namespace orvane {

// The editor's command numbers. Every menu action carries its number (QAction::data and an
// object name "command<number>"), so tests and the panes find actions by number.
enum class Command : int {
  New = 40011,
  Open = 40012,
  Save = 40013,
  SaveAs = 40014,
  Exit = 40015,
  AlwaysOnTop = 40016,
  Version = 40018,
  BlockArt = 40066,
  BatchConversion = 40068,
  ColourCorrection = 40070,
  ViewerMode = 40074,
  RandomArt = 40076,
  Blur = 40105,
  // Beyond the original menus: the Edit menu.
  Undo = 40201,
  Redo = 40202,
};

}  // namespace orvane
