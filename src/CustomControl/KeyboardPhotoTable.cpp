#include "CustomControl/KeyboardPhotoTable.h"

namespace keyloom {

KeyboardPhoto keyboardPhotoFor(std::size_t keyCount, int64_t layout, int64_t deviceType, int64_t keyboardLayout) {
    const QSize standard(698, 256);
    switch (keyCount) {
        case 61:
            return {deviceType == 105 ? "img_keyboard_ostrelte" : "img_keyboard_ostrelpro", standard};
        case 62: {
            // The 62-cap numbering starts at 1, the 72-cap one at 2; every other index is the UK layout.
            const char* names[] = {"img_keyboard_ostrelte62_fr", "img_keyboard_ostrelte62_de",
                                   "img_keyboard_ostrelte62_it", "img_keyboard_ostrelte62_sp",
                                   "img_keyboard_ostrelte62_nd"};
            return {layout >= 1 && layout <= 5 ? names[layout - 1] : "img_keyboard_ostrelte62_uk", standard};
        }
        case 68:
            return {"img_keyboard_vindle", QSize(669, 220)};
        case 71:
            return {"img_keyboard_marrowinv2", standard};
        case 72: {
            const char* names[] = {"img_keyboard_marrowinv2_fr", "img_keyboard_marrowinv2_de",
                                   "img_keyboard_marrowinv2_ita", "img_keyboard_marrowinv2_sp",
                                   "img_keyboard_marrowinv2_nd"};
            return {layout >= 2 && layout <= 6 ? names[layout - 2] : "img_keyboard_marrowinv2_uk", standard};
        }
        case 84:
            return {"img_keyboard_tolmekv2", QSize(700, 286)};
        case 88:
            switch (keyboardLayout) {
                case 1031:
                    return {"img_keyboard_88de", standard};
                case 1034:
                    return {"img_keyboard_88es", standard};
                case 1036:
                    return {"img_keyboard_88fr", standard};
                case 1040:
                    return {"img_keyboard_88ita", standard};
                case 1042:
                    return {"img_keyboard_88kr", standard};
                default:
                    return {"img_keyboard_88uk", standard};
            }
        case 91:
            return {"img_keyboard_91", standard};
        default:
            return {"img_keyboard_87", standard};
    }
}

}  // namespace keyloom
