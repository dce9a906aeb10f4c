#include <gtest/gtest.h>

#include "Views/Home/KeyboardIdentification.h"

using namespace keyloom;

struct IdCase {
    int64_t vid, pid;
    const char* name;
    int64_t type;
    const char* desc;  // nullptr: the product name
    const char* image;
    KeyModelId model;
};

// A row of each kind, the names matched by case, and the ones that fall through to a default row.
TEST(KeyboardIdentification, TableRows) {
    const IdCase cases[] = {
        {0x1A2C, 0xB58E, "Q88", 2, nullptr, "big_kb_pro_88", KeyModelId::Quorvath88},
        {0x1A2C, 0x1234, "other", 1, nullptr, "big_kb_pro_87", KeyModelId::Quorvath87},
        {0x05AC, 0x0250, "Ostrel MAX", 7, "Marrowin V2 TE", "big_kb_marrowinv2", KeyModelId::MarrowinV2_71},
        {0x05AC, 0x0250, "", 7, "Marrowin V2 TE", "big_kb_marrowinv2", KeyModelId::MarrowinV2_71},
        {0x05AC, 0x024F, "Ostrel PRO", 7, "Ostrel PRO", "big_kb_ostrel_pro", KeyModelId::Ostrel61},
        {0x05AC, 0x024F, "vindle", 7, "Marrowin V2 TE", "big_kb_marrowinv2", KeyModelId::MarrowinV2_71},
        {0x05AC, 0x0111, "Vindle", 1, nullptr, "big_kb_pro_87", KeyModelId::Quorvath87},
        {0x0000, 0x0000, "", 1, nullptr, "big_kb_pro_87", KeyModelId::Quorvath87},
    };
    for (const IdCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " pid " + std::to_string(c.pid));
        const KeyboardIdentity id = identifyKeyboard(c.vid, c.pid, c.name);
        EXPECT_EQ(id.keyboardType, c.type);
        EXPECT_EQ(id.keyboardDesc, c.desc ? std::optional<std::string>(c.desc) : std::nullopt);
        EXPECT_EQ(id.keyboardImage, c.image);
        EXPECT_EQ(id.model, c.model);
        EXPECT_NE(findKeyModel(id.model), nullptr) << "model tables missing from the registry";
    }
}
