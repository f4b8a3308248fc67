#include "panes/details/image_page.h"

#include <QGridLayout>
#include <QLabel>

#include "panes/details/property_field.h"

namespace orvane {

ImagePage::ImagePage(Application& application, QWidget* parent)
    : PropertyPage(application, NodeKind::Image, parent) {
  name_ = makeField(false);
  name_->setReadOnly(true);
  QGridLayout* grid = makeGrid();
  grid->addWidget(new QLabel(QStringLiteral("イメージ名"), this), 0, 0);
  grid->addWidget(name_, 0, 1);
  grid->setColumnStretch(1, 1);
}

}  // namespace orvane
