#include "Views/Keyboard/Quorvath/LightingPanel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <string>

#include "CustomControl/KeyView.h"
#include "CustomControl/KeyboardView.h"
#include "CustomControl/SelectKeyView.h"
#include "Views/Keyboard/Marrowin/core/MarrowinLightModes.h"
#include "Views/Keyboard/Quorvath/core/KeyboardEditorContext.h"
#include "Views/Keyboard/Quorvath/core/QuorvathKeyColours.h"
#include "Views/Keyboard/Shared/LevelIndicator.h"
#include "Views/Keyboard/Shared/LightingControls.h"
#include "Views/Keyboard/Shared/SharedColorPanel.h"
#include "resources/KeyloomImages.h"

namespace keyloom {

namespace {

namespace b = lighting_byte;

constexpr int kFirstBoxTag = 650;
constexpr int kAllKeysBoxTag = 650;
constexpr int kMaxBrightness = 15;
constexpr int kMaxSpeed = 8;

// Panel coordinates, origin top left: the mode list left of the picture, the controls below it.
constexpr int kModeRowHeight = 30;
constexpr int kControlsX = 295;
constexpr int kCaptionWidth = 95;
constexpr int kRowBrightness = 322;
constexpr int kRowSpeed = 360;
constexpr int kRowColour = 398;
constexpr int kRowGroups = 440;

// Titles of the boxes 650..658. The LED groups are numbered in the boxes' order.
constexpr std::array<const char*, 9> kBoxTitles = {
    "All keys", "LED group 1", "LED group 2", "LED group 3", "LED group 4", "W A S D", "Arrows", "1 to 0", "F1 to F12"};

QLabel* caption(QWidget* parent, const QString& text, int y) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(kControlsX, y, kCaptionWidth, 26);
    return label;
}

// The exchange that shows a mode: the lighting read, the default record when the answer asks for it, the record.
void sendShownMode(KeyboardEditorContext& ctx, const LightingRecord& record) {
    ctx.send([record](Quorvath& q) {
        const auto answer = q.getDeviceData(kLightingReadRequest, int64_t(kLightingReadRequest.size()));
        if (lightingAnswerNeedsDefault(answer)) q.sendDeviceData(kDefaultLightingRecord);
        q.sendDeviceData(record);
    });
}

int64_t colourValueOf(const QColor& color) {
    const QColor c = color.toRgb();
    return keyColourValue(c.redF(), c.greenF(), c.blueF());
}

}  // namespace

LightingPanel::LightingPanel(QWidget* parent) : KeyboardPanel(parent) {
    setObjectName(QStringLiteral("RadiRGBView"));
    buildControls();
    initTableData();
}

