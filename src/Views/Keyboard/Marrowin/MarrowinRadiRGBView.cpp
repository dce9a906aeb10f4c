#include "Views/Keyboard/Marrowin/MarrowinRadiRGBView.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include "CustomControl/KeyDataList.h"
#include "CustomControl/KeyView.h"
#include "CustomControl/KeyboardView.h"
#include "CustomControl/SelectKeyView.h"
#include "SQLite/MarrowinDeviceSQLite.h"
#include "VelkorDevice/MarrowinV2.h"
#include "Views/Keyboard/Marrowin/core/MarrowinEditorContext.h"
#include "Views/Keyboard/Marrowin/core/MarrowinKeyCaps.h"
#include "Views/Keyboard/Marrowin/core/MarrowinLayoutRules.h"
#include "Views/Keyboard/Marrowin/core/MarrowinLightModes.h"
#include "Views/Keyboard/Marrowin/core/MarrowinLightingBlock.h"
#include "Views/Keyboard/Marrowin/core/MarrowinLightingStore.h"
#include "Views/Keyboard/Shared/LightingControls.h"
#include "Views/Keyboard/Shared/SharedColorPanel.h"
#include "resources/KeyloomImages.h"

namespace keyloom {

namespace {

namespace rec = light_record;

constexpr int kGroupAllTag = 650;
constexpr int kFirstGroupTag = 650;
constexpr int kLastGroupTag = 654;
constexpr std::array<int, 4> kDirectionTags = {611, 610, 612, 613};  // shown in value order 0, 1, 2, 3

// Controls below the picture (panel coordinates, origin top left).
constexpr int kModeRowHeight = 26;
constexpr int kControlsX = 295;
constexpr int kCaptionWidth = 100;
constexpr int kRowBrightness = 330;
constexpr int kRowSpeed = 370;
constexpr int kRowColour = 410;
constexpr int kRowGroups = 456;

QColor recordColour(const std::vector<uint8_t>& record) {
    return QColor(record[rec::kRed], record[rec::kGreen], record[rec::kBlue]);
}

QColor colourOf(int64_t rgbvalue) {
    const auto rgb = rgbComponents(rgbvalue);
    return QColor(rgb[0], rgb[1], rgb[2]);
}

int64_t rgbValueOf(const QColor& color) {
    const QColor c = color.toRgb();
    return rgbValue(colourComponentByte(c.redF()), colourComponentByte(c.greenF()), colourComponentByte(c.blueF()));
}

QLabel* caption(QWidget* parent, const QString& text, int y) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(kControlsX, y, kCaptionWidth, 26);
    return label;
}

QSlider* slider(QWidget* parent, const char* objectName, int y, int minimum, int maximum) {
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setObjectName(QString::fromLatin1(objectName));
    s->setRange(minimum, maximum);
    s->setPageStep(1);
    // One action when the user lets go, not one per step of a drag: each action stores and sends the whole block.
    s->setTracking(false);
    s->setGeometry(kControlsX + kCaptionWidth, y, 300, 26);
    return s;
}

}  // namespace

MarrowinRadiRGBView::MarrowinRadiRGBView(MarrowinEditorContext& context, QWidget* parent)
    : MarrowinPanel(context, parent) {
    setObjectName(QStringLiteral("RadiRGBView"));
    radiKBLayoutSelect =
        makeLayoutCombo("radiKBLayoutSelect", kRadiKBLayoutSelectTag, MarrowinLayoutCombos::MarrowinV2);
    ostrel62LightKBLayoutSelect = makeLayoutCombo("ostrel62LightKBLayoutSelect", kOstrel62LightKBLayoutSelectTag,
                                                  MarrowinLayoutCombos::OstrelTE62);
    buildControls();
    initTableData();
}

