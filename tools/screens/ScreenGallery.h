#pragma once

// The screen gallery: every window and tab, rendered offscreen for each simulated model, for people to look at.
//
// To add a screen, write a renderer (a file of its own here) and add one line to the table in ScreenGallery.cpp:
//   {"editor-lighting", appliesTo, [](ScreenContext& ctx) { ...; ctx.save(widget, "editor-lighting"); }}
// ScreenContext gives the model's product row and the home window with the model plugged in and accepted; the
// home window opens editors as a user's click does (home()->deviceImageAction()). Renderers wait for conditions
// (ctx.waitFor), never for a fixed time.

#include <QDir>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace keyloom {

struct KeyboardProduct;
class HomeViewController;
class HomeWindowController;
class SimulatedKeyboard;
class KeyboardWindowViewController;
class MarrowinWindowViewController;

class ScreenContext {
  public:
    // model: a KEYLOOM_SIMULATE name; the wireless links are shown with a Quorvath 87 beside them.
    ScreenContext(std::string model, QDir out);
    ~ScreenContext();
    ScreenContext(const ScreenContext&) = delete;
    ScreenContext& operator=(const ScreenContext&) = delete;

    const std::string& model() const { return model_; }
    // The 2.4 GHz receiver or the Bluetooth link: only the home window shows them.
    bool wirelessLink() const { return model_ == "receiver24g" || model_ == "bluetooth"; }
    // The product row of the model's keyboard (the Quorvath 87's beside a wireless link); nullptr for none.
    const KeyboardProduct* product() const { return product_; }
    const std::shared_ptr<SimulatedKeyboard>& keyboard() const { return keyboard_; }

    // The home window, shown, with the keyboards plugged and the keyboard accepted (made on first use).
    HomeViewController* home();

    // Runs the event loop until pred() holds; false after the timeout.
    bool waitFor(const std::function<bool()>& pred, int timeoutMs = 5000);

    // Closes the open editor window and waits until it is gone.
    void closeEditor();

    // Writes the widget's picture as "<model>-<screen>.png".
    void save(QWidget* widget, const QString& screen);

    struct Shot {
        QString file;
        QSize size;
    };
    const std::vector<Shot>& shots() const { return shots_; }

  private:
    std::string model_;
    QDir out_;
    std::vector<std::shared_ptr<SimulatedKeyboard>> plugged_;
    std::shared_ptr<SimulatedKeyboard> keyboard_;
    const KeyboardProduct* product_ = nullptr;
    std::unique_ptr<HomeWindowController> homeWindow_;
    bool accepted_ = false;
    std::vector<Shot> shots_;
};

struct Screen {
    const char* name;
    std::function<bool(const ScreenContext&)> appliesTo;
    std::function<void(ScreenContext&)> render;
};

// Every screen, in the order they are rendered.
const std::vector<Screen>& screens();

// Renderers, one file each.
void renderHomeWindow(ScreenContext& ctx);
void renderPictures(ScreenContext& ctx);
void renderKeyboardEditor(ScreenContext& ctx);
void renderKeyboardLighting(ScreenContext& ctx);
void renderKeyAssignment(ScreenContext& ctx);
void renderMarrowinEditor(ScreenContext& ctx);
void renderMarrowinLighting(ScreenContext& ctx);
void renderMarrowinKeys(ScreenContext& ctx);
void renderKeyboardStoreNotice(ScreenContext& ctx);
void renderMarrowinStoreNotice(ScreenContext& ctx);
void renderKeyboardReadOnlyFolder(ScreenContext& ctx);
void renderMarrowinReadOnlyFolder(ScreenContext& ctx);
void renderKeyboardOpenedUnderLock(ScreenContext& ctx);
void renderMarrowinOpenedUnderLock(ScreenContext& ctx);
void renderAccountScreens(ScreenContext& ctx);

// The model's editor, opened as a click on the home picture opens it, with its store ready; nullptr if it did not
// open. Close it with ctx.closeEditor().
KeyboardWindowViewController* openKeyboardEditor(ScreenContext& ctx);
MarrowinWindowViewController* openMarrowinEditor(ScreenContext& ctx);

bool isFirstGeneration(const ScreenContext& ctx);
bool isSecondGeneration(const ScreenContext& ctx);
bool isFirstModelOfRun(const ScreenContext& ctx);

}  // namespace keyloom
