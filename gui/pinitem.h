#pragma once

#include <QColor>
#include <QGraphicsItem>
#include <QRectF>
#include <QString>

// One pin of the drawn chip package, or the chip body itself. The pin shows
// its number and name in the third next to the body and its assigned
// function in the other two thirds.
class PinBoard;

class CPinItem : public QGraphicsItem
{
public:
    enum Kind
    {
        BodyKind = 0,
        PinKind = 1
    };
    enum Side
    {
        LeftSide = 0,
        BottomSide = 1,
        RightSide = 2,
        TopSide = 3
    };
    enum
    {
        Type = UserType + 1
    };

    // For the body, pinName is the chip model and pinNumber 0.
    CPinItem(const QRectF &rect, int kind, int pinNumber, int pinCount, const QString &pinName,
             QGraphicsItem *parent = nullptr);

    int type() const override { return Type; }
    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;

    QRectF rect() const { return geometry; }
    int kind() const { return itemKind; }
    int side() const { return pinSide; }
    int pinNumber() const { return number; }
    int pinCount() const { return count; }
    QString pinName() const { return name; }
    // The function the board holds for this pin (" " for the body and for a
    // pin without a board).
    QString functionText() const;
    QColor colour() const { return fill; }

    // The pin shows the function that the board holds for it.
    void showFunctionOf(const PinBoard *board) { functions = board; }
    void setColour(const QColor &colour);
    // Marks the pin as a search hit.
    void setMarked(bool on);
    bool isMarked() const { return marked; }

    // Side of a pin: the first quarter of the numbers runs down the left,
    // then along the bottom, up the right and back along the top.
    static int sideOf(int pinNumber, int pinCount);
    // The third of the pin next to the body (label) and the rest (function).
    QRectF labelRect() const;
    QRectF functionRect() const;
    QString label() const;

private:
    void paintBody(QPainter *painter);
    void paintPin(QPainter *painter);

    QRectF geometry;
    int itemKind;
    int pinSide = LeftSide;
    int number;
    int count;
    QString name;
    const PinBoard *functions = nullptr;
    QColor fill = Qt::white;
    bool marked = false;
};
