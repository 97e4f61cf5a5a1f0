#include "cue_line.h"

#include <QCoreApplication>
#include <QLabel>

#include <cmath>

#include "cab_view.h"
#include "devices/frame_source.h"

namespace ts {

namespace {}  // namespace

QString callOutText(const CallOut& c) {
    switch (c.kind) {
        case CallOut::Nothing: return QCoreApplication::translate("CueLine", "Call-out: nothing ahead to call out");
        case CallOut::Sign: return QCoreApplication::translate("CueLine", "Call-out: the sign ahead");
        case CallOut::SpeedLimit:
            return QCoreApplication::translate("CueLine", "Call-out: speed limit %1 km/h").arg(c.limitKmh);
        case CallOut::Signal: break;
    }
    switch (c.aspect) {
        case AspectClass::Stop: return QCoreApplication::translate("CueLine", "Call-out: signal at stop");
        case AspectClass::YY: return QCoreApplication::translate("CueLine", "Call-out: signal at caution-caution");
        case AspectClass::Y: return QCoreApplication::translate("CueLine", "Call-out: signal at caution");
        case AspectClass::YG: return QCoreApplication::translate("CueLine", "Call-out: signal at reduced speed");
        case AspectClass::Clear: return QCoreApplication::translate("CueLine", "Call-out: signal clear");
        case AspectClass::RepeaterCaution:
            return QCoreApplication::translate("CueLine", "Call-out: repeater at caution");
        case AspectClass::Other: break;
    }
    return QCoreApplication::translate("CueLine", "Call-out: %1").arg(QString::fromStdString(c.signalText));
}

QString cueText(const CueState& s) {
    if (s.releaseHintShown) return {};
    if (s.callOut) return callOutText(*s.callOut);
    if (s.chime) return QCoreApplication::translate("CueLine", "Train protection: alarm confirmed");
    switch (s.door) {
        case DoorCue::Melody:
            return s.oneMan
                       ? QCoreApplication::translate("CueLine", "Departure melody: close the doors (d) when it ends")
                       : QCoreApplication::translate("CueLine", "Departure melody: the doors close when it ends");
        case DoorCue::CloseTheDoors:
            return QCoreApplication::translate("CueLine", "The melody has ended: close the doors (d)");
        case DoorCue::DoorsClosing: return QCoreApplication::translate("CueLine", "Doors closing");
        case DoorCue::None: break;
    }
    return {};
}

CueLine::CueLine(CabView* cab) : cab_(cab) {
    line_ = new QLabel(cab);
    line_->setObjectName("CueLine");
    line_->setStyleSheet("QLabel { background: rgba(0, 0, 0, 150); color: #e8f4ff; padding-left: 4px; }");
    line_->hide();
    paused_ = new QLabel(cab);
    paused_->setObjectName("PausedOverlay");
    paused_->setAlignment(Qt::AlignCenter);
    paused_->setWordWrap(true);
    paused_->setStyleSheet("QLabel { background: rgba(0, 0, 0, 140); color: white; }");
    paused_->hide();
    distance_ = new QLabel(cab);
    distance_->setObjectName("StopDistance");
    distance_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    distance_->setStyleSheet("QLabel { background: rgba(0, 0, 0, 150); color: #ffb0b0; padding-right: 4px; }");
    distance_->hide();
    retranslate();
    place(1);
}

void CueLine::retranslate() {
    paused_->setText(QCoreApplication::translate(
        "CueLine",
        "<b style='font-size:150%'>Paused</b><br>Start in the menu resumes the run. Handles moved now "
        "take effect when it resumes."));
    distance_->setToolTip(QCoreApplication::translate(
        "CueLine",
        "Distance to the stop mark of the next stop. The red tick beside the view shows the same "
        "distance: level with the middle at 0 m."));
}

void CueLine::place(double scale) {
    for (QLabel* l : {line_, paused_, distance_}) {
        QFont f = l->font();
        f.setPixelSize(int(std::lround(12 * scale)));
        l->setFont(f);
    }
    // The release hint's place at the foot of the view, one line high.
    line_->setGeometry(cab_->scaled(QRect(0, kViewHeight - 18, kViewWidth, 18)));
    paused_->setGeometry(cab_->scaled(QRect(60, 80, kViewWidth - 120, 60)));
    distance_->setGeometry(cab_->scaled(QRect(kViewWidth - 140, 2, 138, 18)));
}

void CueLine::show(const CueState& s) {
    const QString text = cueText(s);
    if (line_->text() != text) line_->setText(text);
    line_->setVisible(!text.isEmpty());
    if (!text.isEmpty()) line_->raise();
    paused_->setVisible(s.paused);
    if (s.paused) paused_->raise();
    const QString metres =
        s.stopMetres ? QCoreApplication::translate("CueLine", "Stop mark %1 m").arg(std::lround(*s.stopMetres))
                     : QString();
    if (distance_->text() != metres) distance_->setText(metres);
    distance_->setVisible(s.stopMetres.has_value());
}

}  // namespace ts
