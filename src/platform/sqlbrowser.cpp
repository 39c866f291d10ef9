#include "platform/sqlbrowser.h"

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QStringDecoder>
#include <QUdpSocket>

namespace supplink {

namespace {

constexpr qsizetype kMaxData = 0xFFFF;

// Browsers answer in the machine's code page; names are plain ASCII nearly always.
QString decode(const QByteArray& data)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(data);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(data);
}

bool sameKey(const QString& key, const char* wanted)
{
    return key.compare(QLatin1String(wanted), Qt::CaseInsensitive) == 0;
}

void addNames(const QList<SqlBrowserInstance>& instances, QStringList& names)
{
    for (const SqlBrowserInstance& instance : instances) {
        const QString name = instance.naam();
        if (!name.isEmpty() && !names.contains(name, Qt::CaseInsensitive))
            names.append(name);
    }
}

// Sends one request and collects the names in the answers; a unicast request stops at the first answer.
QStringList ask(const QHostAddress& target, quint16 port, char request, int timeoutMs, bool collectAll)
{
    QStringList names;
    QUdpSocket socket;
    const QHostAddress any(target.protocol() == QAbstractSocket::IPv6Protocol ? QHostAddress::AnyIPv6
                                                                              : QHostAddress::AnyIPv4);
    if (!socket.bind(any, 0))
        return names;
    if (socket.writeDatagram(QByteArray(1, request), target, port) != 1)
        return names;

    QElapsedTimer timer;
    timer.start();
    for (;;) {
        const qint64 left = timeoutMs - timer.elapsed();
        if (left <= 0)
            break;
        if (!socket.hasPendingDatagrams() && !socket.waitForReadyRead(int(left))) {
            // A refused port ends the wait at once; a quiet network when the time is up.
            if (socket.error() != QAbstractSocket::SocketTimeoutError)
                break;
            continue;
        }
        while (socket.hasPendingDatagrams())
            addNames(ParseSqlBrowserResponse(socket.receiveDatagram().data()), names);
        if (!collectAll && !names.isEmpty())
            break;
    }
    return names;
}

} // namespace

QString SqlBrowserInstance::naam() const
{
    if (instanceName.isEmpty() ||
        instanceName.compare(QLatin1String("MSSQLSERVER"), Qt::CaseInsensitive) == 0)
        return serverName;
    return serverName + QLatin1Char('\\') + instanceName;
}

SqlBrowserSettings& sqlBrowserSettings()
{
    static SqlBrowserSettings settings;
    return settings;
}

QList<SqlBrowserInstance> ParseSqlBrowserResponse(const QByteArray& datagram)
{
    QList<SqlBrowserInstance> result;
    if (datagram.size() < 3 || datagram.at(0) != SqlBrowser::Response)
        return result;
    const qsizetype size = qsizetype(uchar(datagram.at(1))) | (qsizetype(uchar(datagram.at(2))) << 8);
    const QStringList parts = decode(datagram.mid(3, size)).split(QLatin1Char(';'));

    SqlBrowserInstance current;
    const auto finish = [&]() {
        if (!current.serverName.isEmpty())
            result.append(current);
        current = SqlBrowserInstance();
    };
    for (qsizetype i = 0; i < parts.size();) {
        const QString& key = parts.at(i);
        if (key.isEmpty()) { // the empty key that closes an instance
            finish();
            ++i;
            continue;
        }
        const QString value = i + 1 < parts.size() ? parts.at(i + 1) : QString();
        i += 2;
        if (sameKey(key, "ServerName")) {
            finish(); // an instance whose closing mark is missing
            current.serverName = value.trimmed();
        } else if (sameKey(key, "InstanceName")) {
            current.instanceName = value.trimmed();
        } else if (sameKey(key, "IsClustered")) {
            current.clustered = sameKey(value.trimmed(), "Yes");
        } else if (sameKey(key, "Version")) {
            current.version = value.trimmed();
        }
    }
    finish();
    return result;
}

QByteArray MaakSqlBrowserResponse(const QList<SqlBrowserInstance>& instances)
{
    QString text;
    for (const SqlBrowserInstance& instance : instances) {
        text += QStringLiteral("ServerName;") + instance.serverName + QStringLiteral(";InstanceName;") +
                instance.instanceName + QStringLiteral(";IsClustered;") +
                (instance.clustered ? QStringLiteral("Yes") : QStringLiteral("No")) +
                QStringLiteral(";Version;") + instance.version + QStringLiteral(";;");
    }
    const QByteArray data = text.toUtf8().left(kMaxData);
    QByteArray datagram;
    datagram.append(SqlBrowser::Response);
    datagram.append(char(data.size() & 0xFF));
    datagram.append(char((data.size() >> 8) & 0xFF));
    datagram.append(data);
    return datagram;
}

QStringList ZoekSqlServers(const SqlBrowserSettings& settings)
{
    return ask(settings.broadcastAddress, settings.port, SqlBrowser::BroadcastRequest, settings.timeoutMs,
               true);
}

QStringList ZoekSqlServerInstanties(const QHostAddress& host, const SqlBrowserSettings& settings)
{
    return ask(host, settings.port, SqlBrowser::UnicastRequest, settings.timeoutMs, false);
}

} // namespace supplink
