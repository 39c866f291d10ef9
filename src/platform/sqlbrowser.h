#pragma once
// The SQL Server Browser service (UDP port 1434) tells which SQL Server
// instances a machine runs. A client asks every machine of the network at
// once (request byte 0x02, sent to the broadcast address) or one machine
// (request byte 0x03, sent to that machine); each browser answers with one
// datagram: 0x05, the length of the data (two bytes, low byte first) and the
// data, a text of "key;value;" pairs per instance, each instance closed by an
// empty key:
//
//   ServerName;BOUW01;InstanceName;SQLEXPRESS;IsClustered;No;Version;10.50.1600.1;tcp;1433;;
//
// The names the program shows are "server" for a default instance
// (MSSQLSERVER) and "server\instance" for a named one.

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QString>
#include <QStringList>

namespace supplink {

struct SqlBrowserInstance
{
    QString serverName;
    QString instanceName;
    QString version;
    bool clustered = false;

    // "server" for the default instance, else "server\instance".
    QString naam() const;
};

struct SqlBrowserSettings
{
    // Where the network-wide request goes; the program asks the whole local network.
    QHostAddress broadcastAddress = QHostAddress(QHostAddress::Broadcast);
    quint16 port = 1434;
    // How long answers are collected after the request, in milliseconds.
    int timeoutMs = 1500;
};

// The program-wide settings of the search (tests point it at a responder of their own).
SqlBrowserSettings& sqlBrowserSettings();

namespace SqlBrowser {
constexpr char BroadcastRequest = 0x02;
constexpr char UnicastRequest = 0x03;
constexpr char Response = 0x05;
} // namespace SqlBrowser

// The instances one answer describes; an answer of another kind, or a broken one, gives what could be
// read (never more than its data holds).
QList<SqlBrowserInstance> ParseSqlBrowserResponse(const QByteArray& datagram);

// An answer as a browser service sends it, for the given instances.
QByteArray MaakSqlBrowserResponse(const QList<SqlBrowserInstance>& instances);

// The names of the SQL Server instances that answer a request to the whole network, in the order the
// answers came in, each name once. Empty when none answered within the time or the network failed.
QStringList ZoekSqlServers(const SqlBrowserSettings& settings = sqlBrowserSettings());

// The same for the instances of one machine.
QStringList ZoekSqlServerInstanties(const QHostAddress& host,
                                    const SqlBrowserSettings& settings = sqlBrowserSettings());

} // namespace supplink
