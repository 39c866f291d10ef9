#include "platform/singleinstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

namespace supplink {
namespace {
const QByteArray kActivate = QByteArrayLiteral("activate\n");
constexpr int kWaitMs = 2000;
} // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent), m_key(key) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName() const
{
    // Socket names are file names on Unix: hash the title, keep it per user.
    const QByteArray user = qgetenv("USER") + qgetenv("USERNAME");
    const QByteArray hash = QCryptographicHash::hash(m_key.toUtf8() + '|' + user, QCryptographicHash::Sha1).toHex();
    return QStringLiteral("supplink-") + QString::fromLatin1(hash.left(16));
}

bool SingleInstance::previousInstanceActivated()
{
    const QString name = serverName();
    {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (socket.waitForConnected(kWaitMs)) {
            socket.write(kActivate);
            socket.waitForBytesWritten(kWaitMs);
            socket.disconnectFromServer();
            return true;
        }
    }
    // Nobody answered: a socket file left by a crashed copy is stale.
    QLocalServer::removeServer(name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(name))
        return false; // We still run; only the activation of later starts is lost.
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = m_server->nextPendingConnection()) {
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                if (client->readAll().contains(kActivate.trimmed()))
                    emit activationRequested();
            });
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        }
    });
    return false;
}

} // namespace supplink
