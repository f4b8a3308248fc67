#include "panes/details/colour_chooser.h"

#include <QColorDialog>
#include <algorithm>

namespace orvane {

std::optional<QColor> chooseColour(QWidget* owner, const QColor& initial,
                                   std::array<PaletteColour, kPaletteColours>& customColours) {
  // Qt keeps one set of custom colours for the whole program; ours are put in before each
  // opening, so another chooser in between cannot change what this one offers.
  const int shared = std::min(QColorDialog::customCount(), kPaletteColours);
  for (int i = 0; i < shared; ++i) {
    const PaletteColour& c = customColours[std::size_t(i)];
    QColorDialog::setCustomColor(i, QColor(c.red, c.green, c.blue));
  }
  QColorDialog dialog(initial, owner);
  dialog.setWindowTitle(QStringLiteral("色の設定"));
  // Qt's own dialog everywhere, so the custom colours behave alike on every desktop.
  dialog.setOption(QColorDialog::DontUseNativeDialog);
  const bool chosen = dialog.exec() == QDialog::Accepted;
  for (int i = 0; i < shared; ++i) {
    const QColor c = QColorDialog::customColor(i);
    customColours[std::size_t(i)] = {std::uint8_t(c.red()), std::uint8_t(c.green()),
                                     std::uint8_t(c.blue())};
  }
  if (!chosen) return std::nullopt;
  return dialog.selectedColor();
}

}  // namespace orvane
