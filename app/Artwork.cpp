#include "app/Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

// A handheld radio in a 64 x 64 box: antenna, body, display and keypad dots.
void PaintRadio(QPainter& p, const QRectF& box)
{
    p.save();
    p.translate(box.topLeft());
    p.scale(box.width() / 64.0, box.height() / 64.0);
    p.setRenderHint(QPainter::Antialiasing);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 44, 52));
    p.drawRoundedRect(QRectF(37, 2, 6, 18), 2, 2);  // antenna

    QLinearGradient body(14, 0, 50, 0);
    body.setColorAt(0, QColor(58, 64, 76));
    body.setColorAt(1, QColor(30, 33, 40));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(15, 16, 34, 46), 6, 6);

    QLinearGradient screen(0, 21, 0, 37);
    screen.setColorAt(0, QColor(150, 220, 255));
    screen.setColorAt(1, QColor(70, 150, 210));
    p.setBrush(screen);
    p.drawRoundedRect(QRectF(20, 21, 24, 16), 2, 2);

    p.setBrush(QColor(200, 205, 215));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawEllipse(QRectF(21 + col * 8, 41 + row * 6.5, 5, 4));
    p.restore();
}

// A bold arrow in a 64 x 64 box, pointing up or down.
void PaintArrow(QPainter& p, const QRectF& box, bool up, const QColor& colour)
{
    p.save();
    p.translate(box.topLeft());
    p.scale(box.width() / 64.0, box.height() / 64.0);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrow;
    if (up) {
        arrow.moveTo(32, 4);
        arrow.lineTo(58, 32);
        arrow.lineTo(42, 32);
        arrow.lineTo(42, 60);
        arrow.lineTo(22, 60);
        arrow.lineTo(22, 32);
        arrow.lineTo(6, 32);
    } else {
        arrow.moveTo(32, 60);
        arrow.lineTo(58, 32);
        arrow.lineTo(42, 32);
        arrow.lineTo(42, 4);
        arrow.lineTo(22, 4);
        arrow.lineTo(22, 32);
        arrow.lineTo(6, 32);
    }
    arrow.closeSubpath();
    p.setPen(QPen(colour.darker(160), 3));
    p.setBrush(colour);
    p.drawPath(arrow);
    p.restore();
}

void PaintPrinter(QPainter& p, const QRectF& box)
{
    p.save();
    p.translate(box.topLeft());
    p.scale(box.width() / 64.0, box.height() / 64.0);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 2.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(18, 6, 28, 20));   // paper in
    p.setBrush(QColor(150, 155, 165));
    p.drawRoundedRect(QRectF(6, 24, 52, 24), 4, 4);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(16, 40, 32, 20));  // paper out
    p.setPen(QPen(QColor(120, 120, 120), 2));
    p.drawLine(QLineF(21, 47, 43, 47));
    p.drawLine(QLineF(21, 53, 38, 53));
    p.restore();
}

// A hooked arrow pointing left (undo); mirrored it points right (redo).
void PaintTurnArrow(QPainter& p, const QRectF& box, bool mirrored)
{
    p.save();
    p.translate(box.topLeft());
    p.scale(box.width() / 64.0, box.height() / 64.0);
    if (mirrored) {
        p.translate(64, 0);
        p.scale(-1, 1);
    }
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colour(40, 110, 190);
    QPainterPath hook;
    hook.moveTo(18, 22);
    hook.lineTo(38, 22);
    hook.cubicTo(62, 22, 62, 56, 38, 56);
    hook.lineTo(24, 56);
    p.setPen(QPen(colour.darker(130), 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hook);
    QPainterPath head;
    head.moveTo(4, 22);
    head.lineTo(22, 6);
    head.lineTo(22, 38);
    head.closeSubpath();
    p.setPen(QPen(colour.darker(130), 2));
    p.setBrush(colour);
    p.drawPath(head);
    p.restore();
}

QPixmap Canvas(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

}  // namespace

QPixmap ProgramIconPixmap(int size)
{
    QPixmap pixmap = Canvas(size);
    QPainter p(&pixmap);
    PaintRadio(p, QRectF(0, 0, size, size));
    p.end();
    return pixmap;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(ProgramIconPixmap(size));
    return icon;
}

QPixmap ClientBackgroundTile()
{
    // A quiet steel-blue weave; the tile repeats seamlessly because every line wraps at 48.
    constexpr int kSize = 48;
    QPixmap tile(kSize, kSize);
    tile.fill(QColor(96, 118, 142));
    QPainter p(&tile);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(104, 127, 152), 6));
    p.drawLine(QLineF(-kSize / 2.0, kSize / 2.0, kSize / 2.0, -kSize / 2.0));
    p.drawLine(QLineF(0, kSize, kSize, 0));
    p.drawLine(QLineF(kSize / 2.0, kSize * 1.5, kSize * 1.5, kSize / 2.0));
    p.setPen(QPen(QColor(90, 111, 134), 2));
    p.drawLine(QLineF(0, 0, kSize, kSize));
    p.drawLine(QLineF(-kSize / 2.0, kSize / 2.0, kSize / 2.0, kSize * 1.5));
    p.drawLine(QLineF(kSize / 2.0, -kSize / 2.0, kSize * 1.5, kSize / 2.0));
    return tile;
}

QIcon DrawToolIcon(ToolIcon kind)
{
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        QPixmap pixmap = Canvas(size);
        QPainter p(&pixmap);
        const double s = size;
        switch (kind) {
        case ToolIcon::Print:
            PaintPrinter(p, QRectF(0, 0, s, s));
            break;
        case ToolIcon::ReadRadio:  // from the radio into the program
            PaintRadio(p, QRectF(-s * 0.12, 0, s * 0.8, s));
            PaintArrow(p, QRectF(s * 0.5, s * 0.3, s * 0.5, s * 0.7), false, QColor(60, 170, 80));
            break;
        case ToolIcon::WriteRadio:  // from the program into the radio
            PaintRadio(p, QRectF(-s * 0.12, 0, s * 0.8, s));
            PaintArrow(p, QRectF(s * 0.5, s * 0.3, s * 0.5, s * 0.7), true, QColor(215, 80, 60));
            break;
        case ToolIcon::Undo:
        case ToolIcon::Redo:
            PaintTurnArrow(p, QRectF(0, 0, s, s), kind == ToolIcon::Redo);
            break;
        }
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
