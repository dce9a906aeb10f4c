#include "platform/QuitSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>

namespace keyloom {

namespace {

std::atomic<int> writeEnd{-1};

extern "C" void onQuitSignal(int signalNumber) {
    const int saved = errno;
    const int fd = writeEnd.load();
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    if (fd >= 0) {
        [[maybe_unused]] ssize_t n = ::write(fd, &byte, 1);
    }
    errno = saved;
}

}  // namespace

QuitSignals::QuitSignals(QObject* parent) : QObject(parent) {
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) return;
    writeEnd.store(pipe_[1]);
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { readPipe(); });
    struct sigaction action = {};
    action.sa_handler = &onQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &action, &previous_[i]);
}

QuitSignals::~QuitSignals() {
    if (pipe_[0] < 0) return;
    for (size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &previous_[i], nullptr);
    writeEnd.store(-1);
    notifier_.reset();
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

void QuitSignals::readPipe() {
    unsigned char byte = 0;
    while (::read(pipe_[0], &byte, 1) == 1) Q_EMIT received(byte);
}

}  // namespace keyloom