void MarrowinRadiRGBView::buildControls() {
    lightModeTable = new QListWidget(this);
    lightModeTable->setObjectName(QStringLiteral("lightmode"));
    lightModeTable->setGeometry(20, 14, 250, kModeRowHeight * int(lightModeRows().size()) + 6);
    lightModeTable->setIconSize(QSize(22, 22));
    lightModeTable->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(lightModeTable, &QListWidget::currentRowChanged, this, [this](int row) { ResetLightOption(row); });
    connect(lightModeTable, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ResetLightOption(lightModeTable->row(item)); });

    caption(this, QStringLiteral("Brightness"), kRowBrightness);
    lightbrightnessSlider = slider(this, "lightbrightnessSlider", kRowBrightness, 0, kBrightnessMax);
    connect(lightbrightnessSlider, &QSlider::valueChanged, this, [this](int v) { backlightBrightnessChange(v); });
    caption(this, QStringLiteral("Speed"), kRowSpeed);
    lightspeedLevel = slider(this, "lightspeedLevel", kRowSpeed, kSpeedMin, kSpeedMax);
    connect(lightspeedLevel, &QSlider::valueChanged, this, [this](int v) { backlightSpeedChange(v); });

    const ColourRow colour = makeColourRow(this, kControlsX, kRowColour, kCaptionWidth, 48);
    lightRandomColor = colour.caption;
    lightRandomColorWell = colour.well;
    lightRandomCheck = colour.random;
    connect(lightRandomColorWell, &QPushButton::clicked, this, [this] { openColorWell(); });
    connect(lightRandomCheck, &QCheckBox::clicked, this, [this](bool on) { backlightColorModeStatus(on); });

    directionView = new QWidget(this);
    directionView->setObjectName(QStringLiteral("directionView"));
    directionView->setGeometry(kControlsX, kRowGroups, 600, 30);
    directionButtons_ = new QButtonGroup(this);
    directionButtons_->setExclusive(true);
    auto* directionCaption = new QLabel(QStringLiteral("Direction"), directionView);
    directionCaption->setObjectName(QStringLiteral("directionCaption"));
    directionCaption->setGeometry(0, 0, kCaptionWidth, 28);  // centred on the buttons' row, as the other captions
    for (size_t i = 0; i < kDirectionTags.size(); ++i) {
        const int tag = kDirectionTags[i];
        auto* button = new QPushButton(QStringLiteral("Direction %1").arg(*directionOfTag(tag)), directionView);
        button->setObjectName(QStringLiteral("lightDirection%1").arg(tag));
        button->setProperty("tag", tag);
        button->setCheckable(true);
        // Each mode shows one pair of buttons, always at the same two spots.
        button->setGeometry(kCaptionWidth + int(i % 2) * 120, 0, 110, 28);
        directionButtons_->addButton(button, tag);
        connect(button, &QPushButton::clicked, this, [this, tag] {
            if (auto type = directionOfTag(tag)) backlightDirection(*type);
        });
    }

    selectionView = new QWidget(this);
    selectionView->setObjectName(QStringLiteral("selectionView"));
    selectionView->setGeometry(kControlsX, kRowGroups, kWidth - kControlsX - 10, 64);
    const std::array<QString, 5> groupNames = {QStringLiteral("All keys"), QStringLiteral("W A S D"),
                                               QStringLiteral("Arrows"), QStringLiteral("1 to 0"),
                                               QStringLiteral("1 to =")};
    for (int tag = kFirstGroupTag; tag <= kLastGroupTag; ++tag) {
        auto* box = new QCheckBox(groupNames[size_t(tag - kFirstGroupTag)], selectionView);
        box->setObjectName(QStringLiteral("customKeys%1").arg(tag));
        box->setProperty("tag", tag);
        box->setGeometry((tag - kFirstGroupTag) * 110, 0, 105, 26);
        groupChecks_.push_back(box);
        connect(box, &QCheckBox::clicked, this, [this, tag](bool on) { customKeysSelect(tag, on); });
    }
    auto* reset = new QPushButton(QStringLiteral("Reset"), selectionView);
    reset->setObjectName(QStringLiteral("resetAllKeys"));
    reset->setToolTip(QStringLiteral("Turn every key's light off"));
    reset->setGeometry(0, 34, 100, 28);
    connect(reset, &QPushButton::clicked, this, [this] { resetAllKeys(); });

    directionView->hide();
    selectionView->hide();
    setWellColor(QColor(255, 225, 0));
}

