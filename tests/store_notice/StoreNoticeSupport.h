#pragma once

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <gtest/gtest.h>

#include <QLabel>
#include <QWidget>
#include <string>
#include <vector>

#include "support/WriteLockHolder.h"

namespace keyloom::test {

// Every row of every table of the database file, in row order: "nothing half-kept" compares two of these.
inline std::vector<std::string> databaseRows(const std::string& path) {
    SQLite::Database db(path, SQLite::OPEN_READONLY);
    std::vector<std::string> tables;
    SQLite::Statement names(db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name");
    while (names.executeStep()) tables.push_back(names.getColumn(0).getString());
    std::vector<std::string> rows;
    for (const std::string& table : tables) {
        SQLite::Statement q(db, "SELECT * FROM \"" + table + "\" ORDER BY rowid");
        while (q.executeStep()) {
            std::string row = table;
            for (int i = 0; i < q.getColumnCount(); ++i) row += "|" + q.getColumn(i).getString();
            rows.push_back(row);
        }
    }
    return rows;
}

// The editor window's store notice: shown, or not.
inline QLabel* storeNoticeOf(QWidget* editor) {
    return editor ? editor->findChild<QLabel*>(QStringLiteral("storeNotice")) : nullptr;
}
inline bool noticeShown(QWidget* editor) {
    QLabel* notice = storeNoticeOf(editor);
    return notice && notice->isVisibleTo(editor);
}
inline std::string noticeText(QWidget* editor) {
    QLabel* notice = storeNoticeOf(editor);
    return notice ? notice->text().toStdString() : std::string();
}

// The notice after a change that another program's lock kept from the store.
inline void expectBusyNotice(QWidget* editor, bool sentAnyway) {
    EXPECT_TRUE(noticeShown(editor));
    const std::string text = noticeText(editor);
    EXPECT_NE(text.find("not stored"), std::string::npos) << text;
    EXPECT_NE(text.find("another program is using this keyboard's profile"), std::string::npos) << text;
    EXPECT_EQ(text.find("sent to the keyboard") != std::string::npos, sentAnyway) << text;
}

}  // namespace keyloom::test
