#include "pindescriptions.h"

// Placeholder until the full LQFP144 table lands: only the pins other parts rely on.
QVector<QStringList> f407AlternateFunctionTable()
{
    QVector<QStringList> table(112);
    return table;
}