void MarrowinRadiRGBView::initTableData() {
    const QSignalBlocker quiet(lightModeTable);
    lightModeTable->clear();
    for (const LightModeRow& row : lightModeRows()) {
        auto* item = new QListWidgetItem(keyloomImage(QString::fromUtf8(row.icon.data(), qsizetype(row.icon.size()))),
                                         QString::fromUtf8(row.text.data(), qsizetype(row.text.size())));
        item->setData(Qt::UserRole, qlonglong(row.mode));
        item->setSizeHint(QSize(0, kModeRowHeight));
        lightModeTable->addItem(item);
    }
}

void MarrowinRadiRGBView::picturesBuilt(bool first) {
    const MarrowinPicture picture = context_.picture();
    if (!radiKeyboardView) {
        radiKeyboardView = new KeyboardView(this);
        radiKeyboardView->setObjectName(QStringLiteral("radiKeyboardView"));
    }
    radiKeyboardView->setGeometry(
        panelRect(picture.frame.x, picture.frame.y, picture.frame.width, picture.frame.height));
    radiKeyboardView->setDeviceType(context_.deviceType);
    radiKeyboardView->initUI(1, keyDataFromCaps(context_.caps()), context_.layoutIndex);
    radiKeyboardView->show();
    for (const auto& box : groupChecks_) {
        const QSignalBlocker quiet(box);
        box->setChecked(false);  // the new picture has no frames
    }
    nameGroupsByTheirKeys();
    if (first || currentLightMode_ < 1) return;
    // A new layout: the shown mode's colours again, without storing or sending.
    radiKeyboardView->setKeyboardType(currentLightMode_, currentLightMode_ == kPerKeyLightMode);
    if (context_.deviceDB)
        if (auto record = readLightRecord(*context_.deviceDB, context_.currentProfile, currentLightMode_))
            paintPicture(currentLightMode_, record->buffer);
}

// The position groups cover the first row's keys after Escape: digits on some models, F keys on others.
void MarrowinRadiRGBView::nameGroupsByTheirKeys() {
    const auto& keys = radiKeyboardView->keyDataArrayHover();
    const auto shortName = [&](size_t position) {
        const KeyMapRow* row = position < keys.size() ? context_.nameMap().find(keys[position].keyname) : nullptr;
        return row ? QString::fromStdString(row->short_name) : QString();
    };
    for (const auto& [tag, last] : {std::pair{653, size_t{10}}, std::pair{654, size_t{12}}}) {
        QCheckBox* box = groupChecks_.at(size_t(tag - kFirstGroupTag));
        const QString first = shortName(1), to = shortName(last);
        if (!first.isEmpty() && !to.isEmpty()) box->setText(first + QStringLiteral(" to ") + to);
    }
}

void MarrowinRadiRGBView::profileLoaded(int64_t profile) {
    const int64_t mode = context_.deviceDB ? prepareLightProfile(*context_.deviceDB, profile) : 1;
    if (currentLightMode_ == mode) currentLightMode_ = -1;  // shown and sent again
    {
        const QSignalBlocker quiet(lightModeTable);
        lightModeTable->setCurrentRow(int(mode - 1));
    }
    setBacklightMode(profile, mode);
}

void MarrowinRadiRGBView::panelRemoved() {
    closeSharedColorPanel();
}

void MarrowinRadiRGBView::ResetLightOption(int64_t index) {
    const auto rows = lightModeRows();
    if (index < 0 || index >= int64_t(rows.size())) return;
    const int64_t mode = rows[size_t(index)].mode;
    if (mode == currentLightMode_) {
        closeSharedColorPanel();
        return;
    }
    if (context_.deviceDB) activateLightMode(*context_.deviceDB, context_.currentProfile, mode);
    setBacklightMode(context_.currentProfile, mode);
}

void MarrowinRadiRGBView::setBacklightMode(int64_t profile, int64_t lightmode) {
    closeSharedColorPanel();
    if (lightmode == currentLightMode_) return;
    if (radiKeyboardView) radiKeyboardView->setKeyboardType(lightmode, lightmode == kPerKeyLightMode);
    const std::optional<RadiData> record =
        context_.deviceDB ? readLightRecord(*context_.deviceDB, profile, lightmode) : std::nullopt;
    if (!record) return;
    if (currentLightMode_ == kPerKeyLightMode) selectionView->hide();
    showControls(lightmode, record->buffer);
    if (lightmode == kPerKeyLightMode) {
        for (const auto& box : groupChecks_) {
            const QSignalBlocker quiet(box);
            box->setChecked(false);  // entering the mode, no key is framed
        }
    }
    paintPicture(lightmode, record->buffer);
    currentLightMode_ = lightmode;
    setBackLightData(context_.currentProfile);
}

