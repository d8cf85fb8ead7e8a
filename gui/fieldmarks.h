#pragma once

#include <QString>

class QWidget;

// How an entry field shows that its text is refused: a red frame, and the
// reason as its tooltip. The property "refused" tells the state to tests and
// style sheets.
namespace FieldMarks {

// Marks the field with `problem`, or clears the mark when it is empty.
void mark(QWidget *field, const QString &problem);
bool isMarked(const QWidget *field);

} // namespace FieldMarks
