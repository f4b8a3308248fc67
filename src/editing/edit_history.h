#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "document/emblem_document.h"
#include "editing/node_path.h"

namespace orvane {

// A selection as the history keeps it: the selected node's place, or none.
using SelectionPath = std::optional<NodePath>;

// The undo history of one document. It keeps copies of the whole tree at each recorded point
// (emblems are small), so undo and redo put back exactly what was there, whatever the edit was,
// with no inverse operation to get wrong. Edits change the document as they always do; the
// editor calls record() once an edit is complete (a drag released, a key typed, a node added),
// and the history compares the tree with the last recorded one.
class EditHistory {
 public:
  static constexpr std::size_t kDefaultMemoryBudget = std::size_t{32} << 20;

  explicit EditHistory(EmblemDocument& document, std::size_t memoryBudget = kDefaultMemoryBudget);
  ~EditHistory();
  EditHistory(const EditHistory&) = delete;
  EditHistory& operator=(const EditHistory&) = delete;

  // Forgets every step and takes the document as it is now as both the start and the saved
  // point (after New and Open).
  void reset(const SelectionPath& selection = std::nullopt);
  // Records a completed edit named `name` (shown in the Edit menu). A step that changed nothing
  // leaves no entry. When `mergeKey` is not empty and equals the top step's key, the edit joins
  // that step (typing in one field, nudging one node), unless that step is the saved point.
  // Returns true when the history changed. Changes made and not recorded before undo is asked
  // for are recorded then, as one step.
  bool record(const std::string& name, const std::string& mergeKey = {});
  // Ends merging into the top step (the focus left a field).
  void closeMerging() { mergeOpen_ = false; }
  // Tells the history which node is selected, so that going back to this point selects it again.
  void noteSelection(const SelectionPath& selection);

  bool canUndo() const { return index_ > 0; }
  bool canRedo() const { return index_ + 1 < states_.size(); }
  // The names of the steps undo and redo would take back or do again.
  std::string undoName() const;
  std::string redoName() const;
  // Puts the document back as it was before the last step (or after the next one); the path
  // returned is the node that was selected then. Nothing when there is no such step.
  struct Move {
    bool done = false;        // false: there was no such step
    SelectionPath selection;  // the node to select now
  };
  Move undo();
  Move redo();

  // The document differs from the last save (or open).
  bool isModified() const;
  // The document as it is now has been saved.
  void markSaved();
  // No point of the history is saved (a copy restored after a crash).
  void markUnsaved() { savedIndex_.reset(); }
  // The bytes the kept copies take, roughly.
  std::size_t memoryUsed() const { return memoryUsed_; }
  std::size_t stepCount() const { return states_.empty() ? 0 : states_.size() - 1; }

 private:
  struct State {
    NodePtr tree;             // a copy of the whole tree, or none for an empty document
    std::string name;         // the step that led here
    std::string mergeKey;     // its merge key
    SelectionPath selection;  // the selection while the document was at this point
    std::size_t bytes = 0;
  };

  State snapshot() const;
  bool sameAsCurrent() const;
  void restore(const State& state);
  void trimToBudget();

  EmblemDocument& document_;
  std::size_t memoryBudget_;
  std::vector<State> states_;  // states_[index_] is what the document holds when recorded
  std::size_t index_ = 0;
  std::optional<std::size_t> savedIndex_;  // none once the saved state was trimmed or dropped
  std::size_t memoryUsed_ = 0;
  bool mergeOpen_ = false;
  bool restoring_ = false;
};

// Whether two trees hold the same nodes with the same names, visibility and records.
bool sameTree(const EmblemNode* a, const EmblemNode* b);

}  // namespace orvane
