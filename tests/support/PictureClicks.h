#pragma once

// Clicks on a keyboard picture as a user makes them.

#include <gtest/gtest.h>

#include <QTest>
#include <string>

#include "CustomControl/KeyboardView.h"

namespace keyloom::test {

// Press and release in the middle of the cap called name (its frame counts from the picture's bottom edge); a test
// failure where the picture has no such cap.
inline void clickCap(KeyboardView* picture, const std::string& name) {
    for (const KeyData& cap : picture->keyDataArrayHover()) {
        if (cap.keyname != name) continue;
        const QPointF centre = cap.rect.center();
        QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(int(centre.x()), picture->height() - int(centre.y())));
        return;
    }
    ADD_FAILURE() << "no cap " << name;
}

}  // namespace keyloom::test
