#pragma once

// A second-generation key assignment row of profile 1, as the suites store them.

#include <cstdint>
#include <string>

#include "SQLite/MarrowinKey.h"

namespace keyloom::test {

inline MarrowinKey marrowinKeyRow(int64_t code, int64_t type, int64_t value, int64_t value2 = 0, int64_t value3 = 0,
                                  std::string desc = {}) {
    MarrowinKey k;
    k.profId = 1;
    k.keyValue = code;
    k.macroType = type;
    k.macroValue = value;
    k.macro2Value = value2;
    k.macro3Value = value3;
    k.macroDesc = std::move(desc);
    return k;
}

}  // namespace keyloom::test
