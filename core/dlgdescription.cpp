#include "dlgdescription.h"

#include <QTranslator>

CDlgDescription::CDlgDescription(QObject *parent) : QObject(parent)
{
    type = QStringLiteral("Type");
    iSSelectRAM = QStringLiteral("iSSelectRAM");
    pin = QStringLiteral("Pin");
    mode = QStringLiteral("Mode");
    inputMode = QStringLiteral("InputMode");
    triggerMode = QStringLiteral("TriggerMode");
    triggerWay = QStringLiteral("TriggerWay");
    prePriority = QStringLiteral("PrePriority");
    subPriority = QStringLiteral("SubPriority");
    speed = QStringLiteral("Speed");
    index = QStringLiteral("Index");
    count = QStringLiteral("Count");
    sliceSelectPinIsEnble = QStringLiteral("SliceSelectPinIsEnble");
    sliceSelectPin3Bit = QStringLiteral("SliceSelectPin_3Bit");
    sliceSelectPin2Bit = QStringLiteral("SliceSelectPin_2Bit");
    sliceSelectPin1Bit = QStringLiteral("SliceSelectPin_1Bit");
    sliceSelectPin0Bit = QStringLiteral("SliceSelectPin_0Bit");
    systemPin = QStringLiteral("SystemPin");

    usartKeys = QStringList{"TXPinName", "RXPinName", "Baud",           "DataBit",
                            "StopBit",   "CheckBit",  "PortApplication"};
    for (int socket = 1; socket <= 8; ++socket) {
        socketKeys << QStringLiteral("ApplicationOfSocket%1").arg(socket)
                   << QStringLiteral("IPOfSocket%1").arg(socket)
                   << QStringLiteral("PortOfSocket%1").arg(socket);
    }
    spiKeys = QStringList{"SCKPinName",
                          "MISOPinName",
                          "MOSIPinName",
                          "CommunicationMode",
                          "WorkMode",
                          "DataFrame",
                          "ClockState",
                          "CaptureClockEdge",
                          "FilmSelectionMode",
                          "BaudRatePrefrequencyValue",
                          "DataTransmissionStartBit",
                          "CRCPolynomials",
                          "Film1Application",
                          "SliceSelect1Pin",
                          "Film2Application",
                          "SliceSelect2Pin",
                          "Film3Application",
                          "SliceSelect3Pin"};
    for (int film = 1; film <= 3; ++film) {
        const QString prefix = QStringLiteral("FilmApplication%1").arg(film);
        networkKeys << prefix + "UseAutoGetIP" << prefix + "IPAddr" << prefix + "SubnetMas"
                    << prefix + "DefaultGeteway" << prefix + "PreferredDNS"
                    << prefix + "LocalStartPort";
    }

    retranslate();

    configureBaseName = QStringLiteral("configure");
    configTableFileName = QStringLiteral("02Configure_0x8007800.bin");
    firmwareFileName = QStringLiteral("03Varnel_0x8012000.bin");
    primaryFunctionFileName = QStringLiteral("04PrimaryFuntion_0x803A000.bin");
    clientFunctionFileName = QStringLiteral("05ClientFuntion_0x8053000.bin");
    driveFileName = QStringLiteral("06-0001-01ModbusRTUDrive_0x805D000.bin");
    uploadDirectory = QStringLiteral("/config/uploadConfigureFile");
    uploadProjectFileName = QStringLiteral("/uploadConfigureFile.cpro");
}

void CDlgDescription::retranslate()
{
    retranslate(nullptr);
}

