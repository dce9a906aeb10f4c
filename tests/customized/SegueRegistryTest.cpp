#include <gtest/gtest.h>

#include <QWidget>
#include <string>

#include "Customized/SegueRegistry.h"

using namespace keyloom;

TEST(SegueRegistryTest, UnknownIdentifierDoesNothingAndScopesRestoreTheEarlierTransition) {
    auto& registry = SegueRegistry::shared();
    QWidget source;
    EXPECT_FALSE(registry.perform(QStringLiteral("nobody"), &source));

    std::string seen;
    registry.registerSegue(QStringLiteral("t"), [&](QWidget* from, const std::any& sender) {
        EXPECT_EQ(from, &source);
        seen += "outer:" + std::any_cast<std::string>(sender);
    });
    {
        ScopedSegue scoped(QStringLiteral("t"), [&](QWidget*, const std::any&) { seen += "inner;"; });
        EXPECT_TRUE(registry.perform(QStringLiteral("t"), &source, std::string("x")));
    }
    EXPECT_TRUE(registry.perform(QStringLiteral("t"), &source, std::string("y")));
    EXPECT_EQ(seen, "inner;outer:y");

    // A transition may remove itself while it runs.
    registry.registerSegue(QStringLiteral("self"), [&](QWidget*, const std::any&) {
        SegueRegistry::shared().unregisterSegue(QStringLiteral("self"));
        seen += "!";
    });
    EXPECT_TRUE(registry.perform(QStringLiteral("self"), &source));
    EXPECT_FALSE(registry.isRegistered(QStringLiteral("self")));
    registry.unregisterSegue(QStringLiteral("t"));
}
