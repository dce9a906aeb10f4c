#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "Views/Keyboard/KeyLayout/CurrentDevice.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"

namespace keyloom {
namespace {

using Codes = std::set<int64_t>;

const KeyModel& model(KeyModelId id) {
    const KeyModel* m = findKeyModel(id);
    if (!m) throw std::runtime_error("model not registered");
    return *m;
}

Codes asSet(const std::vector<int64_t>& v) {
    return Codes(v.begin(), v.end());
}

class CurrentDevice : public ::testing::Test {
  protected:
    void SetUp() override { resetCurrentDevice(); }
    void TearDown() override { resetCurrentDevice(); }
};

TEST_F(CurrentDevice, ResetLeavesEverythingEmpty) {
    makeCurrentDevice(model(KeyModelId::Quorvath87));
    resetCurrentDevice();
    EXPECT_TRUE(QV_SuperKeyNameMap()->empty());
    EXPECT_TRUE(QV_SuperKeyCodeMap()->empty());
    EXPECT_TRUE(QV_FlagKeys().empty());
    EXPECT_TRUE(QV_NormalKeys().empty());
}

TEST_F(CurrentDevice, MakingAModelCurrentSplitsItsNameMapIntoFlagAndNormalKeys) {
    struct Case {
        KeyModelId id;
        Codes flags;
        std::size_t normals;
    };
    const Case cases[] = {
        {KeyModelId::Quorvath87, {57, 224, 225, 226, 227, 228, 229, 230, 231}, 83},
        {KeyModelId::Quorvath88, {57, 224, 225, 226, 227, 228, 229, 230}, 84},
        {KeyModelId::Quorvath91, {57, 224, 225, 226, 227, 228, 229, 230, 231}, 87},
        {KeyModelId::Quorvath87, {57, 224, 225, 226, 227, 228, 229, 230, 231}, 83},  // back again: nothing stale
    };
    for (const Case& c : cases) {
        const KeyModel& m = model(c.id);
        makeCurrentDevice(m);
        EXPECT_EQ(QV_SuperKeyNameMap()->size(), m.nameMap().size()) << m.name;
        EXPECT_EQ(QV_SuperKeyCodeMap()->size(), m.codeMap().size()) << m.name;
        EXPECT_EQ(QV_FlagKeys().size(), c.flags.size()) << m.name;
        EXPECT_EQ(asSet(QV_FlagKeys()), c.flags) << m.name;
        EXPECT_EQ(QV_NormalKeys().size(), c.normals) << m.name;
        const Codes normals = asSet(QV_NormalKeys());
        for (int64_t code : {254, 250, 251, 252, 253, 41}) {
            EXPECT_TRUE(normals.count(code)) << m.name << " " << code;
        }
        // Every code of the name map is in exactly one list.
        for (const auto& [name, row] : m.nameMap()) {
            EXPECT_NE(c.flags.count(*row.key_code), normals.count(*row.key_code)) << name;
        }
    }
}

TEST_F(CurrentDevice, CurrentMapsAreCopiesOfTheModelsPair) {
    const KeyModel& m = model(KeyModelId::Quorvath91);
    makeCurrentDevice(m);
    for (const auto& [name, row] : m.nameMap()) {
        const KeyMapRow* current = QV_SuperKeyNameMap()->find(name);
        ASSERT_NE(current, nullptr) << name;
        EXPECT_EQ(*current, row);
    }
    for (const auto& [code, row] : m.codeMap()) {
        const KeyMapRow* current = QV_SuperKeyCodeMap()->find(code);
        ASSERT_NE(current, nullptr) << code;
        EXPECT_EQ(*current, row);
    }
    // The slot readers take from the code map: the 87's exchanged Alt/Win slots arrive intact.
    makeCurrentDevice(model(KeyModelId::Quorvath87));
    EXPECT_EQ(QV_SuperKeyCodeMap()->find(226)->layout_index, 77);
    EXPECT_EQ(QV_SuperKeyNameMap()->find("leftAlt")->layout_index, 78);
}

TEST_F(CurrentDevice, AbsentLookUpsDoNotGrowTheCurrentMaps) {
    makeCurrentDevice(model(KeyModelId::Quorvath88));
    EXPECT_EQ(QV_SuperKeyNameMap()->find("rightWin"), nullptr);
    EXPECT_EQ(QV_SuperKeyCodeMap()->find(231), nullptr);
    EXPECT_EQ(QV_SuperKeyCodeMap()->find(0), nullptr);
    EXPECT_EQ(QV_SuperKeyNameMap()->size(), 92u);
    EXPECT_EQ(QV_SuperKeyCodeMap()->size(), 92u);
}

TEST_F(CurrentDevice, ReplacingOnlyTheMapsKeepsTheKeyLists) {
    makeCurrentDevice(model(KeyModelId::Quorvath88));
    const std::vector<int64_t> flags = QV_FlagKeys();
    const std::vector<int64_t> normals = QV_NormalKeys();

    // The home view at load: the 87 name map only.
    setCurrentKeyNameMap(model(KeyModelId::Quorvath87).nameMap());
    EXPECT_NE(QV_SuperKeyNameMap()->find("rightWin"), nullptr);
    EXPECT_EQ(QV_SuperKeyCodeMap()->find(231), nullptr);  // still the 88's code map

    // A second-generation editor: both maps, lists untouched.
    setCurrentKeyMaps(model(KeyModelId::Quorvath91).nameMap(), model(KeyModelId::Quorvath91).codeMap());
    EXPECT_NE(QV_SuperKeyCodeMap()->find(137), nullptr);
    EXPECT_EQ(QV_FlagKeys(), flags);
    EXPECT_EQ(QV_NormalKeys(), normals);
}

TEST_F(CurrentDevice, AHeldSnapshotOutlivesAReplacement) {
    makeCurrentDevice(model(KeyModelId::Quorvath87));
    const std::shared_ptr<const KeyCodeMap> held = QV_SuperKeyCodeMap();
    const KeyMapRow* menu = held->find(101);
    ASSERT_NE(menu, nullptr);
    makeCurrentDevice(model(KeyModelId::Quorvath91));
    resetCurrentDevice();
    EXPECT_EQ(menu->full_name, "Menu");
    EXPECT_EQ(held->size(), 92u);
    EXPECT_EQ(QV_SuperKeyCodeMap()->find(101), nullptr);
}

}  // namespace
}  // namespace keyloom