void LightingPanel::buildControls() {
    lightModeTable = new QListWidget(this);
    lightModeTable->setObjectName(QStringLiteral("lightmode"));
    const int rows = int(quorvathLightModeRows().size());
    lightModeTable->setGeometry(20, pictureFrame().top(), 250, kModeRowHeight * rows + 4);
    lightModeTable->setIconSize(QSize(22, 22));
    lightModeTable->setSelectionMode(QAbstractItemView::SingleSelection);
    lightModeTable->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Selection, not the current row: focus alone moves the current row without selecting a mode.
    connect(lightModeTable, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> selected = lightModeTable->selectedItems();
        if (!selected.isEmpty()) ResetLightOption(lightModeTable->row(selected.front()));
    });

    caption(this, QStringLiteral("Brightness"), kRowBrightness);
    lightbrightnessSlider = new QSlider(Qt::Horizontal, this);
    lightbrightnessSlider->setObjectName(QStringLiteral("lightbrightnessSlider"));
    lightbrightnessSlider->setRange(0, kMaxBrightness);
    lightbrightnessSlider->setPageStep(1);
    lightbrightnessSlider->setGeometry(kControlsX + kCaptionWidth, kRowBrightness, 260, 26);
    connect(lightbrightnessSlider, &QSlider::valueChanged, this, [this](int v) { backlightBrightnessChange(v); });

    caption(this, QStringLiteral("Speed"), kRowSpeed);
    lightspeedLevel = new LevelIndicator(kMaxSpeed, this);
    lightspeedLevel->setObjectName(QStringLiteral("lightspeedLevel"));
    lightspeedLevel->setGeometry(kControlsX + kCaptionWidth, kRowSpeed + 2, 260, 22);
    connect(lightspeedLevel, &LevelIndicator::valueEdited, this, [this](int v) { backlightSpeedChange(v); });

    const ColourRow colour = makeColourRow(this, kControlsX, kRowColour, kCaptionWidth, 52);
    lightRandomColor = colour.caption;
    lightRandomColorWell = colour.well;
    lightRandomCheck = colour.random;
    connect(lightRandomColorWell, &QPushButton::clicked, this, [this] { openColorWell(); });
    connect(lightRandomCheck, &QCheckBox::clicked, this, [this](bool on) { backlightColorModeStatus(on); });

    directionView = new QWidget(this);
    directionView->setObjectName(QStringLiteral("directionView"));
    // Only the rainbow mode shows directions, and it hides the colour controls: the row is theirs.
    directionView->setGeometry(kControlsX, kRowColour, 600, 30);
    auto* directions = new QHBoxLayout(directionView);
    directions->setContentsMargins(0, 0, 0, 0);
    auto* directionCaption = new QLabel(QStringLiteral("Direction"), directionView);
    directionCaption->setFixedWidth(kCaptionWidth);
    directions->addWidget(directionCaption);
    for (int tag = 610; tag <= 613; ++tag) {
        auto* button = new QPushButton(QStringLiteral("Direction %1").arg(tag - 609), directionView);
        button->setObjectName(QStringLiteral("lightDirection%1").arg(tag));
        button->setProperty("tag", tag);
        directions->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, tag] {
            if (auto type = directionOfButton(tag)) backlightDirection(int(*type));
        });
    }
    directions->addStretch();

    buildSelectionView();
    directionView->hide();
    selectionView->hide();
    setWellColor(Qt::white);
}

void LightingPanel::buildSelectionView() {
    selectionView = new QWidget(this);
    selectionView->setObjectName(QStringLiteral("selectionView"));
    selectionView->setGeometry(kControlsX, kRowGroups, pictureFrame().width(), kHeight - kRowGroups - 10);
    auto* grid = new QGridLayout(selectionView);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* hint =
        new QLabel(QStringLiteral("Click keys on the picture (Shift adds keys), then choose a colour."), selectionView);
    grid->addWidget(hint, 0, 0, 1, 5);
    // Key groups on the first row, LED groups on the second.
    const std::array<int, 9> column = {0, 0, 1, 2, 3, 1, 2, 3, 4};
    for (int tag = kFirstBoxTag; tag <= 658; ++tag) {
        const size_t i = size_t(tag - kFirstBoxTag);
        auto* check = new QCheckBox(QString::fromLatin1(kBoxTitles[i]), selectionView);
        check->setObjectName(QStringLiteral("customKeys%1").arg(tag));
        check->setProperty("tag", tag);
        const bool ledGroup = ledGroupOfBox(tag).has_value();
        grid->addWidget(check, ledGroup ? 2 : 1, column[i]);
        boxes_[i] = check;
        connect(check, &QCheckBox::clicked, this, [this, tag](bool on) { customKeysSelect(tag, on); });
    }
    auto* reset = new QPushButton(QStringLiteral("Reset"), selectionView);
    reset->setObjectName(QStringLiteral("resetAllKeys"));
    reset->setToolTip(QStringLiteral("Turn every key and LED group off"));
    grid->addWidget(reset, 3, 0);
    connect(reset, &QPushButton::clicked, this, [this] { resetAllKeys(); });
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(5, 1);
}

std::vector<std::string> LightingPanel::capNames() const {
    std::vector<std::string> names;
    if (radiKeyboardView)
        for (const KeyData& key : radiKeyboardView->keyDataArrayHover()) names.push_back(key.keyname);
    return names;
}

QCheckBox* LightingPanel::box(int tag) const {
    const int i = tag - kFirstBoxTag;
    return i >= 0 && i < int(boxes_.size()) ? boxes_[size_t(i)] : nullptr;
}

void LightingPanel::initTableData() {
    const QSignalBlocker quiet(lightModeTable);
    lightModeTable->clear();
    for (const QuorvathLightModeRow& row : quorvathLightModeRows()) {
        auto* item = new QListWidgetItem(keyloomImage(QString::fromUtf8(row.icon.data(), qsizetype(row.icon.size()))),
                                         QString::fromUtf8(row.text.data(), qsizetype(row.text.size())));
        item->setData(Qt::UserRole, qlonglong(row.mode));
        item->setSizeHint(QSize(0, kModeRowHeight));
        lightModeTable->addItem(item);
    }
}

