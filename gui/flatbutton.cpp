#include "flatbutton.h"

#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOptionButton>

namespace {

class FocusMarkStyle : public QProxyStyle
{
public:
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        QProxyStyle::drawControl(element, option, painter, widget);
        const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option);
        if (element != CE_PushButton || !button || !(option->state & State_HasFocus) ||
            !(button->features & QStyleOptionButton::Flat))
            return;
        // Dark enough to show on the grey and on the blue of an active button.
        painter->save();
        painter->setPen(QPen(option->palette.color(QPalette::Highlight).darker(170), 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(QRectF(option->rect).adjusted(1, 1, -1, -1));
        painter->restore();
    }
};

QStyle *focusMarkStyle()
{
    // One for all flat buttons, kept to the end of the program: a widget
    // does not own the style it is given.
    static QStyle *style = new FocusMarkStyle;
    return style;
}

} // namespace

namespace FlatButton {

void paint(QPushButton *button, const QColor &colour)
{
    QPalette palette = button->palette();
    palette.setBrush(QPalette::All, QPalette::Button, colour);
    palette.setBrush(QPalette::All, QPalette::Base, colour);
    button->setPalette(palette);
    button->setAutoFillBackground(true);
    button->setFlat(true);
    if (button->style() != focusMarkStyle())
        button->setStyle(focusMarkStyle());
}

} // namespace FlatButton
