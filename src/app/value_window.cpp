#include "value_window.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>

#include "app_state.h"
#include "driving_window.h"

namespace ts {

namespace {

struct Row {
    const char* name;
    const char* caption;
};

const Row kLeft[] = {{vd::Label1.text, "Speed"},        {vd::Label2.text, "BC Pressure"},
                     {vd::Label3.text, "SAP Pressure"}, {vd::Label4.text, "ER Pressure"},
                     {vd::Label5.text, "MR Pressure"},  {vd::Label30.text, "Frame"},
                     {vd::Label31.text, "Projected"},   {vd::Label33.text, "Remain"}};
const Row kMiddle[] = {{vd::Label6.text, "Accelaration"},         {vd::Label7.text, "Power"},
                       {vd::Label25.text, "Resistance"},          {vd::Label27.text, "Slope"},
                       {vd::Label8.text, "Adhesive coefficient"}, {vd::Label9.text, "Adhesive limit(P)"},
                       {vd::Label20.text, "Adhesive limit(B)"}};

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
