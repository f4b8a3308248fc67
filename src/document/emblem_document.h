#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

#include "document/emblem_node.h"
#include "document/emblem_types.h"

namespace orvane {

// What a notification carries: the node it is about (NodeAdded, NodeRemoved, NameChanged,
// InfoChanged, GroupChanged, LayerChanged), or a value (UpdateEnds: 1 success, 0 failure;
// 0 for Cleared and UpdateBegins). NodeRemoved also tells where the node was, since it is
// already unlinked when observers hear of it: its former parent (nullptr for the root) and its
// row there.
struct DocumentEventArgs {
  DocumentEvent event;
  EmblemNode* node = nullptr;
  std::int32_t value = 0;
  EmblemNode* formerParent = nullptr;
  std::size_t formerRow = 0;
};

using DocumentCallback = std::function<void(const DocumentEventArgs&, std::uint32_t userValue)>;
using RegistrationId = std::uint64_t;

// The emblem in memory: a tree below an info root, and nine notification channels.
//
// Rules the observers rely on:
// - the newest registration of a channel is called first;
// - a channel whose enabled flag is off fires nothing;
// - node notifications fire on the node's owner only, so nodes that are apart (fresh duplicates,
//   detached nodes) change silently.
class EmblemDocument {
 public:
  EmblemDocument();
  ~EmblemDocument();
  EmblemDocument(const EmblemDocument&) = delete;
  EmblemDocument& operator=(const EmblemDocument&) = delete;

  // --- notifications ---
  // Adds a callback at the front of the channel's list; 0 (and nothing registered) when the
  // callback is empty.
  RegistrationId registerCallback(DocumentEvent event, DocumentCallback callback,
                                  std::uint32_t userValue = 0);
  // Removes a registration; safe from inside a callback. False when the id is unknown.
  bool unregisterCallback(RegistrationId id);
  bool isEnabled(DocumentEvent event) const;
  // Channels are switched off only through a MutedEvents guard, which always switches them back.
  // Fires a channel with a value (UpdateBegins, UpdateEnds, Cleared) or a node.
  void fire(DocumentEvent event, std::int32_t value);
  void fire(DocumentEvent event, EmblemNode* node);

  // --- the tree ---
  // Empties the document and makes a visible info root named `name` (kUntitledName when
  // empty) with the given size; fires InfoChanged, then NodeAdded.
  bool newDocument(std::u16string_view name, std::int32_t width, std::int32_t height);
  // Destroys the tree without NodeRemoved notifications, then fires Cleared (always).
  void clear();
  EmblemNode* root() const { return root_.get(); }
  // Makes `node` the root of an empty document (the whole tree takes this document as owner)
  // and fires NodeAdded with it. False when the document already has a root or the node is not
  // an apart info node.
  bool setRoot(NodePtr node);
  // Hands the whole tree to the caller, firing nothing: the document is left without a root and
  // the tree's nodes without owner.
  NodePtr takeRoot();
  // Replaces this document's tree by `source`'s, so that a file can be read into a separate
  // document and taken over only when it was read well: UpdateBegins, clear (Cleared), the
  // source's root becomes this root (NodeAdded), UpdateEnds(1). `source` is left empty and fires
  // nothing. False, with nothing changed or fired, when `source` has no root or is this.
  bool takeContentFrom(EmblemDocument& source);

  // A fresh node with all-zero record and no links. Pass the document as owner for nodes that
  // go into this tree, so their setters fire before NodeAdded; nullptr makes a silent node.
  static NodePtr makeNode(EmblemDocument* owner, NodeKind kind, std::u16string_view name,
                          bool visible = true);

  // Setters. Each fires its notification on the node's owner (whichever document that is), so
  // they need no document of their own; a node without owner changes silently. A name is cut to
  // kMaxNameUnits code units without splitting a surrogate pair.
  static bool setName(EmblemNode* node, std::u16string_view name);
  static bool getInfo(const EmblemNode* node, EmblemInfo& info);
  static bool setInfo(EmblemNode* node, const EmblemInfo& info);
  static bool setGroupData(EmblemNode* node);
  static bool setLayerRecord(EmblemNode* node, const LayerRecord& record);
  // Image nodes have no notification of their own.
  static bool setImageRecord(EmblemNode* node, const ImageRecord& record);

