#include <gtest/gtest.h>

#include "Views/Keyboard/Shared/core/StoreNoticeText.h"

using namespace keyloom;

namespace {

// Each reason in plain words, with "not stored", and whether the keyboard got the change anyway.
TEST(StoreNoticeText, SaysNotStoredAndWhy) {
    const struct {
        StoreFailure why;
        IfNotStored ifNotStored;
        const char* text;
    } cases[] = {
        {StoreFailure::Busy, IfNotStored::NotSent,
         "Your change was not stored: another program is using this keyboard's profile."},
        {StoreFailure::DiskFull, IfNotStored::SentAnyway,
         "Your change was sent to the keyboard but not stored: the disk is full."},
        {StoreFailure::ReadOnly, IfNotStored::NotSent,
         "Your change was not stored: the profile file or folder is read-only."},
        {StoreFailure::NoDatabase, IfNotStored::SentAnyway,
         "Your change was sent to the keyboard but not stored: there is no profile database."},
        {StoreFailure::Other, IfNotStored::NotSent,
         "Your change was not stored: the profile database could not be written."},
        {StoreFailure::None, IfNotStored::SentAnyway, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(storeFailureNotice(c.why, c.ifNotStored), c.text);
}

}  // namespace
