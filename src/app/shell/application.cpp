#include "app/shell/application.h"

#include <utility>

#include "resources/embedded_parts_atlas.h"

namespace orvane {

Application::Application() { loadEmbeddedPartsAtlas(atlas_); }

Application::~Application() {
  for (RegistrationId id : documentRegistrations_) document_.unregisterCallback(id);
  // The document's own destructor fires Cleared; nobody of ours listens any more.
  selectionChanged_.clear();
}

void Application::SetSelection(EmblemNode* node) {
  currentSelection_ = node;
  history_.noteSelection(node ? SelectionPath(pathOf(node)) : std::nullopt);
  ++firingDepth_;
  // Newest first; callbacks added while firing land past `i` and wait for the next change.
  for (std::size_t i = selectionChanged_.size(); i-- > 0;) {
    if (!selectionChanged_[i].callback) continue;
    SelectionCallback callback = selectionChanged_[i].callback;  // survives unregistering
    callback(node, selectionChanged_[i].userValue);
  }
  if (--firingDepth_ == 0) {
    std::erase_if(selectionChanged_, [](const Registration& r) { return !r.callback; });
  }
}

RegistrationId Application::registerSelectionChanged(SelectionCallback callback,
                                                     std::uint32_t userValue) {
  if (!callback) return 0;
  const RegistrationId id = nextId_++;
  selectionChanged_.push_back({id, std::move(callback), userValue});
  return id;
}

bool Application::unregisterSelectionChanged(RegistrationId id) {
  for (Registration& registration : selectionChanged_) {
    if (registration.id != id || !registration.callback) continue;
    registration.callback = nullptr;  // removed once no firing is under way
    if (firingDepth_ == 0) {
      std::erase_if(selectionChanged_, [](const Registration& r) { return !r.callback; });
    }
    return true;
  }
  return false;
}

bool Application::recordEdit(const std::string& name, const std::string& mergeKey) {
  const bool changed = history_.record(name, mergeKey);
  if (changed && historyObserver_) historyObserver_();
  return changed;
}

bool Application::undo() {
  const EditHistory::Move move = history_.undo();
  if (!move.done) return false;
  SetSelection(move.selection ? nodeAt(document_.root(), *move.selection) : nullptr);
  if (historyObserver_) historyObserver_();
  return true;
}

bool Application::redo() {
  const EditHistory::Move move = history_.redo();
  if (!move.done) return false;
  SetSelection(move.selection ? nodeAt(document_.root(), *move.selection) : nullptr);
  if (historyObserver_) historyObserver_();
  return true;
}

void Application::resetHistory() {
  history_.reset(currentSelection_ ? SelectionPath(pathOf(currentSelection_)) : std::nullopt);
  if (historyObserver_) historyObserver_();
}

void Application::markSaved() {
  history_.markSaved();
  if (historyObserver_) historyObserver_();
}

void Application::markUnsaved() {
  history_.markUnsaved();
  if (historyObserver_) historyObserver_();
}

void Application::watchDocumentForSelection() {
  documentRegistrations_.push_back(document_.registerCallback(
      DocumentEvent::Cleared,
      [this](const DocumentEventArgs&, std::uint32_t) { SetSelection(nullptr); }));
  documentRegistrations_.push_back(document_.registerCallback(
      DocumentEvent::NodeRemoved, [this](const DocumentEventArgs& args, std::uint32_t) {
        // A removed subtree takes the selection with it: destroy() reports children first,
        // but a detached subtree is reported by its top node alone.
        if (currentSelection_ && args.node && args.node->contains(currentSelection_)) {
          SetSelection(nullptr);
        }
      }));
}

}  // namespace orvane
