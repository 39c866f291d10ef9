// The whole wizard on the demo content package, as a user runs it: the main
// window of the program's own register with "voorbeeld.dat" beside it, the
// supplier VOORBEELD chosen in the welcome step, the sources of the folder
// "voorbeeld/bronnen" added in step 2 (the column mapping of the article
// price list filled in), copies of the targets of "voorbeeld/doelen" chosen
// in step 3, the options left as step 4 offers them, items ticked in every
// selection step that is shown, the backup made in step 16, the transfer run
// by step 17 and its log read in step 18. Then the targets: what the sources
// bring is there (articles with prices, groups and suppliers; hardware
// combinations and choices; library families with their children; groove
// shapes with geometry, nodes and names; the history), and every table the
// sources do not speak of is as it was (a digest per table). One row per
// source kind alone and one with every kind; each row runs a second time over
// the same targets, which then changes nothing but the history.
//
// UI services answer from the recording fake; the program's own dialogs
// (column mapping, type selection) are filled in through setModaalTonen.

#include "database/clsconnectie.h"
#include "database/doelbestand.h"
#include "database/recordset.h"
#include "fixtures/designdatabases.h"
#include "selection/ui/usreigenselectiestap.h"
#include "selection/ui/usrlistview.h"
#include "selection/ui/usrlistviewcombo.h"
#include "selection/ui/usrstapselectalgemeen.h"
#include "sources/ui/frmcolumnselectionwizard.h"
#include "sources/ui/frmtypeselectionwizard.h"
#include "start/globals.h"
#include "start/veldcatalogus.h"
#include "start/ui/modaaltonen.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"
#include "voorbeeld/voorbeeldpakket.h"
#include "wizard/ui/frmimportbvqnaarbvq.h"
#include "wizard/ui/stapregister.h"
#include "wizard/ui/usrimportopties.h"
#include "wizard/ui/usrstapbackup.h"
#include "wizard/ui/usrstapresultaat.h"
#include "wizard/ui/usrstapselectbronbestanden3.h"
#include "wizard/ui/usrstapselectdoelbestanden.h"
#include "wizard/ui/usrtransfer.h"
#include "wizard/ui/usrwelkom.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QLineEdit>
#include <QRadioButton>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QXmlStreamReader>

#include <memory>
#include <optional>

using namespace supplink;
using namespace supplink::test;

