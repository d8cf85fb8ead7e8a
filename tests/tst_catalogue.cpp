#include "dlgdescription.h"
#include "pindescriptions.h"
#include "projectdata.h"
#include "softwareinitialization.h"

#include <QtTest>

// The catalogue's keys, option orders and file names are part of the project
// file and configuration-table formats: a changed character or order breaks
// every stored project.
class TestCatalogue : public QObject
{
    Q_OBJECT
private slots:
    void keysAreSpelledAsStoredFilesHoldThem();
    void optionListsKeepTheirOrder();
    void titlesHeadersAndFileNames();
    void freshProjectDefaults();
};

void TestCatalogue::keysAreSpelledAsStoredFilesHoldThem()
{
    const CDlgDescription d;
    QCOMPARE(d.type, QStringLiteral("Type"));
    QCOMPARE(d.iSSelectRAM, QStringLiteral("iSSelectRAM"));
    QCOMPARE(d.sliceSelectPinIsEnble, QStringLiteral("SliceSelectPinIsEnble"));
    QCOMPARE(d.sliceSelectPin3Bit, QStringLiteral("SliceSelectPin_3Bit"));
    QCOMPARE(d.sliceSelectPin0Bit, QStringLiteral("SliceSelectPin_0Bit"));
    QCOMPARE(d.systemPin, QStringLiteral("SystemPin"));
    QCOMPARE(d.usartKeys, (QStringList{"TXPinName", "RXPinName", "Baud", "DataBit", "StopBit",
                                       "CheckBit", "PortApplication"}));
    QCOMPARE(d.socketKeys.size(), 24);
    QCOMPARE(d.socketKeys.at(0), QStringLiteral("ApplicationOfSocket1"));
    QCOMPARE(d.socketKeys.at(22), QStringLiteral("IPOfSocket8"));
    QCOMPARE(d.socketKeys.at(23), QStringLiteral("PortOfSocket8"));
    QCOMPARE(d.spiKeys.size(), 18);
    QCOMPARE(d.spiKeys.at(9), QStringLiteral("BaudRatePrefrequencyValue"));
    QCOMPARE(d.spiKeys.at(10), QStringLiteral("DataTransmissionStartBit"));
    QCOMPARE(d.spiKeys.at(17), QStringLiteral("SliceSelect3Pin"));
    QCOMPARE(d.networkKeys.size(), 18);
    QCOMPARE(d.networkKeys.at(0), QStringLiteral("FilmApplication1UseAutoGetIP"));
    QCOMPARE(d.networkKeys.at(2), QStringLiteral("FilmApplication1SubnetMas"));
    QCOMPARE(d.networkKeys.at(3), QStringLiteral("FilmApplication1DefaultGeteway"));
    QCOMPARE(d.networkKeys.at(17), QStringLiteral("FilmApplication3LocalStartPort"));

    // Keys per row of the row tables: 8, 9, 7, 7, 7 and 4.
    using D = CPinDescriptions;
    QCOMPARE(rowKeys(D::DlgDI).size(), 8);
    QCOMPARE(rowKeys(D::DlgDO).size(), 9);
    QCOMPARE(rowKeys(D::DlgAI).size(), 7);
    QCOMPARE(rowKeys(D::DlgAO).size(), 7);
    QCOMPARE(rowKeys(D::DlgEXIT).size(), 7);
    QCOMPARE(rowKeys(D::DlgSYS), (QStringList{"SystemPin", "Pin", "Mode", "Speed"}));
    for (D::DlgType t : {D::DlgDI, D::DlgDO, D::DlgAI, D::DlgAO, D::DlgEXIT, D::DlgSYS})
        QCOMPARE(stringsPerRow(t), 2 * rowKeys(t).size());
}

