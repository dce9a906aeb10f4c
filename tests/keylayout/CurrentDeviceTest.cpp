#include <gtest/gtest.h>

#include <vector>

#include "Views/Keyboard/KeyLayout/CurrentDevice.h"
#include "Views/Keyboard/KeyLayout/KeyModels.h"

namespace keyloom {
namespace {

const KeyModel& model(KeyModelId id) {
    return *findKeyModel(id);
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

TEST_F(CurrentDevice, ReplacingOnlyTheMapsKeepsTheKeyLists) {
    makeCurrentDevice(model(KeyModelId::Quorvath88));
    const std::vector<int64_t> flags = QV_FlagKeys();
    const std::vector<int64_t> normals = QV_NormalKeys();

    // The home view at load: the 87 name map only.
    setCurrentKeyNameMap(model(KeyModelId::Quorvath87).nameMap());
    EXPECT_NE(QV_SuperKeyNameMap()->find("rightWin"), nullptr);
    EXPECT_EQ(QV_SuperKeyCodeMap()->find(231), nullptr);  // still the 88's code map

    // A second-generation editor: both maps, lists untouched.
    setCurrentKeyMaps(model(KeyModelId::MarrowinV2_72).nameMap(), model(KeyModelId::MarrowinV2_72).codeMap());
    EXPECT_TRUE(QV_SuperKeyCodeMap()->contains(50));
    EXPECT_EQ(QV_SuperKeyNameMap()->size(), 73u);
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