  // Attaching. Each moves `node` from wherever it is (NodeRemoved there), links it at the new
  // place, gives its subtree the new place's owner and fires NodeAdded for the node only.
  // Refused (false, nothing changed, nothing fired) for a missing node or place, for the root,
  // for an apart node passed by pointer, and for a move into the node's own subtree.
  bool appendChild(EmblemNode* parent, EmblemNode* node);
  bool prependChild(EmblemNode* parent, EmblemNode* node);
  bool insertAfter(EmblemNode* sibling, EmblemNode* node);
  // The same for an apart node; on success the tree takes it over, on refusal `node` keeps it.
  bool appendChild(EmblemNode* parent, NodePtr&& node);
  bool prependChild(EmblemNode* parent, NodePtr&& node);
  bool insertAfter(EmblemNode* sibling, NodePtr&& node);

  // Unlinks a node from its parent and siblings (NodeRemoved while it still has its owner) and
  // hands it to the caller; its children keep their links and owner. The root cannot be
  // detached (use clear). Nothing for a missing node or the root.
  NodePtr detach(EmblemNode* node);
  // Destroys a node and its subtree: children first, deepest first, each detached (NodeRemoved)
  // before it is freed. Destroying the root leaves the document without a root. Apart nodes
  // are left alone: they are freed by dropping the NodePtr that holds them.
  void destroy(EmblemNode* node);
  // A deep copy without owner, not attached; a layer copy keeps its pending transform.
  static NodePtr duplicate(const EmblemNode* node);
  // The number of descendants of that kind (the node itself is not counted).
  static std::size_t countKind(const EmblemNode* node, NodeKind kind);
  // Shows or hides a node; fires the change notification of its kind (LayerChanged,
  // GroupChanged or InfoChanged; nothing for an image node). False for a missing node.
  static bool setVisible(EmblemNode* node, bool visible);

  // The nodes the editing commands make, with the document's defaults.
  NodePtr makeNewLayer();
  NodePtr makeNewGroup();
  static LayerRecord defaultLayerRecord();

 private:
  friend class MutedEvents;
  void setEnabled(DocumentEvent event, bool enabled);

  struct Registration {
    RegistrationId id;
    DocumentCallback callback;
    std::uint32_t userValue;
  };
  struct Channel {
    std::vector<Registration> registrations;  // oldest first; fired from the back
    bool enabled = true;
  };

  enum class Place { LastChild, FirstChild, After };
  bool attach(Place place, EmblemNode* anchor, EmblemNode* node);
  bool canAttach(Place place, const EmblemNode* anchor, const EmblemNode* node) const;
  void unlink(EmblemNode* node);
  void fireArgs(const DocumentEventArgs& args);
  void compactChannels();

  std::array<Channel, kDocumentEventCount> channels_;
  NodePtr root_;
  RegistrationId nextId_ = 1;
  int firingDepth_ = 0;
  bool needsCompaction_ = false;
};

// Switches some of a document's channels off for as long as it lives and gives each its former
// state back when it goes, on every return path. Guards may nest.
class MutedEvents {
 public:
  MutedEvents(EmblemDocument* document, std::initializer_list<DocumentEvent> events);
  ~MutedEvents();
  MutedEvents(const MutedEvents&) = delete;
  MutedEvents& operator=(const MutedEvents&) = delete;

 private:
  EmblemDocument* document_;
  std::array<bool, kDocumentEventCount> muted_{};  // channels this guard switched off
  std::array<bool, kDocumentEventCount> wasOn_{};  // their state before
};

// The change notification of a node's kind: LayerChanged, GroupChanged or InfoChanged; none
// (std::nullopt) for an image node.
std::optional<DocumentEvent> changeEventOf(NodeKind kind);

}  // namespace orvane
