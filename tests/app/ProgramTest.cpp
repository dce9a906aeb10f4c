#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <vector>

using namespace std::chrono_literals;

namespace {

std::vector<std::filesystem::path> socketsUnder(const QString& root) {
    std::vector<std::filesystem::path> out;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root.toStdString()))
        if (entry.is_socket()) out.push_back(entry.path());
    return out;
}

}  // namespace

// The built program, offscreen with simulated keyboards and its own temporary folders, ends on SIGTERM, SIGINT and
// SIGHUP as its quit item ends it: status 0, and its single-instance socket is gone.
TEST(Program, QuitSignalsEndItLikeTheQuitItem) {
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(signalNumber));
        QTemporaryDir root;
        ASSERT_TRUE(root.isValid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("KEYLOOM_SIMULATE", "quorvath87,receiver24g");
        env.insert("KEYLOOM_SERVER_URL", "http://127.0.0.1:9");  // nothing listens: the usage report fails at once
        for (const char* name :
             {"HOME", "TMPDIR", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
            const QString dir = root.filePath(QString::fromLatin1(name));
            ASSERT_TRUE(QDir().mkpath(dir));
            QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            env.insert(name, dir);
        }
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(KEYLOOM_PROGRAM), {});
        ASSERT_TRUE(program.waitForStarted());

        // The start-up's first line comes after the socket is listened to and the signals are caught.
        QByteArray out;
        while (!out.contains("startPrivilegeMonitor\n") && program.waitForReadyRead(10000))
            out += program.readAllStandardOutput();
        ASSERT_TRUE(out.contains("startPrivilegeMonitor\n")) << program.readAllStandardError().toStdString();
        ASSERT_EQ(socketsUnder(root.path()).size(), 1u);

        ::kill(static_cast<pid_t>(program.processId()), signalNumber);
        ASSERT_TRUE(program.waitForFinished(10000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        EXPECT_TRUE(socketsUnder(root.path()).empty());
    }
}
