#pragma once
// One running copy per user: the first start listens on a local socket named
// after the program's title; a later start asks it to raise its window and ends.

#include <QObject>
#include <QString>

class QLocalServer;

namespace supplink {

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another copy runs; that copy has then been asked to come to
    // the front. False when this process is now the one that listens.
    bool previousInstanceActivated();

signals:
    // A later start asked this copy to show its window.
    void activationRequested();

private:
    QString serverName() const;

    QString m_key;
    QLocalServer* m_server = nullptr;
};

} // namespace supplink
