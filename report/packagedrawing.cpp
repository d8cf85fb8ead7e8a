#include "packagedrawing.h"

#include "chipfacts.h"
#include "pinrules.h"

#include <QHash>
#include <QImage>
#include <QPainter>

namespace PackageDrawing {

namespace {

// The images of the body, loaded once.
const QImage &resourceImage(const QString &path)
{
    static QHash<QString, QImage> images;
    auto found = images.find(path);
    if (found == images.end())
        found = images.insert(path, QImage(path));
    return found.value();
}

QFont arial(int pixelSize)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    return font;
}

// Draws text centred in rect, turned by -90 degrees so that it runs along a
// vertical pin.
void drawAlong(QPainter *painter, const QRectF &rect, const QString &text)
{
    painter->save();
    painter->translate(rect.center());
    painter->rotate(-90);
    painter->drawText(QRectF(-rect.height() / 2, -rect.width() / 2, rect.height(), rect.width()),
                      Qt::AlignCenter, text);
    painter->restore();
}

qreal pinLength(const QString &chipModel)
{
    return chipModel == ChipFacts::F407 ? 250 : 200;
}

} // namespace

int sideOf(int pinNumber, int pinCount)
{
    const int quarter = pinCount / 4;
    if (pinNumber <= quarter)
        return LeftSide;
    if (pinNumber <= 2 * quarter)
        return BottomSide;
    if (pinNumber <= 3 * quarter)
        return RightSide;
    return TopSide;
}

QRectF bodyRect(int pinCount)
{
    const qreal half = 4 * pinCount;
    return QRectF(-half, -half, 8 * pinCount, 8 * pinCount);
}

QRectF pinRect(const QString &chipModel, int pinCount, int i)
{
    const int n = pinCount;
    const int q = n / 4;
    const qreal length = pinLength(chipModel);
    const qreal thickness = q > 0 ? (8 * n - n - 1) / q : 0;
    const qreal half = 4 * n;
    if (i < q)
        return QRectF(-half - length, -half + 32 * i, length, thickness);
    if (i < 2 * q)
        return QRectF(-half + 32 * (i - q), half, thickness, length);
    if (i < 3 * q)
        return QRectF(half, half - 32 * (i - 2 * q + 1), length, thickness);
    return QRectF(half - 32 * (i - 3 * q + 1), -half - length, thickness, length);
}

QRectF labelRect(const QRectF &pin, int side)
{
    const qreal x = pin.x(), y = pin.y(), w = pin.width(), h = pin.height();
    switch (side) {
    case LeftSide:
        return QRectF(x + 2 * w / 3, y, w / 3, h);
    case RightSide:
        return QRectF(x, y, w / 3, h);
    case BottomSide:
        return QRectF(x, y, w, h / 3);
    default:
        return QRectF(x, y + 2 * h / 3, w, h / 3);
    }
}

QRectF functionRect(const QRectF &pin, int side)
{
    const qreal x = pin.x(), y = pin.y(), w = pin.width(), h = pin.height();
    switch (side) {
    case LeftSide:
        return QRectF(x, y, 2 * w / 3, h);
    case RightSide:
        return QRectF(x + w / 3, y, 2 * w / 3, h);
    case BottomSide:
        return QRectF(x, y + h / 3, w, 2 * h / 3);
    default:
        return QRectF(x, y, w, 2 * h / 3);
    }
}

QString pinLabel(int pinNumber, const QString &pinName)
{
    return QStringLiteral("%1:%2").arg(pinNumber).arg(pinName);
}

QColor assignedColour()
{
    return QColor(0, 188, 13);
}

QColor powerColour()
{
    return QColor(255, 254, 145);
}

QColor fixedColour()
{
    return QColor(199, 215, 88);
}

QColor bodyColour()
{
    return QColor(200, 200, 200);
}

QColor freeColour()
{
    return QColor(Qt::white);
}

QColor pinColour(const PinBoard &board, int pinIndex)
{
    if (board.isPower(pinIndex))
        return powerColour();
    if (board.isFixed(pinIndex))
        return fixedColour();
    return board.isFree(pinIndex) ? freeColour() : assignedColour();
}

void paintBody(QPainter *painter, const QRectF &body)
{
    painter->drawRect(body);
    painter->drawImage(body.adjusted(8, 8, -8, -8).toRect(),
                       resourceImage(QStringLiteral(":/ico/background.jpg")));

    // The pin-1 mark: a circle 15 units across near the top-left corner.
    const QPoint corner = body.topLeft().toPoint();
    painter->drawEllipse(QRect(corner + QPoint(30, 30), corner + QPoint(44, 44)));

    const qreal dx = body.width() / 3.8, dy = body.height() / 3.8;
    painter->drawImage(body.adjusted(dx, dy, -dx, -dy).toRect(),
                       resourceImage(QStringLiteral(":/ico/Logo5.png")));
}

void paintPin(QPainter *painter, const QRectF &pin, int side, const QString &label,
              const QString &function)
{
    const QRectF labelArea = labelRect(pin, side);
    const QRectF functionArea = functionRect(pin, side);
    painter->drawRect(labelArea);
    const bool vertical = side == BottomSide || side == TopSide;

    painter->setFont(arial(labelPixelSize));
    if (vertical)
        drawAlong(painter, labelArea, label);
    else
        painter->drawText(labelArea, Qt::AlignCenter, label);

    painter->setFont(arial(14));
    if (vertical)
        drawAlong(painter, functionArea, function);
    else
        painter->drawText(functionArea, Qt::AlignCenter, function);
}

QRectF bounds(const PinBoard &board)
{
    const qreal margin = pinLength(board.chipModel()) + 1;
    return bodyRect(board.pinCount()).adjusted(-margin, -margin, margin, margin);
}

void paint(QPainter *painter, const PinBoard &board)
{
    const int n = board.pinCount();
    painter->save();
    painter->setPen(QPen(Qt::black, 1));
    painter->setBrush(bodyColour());
    paintBody(painter, bodyRect(n));
    for (int i = 0; i < n; ++i) {
        painter->setPen(QPen(Qt::black, 1));
        painter->setBrush(pinColour(board, i));
        const QRectF rect = pinRect(board.chipModel(), n, i);
        paintPin(painter, rect, sideOf(i + 1, n), pinLabel(i + 1, board.pinName(i)),
                 board.function(i));
    }
    painter->restore();
}

} // namespace PackageDrawing
