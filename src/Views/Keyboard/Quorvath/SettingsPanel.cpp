#include "Views/Keyboard/Quorvath/SettingsPanel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>

#include "Views/Keyboard/Quorvath/core/KeyboardEditorContext.h"
#include "Views/Keyboard/Quorvath/core/SettingsRules.h"
#include "Views/Keyboard/Shared/Stepper.h"

namespace keyloom {

namespace {

constexpr int kUsbRow = 0;

struct RowText {
    const char* objectName;
    const char* title;
};
constexpr std::array<RowText, 3> kRowTexts = {{
    {"usbSleep", "USB sleep time"},
    {"wirelessLight", "Wireless light-off time"},
    {"wirelessSleep", "Wireless sleep time"},
}};

// Labels of the report-rate codes (a report every 1, 2, 4 or 8 ms).
constexpr std::array<const char*, 4> kRateTitles = {"1000 Hz", "500 Hz", "250 Hz", "125 Hz"};

std::string text(const QLineEdit* field) {
    return field->text().toStdString();
}

}  // namespace

SettingsPanel::SettingsPanel(QWidget* parent) : KeyboardPanel(parent) {
    setObjectName(QStringLiteral("SettingsView"));
    buildControls();
}

void SettingsPanel::buildControls() {
    auto* box = new QWidget(this);
    const QRect picture = pictureFrame();
    box->setGeometry(picture.left(), picture.bottom() + 24, picture.width(), kHeight - picture.bottom() - 40);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);  // the captions line up with the picture's left edge
    grid->setColumnStretch(5, 1);

    grid->addWidget(new QLabel(QStringLiteral("Report rate"), box), 0, 0);
    rateGroup_ = new QButtonGroup(this);
    auto* rates = new QHBoxLayout;
    for (size_t i = 0; i < kReportRateTags.size(); ++i) {
        const int tag = kReportRateTags[i];
        auto* button = new QRadioButton(QString::fromLatin1(kRateTitles[i]), box);
        button->setObjectName(QStringLiteral("reportRate%1").arg(tag));
        rateGroup_->addButton(button, tag);
        rates->addWidget(button);
        reportRateButtons[i] = button;
        connect(button, &QRadioButton::clicked, this, [this, tag] { reportRateAction(tag); });
    }
    rates->addStretch();
    grid->addLayout(rates, 0, 1, 1, 5);

    for (int row = 0; row < 3; ++row) {
        SleepRow& r = sleepRows[size_t(row)];
        const QString name = QString::fromLatin1(kRowTexts[size_t(row)].objectName);
        r.check = new QCheckBox(QString::fromLatin1(kRowTexts[size_t(row)].title), box);
        r.check->setObjectName(name + "Check");
        r.field = new QLineEdit(box);
        r.field->setObjectName(name + "Time");
        r.field->setFixedWidth(80);
        r.stepper = new Stepper(box);
        r.stepper->setObjectName(name + "Stepper");
        r.stepper->upButton()->setObjectName(name + "StepperUp");
        r.stepper->downButton()->setObjectName(name + "StepperDown");
        r.stepper->setRange(0, int(kMaxTypedSleepTime));
        grid->addWidget(r.check, row + 1, 0);
        grid->addWidget(r.field, row + 1, 1);
        grid->addWidget(r.stepper, row + 1, 2);
        connect(r.check, &QCheckBox::clicked, this, [this, row](bool on) { settimeCheckAction(row, on); });
        connect(r.stepper, &Stepper::stepped, this, [this, row] { setSleepTimeStepperAction(row); });
        connect(r.field, &QLineEdit::textEdited, this, [this, row](const QString& t) { controlTextDidChange(row, t); });
    }

    restoreButton = new QPushButton(QStringLiteral("Restore"), box);
    restoreButton->setObjectName(QStringLiteral("restoreKeyboard"));
    grid->addWidget(restoreButton, 4, 0, Qt::AlignLeft);
    connect(restoreButton, &QPushButton::clicked, this, [this] { restoreKeyboardAction(); });
}

void SettingsPanel::initKeyboardUI(const std::vector<KeyData>& keys) {
    // A picture of the keyboard for show: lighting type, so it takes no clicks.
    settingsKeyboardView = addPicture(1, keys, QStringLiteral("settingsKeyboardView"));
}

void SettingsPanel::selectProfile(int64_t) {
    loadConfigData();
}

