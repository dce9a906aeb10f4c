#pragma once

// The key capture as the suites that press keys set it up: a simulated keyboard (and, with qtKeys, our windows' key
// events) as its sources, its HID loop scheduled, its opening lines kept out of the test output.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Keylogger/Keylogger.h"
#include "platform/input/QtKeyEventSource.h"
#include "platform/input/SimulatedKeySource.h"

namespace keyloom::test {

struct SimulatedKeyCapture {
    SimulatedKeySource* source = nullptr;
    std::unique_ptr<Keylogger> keylogger;
    uint64_t keyboard = 0;  // the simulated keyboard's device on source
    std::string printed;    // what the capture printed when it started
};

inline SimulatedKeyCapture startSimulatedKeyCapture(bool qtKeys) {
    SimulatedKeyCapture capture;
    auto sim = std::make_unique<SimulatedKeySource>();
    capture.source = sim.get();
    std::vector<std::unique_ptr<KeyInputSource>> sources;
    sources.push_back(std::move(sim));
    if (qtKeys) sources.push_back(std::make_unique<QtKeyEventSource>(QtKeyEventSource::ScanCodes::QtKeyOnly));
    testing::internal::CaptureStdout();
    capture.keylogger = std::make_unique<Keylogger>(std::make_unique<KeyCaptureManager>(std::move(sources)));
    capture.printed = testing::internal::GetCapturedStdout();
    capture.keylogger->scheduleHIDLoop();
    capture.keyboard = capture.source->addDevice("keyboard", {0x01, 0x06});
    return capture;
}

}  // namespace keyloom::test