namespace {

// The four targets of "voorbeeld/doelen", by the kind step 3 gives them (clsDoelBestand::Soort).
const QList<QPair<int, const char*>>& Doelen()
{
    static const QList<QPair<int, const char*>> doelen{{0, voorbeeld::kDoelProducten},
                                                        {1, voorbeeld::kDoelOnderhoud},
                                                        {2, voorbeeld::kDoelBibliotheek},
                                                        {3, voorbeeld::kDoelWerkvoorbereiding}};
    return doelen;
}

QString Bestandsnaam(const char* relatief)
{
    return QFileInfo(QString::fromLatin1(relatief)).fileName();
}

// One table's rows as a digest: every row's values in column order, the rows sorted.
using TabelDigest = QMap<QString, QByteArray>;

// zonderId leaves out the column "ID": child rows that a run deletes and adds again with the same content
// get new numbers.
TabelDigest Digest(const QString& pad, bool zonderId = false)
{
    TabelDigest digest;
    fixtures::FixtureDb db(pad);
    const std::optional<ResultData> tabellen = db.connection()->run(
        QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND name<>'sqlite_sequence' ORDER BY name"));
    for (qsizetype t = 0; tabellen && t < tabellen->rows.size(); ++t) {
        const QString tabel = tabellen->rows.row(t)[0].toString();
        const std::optional<ResultData> rijen =
            db.connection()->run(QStringLiteral("SELECT * FROM \"%1\"").arg(tabel));
        QStringList teksten;
        for (qsizetype r = 0; rijen && r < rijen->rows.size(); ++r) {
            QStringList waarden;
            for (int k = 0; k < rijen->columns.size(); ++k) {
                if (zonderId && rijen->columns.at(k).name.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0)
                    continue;
                const QVariant waarde = rijen->rows.row(r)[k];
                waarden << (waarde.isNull() ? QStringLiteral("<null>") : waarde.toString());
            }
            teksten << waarden.join(QChar(0x1f));
        }
        teksten.sort();
        digest.insert(tabel, QCryptographicHash::hash(teksten.join(QChar(0x1e)).toUtf8(), QCryptographicHash::Sha1));
    }
    return digest;
}

// A list of values of the first column of a query.
QStringList Kolom(const QString& pad, const QString& sql)
{
    fixtures::FixtureDb db(pad);
    QStringList uit;
    const std::optional<ResultData> rijen = db.connection()->run(sql);
    for (qsizetype r = 0; rijen && r < rijen->rows.size(); ++r)
        uit << rijen->rows.row(r)[0].toString();
    return uit;
}

// The user's own rows (codes EIGEN-...) of every table with a code, as a digest.
TabelDigest EigenRijen(const QString& pad)
{
    TabelDigest digest;
    const QStringList tabellen = Kolom(
        pad, QStringLiteral("SELECT m.name FROM sqlite_master m WHERE m.type='table' AND EXISTS "
                            "(SELECT 1 FROM pragma_table_info(m.name) c WHERE c.name='Code')"));
    for (const QString& tabel : tabellen) {
        QStringList rijen = Kolom(pad, QStringLiteral("SELECT quote(t.Code) || '|' || quote(t.Description) || '|' || "
                                                      "quote(t.ID) FROM \"%1\" t WHERE t.Code LIKE 'EIGEN%'")
                                           .arg(tabel));
        rijen.sort();
        digest.insert(tabel, rijen.join(QLatin1Char('\n')).toUtf8());
    }
    return digest;
}

// The target kind (clsDoelBestand::Soort) a source of the folder "bronnen" is taken into.
int DoelVanBron(const QString& bron)
{
    using namespace voorbeeld;
    if (bron == QLatin1String(kBronWerkvoorbereiding))
        return 3;
    if (bron == QLatin1String(kBronBibliotheek))
        return 2;
    if (bron == QLatin1String(kBronOnderhoud) || bron.contains(QLatin1String("hangsluitwerk")))
        return 1;
    return 0;
}

// Whether the table of the target may change when the sources are taken into it.
bool MagWijzigen(int doel, const QString& tabel, const QStringList& bronnen)
{
    using namespace voorbeeld;
    if (tabel.startsWith(QLatin1String("ImportHistory")))
        return true;
    switch (doel) {
    case 0:
        if (tabel == QLatin1String("Supplier") || tabel.startsWith(QLatin1String("PriceData")))
            return bronnen.contains(QLatin1String(kBronProducten));
        if (tabel == QLatin1String("Colors"))
            return bronnen.contains(QLatin1String(kBronMaterialenXml));
        return tabel == QLatin1String("Article") || tabel == QLatin1String("ArtGroup");
    case 1:
        return tabel != QLatin1String("SysDBInfo");
    case 2:
        return tabel != QLatin1String("SysDBInfo") && tabel != QLatin1String("GrooveShape");
    default:
        return tabel.startsWith(QLatin1String("GrooveShape"));
    }
}

// An article of a target or source: price per unit, group code and description, supplier code, width and
// trade length.
struct ArtikelStand
{
    double prijs = 0;
    QString groep, groepOmschrijving, leverancier;
    double breedte = 0;
    double handelslengte = 0;
};

QHash<QString, ArtikelStand> Artikelen(const QString& pad)
{
    QHash<QString, ArtikelStand> artikelen;
    fixtures::FixtureDb db(pad);
    const std::optional<ResultData> rijen = db.connection()->run(QStringLiteral(
        "SELECT a.Code, a.PriceUnit, g.Code, g.Description, s.Code, a.w, a.TradeLength FROM Article a LEFT JOIN "
        "ArtGroup g ON g.ID = a.fkGroup LEFT JOIN Supplier s ON s.ID = a.fkSupplier"));
    for (qsizetype r = 0; rijen && r < rijen->rows.size(); ++r) {
        const auto rij = rijen->rows.row(r);
        artikelen.insert(rij[0].toString(), {rij[1].toDouble(), rij[2].toString(), rij[3].toString(),
                                             rij[4].toString(), rij[5].toDouble(), rij[6].toDouble()});
    }
    return artikelen;
}

// The rows of a supplier's CSV file after its title line, as fields.
QList<QStringList> CsvRegels(const QString& pad)
{
    QFile bestand(pad);
    if (!bestand.open(QIODevice::ReadOnly))
        return {};
    QList<QStringList> regels;
    // Windows-1252; the fields compared here (codes, numbers) are ASCII.
    for (const QString& regel : QString::fromLatin1(bestand.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        regels << regel.split(QLatin1Char(';'));
    if (!regels.isEmpty())
        regels.removeFirst();
    return regels;
}

// The price rows of the articles of a product table, per article code: "code|W|Price" or "code|W|H|Price",
// sorted; only the codes given when there are any.
QStringList PrijsRijen(const QString& pad, const QSet<QString>& codes = {})
{
    QStringList rijen;
    fixtures::FixtureDb db(pad);
    for (const QString& sql :
         {QStringLiteral("SELECT a.Code, a.Code || '|' || p.W || '|' || p.Price FROM PriceData1D p JOIN Article a "
                         "ON a.ID = p.fkArticle"),
          QStringLiteral("SELECT a.Code, a.Code || '|' || p.W || '|' || p.H || '|' || p.Price FROM PriceData2D p "
                         "JOIN Article a ON a.ID = p.fkArticle")}) {
        const std::optional<ResultData> uit = db.connection()->run(sql);
        for (qsizetype r = 0; uit && r < uit->rows.size(); ++r) {
            if (codes.isEmpty() || codes.contains(uit->rows.row(r)[0].toString()))
                rijen << uit->rows.row(r)[1].toString();
        }
    }
    rijen.sort();
    return rijen;
}

double DutchGetal(const QString& tekst)
{
    return QString(tekst).remove(QLatin1Char('.')).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
}

// The program's register with the welcome step looking for content packages in the folder.
QList<StapRegistratie> RegisterMetProgrammaMap(const QString& programma)
{
    QList<StapRegistratie> stappen = StapRegister();
    for (StapRegistratie& registratie : stappen) {
        if (registratie.stappen == QList<int>{1})
            registratie.maak = [programma](QWidget* parent) {
                auto* view = new usrWelkom(parent);
                view->stap().setProgrammaMap(programma);
                return StapOnderdelen{view, &view->stap()};
            };
    }
    return stappen;
}

} // namespace

class EindTotEindTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_programma.isValid());
        QString fout;
        QVERIFY2(voorbeeld::SchrijfVoorbeeld(m_programma.path(), 1, &fout), qPrintable(fout));
    }
    void init()
    {
        globals() = ProgramState();
        m_env.emplace();
    }
    void cleanup()
    {
        setModaalTonen({});
        globals() = ProgramState();
        m_env.reset();
    }

