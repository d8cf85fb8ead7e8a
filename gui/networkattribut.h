#pragma once

#include "dlgdescription.h"

#include <QStringList>
#include <QWidget>

namespace Ui {
class CNetworkAttribut;
}
class QLineEdit;
class QRegularExpressionValidator;

// Ethernet settings of one SPI film application: addressing mode, address,
// mask, gateway, DNS server and local start port. One window is reused for
// every film; the values go back to the caller through a signal.
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

private:
    void setAddressFieldsEnabled(bool enabled);
    void setDnsFieldEnabled(bool enabled);
    // A message naming the first field that holds an unusable value.
    QString fieldProblem() const;

    Ui::CNetworkAttribut *ui;
    QRegularExpressionValidator *addressValidator;
    CDlgDescription text;
    NetworkAttributType myType = NoFilm;
};
