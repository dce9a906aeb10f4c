#pragma once

class QCheckBox;
class QLabel;
class QPushButton;
class QWidget;

namespace keyloom {

// The colour row both editors' lighting tabs show: the caption "Colour", the colour well and the "Random colours"
// check box, under the object names the tabs are known by.
struct ColourRow {
    QLabel* caption = nullptr;
    QPushButton* well = nullptr;
    QCheckBox* random = nullptr;
};

// The row at (x, y) of parent, its caption captionWidth wide and its well wellWidth wide.
ColourRow makeColourRow(QWidget* parent, int x, int y, int captionWidth, int wellWidth);

}  // namespace keyloom
