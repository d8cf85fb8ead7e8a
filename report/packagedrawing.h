#pragma once

#include <QColor>
#include <QRectF>
#include <QString>

class PinBoard;
class QPainter;

// The drawing of a chip package, in scene units, as the pin tab shows it and
// the documents print it: the body is a square of 8 units per pin centred on
// the origin, the pins stand on its four sides at a pitch of 32, each with
// its number and name in the third next to the body and its function in the
// other two thirds.
namespace PackageDrawing {

// The height of a pin's label in scene units.
constexpr int labelPixelSize = 13;

enum Side
{
    LeftSide = 0,
    BottomSide = 1,
    RightSide = 2,
    TopSide = 3
};

// The first quarter of the numbers runs down the left, then along the
// bottom, up the right and back along the top.
int sideOf(int pinNumber, int pinCount);
QRectF bodyRect(int pinCount);
// Pin index 0 is pin 1.
QRectF pinRect(const QString &chipModel, int pinCount, int pinIndex);
QRectF labelRect(const QRectF &pin, int side);
QRectF functionRect(const QRectF &pin, int side);
QString pinLabel(int pinNumber, const QString &pinName); // "9:PC1"

QColor assignedColour();
QColor powerColour();
QColor fixedColour();
QColor bodyColour();
QColor freeColour();
// Supply pins yellow, fixed and external-bus pins olive, assigned pins green,
// free pins white.
QColor pinColour(const PinBoard &board, int pinIndex);

// Paint with the painter's pen and brush already set to the outline and fill.
void paintBody(QPainter *painter, const QRectF &body);
void paintPin(QPainter *painter, const QRectF &pin, int side, const QString &label,
              const QString &function);

// The whole package of a board: the area it covers and the painting.
QRectF bounds(const PinBoard &board);
void paint(QPainter *painter, const PinBoard &board);

} // namespace PackageDrawing
