#include "Views/Home/HomeViewController.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "Customized/AlertSheet.h"
#include "Customized/SegueRegistry.h"
#include "Helper/HttpRequest.h"
#include "USB/HIDDevice.h"
#include "USB/HIDDeviceMonitor.h"
#include "USB/HomeWatchList.h"
#include "USB/KeyboardProducts.h"
#include "VelkorDevice/Quorvath.h"
#include "Views/Home/AppState.h"
#include "Views/Home/FeedbackWindowController.h"
#include "Views/Home/core/BTBattery.h"
#include "Views/Keyboard/KeyLayout/CurrentDevice.h"
#include "Views/Keyboard/KeyLayout/Quorvath87KeyMap.h"
#include "platform/MainThread.h"
#include "platform/SerialWorker.h"
#include "platform/bluetooth/BluetoothCentral.h"
#include "resources/KeyloomImages.h"

namespace keyloom {

namespace {

constexpr const char* kImageProperty = "keyloomImageName";
constexpr const char* kStoreUrl = "https://www.velkor.com/store";
constexpr const char* kHomeUrl = "https://www.velkor.com";

void drawImage(QPushButton* button, const QString& name) {
    const QPixmap pm = keyloomImage(name);
    button->setIcon(pm);
    button->setIconSize(pm.size());
}

// When a button's picture is drawn.
enum class Drawing {
    now,         // at once, or when the button is shown if it is hidden now
    afterBurst,  // also a shown button's only once the changes queued with it are done: only the last one is drawn
};

// The picture a button is still to draw, drawn when the button can be seen and only the latest one named: a hidden
// button's when it is shown (the mouse and mouse-pad pictures, for one, are seldom looked at), and the keyboard
// picture after a burst of changes, since keyboards plugged at once name a picture each and only the last is seen.
class PendingPicture : public QObject {
  public:
    static PendingPicture* of(QPushButton* button) {
        auto* pending = button->findChild<PendingPicture*>(QString(), Qt::FindDirectChildrenOnly);
        return pending ? pending : new PendingPicture(button);
    }

    void set(const QString& name, Drawing drawing) {
        name_ = name;
        if (button_->isHidden()) return;
        if (drawing == Drawing::now) return draw();
        if (posted_) return;
        posted_ = true;
        QCoreApplication::postEvent(this, new QEvent(drawEvent()));
    }

  protected:
    bool event(QEvent* event) override {
        if (event->type() != drawEvent()) return QObject::event(event);
        posted_ = false;
        if (!button_->isHidden()) draw();
        return true;
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) draw();
        return false;
    }

  private:
    explicit PendingPicture(QPushButton* button) : QObject(button), button_(button) {
        button->installEventFilter(this);
    }

    static QEvent::Type drawEvent() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

    void draw() {
        if (name_.isEmpty()) return;
        drawImage(button_, std::exchange(name_, QString()));
    }

