#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QListWidget>
#include <QSlider>
#include <QTest>
#include <QTreeView>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <set>

#include "CustomControl/KeyView.h"
#include "CustomControl/KeyboardView.h"
#include "Customized/SegueRegistry.h"
#include "StoreNoticeSupport.h"
#include "Views/Home/AppState.h"
#include "Views/Keyboard/KeyLayout/CurrentDevice.h"
#include "Views/Keyboard/Marrowin/MarrowinViewController.h"
#include "Views/Keyboard/Marrowin/MarrowinWindowViewController.h"
#include "Views/Keyboard/Marrowin/core/MarrowinEditorContext.h"
#include "Views/Keyboard/Quorvath/KeyboardViewController.h"
#include "Views/Keyboard/Quorvath/KeyboardWindowViewController.h"
#include "Views/Keyboard/Quorvath/LightingPanel.h"
#include "Views/Keyboard/Quorvath/core/KeyboardEditorContext.h"
#include "Views/Keyboard/Shared/SharedColorPanel.h"
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
    // Every exchange and store handed over has run, its result on the screen; false when that does not happen.
    std::function<bool(QWidget* editor)> settle;
    const char* keySave;
    // The lighting colour as shown: the first generation's caps show it only once a colour is picked, its well
    // from the start.
    std::function<QColor(QWidget* editor)> colour;
};

bool settleFirst(QWidget* editor) {
    return waitUntilIdle({static_cast<KeyboardViewController*>(editor)->context()->worker()});
}

bool settleSecond(QWidget* editor) {
    static_cast<MarrowinViewController*>(editor)->context().waitForExchanges();
    QCoreApplication::processEvents();
    return true;
}

// No EXPECT inside: the tests capture what opening prints. Null when the editor did not open or settle.
QWidget* openFirst(SimulatedKeyboard& kb) {
    showKeyboardEditor({kb.device(), "Quorvath"});
    auto* window = qobject_cast<KeyboardWindowViewController*>(KEYBOARD_VIEW.data());
    if (!window) return nullptr;
    KeyboardViewController* editor = window->contentViewController();
    return settleFirst(editor) ? editor : nullptr;
}

QWidget* openSecond(SimulatedKeyboard& kb) {
    if (!SegueRegistry::shared().perform(QStringLiteral("showmarrowinkb"), nullptr,
                                         KeyboardSegueSender{kb.device(), "Ostrel"}))
        return nullptr;
    auto* window = qobject_cast<MarrowinWindowViewController*>(KEYBOARD_VIEW.data());
    if (!window) return nullptr;
    MarrowinViewController* editor = window->contentViewController();
    return settleSecond(editor) ? editor : nullptr;
}

void click(QWidget* editor, const char* name) {
    QTest::mouseClick(editor->findChild<QAbstractButton*>(QString::fromLatin1(name)), Qt::LeftButton);
}

KeyView* capOf(QWidget* editor, const char* picture, const std::string& name) {
    auto* view = editor->findChild<KeyboardView*>(QString::fromLatin1(picture));
    for (const KeyData& cap : view->keyDataArrayHover())
        if (cap.keyname == name) return view->keyView(cap.index);
    ADD_FAILURE() << "no cap " << name << " on " << picture;
    return nullptr;
}

const Generation kGenerations[] = {
    {"first generation", SimulatedKeyboard::quorvath87, "670046462_device.sqlite3", openFirst,
     [](QWidget* editor) {
         click(editor, "SettingsBtn");
         click(editor, "reportRate4");
     },
     settleFirst, "customKeySave",
     [](QWidget* editor) { return static_cast<KeyboardViewController*>(editor)->RadiRGBView->wellColor(); }},
    {"second generation", SimulatedKeyboard::ostrel61, "ostrelpro_device.sqlite3", openSecond,
     [](QWidget* editor) {
         click(editor, "RadiRGBBtn");
         QTest::keyClick(editor->findChild<QSlider*>(QStringLiteral("lightbrightnessSlider")), Qt::Key_Left);
         QCoreApplication::processEvents();
     },
     settleSecond, "customKeySaveButton",
     [](QWidget* editor) {
         const KeyView* q = capOf(editor, "radiKeyboardView", "q");
         return q ? q->backgroundColor() : QColor();
     }},
};

