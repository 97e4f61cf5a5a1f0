#include "speed_chart.h"

#include <QChart>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>

namespace ts::editor {

SpeedChart::SpeedChart(const QString& proposed, QWidget* parent) : QChartView(new QChart, parent) {
    QChart* c = chart();
    c->setMargins(QMargins(4, 4, 4, 4));
    auto* x = new QValueAxis(c);
    x->setTitleText(tr("frame"));
    x->setLabelFormat("%d");
    auto* y = new QValueAxis(c);
    y->setTitleText(tr("km/h"));
    y->setLabelFormat("%d");
    c->addAxis(x, Qt::AlignBottom);
    c->addAxis(y, Qt::AlignLeft);
    now_ = addSeries(tr("Now"), QPen(QColor(0x80, 0x80, 0x80), 1.5, Qt::DashLine));
    proposed_ = addSeries(proposed, QPen(QColor(0x1f, 0x4e, 0x9a), 2));
    setRenderHint(QPainter::Antialiasing);
    setMinimumSize(720, 260);
}

QLineSeries* SpeedChart::addSeries(const QString& name, const QPen& pen) {
    QChart* c = chart();
    auto* s = new QLineSeries(c);
    s->setName(name);
    s->setPen(pen);
    c->addSeries(s);
    for (QAbstractAxis* a : c->axes()) s->attachAxis(a);
    return s;
}

void SpeedChart::showCurves(int frames, const std::function<int(int)>& now, const std::function<int(int)>& proposed) {
    const int step = std::max(1, frames / 1500);
    QList<QPointF> nowPoints, proposedPoints;
    int most = 10;
    for (int f = 0; f < frames; f += step) {
        const int was = now(f), will = proposed(f);
        nowPoints << QPointF(f, was);
        proposedPoints << QPointF(f, will);
        most = std::max({most, was, will});
    }
    now_->replace(nowPoints);
    proposed_->replace(proposedPoints);
    for (QAbstractAxis* a : chart()->axes()) {
        if (a->orientation() == Qt::Horizontal)
            a->setRange(0, frames);
        else
            a->setRange(0, (most / 10 + 1) * 10);
    }
}

}  // namespace ts::editor