void LightingPanel::initKeyboardUI(const std::vector<KeyData>& keys) {
    radiKeyboardView = addPicture(1, keys, QStringLiteral("radiKeyboardView"));
}

void LightingPanel::selectProfile(int64_t profile) {
    KeyboardEditorContext* ctx = context();
    if (!ctx) return;
    ctx->store([profile](DeviceSQLite& db) { return db.writeRadiProfile(profile); });
    const int64_t mode = ctx->deviceDB().getRadiModeSelectIndex(profile);
    // A stored mode the list has no row for (none stored, or 10 and 11) is neither shown nor rewritten.
    const std::optional<int> row = quorvathLightModeRow(mode);
    if (!row) return;
    if (currentLightMode_ == mode) currentLightMode_ = -1;
    // The selection's signal stores the mode as selected and shows it; when the row was selected already there is
    // no signal, and the show below does it.
    lightModeTable->setCurrentRow(*row, QItemSelectionModel::ClearAndSelect);
    setBacklightMode(profile, mode);
}

void LightingPanel::ResetLightOption(int index) {
    const auto rows = quorvathLightModeRows();
    if (index < 0 || index >= int(rows.size())) return;
    KeyboardEditorContext* ctx = context();
    if (!ctx) return;
    const int64_t mode = rows[size_t(index)].mode;
    // Showing a mode sends its stored record whether or not its choice was stored; without a database, or without a
    // record that can be read, nothing is sent.
    const bool sent = ctx->hasDatabase() && storedRecord(ctx->currentProfile(), mode).has_value();
    const bool stored = ctx->store([&](DeviceSQLite& db) { return db.selectRaidMode(ctx->currentProfile(), mode); },
                                   sent ? IfNotStored::SentAnyway : IfNotStored::NotSent);
    if (!stored && !sent) {
        // Neither stored nor sent: the list keeps showing the mode shown before.
        const QSignalBlocker quiet(lightModeTable);
        if (const std::optional<int> row = quorvathLightModeRow(currentLightMode_))
            lightModeTable->setCurrentRow(*row, QItemSelectionModel::ClearAndSelect);
        else
            lightModeTable->clearSelection();
        return;
    }
    setBacklightMode(ctx->currentProfile(), mode);
}

std::optional<RadiData> LightingPanel::storedRecord(int64_t profile, int64_t mode) const {
    RadiData data;
    const KeyboardEditorContext* ctx = context();
    if (ctx && ctx->hasDatabase() && !ctx->deviceDB().queryRadiInfo(profile, mode, data)) return std::nullopt;
    return data;
}

void LightingPanel::setBacklightMode(int64_t profile, int64_t lightmode) {
    closeSharedColorPanel();
    if (lightmode == currentLightMode_) return;
    KeyboardEditorContext* ctx = context();
    if (radiKeyboardView) radiKeyboardView->setKeyboardType(lightmode, lightmode == kCustomLightMode);
    const std::optional<RadiData> stored = storedRecord(profile, lightmode);
    if (!stored) return;
    const std::optional<LightingRecord> record = lightingRecordOf(stored->buffer);
    if (!record) return;
    showControls(lightmode, *record);
    if (lightmode == kCustomLightMode) paintStoredKeyColours(profile);
    currentLightMode_ = lightmode;
    // Without a database the record is all zero: sending it would turn the keyboard's lighting off.
    if (ctx && ctx->hasDatabase()) sendShownMode(*ctx, shownLightingRecord(*record));
}

