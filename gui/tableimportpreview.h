#pragma once

#include "projectdiff.h"
#include "tablecsv.h"

#include <QDialog>

class QLabel;
class QTableWidget;

// What an import of table files would do, before it does it: a row per
// difference of the project and its result (table, row, field, the
// project's value and the file's), and a row per value refused, with its
// file, line and column. 确定 takes the import, 取消 leaves the project.
class TableImportPreview : public QDialog
{
    Q_OBJECT
public:
    TableImportPreview(const QVector<ProjectDifference> &differences,
                       const QVector<TableCsv::Refusal> &refused, QWidget *parent = nullptr);

    QTableWidget *differenceList() const { return changes; }
    QTableWidget *refusalList() const { return refusals; }

private:
    QLabel *said;
    QTableWidget *changes;
    QTableWidget *refusals;
};
