#pragma once
// What the tests of the update check and of the update window share: an own
// program folder, a web server on 127.0.0.1 that serves the update folder, and
// a check pointed at both, for a program of version 4.1.7. The one-second wait,
// the installer start and the program's end are recorded instead of done.
//
//     test::UpdateOpstelling o;
//     o.lijst("BvqLeveranciersUpdates\r\nupd.zip,4,2,,Update 4.2,setup.sh,\r\n");
//     o.bestand("upd.zip", o.zip({{"setup.sh", "#!/bin/sh\n"}}));
//     UpdateZoeker zoeker;
//     o.richt(zoeker);
//     zoeker.ZoekUpdates();

#include "fixtures/httpresponder.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"
#include "support/zipwriter.h"
#include "wizard/updatezoeker.h"

#include <QDir>
#include <QFile>

namespace supplink::test {

struct UpdateOpstelling
{
    static QString updatePad(const QString& naam) { return QStringLiteral("/bvq/leveranciers/updates/4/") + naam; }

    UpdateOpstelling() { QDir().mkpath(map); }

    // Serves the update list, or a file of the update folder.
    void lijst(const QByteArray& tekst) { http.answer(updatePad(QStringLiteral("info4.txt")), {tekst}); }
    void bestand(const QString& naam, const fixtures::HttpAnswer& antwoord) { http.answer(updatePad(naam), antwoord); }
    void bestand(const QString& naam, const QByteArray& inhoud) { bestand(naam, fixtures::HttpAnswer{inhoud}); }

    // The bytes of a zip archive of the given entries.
    QByteArray zip(const QList<QPair<QString, QByteArray>>& delen, const QHash<QString, quint32>& modes = {})
    {
        const QString pad = env.path(QStringLiteral("archief-%1.zip").arg(++archieven));
        QFile bestand(pad);
        if (!writeZip(pad, delen, modes) || !bestand.open(QIODevice::ReadOnly))
            return {};
        return bestand.readAll();
    }

    // A file of the program folder (empty when missing).
    QByteArray inMap(const QString& naam) const
    {
        QFile bestand(map + QLatin1Char('/') + naam);
        return bestand.open(QIODevice::ReadOnly) ? bestand.readAll() : QByteArray();
    }

    void richt(UpdateZoeker& zoeker)
    {
        zoeker.setServer(http.server());
        zoeker.setProgrammaMap(map);
        zoeker.setProgrammaVersie({4, 1, 7});
        zoeker.setWachten([this] { ++wachten; });
        zoeker.setProgrammaStarter([this](const QString& programma, const QStringList& argumenten) {
            gestart.append({programma, argumenten});
            return startLukt;
        });
        zoeker.setAfsluiten([this] { ++afgesloten; });
    }

    TestEnvironment env;
    RecordingUiServices ui;
    fixtures::HttpResponder http;
    const QString map = env.path(QStringLiteral("programma"));
    int archieven = 0;

    int wachten = 0;
    QList<QPair<QString, QStringList>> gestart;
    bool startLukt = true;
    int afgesloten = 0;
};

} // namespace supplink::test
