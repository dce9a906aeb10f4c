#include "ScreenGallery.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>

#include "USB/KeyboardProducts.h"
#include "Views/Home/AppState.h"
#include "Views/Home/HomeViewController.h"
#include "Views/Home/HomeWindowController.h"
#include "Views/Keyboard/Marrowin/MarrowinViewController.h"
#include "Views/Keyboard/Marrowin/MarrowinWindowViewController.h"
#include "Views/Keyboard/Marrowin/core/MarrowinEditorContext.h"
#include "Views/Keyboard/Quorvath/KeyboardViewController.h"
#include "Views/Keyboard/Quorvath/KeyboardWindowViewController.h"
#include "platform/hid/SimulatedHid.h"
#include "platform/hid/SimulatedKeyboard.h"

namespace keyloom {

const std::vector<Screen>& screens() {
    static const std::vector<Screen> table{
        {"home", nullptr, renderHomeWindow},
        {"pictures", [](const ScreenContext& c) { return c.product() && !c.wirelessLink(); }, renderPictures},
        {"editor", isFirstGeneration, renderKeyboardEditor},
        {"editor-lighting", isFirstGeneration, renderKeyboardLighting},
        {"key-assignment", isFirstGeneration, renderKeyAssignment},
        {"marrowin-editor", isSecondGeneration, renderMarrowinEditor},
        {"marrowin-lighting", isSecondGeneration, renderMarrowinLighting},
        {"marrowin-keys", isSecondGeneration, renderMarrowinKeys},
        {"editor-store-notice", isFirstGeneration, renderKeyboardStoreNotice},
        {"marrowin-store-notice", isSecondGeneration, renderMarrowinStoreNotice},
        {"editor-read-only-folder", isFirstGeneration, renderKeyboardReadOnlyFolder},
        {"marrowin-read-only-folder", isSecondGeneration, renderMarrowinReadOnlyFolder},
        {"editor-opened-under-lock", isFirstGeneration, renderKeyboardOpenedUnderLock},
        {"marrowin-opened-under-lock", isSecondGeneration, renderMarrowinOpenedUnderLock},
        {"account", isFirstModelOfRun, renderAccountScreens},
    };
    return table;
}

bool isFirstGeneration(const ScreenContext& ctx) {
    return ctx.product() && !ctx.wirelessLink() && ctx.product()->kind == ProductKind::FirstGeneration;
}

bool isSecondGeneration(const ScreenContext& ctx) {
    return ctx.product() && !ctx.wirelessLink() && ctx.product()->kind == ProductKind::SecondGeneration;
}

ScreenContext::ScreenContext(std::string model, QDir out) : model_(std::move(model)), out_(std::move(out)) {
    SimulatedHid::instance().reset();
    SimulatedHid::instance().setActive(true);
    std::vector<std::string> names{model_};
    if (wirelessLink()) names.insert(names.begin(), "quorvath87");
    for (const std::string& name : names) {
        if (auto kb = SimulatedKeyboard::byModel(name)) plugged_.push_back(kb);
    }
    for (const auto& kb : plugged_) {
        const KeyboardProduct* row = findKeyboardProduct(kb->vendorId(), kb->productId(), kb->product());
        if (row && (row->kind == ProductKind::FirstGeneration || row->kind == ProductKind::SecondGeneration)) {
            keyboard_ = kb;
            product_ = row;
            break;
        }
    }
}

namespace {

template <class Window>
Window* openEditor(ScreenContext& ctx, const std::function<bool(Window*)>& ready) {
    ctx.home()->deviceImageAction();
    if (!ctx.waitFor([] { return !KEYBOARD_VIEW.isNull(); })) return nullptr;
    auto* window = qobject_cast<Window*>(KEYBOARD_VIEW.data());
    if (!window || !ctx.waitFor([&] { return ready(window); })) return nullptr;
    return window;
}

}  // namespace

KeyboardWindowViewController* openKeyboardEditor(ScreenContext& ctx) {
    return openEditor<KeyboardWindowViewController>(
        ctx, [](KeyboardWindowViewController* w) { return w->contentViewController()->context() != nullptr; });
}

MarrowinWindowViewController* openMarrowinEditor(ScreenContext& ctx) {
    return openEditor<MarrowinWindowViewController>(
        ctx, [](MarrowinWindowViewController* w) { return w->contentViewController()->context().isOpen(); });
}

void ScreenContext::closeEditor() {
    if (!KEYBOARD_VIEW) return;
    KEYBOARD_VIEW->close();
    waitFor([] { return KEYBOARD_VIEW.isNull(); });
}

ScreenContext::~ScreenContext() {
    closeEditor();
    homeWindow_.reset();
    SimulatedHid::instance().reset();
}

HomeViewController* ScreenContext::home() {
    if (homeWindow_) return homeWindow_->contentViewController();
    homeWindow_ = std::make_unique<HomeWindowController>();
    HomeViewController* home = homeWindow_->contentViewController();
    QObject::connect(home, &HomeViewController::keyboardAccepted, [this] { accepted_ = true; });
    home->viewDidLoad();
    homeWindow_->show();
    for (const auto& kb : plugged_) SimulatedHid::instance().plug(kb);
    if (keyboard_ && !waitFor([this] { return accepted_; }))
        qWarning("screens: %s was not accepted by the home screen", model_.c_str());
    if (wirelessLink() && !waitFor([home] { return home->qv24GStatus() || home->qvBluetoothStatus(); }, 3000))
        qWarning("screens: no battery level from the %s", model_.c_str());
    return home;
}

bool ScreenContext::waitFor(const std::function<bool()>& pred, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!pred()) {
        if (timer.elapsed() > timeoutMs) return false;
        QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

void ScreenContext::save(QWidget* widget, const QString& screen) {
    QApplication::processEvents();
    const QString file = QString::fromStdString(model_) + "-" + screen + ".png";
    const QImage image = widget->grab().toImage();
    if (!image.save(out_.filePath(file))) {
        qWarning("screens: cannot write %s", qPrintable(out_.filePath(file)));
        return;
    }
    shots_.push_back({file, image.size()});
}

}  // namespace keyloom
