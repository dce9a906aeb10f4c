#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

class QMenu;
class QAction;
class QMessageBox;
class QSystemTrayIcon;
class QWidget;

namespace keyloom {

class Keylogger;

// Start-up of the application: the key-capture access request and its watch, key capture, the status-bar menu.
class AppDelegate : public QObject {
    Q_OBJECT

  public:
    // isTrusted(prompt): whether key capture can read the keyboards; with prompt, asks the user once when not.
    using TrustCheck = std::function<bool(bool prompt)>;

    explicit AppDelegate(TrustCheck trustCheck = {}, QObject* parent = nullptr);
    ~AppDelegate() override;

    void applicationDidFinishLaunching();
    void startPrivilegeMonitor();
    void createButtonStatusBar();
    void clickQuit();

    // The process-wide key capture, made on first use; main thread only.
    static Keylogger& keylogger();
    // Puts another key capture in place (simulated runs and tests); before the first use.
    static void setKeylogger(std::unique_ptr<Keylogger> keylogger);

    // The window the key-capture access prompt belongs to: the prompt shows above it, as part of it, so closing that
    // window ends the program as it does without the prompt. Without one the prompt is a window of its own. An open
    // prompt moves to a new main window.
    void setMainWindow(QWidget* window);
    // Asks for the prompt; it shows once the main window has painted for the first time (see firstPaintFallback).
    void requestTrustPrompt();
    QMessageBox* trustPrompt() const;

    QSystemTrayIcon* statusItem() const { return statusItem_.get(); }
    QMenu* quickButton() const { return quickButton_.get(); }
    QAction* quickQuit() const { return quickQuit_; }
    // The 3-second watch of the key-capture access; tests shorten its interval.
    QTimer& privilegeTimer() { return privilegeTimer_; }
    // Start-up work that the first window does not need (the access prompt, the status-bar item) waits for the main
    // window's first paint, so the window comes up as fast as a bare one; when nothing paints, for this delay (1 s)
    // from the first request at most. Tests shorten it.
    QTimer& firstPaintFallback() { return firstPaintFallback_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void privilegeTick();
    void showTrustPrompt();
    void placeStatusItem();
    void afterFirstPaint(std::function<void()> work);
    void firstPaintDone();

    TrustCheck trustCheck_;
    QTimer privilegeTimer_;
    std::unique_ptr<QMenu> quickButton_;
    QAction* quickQuit_ = nullptr;
    std::unique_ptr<QSystemTrayIcon> statusItem_;
    QPointer<QWidget> mainWindow_;
    QPointer<QMessageBox> trustPrompt_;
    QTimer firstPaintFallback_;
    bool firstPaintDone_ = false;
    std::vector<std::function<void()>> afterFirstPaint_;
};

}  // namespace keyloom
