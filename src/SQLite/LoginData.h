#pragma once

#include <cstdint>
#include <string>

namespace keyloom {

// The remembered log-in. `psw` is the password's MD5 digest (32 lowercase hex digits).
struct LoginData {
    int64_t userId = 0;
    std::string email{};
    std::string psw{};
    int64_t remember = 0;
    int64_t autoLogin = 0;

    bool operator==(const LoginData&) const = default;
};

}  // namespace keyloom
