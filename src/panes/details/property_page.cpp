#include "panes/details/property_page.h"

#include <QGridLayout>

#include "app/shell/application.h"
#include "editing/node_path.h"
#include "panes/details/property_field.h"

namespace orvane {
namespace {

// "field:<name>:<rows from the root>", e.g. "field:ltx:0/3".
std::string mergeKeyOf(std::string_view field, const EmblemNode* node) {
  std::string key = "field:";
  key += field;
  key += ':';
  const NodePath path = pathOf(node);
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (i > 0) key += '/';
    key += std::to_string(path[i]);
  }
  return key;
}

}  // namespace

PropertyPage::PropertyPage(Application& application, NodeKind kind, QWidget* parent)
    : QWidget(parent), application_(application), kind_(kind) {}

void PropertyPage::forgetTyping() {
  for (PropertyField* field : fields_) field->forgetTyping();
}

EmblemNode* PropertyPage::editedNode() const {
  EmblemNode* node = application_.currentSelection();
  if (refreshing_ || !node || node->kind() != kind_) return nullptr;
  return node;
}

void PropertyPage::recordEdit(const char* step, std::string_view field) {
  const EmblemNode* node = application_.currentSelection();
  application_.recordEdit(step, field.empty() || !node ? std::string() : mergeKeyOf(field, node));
}

PropertyField* PropertyPage::makeField(bool numeric) {
  auto* field = new PropertyField(this);
  if (numeric) field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  connect(field, &PropertyField::typingEnded, this, &PropertyPage::typingEnded);
  fields_.push_back(field);
  return field;
}

QGridLayout* PropertyPage::makeGrid() {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 6, 6, 6);
  grid->setAlignment(Qt::AlignTop);
  return grid;
}

void PropertyPage::typingEnded() {
  application_.history().closeMerging();
  if (const EmblemNode* node = application_.currentSelection(); node && node->kind() == kind_) {
    fill(*node);
  }
}

}  // namespace orvane
