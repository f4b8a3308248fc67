#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "document/emblem_document.h"
#include "editing/edit_history.h"
#include "formats/parts_atlas.h"

namespace orvane {

using SelectionCallback = std::function<void(EmblemNode* selection, std::uint32_t userValue)>;

// What the editor keeps for the whole run, apart from its widgets: the one document, the parts
// atlas (loaded once), the path of the open file and the current selection with its
// notification channel. Plain C++, so the rules around the selection are tested headless.
class Application {
 public:
  // Loads the embedded parts atlas; the document starts empty (the main window makes it new).
  Application();
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  EmblemDocument& document() { return document_; }
  const EmblemDocument& document() const { return document_; }
  // The unpacked atlas; empty when the embedded resource could not be unpacked.
  const PartsAtlasBuffer& atlas() const { return atlas_; }

  // The open file; empty for an untitled emblem.
  const std::filesystem::path& currentFilePath() const { return currentFilePath_; }
  void setCurrentFilePath(std::filesystem::path path) { currentFilePath_ = std::move(path); }

  EmblemNode* currentSelection() const { return currentSelection_; }
  // Stores the selection (which may be none) and fires SelectionChanged with it, every time.
  void SetSelection(EmblemNode* node);
  // Adds a SelectionChanged callback in front of the others (the newest is called first); 0
  // and nothing registered for an empty callback.
  RegistrationId registerSelectionChanged(SelectionCallback callback, std::uint32_t userValue = 0);
  bool unregisterSelectionChanged(RegistrationId id);

  // The undo history. Every edit of the user's is recorded through recordEdit once it is
  // complete.
  EditHistory& history() { return history_; }
  // Records a completed edit as an undo step (see EditHistory::record) and tells the history's
  // observers. Returns true when a step was added or grown.
  bool recordEdit(const std::string& name, const std::string& mergeKey = {});
  // Undoes or redoes a step, selecting the node that was selected at that point.
  bool undo();
  bool redo();
  // Starts the history anew at the document as it is (after New and Open).
  void resetHistory();
  // Marks the document as saved as it is now.
  void markSaved();
  // Marks the document as differing from every saved state (a restored recovery copy).
  void markUnsaved();
  // Called after every change of the history (steps, undo, redo, save), for menus and titles.
  void setHistoryObserver(std::function<void()> observer) {
    historyObserver_ = std::move(observer);
  }

  // The main window's two document observers: Cleared makes the selection none, and so does
  // NodeRemoved of the selected node or of a node above it. Registered after the panes', so
  // they are called before them.
  void watchDocumentForSelection();

 private:
  struct Registration {
    RegistrationId id;
    SelectionCallback callback;
    std::uint32_t userValue;
  };

  EmblemDocument document_;
  PartsAtlasBuffer atlas_;
  std::filesystem::path currentFilePath_;
  EmblemNode* currentSelection_ = nullptr;
  std::vector<Registration> selectionChanged_;  // oldest first; fired from the back
  RegistrationId nextId_ = 1;
  int firingDepth_ = 0;
  std::vector<RegistrationId> documentRegistrations_;
  EditHistory history_{document_};
  std::function<void()> historyObserver_;
};

}  // namespace orvane
