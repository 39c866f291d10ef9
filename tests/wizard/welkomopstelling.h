#pragma once
// What the tests of the welcome step, its view and the main window share:
// writing a file (with the folders above it), a supplier folder with its
// `index` and page, and the machine-wide setting that names the suppliers
// folder.
//
//     test::schrijfBestand(env.path("lev/welkom.html"), "<html>");
//     test::leverancierMap(map, "acme", "ACME\r\nAcme\r\n1\r\n");
//     test::zetLeveranciersMap(map);

#include "start/registryfuncties.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace supplink::test {

inline void schrijfBestand(const QString& pad, const QByteArray& inhoud, QFile::Permissions rechten = {})
{
    QDir().mkpath(QFileInfo(pad).absolutePath());
    QFile bestand(pad);
    QVERIFY2(bestand.open(QIODevice::WriteOnly), qPrintable(pad));
    bestand.write(inhoud);
    bestand.close();
    if (rechten)
        QVERIFY(bestand.setPermissions(rechten));
}

// A supplier folder `naam` in `map` with its index and a page "leverancier.xml".
inline void leverancierMap(const QString& map, const QString& naam, const QByteArray& index)
{
    schrijfBestand(QDir(map).filePath(naam + QStringLiteral("/index")), index);
    schrijfBestand(QDir(map).filePath(naam + QStringLiteral("/leverancier.xml")), "<leverancier/>");
}

// The machine-wide setting "settings"/"leveranciers".
inline void zetLeveranciersMap(const QString& map)
{
    fSaveString(HKEY_LOCAL_MACHINE, ProgramKeyPath() + QStringLiteral("settings"), QStringLiteral("leveranciers"),
                map);
}

} // namespace supplink::test
