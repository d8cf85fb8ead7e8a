#include "pinitem.h"

#include "packagedrawing.h"
#include "pinrules.h"

#include <QPainter>

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
    return PackageDrawing::sideOf(pinNumber, pinCount);
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
    return PackageDrawing::pinLabel(number, name);
}

QRectF CPinItem::labelRect() const
{
    return PackageDrawing::labelRect(geometry, pinSide);
}

QRectF CPinItem::functionRect() const
{
    return PackageDrawing::functionRect(geometry, pinSide);
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
    PackageDrawing::paintBody(painter, geometry);
}

void CPinItem::paintPin(QPainter *painter)
{
    PackageDrawing::paintPin(painter, geometry, pinSide, label(), functionText());
}
