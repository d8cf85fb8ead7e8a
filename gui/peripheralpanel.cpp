#include "peripheralpanel.h"

#include "chipfacts.h"
#include "flatbutton.h"

#include <QButtonGroup>
#include <QEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>

namespace {

const QColor kActive(85, 169, 255);
const QColor kInactive(225, 225, 225);

} // namespace

PeripheralPanel::PeripheralPanel(const QVector<QLayout *> &columns, const QVector<Entry> &buttons,
                                 QWidget *parent)
    : QScrollArea(parent), group(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("peripheralScroll"));
    auto *content = new QWidget;
    content->setObjectName(QStringLiteral("peripheralButtons"));
    auto *row = new QHBoxLayout(content);
    row->setContentsMargins(0, 0, 0, 0);
    // addLayout moves the columns' buttons into the panel.
    for (QLayout *column : columns) {
        column->setParent(nullptr);
        row->addLayout(column);
        row->setAlignment(column, Qt::AlignTop);
    }
    setWidget(content);
    setWidgetResizable(true);
    // Its buttons take the keyboard, and the panel scrolls to the one that
    // has it; the panel itself is no stop of its own.
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);

    for (const Entry &entry : buttons)
        group->addButton(entry.button, int(entry.type));
    connect(group, &QButtonGroup::idClicked, this,
            [this](int id) { emit tableRequested(CPinDescriptions::DlgType(id)); });
    showFunctions({});
    fitWidth();
}

QPushButton *PeripheralPanel::button(CPinDescriptions::DlgType type) const
{
    return qobject_cast<QPushButton *>(group->button(int(type)));
}

void PeripheralPanel::showFunctions(const QStringList &pinFunctions)
{
    QVector<bool> used(CPinDescriptions::DlgSYS + 1, false);
    for (const QString &function : pinFunctions)
        used[ChipFacts::tableOf(function)] = true;
    for (QAbstractButton *button : group->buttons())
        FlatButton::paint(static_cast<QPushButton *>(button),
                          used.value(group->id(button)) ? kActive : kInactive);
}

void PeripheralPanel::showChip(const QString &chipModel)
{
    chip = chipModel;
    for (QAbstractButton *button : group->buttons()) {
        const auto type = CPinDescriptions::DlgType(group->id(button));
        const bool present = chip.isEmpty() || ChipFacts::hasTable(chip, type);
        const QString port =
            ChipFacts::serialPorts().value(type - CPinDescriptions::DlgUSART1, button->text());
        button->setEnabled(present);
        button->setToolTip(present ? QString() : tr("%1 没有 %2").arg(chip, port));
    }
}

void PeripheralPanel::showProblems(const QVector<ProjectProblem> &problems)
{
    for (QAbstractButton *button : group->buttons()) {
        int errors = 0;
        int warnings = 0;
        for (const ProjectProblem &problem : problems) {
            if (problem.table != group->id(button))
                continue;
            ++(problem.severity == ProjectProblem::Error ? errors : warnings);
        }
        const QStyle::StandardPixmap mark =
            errors ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxWarning;
        button->setIcon(errors + warnings ? style()->standardIcon(mark) : QIcon());
        if (!button->isEnabled())
            continue;
        QStringList said;
        if (errors)
            said << tr("%n 个错误", nullptr, errors);
        if (warnings)
            said << tr("%n 个警告", nullptr, warnings);
        button->setToolTip(said.join(tr("，")));
    }
}

void PeripheralPanel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        showChip(chip);
    QScrollArea::changeEvent(event);
}

void PeripheralPanel::fitWidth()
{
    QWidget *content = widget();
    for (QAbstractButton *button : group->buttons()) {
        // Room for a problem's mark, whether it shows now or not.
        const QSize mark(button->icon().isNull() ? button->iconSize().width() + 4 : 0, 0);
        button->setMinimumSize(0, 0);
        button->setMinimumSize(button->sizeHint() + mark);
    }
    // The group boxes between take the new sizes before the content is measured.
    for (QWidget *box : content->findChildren<QWidget *>())
        box->updateGeometry();
    content->adjustSize();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    setFixedWidth(content->sizeHint().width() + scrollBar + 4);
}
