#include "Views/Keyboard/KeyboardPanel.h"

#include <QPainter>

namespace keyloom {

namespace {

// Stands in for the picture view: the caps as outlines.
class CapOutlines : public QWidget {
  public:
    CapOutlines(std::vector<PlacedCap> caps, QWidget* parent) : QWidget(parent), caps_(std::move(caps)) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0x8a, 0x8d, 0x94), 1));
        p.setBrush(Qt::white);
        for (const PlacedCap& cap : caps_) {
            // Caps have their origin at the bottom left.
            const QRectF r(cap.rect.x, height() - cap.rect.y - cap.rect.height, cap.rect.width, cap.rect.height);
            p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 3, 3);
        }
    }

  private:
    std::vector<PlacedCap> caps_;
};

}  // namespace

QRect KeyboardPanel::pictureFrame() {
    // (295, 260) from the bottom left, 698 x 256.
    return QRect(295, kHeight - 260 - 256, 698, 256);
}

KeyboardPanel::KeyboardPanel(QWidget* parent) : QWidget(parent) {
    setFixedSize(kWidth, kHeight);
}

void KeyboardPanel::attach(KeyboardEditorContext* context) {
    context_ = context;
    contextAttached();
}

void KeyboardPanel::initKeyboardUI(const std::vector<PlacedCap>&) {}

void KeyboardPanel::selectProfile(int64_t) {}

void KeyboardPanel::panelWillHide() {}

void KeyboardPanel::windowWillClose() {}

QWidget* KeyboardPanel::addPicture(int /*type*/, const std::vector<PlacedCap>& caps, const QString& objectName) {
    auto* picture = new CapOutlines(caps, this);
    picture->setObjectName(objectName);
    picture->setGeometry(pictureFrame());
    picture->show();
    return picture;
}

}  // namespace keyloom