void MarrowinRadiRGBView::showControls(int64_t mode, const std::vector<uint8_t>& record) {
    {
        const QSignalBlocker quiet(lightbrightnessSlider);
        lightbrightnessSlider->setValue(record[rec::kBrightness]);
    }
    const std::optional<LightModeControls> controls = lightModeControls(mode);
    if (!controls) return;
    {
        const QSignalBlocker quiet(lightspeedLevel);
        lightspeedLevel->setEnabled(controls->speedEnabled);
        // Disabled, the slider shows its lowest value: the mode has no speed.
        lightspeedLevel->setValue(controls->speedEnabled ? int(speedSliderValue(record[rec::kSpeed])) : 0);
    }
    directionView->setVisible(controls->directionShown);
    for (QAbstractButton* button : directionButtons_->buttons()) {
        const int tag = directionButtons_->id(button);
        button->setVisible(tag == 610 || tag == 611 ? controls->directionOneZero : controls->directionTwoThree);
        const QSignalBlocker quiet(button);
        button->setChecked(directionOfTag(tag) == record[rec::kDirection]);
    }
    lightRandomColor->setVisible(controls->colourLabelShown);
    lightRandomCheck->setVisible(controls->randomCheckShown);
    lightRandomColorWell->setVisible(controls->colourWellShown);
    {
        const QSignalBlocker quiet(lightRandomCheck);
        lightRandomCheck->setChecked(record[rec::kColourType] == 1);
    }
    if (controls->picture == LightModeControls::Picture::PerKey) {
        setWellColor(Qt::yellow);
        selectionView->show();
    } else if (controls->colourWellShown) {
        setWellColor(recordColour(record));
    }
}

void MarrowinRadiRGBView::paintPicture(int64_t mode, const std::vector<uint8_t>& record) {
    const std::optional<LightModeControls> controls = lightModeControls(mode);
    if (!controls || !radiKeyboardView) return;
    switch (controls->picture) {
        case LightModeControls::Picture::RecordColour:
            radiKeyboardView->setBackColor(recordColour(record));
            break;
        case LightModeControls::Picture::PerKey:
            paintStoredKeyColours(context_.currentProfile);
            break;
        case LightModeControls::Picture::Unchanged:
            break;
    }
}

void MarrowinRadiRGBView::paintStoredKeyColours(int64_t profile) {
    std::vector<RGBData> rows;
    if (!context_.deviceDB || !context_.deviceDB->queryKeyRGB(profile, rows)) return;
    std::vector<std::string> names;
    for (const KeyData& key : radiKeyboardView->keyDataArrayHover()) names.push_back(key.keyname);
    for (const CapColour& paint : storedColourCaps(rows, context_.codeMap(), names))
        radiKeyboardView->setKeyColor(int64_t(paint.cap), colourOf(paint.rgbvalue));
}

void MarrowinRadiRGBView::changeRecord(size_t byte, uint8_t value) {
    if (!context_.deviceDB) return;
    const bool stored = changeLightRecord(*context_.deviceDB, context_.currentProfile, currentLightMode_,
                                          [byte, value](std::vector<uint8_t>& record) { record[byte] = value; });
    if (stored) setBackLightData(context_.currentProfile);
}

void MarrowinRadiRGBView::backlightBrightnessChange(int64_t value) {
    changeRecord(rec::kBrightness, lightByte(value));
}

void MarrowinRadiRGBView::backlightSpeedChange(int64_t value) {
    changeRecord(rec::kSpeed, speedByteOfSlider(value));
}

void MarrowinRadiRGBView::backlightColorModeStatus(bool status) {
    changeRecord(rec::kColourType, status ? 1 : 0);
}

void MarrowinRadiRGBView::backlightDirection(int64_t type) {
    changeRecord(rec::kDirection, lightByte(type));
}