void LightingPanel::showControls(int64_t mode, const LightingRecord& record) {
    const uint8_t flags = record[b::kFlags];
    {
        const QSignalBlocker quiet(lightbrightnessSlider);
        lightbrightnessSlider->setValue(brightnessOf(flags));
    }
    const std::optional<QuorvathModeControls> controls = quorvathModeControls(mode);
    if (!controls) return;
    lightspeedLevel->setEnabled(controls->speedEnabled);
    lightspeedLevel->setValue(controls->speedEnabled ? speedOf(flags) : 0);
    lightRandomColor->setVisible(controls->colourTextShown);
    lightRandomCheck->setVisible(controls->colourModeShown);
    if (controls->colourModeShown) {
        const QSignalBlocker quiet(lightRandomCheck);
        lightRandomCheck->setChecked(colourModeOf(flags));
    }
    using Well = QuorvathModeControls::Well;
    lightRandomColorWell->setVisible(controls->well != Well::Hidden);
    if (controls->well == Well::RecordColour)
        setWellColor(QColor(record[b::kRed], record[b::kGreen], record[b::kBlue]));
    else if (controls->well == Well::Yellow)
        setWellColor(Qt::yellow);
    directionView->setVisible(controls->directionShown);
    selectionView->setVisible(controls->selectionShown);
}

void LightingPanel::paintStoredKeyColours(int64_t profile) {
    KeyboardEditorContext* ctx = context();
    if (!ctx || !ctx->hasDatabase() || !radiKeyboardView) return;
    std::vector<RGBData> rows;
    if (!ctx->deviceDB().queryKeyRGB(profile, rows)) return;
    for (const PositionColour& paint : storedKeyColourPositions(rows, ctx->codeMap(), capNames())) {
        const std::array<uint8_t, 3> rgb = rgbComponents(paint.rgbvalue);
        radiKeyboardView->setKeyColor(int64_t(paint.position), QColor(rgb[0], rgb[1], rgb[2]));
    }
}

template <typename Change>
bool LightingPanel::changeRecord(Change change) {
    KeyboardEditorContext* ctx = context();
    if (!ctx) return false;
    const int64_t profile = ctx->currentProfile();
    const int64_t mode = currentLightMode_;
    const std::optional<RadiData> stored = storedRecord(profile, mode);
    if (!stored) return false;
    const std::optional<LightingRecord> record = lightingRecordOf(stored->buffer);
    if (!record) return false;
    const std::optional<LightingRecord> changed = change(*record, mode);
    if (!changed) return false;
    const std::vector<uint8_t> image(changed->begin(), changed->end());
    if (!ctx->store([&](DeviceSQLite& db) { return db.modifyRadiData(profile, mode, image); })) {
        // Neither stored nor sent: the controls show the stored record again.
        showControls(mode, *record);
        return false;
    }
    // Per mode: a newer record of the same mode makes a queued one needless, but not a record of another mode.
    ctx->sendLatest("lightingRecord" + std::to_string(mode),
                    [record = *changed](Quorvath& q) { q.sendDeviceData(record); });
    return true;
}

void LightingPanel::backlightBrightnessChange(int value) {
    changeRecord([value](const LightingRecord& r, int64_t mode) { return brightnessChanged(r, mode, value); });
}

void LightingPanel::backlightSpeedChange(int value) {
    changeRecord([value](const LightingRecord& r, int64_t mode) { return speedChanged(r, mode, value); });
}

void LightingPanel::backlightColorModeStatus(bool status) {
    changeRecord([status](const LightingRecord& r, int64_t mode) { return colourModeChanged(r, mode, status); });
}

void LightingPanel::backlightDirection(int type) {
    changeRecord([type](const LightingRecord& r, int64_t mode) { return directionChanged(r, mode, type); });
}

void LightingPanel::colorWellChange(const QColor& colorvalue) {
    KeyboardEditorContext* ctx = context();
    if (!ctx) return;
    const int64_t mode = currentLightMode_;
    const std::optional<RadiData> stored = storedRecord(ctx->currentProfile(), mode);
    if (!stored) return;
    const QColor color = colorvalue.toRgb();
    if (isRecordColourMode(mode)) {
        setWellColor(color);
        const bool kept = changeRecord([&color](const LightingRecord& r, int64_t m) {
            return colourChanged(r, m, color.redF(), color.greenF(), color.blueF());
        });
        // The picture shows the chosen colour once stored, else the stored one the well went back to.
        if (radiKeyboardView) radiKeyboardView->setBackColor(kept ? color : wellColor_);
        return;
    }
    if (mode != kCustomLightMode || !radiKeyboardView) return;
    setWellColor(color);
    radiKeyboardView->setBackColor(color);  // the framed caps
    std::vector<int64_t> boxesOn;
    for (int64_t tag : kLedGroupBoxes)
        if (QCheckBox* check = box(int(tag)); check && check->isChecked()) boxesOn.push_back(tag);
    const std::vector<RGBData> groupRows = customKeyColourRows(boxesOn, colourValueOf(color), {}, {}, ctx->nameMap(),
                                                               stored->radiId, ctx->currentProfile());
    if (!setCustomKeyRGB(ctx->currentProfile(), stored->radiId, groupRows)) setWellColor(Qt::yellow);
}

