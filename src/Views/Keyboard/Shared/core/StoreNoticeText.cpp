#include "Views/Keyboard/Shared/core/StoreNoticeText.h"

#include "SQLite/ProfileSQLite.h"

namespace keyloom {

namespace {

const char* reasonOf(StoreFailure why) {
    switch (why) {
        case StoreFailure::None:
            return "";
        case StoreFailure::Busy:
            return "another program is using this keyboard's profile";
        case StoreFailure::DiskFull:
            return "the disk is full";
        case StoreFailure::ReadOnly:
            return "the profile file or folder is read-only";
        case StoreFailure::NoDatabase:
            return "there is no profile database";
        case StoreFailure::Other:
            break;
    }
    return "the profile database could not be written";
}

}  // namespace

std::string storeFailureNotice(StoreFailure why, IfNotStored ifNotStored) {
    if (why == StoreFailure::None) return {};
    const char* head = ifNotStored == IfNotStored::SentAnyway ? "Your change was sent to the keyboard but not stored: "
                                                              : "Your change was not stored: ";
    return head + std::string(reasonOf(why)) + ".";
}

std::string openingNotice(const ProfileSQLite& store, StoreFailure seenAtOpening) {
    const std::string keptAs = store.damagedFileKeptAs();
    if (!keptAs.empty()) return "The profile file was damaged; it is kept as " + keptAs + "; the defaults are shown.";
    StoreFailure why = store.writeBlocked();
    if (why == StoreFailure::None) why = seenAtOpening;
    if (why == StoreFailure::None) return {};
    return "Changes are not stored: " + std::string(reasonOf(why)) + ".";
}

}  // namespace keyloom
