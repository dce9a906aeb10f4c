#include <SQLiteCpp/Database.h>

#include <QSlider>
#include <filesystem>

#include "ScreenGallery.h"
#include "Views/Keyboard/Marrowin/MarrowinRadiRGBView.h"
#include "Views/Keyboard/Marrowin/MarrowinViewController.h"
#include "Views/Keyboard/Marrowin/MarrowinWindowViewController.h"
#include "Views/Keyboard/Marrowin/core/MarrowinEditorContext.h"
#include "Views/Keyboard/Quorvath/KeyboardViewController.h"
#include "Views/Keyboard/Quorvath/KeyboardWindowViewController.h"
#include "Views/Keyboard/Quorvath/LightingPanel.h"
#include "Views/Keyboard/Quorvath/core/KeyboardEditorContext.h"
#include "platform/DataPaths.h"

namespace keyloom {

namespace {

// Another program holding the profile's write lock while it lives.
class OtherProgram {
  public:
    explicit OtherProgram(const std::string& file) : db_(databaseFolder() + "/" + file, SQLite::OPEN_READWRITE) {
        db_.exec("BEGIN IMMEDIATE");
    }
    ~OtherProgram() { db_.exec("ROLLBACK"); }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

  private:
    SQLite::Database db_;
};

// The profile folder made read-only, as a user would with chmod 500, while it lives.
class ReadOnlyFolder {
  public:
    explicit ReadOnlyFolder(const std::string& /*file*/) {
        std::filesystem::permissions(databaseFolder(),
                                     std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    }
    ~ReadOnlyFolder() {
        std::error_code error;
        std::filesystem::permissions(databaseFolder(), std::filesystem::perms::owner_all, error);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
};

}  // namespace

// Each editor's lighting tab after the user moved the brightness while another program held the profile: the slider
// is back where the store has it, and the notice says why.
void renderKeyboardStoreNotice(ScreenContext& ctx) {
    auto* window = openKeyboardEditor(ctx);
    if (!window) return;
    KeyboardViewController* editor = window->contentViewController();
    editor->ShowRadiRGBView();
    editor->context()->waitForIdle();
    {
        OtherProgram other(editor->context()->deviceDBfile());
        editor->RadiRGBView->lightbrightnessSlider->setValue(3);
        editor->context()->waitForIdle();
        ctx.save(window, "editor-store-notice");
    }
    ctx.closeEditor();
}

void renderMarrowinStoreNotice(ScreenContext& ctx) {
    auto* window = openMarrowinEditor(ctx);
    if (!window) return;
    MarrowinViewController* editor = window->contentViewController();
    editor->ShowRadiRGBView();
    editor->context().waitForExchanges();
    {
        OtherProgram other(editor->deviceDBfile());
        editor->RadiRGBView->lightbrightnessSlider->setValue(3);
        editor->context().waitForExchanges();
        ctx.save(window, "marrowin-store-notice");
    }
    ctx.closeEditor();
}

namespace {

// Each editor's lighting tab after the brightness was stored at 2 and the editor opened again while `Unwritable`
// keeps its profile from being written: what is stored (the brightness, the colours of the earlier screens) is shown,
// with the notice that says why nothing is stored.
template <class Unwritable>
void renderKeyboardReopened(ScreenContext& ctx, const char* screen) {
    if (auto* window = openKeyboardEditor(ctx)) {
        KeyboardViewController* editor = window->contentViewController();
        editor->ShowRadiRGBView();
        editor->RadiRGBView->lightbrightnessSlider->setValue(2);
        editor->context()->waitForIdle();
        const std::string file = editor->context()->deviceDBfile();
        ctx.closeEditor();
        Unwritable unwritable(file);
        if (!(window = openKeyboardEditor(ctx))) return;
        editor = window->contentViewController();
        editor->ShowRadiRGBView();
        editor->context()->waitForIdle();
        ctx.save(window, screen);
    }
    ctx.closeEditor();
}

template <class Unwritable>
void renderMarrowinReopened(ScreenContext& ctx, const char* screen) {
    if (auto* window = openMarrowinEditor(ctx)) {
        MarrowinViewController* editor = window->contentViewController();
        editor->ShowRadiRGBView();
        editor->RadiRGBView->lightbrightnessSlider->setValue(2);
        editor->context().waitForExchanges();
        const std::string file = editor->deviceDBfile();
        ctx.closeEditor();
        Unwritable unwritable(file);
        if (!(window = openMarrowinEditor(ctx))) return;
        editor = window->contentViewController();
        editor->ShowRadiRGBView();
        editor->context().waitForExchanges();
        ctx.save(window, screen);
    }
    ctx.closeEditor();
}

}  // namespace

void renderKeyboardReadOnlyFolder(ScreenContext& ctx) {
    renderKeyboardReopened<ReadOnlyFolder>(ctx, "editor-read-only-folder");
}

void renderMarrowinReadOnlyFolder(ScreenContext& ctx) {
    renderMarrowinReopened<ReadOnlyFolder>(ctx, "marrowin-read-only-folder");
}

void renderKeyboardOpenedUnderLock(ScreenContext& ctx) {
    renderKeyboardReopened<OtherProgram>(ctx, "editor-opened-under-lock");
}

void renderMarrowinOpenedUnderLock(ScreenContext& ctx) {
    renderMarrowinReopened<OtherProgram>(ctx, "marrowin-opened-under-lock");
}

}  // namespace keyloom
