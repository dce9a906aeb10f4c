// Second-generation key table, on the Tolmek 84 (the most keys) with every key assigned:
//   1. our own CPU time of one whole key-table upload, set against the pauses the keyboard needs between its
//      reports (10 ms before each of the 16 transfers: 160 ms); target at most 5 %:
//        main thread: read the profile's assignments and build the 780-byte table;
//        worker:      the three commands with their read-backs and the ten table reports, through the channel onto a
//                     device that answers at once, with the pauses skipped;
//   2. the longest main-thread stall during a Save in the editor (a cap clicked, a function chosen, Save clicked,
//      and the event-loop turn each causes), the keyboard taking its real pauses on the worker meanwhile; target no
//      stall over 16 ms, one commit per Save.
// Usage: bench_keytable [folder] [rounds]. The folder (default: the current one) should lie on the disk: commits are
// measured with their flush. A temporary data home is made inside it and removed afterwards.
// Run with QT_QPA_PLATFORM=offscreen (or under a display).
#include <stdlib.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "CustomControl/KeyboardView.h"
#include "SQLite/MarrowinDeviceSQLite.h"
#include "VelkorDevice/MarrowinV2.h"
#include "Views/Home/AppState.h"
#include "Views/Keyboard/DataSource/TreeNodeItemModel.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "Views/Keyboard/Marrowin/MarrowinKeyCustomView.h"
#include "Views/Keyboard/Marrowin/MarrowinViewController.h"
#include "Views/Keyboard/Marrowin/MarrowinWindowViewController.h"
#include "Views/Keyboard/Marrowin/core/MarrowinEditorContext.h"
#include "Views/Keyboard/Marrowin/core/MarrowinKeyTable.h"
#include "platform/DataPaths.h"
#include "platform/hid/SimulatedHid.h"

using namespace keyloom;
using namespace keyloom::bench;