void SettingsPanel::loadConfigData() {
    // What could not be read shows (and is sent later as) what a new profile has, never a blank that reads as 0.
    auto stored = [this](const char* key) {
        return context() ? context()->deviceDB().configDataOrDefault(context()->currentProfile(), key) : std::string();
    };
    const int rate = reportRateTagForText(stored("reportRate"));
    // An exclusive group cannot show "none on"; it is made exclusive again once the buttons are set.
    rateGroup_->setExclusive(false);
    for (QRadioButton* button : reportRateButtons) {
        const QSignalBlocker quiet(button);
        button->setChecked(rateGroup_->id(button) == rate);
    }
    rateGroup_->setExclusive(true);

    for (size_t row = 0; row < sleepRows.size(); ++row) {
        const SleepRowState state = loadedSleepRow(stored(kSleepSettings[row].key));
        const SleepRow& r = sleepRows[row];
        const QSignalBlocker q1(r.check), q2(r.field), q3(r.stepper);
        r.field->setText(QString::fromStdString(state.text));
        setTimeValue[row] = r.field->text();
        r.stepper->setValue(state.stepperValue);
        r.check->setChecked(state.checked);
        r.field->setEnabled(state.enabled);
        r.stepper->setEnabled(state.enabled);
    }
}

void SettingsPanel::reportRateAction(int tag) {
    KeyboardEditorContext* ctx = context();
    if (!ctx) return;
    const std::string value = reportRateText(tag);
    ctx->store(
        [&](DeviceSQLite& db) {
            db.updateConfigData(ctx->currentProfile(), "reportRate", value);
            return true;
        },
        IfNotStored::SentAnyway);
    if (isReportRateTag(tag)) ctx->send([tag](Quorvath& q) { q.setKeyboardReport(tag); });
}

void SettingsPanel::settimeCheckAction(int row, bool on) {
    if (row < 0 || row >= int(sleepRows.size())) return;
    const SleepRowState state = checkedSleepRow(kSleepSettings[size_t(row)], on);
    const SleepRow& r = sleepRows[size_t(row)];
    {
        const QSignalBlocker q1(r.field), q2(r.stepper);
        r.field->setText(QString::fromStdString(state.text));
        r.stepper->setValue(state.stepperValue);
        r.field->setEnabled(state.enabled);
        r.stepper->setEnabled(state.enabled);
    }
    row == kUsbRow ? setUSBSleepTime() : setWirelessSleepTime();
}

void SettingsPanel::setSleepTimeStepperAction(int row) {
    if (row < 0 || row >= int(sleepRows.size())) return;
    const SleepRow& r = sleepRows[size_t(row)];
    {
        const QSignalBlocker quiet(r.field);
        r.field->setText(QString::number(r.stepper->value()));
    }
    row == kUsbRow ? setUSBSleepTime() : setWirelessSleepTime();
}

void SettingsPanel::controlTextDidChange(int row, const QString& typed) {
    if (row < 0 || row >= int(sleepRows.size())) return;
    const SleepRow& r = sleepRows[size_t(row)];
    if (!acceptSleepTimeText(typed.toStdString())) {
        const QSignalBlocker quiet(r.field);
        r.field->setText(setTimeValue[size_t(row)]);
        return;
    }
    setTimeValue[size_t(row)] = typed;
    {
        const QSignalBlocker quiet(r.stepper);
        r.stepper->setValue(int(leadingIntegerValue(typed.toStdString())));
    }
    row == kUsbRow ? setUSBSleepTime() : setWirelessSleepTime();
}

void SettingsPanel::setUSBSleepTime() {
    KeyboardEditorContext* ctx = context();
    if (!ctx) return;
    const std::string value = text(sleepRows[0].field);
    ctx->store(
        [&](DeviceSQLite& db) {
            db.updateConfigData(ctx->currentProfile(), kSleepSettings[0].key, value);
            return true;
        },
        IfNotStored::SentAnyway);
    ctx->send([time = sleepTimeForReport(value)](Quorvath& q) { q.setUSBSleepTime(time); });
}

void SettingsPanel::setWirelessSleepTime() {
    KeyboardEditorContext* ctx = context();
    if (!ctx) return;
    const std::string light = text(sleepRows[1].field);
    const std::string sleep = text(sleepRows[2].field);
    ctx->store(
        [&](DeviceSQLite& db) {
            db.updateConfigData(ctx->currentProfile(), kSleepSettings[1].key, light);
            db.updateConfigData(ctx->currentProfile(), kSleepSettings[2].key, sleep);
            return true;
        },
        IfNotStored::SentAnyway);
    // Both times travel together: a change of either resends both.
    ctx->send(
        [l = sleepTimeForReport(light), s = sleepTimeForReport(sleep)](Quorvath& q) { q.setWirelessSleepTime(l, s); });
}

void SettingsPanel::restoreKeyboardAction() {
    if (KeyboardEditorContext* ctx = context()) ctx->send([](Quorvath& q) { q.resetKeyboard(); });
}

}  // namespace keyloom
