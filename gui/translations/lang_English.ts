<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>AppendFile</name>
    <message>
        <source>无法写入%1：%2</source>
        <translation>cannot write %1: %2</translation>
    </message>
    <message>
        <source>无法读取%1：%2</source>
        <translation>cannot read %1: %2</translation>
    </message>
    <message>
        <source>%1被另一个程序锁住，%2秒后仍未放开</source>
        <translation>%1 is locked by another program and was not let go within %2 s</translation>
    </message>
    <message>
        <source>无法锁定%1：%2</source>
        <translation>cannot lock %1: %2</translation>
    </message>
    <message>
        <source>%1被另一个程序锁住</source>
        <translation>%1 is locked by another program</translation>
    </message>
    <message>
        <source>文件夹%1不存在</source>
        <translation>the folder %1 does not exist</translation>
    </message>
</context>
<context>
    <name>AtomicFile</name>
    <message>
        <source>无法创建文件夹%1</source>
        <translation>cannot create the folder %1</translation>
    </message>
    <message>
        <source>无法写入%1：%2</source>
        <translation>cannot write %1: %2</translation>
    </message>
</context>
<context>
    <name>BatchDownload</name>
    <message>
        <source>批量下载正在进行</source>
        <translation>A batch download is running</translation>
    </message>
    <message>
        <source>没有要下载的配置表</source>
        <translation>There is no configuration table to download</translation>
    </message>
    <message>
        <source>没有选择串口</source>
        <translation>No port chosen</translation>
    </message>
    <message>
        <source>串口%1重复</source>
        <translation>Port %1 is named twice</translation>
    </message>