namespace {

constexpr double kPausesMs = 16 * 10.0;
constexpr const char* kFile = "tolmekv2te_device.sqlite3";

// Every key of the model gets a function, the kinds in turn (combinations of two and three keys among them).
size_t assignEveryKey(MarrowinDeviceSQLite& db, const KeyModel& model) {
    size_t stored = 0;
    int64_t i = 0;
    for (const auto& [code, row] : model.codeMap()) {
        MarrowinKey k;
        k.profId = 1;
        k.keyValue = code;
        switch (i++ % 5) {
            case 0:
                k.macroType = 2, k.macroValue = 1, k.macroDesc = "Disable";
                break;
            case 1:
                k.macroType = 3, k.macroValue = 6, k.macro2Value = 224, k.macroDesc = "Left Control + C";
                break;
            case 2:
                k.macroType = 3, k.macroValue = 6, k.macro2Value = 224, k.macro3Value = 2;
                break;
            case 3:
                k.macroType = 6, k.macroValue = 6, k.macroDesc = "Scroll Down";
                break;
            default:
                k.macroType = 7, k.macroValue = 7, k.macroDesc = "Mute";
                break;
        }
        stored += db.addKeyProfile(k) > 0;
    }
    return stored;
}

QModelIndex rowNamed(QTreeView* tree, const QString& name) {
    QAbstractItemModel* model = tree->model();
    for (int r = 0; r < model->rowCount(); ++r) {
        const QModelIndex top = model->index(r, 0);
        if (top.data().toString() == name) return top;
        for (int c = 0; c < model->rowCount(top); ++c)
            if (model->index(c, 0, top).data().toString() == name) return model->index(c, 0, top);
    }
    return {};
}

// Each action with the event-loop turn it causes, timed on the main thread: wall time (what the user waits, with
// whatever else the machine runs) and the thread's own CPU time (our work alone).
struct Stalls {
    std::vector<double> wallMs, cpuMs;
    void time(const std::function<void()>& action) {
        QElapsedTimer timer;
        timer.start();
        const double cpu = threadCpuMs();
        action();
        QApplication::processEvents();
        cpuMs.push_back(threadCpuMs() - cpu);
        wallMs.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    void print(const char* label) const {
        std::printf("  %-10s wall median %6.2f ms, longest %6.2f ms;  CPU median %6.2f ms, longest %6.2f ms\n", label,
                    median(wallMs), longest(wallMs), median(cpuMs), longest(cpuMs));
    }
};

}  // namespace

int main(int argc, char** argv) {
    const int rounds = benchRounds(argc, argv, 5, 61);
    const TempDataHome home(benchFolder(argc, argv));
    if (!home.made()) return 1;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QuietStdout quiet;
    int status = 0;
    {
        QApplication app(argc, argv);
        const KeyModel& tolmek = *findKeyModel(KeyModelId::Tolmek84);
        size_t keys = 0;
        double buildMs = 0, sendMs = 0;
        size_t transfers = 0;
        {
            MarrowinDeviceSQLite db(kFile);
            keys = assignEveryKey(db, tolmek);
            if (!db.isConnected() || keys != tolmek.codeMap().size() || !readKeyTable(db, 1, tolmek.codeMap())) {
                status = 1;
            } else {
                auto device = std::make_shared<AnsweringDevice>();
                MarrowinV2 channel(device, [](std::chrono::milliseconds) {});
                KeyTable table{};
                buildMs = medianCpuMs(rounds, [&] { table = *readKeyTable(db, 1, tolmek.codeMap()); });
                sendMs = medianCpuMs(rounds, [&] { sendKeyTable(channel, table); });
                transfers = device->transfers / size_t(rounds);
            }
        }

        Stalls clicks, chooses, saves;
        double commitsPerSave = 0;
        if (status == 0) {
            SimulatedHid::instance().setActive(true);
            auto keyboard = SimulatedHid::instance().plug(SimulatedKeyboard::tolmek84());
            MarrowinViewController* editor = openMarrowinEditor(keyboard, QStringLiteral("Tolmek V2 TE"));
            if (!editor) {
                status = 1;
            } else {
                QApplication::processEvents();
                MarrowinKeyCustomView* panel = editor->KeyCustomView;
                KeyboardView* picture = panel->customKeyboardView;
                QTreeView* tree = panel->keycustomTree;
                const std::string db = databaseFolder() + "/" + editor->deviceDBfile();
                const uint32_t before = changeCounter(db);
                const QString functions[] = {"Disable", "Scroll Down", "Mute", "Copy"};
                for (int r = 0; r < rounds; ++r) {
                    const KeyData& cap =
                        picture->keyDataArrayHover()[size_t(r * 7) % picture->keyDataArrayHover().size()];
                    const QPoint at(int(cap.rect.center().x()), picture->height() - int(cap.rect.center().y()));
                    clicks.time([&] { QTest::mouseClick(picture, Qt::LeftButton, {}, at); });
                    const QModelIndex row = rowNamed(tree, functions[r % 4]);
                    if (row.parent().isValid()) tree->expand(row.parent());
                    chooses.time([&] {
                        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(row).center());
                    });
                    saves.time([&] { QTest::mouseClick(panel->customKeySaveBtn, Qt::LeftButton); });
                }
                commitsPerSave = double(changeCounter(db) - before) / rounds;
                editor->context().waitForExchanges();
                closeEditor();
            }
            SimulatedHid::instance().reset();
        }

        quiet.restore();
        if (status != 0) {
            std::fprintf(stderr, "cannot prepare the profile database or the editor in %s\n", home.path().c_str());
        } else {
            std::printf("one key-table upload, Tolmek 84 with all %zu keys assigned, %d rounds:\n", keys, rounds);
            std::printf("  main thread (read + build table)  %8.3f ms CPU\n", buildMs);
            std::printf("  worker (%zu transfers, no pauses)  %8.3f ms CPU\n", transfers, sendMs);
            std::printf("  total %.3f ms = %.2f %% of the %.0f ms of pauses (target <= 5 %%)\n", buildMs + sendMs,
                        100.0 * (buildMs + sendMs) / kPausesMs, kPausesMs);
            std::printf("editor key tab, %d assignments, keyboard with its real pauses, data home %s:\n", rounds,
                        home.path().c_str());
            clicks.print("cap click");
            chooses.print("row chosen");
            saves.print("Save");
            std::printf("  %.2f commits per Save\n", commitsPerSave);
            std::printf("  target: no main-thread stall over 16 ms, one commit per Save\n");
        }
    }
    return status;
}
