// The kill test: a child process (transferkind.cpp) walks the wizard over the
// demo content package (transferpakket.h: every source kind it holds) and runs
// a real transfer into copies of its targets, and is killed with SIGKILL at
// twenty points spread over the run: at moments it is told to stop at (a
// worker starting or ending, the history written, each staged file complete,
// before and after each replacement) and after fractions of a whole run's
// time (inside the engines and the staging). After every kill each target
// must open, pass PRAGMA integrity_check and hold, byte for byte, either its
// old content or the staged file of the killed run; at a moment the test also
// knows which of the two. The leftovers of all those runs must be gone after
// the next whole run, whose result equals that of the first whole run.
//
// Two transfers into one folder (tweeOverdrachten): the first child is
// paused at a moment of each phase while a second one walks the wizard and
// starts its transfer; the second must be refused without changing a byte in
// the folder, and the first, let go, must give what a whole run alone gives.
// A second started after a killed first removes the leftovers and succeeds.

#include "database/sqlitebackend.h"
#include "platform/sqlitemirror.h"
#include "support/testenvironment.h"
#include "wizard/transferpakket.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QThread>

using namespace supplink;
using namespace supplink::test;

namespace {

const QString kKind = QStringLiteral(TRANSFER_KIND);
// The demo package at 2,000 articles.
constexpr int kSchaal = 8;

QByteArray lees(const QString& pad)
{
    QFile bestand(pad);
    return bestand.open(QIODevice::ReadOnly) ? bestand.readAll() : QByteArray();
}

QString integriteit(const QString& pad)
{
    try {
        const auto db = SqliteBackend::open(pad, {false, true});
        const std::optional<ResultData> rijen = db->run(QStringLiteral("PRAGMA integrity_check"));
        return rijen ? rijen->firstValue().toString() : QStringLiteral("geen antwoord");
    } catch (const std::exception& fout) {
        return QString::fromLocal8Bit(fout.what());
    }
}

// The moment of a line "moment <name>#<n> <ms>"; empty for another line.
QString momentVan(const QString& regel)
{
    return regel.startsWith(QStringLiteral("moment ")) ? regel.section(QLatin1Char(' '), 1, 1) : QString();
}

struct Uitkomst
{
    QStringList regels; // what the child wrote
    qint64 looptijd = 0; // milliseconds from "begin" to its end (whole runs)
    bool gedood = false;
};

} // namespace

class TestTransferKill : public QObject
{
    Q_OBJECT

    TestEnvironment m_env;
    TransferPakket m_pakket;
    QString m_getuigen;
    QString m_maten;
    QHash<DoelSoort, QByteArray> m_oud;
    QHash<DoelSoort, QByteArray> m_nieuw;

    void herstelDoelen()
    {
        for (const DoelSoort soort : kDoelVolgorde) {
            QFile::remove(m_pakket.doel(soort));
            QFile bestand(m_pakket.doel(soort));
            QVERIFY(bestand.open(QIODevice::WriteOnly));
            bestand.write(m_oud.value(soort));
        }
        QDir(m_getuigen).removeRecursively();
        QDir().mkpath(m_getuigen);
    }

    QStringList argumenten(const QString& stop, const QString& getuigen = QString()) const
    {
        QStringList args{m_pakket.map, getuigen.isEmpty() ? m_getuigen : getuigen, m_maten};
        if (!stop.isEmpty())
            args << stop;
        return args;
    }

    void zetOmgeving(QProcess& kind)
    {
        QProcessEnvironment omgeving = QProcessEnvironment::systemEnvironment();
        omgeving.insert(QStringLiteral("TMPDIR"), m_env.path(QStringLiteral("tmp")));
        kind.setProcessEnvironment(omgeving);
    }

    QString doelMap() const { return QFileInfo(m_pakket.doel(DoelSoort::PT)).absolutePath(); }