    void wizard_data();
    void wizard();

private:
    QString VoorbeeldPad(const char* relatief) const
    {
        return QDir(m_programma.path()).filePath(voorbeeld::PadInVoorbeeldMap(relatief));
    }
    // One walk through the wizard from step 1 to 18; the sources are added when the list is empty.
    void Rit(const QStringList& bronnen, const QString& doelMap, RecordingUiServices& recorder, int rit);
    // What one source brought into its target; values only where no later source of the run changes them.
    void ControleerBron(const QString& bron, const QStringList& bronnen, const QMap<int, QString>& doelen);

    QTemporaryDir m_programma;
    QSet<QString> m_vooraf; // article and groove-shape codes the user's targets held before the run
    std::optional<TestEnvironment> m_env;
};

void EindTotEindTest::wizard_data()
{
    QTest::addColumn<QStringList>("bronnen");
    using namespace voorbeeld;
    const QStringList alle{kBronArtikelCsv,        kBronArtikelWerkmap, kBronHangSluitCombiCsv,
                           kBronHangSluitCombiWerkmap, kBronHangSluitKeuzeCsv, kBronMaterialenXml,
                           kBronProducten,         kBronOnderhoud,      kBronBibliotheek,
                           kBronWerkvoorbereiding};
    for (const QString& bron : alle)
        QTest::newRow(qPrintable(QFileInfo(bron).fileName())) << QStringList{bron};
    QTest::newRow("alle") << alle;
}

