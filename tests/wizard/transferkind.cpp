// The child process of the kill test (test_transferkill.cpp): walks the
// wizard's steps over the demo content package (transferpakket.h), runs one
// real transfer of it with the program's own engines and writes every moment of the run to its standard output, one line each, with
// the milliseconds since the run began ("moment gefaseerd:pt#1 532"). When the moment named on the command line comes,
// it writes "gestopt" and waits there to be killed; when it is named as
// "pauze:<moment>", the child writes "gepauzeerd" there and goes on when a line
// comes on its standard input. Each staged file is copied
// into the witness folder as soon as it is complete, so that the test can
// compare a target with the staged file of the very run it killed. The
// history is dated with a fixed moment, so that two whole runs give the same
// bytes. The walk saves settings: the child keeps them in a private store.
//
//     transfer_kindproces <package folder> <witness folder> <scale> [[pauze:]<moment>]

#include "database/history.h"
#include "support/testenvironment.h"
#include "wizard/staptransfer.h"
#include "wizard/transferpakket.h"

#include <QGuiApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QThread>
#include <cstdio>

using namespace supplink;
using namespace supplink::test;

namespace {

QString momentNaam(TransferMoment moment)
{
    switch (moment) {
    case TransferMoment::WerkerGestart:
        return QStringLiteral("werker-gestart");
    case TransferMoment::WerkerKlaar:
        return QStringLiteral("werker-klaar");
    case TransferMoment::HistorieGeschreven:
        return QStringLiteral("historie");
    case TransferMoment::Gefaseerd:
        return QStringLiteral("gefaseerd");
    case TransferMoment::VoorVervangen:
        return QStringLiteral("voor-vervangen");
    case TransferMoment::Vervangen:
        return QStringLiteral("vervangen");
    case TransferMoment::Klaar:
        return QStringLiteral("klaar");
    }
    return QString();
}

void schrijf(const QString& regel)
{
    std::fputs(qPrintable(regel + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    // The selection steps may draw a groove figure's preview: a window-less platform suffices.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fputs("gebruik: transfer_kindproces <pakket> <getuigen> <schaal> [<moment>]\n", stderr);
        return 2;
    }
    const TransferPakket pakket{args.at(1), args.at(3).toInt()};
    const QDir getuigen(args.at(2));
    QString stop = args.value(4);
    const bool pauze = stop.startsWith(QStringLiteral("pauze:"));
    if (pauze)
        stop = stop.mid(6);

    TestEnvironment omgeving;
    const QString fout = KiesTransferPakket(pakket);
    if (!fout.isEmpty()) {
        schrijf(QStringLiteral("wizard: ") + QString(fout).replace(QLatin1Char('\n'), QLatin1Char('|')));
        return 1;
    }
    ZetHistoryKlok([] { return QDateTime(QDate(2024, 3, 5), QTime(10, 30)); });

    StapTransfer stap;
    QHash<QString, int> tellers;
    QElapsedTimer klok;
    stap.BijMoment = [&](TransferMoment moment, const TransferDoel* doel) {
        if (moment == TransferMoment::Gefaseerd && doel) {
            const QString getuige = getuigen.filePath(SoortCode(doel->soort) + QStringLiteral(".db"));
            QFile::remove(getuige);
            QFile::copy(doel->gefaseerdPad, getuige);
        }
        const QString naam = momentNaam(moment) + (doel ? QLatin1Char(':') + SoortCode(doel->soort) : QString());
        const QString sleutel = naam + QLatin1Char('#') + QString::number(++tellers[naam]);
        schrijf(QStringLiteral("moment ") + sleutel + QLatin1Char(' ') + QString::number(klok.elapsed()));
        if (sleutel == stop && pauze) {
            schrijf(QStringLiteral("gepauzeerd"));
            char regel[16];
            if (!std::fgets(regel, sizeof regel, stdin))
                schrijf(QStringLiteral("geen invoer"));
        } else if (sleutel == stop) {
            schrijf(QStringLiteral("gestopt"));
            for (;;)
                QThread::sleep(60);
        }
    };
    schrijf(QStringLiteral("begin"));
    klok.start();
    stap.StartTransfer();
    const StapTransfer::Tijden& t = stap.Tijdsbesteding();
    schrijf(QStringLiteral("tijden werkkopieen=%1 werkers=%2 historie=%3 faseren=%4 vervangen=%5 totaal=%6")
                .arg(t.werkkopieen)
                .arg(t.werkers)
                .arg(t.historie)
                .arg(t.faseren)
                .arg(t.vervangen)
                .arg(t.totaal));
    schrijf(QStringLiteral("einde ") + (stap.Eindmelding().isEmpty() ? QStringLiteral("ok")
                                                                     : stap.Eindmelding().simplified()));
    return stap.Eindmelding().isEmpty() ? 0 : 1;
}