void stepBrightnessDown(const Generation& g, QWidget* editor) {
    click(editor, "RadiRGBBtn");
    QTest::keyClick(editor->findChild<QSlider*>(QStringLiteral("lightbrightnessSlider")), Qt::Key_Left);
    EXPECT_TRUE(g.settle(editor));
}

const QColor kStoredColour(12, 34, 56);
// A light mode other than the one shown first, with brightness and colour controls in both generations.
constexpr int kStoredModeRow = 4;

QListWidget* modeList(QWidget* editor) {
    return editor->findChild<QListWidget*>(QStringLiteral("lightmode"));
}

// A profile as a user makes one: another light mode, its brightness a step down, a colour picked, key A disabled.
void storeProfile(const Generation& g, QWidget* editor) {
    click(editor, "RadiRGBBtn");
    QListWidget* modes = modeList(editor);
    QTest::mouseClick(modes->viewport(), Qt::LeftButton, {},
                      modes->visualItemRect(modes->item(kStoredModeRow)).center());
    EXPECT_TRUE(g.settle(editor));
    stepBrightnessDown(g, editor);
    click(editor, "lightRandomColorWell");
    ASSERT_NE(sharedColorPanel(), nullptr);
    sharedColorPanel()->setCurrentColor(kStoredColour);
    EXPECT_TRUE(g.settle(editor));

    click(editor, "KeyCustomBtn");
    if (KeyView* a = capOf(editor, "customKeyboardView", "a"))
        QTest::mouseClick(a->parentWidget(), Qt::LeftButton, {}, a->geometry().center());
    auto* tree = editor->findChild<QWidget*>(QStringLiteral("KeyCustomView"))->findChild<QTreeView*>();
    for (int r = 0; r < tree->model()->rowCount(); ++r) {
        const QModelIndex row = tree->model()->index(r, 0);
        if (row.data() == "Disable")
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(row).center());
    }
    click(editor, g.keySave);
    EXPECT_TRUE(g.settle(editor));
}

// What the editor shows of that profile.
std::vector<std::string> shownProfile(const Generation& g, QWidget* editor) {
    const KeyView* a = capOf(editor, "customKeyboardView", "a");
    return {
        "mode row " + std::to_string(modeList(editor)->currentRow()),
        "brightness " + std::to_string(editor->findChild<QSlider*>(QStringLiteral("lightbrightnessSlider"))->value()),
        "colour " + g.colour(editor).name().toStdString(),
        std::string("key A ") + (a && a->keyCheck() ? "marked" : "unmarked")};
}

std::vector<std::string> storedProfile(int brightness) {
    return {"mode row " + std::to_string(kStoredModeRow), "brightness " + std::to_string(brightness),
            "colour " + kStoredColour.name().toStdString(), "key A marked"};
}

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

