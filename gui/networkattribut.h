#pragma once

#include "dlgdescription.h"

#include <QStringList>
#include <QWidget>

namespace Ui {
class CNetworkAttribut;
}
class QLineEdit;

// Ethernet settings of one SPI film application: addressing mode, address,
// mask, gateway, DNS server and local start port. One window is reused for
// every film; the values go back to the caller through a signal. OK refuses a
// value the table cannot take, naming the field; the window stays open.
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
    static constexpr int lowestStartPort = 50000;
    static constexpr int highestStartPort = 65528;

    explicit CNetworkAttribut(QWidget *parent = nullptr);
    ~CNetworkAttribut() override;

    // Prepares the window for film 1..3 with its stored list (12 strings);
    // a shorter list leaves the fields as they are. The caller shows it.
    void openForFilm(int film, const QStringList &information);
    NetworkAttributType filmType() const { return myType; }
    // The fields as the film's list (empty when no film is open).
    QStringList information() const;

signals:
    void UpdateNetworkAttributSignal(CNetworkAttribut::NetworkAttributType myType,
                                     QStringList information);

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

private:
    void setAddressFieldsEnabled(bool enabled);
    void setDnsFieldEnabled(bool enabled);
    bool manualAddressing() const;
    // What is wrong with the text of one field, naming it; empty when the
    // value is fine. With manual addressing the address, mask and gateway
    // must be complete addresses. A start port the user typed must lie in
    // [lowestStartPort, highestStartPort]; one restored unchanged only has to
    // fit the table.
    QString problemOf(const QLineEdit *field) const;
    // Marks every field and returns the first problem (its field in *field).
    QString fieldProblem(QLineEdit **field = nullptr);
    void setFilmTitle();

    Ui::CNetworkAttribut *ui;
    CDlgDescription text;
    NetworkAttributType myType = NoFilm;
    int titleFilm = 0;
    bool placed = false; // sized to its screen at its first showing
};