void TestCatalogue::optionListsKeepTheirOrder()
{
    const CDlgDescription d;
    QCOMPARE(d.enableOptions, (QStringList{"开", "关", "同上"}));
    QCOMPARE(d.diInputModes, (QStringList{"下拉输入", "上拉输入"}));
    QCOMPARE(d.doSpeeds, (QStringList{"低速2MHz", "中速10MHz/25MHz", "快速50MHz", "高速100MHz"}));
    QCOMPARE(d.exitTriggerWays, (QStringList{"上升沿触发", "下降沿触发", "双边沿触发"}));
    QCOMPARE(d.baudRates.first(), QStringLiteral("115200bits/s"));
    QCOMPARE(d.baudRates.last(), QStringLiteral("2400bits/s"));
    QCOMPARE(d.stopBitOptions, (QStringList{"1", "0.5", "2", "1.5"}));
    QCOMPARE(d.portApplications.size(), 12);
    QCOMPARE(d.portApplications.at(3), QStringLiteral("ModbusRTU驱动"));
    QCOMPARE(d.portApplications.at(11), QStringLiteral("WIFI_ESP8266驱动"));
    QCOMPARE(d.socketApplications, (QStringList{"无", "ZMQTT", "远程通讯", "透传"}));
    QCOMPARE(d.spiPrescalers.size(), 8);
    QCOMPARE(d.spiPrescalers.last(), QStringLiteral("256分频"));
    QCOMPARE(d.spiCrcPolynomials, (QStringList{"7", "16"}));
    QCOMPARE(d.film1Applications, (QStringList{"无", "Flash", "自由驱动端", "Studio服务端"}));
    QCOMPARE(d.film2Applications, d.film1Applications);
    QCOMPARE(d.film3Applications, d.film1Applications);
    QVERIFY(d.reservedOptions1.isEmpty() && d.reservedOptions2.isEmpty());
    QCOMPARE(d.noneText, QStringLiteral("无"));
}

void TestCatalogue::titlesHeadersAndFileNames()
{
    const CDlgDescription d;
    QCOMPARE(d.titleSYS, QStringLiteral("系统特殊引脚配置"));
    QCOMPARE(d.titleNewProject, QStringLiteral("新建"));
    QCOMPARE(d.headersDI.size(), 8);
    QCOMPARE(d.headersDO.size(), 9);
    QCOMPARE(d.headersAI.size(), 7);
    QCOMPARE(d.headersAO.at(1), QStringLiteral("YA起始端子"));
    QCOMPARE(d.headersEXIT.last(), QStringLiteral("中断任务号"));
    QCOMPARE(d.headersSPI.size(), 18);
    QCOMPARE(d.headersSYS, (QStringList{"系统特殊引脚描述", "引脚名", "输出模式", "输出速率"}));
    QCOMPARE(d.configTableFileName, QStringLiteral("02Configure_0x8007800.bin"));
    QCOMPARE(d.driveFileName, QStringLiteral("06-0001-01ModbusRTUDrive_0x805D000.bin"));
    QCOMPARE(d.uploadDirectory, QStringLiteral("/config/uploadConfigureFile"));
    QCOMPARE(d.uploadProjectFileName, QStringLiteral("/uploadConfigureFile.cpro"));

    const CSoftwareInitialization s;
    QCOMPARE(s.settingsFileName, QStringLiteral("SoftwareInitialization.txt"));
    QCOMPARE(s.projectSection, QStringLiteral("EngineeringFilePath"));
    QCOMPARE(s.languageKey, QStringLiteral("LanguageID"));
    QCOMPARE(s.windowTitle, QStringLiteral("Mirel"));
}

void TestCatalogue::freshProjectDefaults()
{
    const ProjectData p = ProjectData::fresh("STM32F407ZG", true);
    QCOMPARE(p.chipInformation, (QStringList{"Type", "STM32F407ZG"}));
    QCOMPARE(p.fsmcInformation, (QStringList{"iSSelectRAM", "1"}));
    QCOMPARE(p.pinNames.size(), 144);
    for (const QStringList &network : p.networkInformation) {
        QCOMPARE(network.size(), 36);
        for (int i = 0; i < 18; ++i)
            QCOMPARE(network.at(2 * i + 1), i % 6 == 0 ? QString("1") : QString());
    }
    QVERIFY(p.diInformation.isEmpty() && p.usartInformation[5].isEmpty());
    QCOMPARE(ProjectData::fresh("STM32F103RE", false).fsmcInformation.at(1), QStringLiteral("0"));
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
