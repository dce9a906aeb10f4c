#pragma once

namespace keyloom {

// A wake-up file descriptor for poll() loops: signal() from any thread makes the fd readable until drain().
class EventFd {
  public:
    EventFd();
    ~EventFd();
    EventFd(const EventFd&) = delete;
    EventFd& operator=(const EventFd&) = delete;

    int fd() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    void signal();
    void drain();

  private:
    int fd_ = -1;
};

}  // namespace keyloom
