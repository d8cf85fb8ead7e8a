#pragma once

#include "settingsrules.h"

#include <QStringList>
#include <QVector>
#include <QWidget>

namespace Ui {
class CNetworkAttribut;
}
class QLineEdit;

// Ethernet settings of one SPI film application: addressing mode, address,
// mask, gateway, DNS server and local start port. One window is reused for
// every film. Every edit is announced at once (the table's draft takes the
// fields as they stand); OK hands them back through a signal and refuses what
// the rules of the film's settings refuse, naming the field; the window stays
// open. 取消, Esc and the close control announce that the edits made since it
// opened are given up.
class CNetworkAttribut : public QWidget
{
    Q_OBJECT
public:
    enum NetworkAttributType
    {
        NoFilm = 0,
        FilmApplication1 = 1,
        FilmApplication2 = 2,
        FilmApplication3 = 3
    };
    Q_ENUM(NetworkAttributType)

    static constexpr int informationSize = 12;

    explicit CNetworkAttribut(QWidget *parent = nullptr);
    ~CNetworkAttribut() override;

    // Prepares the window for film 1..3 with its stored list (12 strings);
    // a shorter list leaves the fields as they are. The caller shows it.
    void openForFilm(int film, const QStringList &information);
    NetworkAttributType filmType() const { return myType; }
    // The fields as the film's list (empty when no film is open).
    QStringList information() const;
    // Puts the keyboard on a field (the addressing: its chosen button).
    void focusField(SettingsRules::NetworkField field);

signals:
    void UpdateNetworkAttributSignal(CNetworkAttribut::NetworkAttributType myType,
                                     QStringList information);
    // A field or the addressing changed: information() holds it.
    void fieldsEdited();
    void cancelled();

public slots:
    void on_pushButtonOK_clicked();
    void on_pushButtonCancel_clicked();

protected:
    void changeEvent(QEvent *event) override;
    // Opens whole on its screen, or as large as the screen allows.
    void showEvent(QShowEvent *event) override;
    // As in a dialog: Enter confirms (or presses the focused button), Esc
    // cancels.
    void keyPressEvent(QKeyEvent *event) override;
    // 取消, Esc and the close control give the edits up; OK keeps them.
    void closeEvent(QCloseEvent *event) override;

private:
    // The fields as the list of film 1..3.
    QStringList fieldsOf(int film) const;
    void setAddressFieldsEnabled(bool enabled);
    void setDnsFieldEnabled(bool enabled);
    // What is wrong with the text of one field, naming it; empty when the
    // value is fine: an error of the film's rules always, a warning when the
    // user typed the value.
    QString problemOf(const QLineEdit *field) const;
    // Marks every field and returns the first problem (its field in *field).
    QString fieldProblem(QLineEdit **field = nullptr);
    void setFilmTitle();

    Ui::CNetworkAttribut *ui;
    QVector<QLineEdit *> fields; // by SettingsRules::NetworkField; none for the addressing
    NetworkAttributType myType = NoFilm;
    int titleFilm = 0;
    bool placed = false;           // sized to its screen at its first showing
    bool closingConfirmed = false; // OK is closing the window
};
