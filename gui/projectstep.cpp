#include "projectstep.h"

#include "projectfile.h"

#include <QCoreApplication>

CProjectStep::CProjectStep(const QString &text, ProjectData before, ProjectData after, Apply apply)
    : QUndoCommand(text), m_before(std::move(before)), m_after(std::move(after)),
      m_apply(std::move(apply))
{
}

void CProjectStep::undo()
{
    m_apply(m_before);
}

void CProjectStep::redo()
{
    // The stack redoes a step when it is pushed; the window has already made it.
    if (m_done) {
        m_done = false;
        return;
    }
    m_apply(m_after);
}

QString CProjectStep::describe(const ProjectData &before, const ProjectData &after)
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
        return QCoreApplication::translate("CProjectStep", "引脚 %1")
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
            return QCoreApplication::translate("CProjectStep", "%1 表格")
                .arg(ProjectFile::sectionOf(type));
    }
    return QCoreApplication::translate("CProjectStep", "修改工程");
}
