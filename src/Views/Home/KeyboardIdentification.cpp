#include "Views/Home/KeyboardIdentification.h"

namespace keyloom {

namespace {

struct NamedRow {
    const char* name;  // nullptr: any other name
    const char* desc;
    const char* image;
    KeyModelId model;
};

constexpr NamedRow k0250[] = {
    {"Marrowin V2 PRO", "Marrowin V2 PRO", "big_kb_marrowinv2_pro", KeyModelId::MarrowinV2_71},
    {"Ostrel TE", "Ostrel TE", "big_kb_ostrel_te", KeyModelId::OstrelTE62},
    {nullptr, "Marrowin V2 TE", "big_kb_marrowinv2", KeyModelId::MarrowinV2_71},
};

constexpr NamedRow k024F[] = {
    {"Ostrel PRO", "Ostrel PRO", "big_kb_ostrel_pro", KeyModelId::Ostrel61},
    {"Ostrel TE", "Ostrel TE", "big_kb_ostrel_te", KeyModelId::OstrelTE61},
    {"Ostrel MAX", "Ostrel MAX", "big_kb_ostrel_pro", KeyModelId::Ostrel61},
    {"Tolmek V2 TE", "Tolmek V2 TE", "big_kb_te_tolmekv2", KeyModelId::Tolmek84},
    {"Vindle", "Vindle", "big_kb_vindle", KeyModelId::Vindle68},
    {"Marrowin V2 PRO", "Marrowin V2 PRO", "big_kb_marrowinv2_pro", KeyModelId::MarrowinV2_71},
    {"Marrowin V2 MAX", "Marrowin V2 MAX", "big_kb_marrowinv2_pro", KeyModelId::MarrowinV2_71},
    {nullptr, "Marrowin V2 TE", "big_kb_marrowinv2", KeyModelId::MarrowinV2_71},
};

template <size_t N>
KeyboardIdentity byName(const NamedRow (&rows)[N], const std::string& name) {
    for (const NamedRow& row : rows) {
        if (row.name == nullptr || name == row.name) return {7, std::string(row.desc), row.image, row.model};
    }
    return {};
}

}  // namespace

KeyboardIdentity identifyKeyboard(int64_t vendorId, int64_t productId, const std::string& name) {
    if (vendorId == 0x1A2C) {
        switch (productId) {
            case 0xB58E:
                return {2, std::nullopt, "big_kb_pro_88", KeyModelId::Quorvath88};
            case 0xB58F:
                return {5, std::nullopt, "big_kb_te_88", KeyModelId::Quorvath88};
            case 0xB5BE:
                return {3, std::nullopt, "big_kb_pro_91", KeyModelId::Quorvath91};
            case 0xB5BF:
                return {6, std::nullopt, "big_kb_te_91", KeyModelId::Quorvath91};
            case 0xB51F:
                return {4, std::nullopt, "big_kb_te_87", KeyModelId::Quorvath87};
            default:
                return {};
        }
    }
    if (vendorId == 0x05AC) {
        if (productId == 0x0250) return byName(k0250, name);
        if (productId == 0x024F) return byName(k024F, name);
    }
    return {};
}

}  // namespace keyloom
