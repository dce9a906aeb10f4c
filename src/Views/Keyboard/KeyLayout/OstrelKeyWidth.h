#pragma once

// Cap widths of the Ostrel pictures. The Vindle 68 picture borrows its "normal" as well.

#include "Views/Keyboard/KeyLayout/KeyLayoutTypes.h"

namespace keyloom {

const KeyWidthTable& Ostrel_EN_Key_Width();

}  // namespace keyloom
