#include "hintkeys.h"

#include <QAbstractButton>
#include <QLabel>
#include <QRegularExpression>
#include <QShortcut>

namespace HintKeys {

namespace {

const QString kName = QStringLiteral("hintKey");

// The letter of a hint, or a null character when the text has none.
QChar hintOf(const QString &text)
{
    static const QRegularExpression hint(QStringLiteral("[（(]([A-Za-z0-9])[）)]"));
    const QRegularExpressionMatch match = hint.match(text);
    return match.hasMatch() ? match.captured(1).at(0).toUpper() : QChar();
}

void bindOne(QWidget *window, QChar letter, QWidget *target)
{
    auto *key = new QShortcut(QKeySequence(Qt::ALT | Qt::Key(letter.unicode())), window);
    key->setObjectName(kName);
    QObject::connect(key, &QShortcut::activated, target, [target] {
        if (!target->isEnabled() || !target->isVisibleTo(target->window()))
            return;
        target->setFocus(Qt::ShortcutFocusReason);
        if (auto *button = qobject_cast<QAbstractButton *>(target))
            button->click();
    });
}

} // namespace

void bind(QWidget *window)
{
    for (QShortcut *old : window->findChildren<QShortcut *>(kName))
        delete old;
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        const QChar letter = hintOf(button->text());
        if (!letter.isNull())
            bindOne(window, letter, button);
    }
    for (QLabel *label : window->findChildren<QLabel *>()) {
        const QChar letter = hintOf(label->text());
        if (!letter.isNull() && label->buddy())
            bindOne(window, letter, label->buddy());
    }
}

} // namespace HintKeys
