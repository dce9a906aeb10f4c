#include "Views/Keyboard/Shared/LightingControls.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace keyloom {

ColourRow makeColourRow(QWidget* parent, int x, int y, int captionWidth, int wellWidth) {
    ColourRow row;
    row.caption = new QLabel(QStringLiteral("Colour"), parent);
    row.caption->setObjectName(QStringLiteral("lightRandomColor"));
    row.caption->setGeometry(x, y, captionWidth, 26);
    row.well = new QPushButton(parent);
    row.well->setObjectName(QStringLiteral("lightRandomColorWell"));
    row.well->setGeometry(x + captionWidth, y, wellWidth, 26);
    row.well->setToolTip(QStringLiteral("Choose a colour"));
    row.random = new QCheckBox(QStringLiteral("Random colours"), parent);
    row.random->setObjectName(QStringLiteral("lightRandomCheck"));
    row.random->setGeometry(x + captionWidth + 70, y, 200, 26);
    return row;
}

}  // namespace keyloom
