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

  private:
    SQLite::Database db_;
};

// The profile folder made read-only, as a user would with chmod 500, while it lives.
class ReadOnlyFolder {
  public:
    ReadOnlyFolder() {
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

// Each editor's lighting tab opened on a profile whose folder the user made read-only, after the brightness was
// stored at 2: what is stored (the brightness, the colours of the earlier screens) is shown, with the notice.
void renderKeyboardReadOnlyFolder(ScreenContext& ctx) {
    if (auto* window = openKeyboardEditor(ctx)) {
        KeyboardViewController* editor = window->contentViewController();
        editor->ShowRadiRGBView();
        editor->RadiRGBView->lightbrightnessSlider->setValue(2);
        editor->context()->waitForIdle();
        ctx.closeEditor();
    }
    ReadOnlyFolder readOnly;
    auto* window = openKeyboardEditor(ctx);
    if (!window) return;
    KeyboardViewController* editor = window->contentViewController();
    editor->ShowRadiRGBView();
    editor->context()->waitForIdle();
    ctx.save(window, "editor-read-only-folder");
    ctx.closeEditor();
}

void renderMarrowinReadOnlyFolder(ScreenContext& ctx) {
    if (auto* window = openMarrowinEditor(ctx)) {
        MarrowinViewController* editor = window->contentViewController();
        editor->ShowRadiRGBView();
        editor->RadiRGBView->lightbrightnessSlider->setValue(2);
        editor->context().waitForExchanges();
        ctx.closeEditor();
    }
    ReadOnlyFolder readOnly;
    auto* window = openMarrowinEditor(ctx);
    if (!window) return;
    MarrowinViewController* editor = window->contentViewController();
    editor->ShowRadiRGBView();
    editor->context().waitForExchanges();
    ctx.save(window, "marrowin-read-only-folder");
    ctx.closeEditor();
}

}  // namespace keyloom