    QPushButton* button_;
    QString name_;
    bool posted_ = false;
};

void setImage(QPushButton* button, const QString& name, Drawing drawing = Drawing::now) {
    button->setProperty(kImageProperty, name);
    PendingPicture::of(button)->set(name, drawing);
}

void setImage(QLabel* label, const QString& name) {
    label->setProperty(kImageProperty, name);
    label->setPixmap(keyloomImage(name));
}

QPushButton* flatButton(QWidget* parent) {
    auto* b = new QPushButton(parent);
    b->setFlat(true);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

// A picker button: its image, and a bar under it while its page is the one shown. The images do not tell the
// state, since the keyboard button's table shows one image for either state on some models.
class PickerButton : public QPushButton {
  public:
    explicit PickerButton(QWidget* parent) : QPushButton(parent) {
        setFlat(true);
        setCursor(Qt::PointingHandCursor);
    }
    void setPageShown(bool shown) {
        if (shown == shown_) return;
        shown_ = shown;
        update();
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPushButton::paintEvent(event);
        if (!shown_) return;
        QPainter p(this);
        const int w = std::min(width(), iconSize().width());
        p.fillRect(QRect((width() - w) / 2, height() - 3, w, 3), pickerMarkColor());
    }

  private:
    bool shown_ = false;
};

void markShownPage(HomeViewController& home) {
    static_cast<PickerButton*>(home.mouseButton)->setPageShown(home.deviceType() == 1);
    static_cast<PickerButton*>(home.keyboardButton)->setPageShown(home.deviceType() == 2);
    static_cast<PickerButton*>(home.mousePadButton)->setPageShown(home.deviceType() == 3);
}

// The HIDDevice record of a device notification, when its object is the expected dictionary.
const HIDDevice* deviceOf(const Notification& note) {
    const NotificationDictionary* dict = notificationDictionary(note);
    if (!dict) return nullptr;
    auto it = dict->find("device");
    if (it == dict->end()) return nullptr;
    return std::any_cast<HIDDevice>(&it->second);
}

}  // namespace

HomeViewController::CentralFactory& HomeViewController::centralFactory() {
    static CentralFactory factory;
    return factory;
}

HomeViewController::HomeViewController(QWidget* parent) : QWidget(parent) {
    rfDeviceMonitor_ = std::make_unique<HIDDeviceMonitor>(homeWatchList(), kHomeReportSize);
    versionWorker_ = std::make_unique<SerialWorker>();
    buildViews();
}

HomeViewController::~HomeViewController() {
    observations_.clear();  // waits for handlers running on the monitor thread
    if (rfDeviceMonitor_) rfDeviceMonitor_->stop();
    monitorThread_.stop();
    versionWorker_.reset();  // waits for a version read in progress
    cancelMainThreadCalls(this);
}

QString HomeViewController::imageNameOf(const QWidget* control) {
    return control ? control->property(kImageProperty).toString() : QString();
}

void HomeViewController::buildViews() {
    setObjectName("HomeViewController");
    setMinimumSize(880, 560);
    auto* root = new QVBoxLayout(this);

    auto* picker = new QHBoxLayout;
    mouseButton = new PickerButton(this);
    keyboardButton = new PickerButton(this);
    mousePadButton = new PickerButton(this);
    markShownPage(*this);
    setImage(mouseButton, "img_mouse_none");
    setImage(mousePadButton, "img_mousepad_none");
    kbButtonText = new QLabel(QStringLiteral("Keyboard"), this);
    kbButtonText->setAlignment(Qt::AlignCenter);
    auto* kbColumn = new QVBoxLayout;
    kbColumn->addWidget(keyboardButton, 0, Qt::AlignCenter);
    kbColumn->addWidget(kbButtonText);
    picker->addStretch();
    picker->addWidget(mouseButton);
    picker->addSpacing(32);
    picker->addLayout(kbColumn);
    picker->addSpacing(32);
    picker->addWidget(mousePadButton);
    picker->addStretch();
    root->addLayout(picker);

    deviceImage = flatButton(this);
    deviceImage0 = flatButton(this);
    deviceImage2 = flatButton(this);
    for (QPushButton* b : {deviceImage0, deviceImage, deviceImage2}) root->addWidget(b, 1, Qt::AlignCenter);
    deviceNameText = new QLabel(keyboardDesc_, this);
    deviceNameText->setAlignment(Qt::AlignCenter);
    QFont big = deviceNameText->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    deviceNameText->setFont(big);
    root->addWidget(deviceNameText);

    batteryView = new QWidget(this);
    auto* badge = new QHBoxLayout(batteryView);
    batteryMode = new QLabel(batteryView);
    batteryIcon = new QLabel(batteryView);
    batteryText = new QLabel(batteryView);
    badge->addWidget(batteryMode);
    badge->addWidget(batteryIcon);
    badge->addWidget(batteryText);
    root->addWidget(batteryView, 0, Qt::AlignCenter);

    auto* links = new QHBoxLayout;
    auto* store = new QPushButton(QStringLiteral("Store"), this);
    auto* home = new QPushButton(QStringLiteral("Velkor"), this);
    auto* feedback = new QPushButton(QStringLiteral("Feedback"), this);
    feedback->setObjectName(QStringLiteral("feedbackButton"));
    store->setFlat(true);
    home->setFlat(true);
    feedback->setFlat(true);
    links->addStretch();
    links->addWidget(store);
    links->addWidget(home);
    links->addWidget(feedback);
    root->addLayout(links);

    // Tests find the controls by these names.
    const std::pair<QWidget*, const char*> named[] = {
        {mouseButton, "mouseButton"},
        {keyboardButton, "keyboardButton"},
        {mousePadButton, "mousePadButton"},
        {kbButtonText, "kbButtonText"},
        {deviceImage, "deviceImage"},
        {deviceImage0, "deviceImage0"},
        {deviceImage2, "deviceImage2"},
        {deviceNameText, "deviceNameText"},
        {batteryView, "batteryView"},
        {batteryMode, "batteryMode"},
        {batteryIcon, "batteryIcon"},
        {batteryText, "batteryText"},
        {store, "linkStore"},
        {home, "linkeHome"},
    };
    for (const auto& [widget, name] : named) widget->setObjectName(QString::fromLatin1(name));

    connect(mouseButton, &QPushButton::clicked, this, [this] { mouseButtonAction(); });
    connect(keyboardButton, &QPushButton::clicked, this, [this] { keyboardButtonAction(); });
    connect(mousePadButton, &QPushButton::clicked, this, [this] { mousePadAction(); });
    connect(deviceImage, &QPushButton::clicked, this, [this] { deviceImageAction(); });
    connect(store, &QPushButton::clicked, this, [this] { linkStore(); });
    connect(home, &QPushButton::clicked, this, [this] { linkeHome(); });
    connect(feedback, &QPushButton::clicked, this, [this] { feedbackAction(); });
    connect(&batteryTimer_, &QTimer::timeout, this, [this] { batteryPoll(); });
}

void HomeViewController::viewDidLoad() {
    deviceImage0->hide();
    deviceImage2->hide();
    setImage(deviceImage0, "big_mouse");
    setImage(deviceImage2, "big_mousepad");
    batteryView->hide();

    bluetoothBattery_ = std::make_shared<BTBattery>();
    bluetoothBattery_->centralManager =
        centralFactory() ? centralFactory()(bluetoothBattery_) : makeBluetoothCentral(bluetoothBattery_);

    batteryTimer_.setInterval(9000);
    batteryTimer_.start();

    setImage(deviceImage, keyboardImage_, Drawing::afterBurst);
    setImage(keyboardButton, "img_kb_check");
    registerNotification();
    monitorThread_.start([monitor = rfDeviceMonitor_.get()](std::stop_token) { monitor->start(); });
    setCurrentKeyNameMap(Quorvath_87_SuperKeyNameMap());
}

void HomeViewController::registerNotification() {
    auto& center = NotificationCenter::defaultCenter();
    observations_.push_back(
        center.addObserver(HIDDeviceConnected, [this](const Notification& n) { deviceConnected(n); }));
    observations_.push_back(
        center.addObserver(HIDDeviceDisconnected, [this](const Notification& n) { deviceDisconnected(n); }));
    observations_.push_back(
        center.addObserver(HIDWirelessConnected, [this](const Notification& n) { wirelessConnected(n); }));
    observations_.push_back(
        center.addObserver(HIDWirelessDisconnected, [this](const Notification& n) { wirelessDisconnected(n); }));
    observations_.push_back(
        center.addObserver("WirelessBatteryValue", [this](const Notification& n) { wirelessBatteryInfo(n); }));
}

// Runs on the posting thread (the monitor's): copy the record, continue on the main thread.
void HomeViewController::deviceConnected(const Notification& note) {
    const HIDDevice* rec = deviceOf(note);
    if (!rec || !rec->device) return;
    runOnMain(this, [this, dev = rec->device, vid = rec->vendorId, pid = rec->productId, name = rec->name] {
        acceptKeyboard(dev, vid, pid, name);
    });
}

void HomeViewController::deviceDisconnected(const Notification& note) {
    const HIDDevice* rec = deviceOf(note);
    if (!rec || !rec->device) return;
    runOnMain(this, [this, dev = rec->device] { forgetKeyboard(dev); });
}

void HomeViewController::acceptKeyboard(const HidHandleRef& device, int64_t vendorId, int64_t productId,
                                        const std::string& name) {
    if (kbHIDdevice_ && kbHIDdevice_ == device) return;
    if (name == kIgnoredProductName) return;

    const KeyboardIdentity id = identifyKeyboard(vendorId, productId, name);
    kbHIDdevice_ = device;
    keyboardType_ = id.keyboardType;
    keyboardDesc_ = QString::fromStdString(id.keyboardDesc.value_or(name));
    keyboardImage_ = QString::fromStdString(id.keyboardImage);
    if (const KeyModel* model = findKeyModel(id.model)) makeCurrentDevice(*model);
    refreshUI();
    Q_EMIT keyboardAccepted();

    if (vendorId == kFirstGenerationVendor) {
        // The version read is a blocking exchange: run it off the UI thread, then continue here.
        versionWorker_->post([this, device] {
            Quorvath channel(device, 2);
            std::string version = channel.getVersion();
            runOnMain(this, [this, version = std::move(version)] { versionRead(version); });
        });
        return;
    }
    if (vendorId == kSecondGenerationVendor) keyboardVersion() = "velkor marrowin v2";
    versionRead(std::nullopt);
}

void HomeViewController::versionRead(const std::optional<std::string>& version) {
    // Shorter than 5 characters (counted as characters, not bytes) is no version.
    if (version) keyboardVersion() = QString::fromStdString(*version).size() < 5 ? std::string("Quorvath") : *version;
    const std::string text = softwareVersion + "#" + keyboardVersion() + "#" + systemInfo();
    HttpRequest().sendSoftwareInfo(text);
}

void HomeViewController::forgetKeyboard(const HidHandleRef& device) {
    if (KEYBOARD_VIEW && editorDevice_ && editorDevice_ == device) {
        editorDevice_.reset();
        showDisconnectSheet();
    }
    if (!kbHIDdevice_ || kbHIDdevice_ != device) return;
    kbHIDdevice_.reset();
    keyboardDesc_ = QStringLiteral("CONNECT YOUR DEVICE");
    keyboardImage_ = QStringLiteral("big_kb_pro_87");
    refreshUI();
}

QString HomeViewController::keyboardButtonImage(int column) const {
    // Columns: 0 un-selected, 1 keyboard page during refreshUI, 2 selected.
    if (keyboardType_ != 7) return column == 2 ? "img_kb_check" : "img_kb";
    const QString& d = keyboardDesc_;
    if (d == "Marrowin V2 PRO" || d == "Marrowin V2 MAX")
        return column == 2 ? "kb_marrowinv2_pro" : "kb_marrowinv2_pro_check";
    if (d == "Ostrel PRO" || d == "Ostrel MAX") return column == 0 ? "img_ostrel_pro" : "img_ostrel_pro_check";
    if (d == "Ostrel TE") return column == 0 ? "img_ostrel_te" : "img_ostrel_te_check";
    if (d == "Vindle") return column == 0 ? "img_vindle_check" : "img_vindle";
    if (d == "Tolmek V2 TE") return column == 0 ? "img_te_tolmekv2" : "img_te_tolmekv2_check";
    if (column == 2) return "img_marrowinv2_check";
    if (column == 1 && !kbHIDdevice_) return "img_kb";
    return "img_marrowinv2";
}

void HomeViewController::mouseButtonAction() {
    if (deviceType_ == 1) return;
    resetDeviceButton();
    deviceImage0->show();
    setImage(mouseButton, "img_mouse_check");
    deviceNameText->setText(QStringLiteral("CONNECT YOUR DEVICE"));
    deviceType_ = 1;
    markShownPage(*this);
}

void HomeViewController::mousePadAction() {
    if (deviceType_ == 3) return;
    resetDeviceButton();
    deviceImage2->show();
    setImage(mousePadButton, "img_mousepad_check");
    deviceNameText->setText(QStringLiteral("CONNECT YOUR DEVICE"));
    deviceType_ = 3;
    markShownPage(*this);
}

void HomeViewController::keyboardButtonAction() {
    if (deviceType_ == 2) return;
    resetDeviceButton();
    deviceImage->show();
    setImage(keyboardButton, keyboardButtonImage(2));
    deviceNameText->setText(keyboardDesc_);
    deviceType_ = 2;
    markShownPage(*this);
    update();
}

void HomeViewController::resetDeviceButton() {
    switch (deviceType_) {
        case 3:
            setImage(mousePadButton, "img_mousepad_none");
            deviceImage2->hide();
            break;
        case 2:
            setImage(keyboardButton, keyboardButtonImage(0));
            deviceImage->hide();
            break;
        case 1:
            setImage(mouseButton, "img_mouse_none");
            deviceImage0->hide();
            break;
        default:
            break;
    }
    update();
}

void HomeViewController::deviceImageAction() {
    if (!kbHIDdevice_) return;
    if (KEYBOARD_VIEW) {
        QWidget* editor = KEYBOARD_VIEW;
        if (QScreen* screen = editor->screen() ? editor->screen() : QGuiApplication::primaryScreen()) {
            QRect frame = editor->frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            editor->move(frame.topLeft());
        }
        if (editor->isMinimized()) editor->showNormal();
        editor->raise();
        editor->activateWindow();
        return;
    }
    // The editor keeps this keyboard; its unplugging, not the tracked keyboard's, closes the editor.
    editorDevice_ = kbHIDdevice_;
    SegueRegistry::shared().perform(
        keyboardType_ == 7 ? QStringLiteral("showmarrowinkb") : QStringLiteral("showkeyboard"), this,
        KeyboardSegueSender{kbHIDdevice_, kbButtonText->text()});
}

void HomeViewController::linkStore() {
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(kStoreUrl)));
}

