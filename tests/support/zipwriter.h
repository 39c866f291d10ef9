#pragma once
// Writes zip archives for tests with libzip, entry by entry, so that a test
// can put in exactly the names it needs (also names no archiver would write,
// such as "../x" or "/etc/x").
//
//     QVERIFY(test::writeZip(path, {{"map/", {}}, {"map/a.txt", "inhoud"}}, {{"map/a.txt", 0755}}));

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>

namespace supplink::test {

// Writes the archive anew. A name ending in "/" becomes a folder entry; unixModes gives an entry
// permission bits as a Unix zip tool stores them. False when libzip refused something.
bool writeZip(const QString& path, const QList<QPair<QString, QByteArray>>& parts,
              const QHash<QString, quint32>& unixModes = {});

} // namespace supplink::test
