#include "Views/Keyboard/Quorvath/KeyboardViewController.h"

#include <QPushButton>
#include <QShowEvent>

#include "CustomControl/KeyDataList.h"
#include "Views/Keyboard/Quorvath/KeyCombinationCapture.h"
#include "Views/Keyboard/Quorvath/KeyPanel.h"
#include "Views/Keyboard/Quorvath/KnobPanel.h"
#include "Views/Keyboard/Quorvath/LightingPanel.h"
#include "Views/Keyboard/Quorvath/SettingsPanel.h"
#include "Views/Keyboard/Quorvath/core/KeyboardEditorContext.h"
#include "Views/Keyboard/Shared/SharedColorPanel.h"
#include "Views/Keyboard/Shared/StoreNotice.h"
#include "resources/KeyloomImages.h"

namespace keyloom {

namespace {

constexpr const char* kImageProperty = "keyloomImageName";
constexpr int kStripWidth = 40;

void setImage(QPushButton* button, const QString& name) {
    button->setProperty(kImageProperty, name);
    const QPixmap pm = keyloomImage(name);
    button->setIcon(pm);
    button->setIconSize(pm.size());
}

}  // namespace

KeyboardViewController::KeyboardViewController(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("KeyboardViewController"));
    setFixedSize(kWidth, kHeight);
    viewDidLoad();
}

KeyboardViewController::~KeyboardViewController() {
    // The panels go before the context they use.
    delete KeyCustomView;
    delete CairnelKnobView;
    delete RadiRGBView;
    delete SettingsView;
    context_.reset();
}

QString KeyboardViewController::imageNameOf(const QWidget* control) {
    return control ? control->property(kImageProperty).toString() : QString();
}

std::array<KeyboardViewController::Tab, 4> KeyboardViewController::tabs() const {
    return {{{KeyCustomView, KeyCustomBtn, "icon_menu_customkey"},
             {CairnelKnobView, CairnolKnobBtn, "icon_menu_knob"},
             {RadiRGBView, RadiRGBBtn, "icon_menu_radi"},
             {SettingsView, SettingsBtn, "icon_menu_set"}}};
}

void KeyboardViewController::viewDidLoad() {
    // The key and knob tabs share one key-combination capture.
    auto capture = std::make_shared<KeyCombinationCapture>();
    KeyCustomView = new KeyPanel(capture, this);
    CairnelKnobView = new KnobPanel(capture, this);
    RadiRGBView = new LightingPanel(this);
    SettingsView = new SettingsPanel(this);

    const std::array<const char*, 4> buttonNames = {"KeyCustomBtn", "CairnolKnobBtn", "RadiRGBBtn", "SettingsBtn"};
    std::array<QPushButton*, 4> buttons{};
    for (size_t i = 0; i < buttons.size(); ++i) {
        auto* b = new QPushButton(this);
        b->setObjectName(QString::fromLatin1(buttonNames[i]));
        b->setFlat(true);
        b->setCursor(Qt::PointingHandCursor);
        b->setGeometry(0, 24 + int(i) * 48, kStripWidth, 40);
        buttons[i] = b;
    }
    KeyCustomBtn = buttons[0];
    CairnolKnobBtn = buttons[1];
    RadiRGBBtn = buttons[2];
    SettingsBtn = buttons[3];
    connect(KeyCustomBtn, &QPushButton::clicked, this, [this] { ShowKeyCustomView(); });
    connect(CairnolKnobBtn, &QPushButton::clicked, this, [this] { ShowCairnelKnobView(); });
    connect(RadiRGBBtn, &QPushButton::clicked, this, [this] { ShowRadiRGBView(); });
    connect(SettingsBtn, &QPushButton::clicked, this, [this] { ShowSettingsView(); });

    // Above the tab's picture, where every tab leaves room.
    storeNotice = new StoreNotice(this);
    const QRect picture = KeyboardPanel::pictureFrame();
    storeNotice->setGeometry(kStripWidth + picture.left(), 3, picture.width(), picture.top() - 6);

    initViewUI();
}

void KeyboardViewController::initViewUI() {
    for (const Tab& tab : tabs()) {
        // Panels sit right of the tab strip; a panel not shown is hidden, not destroyed.
        tab.panel->move(kStripWidth, 0);
        tab.panel->hide();
        setImage(tab.button, QString::fromLatin1(tab.icon));
    }
    KeyCustomView->show();
    viewType_ = 1;
    setImage(KeyCustomBtn, QStringLiteral("icon_menu_customkey_check"));
}

void KeyboardViewController::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    viewDidAppear();
}

void KeyboardViewController::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    viewDidDisappear();
}

void KeyboardViewController::viewDidAppear() {
    window()->setWindowTitle(keyboardTitle);
    if (context_ || !kbHIDdevice) return;
    initSQLite();
    initKeyboardUI();
    storeNotice->editorOpening();
    selectProfile(1);
    storeNotice->editorOpened(context_->deviceDB());
}

void KeyboardViewController::viewDidDisappear() {
    closeSharedColorPanel();
}

void KeyboardViewController::windowClose() {
    closeSharedColorPanel();
    for (const Tab& tab : tabs()) tab.panel->windowWillClose();
}

void KeyboardViewController::initSQLite() {
    context_ = std::make_unique<KeyboardEditorContext>(kbHIDdevice);
    context_->storeReported = [notice = storeNotice](StoreFailure why, IfNotStored ifNotStored) {
        if (notice) notice->storeReported(why, ifNotStored);
    };
    for (const Tab& tab : tabs()) tab.panel->attach(context_.get());
}

void KeyboardViewController::initKeyboardUI() {
    keyDataArray_ = quorvathKeyData(context_->deviceType());
    for (const Tab& tab : tabs()) tab.panel->initKeyboardUI(keyDataArray_);
}

void KeyboardViewController::selectProfile(int64_t profile) {
    // Keys, knob, lighting, settings: the order in which the stored profile reaches the tabs.
    for (const Tab& tab : tabs()) tab.panel->selectProfile(profile);
}

void KeyboardViewController::showTab(int n) {
    const Tab tab = tabs()[size_t(n - 1)];
    if (viewType_ != n) {
        removePreView();
        tab.panel->show();
        tab.panel->raise();
        storeNotice->raise();
        setImage(tab.button, QString::fromLatin1(tab.icon) + "_check");
    }
    viewType_ = n;
}

void KeyboardViewController::ShowKeyCustomView() {
    showTab(1);
}

void KeyboardViewController::ShowCairnelKnobView() {
    showTab(2);
}

void KeyboardViewController::ShowRadiRGBView() {
    showTab(3);
}

void KeyboardViewController::ShowSettingsView() {
    showTab(4);
}

void KeyboardViewController::removePreView() {
    closeSharedColorPanel();
    if (viewType_ < 1 || viewType_ > 4) return;
    const Tab tab = tabs()[size_t(viewType_ - 1)];
    tab.panel->panelWillHide();
    tab.panel->hide();
    setImage(tab.button, QString::fromLatin1(tab.icon));
}

}  // namespace keyloom
