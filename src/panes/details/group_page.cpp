#include "panes/details/group_page.h"

#include <QGridLayout>
#include <QLabel>

#include "app/shell/application.h"
#include "panes/details/property_field.h"

namespace orvane {

GroupPage::GroupPage(Application& application, QWidget* parent)
    : PropertyPage(application, NodeKind::Group, parent) {
  name_ = makeField(false);
  name_->setMaxLength(int(kMaxNameUnits));
  QGridLayout* grid = makeGrid();
  grid->addWidget(new QLabel(QStringLiteral("グループ名"), this), 0, 0);
  grid->addWidget(name_, 0, 1);
  grid->setColumnStretch(1, 1);
  connect(name_, &QLineEdit::textChanged, this, [this](const QString& text) {
    EmblemNode* group = editedNode();
    if (!group) return;
    EmblemDocument::setName(group, text.toStdU16String());
    recordEdit("名前の変更", "name");
  });
}

void GroupPage::fill(const EmblemNode& group) {
  const Refreshing refreshing(*this);
  name_->showValue(QString::fromStdU16String(group.name()));
}

}  // namespace orvane
