#include "ui/Artwork.h"

#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <functional>

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

// An icon of square pictures in a few sizes, each painted when it is first asked for: a start
// paints only the sizes the first window shows. It answers as an icon holding every size does
// (the same size is picked for a request, the other modes made from it by the style).
class PaintedIconEngine final : public QIconEngine {
public:
    using Painter = std::function<void(QPainter&, double size)>;
    PaintedIconEngine(Painter paint, QList<int> sizes) : paint_(std::move(paint)), sizes_(std::move(sizes)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Painted(size).pixmap(size, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Painted(size).actualSize(size, mode, state);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size() * painter->device()->devicePixelRatio(), mode, state));
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        QList<QSize> sizes;
        if (mode == QIcon::Normal && state == QIcon::Off)
            for (int size : sizes_)
                sizes.append(QSize(size, size));
        return sizes;
    }
    QIconEngine* clone() const override { return new PaintedIconEngine(*this); }
    QString key() const override { return QStringLiteral("PaintedIconEngine"); }

private:
    // The pictures painted so far, with the one a request picks among all sizes: the smallest
    // that is at least as large, else the largest.
    const QIcon& Painted(const QSize& wanted)
    {
        const int area = wanted.width() * wanted.height();
        int best = sizes_.back();
        for (int size : sizes_)
            if (size * size >= area && size < best)
                best = size;
        if (!painted_.contains(best)) {
            QPixmap pixmap = Canvas(best);
            QPainter p(&pixmap);
            paint_(p, best);
            p.end();
            icon_.addPixmap(pixmap);
            painted_.append(best);
        }
        return icon_;
    }

    Painter paint_;
    QList<int> sizes_;  // ascending
    QList<int> painted_;
    QIcon icon_;
};

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
    const auto paint = [](QPainter& p, double size) { PaintRadio(p, QRectF(0, 0, size, size)); };
    return QIcon(new PaintedIconEngine(paint, {16, 24, 32, 48, 64, 128}));
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
    const auto paint = [kind](QPainter& p, double s) {
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
    };
    return QIcon(new PaintedIconEngine(paint, {16, 24, 32, 48}));
}
