#include "panes/details/details_pane.h"

#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/shell/application.h"
#include "panes/details/group_page.h"
#include "panes/details/image_page.h"
#include "panes/details/info_page.h"
#include "panes/details/layer_page.h"

namespace orvane {

DetailsPane::DetailsPane(Application& application,
                         std::array<PaletteColour, kPaletteColours>& customColours, QWidget* parent)
    : QWidget(parent), application_(application) {
  stack_ = new QStackedWidget(this);
  info_ = new InfoPage(application_);
  group_ = new GroupPage(application_);
  layer_ = new LayerPage(application_, customColours);
  image_ = new ImagePage(application_);
  for (QWidget* page : std::initializer_list<QWidget*>{info_, group_, layer_, image_}) {
    stack_->addWidget(page);
  }
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(stack_);
  watchDocument();
  showPageOf(application_.currentSelection());
}

DetailsPane::~DetailsPane() {
  for (RegistrationId id : documentRegistrations_) application_.document().unregisterCallback(id);
  application_.unregisterSelectionChanged(selectionRegistration_);
}

void DetailsPane::watchDocument() {
  EmblemDocument& document = application_.document();
  auto on = [&](DocumentEvent event, auto reaction) {
    documentRegistrations_.push_back(document.registerCallback(
        event, [reaction](const DocumentEventArgs& args, std::uint32_t) { reaction(args); }));
  };
  // Names change from the pages, and also through undo and the layer pane.
  for (DocumentEvent event : {DocumentEvent::InfoChanged, DocumentEvent::GroupChanged,
                              DocumentEvent::LayerChanged, DocumentEvent::NameChanged}) {
    on(event, [this](const DocumentEventArgs& args) { refill(args.node); });
  }
  // The header page counts the layers.
  for (DocumentEvent event : {DocumentEvent::NodeAdded, DocumentEvent::NodeRemoved}) {
    on(event, [this](const DocumentEventArgs&) {
      const EmblemNode* shown = application_.currentSelection();
      if (shown && shown->kind() == NodeKind::Info) refill(shown);
    });
  }
  selectionRegistration_ = application_.registerSelectionChanged(
      [this](EmblemNode* selection, std::uint32_t) { showPageOf(selection); });
}

PropertyPage* DetailsPane::pageFor(NodeKind kind) const {
  switch (kind) {
    case NodeKind::Info:
      return info_;
    case NodeKind::Group:
      return group_;
    case NodeKind::Layer:
      return layer_;
    case NodeKind::Image:
      break;
  }
  return image_;
}

PropertyPage* DetailsPane::shownPage() const {
  return stack_->isHidden() ? nullptr : static_cast<PropertyPage*>(stack_->currentWidget());
}

void DetailsPane::showPageOf(EmblemNode* node) {
  if (!node) {
    stack_->hide();
    return;
  }
  PropertyPage* page = pageFor(node->kind());
  // A newly selected node (or the same one after an undo) is shown as it is stored, whatever
  // was being typed.
  page->forgetTyping();
  page->fill(*node);
  stack_->setCurrentWidget(page);
  stack_->show();
}

void DetailsPane::refill(const EmblemNode* node) {
  if (!node || node != application_.currentSelection()) return;
  pageFor(node->kind())->fill(*node);
}

}  // namespace orvane
