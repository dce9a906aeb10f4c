#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QSlider>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <functional>

#include "Customized/SegueRegistry.h"
#include "StoreNoticeSupport.h"
#include "Views/Home/AppState.h"
#include "Views/Keyboard/KeyLayout/CurrentDevice.h"
#include "Views/Keyboard/Marrowin/MarrowinViewController.h"
#include "Views/Keyboard/Marrowin/MarrowinWindowViewController.h"
#include "Views/Keyboard/Marrowin/core/MarrowinEditorContext.h"
#include "Views/Keyboard/Quorvath/KeyboardViewController.h"
#include "Views/Keyboard/Quorvath/KeyboardWindowViewController.h"
#include "Views/Keyboard/Quorvath/core/KeyboardEditorContext.h"
#include "platform/DataPaths.h"
#include "platform/hid/SimulatedHidScope.h"
#include "support/TestSupport.h"
#include "support/WaitIdle.h"

using namespace keyloom;
using namespace keyloom::test;

namespace {

namespace fs = std::filesystem;

// One editor of each generation, opened by its transition as the home screen opens it.
struct Generation {
    const char* name;
    std::function<std::shared_ptr<SimulatedKeyboard>()> keyboard;
    const char* file;
    // Opens the editor on the keyboard: its content widget, idle.
    std::function<QWidget*(SimulatedKeyboard&)> open;
    // A change the user makes: the tab, then its control.
    std::function<void(QWidget* editor)> change;
};

QWidget* openFirst(SimulatedKeyboard& kb) {
    showKeyboardEditor({kb.device(), "Quorvath"});
    auto* window = qobject_cast<KeyboardWindowViewController*>(KEYBOARD_VIEW.data());
    if (!window) return nullptr;
    KeyboardViewController* editor = window->contentViewController();
    EXPECT_TRUE(waitUntilIdle({editor->context()->worker()}));
    return editor;
}

QWidget* openSecond(SimulatedKeyboard& kb) {
    EXPECT_TRUE(SegueRegistry::shared().perform(QStringLiteral("showmarrowinkb"), nullptr,
                                                KeyboardSegueSender{kb.device(), "Ostrel"}));
    auto* window = qobject_cast<MarrowinWindowViewController*>(KEYBOARD_VIEW.data());
    if (!window) return nullptr;
    MarrowinViewController* editor = window->contentViewController();
    editor->context().waitForExchanges();
    QCoreApplication::processEvents();
    return editor;
}

void click(QWidget* editor, const char* name) {
    QTest::mouseClick(editor->findChild<QAbstractButton*>(QString::fromLatin1(name)), Qt::LeftButton);
}

const Generation kGenerations[] = {
    {"first generation", SimulatedKeyboard::quorvath87, "670046462_device.sqlite3", openFirst,
     [](QWidget* editor) {
         click(editor, "SettingsBtn");
         click(editor, "reportRate4");
     }},
    {"second generation", SimulatedKeyboard::ostrel61, "ostrelpro_device.sqlite3", openSecond,
     [](QWidget* editor) {
         click(editor, "RadiRGBBtn");
         QTest::keyClick(editor->findChild<QSlider*>(QStringLiteral("lightbrightnessSlider")), Qt::Key_Left);
         QCoreApplication::processEvents();
     }},
};

class Opening : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("KEYLOOM_SERVER_URL", "", 1);
        resetCurrentDevice();
        registerMarrowinEditorSegue();
    }
    void TearDown() override {
        closeEditor();
        SegueRegistry::shared().unregisterSegue(QStringLiteral("showmarrowinkb"));
        resetCurrentDevice();
        unsetenv("KEYLOOM_SERVER_URL");
    }
    QWidget* open(const Generation& g) {
        keyboard = SimulatedHid::instance().plug(g.keyboard());
        return g.open(*keyboard);
    }
    void closeEditor() {
        if (QPointer<QWidget> window = KEYBOARD_VIEW.data()) {
            window->close();
            EXPECT_TRUE(processEventsUntil([&] { return window.isNull(); }));
        }
        if (keyboard) keyboard->unplug();
        keyboard.reset();
    }

    SimulatedHidScope simulation;
    std::shared_ptr<SimulatedKeyboard> keyboard;
};

// A profile file found damaged as the editor opens is kept under another name, and the editor says so at once, with
// that name; the printed line stays. The next change that is stored puts the notice away.
TEST_F(Opening, OnADamagedFileTheNoticeNamesTheKeptFile) {
    for (const Generation& g : kGenerations) {
        SCOPED_TRACE(g.name);
        TempDataHome home;
        fs::create_directories(databaseFolder());
        std::ofstream(databaseFolder() + "/" + g.file) << std::string(4096, 'x');
        testing::internal::CaptureStdout();
        QWidget* editor = open(g);
        const std::string printed = testing::internal::GetCapturedStdout();
        ASSERT_NE(editor, nullptr);
        std::string kept;
        for (const auto& entry : fs::directory_iterator(databaseFolder()))
            if (entry.path().filename().string().starts_with(std::string(g.file) + ".damaged-"))
                kept = entry.path().filename().string();
        ASSERT_FALSE(kept.empty());
        EXPECT_TRUE(noticeShown(editor));
        EXPECT_EQ(noticeText(editor),
                  "The profile file was damaged; it is kept as " + kept + "; the defaults are shown.");
        EXPECT_NE(printed.find("moved aside to " + kept), std::string::npos) << printed;

        g.change(editor);
        EXPECT_FALSE(noticeShown(editor));
        closeEditor();
    }
}

// A profile folder the user made read-only: the editor says at once that nothing will be stored, and after each
// change that it was not stored (the settings were sent all the same); the printed line stays.
TEST_F(Opening, OnAReadOnlyFolderTheNoticeIsShownAtOnce) {
    const struct {
        const Generation& generation;
        const char* afterChange;
    } cases[] = {
        {kGenerations[0],
         "Your change was sent to the keyboard but not stored: the profile file or folder is read-only."},
        {kGenerations[1], "Your change was not stored: the profile file or folder is read-only."},
    };
    for (const auto& c : cases) {
        const Generation& g = c.generation;
        SCOPED_TRACE(g.name);
        TempDataHome home;
        testing::internal::CaptureStdout();
        open(g);
        closeEditor();
        // In rollback mode, so that a user without the right to make its lock files beside it can still read it.
        SQLite::Database(databaseFolder() + "/" + g.file, SQLite::OPEN_READWRITE).exec("PRAGMA journal_mode=DELETE");
        fs::permissions(databaseFolder(), fs::perms::owner_read | fs::perms::owner_exec);
        QWidget* editor = open(g);
        const std::string printed = testing::internal::GetCapturedStdout();
        ASSERT_NE(editor, nullptr);
        EXPECT_TRUE(noticeShown(editor));
        EXPECT_EQ(noticeText(editor), "Changes are not stored: the profile file or folder is read-only.");
        EXPECT_NE(printed.find("is not writable: changes cannot be stored"), std::string::npos) << printed;

        g.change(editor);
        EXPECT_TRUE(noticeShown(editor));
        EXPECT_EQ(noticeText(editor), c.afterChange);
        closeEditor();
        fs::permissions(databaseFolder(), fs::perms::owner_all);
    }
}

}  // namespace
