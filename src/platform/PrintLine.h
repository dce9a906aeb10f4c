#pragma once

#include <string_view>

namespace keyloom {

// The program's printed lines: line and its newline leave standard output in one piece and at once, whichever
// thread prints, so lines of two threads never mix.
void printLine(std::string_view line);

}  // namespace keyloom
