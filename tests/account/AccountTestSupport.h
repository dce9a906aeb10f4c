#pragma once

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <string>

#include "LoopbackServer.h"
#include "SQLite/LoginData.h"
#include "support/TestSupport.h"

namespace keyloom::test {

// A control of a screen by object name (the screen's own, not one of a screen presented over it).
template <class T = QWidget>
T* control(QWidget* screen, const char* name) {
    T* found = screen ? screen->findChild<T*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly) : nullptr;
    EXPECT_TRUE(found) << name;
    return found;
}

inline void click(QWidget* screen, const char* button) {
    QTest::mouseClick(control<QPushButton>(screen, button), Qt::LeftButton);
}

inline void fill(QWidget* screen, const char* field, const std::string& text) {
    control<QLineEdit>(screen, field)->setText(QString::fromStdString(text));
}

inline std::string text(QWidget* screen, const char* field) {
    return control<QLineEdit>(screen, field)->text().toStdString();
}

// The informative text of an open alert sheet, "<title>/<text>"; "" when none is open.
inline std::string alertOf(QMessageBox* sheet) {
    if (!sheet || !sheet->isVisible()) return {};
    return (sheet->text() + "/" + sheet->informativeText()).toStdString();
}

// Ends an alert sheet with its "OK" button.
inline void pressOK(QMessageBox* sheet) {
    ASSERT_TRUE(sheet);
    QTest::mouseClick(sheet->defaultButton(), Qt::LeftButton);
}

std::string upperMd5(const std::string& text);

// The account client pointed at a loopback server with the test key, in a fresh data folder, loginEmail empty.
class AccountEnvironment : public ::testing::Test {
  protected:
    AccountEnvironment();
    ~AccountEnvironment() override;

    static void storeLogin(const std::string& email, const std::string& psw, int64_t remember);
    static LoginData storedLogin();
    // The decrypted body of the request that arrived n-th (0-based), waiting for it.
    std::string decryptedBody(size_t n);
    // Runs action, then waits until the next answer of the account server has been handled on the main thread by
    // every screen that observes it (their observers were registered before this one, so their main-thread calls
    // run before its own).
    static void untilAnswered(const std::function<void()>& action);

    TempDataHome data;
    LoopbackServer server;
};

}  // namespace keyloom::test