bool LightingPanel::setCustomKeyRGB(int64_t profile, int64_t radiId, const std::vector<RGBData>& groupRows) {
    KeyboardEditorContext* ctx = context();
    if (!ctx || !radiKeyboardView) return false;
    const std::vector<std::string> names = capNames();
    std::vector<int64_t> colours;
    for (const KeyData& key : radiKeyboardView->keyDataArrayHover()) {
        const KeyView* cap = radiKeyboardView->keyView(key.index);
        colours.push_back(cap ? colourValueOf(cap->backgroundColor()) : 0);
    }
    std::vector<RGBData> rows = groupRows;
    const std::vector<RGBData> keys = customKeyColourRows({}, 0, names, colours, ctx->nameMap(), radiId, profile);
    rows.insert(rows.end(), keys.begin(), keys.end());
    const bool stored = ctx->store([&rows](DeviceSQLite& db) {
        for (const RGBData& row : rows) db.insertKeyRGB(row);
        return true;
    });
    if (!stored) {
        // Neither stored nor sent: every cap shows its stored colour again.
        for (const KeyData& key : radiKeyboardView->keyDataArrayHover())
            radiKeyboardView->setKeyColor(key.index, Qt::black);
        paintStoredKeyColours(profile);
        return false;
    }
    sendKeyColourBlock(profile);
    return true;
}

void LightingPanel::sendKeyColourBlock(int64_t profile) {
    KeyboardEditorContext* ctx = context();
    std::vector<RGBData> rows;
    // Rows that cannot be read would make an all-dark block: the keyboard keeps what it has.
    if (!ctx || !ctx->deviceDB().queryKeyRGB(profile, rows)) return;
    const KeyColourBlock block = keyColourBlock(ctx->deviceType(), rows, ctx->codeMap());
    ctx->sendLatest("keyColourBlock",
                    [block](Quorvath& q) { q.setBacklightData(block, int64_t(kKeyColourBlockSize)); });
}

void LightingPanel::customKeysSelect(int tag, bool status) {
    KeyboardEditorContext* ctx = context();
    if (!ctx || !radiKeyboardView) return;
    const auto positions = keyGroupPositions(tag, ctx->codeMap(), capNames());
    if (!positions) return;
    for (size_t p : *positions)
        if (SelectKeyView* frame = radiKeyboardView->selectKeyView(int64_t(p))) frame->setShow(status);
    if (tag != kAllKeysBoxTag) return;
    for (int64_t other : kBoxesSetByAll) {
        QCheckBox* check = box(int(other));
        const QSignalBlocker quiet(check);
        check->setChecked(status);
    }
}

void LightingPanel::resetAllKeys() {
    KeyboardEditorContext* ctx = context();
    // Reset belongs to the custom mode; elsewhere it would wipe the stored key colours unseen.
    if (!ctx || !radiKeyboardView || currentLightMode_ != kCustomLightMode) return;
    for (const KeyData& key : radiKeyboardView->keyDataArrayHover()) {
        if (SelectKeyView* frame = radiKeyboardView->selectKeyView(key.index)) frame->setShow(false);
        radiKeyboardView->setKeyColor(key.index, Qt::black);
    }
    const std::optional<RadiData> stored = storedRecord(ctx->currentProfile(), currentLightMode_);
    if (!stored) return;
    const std::vector<RGBData> groupRows =
        customKeyColourRows(kLedGroupBoxes, 0, {}, {}, ctx->nameMap(), stored->radiId, ctx->currentProfile());
    setCustomKeyRGB(ctx->currentProfile(), stored->radiId, groupRows);
}

void LightingPanel::setWellColor(const QColor& color) {
    wellColor_ = color;
    lightRandomColorWell->setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; border: 1px solid #8a8a8a; border-radius: 3px; }")
            .arg(color.name()));
}

void LightingPanel::openColorWell() {
    openSharedColorPanel(lightRandomColorWell, wellColor_, [this](const QColor& c) { colorWellChange(c); });
}

}  // namespace keyloom