void HomeViewController::linkeHome() {
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(kHomeUrl)));
}

void HomeViewController::feedbackAction() {
    if (!feedbackWindow_) feedbackWindow_ = std::make_unique<FeedbackWindowController>();
    feedbackWindow_->bringToFront();
}

void HomeViewController::refreshUI() {
    kbButtonText->setText(kbHIDdevice_ ? keyboardDesc_ : QStringLiteral("Keyboard"));
    if (deviceType_ != 2) {
        setImage(keyboardButton, kbHIDdevice_ ? "img_kb" : "img_kb_none");
    } else {
        setImage(deviceImage, keyboardImage_, Drawing::afterBurst);
        deviceNameText->setText(keyboardDesc_);
        setImage(keyboardButton, keyboardButtonImage(1));
    }
    update();
}

void HomeViewController::showDisconnectSheet() {
    disconnectSheet = showAlertSheet(
        this, QStringLiteral("Keyboard"),
        QStringLiteral("The keyboard is disconnected and the keyboard configuration window will close."), this, [] {
            if (KEYBOARD_VIEW) KEYBOARD_VIEW->close();
        });
}

void HomeViewController::wirelessConnected(const Notification& note) {
    const NotificationDictionary* dict = notificationDictionary(note);
    if (!dict) return;
    const auto type = dictionaryInteger(*dict, "type");
    if (!type) return;
    runOnMain(this, [this, t = *type] {
        if (t == 1) {
            qvBluetoothStatus_ = true;
            qv24GStatus_ = false;
            if (bluetoothBattery_) bluetoothBattery_->checkBluetoothDevice();
        } else if (t == 2) {
            qv24GStatus_ = false;
        }
        refreshWirelessUI();
    });
}

