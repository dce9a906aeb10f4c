#pragma once

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "SQLite/SQLiteConnection.h"
#include "Views/Home/AppState.h"
#include "Views/Keyboard/Quorvath/KeyboardViewController.h"
#include "Views/Keyboard/Quorvath/KeyboardWindowViewController.h"
#include "Views/Keyboard/Quorvath/core/KeyboardEditorContext.h"
#include "platform/DataPaths.h"
#include "platform/hid/SimulatedHidScope.h"
#include "support/TestSupport.h"
#include "support/WaitIdle.h"

namespace keyloom::test {

using Bytes = std::vector<uint8_t>;

inline Bytes usbSleepReport(int t) {
    return {5, 0xFE, 0x0E, 1, uint8_t(t >> 8), uint8_t(t), 0, 0};
}
inline Bytes wirelessReport(int light, int sleep) {
    return {5, 0xFE, 0x0E, 2, uint8_t(light >> 8), uint8_t(light), uint8_t(sleep >> 8), uint8_t(sleep)};
}
inline Bytes rateReport(int code) {
    return {5, 0xF7, uint8_t(code), 0, 0, 0, 0, 0};
}
inline const Bytes kResetReport = {5, 0xF6, 0, 0, 0, 0, 0, 0};
inline const Bytes kVersionRead = {5, 0xF4, 0, 0, 0, 0, 0, 0};

// The first-generation editor opened on a simulated keyboard, as the "showkeyboard" transition opens it.
class EditorFixture : public ::testing::Test {
  public:
    void SetUp() override { setenv("KEYLOOM_SERVER_URL", "", 1); }
    void TearDown() override {
        closeEditor();
        unsetenv("KEYLOOM_SERVER_URL");
    }

    KeyboardViewController* open(std::shared_ptr<SimulatedKeyboard> kb, const QString& title = "Quorvath") {
        keyboard = SimulatedHid::instance().plug(std::move(kb));
        showKeyboardEditor({keyboard->device(), title});
        window = qobject_cast<KeyboardWindowViewController*>(KEYBOARD_VIEW.data());
        EXPECT_NE(window, nullptr);
        controller = window ? window->contentViewController() : nullptr;
        settle();
        return controller;
    }

    // Device events delivered, every queued exchange done and its main-thread continuation run.
    void settle() {
        if (controller && controller->context())
            EXPECT_TRUE(waitUntilIdle({controller->context()->worker()}));
        else
            EXPECT_TRUE(waitUntilIdle());
    }

    void closeEditor() {
        if (!window) return;
        window->close();
        EXPECT_TRUE(processEventsUntil([&] { return window.isNull(); }));
        controller = nullptr;
    }

    KeyboardEditorContext& ctx() { return *controller->context(); }

    template <typename W>
    W* find(const char* name) {
        W* w = controller->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    std::vector<Bytes> featureReports() const { return keyboard->sentReports(HidReportType::Feature); }

    std::string dbPath() const { return databaseFolder() + "/" + controller->context()->deviceDBfile(); }

    // Write transactions committed to the profile file.
    uint64_t commits() const { return SQLiteConnection::committedTransactions(dbPath()); }

    std::map<std::string, std::string> settingsRows() const {
        SQLite::Database db(dbPath(), SQLite::OPEN_READONLY);
        SQLite::Statement q(db, R"(SELECT "key", "value" FROM "t_configdata" WHERE "profId" = 1)");
        std::map<std::string, std::string> rows;
        while (q.executeStep()) rows[q.getColumn(0).getString()] = q.getColumn(1).getString();
        return rows;
    }

    void setStored(const std::string& key, const std::string& value) const {
        SQLite::Database db(dbPath(), SQLite::OPEN_READWRITE);
        SQLite::Statement u(db, R"(UPDATE "t_configdata" SET "value" = ? WHERE "profId" = 1 AND "key" = ?)");
        u.bind(1, value);
        u.bind(2, key);
        u.exec();
    }

    TempDataHome data;
    SimulatedHidScope simulation;
    std::shared_ptr<SimulatedKeyboard> keyboard;
    QPointer<KeyboardWindowViewController> window;
    KeyboardViewController* controller = nullptr;
};

}  // namespace keyloom::test
