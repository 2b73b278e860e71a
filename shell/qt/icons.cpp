#include "shell/qt/icons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

namespace dv::qt {

namespace {

QPixmap Blank(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void DrawFolder(QPainter& p, int size, bool open) {
    const qreal s = size / 16.0;
    p.scale(s, s);
    p.setPen(QPen(QColor(120, 90, 20), 1.0));
    // The tab and the back of the folder.
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6.0, 3.5);
    back.lineTo(7.5, 5.0);
    back.lineTo(14.5, 5.0);
    back.lineTo(14.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.setBrush(QColor(230, 190, 80));
    p.drawPath(back);
    if (open) {
        // The front flap tilted open.
        QPolygonF front;
        front << QPointF(3.5, 7.5) << QPointF(15.5, 7.5) << QPointF(13.0, 13.5)
              << QPointF(1.0, 13.5);
        p.setBrush(QColor(255, 224, 130));
        p.drawPolygon(front);
    } else {
        p.setBrush(QColor(250, 210, 100));
        p.drawRect(QRectF(1.5, 6.5, 13.0, 7.0));
    }
}

void DrawChart(QPainter& p, int size) {
    const qreal s = size / 16.0;
    p.scale(s, s);
    p.setPen(QPen(QColor(60, 60, 60), 1.0));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(0.5, 0.5, 15.0, 15.0));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 40));
    p.drawRect(QRectF(3, 8, 2.5, 6));
    p.setBrush(QColor(40, 110, 200));
    p.drawRect(QRectF(6.75, 4, 2.5, 10));
    p.setBrush(QColor(40, 160, 70));
    p.drawRect(QRectF(10.5, 6, 2.5, 8));
}

}  // namespace

QPixmap TreeImage(int number, int size) {
    QPixmap pixmap = Blank(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (number) {
        case 2:
            DrawFolder(p, size, true);
            break;
        case 3:
            DrawChart(p, size);
            break;
        default:
            DrawFolder(p, size, false);
            break;
    }
    return pixmap;
}

QIcon TreeIcon(int image, int selected_image) {
    QIcon icon;
    icon.addPixmap(TreeImage(image), QIcon::Normal);
    icon.addPixmap(TreeImage(selected_image), QIcon::Selected);
    return icon;
}

QPixmap LogoPixmap(int size) {
    QPixmap pixmap = Blank(size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal r = size / 2.0;
    p.translate(r, r);
    QLinearGradient face(0, -r, 0, r);
    face.setColorAt(0, QColor(40, 70, 130));
    face.setColorAt(1, QColor(15, 30, 70));
    p.setPen(QPen(QColor(200, 200, 210), size / 24.0));
    p.setBrush(face);
    p.drawEllipse(QPointF(0, 0), r * 0.92, r * 0.92);
    // Ticks over the upper three quarters of the dial.
    p.setPen(QPen(Qt::white, size / 40.0));
    for (int i = 0; i <= 10; ++i) {
        const qreal a = qDegreesToRadians(225.0 - i * 27.0);
        const qreal inner = i % 5 == 0 ? r * 0.58 : r * 0.66;
        p.drawLine(QPointF(inner * qCos(a), -inner * qSin(a)),
                   QPointF(r * 0.78 * qCos(a), -r * 0.78 * qSin(a)));
    }
    // The needle, pointing up and to the right.
    const qreal a = qDegreesToRadians(60.0);
    p.setPen(QPen(QColor(240, 70, 50), size / 18.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, 0), QPointF(r * 0.7 * qCos(a), -r * 0.7 * qSin(a)));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 220, 230));
    p.drawEllipse(QPointF(0, 0), r * 0.1, r * 0.1);
    return pixmap;
}

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128}) icon.addPixmap(LogoPixmap(size));
    return icon;
}

}  // namespace dv::qt