void HomeViewController::wirelessDisconnected(const Notification& note) {
    const NotificationDictionary* dict = notificationDictionary(note);
    if (!dict) return;
    const auto type = dictionaryInteger(*dict, "type");
    if (!type) return;
    runOnMain(this, [this, t = *type] {
        if (t == 11) qvBluetoothStatus_ = false;
        if (t == 12) qv24GStatus_ = false;
        refreshWirelessUI();
    });
}

void HomeViewController::wirelessBatteryInfo(const Notification& note) {
    const NotificationDictionary* dict = notificationDictionary(note);
    if (!dict) return;
    const auto type = dictionaryInteger(*dict, "type");
    if (!type) return;
    const auto value = dictionaryInteger(*dict, "value");
    if (!value) return;
    if (*value >= 101 && *value <= 254) return;
    runOnMain(this, [this, t = *type, v = *value] {
        qvBatteryValue_ = v;
        if (t == 1) qvBluetoothStatus_ = true;
        if (t == 2) qv24GStatus_ = true;
        refreshWirelessUI();
    });
}

void HomeViewController::refreshWirelessUI() {
    if (!qvBluetoothStatus_ && !qv24GStatus_) {
        batteryView->hide();
        update();
        return;
    }
    batteryView->show();
    const int64_t v = qvBatteryValue_;
    if (v == 255) {
        batteryText->hide();
        setImage(batteryIcon, "icon_battery_charging");
    } else if (v <= 100) {
        batteryText->show();
        batteryText->setText(QString::asprintf("%d%%", int(v)));
        const char* icon = v <= 10   ? "icon_battery_0"
                           : v < 20  ? "icon_battery_20"
                           : v < 50  ? "icon_battery_40"
                           : v < 80  ? "icon_battery_60"
                           : v < 100 ? "icon_battery_80"
                                     : "icon_battery_100";
        setImage(batteryIcon, icon);
    }
    setImage(batteryMode, qvBluetoothStatus_ ? "icon_battery_bluetooth" : "icon_battery_24ghz");
    update();
}

void HomeViewController::batteryPoll() {
    if (!qvBluetoothStatus_ || !bluetoothBattery_) return;
    bluetoothBattery_->readBatteryLevelIfConnected();
}

}  // namespace keyloom