void EindTotEindTest::wizard()
{
    QFETCH(QStringList, bronnen);
    RecordingUiServices recorder;
    // Copies of the user's targets, with a digest of every table and of the user's own rows.
    const QString doelMap = m_env->path(QStringLiteral("doelen"));
    QVERIFY(QDir().mkpath(doelMap));
    QMap<int, QString> doelen;
    QMap<int, TabelDigest> voor, eigenVoor;
    for (const auto& doel : Doelen()) {
        const QString kopie = QDir(doelMap).filePath(Bestandsnaam(doel.second));
        QVERIFY(QFile::copy(VoorbeeldPad(doel.second), kopie));
        QVERIFY(QFile::setPermissions(kopie, QFile::ReadOwner | QFile::WriteOwner));
        doelen.insert(doel.first, kopie);
        voor.insert(doel.first, Digest(kopie));
        eigenVoor.insert(doel.first, EigenRijen(kopie));
    }
    QStringList paden;
    for (const QString& bron : bronnen)
        paden << VoorbeeldPad(qPrintable(bron));
    // Groups are found by their description: a group the user had is never made a second time (a new group
    // named as one of them, by its description or its code, would be that).
    const QStringList groepCodesVooraf = Kolom(doelen.value(0), QStringLiteral("SELECT Code FROM ArtGroup"));
    const QStringList groepNamenVooraf =
        groepCodesVooraf + Kolom(doelen.value(0), QStringLiteral("SELECT Description FROM ArtGroup"));
    m_vooraf.clear();
    for (const QString& code : Kolom(doelen.value(0), QStringLiteral("SELECT Code FROM Article")) +
                                   Kolom(doelen.value(3), QStringLiteral("SELECT Code FROM GrooveShape")))
        m_vooraf.insert(code);

    Rit(paden, doelMap, recorder, 1);
    if (QTest::currentTestFailed())
        return;

    // The targets the sources speak of, and only those, were written.
    QSet<int> geschreven;
    for (const QString& bron : bronnen)
        geschreven.insert(DoelVanBron(bron));
    for (auto it = doelen.cbegin(); it != doelen.cend(); ++it) {
        const TabelDigest na = Digest(it.value());
        const QStringList vooraf = voor.value(it.key()).keys();
        const QStringList nu = na.keys();
        QCOMPARE(QSet<QString>(nu.cbegin(), nu.cend()).subtract({vooraf.cbegin(), vooraf.cend()}),
                 geschreven.contains(it.key()) ? (QSet<QString>{QStringLiteral("ImportHistory"),
                                                               QStringLiteral("ImportHistoryDetails")})
                                               : QSet<QString>());
        for (auto tabel = voor.value(it.key()).cbegin(); tabel != voor.value(it.key()).cend(); ++tabel) {
            const bool magWijzigen =
                geschreven.contains(it.key()) && MagWijzigen(it.key(), tabel.key(), bronnen);
            if (!magWijzigen)
                QVERIFY2(na.value(tabel.key()) == tabel.value(),
                         qPrintable(it.value() + QStringLiteral(": ") + tabel.key()));
        }
        // The user's own rows (codes EIGEN-...) are as they were in every table.
        QCOMPARE(EigenRijen(it.value()), eigenVoor.value(it.key()));
        if (geschreven.contains(it.key()))
            QVERIFY2(!Kolom(it.value(), QStringLiteral("SELECT ID FROM ImportHistory")).isEmpty(),
                     qPrintable(it.value()));
    }

    for (const QString& groep : Kolom(doelen.value(0), QStringLiteral("SELECT Code || '|' || Description FROM ArtGroup"))) {
        if (!groepCodesVooraf.contains(groep.section(QLatin1Char('|'), 0, 0)))
            QVERIFY2(!groepNamenVooraf.contains(groep.section(QLatin1Char('|'), 1), Qt::CaseInsensitive),
                     qPrintable(groep));
    }

    // What each source brought.
    for (const QString& bron : bronnen)
        ControleerBron(bron, bronnen, doelen);
    if (QTest::currentTestFailed())
        return;

    // A second run over the same targets: the sources and targets as the wizard remembered them for the
    // supplier; nothing changes but the history.
    QMap<int, TabelDigest> naEerste;
    for (auto it = doelen.cbegin(); it != doelen.cend(); ++it)
        naEerste.insert(it.key(), Digest(it.value(), true));
    // A choice is written again with its links under a new number: its links are compared by code.
    const QString keuzeLinks = QStringLiteral(
        "SELECT k.Code || ':' || ifnull(c.Code, l.fkLockHingeCombi) FROM CustomLHCombi k JOIN CustomLH l ON "
        "l.fkCustomLHCombi = k.ID LEFT JOIN LocksHingesCombi c ON c.ID = l.fkLockHingeCombi ORDER BY 1");
    const QStringList linksNaEerste = Kolom(doelen.value(1), keuzeLinks);
    Rit(paden, doelMap, recorder, 2);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(Kolom(doelen.value(1), keuzeLinks), linksNaEerste);
    for (auto it = doelen.cbegin(); it != doelen.cend(); ++it) {
        const TabelDigest na = Digest(it.value(), true);
        for (auto tabel = na.cbegin(); tabel != na.cend(); ++tabel) {
            if (!tabel.key().startsWith(QLatin1String("ImportHistory")) && tabel.key() != QLatin1String("CustomLH"))
                QVERIFY2(naEerste.value(it.key()).value(tabel.key()) == tabel.value(),
                         qPrintable(it.value() + QStringLiteral(": ") + tabel.key()));
        }
        if (geschreven.contains(it.key()))
            QCOMPARE(Kolom(it.value(), QStringLiteral("SELECT ID FROM ImportHistory")).size(), 2);
    }
}