// A profile folder the user made read-only: the editor shows what is stored and says at once that nothing will be
// stored, and after a change that it was not stored (the settings were sent all the same); the printed line stays.
// Nothing in the folder is created or changed, not even by root, and once it is writable again changes are stored
// as before.
TEST_F(Opening, AReadOnlyFolderShowsWhatIsStoredAndStaysAsItWas) {
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
        QWidget* editor = open(g);
        ASSERT_NE(editor, nullptr);
        storeProfile(g, editor);
        closeEditor();
        {
            ReadOnlyFolder readOnly(databaseFolder());
            const std::vector<std::string> before = folderState(databaseFolder());
            testing::internal::CaptureStdout();
            editor = open(g);
            const std::string printed = testing::internal::GetCapturedStdout();
            ASSERT_NE(editor, nullptr);
            EXPECT_EQ(shownProfile(g, editor), storedProfile(14));
            EXPECT_TRUE(noticeShown(editor));
            EXPECT_EQ(noticeText(editor), "Changes are not stored: the profile file or folder is read-only.");
            EXPECT_NE(printed.find("is not writable: changes cannot be stored"), std::string::npos) << printed;

            g.change(editor);
            EXPECT_TRUE(noticeShown(editor));
            EXPECT_EQ(noticeText(editor), c.afterChange);
            closeEditor();
            EXPECT_EQ(folderState(databaseFolder()), before);
        }
        editor = open(g);
        ASSERT_NE(editor, nullptr);
        stepBrightnessDown(g, editor);
        EXPECT_FALSE(noticeShown(editor));
        closeEditor();
        editor = open(g);
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(shownProfile(g, editor), storedProfile(13));
        closeEditor();
    }
}

// The rows one change left different, old and new, in row order.
std::vector<std::string> changedRows(const std::vector<std::string>& before, const std::vector<std::string>& after) {
    std::vector<std::string> changed;
    std::set_symmetric_difference(before.begin(), before.end(), after.begin(), after.end(),
                                  std::back_inserter(changed));
    return changed;
}

// The light mode of a t_radidata row as databaseRows() writes it (table, id, profile, name, mode, ...).
std::string modeOfRow(const std::string& row) {
    std::vector<std::string> fields;
    for (size_t from = 0;;) {
        const size_t bar = row.find('|', from);
        fields.push_back(row.substr(from, bar - from));
        if (bar == std::string::npos) break;
        from = bar + 1;
    }
    return fields.size() > 4 && fields[0] == "t_radidata" ? fields[4] : std::string();
}

// An editor opened while its profile cannot be written shows what is stored (or, for a profile that does not exist
// yet, what a new one has) and says at once why nothing is stored, in the opening's words. Once the lock has ended,
// or space is back and the editor opened again, one brightness step is stored in the shown mode's record, and in no
// other row.
TEST_F(Opening, WhenTheProfileCannotBeWrittenWhatIsStoredIsShownAndTheNextChangeGoesWhereItIsShown) {
    enum class Why { Locked, DiskFull, DiskFullNoProfile };
    const struct {
        const char* label;
        Why why;
        const char* notice;
    } cases[] = {
        {"another program's lock", Why::Locked,
         "Changes are not stored: another program is using this keyboard's profile."},
        {"a full disk", Why::DiskFull, "Changes are not stored: the disk is full."},
        {"a full disk, no profile yet", Why::DiskFullNoProfile, "Changes are not stored: the disk is full."},
    };
    for (const auto& c : cases) {
        for (const Generation& g : kGenerations) {
            SCOPED_TRACE(std::string(c.label) + ", " + g.name);
            QuietStdout quiet;
            std::optional<TempDataHome> home;
            std::optional<FullDiskHome> disk;
            if (c.why == Why::Locked) {
                home.emplace();
            } else {
                disk.emplace();
                SKIP_WITHOUT_FULL_DISK(*disk);
            }
            const bool stored = c.why != Why::DiskFullNoProfile;
            const auto brightnessOf = [](QWidget* editor) {
                return editor->findChild<QSlider*>(QStringLiteral("lightbrightnessSlider"))->value();
            };
            QWidget* editor = nullptr;
            int storedBrightness = 0;
            if (stored) {
                editor = open(g);
                ASSERT_NE(editor, nullptr);
                click(editor, "RadiRGBBtn");
                QListWidget* modes = modeList(editor);
                QTest::mouseClick(modes->viewport(), Qt::LeftButton, {},
                                  modes->visualItemRect(modes->item(kStoredModeRow)).center());
                stepBrightnessDown(g, editor);
                storedBrightness = brightnessOf(editor);
                closeEditor();
            }
            const std::string path = databaseFolder() + "/" + g.file;
            const int shownRow = stored ? kStoredModeRow : 0;
            int brightness = 0;
            {
                std::optional<WriteLockHolder> lock;
                if (c.why == Why::Locked) lock.emplace(path);
                if (disk) disk->fill();
                editor = open(g);
                ASSERT_NE(editor, nullptr);
                click(editor, "RadiRGBBtn");
                EXPECT_EQ(modeList(editor)->currentRow(), shownRow);
                brightness = brightnessOf(editor);
                if (stored) {
                    EXPECT_EQ(brightness, storedBrightness);
                }
                EXPECT_GT(brightness, 0) << "the stored or default brightness, never a blank 0";
                EXPECT_TRUE(noticeShown(editor));
                EXPECT_EQ(noticeText(editor), c.notice);
                if (disk) {
                    closeEditor();
                    disk->makeRoom();
                }
            }
            if (disk) editor = open(g);
            ASSERT_NE(editor, nullptr);
            click(editor, "RadiRGBBtn");
            ASSERT_EQ(modeList(editor)->currentRow(), shownRow);
            const std::vector<std::string> before = databaseRows(path);
            stepBrightnessDown(g, editor);
            EXPECT_FALSE(noticeShown(editor));
            const std::vector<std::string> changed = changedRows(before, databaseRows(path));
            ASSERT_EQ(changed.size(), 2u) << "one row, old and new";
            const int64_t shownMode = modeList(editor)->currentItem()->data(Qt::UserRole).toLongLong();
            for (const std::string& row : changed) EXPECT_EQ(modeOfRow(row), std::to_string(shownMode)) << row;
            EXPECT_EQ(brightnessOf(editor), brightness - 1);
            closeEditor();
        }
    }
}