void CDlgDescription::retranslate(const QTranslator *only)
{
    // With a translator of its own, the texts are that translator's (the
    // source texts where it has none), whatever language is active.
    const auto t = [only](const char *source) {
        if (!only)
            return tr(source);
        const QString translated = only->translate("CDlgDescription", source);
        return translated.isEmpty() ? QString::fromUtf8(source) : translated;
    };
    noneText = t(QT_TR_NOOP("无"));

    enableOptions = QStringList{t(QT_TR_NOOP("开")), t(QT_TR_NOOP("关")), t(QT_TR_NOOP("同上"))};
    diInputModes = QStringList{t(QT_TR_NOOP("下拉输入")), t(QT_TR_NOOP("上拉输入"))};
    doOutputModes = QStringList{t(QT_TR_NOOP("推挽输出")), t(QT_TR_NOOP("开漏输出"))};
    doSpeeds = QStringList{t(QT_TR_NOOP("低速2MHz")), t(QT_TR_NOOP("中速10MHz/25MHz")),
                           t(QT_TR_NOOP("快速50MHz")), t(QT_TR_NOOP("高速100MHz"))};
    exitInputModes = QStringList{t(QT_TR_NOOP("下拉输入")), t(QT_TR_NOOP("上拉输入"))};
    exitTriggerModes = QStringList{t(QT_TR_NOOP("中断触发")), t(QT_TR_NOOP("事件触发"))};
    exitTriggerWays = QStringList{t(QT_TR_NOOP("上升沿触发")), t(QT_TR_NOOP("下降沿触发")),
                                  t(QT_TR_NOOP("双边沿触发"))};
    prePriorities = QStringList{"0", "1", "2", "3"};
    subPriorities = QStringList{"0", "1", "2", "3"};
    baudRates = QStringList{"115200bits/s", "56000bits/s", "19200bits/s", "14400bits/s",
                            "9600bits/s",   "4800bits/s",  "2400bits/s"};
    dataBitOptions = QStringList{"8bits", "9bits"};
    stopBitOptions = QStringList{"1", "0.5", "2", "1.5"};
    parityOptions =
        QStringList{t(QT_TR_NOOP("无校验")), t(QT_TR_NOOP("偶校验")), t(QT_TR_NOOP("奇校验"))};
    portApplications = QStringList{t(QT_TR_NOOP("无")),
                                   t(QT_TR_NOOP("Studio服务")),
                                   t(QT_TR_NOOP("ModBusRTU服务")),
                                   t(QT_TR_NOOP("ModbusRTU驱动")),
                                   t(QT_TR_NOOP("自由驱动")),
                                   t(QT_TR_NOOP("2G-M6313驱动")),
                                   t(QT_TR_NOOP("2G-SIM800C驱动")),
                                   t(QT_TR_NOOP("4G-移远EC20驱动")),
                                   t(QT_TR_NOOP("4G-SIM800C驱动")),
                                   t(QT_TR_NOOP("NB_BC26驱动")),
                                   t(QT_TR_NOOP("NB_ME3616驱动")),
                                   t(QT_TR_NOOP("WIFI_ESP8266驱动"))};
    socketApplications = QStringList{t(QT_TR_NOOP("无")), t(QT_TR_NOOP("ZMQTT")),
                                     t(QT_TR_NOOP("远程通讯")), t(QT_TR_NOOP("透传"))};
    spiCommunicationModes =
        QStringList{t(QT_TR_NOOP("双线双向全双工")), t(QT_TR_NOOP("双线单向接收")),
                    t(QT_TR_NOOP("单线单向接收")), t(QT_TR_NOOP("单线单向发送"))};
    spiWorkModes = QStringList{t(QT_TR_NOOP("主机")), t(QT_TR_NOOP("从机"))};
    spiDataFrames = QStringList{t(QT_TR_NOOP("8帧")), t(QT_TR_NOOP("16帧"))};
    spiClockStates = QStringList{t(QT_TR_NOOP("悬空高")), t(QT_TR_NOOP("悬空低"))};
    spiCaptureEdges = QStringList{t(QT_TR_NOOP("第1个时钟沿")), t(QT_TR_NOOP("第2个时钟沿"))};
    spiCsModes = QStringList{t(QT_TR_NOOP("软片选")), t(QT_TR_NOOP("硬片选"))};
    spiPrescalers =
        QStringList{t(QT_TR_NOOP("2分频")),   t(QT_TR_NOOP("4分频")),  t(QT_TR_NOOP("8分频")),
                    t(QT_TR_NOOP("16分频")),  t(QT_TR_NOOP("32分频")), t(QT_TR_NOOP("64分频")),
                    t(QT_TR_NOOP("128分频")), t(QT_TR_NOOP("256分频"))};
    spiFirstBits = QStringList{"MSB", "LSB"};
    spiCrcPolynomials = QStringList{"7", "16"};
    film1Applications = QStringList{t(QT_TR_NOOP("无")), "Flash", t(QT_TR_NOOP("自由驱动端")),
                                    t(QT_TR_NOOP("Studio服务端"))};
    film2Applications = film1Applications;
    film3Applications = film1Applications;
    addressingOptions =
        QStringList{t(QT_TR_NOOP("自动获取IP地址")), t(QT_TR_NOOP("使用下面的IP地址"))};

    titleDI = t(QT_TR_NOOP("数字量输入"));
    titleDO = t(QT_TR_NOOP("数字量输出"));
    titleAI = t(QT_TR_NOOP("模拟量输入"));
    titleAO = t(QT_TR_NOOP("模拟量输出"));
    titleSYS = t(QT_TR_NOOP("系统特殊引脚配置"));
    titleEXIT = t(QT_TR_NOOP("外部中断"));
    titleUSART = t(QT_TR_NOOP("USART"));
    titleSPI = t(QT_TR_NOOP("SPI"));
    titleNewProject = t(QT_TR_NOOP("新建"));

    const QString pinColumn = t(QT_TR_NOOP("引脚名"));
    headersChipSelect = QStringList{t(QT_TR_NOOP("片选脚使能位")), t(QT_TR_NOOP("片选脚第3位")),
                                    t(QT_TR_NOOP("片选脚第2位")), t(QT_TR_NOOP("片选脚第1位")),
                                    t(QT_TR_NOOP("片选脚第0位"))};
    const QStringList &selectColumns = headersChipSelect;
    headersDI = QStringList{pinColumn, t(QT_TR_NOOP("输入模式")), t(QT_TR_NOOP("X起始端子"))} +
                selectColumns;
    headersDO = QStringList{pinColumn, t(QT_TR_NOOP("输出模式")), t(QT_TR_NOOP("输出速率")),
                            t(QT_TR_NOOP("Y起始端子"))} +
                selectColumns;
    headersAI = QStringList{pinColumn, t(QT_TR_NOOP("XA起始端子"))} + selectColumns;
    headersAO = QStringList{pinColumn, t(QT_TR_NOOP("YA起始端子"))} + selectColumns;
    headersEXIT = QStringList{pinColumn,
                              t(QT_TR_NOOP("输入模式")),
                              t(QT_TR_NOOP("触发模式")),
                              t(QT_TR_NOOP("触发条件")),
                              t(QT_TR_NOOP("抢占优先级")),
                              t(QT_TR_NOOP("子优先级")),
                              t(QT_TR_NOOP("中断任务号"))};
    headersWireless =
        QStringList{t(QT_TR_NOOP("参数")), t(QT_TR_NOOP("设定值")), t(QT_TR_NOOP("无线设定值"))};
    headersUSART =
        QStringList{t(QT_TR_NOOP("TX引脚名")), t(QT_TR_NOOP("RX引脚名")), t(QT_TR_NOOP("波特率")),
                    t(QT_TR_NOOP("数据位")),   t(QT_TR_NOOP("停止位")),   t(QT_TR_NOOP("校验位")),
                    t(QT_TR_NOOP("端口应用"))};
    headersNetwork =
        QStringList{t(QT_TR_NOOP("参数")), t(QT_TR_NOOP("设定值")), t(QT_TR_NOOP("以太网设置"))};
    headersSPI = QStringList{
        t(QT_TR_NOOP("SCK引脚名")),      t(QT_TR_NOOP("MISO引脚名")),   t(QT_TR_NOOP("MOSI引脚名")),
        t(QT_TR_NOOP("通讯方式")),       t(QT_TR_NOOP("工作模式")),     t(QT_TR_NOOP("数据帧")),
        t(QT_TR_NOOP("时钟状态")),       t(QT_TR_NOOP("捕获时钟沿")),   t(QT_TR_NOOP("片选方式")),
        t(QT_TR_NOOP("波特率预分频值")), t(QT_TR_NOOP("数据传起始位")), t(QT_TR_NOOP("CRC多项式")),
        t(QT_TR_NOOP("软片1应用")),      t(QT_TR_NOOP("片选1引脚")),    t(QT_TR_NOOP("软片2应用")),
        t(QT_TR_NOOP("片选2引脚")),      t(QT_TR_NOOP("软片3应用")),    t(QT_TR_NOOP("片选3引脚"))};
    headersSYS = QStringList{t(QT_TR_NOOP("系统特殊引脚描述")), pinColumn,
                             t(QT_TR_NOOP("输出模式")), t(QT_TR_NOOP("输出速率"))};
    headersSocket = QStringList{t(QT_TR_NOOP("通道")), t(QT_TR_NOOP("模块应用")),
                                t(QT_TR_NOOP("IP地址")), t(QT_TR_NOOP("端口号"))};
    headersFilmNetwork = QStringList{t(QT_TR_NOOP("软片")),        t(QT_TR_NOOP("IP地址获取方式")),
                                     t(QT_TR_NOOP("IP地址")),      t(QT_TR_NOOP("子网掩码")),
                                     t(QT_TR_NOOP("默认网关")),    t(QT_TR_NOOP("DNS服务器")),
                                     t(QT_TR_NOOP("本地起始端口"))};
    socketName = t(QT_TR_NOOP("通道%1"));
    filmName = t(QT_TR_NOOP("软片%1"));
    titleWireless = t(QT_TR_NOOP("无线模块"));
    titleNetwork = t(QT_TR_NOOP("以太网"));
}
