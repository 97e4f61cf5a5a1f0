#include "value_window.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>

#include "app_state.h"
#include "driving_window.h"
#include "language.h"

namespace ts {

namespace {

struct Row {
    const char* name;
    const char* caption;
    const char* meaning;  // shown as the caption's tooltip in the Japanese program
};

const Row kLeft[] = {
    {vd::Label1.text, "Speed", QT_TRANSLATE_NOOP("ts::TForm3", "Speed")},
    {vd::Label2.text, "BC Pressure", QT_TRANSLATE_NOOP("ts::TForm3", "Brake cylinder pressure")},
    {vd::Label3.text, "SAP Pressure", QT_TRANSLATE_NOOP("ts::TForm3", "Straight air pipe pressure")},
    {vd::Label4.text, "ER Pressure", QT_TRANSLATE_NOOP("ts::TForm3", "Equalising reservoir pressure")},
    {vd::Label5.text, "MR Pressure", QT_TRANSLATE_NOOP("ts::TForm3", "Main reservoir pressure")},
    {vd::Label30.text, "Frame", QT_TRANSLATE_NOOP("ts::TForm3", "Video frame")},
    {vd::Label31.text, "Projected", QT_TRANSLATE_NOOP("ts::TForm3", "Projected stopping distance")},
    {vd::Label33.text, "Remain", QT_TRANSLATE_NOOP("ts::TForm3", "Distance remaining to the stop mark")}};
const Row kMiddle[] = {
    {vd::Label6.text, "Accelaration", QT_TRANSLATE_NOOP("ts::TForm3", "Acceleration")},
    {vd::Label7.text, "Power", QT_TRANSLATE_NOOP("ts::TForm3", "Tractive force")},
    {vd::Label25.text, "Resistance", QT_TRANSLATE_NOOP("ts::TForm3", "Running resistance")},
    {vd::Label27.text, "Slope", QT_TRANSLATE_NOOP("ts::TForm3", "Gradient")},
    {vd::Label8.text, "Adhesive coefficient", QT_TRANSLATE_NOOP("ts::TForm3", "Adhesion coefficient")},
    {vd::Label9.text, "Adhesive limit(P)", QT_TRANSLATE_NOOP("ts::TForm3", "Adhesion limit (power)")},
    {vd::Label20.text, "Adhesive limit(B)", QT_TRANSLATE_NOOP("ts::TForm3", "Adhesion limit (brake)")}};

// A bar's value from its figure: a heavy train's forces run past int, so the
// figure is read in 64 bits and held at the bar's end.
int barValue(const std::string& text, const QProgressBar& bar) {
    int64_t v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec == std::errc::result_out_of_range)
        v = text.starts_with('-') ? INT64_MIN : INT64_MAX;
    else if (ec != std::errc())
        v = 0;
    return int(std::clamp<int64_t>(v, bar.minimum(), bar.maximum()));
}

}  // namespace

TForm3::TForm3(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName("TForm3");
    setWindowTitle("Value Display");
    setFixedSize(604, 195);
    auto column = [this](const Row* rows, int n, int x) {
        for (int i = 0; i < n; ++i) {
            auto* cap = new QLabel(QString::fromUtf8(rows[i].caption), this);
            cap->setGeometry(x, 6 + i * 23, 130, 20);
            captions_[cap] = rows[i].meaning;
            auto* val = new QLabel(this);
            val->setObjectName(rows[i].name);
            val->setGeometry(x + 130, 6 + i * 23, 90, 20);
            val->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            values_[rows[i].name] = val;
        }
    };
    column(kLeft, 8, 8);
    column(kMiddle, 7, 240);
    const char* barNames[] = {vd::ProgressBar1.text, vd::ProgressBar2.text, vd::ProgressBar3.text};
    for (int i = 0; i < 3; ++i) {
        auto* bar = new QProgressBar(this);
        bar->setObjectName(barNames[i]);
        bar->setRange(-500000, 500000);
        bar->setValue(0);
        bar->setTextVisible(false);
        bar->setGeometry(480, 8 + i * 24, 116, 16);
        bars_[barNames[i]] = bar;
    }
    auto* wheel = new QLabel(this);
    wheel->setObjectName(vd::Label23.text);
    wheel->setGeometry(480, 84, 116, 20);
    values_[vd::Label23.text] = wheel;
    retranslate();
}

void TForm3::retranslate() {
    const bool japanese = currentLanguage() == Language::Japanese;
    for (const auto& [label, meaning] : captions_) label->setToolTip(japanese ? tr(meaning) : QString());
}

void TForm3::changeEvent(QEvent* e) {
    if (e->type() == QEvent::LanguageChange) retranslate();
    QWidget::changeEvent(e);
}

void TForm3::showValues(const std::map<std::string, std::string>& values) {
    for (const auto& [name, text] : values) {
        if (auto it = values_.find(name); it != values_.end()) it->second->setText(QString::fromStdString(text));
        if (auto it = bars_.find(name); it != bars_.end()) it->second->setValue(barValue(text, *it->second));
    }
}

std::map<std::string, std::string> TForm3::texts() const {
    std::map<std::string, std::string> out;
    for (const auto& [name, label] : values_) out[name] = label->text().toStdString();
    for (const auto& [name, bar] : bars_) out[name] = std::to_string(bar->value());
    return out;
}

void TForm3::keyPressEvent(QKeyEvent* e) {
    if (app().current) app().current->forwardKey(e);
}

}  // namespace ts
