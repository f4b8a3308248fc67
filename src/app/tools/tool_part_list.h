#pragma once

class QComboBox;

namespace orvane {

// Fills a drop-down list with the label of every part, in id order, so that a list index is a
// part id. The tools' dialogs use this one function, so a list that shows the parts' pictures
// can take its place in one spot.
void fillToolPartList(QComboBox& list);

}  // namespace orvane
