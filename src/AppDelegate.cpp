#include "AppDelegate.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QWidget>

#include "Keylogger/Keylogger.h"
#include "platform/PrintLine.h"
#include "platform/input/InputTrust.h"
#include "resources/KeyloomImages.h"

namespace keyloom {

namespace {
// Made on first use; released with the delegate so that its sources close while the application still runs.
std::unique_ptr<Keylogger>& keyloggerSlot() {
    static std::unique_ptr<Keylogger> slot;
    return slot;
}
}  // namespace

AppDelegate::AppDelegate(TrustCheck trustCheck, QObject* parent)
    : QObject(parent), trustCheck_(trustCheck ? std::move(trustCheck) : TrustCheck(&isTrusted)) {
    privilegeTimer_.setInterval(3000);
    connect(&privilegeTimer_, &QTimer::timeout, this, [this] { privilegeTick(); });
    firstPaintFallback_.setSingleShot(true);
    firstPaintFallback_.setInterval(1000);
    connect(&firstPaintFallback_, &QTimer::timeout, this, [this] { firstPaintDone(); });
    // Watches for the main window's first paint, whichever of its widgets paints first; removed once it came.
    if (QCoreApplication::instance()) QCoreApplication::instance()->installEventFilter(this);
}

AppDelegate::~AppDelegate() {
    setTrustPromptHandler({});
    keyloggerSlot().reset();
}

Keylogger& AppDelegate::keylogger() {
    auto& slot = keyloggerSlot();
    if (!slot) slot = std::make_unique<Keylogger>();
    return *slot;
}

void AppDelegate::setKeylogger(std::unique_ptr<Keylogger> keylogger) {
    keyloggerSlot() = std::move(keylogger);
}

void AppDelegate::applicationDidFinishLaunching() {
    setTrustPromptHandler([this] { requestTrustPrompt(); });
    trustCheck_(true);
    startPrivilegeMonitor();
    keylogger().scheduleHIDLoop();
    createButtonStatusBar();
}

void AppDelegate::setMainWindow(QWidget* window) {
    // A window that closes before it painted (a remembered log-in goes straight on) hands the wait to the next one.
    mainWindow_ = window;
    // An open prompt goes along with the program's window (the log-in window closes when the home window comes).
    if (trustPrompt_ && trustPrompt_->parentWidget() != window) {
        trustPrompt_->setParent(window, trustPrompt_->windowFlags());
        trustPrompt_->show();
    }
}

void AppDelegate::requestTrustPrompt() {
    afterFirstPaint([this] { showTrustPrompt(); });
}

bool AppDelegate::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && !firstPaintDone_ && mainWindow_ && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == mainWindow_) {
        QCoreApplication::instance()->removeEventFilter(this);
        // Queued, so it runs once this paint has been handed to the screen.
        QMetaObject::invokeMethod(this, &AppDelegate::firstPaintDone, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void AppDelegate::afterFirstPaint(std::function<void()> work) {
    if (firstPaintDone_) {
        QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
        return;
    }
    afterFirstPaint_.push_back(std::move(work));
    if (!firstPaintFallback_.isActive()) firstPaintFallback_.start();
}

void AppDelegate::firstPaintDone() {
    if (firstPaintDone_) return;
    firstPaintDone_ = true;
    firstPaintFallback_.stop();
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
    const std::vector<std::function<void()>> work = std::move(afterFirstPaint_);
    afterFirstPaint_.clear();
    for (const auto& fn : work) fn();
}

QMessageBox* AppDelegate::trustPrompt() const {
    return trustPrompt_;
}

// The prompt says how to give key capture access; it never blocks the program.
void AppDelegate::showTrustPrompt() {
    if (trustPrompt_) return;
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Velkor Keyloom"),
                                QString::fromStdString(trustPromptText()), QMessageBox::Ok, mainWindow_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    trustPrompt_ = box;
    box->show();
}

void AppDelegate::startPrivilegeMonitor() {
    printLine("startPrivilegeMonitor");
    privilegeTimer_.start();
}

void AppDelegate::privilegeTick() {
    printLine(trustCheck_(false) ? "ACCESS_ENABLEDtrue" : "ACCESS_ENABLEDfalse");
    if (trustCheck_(false)) {
        printLine("有权限,开启键盘事件监控");
        privilegeTimer_.stop();
    }
}

void AppDelegate::createButtonStatusBar() {
    quickButton_ = std::make_unique<QMenu>();
    quickQuit_ = quickButton_->addAction(QStringLiteral("Quit"));
    connect(quickQuit_, &QAction::triggered, this, [this] { clickQuit(); });
    // Asking for the tray goes through the session bus (and with none, through an attempt to start one).
    afterFirstPaint([this] { placeStatusItem(); });
}

void AppDelegate::placeStatusItem() {
    // Without a system tray the program works fully from its windows.
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
    statusItem_ = std::make_unique<QSystemTrayIcon>(QIcon(keyloomImage(QStringLiteral("velkor-bar"))));
    statusItem_->setContextMenu(quickButton_.get());
    statusItem_->setToolTip(QStringLiteral("Velkor Keyloom"));
    statusItem_->show();
}

void AppDelegate::clickQuit() {
    QCoreApplication::quit();
}

}  // namespace keyloom
