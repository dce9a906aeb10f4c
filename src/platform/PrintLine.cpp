#include "platform/PrintLine.h"

#include <cstdio>
#include <string>

namespace keyloom {

void printLine(std::string_view line) {
    std::string out;
    out.reserve(line.size() + 1);
    out.append(line);
    out.push_back('\n');
    // One write under the stream's own lock, flushed like the endl it replaces.
    flockfile(stdout);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
    funlockfile(stdout);
}

}  // namespace keyloom