    // The files of the targets' folder besides the targets.
    QStringList andereBestanden() const
    {
        QStringList namen = QDir(doelMap()).entryList(QDir::Files | QDir::Hidden);
        for (const DoelSoort soort : kDoelVolgorde)
            namen.removeAll(QFileInfo(m_pakket.doel(soort)).fileName());
        return namen;
    }

    QHash<DoelSoort, QByteArray> doelInhoud() const
    {
        QHash<DoelSoort, QByteArray> inhoud;
        for (const DoelSoort soort : kDoelVolgorde)
            inhoud.insert(soort, lees(m_pakket.doel(soort)));
        return inhoud;
    }

    // Whether every target holds what a whole run alone gives.
    bool alsAlleen() const
    {
        for (const DoelSoort soort : kDoelVolgorde) {
            if (lees(m_pakket.doel(soort)) != m_nieuw.value(soort) ||
                integriteit(m_pakket.doel(soort)) != QLatin1String("ok"))
                return false;
        }
        return true;
    }

    // Runs the child; with a stop moment it is killed once it stops there, with a delay that many
    // milliseconds after it began (or after the moment `vanaf`), without either it runs to its end.
    Uitkomst draai(const QString& stop = QString(), int vertraging = -1, const QString& vanaf = QString(),
                   const QString& getuigen = QString())
    {
        Uitkomst uitkomst;
        QProcess kind;
        zetOmgeving(kind);
        kind.start(kKind, argumenten(stop, getuigen));
        if (!kind.waitForStarted(10000))
            return uitkomst;
        QElapsedTimer klok;
        QString buffer;
        const auto leesRegels = [&] {
            buffer += QString::fromUtf8(kind.readAllStandardOutput());
            while (buffer.contains(QLatin1Char('\n'))) {
                const qsizetype eind = buffer.indexOf(QLatin1Char('\n'));
                const QString regel = buffer.left(eind);
                buffer.remove(0, eind + 1);
                if (regel == QLatin1String("begin") ? vanaf.isEmpty() : momentVan(regel) == vanaf && !vanaf.isEmpty())
                    klok.start();
                uitkomst.regels << regel;
            }
        };
        while (kind.state() != QProcess::NotRunning) {
            kind.waitForReadyRead(vertraging >= 0 ? 1 : 200);
            leesRegels();
            const bool gestopt = !stop.isEmpty() && uitkomst.regels.contains(QStringLiteral("gestopt"));
            const bool tijd = vertraging >= 0 && klok.isValid() && klok.elapsed() >= vertraging;
            if (gestopt || tijd) {
                kind.kill(); // SIGKILL
                kind.waitForFinished(10000);
                uitkomst.gedood = kind.exitStatus() == QProcess::CrashExit;
                break;
            }
        }
        kind.waitForFinished(60000);
        leesRegels();
        if (klok.isValid())
            uitkomst.looptijd = klok.elapsed();
        return uitkomst;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(kKind), qPrintable(kKind));
        QDir().mkpath(m_env.path(QStringLiteral("tmp")));
        QString fout;
        m_pakket = SchrijfTransferPakket(m_env.path(QStringLiteral("pakket")), kSchaal, &fout);
        QVERIFY2(fout.isEmpty(), qPrintable(fout));
        m_maten = QString::number(kSchaal);
        m_getuigen = m_env.path(QStringLiteral("getuigen"));
        for (const DoelSoort soort : kDoelVolgorde)
            m_oud.insert(soort, lees(m_pakket.doel(soort)));
    }

    void twintigKills()
    {
        // A whole run, twice: it succeeds, and with its history dated by the injected clock it gives the
        // same bytes both times.
        herstelDoelen();
        const Uitkomst heel = draai();
        QVERIFY2(heel.regels.contains(QStringLiteral("einde ok")), qPrintable(heel.regels.join('\n')));
        for (const DoelSoort soort : kDoelVolgorde) {
            m_nieuw.insert(soort, lees(m_pakket.doel(soort)));
            QVERIFY(m_nieuw.value(soort) != m_oud.value(soort));
            QCOMPARE(integriteit(m_pakket.doel(soort)), QStringLiteral("ok"));
        }
        herstelDoelen();
        const Uitkomst warm = draai();
        QVERIFY(warm.regels.contains(QStringLiteral("einde ok")));
        for (const DoelSoort soort : kDoelVolgorde)
            QVERIFY2(lees(m_pakket.doel(soort)) == m_nieuw.value(soort), qPrintable(SoortCode(soort)));
        // When each moment came in the second (warm) whole run.
        QHash<QString, qint64> wanneer;
        for (const QString& regel : warm.regels) {
            if (!momentVan(regel).isEmpty())
                wanneer.insert(momentVan(regel), regel.section(QLatin1Char(' '), 2, 2).toLongLong());
        }
        // Every worker of the package ran: the last hardware file and the last article file too.
        QVERIFY(wanneer.contains(QStringLiteral("werker-klaar:opt#4")));
        QVERIFY(wanneer.contains(QStringLiteral("werker-klaar:pt#4")));
        qInfo("a whole run takes %lld ms (first run %lld ms)", static_cast<long long>(warm.looptijd),
              static_cast<long long>(heel.looptijd));

        // The kill points: moments (with, for each, the kinds already replaced there) and fractions of the
        // run.
        struct Punt
        {
            QString moment;
            double fractie = -1; // of the time from `vanaf` to `tot` in the warm run
            int vervangen = -1;  // kinds (in the order opt, pt, wkv, lib) replaced at the moment
            QString vanaf;
            QString tot;
        };
        // The workers run in the order of the phases: opt#1 the options database, opt#2 and opt#3 the
        // hardware combination CSV and workbook, opt#4 the hardware choice CSV; pt#1 the product table,
        // pt#2 to pt#4 the article CSV, workbook and XML export; lib#1 and wkv#1 the two databases.
        QList<Punt> punten{
            {QStringLiteral("werker-gestart:opt#1"), -1, 0}, {QStringLiteral("werker-gestart:opt#2"), -1, 0},
            {QStringLiteral("werker-gestart:opt#4"), -1, 0}, {QStringLiteral("werker-gestart:pt#1"), -1, 0},
            {QStringLiteral("werker-gestart:pt#4"), -1, 0},  {QStringLiteral("werker-gestart:lib#1"), -1, 0},
            {QStringLiteral("werker-gestart:wkv#1"), -1, 0}, {QStringLiteral("historie:lib#1"), -1, 0},
            {QStringLiteral("gefaseerd:opt#1"), -1, 0},      {QStringLiteral("gefaseerd:pt#1"), -1, 0},
            {QStringLiteral("gefaseerd:lib#1"), -1, 0},      {QStringLiteral("voor-vervangen:pt#1"), -1, 1},
            {QStringLiteral("voor-vervangen:wkv#1"), -1, 2}, {QStringLiteral("voor-vervangen:lib#1"), -1, 3},
            {QStringLiteral("vervangen:lib#1"), -1, 4},
        };
        // Halfway through the product-table engine, the article CSV import and the library engine, and
        // through the writing of two staged files.
        for (const auto& [vanaf, tot] : {std::pair{"werker-gestart:pt#1", "werker-klaar:pt#1"},
                                         std::pair{"werker-gestart:pt#2", "werker-klaar:pt#2"},
                                         std::pair{"werker-gestart:lib#1", "werker-klaar:lib#1"},
                                         std::pair{"historie:lib#1", "gefaseerd:opt#1"},
                                         std::pair{"gefaseerd:opt#1", "gefaseerd:pt#1"}})
            punten << Punt{QString(), 0.5, -1, QString::fromLatin1(vanaf), QString::fromLatin1(tot)};
        QCOMPARE(punten.size(), 20);

        int overleefd = 0;
        QStringList verslag;
        for (const Punt& punt : punten) {
            herstelDoelen();
            Uitkomst uitkomst;
            QString naam = punt.moment;
            if (punt.moment.isEmpty()) {
                // A run may be quicker than the warm one: a kill that came too late is tried again sooner.
                double deel = punt.fractie;
                for (int poging = 0; poging < 4 && !uitkomst.gedood; ++poging, deel /= 2) {
                    herstelDoelen();
                    const qint64 duur = wanneer.value(punt.tot) - wanneer.value(punt.vanaf);
                    uitkomst = draai(QString(), qMax<int>(1, int(duur * deel)), punt.vanaf);
                }
                naam = QStringLiteral("between %1 and %2").arg(punt.vanaf, punt.tot);
            } else {
                uitkomst = draai(punt.moment);
            }
            QStringList staat;
            // Where a kill by time landed: after the last moment the child reported.
            QString laatste = QStringLiteral("begin");
            for (const QString& regel : uitkomst.regels)
                if (!momentVan(regel).isEmpty())
                    laatste = momentVan(regel);
            bool goed = uitkomst.gedood;
            if (!uitkomst.gedood)
                staat << QStringLiteral("not killed: ") + uitkomst.regels.join(QLatin1Char('|'));
            int index = 0;
            for (const DoelSoort soort : kDoelVolgorde) {
                const QString pad = m_pakket.doel(soort);
                const QByteArray nu = lees(pad);
                const QString check = integriteit(pad);
                const QByteArray getuige = lees(QDir(m_getuigen).filePath(SoortCode(soort) + QStringLiteral(".db")));
                const bool oud = nu == m_oud.value(soort);
                const bool nieuw = !getuige.isEmpty() && nu == getuige;
                QString toestand = oud ? QStringLiteral("old") : nieuw ? QStringLiteral("new") : QStringLiteral("MIXED");
                if (check != QLatin1String("ok"))
                    toestand += QStringLiteral(" (") + check + QLatin1Char(')');
                goed = goed && check == QLatin1String("ok") && (oud || nieuw);
                // At a moment the test knows which content each target must hold.
                if (punt.vervangen >= 0)
                    goed = goed && (index < punt.vervangen ? nieuw && nu == m_nieuw.value(soort) : oud);
                staat << SoortCode(soort) + QLatin1Char(' ') + toestand;
                ++index;
            }
            if (goed)
                ++overleefd;
            verslag << QStringLiteral("%1 (after %2): %3%4")
                           .arg(naam, laatste, staat.join(QStringLiteral(", ")),
                                goed ? QString() : QStringLiteral("  <- FAILED"));
        }
        for (const QString& regel : verslag)
            qInfo("%s", qPrintable(regel));
        qInfo("kills survived: %d / %lld", overleefd, static_cast<long long>(punten.size()));
        QCOMPARE(overleefd, int(punten.size()));

        // The next whole run removes every leftover of the killed ones and gives the first run's result.
        herstelDoelen();
        QVERIFY(draai().regels.contains(QStringLiteral("einde ok")));
        QStringList anders = QDir(QFileInfo(m_pakket.doel(DoelSoort::PT)).absolutePath()).entryList(QDir::Files | QDir::Hidden);
        for (const DoelSoort soort : kDoelVolgorde) {
            anders.removeAll(QFileInfo(m_pakket.doel(soort)).fileName());
            QVERIFY(lees(m_pakket.doel(soort)) == m_nieuw.value(soort));
        }
        QCOMPARE(anders, QStringList());
    }

    // Two transfers into one folder. The first is paused at a moment of each phase while a second one walks
    // the wizard and starts: the second is refused before it changes anything (the targets and the files
    // beside them stay as they were at the pause), and the first, let go, ends as it would alone. Then the
    // first is killed and a second started after it: it removes the leftovers and succeeds.
    void tweeOverdrachten()
    {
        if (m_nieuw.isEmpty()) {
            herstelDoelen();
            QVERIFY(draai().regels.contains(QStringLiteral("einde ok")));
            m_nieuw = doelInhoud();
        }
        const QString getuigen2 = m_env.path(QStringLiteral("getuigen2"));
        QDir().mkpath(getuigen2);
        const QStringList pauzes{
            QStringLiteral("werker-gestart:opt#1"), QStringLiteral("werker-klaar:pt#4"),
            QStringLiteral("historie:lib#1"),       QStringLiteral("gefaseerd:pt#1"),
            QStringLiteral("voor-vervangen:pt#1"),  QStringLiteral("voor-vervangen:lib#1")};
        int goed = 0;
        QStringList verslag;
        for (const QString& pauze : pauzes) {
            herstelDoelen();
            QProcess eerste;
            zetOmgeving(eerste);
            eerste.start(kKind, argumenten(QStringLiteral("pauze:") + pauze));
            QVERIFY(eerste.waitForStarted(10000));
            QString uitvoer;
            QElapsedTimer klok;
            klok.start();
            while (!uitvoer.contains(QStringLiteral("\ngepauzeerd\n")) &&
                   eerste.state() != QProcess::NotRunning && klok.elapsed() < 300000) {
                eerste.waitForReadyRead(200);
                uitvoer += QString::fromUtf8(eerste.readAllStandardOutput());
            }
            QVERIFY2(uitvoer.contains(QStringLiteral("\ngepauzeerd\n")),
                     qPrintable(pauze + QLatin1Char('\n') + uitvoer));
            const QHash<DoelSoort, QByteArray> bijPauze = doelInhoud();
            const QStringList bestandenBijPauze = andereBestanden();

            const Uitkomst tweede = draai(QString(), -1, QString(), getuigen2);
            QString tweedeEinde;
            for (const QString& regel : tweede.regels)
                if (regel.startsWith(QStringLiteral("einde ")))
                    tweedeEinde = regel;
            const bool geweigerd =
                tweedeEinde.contains(QStringLiteral("wordt op dit moment bijgewerkt door een "
                                                    "andere overdracht")) &&
                tweedeEinde.contains(QDir::toNativeSeparators(QDir(doelMap()).canonicalPath()));
            const bool ongewijzigd = doelInhoud() == bijPauze && andereBestanden() == bestandenBijPauze;

            eerste.write("verder\n");
            eerste.closeWriteChannel();
            eerste.waitForFinished(300000);
            uitvoer += QString::fromUtf8(eerste.readAllStandardOutput());
            const bool eersteOk = uitvoer.contains(QStringLiteral("\neinde ok\n")) && alsAlleen() &&
                                  andereBestanden().isEmpty();
            const bool alles = geweigerd && ongewijzigd && eersteOk;
            if (alles)
                ++goed;
            verslag << QStringLiteral("paused at %1: second %2, %3; first %4%5")
                           .arg(pauze, geweigerd ? QStringLiteral("refused") : tweedeEinde,
                                ongewijzigd ? QStringLiteral("nothing changed")
                                            : QStringLiteral("FILES CHANGED"),
                                eersteOk ? QStringLiteral("as alone")
                                         : uitvoer.section(QLatin1Char('\n'), -2),
                                alles ? QString() : QStringLiteral("  <- FAILED"));
        }
        for (const QString& regel : verslag)
            qInfo("%s", qPrintable(regel));
        QCOMPARE(goed, int(pauzes.size()));

        // A killed first transfer leaves its files and its lock file; the second takes the lock over.
        for (const QString& moment :
             {QStringLiteral("werker-gestart:pt#2"), QStringLiteral("gefaseerd:pt#1")}) {
            herstelDoelen();
            const Uitkomst gedood = draai(moment);
            QVERIFY2(gedood.gedood, qPrintable(moment));
            QVERIFY2(!andereBestanden().isEmpty(), qPrintable(moment));
            const Uitkomst tweede = draai(QString(), -1, QString(), getuigen2);
            QVERIFY2(tweede.regels.contains(QStringLiteral("einde ok")),
                     qPrintable(tweede.regels.join('\n')));
            QVERIFY2(alsAlleen(), qPrintable(moment));
            QCOMPARE(andereBestanden(), QStringList());
        }
    }

    // Targets that another program keeps in WAL mode (closed now, no log beside them): a whole run
    // succeeds, each target keeps WAL mode and holds what a run into the same targets in rollback mode
    // gives, and nothing of the transfer is left in the folder: no work copy or staged file, and none of
    // their -wal, -shm or -journal files.
    void walDoelen()
    {
        herstelDoelen();
        QVERIFY(draai().regels.contains(QStringLiteral("einde ok")));
        QHash<DoelSoort, QString> gewoon;
        for (const DoelSoort soort : kDoelVolgorde)
            gewoon.insert(soort, rijen(m_pakket.doel(soort)));

        herstelDoelen();
        for (const DoelSoort soort : kDoelVolgorde) {
            const auto db = SqliteBackend::open(m_pakket.doel(soort));
            QCOMPARE(db->run(QStringLiteral("PRAGMA journal_mode=WAL"))->firstValue().toString(),
                     QStringLiteral("wal"));
            db->close();
            QVERIFY(walModus(m_pakket.doel(soort)));
        }
        const Uitkomst uitkomst = draai();
        QVERIFY2(uitkomst.regels.contains(QStringLiteral("einde ok")), qPrintable(uitkomst.regels.join('\n')));
        QStringList restanten;
        for (const QString& naam : QDir(doelMap()).entryList(QDir::Files | QDir::Hidden))
            if (naam.contains(QLatin1String(".supplink-werkkopie")) || naam.contains(QLatin1String(".supplink-nieuw")))
                restanten << naam;
        QCOMPARE(restanten, QStringList());
        for (const DoelSoort soort : kDoelVolgorde) {
            const QString pad = m_pakket.doel(soort);
            QVERIFY2(walModus(pad), qPrintable(SoortCode(soort)));
            QCOMPARE(integriteit(pad), QStringLiteral("ok"));
            QVERIFY2(rijen(pad) == gewoon.value(soort), qPrintable(SoortCode(soort)));
        }
        QCOMPARE(andereBestanden(), QStringList());
    }

