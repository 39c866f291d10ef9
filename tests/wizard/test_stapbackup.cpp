// The backup step without a window: the advice and the button for each mix
// of targets, the copies into the chosen folder with their questions and
// messages, the same file reached by another path, and a backup that stops
// counting once the targets change.

#include "database/doelbestand.h"
#include "start/globals.h"
#include "start/registryfuncties.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"
#include "wizard/stapbackup.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace supplink;
using namespace supplink::test;

namespace {

const QString kServer = QStringLiteral("*srv\x08Velmora\x08eSQLSecurity\x08sa\x08geheim");
const QString kBegin = QStringLiteral("\r\n\r\nIn de volgende stap worden de gegevens gekopieerd.\r\n\r\n");
const QString kVerplicht = QStringLiteral("Het is verplicht om nu een backup van uw stambestanden te maken, kies voor "
                                          "\u2018Backup\u2019 om de procedure te starten.");

void voegDoelToe(qint32 soort, const QString& pad, bool geselecteerd = true)
{
    auto doel = std::make_shared<clsDoelBestand>();
    doel->Soort = soort;
    doel->setPath(pad);
    doel->Geselecteerd = geselecteerd;
    globals().gDoelBestanden << doel;
}

QByteArray lees(const QString& pad)
{
    QFile bestand(pad);
    return bestand.open(QIODevice::ReadOnly) ? bestand.readAll() : QByteArray();
}

class Opstelling
{
public:
    Opstelling()
    {
        globals() = ProgramState();
        QDir(env.root()).mkpath(QStringLiteral("doelen"));
        QDir(env.root()).mkpath(QStringLiteral("backup"));
        for (const char* naam : {"pt.db", "opt.db"}) {
            QFile bestand(doel(QString::fromLatin1(naam)));
            bestand.open(QIODevice::WriteOnly);
            bestand.write(QByteArray("inhoud van ") + naam);
        }
    }
    ~Opstelling() { globals() = ProgramState(); }
    QString doel(const QString& naam) const { return env.path(QStringLiteral("doelen/") + naam); }
    QString backup(const QString& naam = QString()) const
    {
        return naam.isEmpty() ? env.path(QStringLiteral("backup")) : env.path(QStringLiteral("backup/") + naam);
    }

    TestEnvironment env;
    RecordingUiServices ui;
};

} // namespace

class TestStapBackup : public QObject
{
    Q_OBJECT

private slots:
    void advies_data()
    {
        QTest::addColumn<QStringList>("doelen");
        QTest::addColumn<QString>("vervolg");
        QTest::addColumn<bool>("knop");
        QTest::addColumn<bool>("verder");
        const QString beheer = QStringLiteral("Wij adviseren voor u verder gaat een backup te maken van uw productentabel "
                                              "via de Brevanto Project Beheerapplicatie.");
        QTest::newRow("no target") << QStringList{} << beheer << false << true;
        QTest::newRow("only SQL Server") << QStringList{kServer} << beheer << false << true;
        QTest::newRow("SQL Server and a file")
            << QStringList{kServer, QStringLiteral("opt.db")}
            << kVerplicht + QStringLiteral("\r\n\r\nEen backup van uw productentabel kan worden gemaakt via de Brevanto "
                                           "Project Beheerapplicatie.")
            << true << false;
        QTest::newRow("files only") << QStringList{QStringLiteral("pt.db"), QStringLiteral("opt.db")} << kVerplicht
                                    << true << false;
    }
    void advies()
    {
        QFETCH(QStringList, doelen);
        QFETCH(QString, vervolg);
        QFETCH(bool, knop);
        QFETCH(bool, verder);
        Opstelling o;
        for (const QString& doel : doelen)
            voegDoelToe(0, doel.startsWith(QLatin1Char('*')) ? doel : o.doel(doel));
        // A target that is not used does not count.
        voegDoelToe(3, o.doel(QStringLiteral("pt.db")), false);
        StapBackup stap;
        QSignalSpy kanVerder(&stap, &Stap::KanVerder);
        stap.Init();
        QCOMPARE(stap.AdviesTekst(), kBegin + vervolg);
        QCOMPARE(stap.BackupKnopAan(), knop);
        QCOMPARE(kanVerder.size(), 1);
        QCOMPARE(kanVerder.at(0).at(0).toBool(), verder);
    }

