#include "Views/Keyboard/Marrowin/MarrowinViewController.h"

#include <QComboBox>
#include <QPushButton>
#include <QShowEvent>

#include "CustomControl/KeyboardView.h"
#include "SQLite/MarrowinDeviceSQLite.h"
#include "Views/Keyboard/Marrowin/MarrowinKeyCustomView.h"
#include "Views/Keyboard/Marrowin/MarrowinRadiRGBView.h"
#include "Views/Keyboard/Marrowin/core/MarrowinEditorContext.h"
#include "Views/Keyboard/Shared/SharedColorPanel.h"
#include "Views/Keyboard/Shared/StoreNotice.h"
#include "resources/KeyloomImages.h"

namespace keyloom {

namespace {

// The notice's place in the panels' coordinates: over the pictures' left edge, above them.
constexpr int kNoticeLeft = 295;
constexpr int kNoticeHeight = 38;
constexpr int kBottomNoticeHeight = 32;

void setTabImage(QPushButton* button, const QString& name) {
    const QPixmap pm = keyloomImage(name);
    button->setProperty("keyloomImageName", name);
    button->setIcon(pm);
    button->setIconSize(pm.size());
}

QPushButton* tabButton(QWidget* parent, const char* objectName, const QString& toolTip, int y) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setFlat(true);
    button->setFocusPolicy(Qt::NoFocus);  // keys held for a capture must not press it
    button->setCursor(Qt::PointingHandCursor);
    button->setToolTip(toolTip);
    button->setGeometry(0, y, MarrowinViewController::kTabColumnWidth, 40);
    return button;
}

}  // namespace

MarrowinViewController::MarrowinViewController(QWidget* parent)
    : QWidget(parent), context_(std::make_unique<MarrowinEditorContext>()) {
    setObjectName(QStringLiteral("MarrowinViewController"));
    setFixedSize(kTabColumnWidth + MarrowinPanel::kWidth, MarrowinPanel::kHeight);
    KeyCustomBtn = tabButton(this, "KeyCustomBtn", QStringLiteral("Keys"), 20);
    RadiRGBBtn = tabButton(this, "RadiRGBBtn", QStringLiteral("Lighting"), 70);
    setTabImage(KeyCustomBtn, QStringLiteral("icon_menu_customkey"));
    setTabImage(RadiRGBBtn, QStringLiteral("icon_menu_radi"));
    connect(KeyCustomBtn, &QPushButton::clicked, this, [this] { ShowKeyCustomView(); });
    connect(RadiRGBBtn, &QPushButton::clicked, this, [this] { ShowRadiRGBView(); });

    KeyCustomView = new MarrowinKeyCustomView(*context_, this);
    RadiRGBView = new MarrowinRadiRGBView(*context_, this);
    for (MarrowinPanel* panel : {static_cast<MarrowinPanel*>(KeyCustomView), static_cast<MarrowinPanel*>(RadiRGBView)})
        panel->hide();
    for (QComboBox* combo : {KeyCustomView->keyLayoutSelect.data(), KeyCustomView->ostrel62KBLayoutSelect.data(),
                             RadiRGBView->radiKBLayoutSelect.data(), RadiRGBView->ostrel62LightKBLayoutSelect.data()}) {
        connect(combo, &QComboBox::activated, this, [this, combo] { KeyboardLayoutSelectAction(combo); });
    }
    // Above the pictures, where both tabs leave room (beside the layout combo boxes).
    storeNotice = new StoreNotice(this);
    context_->storeReported = [notice = storeNotice](StoreFailure why, IfNotStored ifNotStored) {
        if (notice) notice->storeReported(why, ifNotStored);
    };
    placeStoreNotice(true);
}

void MarrowinViewController::placeStoreNotice(bool besideCombos) {
    if (besideCombos) {
        const int right = KeyCustomView->keyLayoutSelect->geometry().left() - 10;
        storeNotice->setGeometry(kTabColumnWidth + kNoticeLeft, 3, right - kNoticeLeft, kNoticeHeight);
        return;
    }
    // Without the combo boxes the picture starts at the top: the notice goes below both tabs' last controls.
    const int right = MarrowinPanel::kWidth - 7;
    storeNotice->setGeometry(kTabColumnWidth + kNoticeLeft, MarrowinPanel::kHeight - kBottomNoticeHeight - 4,
                             right - kNoticeLeft, kBottomNoticeHeight);
}