</context>
<context>
    <name>BatchPanel</name>
    <message>
        <source>批量下载</source>
        <translation>Batch download</translation>
    </message>
    <message>
        <source>串口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>进度</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Outcome</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>下载后读回校验</source>
        <translation>Read back and verify after download</translation>
    </message>
    <message>
        <source>记录文件：</source>
        <translation>Record file:</translation>
    </message>
    <message>
        <source>可选：每个串口的结果追加一行（CSV）</source>
        <translation>Optional: one row appended per port (CSV)</translation>
    </message>
    <message>
        <source>选择…</source>
        <translation>Choose…</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>选择记录文件</source>
        <translation>Choose the record file</translation>
    </message>
    <message>
        <source>CSV 文件 (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>没有打开的工程：请先新建或打开工程，再批量下载配置</source>
        <translation>No project is open: create or open a project before the batch download</translation>
    </message>
    <message>
        <source>没有勾选串口：请至少勾选一个串口</source>
        <translation>No port is ticked: tick at least one port</translation>
    </message>
    <message>
        <source>没有可下载的配置信息</source>
        <translation>There is no configuration to download</translation>
    </message>
    <message>
        <source>配置表生成失败：%1</source>
        <translation>Building the configuration table failed: %1</translation>
    </message>
    <message>
        <source>等待开始</source>
        <translation>Waiting to start</translation>
    </message>
    <message numerus="yes">
        <source>正在向%n个串口下载...</source>
        <translation>
            <numerusform>Downloading to %n port...</numerusform>
            <numerusform>Downloading to %n ports...</numerusform>
        </translation>
    </message>
    <message>
        <source>正在读回校验...</source>
        <translation>Reading back to verify...</translation>
    </message>
    <message>
        <source>正在下载...</source>
        <translation>Downloading...</translation>
    </message>
    <message>
        <source>成功，读回校验一致</source>
        <translation>Succeeded, read back identical</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>Succeeded</translation>
    </message>
    <message>
        <source>失败：%1</source>
        <translation>Failed: %1</translation>
    </message>
    <message numerus="yes">
        <source>全部%n个串口下载成功</source>
        <translation>
            <numerusform>The %n port downloaded successfully</numerusform>
            <numerusform>All %n ports downloaded successfully</numerusform>
        </translation>
    </message>
    <message>
        <source>%1个串口中有%2个失败</source>
        <translation>%2 of %1 ports failed</translation>
    </message>
</context>
<context>
    <name>BatchRecord</name>
    <message>
        <source>%1不是下载记录：第一行应为&quot;%2&quot;，记录未写入</source>
        <translation>%1 is not a download record: its first line should be &quot;%2&quot;; the record was not written</translation>
    </message>
    <message>
        <source>无法读取%1：%2</source>
        <translation>Cannot read %1: %2</translation>
    </message>
</context>
<context>
    <name>BatchRecordRows</name>
    <message numerus="yes">
        <source>上次的%n行记录还在等待写入%1：请等它们写入，或关闭窗口另存</source>
        <translation>
            <numerusform>%n row of the last batch still waits to be written to %1: wait until it is written, or close the window and save it elsewhere</numerusform>
            <numerusform>%n rows of the last batch still wait to be written to %1: wait until they are written, or close the window and save them elsewhere</numerusform>
        </translation>
    </message>
    <message>
        <source>记录文件不可用：%1</source>
        <translation>The record file cannot be used: %1</translation>
    </message>
    <message>
        <source>记录没有写入：%1</source>
        <translation>The record was not written: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n行记录等待写入%1（文件被另一个程序锁住）</source>
        <translation>
            <numerusform>%n row waits to be written to %1 (another program holds the file)</numerusform>
            <numerusform>%n rows wait to be written to %1 (another program holds the file)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n行记录还没有写入%1。
另存到其他文件吗？不另存的，在文件放开后写入（程序退出前）。</source>
        <translation>
            <numerusform>%n row is not written to %1 yet.
Save it to another file? If not, it is written once the file is free (before the program quits).</numerusform>
            <numerusform>%n rows are not written to %1 yet.
Save them to another file? If not, they are written once the file is free (before the program quits).</numerusform>
        </translation>
    </message>
    <message>
        <source>另存为…</source>
        <translation>Save as…</translation>
    </message>
    <message>
        <source>继续等待</source>
        <translation>Keep waiting</translation>
    </message>
    <message>
        <source>另存记录</source>
        <translation>Save the record</translation>
    </message>
    <message>
        <source>CSV 文件 (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Quit</translation>
    </message>
    <message numerus="yes">
        <source>%n行记录还没有写入%1（文件被另一个程序锁住），退出后就没有了。
另存到其他文件吗？</source>
        <translation>
            <numerusform>%n row is not written to %1 yet (another program holds the file) and is lost on quitting.
Save it to another file?</numerusform>
            <numerusform>%n rows are not written to %1 yet (another program holds the file) and are lost on quitting.
Save them to another file?</numerusform>
        </translation>
    </message>
    <message>
        <source>不保存，退出</source>
        <translation>Quit without saving</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>CAboutPindle</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>Mirel 1.0.0</source>
        <translation>Mirel 1.0.0</translation>
    </message>
    <message>
        <source>Mirel创建于2019年4月29日</source>
        <translation>Mirel, created on 29 April 2019</translation>
    </message>
    <message>
        <source>Mirel控制器的配置软件：
为芯片引脚分配功能、填写外设参数，
生成配置表并通过串口下载到控制器或从控制器读回。</source>
        <translation>Configuration tool for the Mirel controller:
assigns functions to the chip pins, fills in the peripheral parameters,
builds the configuration table and downloads it to the controller over a serial port or reads it back.</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>关于Mirel配置软件</source>
        <translation>About the Mirel configuration tool</translation>
    </message>
</context>
<context>
    <name>CDlgDescription</name>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>开</source>
        <translation>On</translation>
    </message>
    <message>
        <source>关</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>同上</source>
        <translation>Same as above</translation>
    </message>
    <message>
        <source>下拉输入</source>
        <translation>Pull-down input</translation>
    </message>
    <message>
        <source>上拉输入</source>
        <translation>Pull-up input</translation>
    </message>
    <message>
        <source>推挽输出</source>
        <translation>Push-pull output</translation>
    </message>
    <message>
        <source>开漏输出</source>
        <translation>Open-drain output</translation>
    </message>
    <message>
        <source>低速2MHz</source>
        <translation>Low speed 2MHz</translation>
    </message>
    <message>
        <source>中速10MHz/25MHz</source>
        <translation>Medium speed 10MHz/25MHz</translation>
    </message>
    <message>
        <source>快速50MHz</source>
        <translation>Fast 50MHz</translation>
    </message>
    <message>
        <source>高速100MHz</source>
        <translation>High speed 100MHz</translation>
    </message>
    <message>
        <source>中断触发</source>
        <translation>Interrupt</translation>
    </message>
    <message>
        <source>事件触发</source>
        <translation>Event</translation>
    </message>
    <message>
        <source>上升沿触发</source>
        <translation>Rising edge</translation>
    </message>
    <message>
        <source>下降沿触发</source>
        <translation>Falling edge</translation>
    </message>
    <message>
        <source>双边沿触发</source>
        <translation>Both edges</translation>
    </message>
    <message>
        <source>无校验</source>
        <translation>None</translation>
    </message>
    <message>
        <source>偶校验</source>
        <translation>Even</translation>
    </message>
    <message>
        <source>奇校验</source>
        <translation>Odd</translation>
    </message>
    <message>
        <source>Studio服务</source>
        <translation>Studio service</translation>
    </message>
    <message>
        <source>ModBusRTU服务</source>
        <translation>ModBusRTU service</translation>
    </message>
    <message>
        <source>ModbusRTU驱动</source>
        <translation>ModbusRTU driver</translation>
    </message>
    <message>
        <source>自由驱动</source>
        <translation>Free protocol driver</translation>
    </message>
    <message>
        <source>2G-M6313驱动</source>
        <translation>2G-M6313 driver</translation>
    </message>
    <message>
        <source>2G-SIM800C驱动</source>
        <translation>2G-SIM800C driver</translation>
    </message>
    <message>
        <source>4G-移远EC20驱动</source>
        <translation>4G-Quectel EC20 driver</translation>
    </message>
    <message>
        <source>4G-SIM800C驱动</source>
        <translation>4G-SIM800C driver</translation>
    </message>
    <message>
        <source>NB_BC26驱动</source>
        <translation>NB_BC26 driver</translation>
    </message>
    <message>
        <source>NB_ME3616驱动</source>
        <translation>NB_ME3616 driver</translation>
    </message>
    <message>
        <source>WIFI_ESP8266驱动</source>
        <translation>WIFI_ESP8266 driver</translation>
    </message>
    <message>
        <source>ZMQTT</source>
        <translation>ZMQTT</translation>
    </message>
    <message>
        <source>远程通讯</source>
        <translation>Remote communication</translation>
    </message>
    <message>
        <source>透传</source>
        <translation>Pass-through</translation>
    </message>
    <message>
        <source>双线双向全双工</source>
        <translation>2-line full duplex</translation>
    </message>
    <message>
        <source>双线单向接收</source>
        <translation>2-line receive only</translation>
    </message>
    <message>
        <source>单线单向接收</source>
        <translation>1-line receive</translation>
    </message>
    <message>
        <source>单线单向发送</source>
        <translation>1-line transmit</translation>
    </message>
    <message>
        <source>主机</source>
        <translation>Master</translation>
    </message>
    <message>
        <source>从机</source>
        <translation>Slave</translation>
    </message>
    <message>
        <source>8帧</source>
        <translation>8-bit</translation>
    </message>
    <message>
        <source>16帧</source>
        <translation>16-bit</translation>
    </message>
    <message>
        <source>悬空高</source>
        <translation>Idle high</translation>
    </message>
    <message>
        <source>悬空低</source>
        <translation>Idle low</translation>
    </message>
    <message>
        <source>第1个时钟沿</source>
        <translation>1st clock edge</translation>
    </message>
    <message>
        <source>第2个时钟沿</source>
        <translation>2nd clock edge</translation>
    </message>
    <message>
        <source>软片选</source>
        <translation>Software chip select</translation>
    </message>
    <message>
        <source>硬片选</source>
        <translation>Hardware chip select</translation>
    </message>
    <message>
        <source>2分频</source>
        <translation>Divide by 2</translation>
    </message>
    <message>
        <source>4分频</source>
        <translation>Divide by 4</translation>
    </message>
    <message>
        <source>8分频</source>
        <translation>Divide by 8</translation>
    </message>
    <message>
        <source>16分频</source>
        <translation>Divide by 16</translation>
    </message>
    <message>
        <source>32分频</source>
        <translation>Divide by 32</translation>
    </message>
    <message>
        <source>64分频</source>
        <translation>Divide by 64</translation>
    </message>
    <message>
        <source>128分频</source>
        <translation>Divide by 128</translation>
    </message>
    <message>
        <source>256分频</source>
        <translation>Divide by 256</translation>
    </message>
    <message>
        <source>自由驱动端</source>
        <translation>Free protocol driver</translation>
    </message>
    <message>
        <source>Studio服务端</source>
        <translation>Studio server</translation>
    </message>
    <message>
        <source>数字量输入</source>
        <translation>Digital input</translation>
    </message>
    <message>
        <source>数字量输出</source>
        <translation>Digital output</translation>
    </message>
    <message>
        <source>模拟量输入</source>
        <translation>Analog input</translation>
    </message>
    <message>
        <source>模拟量输出</source>
        <translation>Analog output</translation>
    </message>
    <message>
        <source>系统特殊引脚配置</source>
        <translation>System special pin configuration</translation>
    </message>
    <message>
        <source>外部中断</source>
        <translation>External interrupt</translation>
    </message>
    <message>
        <source>USART</source>
        <translation>USART</translation>
    </message>
    <message>
        <source>SPI</source>
        <translation>SPI</translation>
    </message>
    <message>
        <source>新建</source>
        <translation>New project</translation>
    </message>
    <message>
        <source>引脚名</source>
        <translation>Pin name</translation>
    </message>
    <message>
        <source>片选脚使能位</source>
        <translation>Chip select enable</translation>
    </message>
    <message>
        <source>片选脚第3位</source>
        <translation>Chip select bit 3</translation>
    </message>
    <message>
        <source>片选脚第2位</source>
        <translation>Chip select bit 2</translation>
    </message>
    <message>
        <source>片选脚第1位</source>
        <translation>Chip select bit 1</translation>
    </message>
    <message>
        <source>片选脚第0位</source>
        <translation>Chip select bit 0</translation>
    </message>
    <message>
        <source>输入模式</source>
        <translation>Input mode</translation>
    </message>
    <message>
        <source>X起始端子</source>
        <translation>X start terminal</translation>
    </message>
    <message>
        <source>输出模式</source>
        <translation>Output mode</translation>
    </message>
    <message>
        <source>输出速率</source>
        <translation>Output speed</translation>
    </message>
    <message>
        <source>Y起始端子</source>
        <translation>Y start terminal</translation>
    </message>
    <message>
        <source>XA起始端子</source>
        <translation>XA start terminal</translation>
    </message>
    <message>
        <source>YA起始端子</source>
        <translation>YA start terminal</translation>
    </message>
    <message>
        <source>触发模式</source>
        <translation>Trigger mode</translation>
    </message>
    <message>
        <source>触发条件</source>
        <translation>Trigger edge</translation>
    </message>
    <message>
        <source>抢占优先级</source>
        <translation>Preemption priority</translation>
    </message>
    <message>
        <source>子优先级</source>
        <translation>Sub-priority</translation>
    </message>
    <message>
        <source>中断任务号</source>
        <translation>Interrupt task number</translation>
    </message>
    <message>
        <source>TX引脚名</source>
        <translation>TX pin name</translation>
    </message>
    <message>
        <source>RX引脚名</source>
        <translation>RX pin name</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>数据位</source>
        <translation>Data bits</translation>
    </message>
    <message>
        <source>停止位</source>
        <translation>Stop bits</translation>
    </message>
    <message>
        <source>校验位</source>
        <translation>Parity</translation>
    </message>
    <message>
        <source>端口应用</source>
        <translation>Port application</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>设定值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>以太网设置</source>
        <translation>Ethernet settings</translation>
    </message>
    <message>
        <source>SCK引脚名</source>
        <translation>SCK pin name</translation>
    </message>
    <message>
        <source>MISO引脚名</source>
        <translation>MISO pin name</translation>
    </message>
    <message>
        <source>MOSI引脚名</source>
        <translation>MOSI pin name</translation>
    </message>
    <message>
        <source>通讯方式</source>
        <translation>Communication mode</translation>
    </message>
    <message>
        <source>工作模式</source>
        <translation>Operating mode</translation>
    </message>
    <message>
        <source>数据帧</source>
        <translation>Data frame</translation>
    </message>
    <message>
        <source>时钟状态</source>
        <translation>Clock polarity</translation>
    </message>
    <message>
        <source>捕获时钟沿</source>
        <translation>Capture clock edge</translation>
    </message>
    <message>
        <source>片选方式</source>
        <translation>CS mode</translation>
    </message>
    <message>
        <source>波特率预分频值</source>
        <translation>Baud rate prescaler</translation>
    </message>
    <message>
        <source>数据传起始位</source>
        <translation>First bit</translation>
    </message>
    <message>
        <source>CRC多项式</source>
        <translation>CRC polynomial</translation>
    </message>
    <message>
        <source>软片1应用</source>
        <translation>Film 1 application</translation>
    </message>
    <message>
        <source>片选1引脚</source>
        <translation>Film 1 CS pin</translation>
    </message>
    <message>
        <source>软片2应用</source>
        <translation>Film 2 application</translation>
    </message>
    <message>
        <source>片选2引脚</source>
        <translation>Film 2 CS pin</translation>
    </message>
    <message>
        <source>软片3应用</source>
        <translation>Film 3 application</translation>
    </message>
    <message>
        <source>片选3引脚</source>
        <translation>Film 3 CS pin</translation>
    </message>
    <message>
        <source>系统特殊引脚描述</source>
        <translation>System special pin</translation>
    </message>
    <message>
        <source>无线设定值</source>
        <translation>Wireless value</translation>
    </message>
    <message>
        <source>自动获取IP地址</source>
        <translation>Obtain an IP address automatically</translation>
    </message>
    <message>
        <source>使用下面的IP地址</source>
        <translation>Use the following IP address</translation>
    </message>
    <message>
        <source>通道</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>模块应用</source>
        <translation>Module application</translation>
    </message>
    <message>
        <source>IP地址</source>
        <translation>IP address</translation>
    </message>
    <message>
        <source>端口号</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>软片</source>
        <translation>Film</translation>
    </message>
    <message>
        <source>IP地址获取方式</source>
        <translation>IP address assignment</translation>
    </message>
    <message>
        <source>子网掩码</source>
        <translation>Subnet mask</translation>
    </message>
    <message>
        <source>默认网关</source>
        <translation>Default gateway</translation>
    </message>
    <message>
        <source>DNS服务器</source>
        <translation>DNS server</translation>
    </message>
    <message>
        <source>本地起始端口</source>
        <translation>Local start port</translation>
    </message>
    <message>
        <source>通道%1</source>
        <translation>Channel %1</translation>
    </message>
    <message>
        <source>软片%1</source>
        <translation>Film %1</translation>
    </message>
    <message>
        <source>无线模块</source>
        <translation>Wireless module</translation>
    </message>
    <message>
        <source>以太网</source>
        <translation>Ethernet</translation>
    </message>
</context>
<context>
    <name>CDownloadTab</name>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>打开串口失败</source>
        <translation>Failed to open the serial port</translation>
    </message>
    <message>
        <source>串口未打开！</source>
        <translation>The serial port is not open!</translation>
    </message>
    <message>
        <source>没有可下载的配置信息</source>
        <translation>There is no configuration to download</translation>
    </message>
    <message>
        <source>: 配置表生成失败：%1
</source>
        <translation>: Configuration table generation failed: %1
</translation>
    </message>
    <message>
        <source>下载配置文件</source>
        <translation>Download configuration file</translation>
    </message>
    <message>
        <source>串口通讯未打开，无法进行配置文件的上传！</source>
        <translation>The serial port is not open; the configuration file cannot be uploaded!</translation>
    </message>
    <message>
        <source>上传配置文件</source>
        <translation>Upload configuration file</translation>
    </message>
    <message>
        <source>: 上载的配置信息无法生成工程：%1
</source>
        <translation>: Cannot build a project from the uploaded configuration: %1
</translation>
    </message>
    <message>
        <source>: 配置信息无法生成工程：%1
</source>
        <translation>: Cannot build a project from the configuration: %1
</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>驱动文件名错误，驱动编号不允许超过48</source>
        <translation>Invalid driver file name: the driver number must not exceed 48</translation>
    </message>
    <message>
        <source>开始更新配置文件。。。
</source>
        <translation>Starting to update the configuration file...
</translation>
    </message>
    <message>
        <source>开始更新固件文件。。。
</source>
        <translation>Starting to update the firmware file...
</translation>
    </message>
    <message>
        <source>开始更新原算法文件。。。
</source>
        <translation>Starting to update the factory algorithm file...
</translation>
    </message>
    <message>
        <source>开始更新自定义算法文件。。。
</source>
        <translation>Starting to update the custom algorithm file...
</translation>
    </message>
    <message>
        <source>开始更新驱动1文件。。。
</source>
        <translation>Starting to update the driver 1 file...
</translation>
    </message>
    <message>
        <source>开始更新控制程序文件。。。
</source>
        <translation>Starting to update the control program file...
</translation>
    </message>
    <message>
        <source>: 打开串口失败：%1
</source>
        <translation>: Failed to open the serial port: %1
</translation>
    </message>
    <message>
        <source>串口已关闭</source>
        <translation>the serial port was closed</translation>
    </message>
    <message>
        <source>上传失败：%1</source>
        <translation>Upload failed: %1</translation>
    </message>
    <message>
        <source>下载失败：%1</source>
        <translation>Download failed: %1</translation>
    </message>
    <message>
        <source>上传已取消</source>
        <translation>Upload cancelled</translation>
    </message>
    <message>
        <source>下载已取消</source>
        <translation>Download cancelled</translation>
    </message>
    <message>
        <source>没有打开的工程：请先新建或打开工程，再下载配置</source>
        <translation>No project is open: create or open a project first, then download the configuration</translation>
    </message>
    <message>
        <source>配置文件(*.bin)</source>
        <translation>Configuration file (*.bin)</translation>
    </message>
    <message>
        <source>固件(*.bin)</source>
        <translation>Firmware (*.bin)</translation>
    </message>
    <message>
        <source>算法文件(*.bin)</source>
        <translation>Algorithm file (*.bin)</translation>
    </message>
    <message>
        <source>驱动文件(*.bin)</source>
        <translation>Driver file (*.bin)</translation>
    </message>
    <message>
        <source>工程文件(*.bin)</source>
        <translation>Program file (*.bin)</translation>
    </message>
    <message>
        <source>: 传输设置没有保存：%1
</source>
        <translation>: The transfer settings were not saved: %1
</translation>
    </message>
    <message>
        <source>读回校验</source>
        <translation>Read-back check</translation>
    </message>
    <message>
        <source>读回校验失败：%1</source>
        <translation>Read-back check failed: %1</translation>
    </message>
    <message>
        <source>读回校验已取消</source>
        <translation>Read-back check cancelled</translation>
    </message>
    <message>
        <source>串口</source>
        <translation>Serial port</translation>
    </message>
    <message>
        <source>打开串口</source>
        <translation>Open port</translation>
    </message>
    <message>
        <source>关闭串口</source>
        <translation>Close port</translation>
    </message>
    <message>
        <source>下载</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>配置Mirel硬件信息</source>
        <translation>Write configuration to Mirel</translation>
    </message>
    <message>
        <source>上载</source>
        <translation>Upload</translation>
    </message>
    <message>
        <source>读取Mirel硬件信息</source>
        <translation>Read configuration from Mirel</translation>
    </message>
    <message>
        <source>清除消息</source>
        <translation>Clear messages</translation>
    </message>
    <message>
        <source>配置表--------------------------</source>
        <translation>Configuration table-------------</translation>
    </message>
    <message>
        <source>文件选择</source>
        <translation>Select file</translation>
    </message>
    <message>
        <source>Varnel固件--------------------</source>
        <translation>Varnel firmware-----------------</translation>
    </message>
    <message>
        <source>原厂算法库----------------------</source>
        <translation>Factory algorithm library-------</translation>
    </message>
    <message>
        <source>自定义算法库--------------------</source>
        <translation>Custom algorithm library--------</translation>
    </message>
    <message>
        <source>驱动协议库----------------------</source>
        <translation>Driver protocol library---------</translation>
    </message>
    <message>
        <source>控制程序------------------------</source>
        <translation>Control program-----------------</translation>
    </message>
    <message>
        <source>离线更新</source>
        <translation>Offline update</translation>
    </message>
    <message>
        <source>配置表</source>
        <translation>Configuration table</translation>
    </message>
    <message>
        <source>Varnel固件</source>
        <translation>Varnel firmware</translation>
    </message>
    <message>
        <source>原厂算法库</source>
        <translation>Factory algorithm library</translation>
    </message>
    <message>
        <source>自定义算法库</source>
        <translation>Custom algorithm library</translation>
    </message>
    <message>
        <source>驱动协议库</source>
        <translation>Driver protocol library</translation>
    </message>
    <message>
        <source>控制程序</source>
        <translation>Control program</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>由下载的配置生成工程</source>
        <translation>Project from the downloaded table</translation>
    </message>
    <message>
        <source>响应超时(ms)</source>
        <translation>Response time-out (ms)</translation>
    </message>
    <message>
        <source>重发次数</source>
        <translation>Repeats</translation>
    </message>
    <message>
        <source>下载后读回校验</source>
        <translation>Read back and compare after download</translation>
    </message>
    <message>
        <source>: 注意：%1
</source>
        <translation>: note: %1
</translation>
    </message>
    <message>
        <source>在消息中记录通讯帧</source>
        <translation>Log the frames in the messages</translation>
    </message>
    <message>
        <source>等待每个响应最长%1 ms</source>
        <translation>Waiting up to %1 ms for each answer</translation>
    </message>
    <message>
        <source>上传的配置信息无法生成工程：%1
请确认所选芯片型号与控制器一致。</source>
        <translation>The uploaded configuration cannot become a project: %1
Check that the chip chosen is the controller&apos;s.</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>正在与控制器传输数据。现在退出会中止传输，控制器将停在传输中途。</source>
        <translation>A transfer with the controller is running. Quitting now stops it, and the controller is left mid-transfer.</translation>
    </message>
    <message>
        <source>中止传输并退出</source>
        <translation>Stop the transfer and quit</translation>
    </message>
    <message>
        <source>继续传输</source>
        <translation>Keep transferring</translation>
    </message>
    <message>
        <source>标记这个文件：只记下要更新哪个文件，不发送</source>
        <translation>Mark this file: it only records which file to update; nothing is sent</translation>
    </message>
    <message>
        <source>本版本不发送标记的文件：“配置Mirel硬件信息”总是发送当前工程的配置表。</source>
        <translation>This version does not send marked files: &quot;Configure Mirel hardware&quot; always sends the project&apos;s configuration table.</translation>
    </message>
    <message>
        <source>没有标记文件。</source>
        <translation>No file marked.</translation>
    </message>
    <message>
        <source>已标记：%1（%2字节）</source>
        <translation>Marked: %1 (%2 bytes)</translation>
    </message>
    <message>
        <source>已标记：%1（文件不存在）</source>
        <translation>Marked: %1 (the file does not exist)</translation>
    </message>
    <message>
        <source>把同一配置同时下载到多个控制器</source>
        <translation>Download the same configuration to several controllers at once</translation>
    </message>
    <message>
        <source>批量下载…</source>
        <translation>Batch download…</translation>
    </message>
    <message>
        <source>重新下载配置文件</source>
        <translation>Downloading the configuration again</translation>
    </message>
    <message>
        <source>再次读取以确认</source>
        <translation>Reading again to confirm</translation>
    </message>
    <message>
        <source>当前等待响应%1 ms；</source>
        <translation>Waiting %1 ms for each answer;</translation>
    </message>
    <message>
        <source>控制器无响应时约%1秒后放弃</source>
        <translation>a silent controller is given up after about %1 s</translation>
    </message>
    <message>
        <source>读取控制器中的配置，与当前工程逐项比较，不替换工程</source>
        <translation>Reads the controller&apos;s configuration and compares it with the project, item by item, without replacing the project</translation>
    </message>
    <message>
        <source>与控制器比较</source>
        <translation>Compare with the controller</translation>
    </message>
    <message>
        <source>没有打开的工程：请先新建或打开工程，再与控制器比较</source>
        <translation>No project is open: create or open a project before comparing with the controller</translation>
    </message>
    <message>
        <source>: 串口 %1 已打开
</source>
        <translation>: Serial port %1 opened
</translation>
    </message>
</context>
<context>
    <name>CDownloadTransfer</name>
    <message>
        <source>: 激活的响应数据错误！
</source>
        <translation>: Invalid response to the activation request!
</translation>
    </message>
    <message>
        <source>: 控制器缓存空间不够，下载失败！
</source>
        <translation>: Not enough buffer space in the controller, download failed!
</translation>
    </message>
    <message>
        <source>: 下载Mirel配置信息时，激活成功，即将下载配置信息！
</source>
        <translation>: Downloading the Mirel configuration: activation succeeded, starting the download!
</translation>
    </message>
    <message>
        <source>: 中间包的响应数据错误！
</source>
        <translation>: Invalid response to a middle packet!
</translation>
    </message>
    <message>
        <source>: 控制器缓存失败！
</source>
        <translation>: The controller failed to buffer the data!
</translation>
    </message>
    <message>
        <source>: 正在发送...
</source>
        <translation>: Sending...
</translation>
    </message>
    <message>
        <source>: 结尾包的响应数据错误！
</source>
        <translation>: Invalid response to the end packet!
</translation>
    </message>
    <message>
        <source>: 控制器接收完毕，下载成功！
</source>
        <translation>: The controller received all data, download succeeded!
</translation>
    </message>
</context>
<context>
    <name>CNetworkAttribut</name>
    <message>
        <source>常用</source>
        <translation>General</translation>
    </message>
    <message>
        <source>IP地址设置</source>
        <translation>IP address settings</translation>
    </message>
    <message>
        <source>自动获取IP地址（O）</source>
        <translation>Obtain an IP address automatically (O)</translation>
    </message>
    <message>
        <source>使用下面的IP地址（S）：</source>
        <translation>Use the following IP address (S):</translation>
    </message>
    <message>
        <source>IP地址（I）：</source>
        <translation>IP address (I):</translation>
    </message>
    <message>
        <source>子网掩码（U）：</source>
        <translation>Subnet mask (U):</translation>
    </message>
    <message>
        <source>默认网关（D）：</source>
        <translation>Default gateway (D):</translation>
    </message>
    <message>
        <source>DNS服务器设置</source>
        <translation>DNS server settings</translation>
    </message>
    <message>
        <source>自动获取DNS服务器地址（B）</source>
        <translation>Obtain DNS server address automatically (B)</translation>
    </message>
    <message>
        <source>使用下面的DNS服务器地址（E）：</source>
        <translation>Use the following DNS server address (E):</translation>
    </message>
    <message>
        <source>DNS服务器（P）：</source>
        <translation>DNS server (P):</translation>
    </message>
    <message>
        <source>本地起始端口</source>
        <translation>Local start port</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>软片%1应用以太网网络属性设置</source>
        <translation>Film %1 application Ethernet settings</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>以太网网络属性设置</source>
        <translation>Ethernet settings</translation>
    </message>
    <message>
        <source>如果网络支持此功能，则可以获取自动指派的IP设置，否则，你需要从网络管理员获得适当的IP设置。</source>
        <translation>You can get IP settings assigned automatically if your network supports this capability. Otherwise, you need to ask your network administrator for the appropriate IP settings.</translation>
    </message>
</context>
<context>
    <name>CNumberDelegate</name>
    <message>
        <source>“%1”不在允许的范围内：请填写%2到%3之间的整数。</source>
        <translation>&quot;%1&quot; is out of range: enter a whole number from %2 to %3.</translation>
    </message>
</context>
<context>
    <name>CProgressBar</name>
    <message>
        <source>上传配置文件</source>
        <translation>Upload configuration file</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>进度</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>CReadBack</name>
    <message>
        <source>: 校验一致：控制器中的%1字节与下载的相同
</source>
        <translation>: Check passed: the %1 bytes in the controller match the download
</translation>
    </message>
    <message>
        <source>: 校验一致：控制器中的%1字节与下载的相同，其后是%2字节填充
</source>
        <translation>: Check passed: the %1 bytes in the controller match the download, followed by %2 bytes of padding
</translation>
    </message>
    <message>
        <source>: 校验不一致：第一个不同的字节在偏移%1处（下载0x%2，读回0x%3）
</source>
        <translation>: Check failed: the first differing byte is at offset %1 (downloaded 0x%2, read back 0x%3)
</translation>
    </message>
    <message>
        <source>: 校验不一致：下载了%1字节，读回%2字节，第一个不同的字节在偏移%3处
</source>
        <translation>: Check failed: %1 bytes downloaded, %2 bytes read back, the first differing byte is at offset %3
</translation>
    </message>
</context>
<context>
    <name>CSerial</name>
    <message>
        <source>No serial port chosen</source>
        <translation>No serial port chosen</translation>
    </message>
    <message>
        <source>Cannot open %1: %2</source>
        <translation>Cannot open %1: %2</translation>
    </message>
    <message>
        <source>设备已挂断</source>
        <translation>the device hung up</translation>
    </message>
    <message>
        <source>串口%1连接已断开（%2）</source>
        <translation>Serial port %1 disconnected (%2)</translation>
    </message>
    <message>
        <source>串口未打开</source>
        <translation>The serial port is not open</translation>
    </message>
    <message>
        <source>串口%1写入失败（%2）</source>
        <translation>Writing to serial port %1 failed (%2)</translation>
    </message>
</context>
<context>
    <name>CTableView</name>
    <message>
        <source>网络属性</source>
        <translation>Network settings</translation>
    </message>
    <message>
        <source>参数设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>软片的应用为自由驱动端或Studio服务端时才有网络属性</source>
        <translation>A film has network settings when its application is Free protocol driver or Studio server</translation>
    </message>
    <message>
        <source>端口应用为无线模块时才有参数设置</source>
        <translation>The port has settings when its application drives a wireless module</translation>
    </message>
    <message>
        <source>%1 的引脚还没有分配：先在芯片图上分配，再填写这个表格</source>
        <translation>The pins of %1 are not assigned yet: assign them on the chip drawing, then fill in this table</translation>
    </message>
    <message>
        <source>（引脚未分配）</source>
        <translation> (pins not assigned)</translation>
    </message>
</context>
<context>
    <name>CTransfer</name>
    <message>
        <source>: 校验码错误！
</source>
        <translation>: Checksum error!
</translation>
    </message>
    <message>
        <source>: 等待控制器响应超时，第%1次重发请求...
</source>
        <translation>: Timed out waiting for the controller, resending the request (attempt %1)...
</translation>
    </message>
    <message>
        <source>: 控制器无有效响应（已重发%1次），传输失败！
</source>
        <translation>: No valid response from the controller (resent %1 times), transfer failed!
</translation>
    </message>
    <message>
        <source>: 控制器发来的数据超过%1字节仍不是有效的响应，传输失败！
</source>
        <translation>: The controller sent more than %1 bytes without a valid response; transfer failed!
</translation>
    </message>
    <message>
        <source>: 收到已作答或已重发请求的迟到响应，已丢弃
</source>
        <translation>: A late response to a request already answered or repeated was received and dropped
</translation>
    </message>
    <message>
        <source>: 重发请求的重复响应没有到达，继续...
</source>
        <translation>: The duplicate answer to the repeated request did not come; going on...
</translation>
    </message>
    <message>
        <source>: 上载Mirel配置信息时，同一请求的两次响应内容不同，无法确定哪一次正确，上载失败！
</source>
        <translation>: Uploading the Mirel configuration: two answers to the same request differ and neither can be trusted. Upload failed!
</translation>
    </message>
    <message>
        <source>: 同一请求的重复响应内容不同（状态0x%1），以先收到的响应为准
</source>
        <translation>: A duplicate answer to the same request differs (status 0x%1); the first answer stands
</translation>
    </message>
    <message>
        <source>: 无效数据（%1字节）：%2
</source>
        <translation>: Invalid data (%1 bytes): %2
</translation>
    </message>
    <message>
        <source>: 响应有误，第%1次重发请求...
</source>
        <translation>: Bad answer, repeating the request (%1)...
</translation>
    </message>
    <message>
        <source>: 控制器无有效响应（已重发%1次），传输失败！最后收到的是%2字节无效数据：%3
</source>
        <translation>: No valid answer from the controller (repeated %1 times). Transfer failed! Last received: %2 bytes of invalid data: %3
</translation>
    </message>
    <message>
        <source>: 控制器的响应在限定时间内只收到%1字节（应为%2字节），控制器发送过慢
</source>
        <translation>: Only %1 bytes of the controller&apos;s answer came in time (%2 expected): the controller sends too slowly
</translation>
    </message>
    <message>
        <source>: 控制器发送过慢：响应没有在限定时间内收全（已重发%1次），传输失败！
</source>
        <translation>: The controller sends too slowly: no answer arrived whole in time (repeated %1 times); the transfer failed!
</translation>
    </message>
</context>
<context>
    <name>CTransferDriver</name>
    <message>
        <source>: 传输中断：%1
</source>
        <translation>: Transfer interrupted: %1
</translation>
    </message>
    <message>
        <source>传输失败</source>
        <translation>Transfer failed</translation>
    </message>
    <message>
        <source>: 传输已取消！控制器停在传输中途。
</source>
        <translation>: Transfer cancelled! The controller is left mid-transfer.
</translation>
    </message>
</context>
<context>
    <name>CTransferJob</name>
    <message>
        <source>没有可发送的内容</source>
        <translation>Nothing to send</translation>
    </message>
    <message>
        <source>无法开始读取</source>
        <translation>The reading cannot start</translation>
    </message>
    <message>
        <source>传输已取消</source>
        <translation>Transfer cancelled</translation>
    </message>
    <message>
        <source>: 传输中有重发、出错或迟到的响应，读回控制器中的配置以确认...
</source>
        <translation>: The transfer had repeats, errors or late answers; reading the controller&apos;s configuration back to confirm...
</translation>
    </message>
    <message>
        <source>: 读回的配置与下载的不同，重新下载一次...
</source>
        <translation>: The configuration read back differs from the download; downloading once more...
</translation>
    </message>
    <message>
        <source>: 两次读取的配置一致
</source>
        <translation>: Two readings of the configuration agree
</translation>
    </message>
    <message>
        <source>三次读取的配置各不相同，无法确定控制器中的配置</source>
        <translation>Three readings of the configuration all differ; what the controller holds cannot be told</translation>
    </message>
    <message>
        <source>，上载失败！
</source>
        <translation>, upload failed!
</translation>
    </message>
    <message>
        <source>: 读取中有重发、出错或迟到的响应，再读一次以确认...
</source>
        <translation>: The reading had repeats, errors or late answers; reading once more to confirm...
</translation>
    </message>
    <message>
        <source>: 两次读取的配置不同，再读一次...
</source>
        <translation>: Two readings of the configuration differ; reading once more...
</translation>
    </message>
    <message>
        <source>: 下载没有完成，重新下载一次...
</source>
        <translation>: The download did not complete; downloading once more...
</translation>
    </message>
    <message>
        <source>: 读回没有完成，再读一次...
</source>
        <translation>: The read-back did not complete; reading once more...
</translation>
    </message>
    <message>
        <source>: 读取没有完成，再读一次...
</source>
        <translation>: The reading did not complete; reading once more...
</translation>
    </message>
    <message>
        <source>: 读回控制器中的配置信息，与下载的比较...
</source>
        <translation>: Reading the configuration back from the controller to compare it with the download...
</translation>
    </message>
    <message>
        <source>每次读取都有请求重发，读到的配置无法确认</source>
        <translation>every read repeated a request; the configuration read cannot be confirmed</translation>
    </message>
    <message>
        <source>: 两次读取都有请求重发，再读一次以确认...
</source>
        <translation>: Both reads repeated a request; reading once more to confirm...
</translation>
    </message>
    <message>
        <source>: 读回时控制器中没有配置表，重新下载一次...
</source>
        <translation>: The controller holds no table when read back; downloading once more...
</translation>
    </message>
</context>
<context>
    <name>CUploadTransfer</name>
    <message>
        <source>: 上载Mirel配置信息时，激活的响应数据错误！
</source>
        <translation>: Uploading the Mirel configuration: invalid response to the activation request!
</translation>
    </message>
    <message>
        <source>: 上载Mirel配置信息时，控制器报告的配置信息长度无效（%1字节），上载失败！
</source>
        <translation>: Uploading the Mirel configuration: the controller reported an invalid configuration length (%1 bytes), upload failed!
</translation>
    </message>
    <message>
        <source>: 上载Mirel配置信息时，激活成功，即将读取配置信息！
</source>
        <translation>: Uploading the Mirel configuration: activation succeeded, starting to read the configuration!
</translation>
    </message>
    <message>
        <source>: 上载Mirel配置信息时，中间包的响应数据错误！
</source>
        <translation>: Uploading the Mirel configuration: invalid response to a middle packet!
</translation>
    </message>
    <message>
        <source>: 上载Mirel配置信息时，正在读取...
</source>
        <translation>: Uploading the Mirel configuration: reading...
</translation>
    </message>
    <message>
        <source>: 上载Mirel配置信息时，结尾包的响应数据错误！
</source>
        <translation>: Uploading the Mirel configuration: invalid response to the end packet!
</translation>
    </message>
    <message>
        <source>: 上载Mirel配置信息完成，正在生成文件！
</source>
        <translation>: Mirel configuration upload complete, generating the file!
</translation>
    </message>
</context>
<context>
    <name>CompareWindow</name>
    <message>
        <source>控制器中没有配置表：它还没有下载过配置。</source>
        <translation>The controller holds no configuration table: nothing has been downloaded to it yet.</translation>
    </message>
    <message>
        <source>控制器中的配置表属于另一种芯片，不能与 %1 逐项比较：%2</source>
        <translation>The controller&apos;s configuration table is another chip&apos;s and cannot be compared with %1 item by item: %2</translation>
    </message>
    <message>
        <source>控制器中的配置表无法解读：%1</source>
        <translation>The controller&apos;s configuration table cannot be read: %1</translation>
    </message>
    <message>
        <source>工程无法生成配置表，不能比较：%1</source>
        <translation>The project cannot be turned into a configuration table, so nothing can be compared: %1</translation>
    </message>
    <message>
        <source>没有读到控制器中的配置，无法比较：%1</source>
        <translation>The controller&apos;s configuration was not read, so nothing was compared: %1</translation>
    </message>
    <message>
        <source>（工程已修改，以下是修改前的比较）</source>
        <translation>(The project has changed since; this is the comparison from before.)</translation>
    </message>
    <message>
        <source>与控制器比较</source>
        <translation>Compare with the controller</translation>
    </message>
    <message>
        <source>表格</source>
        <translation>Table</translation>
    </message>
    <message>
        <source>行</source>
        <translation>Row</translation>
    </message>
    <message>
        <source>字段</source>
        <translation>Field</translation>
    </message>
    <message>
        <source>工程中的值</source>
        <translation>In the project</translation>
    </message>
    <message>
        <source>控制器中的值</source>
        <translation>In the controller</translation>
    </message>
    <message>
        <source>下载工程到控制器</source>
        <translation>Download the project to the controller</translation>
    </message>
    <message>
        <source>把当前工程的配置表写入控制器</source>
        <translation>Writes the project&apos;s configuration table to the controller</translation>
    </message>
    <message>
        <source>打开控制器中的配置</source>
        <translation>Open the controller&apos;s configuration</translation>
    </message>
    <message>
        <source>把控制器中的配置作为新工程打开</source>
        <translation>Opens the controller&apos;s configuration as a new project</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>ConfigAnalyzer</name>
    <message>
        <source>没有可写入工程的程序文件夹</source>
        <translation>no application folder to write the project into</translation>
    </message>
</context>
<context>
    <name>ConfigTable</name>
    <message>
        <source>%1段：未知的芯片型号“%2”</source>
        <translation>section %1: unknown chip model &quot;%2&quot;</translation>
    </message>
    <message>
        <source>%1段有%2行，一个表最多%3行</source>
        <translation>section %1 has %2 rows; a table holds at most %3</translation>
    </message>
    <message>
        <source>没有%1端口%2</source>
        <translation>there is no %1 port %2</translation>
    </message>
    <message>
        <source>FSMC段的iSSelectRAM：“%1”既不是0也不是1</source>
        <translation>section FSMC, iSSelectRAM: &quot;%1&quot; is neither 0 nor 1</translation>
    </message>
    <message>
        <source>不是系统功能</source>
        <translation>is not a system function</translation>
    </message>
    <message>
        <source>未知的芯片型号“%1”</source>
        <translation>unknown chip model &quot;%1&quot;</translation>
    </message>
    <message>
        <source>文件的十六个块组不成配置表：%1</source>
        <translation>the sixteen blocks of the file do not form a table: %1</translation>
    </message>
    <message>
        <source>不是配置表：%1</source>
        <translation>not a configuration table: %1</translation>
    </message>
</context>
<context>
    <name>DialogConfigure</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>参数配置</source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>不应用</source>
        <translation>Do not apply</translation>
    </message>
    <message>
        <source>第%1行的%2起始端子%3与第%4行的端子重叠。
改为%5，排在前面各行之后吗？</source>
        <translation>The %2 start terminal %3 of row %1 overlaps the terminals of row %4.
Change it to %5, behind the rows before it?</translation>
    </message>
    <message>
        <source>表格“%1”中有未确定的修改，先应用它们吗？%2</source>
        <translation>The table &quot;%1&quot; holds changes not yet confirmed. Apply them first? %2</translation>
    </message>
    <message>
        <source>不应用时它们被丢弃。</source>
        <translation>Without applying, they are given up.</translation>
    </message>
    <message>
        <source>不应用时%1只用已确定的值。</source>
        <translation>Without applying, %1 uses the confirmed values only.</translation>
    </message>
</context>
<context>
    <name>DialogNewPro</name>
    <message>
        <source>芯片类型:</source>
        <translation>Chip model:</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>新建</source>
        <translation>New</translation>
    </message>
    <message>
        <source>使用外置RAM</source>
        <translation>Use external RAM</translation>
    </message>
</context>
<context>
    <name>DialogWirelessModuleConfigure</name>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>通道1</source>
        <translation>Channel 1</translation>
    </message>
    <message>
        <source>模块应用：</source>
        <translation>Module application:</translation>
    </message>
    <message>
        <source>IP地址：</source>
        <translation>IP address:</translation>
    </message>
    <message>
        <source>端口号：</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>通道2</source>
        <translation>Channel 2</translation>
    </message>
    <message>
        <source>通道3</source>
        <translation>Channel 3</translation>
    </message>
    <message>
        <source>通道4</source>
        <translation>Channel 4</translation>
    </message>
    <message>
        <source>通道5</source>
        <translation>Channel 5</translation>
    </message>
    <message>
        <source>通道6</source>
        <translation>Channel 6</translation>
    </message>
    <message>
        <source>通道7</source>
        <translation>Channel 7</translation>
    </message>
    <message>
        <source>通道8</source>
        <translation>Channel 8</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>无线模块参数设置</source>
        <translation>Wireless module settings</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
</context>
<context>
    <name>ExportActions</name>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>请先新建或打开一个工程。</source>
        <translation>Create or open a project first.</translation>
    </message>
    <message>
        <source>导出失败</source>
        <translation>Export failed</translation>
    </message>
    <message>
        <source>导出引脚表</source>
        <translation>Export pin table</translation>
    </message>
    <message>
        <source>CSV 表格 (*.csv)</source>
        <translation>CSV table (*.csv)</translation>
    </message>
    <message>
        <source>导出图片</source>
        <translation>Export picture</translation>
    </message>
    <message>
        <source>PNG 图片 (*.png);;SVG 矢量图 (*.svg);;PDF 文档 (*.pdf)</source>
        <translation>PNG image (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)</translation>
    </message>
    <message>
        <source>导出报告</source>
        <translation>Export report</translation>
    </message>
    <message>
        <source>PDF 文档 (*.pdf);;HTML 网页 (*.html)</source>
        <translation>PDF document (*.pdf);;HTML page (*.html)</translation>
    </message>
    <message>
        <source>已导出到 %1</source>
        <translation>Exported to %1</translation>
    </message>
</context>
<context>
    <name>FieldEncoder</name>
    <message>
        <source>%1段第%2行的%3：“%4”%5</source>
        <translation>section %1, row %2, %3: &quot;%4&quot; %5</translation>
    </message>
    <message>
        <source>%1段的%2：“%3”%4</source>
        <translation>section %1, %2: &quot;%3&quot; %4</translation>
    </message>
    <message>
        <source>不是%1的引脚</source>
        <translation>is not a pin of %1</translation>
    </message>
    <message>
        <source>不是选项序号（0到%1）</source>
        <translation>is not an option index (0-%1)</translation>
    </message>
    <message>
        <source>不是数字</source>
        <translation>is not a number</translation>
    </message>
    <message>
        <source>超出字段范围（0到%1）</source>
        <translation>does not fit its field (0-%1)</translation>
    </message>
    <message>
        <source>不是使能选项（0到2）</source>
        <translation>is not an enable option (0-2)</translation>
    </message>
    <message>
        <source>超过七段</source>
        <translation>has more than seven parts</translation>
    </message>
    <message>
        <source>不是地址（每段0到255）</source>
        <translation>is not an address (parts 0-255)</translation>
    </message>
</context>
<context>
    <name>FileKind</name>
    <message>
        <source>%1 不存在</source>
        <translation>%1 does not exist</translation>
    </message>
    <message>
        <source>%1 是文件夹，不是文件</source>
        <translation>%1 is a folder, not a file</translation>
    </message>
    <message>
        <source>%1 是命名管道（FIFO），不是文件</source>
        <translation>%1 is a named pipe (FIFO), not a file</translation>
    </message>
    <message>
        <source>%1 是设备，不是文件</source>
        <translation>%1 is a device, not a file</translation>
    </message>
    <message>
        <source>%1 是套接字，不是文件</source>
        <translation>%1 is a socket, not a file</translation>
    </message>
    <message>
        <source>%1 不是文件</source>
        <translation>%1 is not a file</translation>
    </message>
    <message>
        <source>没有给出文件名</source>
        <translation>no file name given</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>使用说明</source>
        <translation>User Guide</translation>
    </message>
    <message>
        <source>无法读取使用说明：%1（%2）</source>
        <translation>Cannot read the user guide: %1 (%2)</translation>
    </message>
</context>
<context>
    <name>IniFile</name>
    <message>
        <source>无法写入%1：没有临时文件夹：%2</source>
        <translation>cannot write %1: no temporary folder: %2</translation>
    </message>
    <message>
        <source>无法写入%1：%2</source>
        <translation>cannot write %1: %2</translation>
    </message>
    <message>
        <source>%1 无法作为INI文件读取</source>
        <translation>%1 cannot be read as an INI file</translation>
    </message>
    <message>
        <source>无法写入%1：临时副本%2无法写入</source>
        <translation>cannot write %1: the temporary copy %2 cannot be written</translation>
    </message>
    <message>
        <source>无法写入%1：临时副本%2无法改名</source>
        <translation>cannot write %1: the temporary copy %2 cannot be renamed</translation>
    </message>
    <message>
        <source>无法写入%1：临时副本无法读取：%2</source>
        <translation>cannot write %1: the temporary copy cannot be read: %2</translation>
    </message>
    <message>
        <source>无法写入%1：%2中的临时副本不完整（磁盘满了吗？）</source>
        <translation>cannot write %1: its temporary copy in %2 came out incomplete (is the disk full?)</translation>
    </message>
    <message>
        <source>无法读取%1：%2</source>
        <translation>cannot read %1: %2</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>MainWindow</source>
        <translation>MainWindow</translation>
    </message>
    <message>
        <source>引脚配置</source>
        <translation>Pin configuration</translation>
    </message>
    <message>
        <source>GPIO配置</source>
        <translation>GPIO configuration</translation>
    </message>
    <message>
        <source>DI</source>
        <translation>DI</translation>
    </message>
    <message>
        <source>DO</source>
        <translation>DO</translation>
    </message>
    <message>
        <source>AI_ADC</source>
        <translation>AI_ADC</translation>
    </message>
    <message>
        <source>AO_DAC</source>
        <translation>AO_DAC</translation>
    </message>
    <message>
        <source>EXIT</source>
        <translation>EXIT</translation>
    </message>
    <message>
        <source>SYS配置</source>
        <translation>SYS configuration</translation>
    </message>
    <message>
        <source>SYS</source>
        <translation>SYS</translation>
    </message>
    <message>
        <source>串口配置</source>
        <translation>Serial port configuration</translation>
    </message>
    <message>
        <source>USART1</source>
        <translation>USART1</translation>
    </message>
    <message>
        <source>USART2</source>
        <translation>USART2</translation>
    </message>
    <message>
        <source>USART3</source>
        <translation>USART3</translation>
    </message>
    <message>
        <source>UART4</source>
        <translation>UART4</translation>
    </message>
    <message>
        <source>UART5</source>
        <translation>UART5</translation>
    </message>
    <message>
        <source>USART6</source>
        <translation>USART6</translation>
    </message>
    <message>
        <source>SPI配置</source>
        <translation>SPI configuration</translation>
    </message>
    <message>
        <source>SPI1</source>
        <translation>SPI1</translation>
    </message>
    <message>
        <source>SPI2</source>
        <translation>SPI2</translation>
    </message>
    <message>
        <source>SPI3</source>
        <translation>SPI3</translation>
    </message>
    <message>
        <source>固件更新</source>
        <translation>Firmware update</translation>
    </message>
    <message>
        <source>新建</source>
        <translation>New</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>ChangeBin</source>
        <translation>ChangeBin</translation>
    </message>
    <message>
        <source>在线下载</source>
        <translation>Online download</translation>
    </message>
    <message>
        <source>在线上传</source>
        <translation>Online upload</translation>
    </message>
    <message>
        <source>语言切换</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>上传配置文件</source>
        <translation>Upload configuration file</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>无法重新打开上次的工程：%1</source>
        <translation>Cannot reopen the last project: %1</translation>
    </message>
    <message>
        <source>打开工程</source>
        <translation>Open project</translation>
    </message>
    <message>
        <source>无法打开工程文件：%1</source>
        <translation>Cannot open the project file: %1</translation>
    </message>
    <message>
        <source>保存为</source>
        <translation>Save as</translation>
    </message>
    <message>
        <source>configure(*.cpro)</source>
        <translation>configure(*.cpro)</translation>
    </message>
    <message>
        <source>保存工程</source>
        <translation>Save project</translation>
    </message>
    <message>
        <source>工程没有保存：%1</source>
        <translation>The project was not saved: %1</translation>
    </message>
    <message>
        <source>配置表的文件已经重新生成完成！</source>
        <translation>The configuration table file has been regenerated!</translation>
    </message>
    <message>
        <source>另存为…</source>
        <translation>Save as…</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>撤销 %1</source>
        <translation>Undo %1</translation>
    </message>
    <message>
        <source>重做</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>重做 %1</source>
        <translation>Redo %1</translation>
    </message>
    <message>
        <source>语言设置没有保存：%1</source>
        <translation>The language setting was not saved: %1</translation>
    </message>
    <message>
        <source>下次启动不会打开这个工程：%1</source>
        <translation>This project will not be opened at the next start: %1</translation>
    </message>
    <message>
        <source>从控制器读取，尚未保存</source>
        <translation>read from the controller, not saved yet</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>当前工程有未保存的修改，是否保存？</source>
        <translation>The current project has unsaved changes. Save them?</translation>
    </message>
    <message>
        <source>项目文件(*.cpro)</source>
        <translation>Project file (*.cpro)</translation>
    </message>
    <message>
        <source>读取的配置没有打开，当前工程保持不变；它在 %1</source>
        <translation>The configuration read was not opened and the current project is unchanged; it is in %1</translation>
    </message>
    <message>
        <source>%1 在读取控制器配置所用的临时文件夹中，该文件夹会被删除</source>
        <translation>%1 is in the temporary folder used for reading the controller configuration, which will be deleted</translation>
    </message>
    <message>
        <source>没有找到“%1”</source>
        <translation>&quot;%1&quot; not found</translation>
    </message>
    <message>
        <source>找到 %1 个引脚</source>
        <translation>%1 pins found</translation>
    </message>
    <message>
        <source>查找引脚或信号（如 PA9、USART2_TX、SPI1）</source>
        <translation>Find a pin or signal (e.g. PA9, USART2_TX, SPI1)</translation>
    </message>
    <message>
        <source>工程文件中这些片选引脚与表格不一致，已按表格释放：%1</source>
        <translation>These chip-select pins in the project file disagree with the tables and were released as the tables say: %1</translation>
    </message>
    <message>
        <source>导出引脚表…</source>
        <translation>Export pin table…</translation>
    </message>
    <message>
        <source>导出图片…</source>
        <translation>Export picture…</translation>
    </message>
    <message>
        <source>导出报告…</source>
        <translation>Export report…</translation>
    </message>
    <message>
        <source>生成配置表</source>
        <translation>Configuration table</translation>
    </message>
    <message>
        <source>配置表的文件没有更新：%1</source>
        <translation>The configuration table file was not updated: %1</translation>
    </message>
    <message>
        <source>工程已保存；表格“%1”仍然打开，其中没有确定的修改不在文件中</source>
        <translation>Project saved; the table “%1” is still open, and its unconfirmed changes are not in the file</translation>
    </message>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>最近打开</source>
        <translation>Recent Projects</translation>
    </message>
    <message>
        <source>编辑(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>设置(&amp;S)</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>工程(&amp;P)</source>
        <translation>&amp;Project</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>使用说明</source>
        <translation>User Guide</translation>
    </message>
    <message>
        <source>最近打开的列表没有保存：%1</source>
        <translation>The list of recent projects was not saved: %1</translation>
    </message>
    <message>
        <source>已选中引脚 %1：按 Shift+F10 或菜单键选择它的功能</source>
        <translation>Pin %1 selected: press Shift+F10 or the Menu key to choose its function</translation>
    </message>
    <message>
        <source>适合窗口</source>
        <translation>Fit to window</translation>
    </message>
    <message>
        <source>显示整个芯片并转正（Ctrl+0）</source>
        <translation>Show the whole chip, upright (Ctrl+0)</translation>
    </message>
    <message>
        <source>导出</source>
        <translation>export</translation>
    </message>
    <message>
        <source>……还有 %1 条</source>
        <translation>… and %1 more</translation>
    </message>
    <message>
        <source>工程文件中有 %1 个值不能照原样打开：
%2</source>
        <translation>%1 values of the project file could not be opened as they stand:
%2</translation>
    </message>
    <message>
        <source>%1

这个文件是本程序保存的，但已经缺了一部分（复制或传送可能被中断了）。打开后，缺少的设置为空或取默认值，工程算作已修改。仍然打开吗？</source>
        <translation>%1

This program saved the file, but part of it is gone (a copy or transfer may have been cut off). Opened, the missing settings are empty or take their defaults, and the project counts as changed. Open it anyway?</translation>
    </message>
    <message>
        <source>仍然打开</source>
        <translation>Open anyway</translation>
    </message>
    <message>
        <source>不打开</source>
        <translation>Do not open</translation>
    </message>
    <message>
        <source>没有打开 %1</source>
        <translation>%1 was not opened</translation>
    </message>
    <message>
        <source>与控制器比较</source>
        <translation>Compare with the controller</translation>
    </message>
    <message>
        <source>问题列表</source>
        <translation>Problems</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>没有打开的工程：请先新建或打开工程，再与控制器比较</source>
        <translation>No project is open: create or open a project before comparing with the controller</translation>
    </message>
    <message>
        <source>当前工程</source>
        <translation>the project</translation>
    </message>
    <message>
        <source>由下载的配置生成，尚未保存</source>
        <translation>made from the downloaded configuration, not saved yet</translation>
    </message>
    <message>
        <source>由下载的配置生成的工程没有打开，当前工程保持不变；它在 %1</source>
        <translation>The project made from the downloaded configuration was not opened; the current project is unchanged. It is in %1</translation>
    </message>
    <message>
        <source>导出表格…</source>
        <translation>Export Tables…</translation>
    </message>
    <message>
        <source>导入表格…</source>
        <translation>Import Tables…</translation>
    </message>
    <message>
        <source>导入表格</source>
        <translation>Import Tables</translation>
    </message>
</context>
<context>
    <name>PeripheralPanel</name>
    <message>
        <source>%1 没有 %2</source>
        <translation>The %1 has no %2</translation>
    </message>
    <message numerus="yes">
        <source>%n 个错误</source>
        <translation>
            <numerusform>%n error</numerusform>
            <numerusform>%n errors</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 个警告</source>
        <translation>
            <numerusform>%n warning</numerusform>
            <numerusform>%n warnings</numerusform>
        </translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
</context>
<context>
    <name>PictureExport</name>
    <message>
        <source>%1：图片只能保存为 PNG、SVG 或 PDF 文件</source>
        <translation>%1: a picture can only be saved as a PNG, SVG or PDF file</translation>
    </message>
    <message>
        <source>%1：图片无法生成</source>
        <translation>%1: the picture could not be made</translation>
    </message>
</context>
<context>
    <name>PinBoard</name>
    <message>
        <source>%1 是 %2 表格的片选：请先在 %2 表格中另选片选引脚</source>
        <translation>%1 is a chip select of the %2 table: first choose another chip-select pin in the %2 table</translation>
    </message>
    <message>
        <source>%1 已分配在 %2 上</source>
        <translation>%1 is already assigned to %2</translation>
    </message>
    <message>
        <source>%1 已用在另一组引脚上</source>
        <translation>%1 is already used on the other group of pins</translation>
    </message>
    <message>
        <source>%1 已在本组引脚 %2 上</source>
        <translation>%1 is already on these pins (%2)</translation>
    </message>
    <message>
        <source>电源引脚</source>
        <translation>Power pin</translation>
    </message>
    <message>
        <source>晶振引脚 %1</source>
        <translation>Oscillator pin %1</translation>
    </message>
    <message>
        <source>复位引脚 %1</source>
        <translation>Reset pin %1</translation>
    </message>
    <message>
        <source>启动引脚 %1</source>
        <translation>Boot pin %1</translation>
    </message>
    <message>
        <source>外部总线引脚 %1</source>
        <translation>External bus pin %1</translation>
    </message>
</context>
<context>
    <name>PinListing</name>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>功能</source>
        <translation>Function</translation>
    </message>
    <message>
        <source>所属表</source>
        <translation>Table</translation>
    </message>
    <message>
        <source>片选</source>
        <translation>Chip select</translation>
    </message>
</context>
<context>
    <name>PortMatch</name>
    <message>
        <source>串口匹配为空</source>
        <translation>The port pattern is empty</translation>
    </message>
    <message>
        <source>&quot;%1&quot;不是vid:pid（十六进制，如0403:6001）</source>
        <translation>&quot;%1&quot; is not vid:pid (hexadecimal, e.g. 0403:6001)</translation>
    </message>
</context>
<context>
    <name>PortName</name>
    <message>
        <source>串口名，例如 %1</source>
        <translation>Port name, e.g. %1</translation>
    </message>
    <message>
        <source>设备路径，例如 %1</source>
        <translation>Device path, e.g. %1</translation>
    </message>
</context>
<context>
    <name>ProblemsDock</name>
    <message>
        <source>问题</source>
        <translation>Problems</translation>
    </message>
    <message>
        <source>级别</source>
        <translation>Severity</translation>
    </message>
    <message>
        <source>位置</source>
        <translation>Place</translation>
    </message>
    <message>
        <source>工程没有问题：配置表可以生成和下载。</source>
        <translation>The project has no problem: its configuration table can be built and downloaded.</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>没有问题</source>
        <translation>No problems</translation>
    </message>
    <message>
        <source>%1 个错误，%2 个警告</source>
        <translation>%1 errors, %2 warnings</translation>
    </message>
    <message>
        <source>没有打开的工程。</source>
        <translation>No project is open.</translation>
    </message>
</context>
<context>
    <name>ProjectCheck</name>
    <message>
        <source>%1 表第%2行的%3起始端子与第%4行的端子重叠</source>
        <translation>%1 table, row %2: the %3 start terminal overlaps the terminals of row %4</translation>
    </message>
    <message>
        <source>%1 表的软片%2与软片%3使用同一个片选引脚 %4</source>
        <translation>%1 table: films %2 and %3 use the same chip-select pin %4</translation>
    </message>
    <message>
        <source>%1 表第%2行的%3“%4”不能作片选引脚，打开时去掉了</source>
        <translation>%1 table, row %2: %3 “%4” cannot be a chip select; dropped on opening the file</translation>
    </message>
    <message>
        <source>%1 表第%2行的%3“%4”不在选项之内，打开时换成了“%5”</source>
        <translation>%1 table, row %2: %3 “%4” is not one of the options; replaced by “%5” on opening the file</translation>
    </message>
    <message>
        <source>%1 表第%2行的%3“%4”打开时去掉了</source>
        <translation>%1 table, row %2: %3 “%4” was dropped on opening the file</translation>
    </message>
    <message>
        <source>%1 表第%2行的%3“%4”打开时换成了“%5”</source>
        <translation>%1 table, row %2: %3 “%4” was replaced by “%5” on opening the file</translation>
    </message>
    <message>
        <source>%1 表第%2行的引脚 %3 没有%1功能，打开时去掉了这一行</source>
        <translation>%1 table, row %2: pin %3 has no %1 function; the row was dropped on opening the file</translation>
    </message>
    <message>
        <source>%1 表第%2行与第%3行都是引脚 %4，打开时只保留了第%3行</source>
        <translation>%1 table, rows %2 and %3 are both pin %4; only row %3 was kept on opening the file</translation>
    </message>
    <message>
        <source>第%1行</source>
        <translation>row %1</translation>
    </message>
    <message>
        <source>%1 表软片%2的网络属性：%3</source>
        <translation>%1 table, network settings of film %2: %3</translation>
    </message>
    <message>
        <source>%1 表的无线模块：%2</source>
        <translation>%1 table, wireless module: %2</translation>
    </message>
    <message>
        <source>软片%1</source>
        <translation>Film %1</translation>
    </message>
    <message>
        <source>通道%1</source>
        <translation>Channel %1</translation>
    </message>
</context>
<context>
    <name>ProjectDiff</name>
    <message>
        <source>芯片</source>
        <translation>Chip</translation>
    </message>
    <message>
        <source>外部RAM</source>
        <translation>External RAM</translation>
    </message>
    <message>
        <source>%1 %2: 删除此行</source>
        <translation>%1 %2: row removed</translation>
    </message>
    <message>
        <source>%1 %2: 新增此行 (%3)</source>
        <translation>%1 %2: row added (%3)</translation>
    </message>
    <message>
        <source>控制器中的配置与 %1 相同</source>
        <translation>The controller holds the same configuration as %1</translation>
    </message>
    <message numerus="yes">
        <source>控制器中的配置与 %1 有 %n 处不同：</source>
        <translation>
            <numerusform>The controller differs from %1 in %n place:</numerusform>
            <numerusform>The controller differs from %1 in %n places:</numerusform>
        </translation>
    </message>
    <message>
        <source>控制器中没有配置表</source>
        <translation>The controller holds no configuration table</translation>
    </message>
    <message>
        <source>控制器中的配置表属于 %1，工程的芯片是 %2</source>
        <translation>The controller&apos;s configuration table is for %1; the project&apos;s chip is %2</translation>
    </message>
</context>
<context>
    <name>ProjectFile</name>
    <message>
        <source>%1节声明了%2行（最多%3行）</source>
        <translation>section %1 declares %2 rows (at most %3 are possible)</translation>
    </message>
    <message>
        <source>%1 不是工程文件</source>
        <translation>%1 is not a project file</translation>
    </message>
    <message>
        <source>%1 无法读取：%2</source>
        <translation>%1 cannot be read: %2</translation>
    </message>
    <message>
        <source>%1 不是工程文件（没有指明芯片）</source>
        <translation>%1 is not a project file (it names no chip)</translation>
    </message>
    <message>
        <source>%1 指明了未知的芯片“%2”</source>
        <translation>%1 names an unknown chip &quot;%2&quot;</translation>
    </message>
    <message>
        <source>%1 不完整：[%2] 节有行（%3）却没有 Count</source>
        <translation>%1 is incomplete: section [%2] has rows (%3) but no Count</translation>
    </message>
    <message>
        <source>%1 不完整：[%2] 节的 Count“%3”不是行数</source>
        <translation>%1 is incomplete: the Count &quot;%3&quot; of section [%2] is not a number of rows</translation>
    </message>
    <message>
        <source>%1 不完整：[%2] 节的 %3 超出了 Count=%4</source>
        <translation>%1 is incomplete: %3 of section [%2] lies beyond Count=%4</translation>
    </message>
    <message>
        <source>%1 不完整：第%2行“%3”不是“键=值”</source>
        <translation>%1 is incomplete: line %2 &quot;%3&quot; is not key=value</translation>
    </message>
    <message>
        <source>%1 不完整：第%2行，[%3] 节中的“%4”不是“键=值”</source>
        <translation>%1 is incomplete: line %2, &quot;%4&quot; in section [%3] is not key=value</translation>
    </message>
    <message>
        <source>%1 不完整：[%2] 节中的 %3 残缺：“%4”</source>
        <translation>%1 is incomplete: %3 in section [%2] is damaged: &quot;%4&quot;</translation>
    </message>
    <message>
        <source>%1 不完整：缺少 [%2] 节（保存时它有 %3 个键）</source>
        <translation>%1 is incomplete: section [%2] is missing (it had %3 keys when saved)</translation>
    </message>
    <message>
        <source>%1 不完整：[%2] 节只有 %3 个键，保存时有 %4 个</source>
        <translation>%1 is incomplete: section [%2] holds only %3 keys, it had %4 when saved</translation>
    </message>
    <message>
        <source>[%1] 节中的键“%2”出现了不止一次，取最后一次的值</source>
        <translation>the key &quot;%2&quot; is given more than once in section [%1]; its last value is taken</translation>
    </message>
    <message>
        <source>%1 不完整：[%2] 节的最后一行“%3”没有行尾，文件在这一行被截断</source>
        <translation>%1 is incomplete: the last line of section [%2], &quot;%3&quot;, has no line end; the file was cut inside it</translation>
    </message>
</context>
<context>
    <name>ProjectHistory</name>
    <message>
        <source>引脚 %1</source>
        <translation>Pin %1</translation>
    </message>
    <message>
        <source>%1 表格</source>
        <translation>%1 table</translation>
    </message>
    <message>
        <source>修改工程</source>
        <translation>Change the project</translation>
    </message>
</context>
<context>
    <name>ProjectReport</name>
    <message>
        <source>Mirel 工程报告</source>
        <translation>Mirel project report</translation>
    </message>
    <message>
        <source>工程</source>
        <translation>Project</translation>
    </message>
    <message>
        <source>芯片</source>
        <translation>Chip</translation>
    </message>
    <message>
        <source>外部RAM</source>
        <translation>External RAM</translation>
    </message>
    <message>
        <source>引脚表</source>
        <translation>Pin table</translation>
    </message>
    <message>
        <source>未使用的表</source>
        <translation>Unused tables</translation>
    </message>
    <message>
        <source>引脚图</source>
        <translation>Pin diagram</translation>
    </message>
    <message>
        <source>%1 — 第 %2 页，共 %3 页</source>
        <translation>%1 — page %2 of %3</translation>
    </message>
    <message>
        <source>%1：报告只能保存为 PDF 或 HTML 文件</source>
        <translation>%1: a report can only be saved as a PDF or HTML file</translation>
    </message>
    <message>
        <source>工程没有问题：配置表可以生成。</source>
        <translation>The project has no problem: its configuration table can be built.</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>问题</source>
        <translation>Problems</translation>
    </message>
    <message>
        <source>级别</source>
        <translation>Severity</translation>
    </message>
    <message>
        <source>位置</source>
        <translation>Place</translation>
    </message>
</context>
<context>
    <name>RecentFiles</name>
    <message>
        <source>文件已不存在：%1</source>
        <translation>The file no longer exists: %1</translation>
    </message>
    <message>
        <source>清除列表</source>
        <translation>Clear List</translation>
    </message>
    <message>
        <source>下次启动时打开最后保存的工程：%1</source>
        <translation>The next start opens the project saved last: %1</translation>
    </message>
</context>
<context>
    <name>RecordQueue</name>
    <message>
        <source>%1，%2秒后仍未放开，%3行记录没有写入</source>
        <translation>%1, still after %2 s; %3 rows of the record were not written</translation>
    </message>
</context>
<context>
    <name>SettingsRules</name>
    <message>
        <source>IP地址设置</source>
        <translation>IP address settings</translation>
    </message>
    <message>
        <source>IP地址</source>
        <translation>IP address</translation>
    </message>
    <message>
        <source>子网掩码</source>
        <translation>Subnet mask</translation>
    </message>
    <message>
        <source>默认网关</source>
        <translation>Default gateway</translation>
    </message>
    <message>
        <source>DNS服务器</source>
        <translation>DNS server</translation>
    </message>
    <message>
        <source>本地起始端口</source>
        <translation>Local start port</translation>
    </message>
    <message>
        <source>模块应用</source>
        <translation>Module application</translation>
    </message>
    <message>
        <source>端口号</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>本地起始端口“%1”无效：请填写%2到%3之间的整数。</source>
        <translation>Local start port &quot;%1&quot; is invalid: enter a whole number from %2 to %3.</translation>
    </message>
    <message>
        <source>%1“%2”不完整：请填写四段0到255之间的数字，例如192.168.1.10。</source>
        <translation>%1 &quot;%2&quot; is incomplete: enter four numbers from 0 to 255, e.g. 192.168.1.10.</translation>
    </message>
    <message>
        <source>通道%1的端口号“%2”无效：请填写0到%3之间的整数。</source>
        <translation>The port &quot;%2&quot; of channel %1 is not valid: enter a whole number from 0 to %3.</translation>
    </message>
    <message>
        <source>通道%1在使用中，必须填写IP地址，例如192.168.1.10。</source>
        <translation>Channel %1 is in use: its IP address must be filled in, for example 192.168.1.10.</translation>
    </message>
    <message>
        <source>通道%1的IP地址“%2”无效：请填写四段0到255之间的数字，例如192.168.1.10。</source>
        <translation>The IP address &quot;%2&quot; of channel %1 is not valid: enter four numbers from 0 to 255, for example 192.168.1.10.</translation>
    </message>
    <message>
        <source>使用下面的IP地址时必须填写%1，例如%2。</source>
        <translation>With &quot;Use the following IP address&quot; the %1 must be filled in, for example %2.</translation>
    </message>
</context>
<context>
    <name>TableClipboard</name>
    <message>
        <source>第%1行第%2列</source>
        <translation>Row %1, column %2</translation>
    </message>
    <message>
        <source>：表格中没有这一格</source>
        <translation>: the table has no such cell</translation>
    </message>
    <message>
        <source>粘贴</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>这些格子不接受粘贴的值：
%1

粘贴其余的值吗？</source>
        <translation>These cells do not take the pasted values:
%1

Paste the other values?</translation>
    </message>
    <message>
        <source>粘贴其余的值</source>
        <translation>Paste the Others</translation>
    </message>
    <message>
        <source>都不粘贴</source>
        <translation>Paste Nothing</translation>
    </message>
    <message>
        <source>没有粘贴任何值：
%1</source>
        <translation>Nothing was pasted:
%1</translation>
    </message>
</context>
<context>
    <name>TableCsv::Reader</name>
    <message>
        <source>不是CSV文件：%1</source>
        <translation>Not a CSV file: %1</translation>
    </message>
    <message>
        <source>文件是空的：第一行应是列标题</source>
        <translation>The file is empty: its first line should hold the column titles</translation>
    </message>
    <message>
        <source>未知的列标题“%1”</source>
        <translation>Unknown column title &quot;%1&quot;</translation>
    </message>
    <message>
        <source>缺少第一列“%1”</source>
        <translation>The first column &quot;%1&quot; is missing</translation>
    </message>
    <message>
        <source>%1没有参数“%2”</source>
        <translation>%1 has no parameter &quot;%2&quot;</translation>
    </message>
    <message>
        <source>引脚%1没有%2的功能：引脚的功能在芯片图上分配</source>
        <translation>Pin %1 does not carry a function of %2: pin functions are assigned on the chip drawing</translation>
    </message>
    <message>
        <source>“%1”不是这一格的选项</source>
        <translation>&quot;%1&quot; is not an option of this cell</translation>
    </message>
    <message>
        <source>未知的名称“%1”</source>
        <translation>Unknown name &quot;%1&quot;</translation>
    </message>
</context>
<context>
    <name>TableDecoder</name>
    <message>
        <source>多出%1字节</source>
        <translation>%1 bytes are left over</translation>
    </message>
    <message>
        <source>外置RAM标志%1既不是0也不是1</source>
        <translation>external-RAM flag %1 is neither 0 nor 1</translation>
    </message>
    <message>
        <source>%1：未知的系统功能代码%2</source>
        <translation>%1: unknown system function code %2</translation>
    </message>
    <message>
        <source>片选数%1不是1、2、4、8或16</source>
        <translation>chip-select count %1 is not 1, 2, 4, 8 or 16</translation>
    </message>
    <message>
        <source>片选数为%1，但第%2位没有引脚</source>
        <translation>chip-select count %1 but bit %2 has no pin</translation>
    </message>
    <message>
        <source>通道%1没有标记</source>
        <translation>socket %1 has no marker</translation>
    </message>
    <message>
        <source>软片%1：寻址值%2既不是1也不是2</source>
        <translation>film %1: addressing value %2 is neither 1 nor 2</translation>
    </message>
    <message>
        <source>该段提前结束</source>
        <translation>the section ends early</translation>
    </message>
    <message>
        <source>%1：未知的代码%2</source>
        <translation>%1: unknown code %2</translation>
    </message>
    <message>
        <source>%1段第%2行：%3</source>
        <translation>section %1, row %2: %3</translation>
    </message>
    <message>
        <source>%1段：%2</source>
        <translation>section %1: %2</translation>
    </message>
    <message>
        <source>%1段：软片%2的网络设置有%3个保留字节不是0（第一个在表中%4处），已忽略</source>
        <translation>section %1: %3 reserved bytes of the network settings of film %2 are not 0 (the first at %4 in the table); ignored</translation>
    </message>
    <message>
        <source>%1：这个配置表是%2的，不是%3的（引脚P%4%5在%3上没有），请选择芯片%2再读取</source>
        <translation>%1: this configuration table is for %2, not %3 (pin P%4%5 does not exist on %3); choose the chip %2 and read again</translation>
    </message>
    <message>
        <source>%1：读到的引脚代码（端口地址%3、掩码%4）不是%2的引脚，配置表可能已损坏</source>
        <translation>%1: the pin code read (port address %3, mask %4) is no pin of %2; the configuration table may be damaged</translation>
    </message>
</context>
<context>
    <name>TableDraft</name>
    <message>
        <source>片选引脚 %1 已被占用（%2），请另选一个引脚。</source>
        <translation>The chip-select pin %1 is taken (%2); choose another pin.</translation>
    </message>
    <message>
        <source>软片%1与另一个软片使用同一个片选引脚 %2，请另选一个引脚。</source>
        <translation>Film %1 uses the same chip-select pin %2 as another film; choose another pin.</translation>
    </message>
</context>
<context>
    <name>TableFiles</name>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>请先新建或打开一个工程。</source>
        <translation>Create or open a project first.</translation>
    </message>
    <message>
        <source>导出表格到文件夹</source>
        <translation>Export Tables to a Folder</translation>
    </message>
    <message>
        <source>导出表格</source>
        <translation>Export Tables</translation>
    </message>
    <message>
        <source>文件夹中已有同名文件：%1
替换它们吗？</source>
        <translation>The folder already holds files of these names: %1
Replace them?</translation>
    </message>
    <message>
        <source>替换</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>导出失败</source>
        <translation>Export Failed</translation>
    </message>
    <message numerus="yes">
        <source>已导出%n个表格到 %1</source>
        <translation>
            <numerusform>%n table exported to %1</numerusform>
            <numerusform>%n tables exported to %1</numerusform>
        </translation>
    </message>
    <message>
        <source>导入表格</source>
        <translation>Import Tables</translation>
    </message>
    <message>
        <source>从文件夹导入表格</source>
        <translation>Import Tables from a Folder</translation>
    </message>
    <message>
        <source>文件夹 %1 中没有表格文件（DI.csv、USART1.csv……）</source>
        <translation>The folder %1 holds no table file (DI.csv, USART1.csv, ...)</translation>
    </message>
    <message>
        <source>已从 %1 导入表格</source>
        <translation>Tables imported from %1</translation>
    </message>
</context>
<context>
    <name>TableImportPreview</name>
    <message>
        <source>导入表格</source>
        <translation>Import Tables</translation>
    </message>
    <message>
        <source>表格</source>
        <translation>Table</translation>
    </message>
    <message>
        <source>行</source>
        <translation>Row</translation>
    </message>
    <message>
        <source>字段</source>
        <translation>Field</translation>
    </message>
    <message>
        <source>工程中的值</source>
        <translation>Value in the project</translation>
    </message>
    <message>
        <source>文件中的值</source>
        <translation>Value in the file</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>File</translation>
    </message>
    <message>
        <source>列</source>
        <translation>Column</translation>
    </message>
    <message>
        <source>没有导入的原因</source>
        <translation>Why it was not imported</translation>
    </message>
    <message>
        <source>导入不会改变工程。</source>
        <translation>The import changes nothing in the project.</translation>
    </message>
    <message numerus="yes">
        <source>导入将改变工程中的%n处：确定后作为一步修改，可以撤销。</source>
        <translation>
            <numerusform>The import changes %n place in the project: OK makes it one step, which can be undone.</numerusform>
            <numerusform>The import changes %n places in the project: OK makes it one step, which can be undone.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n个值没有导入（见下表）：表格窗口不会接受它们，工程保留原来的值。</source>
        <translation>
            <numerusform>%n value was not imported (see below): the table window would not take it, and the project keeps its own.</numerusform>
            <numerusform>%n values were not imported (see below): the table window would not take them, and the project keeps its own.</numerusform>
        </translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TableInput</name>
    <message>
        <source>这一格不能填写</source>
        <translation>This cell takes no value</translation>
    </message>
    <message>
        <source>这一格不能填写（当前为“%1”）</source>
        <translation>This cell takes no value (it shows &quot;%1&quot;)</translation>
    </message>
    <message>
        <source>“%1”不是这一格的选项</source>
        <translation>&quot;%1&quot; is not an option of this cell</translation>
    </message>
</context>
<context>
    <name>TableLayout</name>
    <message>
        <source>配置表在%1段的第%2字节处结束（缺少%3）</source>
        <translation>the table ends inside section %1 at byte %2 (%3 missing)</translation>
    </message>
    <message>
        <source>行数</source>
        <translation>row count</translation>
    </message>
    <message>
        <source>行长</source>
        <translation>row size</translation>
    </message>
    <message>
        <source>%1段声明每行%2字节，实际每行%3字节</source>
        <translation>section %1 declares rows of %2 bytes; they are %3 bytes</translation>
    </message>
    <message>
        <source>%1段声明了%2行、每行%3字节，但只剩%4字节</source>
        <translation>section %1 declares %2 rows of %3 bytes but only %4 bytes are left</translation>
    </message>
    <message>
        <source>记录长度</source>
        <translation>record size</translation>
    </message>
    <message>
        <source>%1段声明记录长%2字节，实际为%3</source>
        <translation>section %1 declares a record of %2 bytes; it is %3</translation>
    </message>
    <message>
        <source>端口记录</source>
        <translation>port record</translation>
    </message>
    <message>
        <source>通道%1</source>
        <translation>socket %1</translation>
    </message>
    <message>
        <source>%1段通道%2：第%4字节处有意外的字节0x%3</source>
        <translation>section %1, socket %2: unexpected byte 0x%3 at byte %4</translation>
    </message>
    <message>
        <source>通道%1的地址</source>
        <translation>address of socket %1</translation>
    </message>
    <message>
        <source>外置RAM标志</source>
        <translation>external-RAM flag</translation>
    </message>
    <message>
        <source>配置表是空的</source>
        <translation>the table is empty</translation>
    </message>
    <message>
        <source>第%1字节处没有段标记</source>
        <translation>no section tag at byte %1</translation>
    </message>
    <message>
        <source>第%2字节处有未知的段标记“%1”</source>
        <translation>unknown section tag &quot;%1&quot; at byte %2</translation>
    </message>
    <message>
        <source>第%2字节处的%1段重复或顺序不对</source>
        <translation>section %1 at byte %2 is repeated or out of order</translation>
    </message>
    <message>
        <source>配置表在%1字节后结束，没有%2段</source>
        <translation>the configuration table ends after %1 bytes, without the %2 section</translation>
    </message>
    <message>
        <source>缺少%1段：第%3字节处的%2段顺序不对</source>
        <translation>the %1 section is missing: the %2 section at byte %3 is out of order</translation>
    </message>
    <message>
        <source>SYS段之后第%2字节起的%1字节不是填充</source>
        <translation>the %1 bytes from byte %2 after the SYS section are not padding</translation>
    </message>
</context>
<context>
    <name>TableRules</name>
    <message>
        <source>%1 表第%2行的%3“%4”写不进配置表：必须是%5到%6之间的整数</source>
        <translation>%1 table, row %2: %3 “%4” does not fit the configuration table: it must be a whole number from %5 to %6</translation>
    </message>
</context>
</TS>