// A light mode chosen where it cannot be stored: the notice says "sent to the keyboard" only when the keyboard
// received the choice. A profile that could not be created on a full disk reads as a new one, so the first generation
// sends the chosen mode as a new profile has it; a damaged file that may not be written has nothing to send.
TEST_F(Opening, AModeChoiceThatIsNotStoredIsSaidSentOnlyWhenItWas) {
    enum class Why { DiskFullNoProfile, DamagedReadOnly };
    for (const Why why : {Why::DiskFullNoProfile, Why::DamagedReadOnly}) {
        for (const Generation& g : kGenerations) {
            SCOPED_TRACE(std::string(why == Why::DiskFullNoProfile ? "a full disk" : "a damaged read-only file") +
                         ", " + g.name);
            QuietStdout quiet;
            std::optional<TempDataHome> home;
            std::optional<FullDiskHome> disk;
            std::optional<ReadOnlyFolder> readOnly;
            if (why == Why::DiskFullNoProfile) {
                disk.emplace();
                SKIP_WITHOUT_FULL_DISK(*disk);
                disk->fill();
            } else {
                home.emplace();
                fs::create_directories(databaseFolder());
                std::ofstream(databaseFolder() + "/" + g.file) << std::string(4096, 'x');
                readOnly.emplace(databaseFolder());
            }
            QWidget* editor = open(g);
            ASSERT_NE(editor, nullptr);
            click(editor, "RadiRGBBtn");
            keyboard->clearTransfers();
            QListWidget* modes = modeList(editor);
            QTest::mouseClick(modes->viewport(), Qt::LeftButton, {}, modes->visualItemRect(modes->item(2)).center());
            EXPECT_TRUE(g.settle(editor));
            const std::string notice = noticeText(editor);
            EXPECT_NE(notice.find("not stored"), std::string::npos) << notice;
            const bool saysSent = notice.find("sent to the keyboard") != std::string::npos;
            // (The second generation sends what is stored again, which is no change.)
            if (saysSent) {
                EXPECT_FALSE(keyboard->transfers().empty());
            }
            EXPECT_EQ(saysSent, why == Why::DiskFullNoProfile && g.name == kGenerations[0].name) << notice;
            closeEditor();
        }
    }
}

}  // namespace
