#pragma once

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "document/emblem_document.h"
#include "editing/edit_history.h"

class QAction;
class QItemSelection;
class QMenu;

namespace orvane {

class Application;
class LayerTreeModel;
class LayerTreeView;

// The tree of the emblem's groups and layers. It shows the document through its notifications,
// reports the user's choice of entry as the application's selection and highlights the
// selection made elsewhere, and offers the structural edits: the context menus by node kind,
// moving by drag and drop, visibility check boxes, renaming in place (F2), duplicate (Ctrl+D),
// delete (Delete) and the clipboard (Ctrl+C, Ctrl+X, Ctrl+V). Every edit is an undo step.
class LayerPane : public QWidget {
  Q_OBJECT
 public:
  explicit LayerPane(Application& application, QWidget* parent = nullptr);
  ~LayerPane() override;

  LayerTreeView* tree() const { return tree_; }
  LayerTreeModel* model() const { return model_; }

  // The context menu for the current selection's kind; nullptr when it has none (an image node,
  // or nothing selected).
  std::unique_ptr<QMenu> makeContextMenu();
  // Runs a context-menu command on the current selection; nothing when the command does not
  // belong to the selection's kind.
  void runCommand(int command);

  // The edits beyond the menus, on the current selection; each is also a key while the tree has
  // the focus.
  void duplicateSelection();
  void deleteSelection();
  void renameSelection();
  void copySelection();
  void cutSelection();
  void pasteAtSelection();

 private:
  void addKeyAction(const QKeySequence& key, const char* name, void (LayerPane::*edit)());
  // Puts apart nodes where a new node goes for the current selection, records the step and
  // selects the first of them.
  void addNodes(std::vector<NodePtr> nodes, const std::string& step);
  void removeSelection(const std::string& step);
  // Records a completed edit as an undo step that goes back to `selectionBefore`.
  void recordStep(const std::string& step, const SelectionPath& selectionBefore);
  void moveByDropOn(EmblemNode* dragged, EmblemNode* target);
  void rename(EmblemNode* node, const QString& name);
  void setVisible(EmblemNode* node, bool visible);

  void showContextMenu(const QPoint& position);
  // The tree's selection changed: by the user, or by following the application.
  void treeSelectionChanged();
  // The application's selection changed: highlight it, unless the change came from the tree.
  void followSelection(EmblemNode* node);
  // Rows are about to go: a highlighted entry among them is let go quietly, since the
  // application has already dropped its selection of it.
  void rowsGoing(const QModelIndex& parent, int first, int last);

  Application& application_;
  LayerTreeModel* model_ = nullptr;
  LayerTreeView* tree_ = nullptr;
  bool reportingSelection_ = false;  // the tree is telling the application
  bool followingSelection_ = false;  // the tree is being brought in line with the application
  RegistrationId selectionRegistration_ = 0;
};

}  // namespace orvane