void EindTotEindTest::ControleerBron(const QString& bron, const QStringList& bronnen, const QMap<int, QString>& doelen)
{
    using namespace voorbeeld;
    const QString pad = VoorbeeldPad(qPrintable(bron));
    const QString doel = doelen.value(DoelVanBron(bron));
    const bool alleen = bronnen.size() == 1;
    const QString wat = bron + QStringLiteral(": ");
    if (bron == QLatin1String(kBronProducten)) {
        // Every article of the supplier's product table, with its price, group and supplier.
        const QHash<QString, ArtikelStand> doelArtikelen = Artikelen(doel);
        const QHash<QString, ArtikelStand> bronArtikelen = Artikelen(pad);
        QVERIFY(!bronArtikelen.isEmpty());
        for (auto it = bronArtikelen.cbegin(); it != bronArtikelen.cend(); ++it) {
            QVERIFY2(doelArtikelen.contains(it.key()), qPrintable(wat + it.key()));
            const ArtikelStand& stand = doelArtikelen.value(it.key());
            QCOMPARE(stand.prijs, it.value().prijs);
            QCOMPARE(stand.groep, it.value().groep);
            QCOMPARE(stand.leverancier, QString::fromLatin1(kLeverancierCode));
        }
        // The price rows of every article the run took, new or existing, are the source's: an existing
        // article's rows of last year are replaced, never kept beside the new ones.
        const QStringList bronPrijzen = PrijsRijen(pad);
        QVERIFY(!bronPrijzen.isEmpty());
        const QStringList codes = bronArtikelen.keys();
        QCOMPARE(PrijsRijen(doel, {codes.cbegin(), codes.cend()}), bronPrijzen);
    } else if (bron == QLatin1String(kBronArtikelCsv)) {
        // Codes, groups, prices and widths (centimetres in the file) of the price list.
        const QHash<QString, ArtikelStand> doelArtikelen = Artikelen(doel);
        const QList<QStringList> regels = CsvRegels(pad);
        QVERIFY(!regels.isEmpty());
        for (const QStringList& regel : regels) {
            QVERIFY2(doelArtikelen.contains(regel.at(0)), qPrintable(wat + regel.at(0)));
            const ArtikelStand& stand = doelArtikelen.value(regel.at(0));
            // The file names the group by its description.
            QCOMPARE(stand.groepOmschrijving, regel.at(2));
            if (!alleen)
                continue;
            QCOMPARE(stand.prijs, DutchGetal(regel.at(4)));
            if (!regel.at(5).isEmpty())
                QCOMPARE(stand.breedte, DutchGetal(regel.at(5)) * 10.0);
        }
    } else if (bron == QLatin1String(kBronArtikelWerkmap)) {
        clsConnectie cn;
        QVERIFY2(cn.MakenExcelConnectie(pad, true), qPrintable(cn.lastOpenError()));
        const RecordsetPtr rs = cn.Connection()->openRecordset(QStringLiteral("SELECT * FROM [Artikelen$]"));
        const QHash<QString, ArtikelStand> doelArtikelen = Artikelen(doel);
        QVERIFY(!rs->eof());
        for (; !rs->eof(); rs->moveNext()) {
            const QString code = rs->value(0).toString();
            QVERIFY2(doelArtikelen.contains(code), qPrintable(wat + code));
            QCOMPARE(doelArtikelen.value(code).groepOmschrijving, rs->value(2).toString());
            if (alleen)
                QCOMPARE(doelArtikelen.value(code).prijs, rs->value(4).toDouble());
        }
        cn.SluitenConnectie();
    } else if (bron == QLatin1String(kBronMaterialenXml)) {
        // The material number is the code, the net price the price, the length (metres) the trade length in
        // millimetres.
        QFile bestand(pad);
        QVERIFY(bestand.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&bestand);
        const QHash<QString, ArtikelStand> doelArtikelen = Artikelen(doel);
        QString prijs, lengte;
        int gezien = 0;
        while (xml.readNextStartElement() || !xml.atEnd()) {
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("NETPRICE")) {
                prijs = xml.readElementText();
            } else if (xml.name() == QLatin1String("LENGTH")) {
                lengte = xml.readElementText();
            } else if (xml.name() == QLatin1String("BISMT")) {
                // Materials of a kind without a generic profile in the target are left out.
                const QString code = xml.readElementText();
                if (!doelArtikelen.contains(code))
                    continue;
                QCOMPARE(doelArtikelen.value(code).prijs, prijs.toDouble());
                QCOMPARE(doelArtikelen.value(code).handelslengte, lengte.toDouble() * 1000.0);
                QCOMPARE(doelArtikelen.value(code).groep, QString::fromLatin1(kLeverancierCode));
                ++gezien;
            }
        }
        QVERIFY(gezien > 0);
    } else if (bron == QLatin1String(kBronOnderhoud)) {
        // Every combination and every choice with the combinations it offers.
        const QStringList combinaties = Kolom(pad, QStringLiteral("SELECT Code FROM LocksHingesCombi"));
        QVERIFY(!combinaties.isEmpty());
        const QStringList inDoel = Kolom(doel, QStringLiteral("SELECT Code FROM LocksHingesCombi"));
        for (const QString& code : combinaties)
            QVERIFY2(inDoel.contains(code), qPrintable(wat + code));
        const QString keuzes = QStringLiteral(
            "SELECT k.Code || ':' || c.Code FROM CustomLHCombi k JOIN CustomLH l ON l.fkCustomLHCombi = k.ID "
            "JOIN LocksHingesCombi c ON c.ID = l.fkLockHingeCombi");
        const QStringList keuzesInDoel = Kolom(doel, keuzes);
        for (const QString& keuze : Kolom(pad, keuzes))
            QVERIFY2(keuzesInDoel.contains(keuze), qPrintable(wat + keuze));
    } else if (bron.contains(QLatin1String("hangsluitwerk-keuzes"))) {
        const QStringList keuzesInDoel = Kolom(
            doel, QStringLiteral("SELECT k.Code || ':' || c.Code FROM CustomLHCombi k JOIN CustomLH l ON "
                                 "l.fkCustomLHCombi = k.ID JOIN LocksHingesCombi c ON c.ID = l.fkLockHingeCombi"));
        // A choice links the combinations the target holds.
        const QStringList combinaties = Kolom(doel, QStringLiteral("SELECT Code FROM LocksHingesCombi"));
        for (const QStringList& regel : CsvRegels(pad))
            QVERIFY2(!combinaties.contains(regel.at(2)) ||
                         keuzesInDoel.contains(regel.at(0) + QLatin1Char(':') + regel.at(2)),
                     qPrintable(wat + regel.join(QLatin1Char(';'))));
    } else if (bron.contains(QLatin1String("hangsluitwerk-combinaties"))) {
        // Every combination of the file, with data.
        const QStringList inDoel =
            Kolom(doel, QStringLiteral("SELECT Code FROM LocksHingesCombi WHERE length(Data) > 2"));
        QStringList codes;
        if (bron.endsWith(QLatin1String(".csv"))) {
            for (const QStringList& regel : CsvRegels(pad))
                codes << regel.at(0);
        } else {
            clsConnectie cn;
            QVERIFY2(cn.MakenExcelConnectie(pad, true), qPrintable(cn.lastOpenError()));
            const QStringList bladen = cn.Connection()->tableNames();
            QVERIFY(!bladen.isEmpty());
            const RecordsetPtr rs =
                cn.Connection()->openRecordset(QStringLiteral("SELECT * FROM [%1]").arg(bladen.first()));
            for (; !rs->eof(); rs->moveNext())
                codes << rs->value(0).toString();
            cn.SluitenConnectie();
        }
        QVERIFY(!codes.isEmpty());
        for (const QString& code : codes)
            QVERIFY2(inDoel.contains(code), qPrintable(wat + code));
    } else if (bron == QLatin1String(kBronBibliotheek)) {
        // Every family, and every family with children in the source has children in the target.
        const QList<QPair<QString, QString>> families{{QStringLiteral("PaneGrooveTable"), QStringLiteral("PaneGroove p ON p.fkPaneGrooveTable")},
                                                      {QStringLiteral("OuterGrooveTable"), QStringLiteral("OuterGroove p ON p.fkOuterGrooveTable")},
                                                      {QStringLiteral("TreshHoldCombi"), QStringLiteral("TreshHoldArticleUsage p ON p.fkCombi")},
                                                      {QStringLiteral("TreshHoldCombiExt"), QStringLiteral("TreshHoldExtArticleUsage p ON p.fkCombi")},
                                                      {QStringLiteral("EdgeGroove"), QString()}};
        for (const auto& familie : families) {
            const QString alle = QStringLiteral("SELECT Code FROM %1").arg(familie.first);
            const QStringList inDoel = Kolom(doel, alle);
            QVERIFY(!Kolom(pad, alle).isEmpty());
            for (const QString& code : Kolom(pad, alle))
                QVERIFY2(inDoel.contains(code), qPrintable(wat + familie.first + QLatin1Char(' ') + code));
            if (familie.second.isEmpty())
                continue;
            const QString metKinderen =
                QStringLiteral("SELECT DISTINCT f.Code FROM %1 f JOIN %2 = f.ID").arg(familie.first, familie.second);
            const QStringList kinderenInDoel = Kolom(doel, metKinderen);
            for (const QString& code : Kolom(pad, metKinderen))
                QVERIFY2(kinderenInDoel.contains(code), qPrintable(wat + familie.first + QLatin1Char(' ') + code));
        }
    } else if (bron == QLatin1String(kBronWerkvoorbereiding)) {
        // Every groove shape with its geometry (contra included), nodes and names as the supplier has them.
        const QString geometrie = QStringLiteral(
            "SELECT s.Code || ':' || g.bContra || ':' || g.PreviewWidth || ':' || g.PreviewHeight || ':' || "
            "(SELECT group_concat(n.OrderNr || '/' || n.DeltaX || '/' || ifnull(n.DeltaZFormula, '') || '/' || "
            "ifnull(n.DeltaZ, ''), ' ') FROM (SELECT * FROM GrooveShapeNodes WHERE fkGrooveShapeGeom = g.ID "
            "ORDER BY OrderNr) n) FROM GrooveShape s JOIN GrooveShapeGeom g ON g.fkGrooveShape = s.ID");
        const QString namen = QStringLiteral(
            "SELECT s.Code || ':' || n.Width || ':' || n.Name FROM GrooveShape s JOIN GrooveShapeNames n ON "
            "n.fkGrooveShape = s.ID");
        for (const QString& query : {geometrie, namen}) {
            const QStringList inBron = Kolom(pad, query);
            QVERIFY(!inBron.isEmpty());
            const QStringList inDoel = Kolom(doel, query);
            for (const QString& rij : inBron) {
                // A shape the user had keeps the names the user gave it.
                if (query == namen && m_vooraf.contains(rij.section(QLatin1Char(':'), 0, 0)))
                    continue;
                QVERIFY2(inDoel.contains(rij), qPrintable(wat + rij));
            }
        }
    }
}

