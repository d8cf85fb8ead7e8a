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
        button->setMinimumSize(0, 0);
        button->setMinimumSize(button->sizeHint());
    }
    content->adjustSize();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    setFixedWidth(content->sizeHint().width() + scrollBar + 4);
}
