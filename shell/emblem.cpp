#include "shell/emblem.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace talvera {

Emblem::Emblem(QWidget* parent) : QWidget(parent)
{
    setFixedSize(57, 65);
    setAttribute(Qt::WA_TranslucentBackground);
}

void Emblem::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(2.5, 2.5, width() - 5.0, height() - 5.0);
    // Shield outline: flat top, sides curving to a point.
    QPainterPath shield;
    shield.moveTo(r.left(), r.top());
    shield.lineTo(r.right(), r.top());
    shield.lineTo(r.right(), r.top() + r.height() * 0.55);
    shield.quadTo(r.right(), r.bottom() - 8, r.center().x(), r.bottom());
    shield.quadTo(r.left(), r.bottom() - 8, r.left(), r.top() + r.height() * 0.55);
    shield.closeSubpath();
    p.setPen(QPen(QColor(0, 0, 96), 2));
    p.setBrush(QColor(255, 255, 255));
    p.drawPath(shield);
    // Three bands: red, white, blue.
    p.save();
    p.setClipPath(shield);
    const qreal band = r.width() / 3.0;
    p.fillRect(QRectF(r.left(), r.top(), band, r.height()), QColor(200, 16, 46));
    p.fillRect(QRectF(r.left() + 2 * band, r.top(), band, r.height()), QColor(0, 56, 147));
    p.restore();
    // A star in the middle band.
    QPainterPath star;
    const QPointF c(r.center().x(), r.top() + r.height() * 0.42);
    for (int i = 0; i < 10; ++i) {
        const qreal radius = i % 2 == 0 ? 8.0 : 3.4;
        const qreal angle = qDegreesToRadians(-90.0 + i * 36.0);
        const QPointF pt(c.x() + radius * qCos(angle), c.y() + radius * qSin(angle));
        i == 0 ? star.moveTo(pt) : star.lineTo(pt);
    }
    star.closeSubpath();
    p.setPen(QPen(QColor(120, 90, 0), 0.8));
    p.setBrush(QColor(230, 180, 30));
    p.drawPath(star);
    p.setPen(QPen(QColor(0, 0, 96), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shield);
}

} // namespace talvera
