#include "dlgdescription.h"

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
    noneText = tr("无");

    enableOptions = QStringList{tr("开"), tr("关"), tr("同上")};
    diInputModes = QStringList{tr("下拉输入"), tr("上拉输入")};
    doOutputModes = QStringList{tr("推挽输出"), tr("开漏输出")};
    doSpeeds =
        QStringList{tr("低速2MHz"), tr("中速10MHz/25MHz"), tr("快速50MHz"), tr("高速100MHz")};
    exitInputModes = QStringList{tr("下拉输入"), tr("上拉输入")};
    exitTriggerModes = QStringList{tr("中断触发"), tr("事件触发")};
    exitTriggerWays = QStringList{tr("上升沿触发"), tr("下降沿触发"), tr("双边沿触发")};
    prePriorities = QStringList{"0", "1", "2", "3"};
    subPriorities = QStringList{"0", "1", "2", "3"};
    baudRates = QStringList{"115200bits/s", "56000bits/s", "19200bits/s", "14400bits/s",
                            "9600bits/s",   "4800bits/s",  "2400bits/s"};
    dataBitOptions = QStringList{"8bits", "9bits"};
    stopBitOptions = QStringList{"1", "0.5", "2", "1.5"};
    parityOptions = QStringList{tr("无校验"), tr("偶校验"), tr("奇校验")};
    portApplications = QStringList{tr("无"),
                                   tr("Studio服务"),
                                   tr("ModBusRTU服务"),
                                   tr("ModbusRTU驱动"),
                                   tr("自由驱动"),
                                   tr("2G-M6313驱动"),
                                   tr("2G-SIM800C驱动"),
                                   tr("4G-移远EC20驱动"),
                                   tr("4G-SIM800C驱动"),
                                   tr("NB_BC26驱动"),
                                   tr("NB_ME3616驱动"),
                                   tr("WIFI_ESP8266驱动")};
    socketApplications = QStringList{tr("无"), tr("ZMQTT"), tr("远程通讯"), tr("透传")};
    spiCommunicationModes = QStringList{tr("双线双向全双工"), tr("双线单向接收"),
                                        tr("单线单向接收"), tr("单线单向发送")};
    spiWorkModes = QStringList{tr("主机"), tr("从机")};
    spiDataFrames = QStringList{tr("8帧"), tr("16帧")};
    spiClockStates = QStringList{tr("悬空高"), tr("悬空低")};
    spiCaptureEdges = QStringList{tr("第1个时钟沿"), tr("第2个时钟沿")};
    spiCsModes = QStringList{tr("软片选"), tr("硬片选")};
    spiPrescalers = QStringList{tr("2分频"),  tr("4分频"),  tr("8分频"),   tr("16分频"),
                                tr("32分频"), tr("64分频"), tr("128分频"), tr("256分频")};
    spiFirstBits = QStringList{"MSB", "LSB"};
    spiCrcPolynomials = QStringList{"7", "16"};
    film1Applications = QStringList{tr("无"), "Flash", tr("自由驱动端"), tr("Studio服务端")};
    film2Applications = film1Applications;
    film3Applications = film1Applications;
    addressingOptions = QStringList{tr("自动获取IP地址"), tr("使用下面的IP地址")};

    titleDI = tr("数字量输入");
    titleDO = tr("数字量输出");
    titleAI = tr("模拟量输入");
    titleAO = tr("模拟量输出");
    titleSYS = tr("系统特殊引脚配置");
    titleEXIT = tr("外部中断");
    titleUSART = tr("USART");
    titleSPI = tr("SPI");
    titleNewProject = tr("新建");

    const QString pinColumn = tr("引脚名");
    headersChipSelect = QStringList{tr("片选脚使能位"), tr("片选脚第3位"), tr("片选脚第2位"),
                                    tr("片选脚第1位"), tr("片选脚第0位")};
    const QStringList &selectColumns = headersChipSelect;
    headersDI = QStringList{pinColumn, tr("输入模式"), tr("X起始端子")} + selectColumns;
    headersDO =
        QStringList{pinColumn, tr("输出模式"), tr("输出速率"), tr("Y起始端子")} + selectColumns;
    headersAI = QStringList{pinColumn, tr("XA起始端子")} + selectColumns;
    headersAO = QStringList{pinColumn, tr("YA起始端子")} + selectColumns;
    headersEXIT = QStringList{pinColumn,        tr("输入模式"), tr("触发模式"),  tr("触发条件"),
                              tr("抢占优先级"), tr("子优先级"), tr("中断任务号")};
    headersWireless = QStringList{tr("参数"), tr("设定值"), tr("无线设定值")};
    headersUSART = QStringList{tr("TX引脚名"), tr("RX引脚名"), tr("波特率"),  tr("数据位"),
                               tr("停止位"),   tr("校验位"),   tr("端口应用")};
    headersNetwork = QStringList{tr("参数"), tr("设定值"), tr("以太网设置")};
    headersSPI =
        QStringList{tr("SCK引脚名"), tr("MISO引脚名"),     tr("MOSI引脚名"),   tr("通讯方式"),
                    tr("工作模式"),  tr("数据帧"),         tr("时钟状态"),     tr("捕获时钟沿"),
                    tr("片选方式"),  tr("波特率预分频值"), tr("数据传起始位"), tr("CRC多项式"),
                    tr("软片1应用"), tr("片选1引脚"),      tr("软片2应用"),    tr("片选2引脚"),
                    tr("软片3应用"), tr("片选3引脚")};
    headersSYS = QStringList{tr("系统特殊引脚描述"), pinColumn, tr("输出模式"), tr("输出速率")};
    headersSocket = QStringList{tr("通道"), tr("模块应用"), tr("IP地址"), tr("端口号")};
    headersFilmNetwork =
        QStringList{tr("软片"),     tr("IP地址获取方式"), tr("IP地址"),      tr("子网掩码"),
                    tr("默认网关"), tr("DNS服务器"),      tr("本地起始端口")};
    socketName = tr("通道%1");
    filmName = tr("软片%1");
    titleWireless = tr("无线模块");
    titleNetwork = tr("以太网");
}
