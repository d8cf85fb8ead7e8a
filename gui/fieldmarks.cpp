#include "fieldmarks.h"

#include <QVariant>
#include <QWidget>

namespace FieldMarks {

void mark(QWidget *field, const QString &problem)
{
    if (!field)
        return;
    const bool refused = !problem.isEmpty();
    field->setProperty("refused", refused);
    field->setToolTip(problem);
    field->setStyleSheet(refused ? QStringLiteral("border: 2px solid #d01c1c;") : QString());
}

bool isMarked(const QWidget *field)
{
    return field && field->property("refused").toBool();
}

} // namespace FieldMarks
