#pragma once

#include <string>

namespace keyloom {

// Where the account server is and the key it shares with us. Each is a build-time value that the environment
// variable of the same name (KEYLOOM_SERVER_URL, KEYLOOM_AES_KEY) overrides when set, even to the empty text.
// Read on every call, so a test can point the client at its own server.
class AccountSettings {
  public:
    // Scheme and host, e.g. "http://accounts.example"; each request appends its path. Empty: no server.
    static std::string serverAddress();
    // 16 characters whose codes are the 16 key bytes; anything else makes every encryption fail.
    static std::string aesKey();
};

}  // namespace keyloom
