#include "pinitem.h"

#include "pinrules.h"

#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>

namespace {

QPixmap resourcePixmap(const QString &path)
{
    QPixmap pixmap;
    if (!QPixmapCache::find(path, &pixmap)) {
        pixmap.load(path);
        QPixmapCache::insert(path, pixmap);
    }
    return pixmap;
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

} // namespace

CPinItem::CPinItem(const QRectF &rect, int kind, int pinNumber, int pinCount,
                   const QString &pinName, QGraphicsItem *parent)
    : QGraphicsItem(parent), geometry(rect), itemKind(kind), number(pinNumber), count(pinCount),
      name(pinName)
{
    if (kind == PinKind)
        pinSide = sideOf(pinNumber, pinCount);
    setFlag(ItemIsMovable, false);
    setFlag(ItemIsSelectable, true);
    setFlag(ItemSendsGeometryChanges, true);
    setAcceptHoverEvents(true);
}

int CPinItem::sideOf(int pinNumber, int pinCount)
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

QRectF CPinItem::boundingRect() const
{
    return geometry.adjusted(-1, -1, 1, 1);
}

void CPinItem::setMarked(bool on)
{
    if (marked == on)
        return;
    marked = on;
    update();
}

QPainterPath CPinItem::shape() const
{
    QPainterPath path;
    path.addRect(geometry);
    return path;
}

QString CPinItem::functionText() const
{
    return functions ? functions->function(number - 1) : QStringLiteral(" ");
}

void CPinItem::setColour(const QColor &colour)
{
    fill = colour;
    update();
}

QString CPinItem::label() const
{
    return QStringLiteral("%1:%2").arg(number).arg(name);
}

QRectF CPinItem::labelRect() const
{
    const qreal x = geometry.x(), y = geometry.y(), w = geometry.width(), h = geometry.height();
    switch (pinSide) {
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

QRectF CPinItem::functionRect() const
{
    const qreal x = geometry.x(), y = geometry.y(), w = geometry.width(), h = geometry.height();
    switch (pinSide) {
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

void CPinItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    painter->setPen(QPen(Qt::black, 1));
    painter->setBrush(fill);
    if (itemKind == BodyKind)
        paintBody(painter);
    else
        paintPin(painter);
    if (marked) {
        // A search hit: a wide frame just inside the pin's outline.
        painter->setPen(QPen(QColor(255, 120, 0), 4));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(geometry.adjusted(2, 2, -2, -2));
    }
}

void CPinItem::paintBody(QPainter *painter)
{
    painter->drawRect(geometry);
    painter->drawPixmap(geometry.adjusted(8, 8, -8, -8).toRect(),
                        resourcePixmap(QStringLiteral(":/ico/background.jpg")));

    // The pin-1 mark: a circle 15 units across near the top-left corner.
    const QPoint corner = geometry.topLeft().toPoint();
    painter->drawEllipse(QRect(corner + QPoint(30, 30), corner + QPoint(44, 44)));

    const qreal dx = geometry.width() / 3.8, dy = geometry.height() / 3.8;
    painter->drawPixmap(geometry.adjusted(dx, dy, -dx, -dy).toRect(),
                        resourcePixmap(QStringLiteral(":/ico/Logo5.png")));
}

void CPinItem::paintPin(QPainter *painter)
{
    const QRectF labelArea = labelRect();
    const QRectF functionArea = functionRect();
    painter->drawRect(labelArea);
    const bool vertical = pinSide == BottomSide || pinSide == TopSide;

    painter->setFont(arial(13));
    if (vertical)
        drawAlong(painter, labelArea, label());
    else
        painter->drawText(labelArea, Qt::AlignCenter, label());

    painter->setFont(arial(14));
    const QString function = functionText();
    if (vertical)
        drawAlong(painter, functionArea, function);
    else
        painter->drawText(functionArea, Qt::AlignCenter, function);
}
