#include "document/emblem_document.h"

#include <utility>

#include "base/utf.h"

namespace orvane {
namespace {

// Node notifications go to the document that owns the node; apart nodes change silently.
void fireOnOwner(DocumentEvent event, EmblemNode* node) {
  if (node && node->owner()) node->owner()->fire(event, node);
}

}  // namespace

EmblemDocument::EmblemDocument() = default;

EmblemDocument::~EmblemDocument() {
  clear();
  for (Channel& channel : channels_) channel.registrations.clear();
}

// --- notifications ---

RegistrationId EmblemDocument::registerCallback(DocumentEvent event, DocumentCallback callback,
                                                std::uint32_t userValue) {
  if (!callback) return 0;
  const RegistrationId id = nextId_++;
  channels_[static_cast<int>(event)].registrations.push_back({id, std::move(callback), userValue});
  return id;
}

bool EmblemDocument::unregisterCallback(RegistrationId id) {
  for (Channel& channel : channels_) {
    for (Registration& registration : channel.registrations) {
      if (registration.id == id && registration.callback) {
        // Cleared now, removed once no notification is running, so that a callback may
        // unregister itself or others while its channel is being fired.
        registration.callback = nullptr;
        needsCompaction_ = true;
        if (firingDepth_ == 0) compactChannels();
        return true;
      }
    }
  }
  return false;
}

void EmblemDocument::compactChannels() {
  for (Channel& channel : channels_) {
    std::erase_if(channel.registrations, [](const Registration& r) { return !r.callback; });
  }
  needsCompaction_ = false;
}

bool EmblemDocument::isEnabled(DocumentEvent event) const {
  return channels_[static_cast<int>(event)].enabled;
}

void EmblemDocument::setEnabled(DocumentEvent event, bool enabled) {
  channels_[static_cast<int>(event)].enabled = enabled;
}

void EmblemDocument::fire(DocumentEvent event, std::int32_t value) {
  fireArgs({event, nullptr, value});
}

void EmblemDocument::fire(DocumentEvent event, EmblemNode* node) { fireArgs({event, node, 0}); }

void EmblemDocument::fireArgs(const DocumentEventArgs& args) {
  Channel& channel = channels_[static_cast<int>(args.event)];
  if (!channel.enabled) return;
  ++firingDepth_;
  // Newest first. Registrations added by a callback land past `i` and wait for the next event;
  // indices stay valid because removal is deferred until no event is running.
  for (std::size_t i = channel.registrations.size(); i-- > 0;) {
    Registration& registration = channel.registrations[i];
    if (registration.callback) {
      DocumentCallback callback = registration.callback;  // survives self-unregistration
      callback(args, registration.userValue);
    }
  }
  if (--firingDepth_ == 0 && needsCompaction_) compactChannels();
}

// --- the tree ---

bool EmblemDocument::newDocument(std::u16string_view name, std::int32_t width,
                                 std::int32_t height) {
  clear();
  NodePtr info = makeNode(this, NodeKind::Info, name.empty() ? kUntitledName : name);
  if (!info) return false;
  EmblemNode* node = info.get();
  root_ = std::move(info);
  setInfo(node, EmblemInfo{0, width, height, 0});
  fire(DocumentEvent::NodeAdded, node);
  return true;
}

void EmblemDocument::clear() {
  if (root_) {
    MutedEvents quiet(this, {DocumentEvent::NodeRemoved});
    while (root_->firstChild_) destroy(root_->firstChild_);
    root_->owner_ = nullptr;
    root_.reset();
  }
  fire(DocumentEvent::Cleared, 0);
}

bool EmblemDocument::setRoot(NodePtr node) {
  if (root_ || !node || node->kind_ != NodeKind::Info || node->parent_) return false;
  EmblemNode* raw = node.get();
  root_ = std::move(node);
  forEachInSubtree(raw, [this](EmblemNode* n) { n->owner_ = this; });
  fire(DocumentEvent::NodeAdded, raw);
  return true;
}

NodePtr EmblemDocument::takeRoot() {
  if (root_) forEachInSubtree(root_.get(), [](EmblemNode* n) { n->owner_ = nullptr; });
  return std::move(root_);
}

bool EmblemDocument::takeContentFrom(EmblemDocument& source) {
  if (&source == this || !source.root_) return false;
  NodePtr tree = source.takeRoot();
  fire(DocumentEvent::UpdateBegins, 0);
  clear();
  setRoot(std::move(tree));
  fire(DocumentEvent::UpdateEnds, 1);
  return true;
}

NodePtr EmblemDocument::makeNode(EmblemDocument* owner, NodeKind kind, std::u16string_view name,
                                 bool visible) {
  NodePtr node(new EmblemNode(owner, kind, name));
  node->visible_ = visible;
  return node;
}

bool EmblemDocument::setName(EmblemNode* node, std::u16string_view name) {
  if (!node) return false;
  node->name_ = std::u16string(cutUtf16(name, kMaxNameUnits));
  fireOnOwner(DocumentEvent::NameChanged, node);
  return true;
}

bool EmblemDocument::getInfo(const EmblemNode* node, EmblemInfo& info) {
  if (!node || node->kind_ != NodeKind::Info) return false;
  info = node->info_;
  return true;
}

bool EmblemDocument::setInfo(EmblemNode* node, const EmblemInfo& info) {
  if (!node || node->kind_ != NodeKind::Info) return false;
  node->info_ = info;
  fireOnOwner(DocumentEvent::InfoChanged, node);
  return true;
}

bool EmblemDocument::setGroupData(EmblemNode* node) {
  if (!node || node->kind_ != NodeKind::Group) return false;
  fireOnOwner(DocumentEvent::GroupChanged, node);
  return true;
}

bool EmblemDocument::setLayerRecord(EmblemNode* node, const LayerRecord& record) {
  if (!node || node->kind_ != NodeKind::Layer) return false;
  node->layer_ = record;
  fireOnOwner(DocumentEvent::LayerChanged, node);
  return true;
}

bool EmblemDocument::setVisible(EmblemNode* node, bool visible) {
  if (!node) return false;
  node->visible_ = visible;
  if (const auto event = changeEventOf(node->kind_)) fireOnOwner(*event, node);
  return true;
}

bool EmblemDocument::setImageRecord(EmblemNode* node, const ImageRecord& record) {
  if (!node || node->kind_ != NodeKind::Image) return false;
  node->image_ = record;
  return true;
}

bool EmblemDocument::canAttach(Place place, const EmblemNode* anchor,
                               const EmblemNode* node) const {
  if (!anchor || !node || node == root_.get()) return false;
  const EmblemNode* newParent = place == Place::After ? anchor->parent_ : anchor;
  if (!newParent) return false;  // nothing can become a sibling of a root
  // A node cannot move into its own subtree, nor next to itself.
  return !node->contains(newParent) && anchor != node;
}

void EmblemDocument::unlink(EmblemNode* node) {
  EmblemNode* parent = node->parent_;
  EmblemDocument* owner = node->owner_;
  // The row is only worth finding when somebody will hear of it.
  const bool told = owner && owner->isEnabled(DocumentEvent::NodeRemoved);
  const std::size_t row = told ? node->indexInParent() : 0;
  parent->unlinkChild(node);
  if (told) owner->fireArgs({DocumentEvent::NodeRemoved, node, 0, parent, row});
  node->owner_ = nullptr;
}

bool EmblemDocument::attach(Place place, EmblemNode* anchor, EmblemNode* node) {
  if (node->parent_) unlink(node);

  switch (place) {
    case Place::LastChild:
      anchor->linkLast(node);
      break;
    case Place::FirstChild:
      anchor->linkFirst(node);
      break;
    case Place::After:
      anchor->parent_->linkAfter(anchor, node);
      break;
  }
  // The whole subtree takes the new place's owner.
  EmblemDocument* owner = anchor->owner_;
  forEachInSubtree(node, [owner](EmblemNode* n) { n->owner_ = owner; });
  fireOnOwner(DocumentEvent::NodeAdded, node);
  return true;
}

bool EmblemDocument::appendChild(EmblemNode* parent, EmblemNode* node) {
  if (!node || !node->parent_ || !canAttach(Place::LastChild, parent, node)) return false;
  return attach(Place::LastChild, parent, node);
}

bool EmblemDocument::prependChild(EmblemNode* parent, EmblemNode* node) {
  if (!node || !node->parent_ || !canAttach(Place::FirstChild, parent, node)) return false;
  return attach(Place::FirstChild, parent, node);
}

bool EmblemDocument::insertAfter(EmblemNode* sibling, EmblemNode* node) {
  if (!node || !node->parent_ || !canAttach(Place::After, sibling, node)) return false;
  return attach(Place::After, sibling, node);
}

bool EmblemDocument::appendChild(EmblemNode* parent, NodePtr&& node) {
  if (!node || node->parent_ || !canAttach(Place::LastChild, parent, node.get())) return false;
  return attach(Place::LastChild, parent, node.release());
}

bool EmblemDocument::prependChild(EmblemNode* parent, NodePtr&& node) {
  if (!node || node->parent_ || !canAttach(Place::FirstChild, parent, node.get())) return false;
  return attach(Place::FirstChild, parent, node.release());
}

bool EmblemDocument::insertAfter(EmblemNode* sibling, NodePtr&& node) {
  if (!node || node->parent_ || !canAttach(Place::After, sibling, node.get())) return false;
  return attach(Place::After, sibling, node.release());
}

NodePtr EmblemDocument::detach(EmblemNode* node) {
  if (!node || !node->parent_) return nullptr;
  unlink(node);
  return NodePtr(node);
}

void EmblemDocument::destroy(EmblemNode* node) {
  // Apart nodes belong to the NodePtr that holds them and are freed by dropping it.
  if (!node || (!node->parent_ && node != root_.get())) return;
  // Children before their parent, first child first, deepest first; walked without recursion
  // so that deep trees cannot exhaust the stack.
  EmblemNode* current = node;
  while (true) {
    while (current->firstChild_) current = current->firstChild_;
    if (current == node) break;
    EmblemNode* parent = current->parent_;
    detach(current);  // NodeDeleter frees the now childless node
    current = parent;
  }
  if (node == root_.get()) {
    fireOnOwner(DocumentEvent::NodeRemoved, node);
    node->owner_ = nullptr;
    root_.reset();
  } else {
    detach(node);
  }
}

NodePtr EmblemDocument::duplicate(const EmblemNode* node) {
  if (!node) return nullptr;
  auto copyOf = [](const EmblemNode* source) {
    EmblemNode* copy = makeNode(nullptr, source->kind_, source->name_, source->visible_).release();
    if (source->kind_ == NodeKind::Layer) copy->layer_ = source->layer_;
    return copy;
  };
  auto appendCopy = [](EmblemNode* parent, EmblemNode* child) { parent->linkLast(child); };
  NodePtr top(copyOf(node));
  // Pre-order walk of the source with `copy` tracking the copy of `source`.
  const EmblemNode* source = node;
  EmblemNode* copy = top.get();
  while (true) {
    if (source->firstChild_) {
      source = source->firstChild_;
      EmblemNode* child = copyOf(source);
      appendCopy(copy, child);
      copy = child;
      continue;
    }
    while (source != node && !source->next_) {
      source = source->parent_;
      copy = copy->parent_;
    }
    if (source == node) break;
    source = source->next_;
    EmblemNode* sibling = copyOf(source);
    appendCopy(copy->parent_, sibling);
    copy = sibling;
  }
  return top;
}

std::size_t EmblemDocument::countKind(const EmblemNode* node, NodeKind kind) {
  if (!node) return 0;
  std::size_t count = 0;
  forEachInSubtree(node, [&](const EmblemNode* n) {
    if (n != node && n->kind_ == kind) ++count;
  });
  return count;
}

LayerRecord EmblemDocument::defaultLayerRecord() {
  LayerRecord record;
  record.ltx = -16, record.lty = -16;
  record.lbx = -16, record.lby = 16;
  record.rtx = 16, record.rty = -16;
  record.rbx = 16, record.rby = 16;
  record.color = 0xFFFCFCFC;
  record.partId = 240;
  return record;
}

NodePtr EmblemDocument::makeNewLayer() {
  NodePtr node = makeNode(this, NodeKind::Layer, kNewLayerName);
  setLayerRecord(node.get(), defaultLayerRecord());
  return node;
}

NodePtr EmblemDocument::makeNewGroup() {
  NodePtr node = makeNode(this, NodeKind::Group, kNewGroupName);
  setGroupData(node.get());
  return node;
}

MutedEvents::MutedEvents(EmblemDocument* document, std::initializer_list<DocumentEvent> events)
    : document_(document) {
  if (!document_) return;
  for (DocumentEvent event : events) {
    const auto i = static_cast<std::size_t>(event);
    if (muted_[i]) continue;  // listed twice
    muted_[i] = true;
    wasOn_[i] = document_->isEnabled(event);
    document_->setEnabled(event, false);
  }
}

MutedEvents::~MutedEvents() {
  if (!document_) return;
  for (std::size_t i = 0; i < muted_.size(); ++i) {
    if (muted_[i]) document_->setEnabled(static_cast<DocumentEvent>(i), wasOn_[i]);
  }
}

std::optional<DocumentEvent> changeEventOf(NodeKind kind) {
  switch (kind) {
    case NodeKind::Info:
      return DocumentEvent::InfoChanged;
    case NodeKind::Group:
      return DocumentEvent::GroupChanged;
    case NodeKind::Layer:
      return DocumentEvent::LayerChanged;
    case NodeKind::Image:
      break;
  }
  return std::nullopt;
}

}  // namespace orvane
