#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The network settings of an SPI port's films and the sockets of a wireless
// module: their fields by name, and what the controller and the windows
// accept. The lists stay as the project file holds them (alternating keys and
// values); nothing here computes a position in them.
namespace SettingsRules {

// A film's network fields, in the order of its keys.
enum class NetworkField
{
    Addressing, // "1" automatic, "2" manual
    Ip,
    Mask,
    Gateway,
    Dns,
    StartPort
};
constexpr int networkFieldCount = 6;
constexpr int filmCount = 3;
// The local start port a user may type.
constexpr int lowestStartPort = 50000;
constexpr int highestStartPort = 65528;

// A socket's fields, in the order of its keys.
enum class SocketField
{
    Application,
    Ip,
    Port
};
constexpr int socketFieldCount = 3;
constexpr int socketCount = 8;
constexpr int highestSocketPort = 65535;

// "FilmApplication2IPAddr", "PortOfSocket8".
QString networkKey(int film, NetworkField field);
QString socketKey(int socket, SocketField field);
// The film (1..3) and field of a network key, the socket (1..8) and field of
// a socket key; false for any other key. (The lists are read and written
// by key with valueOf and setValueOf.)
bool networkKeyField(const QString &key, int *film, NetworkField *field);
bool socketKeyField(const QString &key, int *socket, SocketField *field);
// The field's name as the windows label it ("IP地址", "端口号").
QString networkFieldName(NetworkField field);
QString socketFieldName(SocketField field);

// The twelve strings of a film's keys and values (the list its window hands
// back), and the 48 of a port's eight sockets, from the values by field.
QStringList filmList(int film, const QVector<QString> &valuesByField);
QStringList socketList(const QVector<QVector<QString>> &valuesBySocket);
// The sockets a serial port starts with: none used, 192.168.1.N, port 4999 + N.
QStringList defaultSockets();

// What may be wrong with one value. An error is a value the controller
// cannot work with (a manual address left empty, a socket in use without an
// address) or one the table cannot hold; a warning one the table holds but a
// user could not type into the window (a start port outside its range, an
// incomplete address). A window refuses the errors of every field and the
// warnings of the fields typed since it opened.
struct FieldProblem
{
    bool error = true;
    QString message; // empty: nothing wrong
    bool isEmpty() const { return message.isEmpty(); }
};
// The field of film `film` in a port's network list (all three films).
FieldProblem networkProblem(const QStringList &network, int film, NetworkField field);
// The field of socket `socket` in the socket list of a port that drives a
// wireless module. A socket is in use when its application is set.
FieldProblem socketProblem(const QStringList &sockets, int socket, SocketField field);

} // namespace SettingsRules
