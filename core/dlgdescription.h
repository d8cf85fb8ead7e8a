#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QTranslator;

// The program's vocabulary: project-file keys, option lists of the parameter
// tables, column titles, window titles and download file names. Every object
// that needs it owns its own instance; nothing changes it after construction.
// Translated entries take the language active when the instance is built, or
// when retranslate() is called after a change of language.
class CDlgDescription : public QObject
{
    Q_OBJECT
public:
    explicit CDlgDescription(QObject *parent = nullptr);

    // Takes the translated entries again in the language now active.
    void retranslate();
    // Takes the translated entries from `only` alone: the source texts
    // (Chinese) with an empty translator, English with the English one.
    void retranslate(const QTranslator *only);

    // Single keys.
    QString type;
    QString iSSelectRAM;
    QString pin;
    QString mode;
    QString inputMode;
    QString triggerMode;
    QString triggerWay;
    QString prePriority;
    QString subPriority;
    QString speed;
    QString index;
    QString count;
    QString sliceSelectPinIsEnble;
    QString sliceSelectPin3Bit;
    QString sliceSelectPin2Bit;
    QString sliceSelectPin1Bit;
    QString sliceSelectPin0Bit;
    QString systemPin;

    QString noneText;

    // Key lists, never translated.
    QStringList usartKeys;
    QStringList socketKeys;
    QStringList spiKeys;
    QStringList networkKeys;

    // Option lists; a table stores the 0-based position of the chosen entry.
    QStringList enableOptions;
    QStringList diInputModes;
    QStringList doOutputModes;
    QStringList doSpeeds;
    QStringList exitInputModes;
    QStringList exitTriggerModes;
    QStringList exitTriggerWays;
    QStringList prePriorities;
    QStringList subPriorities;
    QStringList baudRates;
    QStringList dataBitOptions;
    QStringList stopBitOptions;
    QStringList parityOptions;
    QStringList portApplications;
    QStringList socketApplications;
    QStringList spiCommunicationModes;
    QStringList spiWorkModes;
    QStringList spiDataFrames;
    QStringList spiClockStates;
    QStringList spiCaptureEdges;
    QStringList spiCsModes;
    QStringList spiPrescalers;
    QStringList spiFirstBits;
    QStringList spiCrcPolynomials;
    QStringList film1Applications;
    QStringList film2Applications;
    QStringList film3Applications;
    QStringList reservedOptions1;
    QStringList reservedOptions2;
    // How a film's IP address is set; the network list stores 1 or 2.
    QStringList addressingOptions;

    // Table window titles.
    QString titleDI;
    QString titleDO;
    QString titleAI;
    QString titleAO;
    QString titleSYS;
    QString titleEXIT;
    QString titleUSART;
    QString titleSPI;
    QString titleNewProject;

    // Column titles.
    QStringList headersDI;
    QStringList headersDO;
    QStringList headersAI;
    QStringList headersAO;
    QStringList headersEXIT;
    QStringList headersWireless;
    QStringList headersUSART;
    QStringList headersNetwork;
    QStringList headersSPI;
    QStringList headersSYS;
    // The chip-select columns of the board tables: enable, bit 3 .. bit 0.
    QStringList headersChipSelect;
    // The wireless sockets of a serial port and the network of the SPI films.
    QStringList headersSocket;
    QStringList headersFilmNetwork;
    QString socketName; // "通道%1"
    QString filmName;   // "软片%1"
    QString titleWireless;
    QString titleNetwork;

    // File names.
    QString configureBaseName;
    QString configTableFileName;
    QString firmwareFileName;
    QString primaryFunctionFileName;
    QString clientFunctionFileName;
    QString driveFileName;
    QString uploadDirectory;
    QString uploadProjectFileName;
};
