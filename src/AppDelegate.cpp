#include "AppDelegate.h"

#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <cstdio>

#include "Keylogger/Keylogger.h"
#include "platform/input/Accessibility.h"
#include "resources/KeyloomImages.h"

namespace keyloom {

AppDelegate::AppDelegate(TrustCheck trustCheck, QObject* parent)
    : QObject(parent), trustCheck_(trustCheck ? std::move(trustCheck) : TrustCheck(&isTrusted)) {
    privilegeTimer_.setInterval(3000);
    connect(&privilegeTimer_, &QTimer::timeout, this, [this] { privilegeTick(); });
}

AppDelegate::~AppDelegate() = default;

Keylogger& AppDelegate::keylogger() {
    static Keylogger instance;
    return instance;
}

void AppDelegate::applicationDidFinishLaunching() {
    trustCheck_(true);
    startPrivilegeMonitor();
    keylogger().start();
    createButtonStatusBar();
}

void AppDelegate::startPrivilegeMonitor() {
    std::printf("startPrivilegeMonitor\n");
    std::fflush(stdout);
    privilegeTimer_.start();
}

void AppDelegate::privilegeTick() {
    std::printf("ACCESS_ENABLED%s\n", trustCheck_(false) ? "true" : "false");
    if (trustCheck_(false)) {
        std::printf("有权限,开启键盘事件监控\n");
        privilegeTimer_.stop();
    }
    std::fflush(stdout);
}

void AppDelegate::createButtonStatusBar() {
    quickButton_ = std::make_unique<QMenu>();
    quickQuit_ = quickButton_->addAction(QStringLiteral("Quit"));
    connect(quickQuit_, &QAction::triggered, this, [this] { clickQuit(); });
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
