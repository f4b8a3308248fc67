#pragma once

#include <QWidget>
#include <array>
#include <vector>

#include "app/shell/settings_file.h"
#include "document/emblem_document.h"

class QStackedWidget;

namespace orvane {

class Application;
class GroupPage;
class ImagePage;
class InfoPage;
class LayerPage;
class PropertyPage;

// The property pages of the selected node, one at a time in a stacked area: the emblem's header
// for the root, a layer's part, colour and vertices, a group's name, an image's (empty) page.
// The page of the selection follows SelectionChanged and is filled again whenever the document
// reports a change of the node it shows; nothing is shown without a selection.
class DetailsPane : public QWidget {
  Q_OBJECT
 public:
  // `customColours` are the colour chooser's custom colours, kept for the whole run and saved
  // with the settings.
  DetailsPane(Application& application, std::array<PaletteColour, kPaletteColours>& customColours,
              QWidget* parent = nullptr);
  ~DetailsPane() override;

  InfoPage* infoPage() const { return info_; }
  GroupPage* groupPage() const { return group_; }
  LayerPage* layerPage() const { return layer_; }
  ImagePage* imagePage() const { return image_; }
  // The page on show, or nullptr when nothing is selected.
  PropertyPage* shownPage() const;

 private:
  void watchDocument();
  void showPageOf(EmblemNode* node);
  // Fills the page again when `node` is the one it shows.
  void refill(const EmblemNode* node);
  PropertyPage* pageFor(NodeKind kind) const;

  Application& application_;
  QStackedWidget* stack_;
  InfoPage* info_;
  GroupPage* group_;
  LayerPage* layer_;
  ImagePage* image_;
  std::vector<RegistrationId> documentRegistrations_;
  RegistrationId selectionRegistration_ = 0;
};

}  // namespace orvane
