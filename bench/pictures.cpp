// Main-thread cost of the keyboard pictures: drawing a photo (once per photo, then cached) and building a picture
// with initUI (an editor's first display, and again on each keyboard-layout change of the second generation).
// Budget: no main-thread stall over 16 ms during a user action.

#include <benchmark/benchmark.h>

#include <QApplication>

#include "CustomControl/KeyDataList.h"
#include "CustomControl/KeyboardView.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"
#include "resources/KeyboardPictures.h"
#include "resources/KeyloomImages.h"

namespace keyloom {
namespace {

void BM_DrawPhoto(benchmark::State& state) {
    const KeyModel& model = *findKeyModel(KeyModelId::Quorvath91);
    const auto caps = placeCaps(model);
    for (auto _ : state) benchmark::DoNotOptimize(drawKeyboardPhoto(caps, {698, 256}, "UK"));
}
BENCHMARK(BM_DrawPhoto)->Unit(benchmark::kMillisecond);

// A picture rebuilt with the 72 caps of the MarrowinV2, its photo already drawn.
void BM_InitUI(benchmark::State& state) {
    const auto keys = keyDataFromCaps(placeCaps(*findKeyModel(KeyModelId::MarrowinV2_72)));
    KeyboardView picture(QRect(0, 0, 698, 256), nullptr);
    picture.initUI(0, keys, 1);
    for (auto _ : state) {
        picture.initUI(0, keys, 1);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_InitUI)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace keyloom

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
