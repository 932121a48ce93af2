#include "viewer/pictures.h"

#include <QPainter>

namespace viewer {

QPixmap programIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 128), 1));
    p.setBrush(QColor(255, 215, 0));
    p.drawRect(QRectF(4.5, 8.5, 18, 18));
    p.drawEllipse(QRectF(4.5, 4.5, 18, 8));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(15.5, 12.5, 14, 17));
    for (int y = 16; y <= 26; y += 3) p.drawLine(QPointF(18, y + 0.5), QPointF(27, y + 0.5));
    return pixmap;
}

QPixmap printSelectionPicture() {
    QPixmap pixmap(180, 120);
    pixmap.fill(QColor(192, 192, 192));
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    p.fillRect(0, 0, 180, 14, QColor(0, 0, 128));
    p.setPen(Qt::white);
    QFont font("Sans Serif");
    font.setPixelSize(9);
    p.setFont(font);
    p.drawText(QRect(4, 0, 170, 14), Qt::AlignVCenter, "Select tables to print");
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(6, 20, 80, 90);
    for (int i = 0; i < 6; ++i) p.drawLine(10, 28 + i * 13, 70, 28 + i * 13);
    const char* options[] = {"All Tables", "Indexes", "Fields", "Page per Item", "Print attributes"};
    for (int i = 0; i < 5; ++i) {
        p.setBrush(Qt::white);
        p.drawRect(94, 22 + i * 15, 8, 8);
        p.drawText(QRect(106, 18 + i * 15, 74, 15), Qt::AlignVCenter, options[i]);
    }
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(120, 98, 52, 16);
    p.drawText(QRect(120, 98, 52, 16), Qt::AlignCenter, "OK");
    return pixmap;
}

}  // namespace viewer
