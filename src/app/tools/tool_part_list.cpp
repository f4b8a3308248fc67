#include "app/tools/tool_part_list.h"

#include <QComboBox>
#include <QString>

#include "catalogue/part_catalogue.h"

namespace orvane {

void fillToolPartList(QComboBox& list) {
  list.clear();
  for (const std::u16string& label : partLabels()) {
    list.addItem(QString::fromStdU16String(label));
  }
  list.setMaxVisibleItems(24);
}

}  // namespace orvane
