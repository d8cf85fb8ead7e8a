#include "settingsrules.h"

#include "fieldencoder.h"
#include "projectdata.h"
#include "tablerules.h"

#include <QCoreApplication>

namespace SettingsRules {

namespace {

const char *const networkSuffixes[networkFieldCount] = {
    "UseAutoGetIP", "IPAddr", "SubnetMas", "DefaultGeteway", "PreferredDNS", "LocalStartPort"};
const char *const socketPrefixes[socketFieldCount] = {"ApplicationOfSocket", "IPOfSocket",
                                                      "PortOfSocket"};

QString tr(const char *text)
{
    return QCoreApplication::translate("SettingsRules", text);
}

// What the table can hold, whatever a user could type.
bool encodableAddress(const QString &address)
{
    QByteArray block(32, '\0');
    return FieldEncoder(QString(), 0).placeAddress(QString(), address, 1, 0, block);
}

bool encodablePort(const QString &port)
{
    int ignored = 0;
    return FieldEncoder(QString(), 0).number(QString(), port, 0xFFFF, &ignored);
}

FieldProblem problem(bool error, const QString &message)
{
    FieldProblem found;
    found.error = error;
    found.message = message;
    return found;
}

} // namespace

QString networkKey(int film, NetworkField field)
{
    return QStringLiteral("FilmApplication%1").arg(film) +
           QLatin1String(networkSuffixes[int(field)]);
}

QString socketKey(int socket, SocketField field)
{
    return QLatin1String(socketPrefixes[int(field)]) + QString::number(socket);
}

namespace {

// The unit (film or socket) and field whose key is `key`.
template <typename Field>
bool unitAndField(const QString &key, int units, int fields, QString (*keyOf)(int, Field),
                  int *unit, Field *field)
{
    for (int u = 1; u <= units; ++u)
        for (int i = 0; i < fields; ++i)
            if (key == keyOf(u, Field(i))) {
                *unit = u;
                *field = Field(i);
                return true;
            }
    return false;
}

} // namespace

bool networkKeyField(const QString &key, int *film, NetworkField *field)
{
    return unitAndField(key, filmCount, networkFieldCount, &networkKey, film, field);
}

bool socketKeyField(const QString &key, int *socket, SocketField *field)
{
    return unitAndField(key, socketCount, socketFieldCount, &socketKey, socket, field);
}

QString networkFieldName(NetworkField field)
{
    switch (field) {
    case NetworkField::Addressing:
        return tr("IP地址设置");
    case NetworkField::Ip:
        return tr("IP地址");
    case NetworkField::Mask:
        return tr("子网掩码");
    case NetworkField::Gateway:
        return tr("默认网关");
    case NetworkField::Dns:
        return tr("DNS服务器");
    case NetworkField::StartPort:
        return tr("本地起始端口");
    }
    return QString();
}

QString socketFieldName(SocketField field)
{
    switch (field) {
    case SocketField::Application:
        return tr("模块应用");
    case SocketField::Ip:
        return tr("IP地址");
    case SocketField::Port:
        return tr("端口号");
    }
    return QString();
}

QStringList filmList(int film, const QVector<QString> &valuesByField)
{
    QStringList list;
    for (int i = 0; i < networkFieldCount; ++i)
        list << networkKey(film, NetworkField(i)) << valuesByField.value(i);
    return list;
}

QStringList socketList(const QVector<QVector<QString>> &valuesBySocket)
{
    QStringList list;
    for (int s = 1; s <= socketCount; ++s)
        for (int i = 0; i < socketFieldCount; ++i)
            list << socketKey(s, SocketField(i)) << valuesBySocket.value(s - 1).value(i);
    return list;
}

QStringList defaultSockets()
{
    QVector<QVector<QString>> sockets;
    for (int s = 1; s <= socketCount; ++s)
        sockets.append({QStringLiteral("0"), QStringLiteral("192.168.1.%1").arg(s),
                        QString::number(4999 + s)});
    return socketList(sockets);
}

FieldProblem networkProblem(const QStringList &network, int film, NetworkField field)
{
    const QString value = valueOf(network, networkKey(film, field));
    const QString name = networkFieldName(field);
    switch (field) {
    case NetworkField::Addressing:
        return {};
    case NetworkField::StartPort:
        if (value.isEmpty() ||
            TableRules::parseWholeNumber(value, lowestStartPort, highestStartPort))
            return {};
        return problem(!encodablePort(value), tr("本地起始端口“%1”无效：请填写%2到%3之间的整数。")
                                                  .arg(value)
                                                  .arg(lowestStartPort)
                                                  .arg(highestStartPort));
    default:
        break;
    }
    // "2" is manual addressing; with "1" (automatic), and in a film whose
    // addressing was never chosen, the controller finds its addresses.
    const bool manual =
        valueOf(network, networkKey(film, NetworkField::Addressing)) == QLatin1String("2");
    if (value.isEmpty() && manual && field != NetworkField::Dns)
        return problem(
            true, tr("使用下面的IP地址时必须填写%1，例如%2。")
                      .arg(name, field == NetworkField::Ip     ? QStringLiteral("192.168.1.10")
                                 : field == NetworkField::Mask ? QStringLiteral("255.255.255.0")
                                                               : QStringLiteral("192.168.1.1")));
    if (value.isEmpty() || TableRules::isDottedAddress(value))
        return {};
    return problem(
        !encodableAddress(value),
        tr("%1“%2”不完整：请填写四段0到255之间的数字，例如192.168.1.10。").arg(name, value));
}

FieldProblem socketProblem(const QStringList &sockets, int socket, SocketField field)
{
    const QString value = valueOf(sockets, socketKey(socket, field));
    switch (field) {
    case SocketField::Application:
        return {};
    case SocketField::Port:
        if (TableRules::parseWholeNumber(value, 0, highestSocketPort))
            return {};
        return problem(!encodablePort(value), tr("通道%1的端口号“%2”无效：请填写0到%3之间的整数。")
                                                  .arg(socket)
                                                  .arg(value)
                                                  .arg(highestSocketPort));
    case SocketField::Ip:
        break;
    }
    const QString application = valueOf(sockets, socketKey(socket, SocketField::Application));
    const bool inUse = !application.isEmpty() && application != QLatin1String("0");
    if (value.isEmpty() && inUse)
        return problem(true, tr("通道%1在使用中，必须填写IP地址，例如192.168.1.10。").arg(socket));
    if (TableRules::isDottedAddress(value))
        return {};
    FieldEncoder probe(QString(), 0);
    QVector<int> parts;
    return problem(!probe.addressParts(QString(), value, &parts),
                   tr("通道%1的IP地址“%2”无效：请填写四段0到255之间的数字，例如192.168.1.10。")
                       .arg(socket)
                       .arg(value));
}

} // namespace SettingsRules
