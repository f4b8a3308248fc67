#pragma once

#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "document/emblem_types.h"

class QGridLayout;

namespace orvane {

class Application;
class EmblemNode;
class PropertyField;

// What the four property pages share: the node kind they show, the `refreshing` flag that
// keeps their own refills from being taken for edits, and the undo step of every edit.
class PropertyPage : public QWidget {
  Q_OBJECT
 public:
  PropertyPage(Application& application, NodeKind kind, QWidget* parent = nullptr);

  NodeKind kind() const { return kind_; }
  // Fills the page from a node of its kind; a field the user is typing in keeps its text.
  virtual void fill(const EmblemNode& node) = 0;
  // Forgets the typing in every field, so the next fill rewrites them all (another node).
  void forgetTyping();

 protected:
  // Holds `refreshing` for as long as it lives.
  class Refreshing {
   public:
    explicit Refreshing(PropertyPage& page) : page_(page), was_(page.refreshing_) {
      page_.refreshing_ = true;
    }
    ~Refreshing() { page_.refreshing_ = was_; }
    Refreshing(const Refreshing&) = delete;
    Refreshing& operator=(const Refreshing&) = delete;

   private:
    PropertyPage& page_;
    bool was_;
  };

  // The node an edit of this page goes to: the selection, when it is of the page's kind and the
  // change is not the page's own refill; nullptr otherwise.
  EmblemNode* editedNode() const;
  // Records the edit just made as an undo step. Edits of one field of one node share a merge
  // key, so typing there stays one step until the focus leaves it; an empty `field` makes the
  // edit a step of its own (a list choice, a chosen colour).
  void recordEdit(const char* step, std::string_view field = {});
  // A field of this page, right-aligned for numbers. When typing in it ends, the step being
  // typed is closed and the page shows the stored values again.
  PropertyField* makeField(bool numeric);
  // A grid with the page's usual margins, filling the page from the top.
  QGridLayout* makeGrid();

  Application& application_;
  bool refreshing_ = false;

 private:
  void typingEnded();

  NodeKind kind_;
  std::vector<PropertyField*> fields_;
};

}  // namespace orvane
