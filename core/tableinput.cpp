#include "tableinput.h"

#include "projecttexts.h"

QString TableInput::shown(const DraftCell &cell)
{
    if (cell.kind == DraftCell::Options || cell.kind == DraftCell::ChipSelect)
        return cell.entries.value(cell.index);
    return cell.value;
}

QString TableInput::take(TableDraft &draft, int row, int column, const QString &text,
                         const QVector<const CDlgDescription *> &languages)
{
    const DraftCell *cell = draft.table().cell(row, column);
    const QString given = text.trimmed();
    if (!cell)
        return tr("这一格不能填写");
    const bool choice = cell->kind == DraftCell::Options || cell->kind == DraftCell::ChipSelect;
    int at = -1;
    if (choice) {
        QVector<QStringList> lists{cell->entries};
        for (const CDlgDescription *language : languages) {
            if (cell->kind == DraftCell::ChipSelect)
                lists << QStringList{language->noneText};
            else
                lists << ProjectTexts::optionsOf(*language, draft.type(), cell->key);
        }
        for (const QStringList &list : lists)
            if ((at = int(list.indexOf(given))) >= 0)
                break;
    }
    if (choice ? at == cell->index : given == cell->value)
        return QString(); // what the cell shows, in either language
    if (cell->kind == DraftCell::Fixed || !cell->enabled)
        return tr("这一格不能填写（当前为“%1”）").arg(shown(*cell));
    if (choice && (at < 0 || at >= cell->entries.size()))
        return tr("“%1”不是这一格的选项").arg(given);
    const QString stored = !choice                            ? given
                           : cell->kind == DraftCell::Options ? QString::number(at)
                           : at == 0                          ? QStringLiteral("0")
                                                              : cell->entries.at(at);
    const QString before = cell->value;
    draft.setValue(row, column, stored);
    const DraftCell *now = draft.table().cell(row, column);
    if (!now || now->problem.isEmpty())
        return QString();
    const QString problem = now->problem;
    draft.setValue(row, column, before);
    return problem;
}