private:
    // The file header's read and write versions: 2 for WAL mode.
    static bool walModus(const QString& pad)
    {
        const QByteArray kop = lees(pad).left(20);
        return kop.size() == 20 && kop.at(18) == 2 && kop.at(19) == 2;
    }
    // Every row of every table of the file, in a fixed order, as one digest.
    static QString rijen(const QString& pad)
    {
        QCryptographicHash hash(QCryptographicHash::Sha256);
        try {
            const auto db = SqliteBackend::open(pad);
            const auto tabellen = db->run(QStringLiteral(
                "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' ORDER BY name"));
            for (qsizetype t = 0; tabellen && t < tabellen->rowCount(); ++t) {
                const QString tabel = tabellen->rows.row(t)[0].toString();
                hash.addData(tabel.toUtf8());
                const auto inhoud = db->run(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(quoteSqlIdentifier(tabel)));
                for (qsizetype r = 0; inhoud && r < inhoud->rowCount(); ++r) {
                    const QVariant* rij = inhoud->rows.row(r);
                    for (int k = 0; k < inhoud->rows.width(); ++k)
                        hash.addData((rij[k].isNull() ? QStringLiteral("<null>") : rij[k].toString()).toUtf8() + '\x1f');
                }
            }
            db->close();
        } catch (const std::exception& fout) {
            return QString::fromLocal8Bit(fout.what());
        }
        return QString::fromLatin1(hash.result().toHex());
    }
};

QTEST_GUILESS_MAIN(TestTransferKill)
#include "test_transferkill.moc"
