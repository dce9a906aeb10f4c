#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "Views/Home/KeyboardIdentification.h"
#include "platform/LoopThread.h"
#include "platform/NotificationCenter.h"
#include "platform/hid/HidHandle.h"

class QLabel;
class QPushButton;
class QMessageBox;

namespace keyloom {

class HIDDeviceMonitor;
class BTBattery;
class BluetoothCentral;
class CentralDelegate;
class SerialWorker;
class FeedbackWindowController;

// The home screen: the device picker, the connected keyboard's picture and label, and the battery badge.
// Device notifications arrive on the monitor's thread; each handler copies what it needs and continues on the
// main thread, which alone writes the screen's fields and the current-device state.
class HomeViewController : public QWidget {
    Q_OBJECT

  public:
    explicit HomeViewController(QWidget* parent = nullptr);
    ~HomeViewController() override;

    // Starts the Bluetooth reader, the battery poll, the observers and the monitor thread.
    void viewDidLoad();

    // Picker and links.
    void mouseButtonAction();
    void keyboardButtonAction();
    void mousePadAction();
    void deviceImageAction();
    void linkStore();
    void linkeHome();
    // Opens the feedback window, or brings the one already open to the front.
    void feedbackAction();
    FeedbackWindowController* feedbackWindow() const { return feedbackWindow_.get(); }
    void resetDeviceButton();

    void registerNotification();
    void deviceConnected(const Notification& note);
    void deviceDisconnected(const Notification& note);
    void wirelessConnected(const Notification& note);
    void wirelessDisconnected(const Notification& note);
    void wirelessBatteryInfo(const Notification& note);

    void refreshUI();
    void refreshWirelessUI();

    // State, readable by tests and by the editor-opening code.
    int64_t deviceType() const { return deviceType_; }
    const QString& keyboardImage() const { return keyboardImage_; }
    const QString& keyboardDesc() const { return keyboardDesc_; }
    int64_t keyboardType() const { return keyboardType_; }
    const HidHandleRef& kbHIDdevice() const { return kbHIDdevice_; }
    bool qvBluetoothStatus() const { return qvBluetoothStatus_; }
    bool qv24GStatus() const { return qv24GStatus_; }
    int64_t qvBatteryValue() const { return qvBatteryValue_; }
    BTBattery* bluetoothBattery() const { return bluetoothBattery_.get(); }

    // Views (outlets).
    QLabel* deviceNameText = nullptr;
    QPushButton* deviceImage = nullptr;
    QPushButton* deviceImage0 = nullptr;
    QPushButton* deviceImage2 = nullptr;
    QPushButton* mouseButton = nullptr;
    QPushButton* keyboardButton = nullptr;
    QPushButton* mousePadButton = nullptr;
    QLabel* kbButtonText = nullptr;
    QWidget* batteryView = nullptr;
    QLabel* batteryText = nullptr;
    QLabel* batteryIcon = nullptr;
    QLabel* batteryMode = nullptr;
    QPointer<QMessageBox> disconnectSheet;

    // Makes the Bluetooth central of the next viewDidLoad() (tests); unset: the system's.
    using CentralFactory = std::function<std::shared_ptr<BluetoothCentral>(std::weak_ptr<CentralDelegate>)>;
    static CentralFactory& centralFactory();

    // Image name shown by a control ("" when none), for the picker and badge.
    static QString imageNameOf(const QWidget* control);

  Q_SIGNALS:
    void keyboardAccepted();

  private:
    void buildViews();
    void acceptKeyboard(const HidHandleRef& device, int64_t vendorId, int64_t productId, const std::string& name);
    void forgetKeyboard(const HidHandleRef& device);
    void versionRead(const std::optional<std::string>& version);
    void batteryPoll();
    QString keyboardButtonImage(int column) const;
    void showDisconnectSheet();

    int64_t deviceType_ = 2;
    QString keyboardImage_ = QStringLiteral("big_kb_pro_87");
    QString keyboardDesc_ = QStringLiteral("CONNECT YOUR DEVICE");
    int64_t keyboardType_ = 0;
    HidHandleRef kbHIDdevice_;
    HidHandleRef editorDevice_;  // the keyboard handed to the open editor
    bool qvBluetoothStatus_ = false;
    bool qv24GStatus_ = false;
    int64_t qvBatteryValue_ = 100;
    std::shared_ptr<BTBattery> bluetoothBattery_;
    std::unique_ptr<HIDDeviceMonitor> rfDeviceMonitor_;
    LoopThread monitorThread_;
    QTimer batteryTimer_;
    std::unique_ptr<SerialWorker> versionWorker_;  // version reads in arrival order, off the UI thread
    std::vector<Observation> observations_;
    std::unique_ptr<FeedbackWindowController> feedbackWindow_;
};

}  // namespace keyloom
