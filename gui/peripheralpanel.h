#pragma once

#include "pindescriptions.h"
#include "projectcheck.h"

#include <QScrollArea>
#include <QVector>

class QButtonGroup;
class QLayout;
class QPushButton;

// The column of peripheral buttons beside the drawing, one per table kind.
// It scrolls when the window is low and is never narrower than its texts;
// a button is painted active while a pin carries its peripheral's function.
class PeripheralPanel : public QScrollArea
{
    Q_OBJECT
public:
    struct Entry
    {
        CPinDescriptions::DlgType type;
        QPushButton *button;
    };

    // Takes the form's button columns (their buttons move into the panel).
    PeripheralPanel(const QVector<QLayout *> &columns, const QVector<Entry> &buttons,
                    QWidget *parent = nullptr);

    QPushButton *button(CPinDescriptions::DlgType type) const;
    // Paints the buttons of the tables the pin functions use as active.
    void showFunctions(const QStringList &pinFunctions);
    // Disables the buttons of the tables the chip has no peripheral for,
    // saying so in their tooltip; an empty model enables every button.
    void showChip(const QString &chipModel);
    // Marks the buttons of the tables with a problem: an error's or a
    // warning's icon, and the count in the tooltip.
    void showProblems(const QVector<ProjectProblem> &problems);
    // As wide as the widest text in the language on show.
    void fitWidth();

signals:
    void tableRequested(CPinDescriptions::DlgType type);

protected:
    void changeEvent(QEvent *event) override;

private:
    QButtonGroup *group;
    QString chip;
};
