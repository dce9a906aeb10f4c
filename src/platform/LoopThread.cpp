#include "platform/LoopThread.h"

namespace keyloom {

void LoopThread::start(std::function<void(std::stop_token)> loop) {
    stop();
    thread_ = std::jthread([fn = std::move(loop)](std::stop_token token) { fn(token); });
}

void LoopThread::stop() {
    if (!thread_.joinable()) return;
    thread_.request_stop();
    if (thread_.get_id() == std::this_thread::get_id()) {
        thread_.detach();  // the loop asked for its own stop; it ends when it returns
        return;
    }
    thread_.join();
}

}  // namespace keyloom
