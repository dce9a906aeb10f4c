#include "Views/Keyboard/KeyLayout/KeyMapTypes.h"

#include <cstdio>
#include <cstdlib>

namespace keyloom {

void tableDefect(std::string_view what) {
    std::fprintf(stderr, "fatal: model table defect: %.*s\n", static_cast<int>(what.size()), what.data());
    std::abort();
}

}  // namespace keyloom
