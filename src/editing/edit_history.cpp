#include "editing/edit_history.h"

#include <utility>

namespace orvane {
namespace {

// What a node and its copy cost, roughly: the node itself, its name and the allocator's share.
std::size_t treeBytes(const EmblemNode* root) {
  std::size_t bytes = 0;
  if (root) {
    forEachInSubtree(root, [&](const EmblemNode* n) {
      bytes += sizeof(EmblemNode) + n->name().capacity() * sizeof(char16_t) + 32;
    });
  }
  return bytes;
}

bool sameNode(const EmblemNode* a, const EmblemNode* b) {
  return a->kind() == b->kind() && a->visible() == b->visible() && a->name() == b->name() &&
         a->childCount() == b->childCount() && a->info() == b->info() && a->layer() == b->layer() &&
         a->image() == b->image();
}

// Walks two trees in pre-order together, calling visit(node of a, node of b) for each pair while
// it returns true. The caller keeps the walks in step: visit must return false as soon as two
// nodes have different numbers of children.
template <typename A, typename Visit>
bool walkPairs(A* a, const EmblemNode* b, Visit&& visit) {
  A* x = a;
  const EmblemNode* y = b;
  while (x) {
    if (!visit(x, y)) return false;
    if (x->firstChild()) {
      x = x->firstChild();
      y = y->firstChild();
      continue;
    }
    while (x != a && !x->next()) {
      x = x->parent();
      y = y->parent();
    }
    if (x == a) break;
    x = x->next();
    y = y->next();
  }
  return true;
}

// Whether the two trees have the same kinds in the same places (records may differ).
bool sameShape(const EmblemNode* a, const EmblemNode* b) {
  if (!a || !b) return a == b;
  return walkPairs(a, b, [](const EmblemNode* x, const EmblemNode* y) {
    return x->kind() == y->kind() && x->childCount() == y->childCount();
  });
}

// Calls visit(node of a, node of b) for each pair, in pre-order; the shapes must agree.
template <typename Visit>
void forEachPair(EmblemNode* a, const EmblemNode* b, Visit&& visit) {
  walkPairs(a, b, [&](EmblemNode* x, const EmblemNode* y) {
    visit(x, y);
    return true;
  });
}

// A full copy of a tree, apart: unlike duplicate(), which gives every node but a layer an empty
// record, it keeps the info and image records as well.
NodePtr copyTree(const EmblemNode* root) {
  NodePtr copy = EmblemDocument::duplicate(root);
  if (copy) {
    forEachPair(copy.get(), root, [](EmblemNode* made, const EmblemNode* source) {
      if (source->kind() == NodeKind::Info) EmblemDocument::setInfo(made, source->info());
      if (source->kind() == NodeKind::Image) EmblemDocument::setImageRecord(made, source->image());
    });
  }
  return copy;
}

}  // namespace

bool sameTree(const EmblemNode* a, const EmblemNode* b) {
  if (!sameShape(a, b)) return false;
  if (!a) return true;
  bool same = true;
  forEachPair(const_cast<EmblemNode*>(a), b,
              [&](const EmblemNode* x, const EmblemNode* y) { same = same && sameNode(x, y); });
  return same;
}

EditHistory::EditHistory(EmblemDocument& document, std::size_t memoryBudget)
    : document_(document), memoryBudget_(memoryBudget) {
  reset();
}

EditHistory::~EditHistory() = default;

EditHistory::State EditHistory::snapshot() const {
  State state;
  state.tree = copyTree(document_.root());
  state.bytes = treeBytes(state.tree.get()) + sizeof(State);
  return state;
}

bool EditHistory::sameAsCurrent() const {
  return sameTree(document_.root(), states_[index_].tree.get());
}

void EditHistory::reset(const SelectionPath& selection) {
  states_.clear();
  states_.push_back(snapshot());
  states_.back().selection = selection;
  memoryUsed_ = states_.back().bytes;
  index_ = 0;
  savedIndex_ = 0;
  mergeOpen_ = false;
}

bool EditHistory::record(const std::string& name, const std::string& mergeKey) {
  if (sameAsCurrent()) return false;
  State now = snapshot();
  now.name = name;
  now.mergeKey = mergeKey;
  now.selection = states_[index_].selection;
  const bool merge = mergeOpen_ && !mergeKey.empty() && index_ > 0 &&
                     states_[index_].mergeKey == mergeKey && savedIndex_ != index_;
  if (merge) {
    memoryUsed_ -= states_[index_].bytes;
    memoryUsed_ += now.bytes;
    states_[index_].tree = std::move(now.tree);
    states_[index_].bytes = now.bytes;
  } else {
    // A new step drops everything that could have been redone.
    while (states_.size() > index_ + 1) {
      memoryUsed_ -= states_.back().bytes;
      states_.pop_back();
    }
    if (savedIndex_ && *savedIndex_ > index_) savedIndex_.reset();
    memoryUsed_ += now.bytes;
    states_.push_back(std::move(now));
    ++index_;
  }
  mergeOpen_ = !mergeKey.empty();
  trimToBudget();
  return true;
}

void EditHistory::noteSelection(const SelectionPath& selection) {
  if (!restoring_) states_[index_].selection = selection;
}

std::string EditHistory::undoName() const { return canUndo() ? states_[index_].name : ""; }

std::string EditHistory::redoName() const { return canRedo() ? states_[index_ + 1].name : ""; }

EditHistory::Move EditHistory::undo() {
  record("編集");  // an edit nobody recorded becomes a step of its own first
  if (!canUndo()) return {};
  --index_;
  restore(states_[index_]);
  mergeOpen_ = false;
  return {true, states_[index_].selection};
}

EditHistory::Move EditHistory::redo() {
  if (!sameAsCurrent() || !canRedo()) return {};
  ++index_;
  restore(states_[index_]);
  mergeOpen_ = false;
  return {true, states_[index_].selection};
}

void EditHistory::restore(const State& state) {
  restoring_ = true;
  EmblemNode* root = document_.root();
  if (root && state.tree && sameShape(root, state.tree.get())) {
    // The same nodes in the same places: put back the records, names and visibility in place,
    // so the views keep their entries and the picture is drawn once.
    document_.fire(DocumentEvent::UpdateBegins, 0);
    forEachPair(root, state.tree.get(), [](EmblemNode* node, const EmblemNode* kept) {
      if (node->name() != kept->name()) EmblemDocument::setName(node, kept->name());
      if (node->visible() != kept->visible()) EmblemDocument::setVisible(node, kept->visible());
      if (node->layer() != kept->layer()) EmblemDocument::setLayerRecord(node, kept->layer());
      if (node->info() != kept->info()) EmblemDocument::setInfo(node, kept->info());
      if (node->image() != kept->image()) EmblemDocument::setImageRecord(node, kept->image());
    });
    document_.fire(DocumentEvent::UpdateEnds, 1);
  } else if (state.tree) {
    EmblemDocument copy;
    copy.setRoot(copyTree(state.tree.get()));
    document_.takeContentFrom(copy);
  } else {
    document_.clear();
  }
  restoring_ = false;
}

bool EditHistory::isModified() const { return savedIndex_ != index_; }

void EditHistory::markSaved() {
  record("編集");
  savedIndex_ = index_;
  mergeOpen_ = false;
}

void EditHistory::trimToBudget() {
  // The oldest steps go first; the point the document is at always stays.
  while (memoryUsed_ > memoryBudget_ && index_ > 0) {
    memoryUsed_ -= states_.front().bytes;
    states_.erase(states_.begin());
    --index_;
    if (savedIndex_)
      savedIndex_ = *savedIndex_ == 0 ? std::nullopt : std::optional(*savedIndex_ - 1);
  }
}

}  // namespace orvane
