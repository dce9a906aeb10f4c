#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using namespace std::chrono_literals;

namespace {

std::vector<std::filesystem::path> socketsUnder(const QString& root) {
    std::vector<std::filesystem::path> out;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root.toStdString()))
        if (entry.is_socket()) out.push_back(entry.path());
    return out;
}

// The program's environment: offscreen, its own temporary folders, an account server where nothing listens.
bool isolatedEnvironment(const QTemporaryDir& root, QProcessEnvironment& env) {
    env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.remove("KEYLOOM_SIMULATE");
    env.insert("KEYLOOM_SERVER_URL", "http://127.0.0.1:9");  // nothing listens: the usage report fails at once
    for (const char* name :
         {"HOME", "TMPDIR", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
        const QString dir = root.filePath(QString::fromLatin1(name));
        if (!QDir().mkpath(dir)) return false;
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert(name, dir);
    }
    return true;
}

}  // namespace

// What the program prints from its start to the first tick of the access watch, line for line and in order, is the
// same with a keyboard and without one.
TEST(Program, PrintedLinesAtStartWithAndWithoutAKeyboard) {
    const std::vector<std::string> start = {
        "startPrivilegeMonitor",
        "dll [{DeviceUsage: 6, DeviceUsagePage: 1}, {DeviceUsage: 1, DeviceUsagePage: 65290}, {DeviceUsage: 7, "
        "DeviceUsagePage: 1}]",
        "createTable success",
        "init: connect success",
    };
    const char* keyboards[] = {"", "quorvath87,receiver24g"};
    QTemporaryDir roots[2];
    QProcess programs[2];
    for (int i = 0; i < 2; ++i) {  // side by side: the watch ticks first after 3 s
        QProcessEnvironment env;
        ASSERT_TRUE(roots[i].isValid());
        ASSERT_TRUE(isolatedEnvironment(roots[i], env));
        if (*keyboards[i]) env.insert("KEYLOOM_SIMULATE", keyboards[i]);
        programs[i].setProcessEnvironment(env);
        programs[i].start(QStringLiteral(KEYLOOM_PROGRAM), {});
        ASSERT_TRUE(programs[i].waitForStarted());
    }
    std::vector<std::string> lines[2];
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(*keyboards[i] ? keyboards[i] : "no keyboard");
        QByteArray out;
        while (!out.contains("ACCESS_ENABLED") && programs[i].waitForReadyRead(10000))
            out += programs[i].readAllStandardOutput();
        // Trusted, the tick is followed by its closing line.
        if (out.contains("ACCESS_ENABLEDtrue"))
            while (!out.contains("有权限") && programs[i].waitForReadyRead(10000))
                out += programs[i].readAllStandardOutput();
        ::kill(static_cast<pid_t>(programs[i].processId()), SIGTERM);
        ASSERT_TRUE(programs[i].waitForFinished(10000));
        out += programs[i].readAllStandardOutput();
        for (const QByteArray& line : out.split('\n'))
            if (!line.isEmpty()) lines[i].push_back(line.toStdString());
        std::vector<std::string> expected = start;
        if (out.contains("ACCESS_ENABLEDtrue")) {
            expected.push_back("ACCESS_ENABLEDtrue");
            expected.push_back("有权限,开启键盘事件监控");
        } else {
            expected.push_back("ACCESS_ENABLEDfalse");
        }
        EXPECT_EQ(lines[i], expected) << programs[i].readAllStandardError().toStdString();
    }
    EXPECT_EQ(lines[0], lines[1]);
}

// The built program, offscreen with simulated keyboards and its own temporary folders, ends on SIGTERM, SIGINT and
// SIGHUP as its quit item ends it: status 0, and its single-instance socket is gone.
TEST(Program, QuitSignalsEndItLikeTheQuitItem) {
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(signalNumber));
        QTemporaryDir root;
        ASSERT_TRUE(root.isValid());
        QProcessEnvironment env;
        ASSERT_TRUE(isolatedEnvironment(root, env));
        env.insert("KEYLOOM_SIMULATE", "quorvath87,receiver24g");
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