void EindTotEindTest::Rit(const QStringList& bronnen, const QString& doelMap, RecordingUiServices& recorder, int rit)
{
    // A fresh start of the program: nothing of an earlier run is left in memory.
    globals() = ProgramState();
    frmImportBvqNaarBvq window(nullptr, RegisterMetProgrammaMap(m_programma.path()));
    // As the start routine: the target-field catalogues once the window is there.
    VulVeldCatalogus();
    // SUPPLINK_SCHERMAFDRUKKEN=<folder>: a picture of every step of the first run, to look at.
    const QString afdrukMap = rit == 1 ? qEnvironmentVariable("SUPPLINK_SCHERMAFDRUKKEN") : QString();
    const auto afdruk = [&window, &afdrukMap](const QString& naam) {
        if (afdrukMap.isEmpty())
            return;
        QDir().mkpath(afdrukMap);
        QCoreApplication::processEvents();
        window.grab().save(QDir(afdrukMap).filePath(QString::fromLatin1(QTest::currentDataTag()) + QLatin1Char('-') +
                                                    naam + QStringLiteral(".png")));
    };
    if (!afdrukMap.isEmpty()) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    // Step 1: the demo supplier.
    auto* welkom = qobject_cast<usrWelkom*>(window.StapWeergave(1));
    QVERIFY(welkom);
    QTreeWidgetItem* knoop = welkom->Knoop(QString::fromLatin1(voorbeeld::kLeverancierCode));
    QVERIFY(knoop);
    welkom->tv->setCurrentItem(knoop);
    afdruk(QStringLiteral("stap01"));
    QVERIFY(window.cmdVolgende->isEnabled());
    QTest::mouseClick(window.cmdVolgende, Qt::LeftButton);
    QCOMPARE(window.besturing().HuidigeStap(), 2);

    // Step 2: every source through the open dialog and the dialog that sets it up.
    QStringList dialogen;
    setModaalTonen([&](QDialog& dialoog) {
        dialogen << dialoog.objectName();
        if (auto* kolommen = qobject_cast<frmColumnSelectionWizard*>(&dialoog)) {
            const QString naam = QFileInfo(kolommen->txtFile->text()).fileName();
            if (naam == QLatin1String("artikelen.csv")) {
                // The price list: wooden profiles, the price column as price per unit, the remark not imported.
                kolommen->cbArtikelTypes->setCurrentIndex(0);
                kolommen->KopGewijzigd(4, QStringLiteral("Prijs/Eenheid"));
                kolommen->KopGewijzigd(9, QStringLiteral("(Niet importeren)"));
            } else if (naam.startsWith(QLatin1String("hangsluitwerk-keuzes"))) {
                kolommen->cbCombiTypes->setCurrentIndex(1);
            } else if (naam.startsWith(QLatin1String("hangsluitwerk"))) {
                kolommen->cbCombiTypes->setCurrentIndex(0);
            } else if (kolommen->cbArtikelTypes->currentIndex() < 0) {
                kolommen->cbArtikelTypes->setCurrentIndex(2);
            }
            kolommen->cmdOK_Click();
        } else if (auto* typen = qobject_cast<frmTypeSelectionWizard*>(&dialoog)) {
            for (int i = 0; i < typen->lbTypes->count(); ++i)
                typen->lbTypes->item(i)->setCheckState(Qt::Checked);
            typen->cmdOK->click();
        } else {
            dialoog.reject();
        }
    });
    auto* bronStap = qobject_cast<usrStapSelectBronBestanden3*>(window.stepArea->currentWidget());
    QVERIFY(bronStap);
    if (rit == 1) {
        QCOMPARE(bronStap->lvBestanden->topLevelItemCount(), 0);
        for (const QString& bron : bronnen) {
            recorder.fileAnswers << QStringList{bron};
            QTest::mouseClick(bronStap->cmdBlader, Qt::LeftButton);
        }
        QCOMPARE(dialogen.size(), bronnen.size() - bronnen.filter(QStringLiteral("onderhoud.opt")).size());
    }
    QVERIFY(recorder.errors.isEmpty());
    afdruk(QStringLiteral("stap02"));
    QCOMPARE(bronStap->lvBestanden->topLevelItemCount(), bronnen.size());
    // Hardware from a supplier's file goes into the options database (the demo library is of the older
    // format without hardware tables).
    recorder.messages.clear();
    recorder.messageAnswers << MsgBox::No;
    QVERIFY(window.cmdVolgende->isEnabled());
    QTest::mouseClick(window.cmdVolgende, Qt::LeftButton);
    QCOMPARE(window.besturing().HuidigeStap(), 3);
    if (recorder.messages.isEmpty())
        recorder.messageAnswers.clear();

    // Step 3: a copy of each target the step asks for.
    auto* doelStap = qobject_cast<usrStapSelectDoelBestanden*>(window.stepArea->currentWidget());
    QVERIFY(doelStap);
    for (int rij = 0; rij < doelStap->lv->topLevelItemCount(); ++rij) {
        const int soort = globals().gDoelBestanden.at(rij)->Soort;
        QString bestand;
        for (const auto& doel : Doelen())
            if (doel.first == soort)
                bestand = QDir(doelMap).filePath(Bestandsnaam(doel.second));
        if (rit == 1) {
            doelStap->lv->setCurrentItem(doelStap->lv->topLevelItem(rij));
            recorder.fileAnswers << QStringList{bestand};
            QTest::mouseClick(doelStap->cmdBlader, Qt::LeftButton);
        }
        QCOMPARE(globals().gDoelBestanden.at(rij)->Path(), bestand);
    }
    afdruk(QStringLiteral("stap03"));
    QVERIFY(window.cmdVolgende->isEnabled());
    QTest::mouseClick(window.cmdVolgende, Qt::LeftButton);
    QCOMPARE(window.besturing().HuidigeStap(), 4);

    // Step 4: the options as offered; articles both new and updated.
    auto* opties = qobject_cast<usrImportOpties*>(window.stepArea->currentWidget());
    QVERIFY(opties);
    if (opties->optie(StapImportOpties::ArtBeide)->isEnabled())
        opties->optie(StapImportOpties::ArtBeide)->click();
    afdruk(QStringLiteral("stap04"));
    QVERIFY(window.cmdVolgende->isEnabled());
    QTest::mouseClick(window.cmdVolgende, Qt::LeftButton);

    // Steps 5 to 15: everything ticked.
    QList<int> gezien;
    while (window.besturing().HuidigeStap() < 16) {
        const int stap = window.besturing().HuidigeStap();
        gezien << stap;
        auto* selectie = qobject_cast<usrSelectieStap*>(window.stepArea->currentWidget());
        QVERIFY2(selectie, qPrintable(QString::number(stap)));
        QTest::mouseClick(selectie->lijst->lijst->cmdSelAlles, Qt::LeftButton);
        afdruk(QStringLiteral("stap%1").arg(stap, 2, 10, QLatin1Char('0')));
        QVERIFY2(window.cmdVolgende->isEnabled(), qPrintable(QString::number(stap)));
        QTest::mouseClick(window.cmdVolgende, Qt::LeftButton);
        QVERIFY(window.besturing().HuidigeStap() > stap);
    }
    QVERIFY(!gezien.isEmpty());

    // Step 16: the backup.
    auto* backup = qobject_cast<usrStapBackup*>(window.stepArea->currentWidget());
    QVERIFY(backup);
    const QString backupMap = m_env->path(QStringLiteral("backup%1").arg(rit));
    QVERIFY(QDir().mkpath(backupMap));
    recorder.folderAnswers << std::optional<QString>(backupMap);
    afdruk(QStringLiteral("stap16-voor"));
    if (auto* transfer = qobject_cast<usrTransfer*>(window.StapWeergave(17)); transfer && !afdrukMap.isEmpty())
        transfer->stap().BijMoment = [&afdruk](TransferMoment moment, const TransferDoel*) {
            if (moment == TransferMoment::Klaar)
                afdruk(QStringLiteral("stap17"));
        };
    QTest::mouseClick(backup->cmdBackup, Qt::LeftButton);
    afdruk(QStringLiteral("stap16"));
    QVERIFY(window.cmdVolgende->isEnabled());
    recorder.messages.clear();
    QTest::mouseClick(window.cmdVolgende, Qt::LeftButton);

    // Steps 17 and 18.
    QCOMPARE(window.besturing().HuidigeStap(), 18);
    // The transfer succeeded: no closing message, no error.
    for (const auto& melding : recorder.messages)
        QVERIFY2(!melding.text.contains(QStringLiteral("niet succesvol")), qPrintable(melding.text));
    QVERIFY(recorder.errors.isEmpty());
    auto* resultaat = qobject_cast<usrStapResultaat*>(window.stepArea->currentWidget());
    QVERIFY(resultaat);
    afdruk(QStringLiteral("stap18"));
    // Step 18 reads the overview of every source.
    for (const QString& bron : bronnen)
        QVERIFY2(resultaat->rt->toPlainText().contains(QStringLiteral("Bron bestand: ") + bron), qPrintable(bron));
    window.close();
}

QTEST_MAIN(EindTotEindTest)
#include "test_eindtoteind.moc"
