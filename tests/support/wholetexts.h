#pragma once

// For the window's suites only (it needs QtWidgets).

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QStringList>
#include <QStyleOptionComboBox>
#include <QToolButton>

namespace WholeTexts {

inline QString shown(QString text)
{
    return text.remove(QLatin1Char('&'));
}

// The visible labels, buttons and combo boxes of a window whose text does not
// fit them, as "objectName: text". A wrapping label must be as high as its
// text at its width; a combo box's field as wide as its widest item.
inline QStringList cut(const QWidget *window)
{
    QStringList found;
    const auto note = [&found](const QWidget *w, const QString &text) {
        found << w->objectName() + QStringLiteral(": ") + text;
    };
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        if (!label->isVisible() || label->text().isEmpty())
            continue;
        const bool fits = label->wordWrap()
                              ? label->height() >= label->heightForWidth(label->width())
                              : label->width() >= label->sizeHint().width();
        if (!fits)
            note(label, label->text());
    }
    for (const QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (!button->isVisible() || button->text().isEmpty())
            continue;
        // An icon alone, its text a tooltip.
        if (const auto *tool = qobject_cast<const QToolButton *>(button))
            if (tool->toolButtonStyle() == Qt::ToolButtonIconOnly)
                continue;
        const bool marked =
            qobject_cast<const QCheckBox *>(button) || qobject_cast<const QRadioButton *>(button);
        const int needed = marked ? button->sizeHint().width()
                                  : button->fontMetrics().horizontalAdvance(shown(button->text()));
        if (button->width() < needed)
            note(button, button->text());
    }
    for (const QComboBox *box : window->findChildren<QComboBox *>()) {
        if (!box->isVisible())
            continue;
        QStyleOptionComboBox option;
        option.initFrom(box);
        option.editable = box->isEditable();
        const int field =
            box->style()
                ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box)
                .width();
        for (int i = 0; i < box->count(); ++i)
            if (field < box->fontMetrics().horizontalAdvance(box->itemText(i)))
                note(box, box->itemText(i));
    }
    return found;
}

} // namespace WholeTexts
