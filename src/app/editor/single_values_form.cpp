#include "single_values_form.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <iterator>

#include "edit/route_tables.h"

namespace ts::editor {

using edit::SingleValue;

namespace {

struct Row {
    SingleValue value;
    const char* label;
};

// In the order an author fills them in.
const Row kRows[] = {
    {SingleValue::LineName, QT_TRANSLATE_NOOP("SingleValuesForm", "Line name")},
    {SingleValue::VideoFile, QT_TRANSLATE_NOOP("SingleValuesForm", "Video file")},
    {SingleValue::Letterbox, QT_TRANSLATE_NOOP("SingleValuesForm", "Letterbox (1: whole picture)")},
    {SingleValue::StartPosition, QT_TRANSLATE_NOOP("SingleValuesForm", "Start frame")},
    {SingleValue::StartTime, QT_TRANSLATE_NOOP("SingleValuesForm", "Start time")},
    {SingleValue::EndPos, QT_TRANSLATE_NOOP("SingleValuesForm", "End of the line (frame)")},
    {SingleValue::FrameRate, QT_TRANSLATE_NOOP("SingleValuesForm", "Frame rate")},
    {SingleValue::SignalSpeedYY, QT_TRANSLATE_NOOP("SingleValuesForm", "Speed at YY (km/h)")},
    {SingleValue::SignalSpeedY, QT_TRANSLATE_NOOP("SingleValuesForm", "Speed at Y (km/h)")},
    {SingleValue::SignalSpeedYG, QT_TRANSLATE_NOOP("SingleValuesForm", "Speed at YG (km/h)")},
    {SingleValue::SignalSpeedG, QT_TRANSLATE_NOOP("SingleValuesForm", "Speed at G (km/h)")},
    {SingleValue::PreTime, QT_TRANSLATE_NOOP("SingleValuesForm", "Preceding train (s ahead)")},
    {SingleValue::OneMan, QT_TRANSLATE_NOOP("SingleValuesForm", "One-man (1: yes)")},
    {SingleValue::StaffImage, QT_TRANSLATE_NOOP("SingleValuesForm", "Staff picture")},
};

}  // namespace

SingleValuesForm::SingleValuesForm(edit::RouteDocument& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    auto* form = new QFormLayout(this);
    for (const Row& r : kRows) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(edit::singleDef(r.value).marker));
        edit->setToolTip(QString::fromLatin1(edit::singleDef(r.value).marker));
        fields_[r.value] = edit;
        const SingleValue v = r.value;
        connect(edit, &QLineEdit::editingFinished, this, [this, v] { commit(v); });
        if (v == SingleValue::EndPos) {
            auto* row = new QHBoxLayout;
            row->addWidget(edit);
            auto* fromVideo = new QPushButton(tr("From the video"), this);
            fromVideo->setObjectName("endFromVideo");
            connect(fromVideo, &QPushButton::clicked, this, [this] {
                if (videoFrames_ <= 0) return;
                fields_[SingleValue::EndPos]->setText(QString::number(videoFrames_ - 1));
                commit(SingleValue::EndPos);
            });
            row->addWidget(fromVideo);
            form->addRow(QCoreApplication::translate("SingleValuesForm", r.label), row);
        } else {
            form->addRow(QCoreApplication::translate("SingleValuesForm", r.label), edit);
        }
    }
    problem_ = new QLabel(this);
    problem_->setObjectName("problem");
    problem_->setStyleSheet("color: #b00020");
    problem_->setWordWrap(true);
    form->addRow(problem_);
    reload();
}

void SingleValuesForm::changeEvent(QEvent* e) {
    if (e->type() == QEvent::LanguageChange) {
        // The form's rows stand in the order of kRows.
        auto* form = static_cast<QFormLayout*>(layout());
        for (int i = 0; i < int(std::size(kRows)) && i < form->rowCount(); ++i)
            if (QLayoutItem* item = form->itemAt(i, QFormLayout::LabelRole))
                if (auto* label = qobject_cast<QLabel*>(item->widget()))
                    label->setText(QCoreApplication::translate("SingleValuesForm", kRows[i].label));
        if (auto* b = findChild<QPushButton*>("endFromVideo")) b->setText(tr("From the video"));
    }
    QWidget::changeEvent(e);
}

void SingleValuesForm::setVideoFrames(int frames) { videoFrames_ = frames; }

void SingleValuesForm::reload() {
    for (auto& [v, edit] : fields_) {
        const QString text = QString::fromStdString(doc_.single(v));
        if (edit->text() != text) edit->setText(text);
    }
}

void SingleValuesForm::commit(SingleValue v) {
    QLineEdit* edit = fields_[v];
    const std::string text = edit->text().toStdString();
    if (text == doc_.single(v)) return;
    std::string error;
    if (doc_.setSingle(v, text, &error)) {
        problem_->clear();
    } else {
        problem_->setText(QString::fromStdString(error));
        edit->setText(QString::fromStdString(doc_.single(v)));
    }
}

}  // namespace ts::editor