// The context goes first: it finishes the exchanges handed over and drops their pending main-thread calls; the
// panels, children of this widget, follow and no longer use it.
MarrowinViewController::~MarrowinViewController() = default;

int64_t MarrowinViewController::deviceType() const {
    return context_->deviceType;
}
int64_t MarrowinViewController::currentProfile() const {
    return context_->currentProfile;
}
const std::string& MarrowinViewController::deviceDBfile() const {
    return context_->deviceDBfile;
}

void MarrowinViewController::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) viewDidAppear();
}

void MarrowinViewController::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous()) viewDidDisappear();
}

void MarrowinViewController::viewDidLoad() {
    initViewUI();
    // Posted on the main thread by the key tab's picture when a cap is clicked; the object is the cap's name.
    customKeyObservation_ =
        NotificationCenter::defaultCenter().addObserver(kCustomKeyAction, [this](const Notification& note) {
            if (const auto* name = std::any_cast<std::string>(&note.object)) customkeyAction(*name);
        });
}

void MarrowinViewController::viewDidAppear() {
    if (QWidget* w = window(); w != this) w->setWindowTitle(keyboardTitle);
    if (context_->isOpen() || !kbHIDdevice) return;
    initSQLite();
    for (QComboBox* combo :
         {KeyCustomView->keyLayoutSelect.data(), RadiRGBView->radiKBLayoutSelect.data(),
          KeyCustomView->ostrel62KBLayoutSelect.data(), RadiRGBView->ostrel62LightKBLayoutSelect.data()})
        combo->setCurrentIndex(0);
    updateLayout(context_->currentProfile);
    buildPictures(true);
    showLayoutCombos();
    if (context_->deviceDB) storeNotice->editorOpening();
    selectProfile(1);
    if (context_->deviceDB) storeNotice->editorOpened(*context_->deviceDB);
}

void MarrowinViewController::viewDidDisappear() {
    closeSharedColorPanel();
}

void MarrowinViewController::initViewUI() {
    showPanel(1);
}

void MarrowinViewController::ShowKeyCustomView() {
    showPanel(1);
}

void MarrowinViewController::ShowRadiRGBView() {
    showPanel(2);
}

void MarrowinViewController::showPanel(int64_t type) {
    if (viewType_ != type) {
        removePreView();
        MarrowinPanel* panel = type == 1 ? static_cast<MarrowinPanel*>(KeyCustomView) : RadiRGBView;
        panel->move(kTabColumnWidth, 0);
        panel->show();
        if (type == 1)
            setTabImage(KeyCustomBtn, QStringLiteral("icon_menu_customkey_check"));
        else
            setTabImage(RadiRGBBtn, QStringLiteral("icon_menu_radi_check"));
    }
    viewType_ = type;
}

void MarrowinViewController::removePreView() {
    closeSharedColorPanel();
    if (viewType_ == 1) {
        KeyCustomView->panelRemoved();
        KeyCustomView->hide();
        setTabImage(KeyCustomBtn, QStringLiteral("icon_menu_customkey"));
    } else if (viewType_ == 2) {
        RadiRGBView->panelRemoved();
        RadiRGBView->hide();
        setTabImage(RadiRGBBtn, QStringLiteral("icon_menu_radi"));
    }
}

void MarrowinViewController::buildPictures(bool first) {
    context_->useLayout(context_->layoutIndex);
    KeyCustomView->picturesBuilt(first);
    RadiRGBView->picturesBuilt(first);
}

void MarrowinViewController::showLayoutCombos() {
    const MarrowinLayoutCombos combos = marrowinLayoutCombos(context_->deviceType);
    KeyCustomView->keyLayoutSelect->setVisible(combos == MarrowinLayoutCombos::MarrowinV2);
    RadiRGBView->radiKBLayoutSelect->setVisible(combos == MarrowinLayoutCombos::MarrowinV2);
    KeyCustomView->ostrel62KBLayoutSelect->setVisible(combos == MarrowinLayoutCombos::OstrelTE62);
    RadiRGBView->ostrel62LightKBLayoutSelect->setVisible(combos == MarrowinLayoutCombos::OstrelTE62);
    placeStoreNotice(combos != MarrowinLayoutCombos::None);
}

}  // namespace keyloom