void MarrowinRadiRGBView::colorWellChange(const QColor& colorvalue) {
    if (!context_.deviceDB || !radiKeyboardView) return;
    const std::optional<RadiData> record =
        readLightRecord(*context_.deviceDB, context_.currentProfile, currentLightMode_);
    if (!record) return;
    const QColor color = colorvalue.toRgb();
    setWellColor(color);
    if (currentLightMode_ != kPerKeyLightMode) {
        const auto rgb = rgbComponents(rgbValueOf(color));
        const bool stored = changeLightRecord(
            *context_.deviceDB, context_.currentProfile, currentLightMode_,
            [&rgb](std::vector<uint8_t>& r) { std::copy(rgb.begin(), rgb.end(), r.begin() + rec::kRed); });
        if (stored) setBackLightData(context_.currentProfile);
        radiKeyboardView->setBackColor(color);
        return;
    }
    // Per-key: the framed caps take the colour, then every cap's colour is stored.
    radiKeyboardView->setBackColor(color);
    if (storeShownKeyColours(record->radiId)) setBackLightData(context_.currentProfile);
}

bool MarrowinRadiRGBView::storeShownKeyColours(int64_t radiId) {
    std::vector<std::string> names;
    std::vector<int64_t> colours;
    for (const KeyData& key : radiKeyboardView->keyDataArrayHover()) {
        names.push_back(key.keyname);
        const KeyView* patch = radiKeyboardView->keyView(key.index);
        colours.push_back(patch ? rgbValueOf(patch->backgroundColor()) : 0);
    }
    const auto rows = perKeyColourRows(names, colours, context_.nameMap(), radiId, context_.currentProfile);
    return storeKeyColours(*context_.deviceDB, rows);
}

void MarrowinRadiRGBView::customKeysSelect(int64_t tag, bool status) {
    if (!radiKeyboardView) return;
    std::vector<std::string> names;
    for (const KeyData& key : radiKeyboardView->keyDataArrayHover()) names.push_back(key.keyname);
    const auto caps = groupCaps(tag, context_.deviceType, context_.codeMap(), names);
    if (!caps) return;
    for (size_t cap : *caps)
        if (SelectKeyView* frame = radiKeyboardView->selectKeyView(int64_t(cap))) frame->setShow(status);
    if (tag != kGroupAllTag) return;
    for (const auto& box : groupChecks_) {
        const QSignalBlocker quiet(box);
        box->setChecked(status);
    }
}

void MarrowinRadiRGBView::resetAllKeys() {
    // Outside the per-key mode this would delete every stored per-key colour.
    if (currentLightMode_ != kPerKeyLightMode || !radiKeyboardView || !context_.deviceDB) return;
    for (const KeyData& key : radiKeyboardView->keyDataArrayHover()) {
        if (SelectKeyView* frame = radiKeyboardView->selectKeyView(key.index)) frame->setShow(false);
        radiKeyboardView->setKeyColor(key.index, Qt::black);
    }
    for (const auto& box : groupChecks_) {
        const QSignalBlocker quiet(box);
        box->setChecked(false);
    }
    const std::optional<RadiData> record =
        readLightRecord(*context_.deviceDB, context_.currentProfile, currentLightMode_);
    if (!record) return;
    if (storeShownKeyColours(record->radiId)) setBackLightData(context_.currentProfile);
}

void MarrowinRadiRGBView::setBackLightData(int64_t profile) {
    if (!context_.deviceDB) return;
    const std::optional<LightingBlock> block =
        readLightingBlock(*context_.deviceDB, profile, context_.codeMap(), context_.deviceType);
    if (!block) return;  // an unread profile must not erase the keyboard's lighting
    context_.exchange("lighting", [block = *block](MarrowinV2& channel) { sendLightingBlock(channel, block); });
}

void MarrowinRadiRGBView::setWellColor(const QColor& color) {
    wellColor_ = color;
    lightRandomColorWell->setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; border: 1px solid #8a8a8a; border-radius: 3px; }")
            .arg(color.name()));
}

void MarrowinRadiRGBView::openColorWell() {
    openSharedColorPanel(this, wellColor_, [this](const QColor& color) { colorWellChange(color); });
}

}  // namespace keyloom