    // Every used file target is copied into the chosen folder; the folder is remembered with its separator.
    void succes()
    {
        Opstelling o;
        voegDoelToe(0, kServer);
        voegDoelToe(1, o.doel(QStringLiteral("opt.db")));
        voegDoelToe(0, o.doel(QStringLiteral("pt.db")));
        StapBackup stap;
        stap.Init();
        QSignalSpy kanVerder(&stap, &Stap::KanVerder);
        o.ui.folderAnswers.enqueue(o.backup());
        stap.cmdBackup_Click();
        QCOMPARE(o.ui.folderTitles, QList<QString>{QStringLiteral("Selecteer doelfolder voor de backup bestanden:")});
        QCOMPARE(o.ui.messages.size(), 1);
        QCOMPARE(o.ui.messages.at(0).text, QStringLiteral("Backup doelbestanden succesvol!"));
        QCOMPARE(o.ui.messages.at(0).style, MsgBox::OkOnly | MsgBox::Information);
        for (const QString naam : {QStringLiteral("opt.db"), QStringLiteral("pt.db")})
            QCOMPARE(lees(o.backup(naam)), lees(o.doel(naam)));
        QVERIFY(stap.BackupGemaakt());
        QCOMPARE(kanVerder.last().at(0).toBool(), true);
        QCOMPARE(CurrentUser_HaalOp(QStringLiteral("backup"), QStringLiteral("Path"), QString()),
                 o.backup() + QDir::separator());

        // The same targets again: the backup still counts. Other targets: a new backup is required.
        stap.Init();
        QCOMPARE(kanVerder.last().at(0).toBool(), true);
        voegDoelToe(3, o.env.path(QStringLiteral("doelen/wkv.db")));
        stap.Init();
        QCOMPARE(kanVerder.last().at(0).toBool(), false);
        QVERIFY(!stap.BackupGemaakt());
    }

    // The user refuses to overwrite an earlier backup: the failure message, Next stays disabled.
    void overschrijvenGeweigerd()
    {
        Opstelling o;
        voegDoelToe(0, o.doel(QStringLiteral("pt.db")));
        QFile oud(o.backup(QStringLiteral("pt.db")));
        QVERIFY(oud.open(QIODevice::WriteOnly));
        oud.write("vorige backup");
        oud.close();
        StapBackup stap;
        stap.Init();
        QSignalSpy kanVerder(&stap, &Stap::KanVerder);
        o.ui.folderAnswers.enqueue(o.backup());
        o.ui.messageAnswers.enqueue(MsgBox::No);
        stap.cmdBackup_Click();
        QCOMPARE(o.ui.messages.size(), 2);
        QCOMPARE(o.ui.messages.at(0).text, QStringLiteral("Bestand ") + QDir::toNativeSeparators(o.backup(QStringLiteral("pt.db"))) +
                                               QStringLiteral(" bestaat al, bestand overschrijven?"));
        QCOMPARE(MsgBox::buttons(o.ui.messages.at(0).style), int(MsgBox::YesNo));
        QCOMPARE(o.ui.messages.at(1).text, QStringLiteral("De backup procedure was niet succesvol!"));
        QCOMPARE(o.ui.messages.at(1).style, MsgBox::OkOnly | MsgBox::Critical);
        QCOMPARE(lees(o.backup(QStringLiteral("pt.db"))), QByteArray("vorige backup"));
        QCOMPARE(kanVerder.size(), 1);
        QCOMPARE(kanVerder.at(0).at(0).toBool(), false);

        // Yes overwrites.
        o.ui.clear();
        o.ui.folderAnswers.enqueue(o.backup());
        o.ui.messageAnswers.enqueue(MsgBox::Yes);
        stap.cmdBackup_Click();
        QCOMPARE(o.ui.messages.last().text, QStringLiteral("Backup doelbestanden succesvol!"));
        QCOMPARE(lees(o.backup(QStringLiteral("pt.db"))), lees(o.doel(QStringLiteral("pt.db"))));
    }

    // The backup folder is the target's own folder, also when reached by another path: the file is never
    // copied over itself.
    void zelfdeBestand_data()
    {
        QTest::addColumn<bool>("viaKoppeling");
        QTest::newRow("the target's folder") << false;
        QTest::newRow("a link to the target's folder") << true;
    }
    void zelfdeBestand()
    {
        QFETCH(bool, viaKoppeling);
        Opstelling o;
        voegDoelToe(0, o.doel(QStringLiteral("pt.db")));
        QString map = o.env.path(QStringLiteral("doelen"));
        if (viaKoppeling) {
            map = o.env.path(QStringLiteral("koppeling"));
            QVERIFY(QFile::link(o.env.path(QStringLiteral("doelen")), map));
        }
        const QByteArray voor = lees(o.doel(QStringLiteral("pt.db")));
        StapBackup stap;
        stap.Init();
        o.ui.folderAnswers.enqueue(map);
        stap.cmdBackup_Click();
        QCOMPARE(o.ui.messages.size(), 2);
        QCOMPARE(o.ui.messages.at(0).text, QStringLiteral("Bron en doel bestand gelijk!"));
        QCOMPARE(o.ui.messages.at(1).text, QStringLiteral("De backup procedure was niet succesvol!"));
        QCOMPARE(lees(o.doel(QStringLiteral("pt.db"))), voor);
        QVERIFY(!stap.BackupGemaakt());
    }

    // A cancelled folder picker changes nothing.
    void mapKiezerGeannuleerd()
    {
        Opstelling o;
        voegDoelToe(0, o.doel(QStringLiteral("pt.db")));
        StapBackup stap;
        stap.Init();
        QSignalSpy kanVerder(&stap, &Stap::KanVerder);
        stap.cmdBackup_Click();
        QVERIFY(o.ui.messages.isEmpty());
        QCOMPARE(kanVerder.size(), 1);
        QCOMPARE(kanVerder.at(0).at(0).toBool(), false);
        QVERIFY(QDir(o.backup()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestStapBackup)
#include "test_stapbackup.moc"
