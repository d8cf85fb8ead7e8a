#include "projecthistory.h"

#include "projectfile.h"

#include <QCoreApplication>

ProjectHistory::ProjectHistory(QObject *parent) : QObject(parent) {}

void ProjectHistory::push(const ProjectData &before, const ProjectData &after)
{
    const bool wasClean = isClean();
    steps.resize(done);
    // The clean state was among the steps dropped: none can come back to it.
    if (cleanAt > done)
        cleanAt = -1;
    steps.append({before, after});
    ++done;
    announce(wasClean);
}

void ProjectHistory::undo()
{
    if (canUndo())
        moveTo(done - 1, steps.at(done - 1).before);
}

void ProjectHistory::redo()
{
    if (canRedo())
        moveTo(done + 1, steps.at(done).after);
}

void ProjectHistory::moveTo(int at, const ProjectData &state)
{
    const bool wasClean = isClean();
    done = at;
    // The state is announced after the history moved: a step pushed while
    // it is put in place follows it.
    const ProjectData copy = state;
    announce(wasClean);
    emit restore(copy);
}

void ProjectHistory::announce(bool wasClean)
{
    emit changed();
    if (wasClean != isClean())
        emit cleanChanged(isClean());
}

QString ProjectHistory::undoText() const
{
    return canUndo() ? describe(steps.at(done - 1).before, steps.at(done - 1).after) : QString();
}

QString ProjectHistory::redoText() const
{
    return canRedo() ? describe(steps.at(done).before, steps.at(done).after) : QString();
}

void ProjectHistory::clear()
{
    const bool wasClean = isClean();
    steps.clear();
    done = 0;
    cleanAt = 0;
    announce(wasClean);
}

void ProjectHistory::setClean()
{
    const bool wasClean = isClean();
    cleanAt = done;
    announce(wasClean);
}

void ProjectHistory::resetClean()
{
    const bool wasClean = isClean();
    cleanAt = -1;
    announce(wasClean);
}

QString ProjectHistory::describe(const ProjectData &before, const ProjectData &after)
{
    QStringList pins;
    for (int i = 0; i < after.pinFunctions.size(); ++i) {
        if (before.pinFunctions.value(i) == after.pinFunctions.at(i))
            continue;
        const QString function = after.pinFunctions.at(i).trimmed();
        pins << after.pinNames.value(i) + QLatin1Char(' ') +
                    (function.isEmpty() ? QStringLiteral("-") : function);
    }
    if (!pins.isEmpty()) {
        if (pins.size() > 2)
            pins = pins.mid(0, 2) << QStringLiteral("…");
        return QCoreApplication::translate("ProjectHistory", "引脚 %1")
            .arg(pins.join(QStringLiteral(", ")));
    }
    using D = CPinDescriptions;
    for (int t = D::DlgDI; t <= D::DlgSYS; ++t) {
        const auto type = D::DlgType(t);
        const bool sub =
            (t >= D::DlgUSART1 && t <= D::DlgUSART6 &&
             before.wirelessInformation[t - D::DlgUSART1] !=
                 after.wirelessInformation[t - D::DlgUSART1]) ||
            (t >= D::DlgSPI1 && t <= D::DlgSPI3 &&
             before.networkInformation[t - D::DlgSPI1] != after.networkInformation[t - D::DlgSPI1]);
        if (*before.tableList(type) != *after.tableList(type) || sub)
            return QCoreApplication::translate("ProjectHistory", "%1 表格")
                .arg(ProjectFile::sectionOf(type));
    }
    return QCoreApplication::translate("ProjectHistory", "修改工程");
}
