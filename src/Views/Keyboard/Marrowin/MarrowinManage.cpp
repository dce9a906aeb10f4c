// The second-generation editor's model choice, profile and keyboard layout.
#include <QComboBox>

#include "SQLite/MarrowinDeviceSQLite.h"
#include "Views/Keyboard/Marrowin/MarrowinKeyCustomView.h"
#include "Views/Keyboard/Marrowin/MarrowinRadiRGBView.h"
#include "Views/Keyboard/Marrowin/MarrowinViewController.h"
#include "Views/Keyboard/Marrowin/core/MarrowinEditorContext.h"
#include "Views/Keyboard/Marrowin/core/MarrowinLayoutRules.h"

namespace keyloom {

void MarrowinViewController::initSQLite() {
    context_->open(kbHIDdevice);
}

void MarrowinViewController::updateLayout(int64_t) {
    const std::string stored = context_->deviceDB ? context_->deviceDB->getConfigData(
                                                        context_->currentProfile, std::string(kKeyboardLayoutConfigKey))
                                                  : std::string();
    const int64_t index = layoutIndexFromStored(stored);
    context_->layoutIndex = index;
    // Selecting from code sends no action: nothing is stored or rebuilt here.
    if (context_->deviceType == kOstrelTE62DeviceType) {
        KeyCustomView->ostrel62KBLayoutSelect->setCurrentIndex(int(index));
        RadiRGBView->ostrel62LightKBLayoutSelect->setCurrentIndex(int(index));
    } else {
        KeyCustomView->keyLayoutSelect->setCurrentIndex(int(index));
        RadiRGBView->radiKBLayoutSelect->setCurrentIndex(int(index));
    }
}

void MarrowinViewController::KeyboardLayoutSelectAction(QComboBox* sender) {
    if (!sender) return;
    const int index = sender->currentIndex();
    if (index < 0) return;  // no choice: nothing to store or draw
    // The shown layout picked again: the pictures stay as they are, with their selection and frames.
    if (context_->isOpen() && index == context_->layoutIndex) return;
    if (auto partnerTag = layoutPartnerTag(sender->property("tag").toInt())) {
        for (QComboBox* combo :
             {KeyCustomView->keyLayoutSelect.data(), RadiRGBView->radiKBLayoutSelect.data(),
              KeyCustomView->ostrel62KBLayoutSelect.data(), RadiRGBView->ostrel62LightKBLayoutSelect.data()}) {
            if (combo->property("tag").toInt() == *partnerTag) combo->setCurrentIndex(index);
        }
    }
    if (context_->deviceDB)
        context_->deviceDB->updateConfigData(context_->currentProfile, std::string(kKeyboardLayoutConfigKey),
                                             storedLayoutText(index));
    if (!context_->isOpen()) return;
    context_->layoutIndex = index;
    buildPictures(false);
}

void MarrowinViewController::selectProfile(int64_t profile) {
    KeyCustomView->profileLoaded(profile);
    RadiRGBView->profileLoaded(profile);
}

void MarrowinViewController::customkeyAction(const std::string& keyname) {
    KeyCustomView->customkeyAction(keyname);
}

}  // namespace keyloom
