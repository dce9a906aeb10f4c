#include <QApplication>
#include <cstdio>

#include "AppDelegate.h"
#include "Views/Home/HomeViewController.h"
#include "Views/Home/HomeWindowController.h"
#include "Views/Keyboard/Marrowin/MarrowinWindowViewController.h"
#include "Views/Keyboard/Quorvath/KeyboardWindowViewController.h"
#include "Views/Login/AccountFlow.h"
#include "platform/FontConfigWarmUp.h"
#include "platform/QuitSignals.h"
#include "platform/SingleInstance.h"
#include "platform/hid/SimulatedHid.h"

using namespace keyloom;

int main(int argc, char** argv) {
    FontConfigWarmUp fonts;  // while the application starts
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velkor-keyloom"));
    QApplication::setApplicationDisplayName(QStringLiteral("Velkor Keyloom"));
    QApplication::setDesktopFileName(QStringLiteral("velkor-keyloom"));
    QApplication::setQuitOnLastWindowClosed(true);

    SingleInstance instance(defaultInstanceKey());
    if (instance.forwardToRunningInstance()) return 0;

    // Simulated keyboards stand in for real ones when KEYLOOM_SIMULATE names models.
    for (const std::string& unknown : SimulatedHid::instance().startFromEnvironment())
        std::fprintf(stderr, "KEYLOOM_SIMULATE: unknown model \"%s\"\n", unknown.c_str());

    registerKeyboardEditorSegue();
    registerMarrowinEditorSegue();

    AppDelegate delegate;
    // SIGTERM, SIGINT and SIGHUP end the program as its quit item does.
    QuitSignals quitSignals;
    QObject::connect(&quitSignals, &QuitSignals::received, &delegate, &AppDelegate::clickQuit);
    delegate.applicationDidFinishLaunching();

    fonts.wait();
    AccountFlow flow;  // the log-in window first; the home window at "login"
    QObject::connect(&flow, &AccountFlow::frontWindowChanged, &delegate, &AppDelegate::setMainWindow);
    QObject::connect(&instance, &SingleInstance::activationRequested, &flow, &AccountFlow::bringToFront);
    flow.showLoginWindow();
    return app.exec();
}
