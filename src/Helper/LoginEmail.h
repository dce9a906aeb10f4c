#pragma once

#include <string>

namespace keyloom {

// `loginEmail`: the e-mail of the last log-in attempt or of the remembered log-in; empty at start and while offline.
// Written by the log-in screen on the main thread, read by the account client on any thread (the usage report is
// sent from the device monitor's side), so it is kept behind a lock and read as a copy.
std::string loginEmail();
void setLoginEmail(const std::string& email);

}  // namespace keyloom
