// The product-table handle (its pick-one lists answered by the recording UI
// services), the pick-one list read from a recordset, and the article record.

#include "database/clspt.h"

#include "database/databaseroutines.h"
#include "database/recordset.h"
#include "fixtures/designdatabases.h"
#include "fixtures/sqlserverstandin.h"
#include "historystandins.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QtTest>

using namespace supplink;

namespace {

QString sqlServerPath(int fields = 5)
{
    QStringList parts{QStringLiteral("BOUW01"), QStringLiteral("Producten"), QStringLiteral("eNTSecurity"),
                      QStringLiteral("sa"), QStringLiteral("geheim")};
    return QStringLiteral("*") + parts.mid(0, fields).join(QChar(8));
}

// What the last pick-one list asked of the user showed.
struct Shown
{
    QString caption;
    QString uitleg;
    QString onderdeel;
    QStringList entries;
};

Shown lastPickOne(const test::RecordingUiServices& ui)
{
    Shown shown;
    if (ui.pickOnes.isEmpty())
        return shown;
    const PickOneRequest& request = ui.pickOnes.last();
    shown.caption = request.title;
    shown.uitleg = request.explanation;
    shown.onderdeel = request.label;
    for (const PickOneEntry& entry : request.entries)
        shown.entries.append(entry.text);
    return shown;
}

// The next pick-one list is answered by choosing the entry at `index` and pressing OK, or Annuleren for -1.
void answerPickOne(test::RecordingUiServices& ui, int index)
{
    ui.pickOneAnswers.enqueue(index < 0 ? std::nullopt : std::optional<int>(index));
}

QStringList texts(const QList<PickOneEntry>& entries)
{
    QStringList result;
    for (const PickOneEntry& entry : entries)
        result.append(entry.text);
    return result;
}

bool hasMessage(const test::RecordingUiServices& ui, const QString& text)
{
    for (const auto& message : ui.messages) {
        if (message.text == text)
            return true;
    }
    return false;
}

} // namespace

class TestClsPT : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newArticleRecord();
    void connectsToFile();
    void connectFailures();
    void sqlServerNamesTablesInPT();
    void highestGroupOrderNumber();
    void findsUniqueValues();
    void findReportsMissingField();
    void filtersRows();
    void setsKeysOfCurrentRow();
    void asksForArticleGroup();
    void asksForSupplier();
    void refusesWithoutGroupTable();
    void articleOperations();
    void mirroredArticleByColumnType();
    void pickOneListFromRecordset();

private:
    QString productTable(fixtures::Version version = {3, 50});
    std::unique_ptr<test::TestEnvironment> m_env;
    std::unique_ptr<test::RecordingUiServices> m_ui;
};

void TestClsPT::init()
{
    m_env = std::make_unique<test::TestEnvironment>();
    m_ui = std::make_unique<test::RecordingUiServices>();
}

void TestClsPT::cleanup()
{
    resetBackendOpeners();
    m_ui.reset();
    m_env.reset();
}

QString TestClsPT::productTable(fixtures::Version version)
{
    const QString path = m_env->path(QStringLiteral("pt%1.db").arg(version.code()));
    fixtures::makeDatabase(path, fixtures::Kind::ProductTable, version);
    fixtures::FixtureDb db(path);
    db.insert(QStringLiteral("ArtGroup"), {{"Code", "G1"}, {"Description", "Profielen"}, {"OrderNr", 3}});
    db.insert(QStringLiteral("ArtGroup"), {{"Code", "G2"}, {"Description", "Beslag"}, {"OrderNr", 7}});
    db.insert(QStringLiteral("ArtGroup"), {{"Code", "G3"}, {"Description", "Glas"}, {"OrderNr", 5}});
    db.insert(QStringLiteral("Supplier"), {{"Code", "ROTO"}, {"Description", "Roto Frank"}});
    db.insert(QStringLiteral("Supplier"), {{"Code", "AXA"}, {"Description", "Axa"}});
    db.insert(QStringLiteral("Article"),
              {{"Code", "A'1"}, {"Description", "Eerste"}, {"fkType", 2}, {"HWork", 1.5}});
    db.insert(QStringLiteral("Article"), {{"Code", "B"}, {"Description", "Tweede"}, {"fkType", 2}});
    db.insert(QStringLiteral("Article"), {{"Code", "C"}, {"Description", "Derde"}, {"fkType", 1}});
    db.insert(QStringLiteral("Article"), {{"Code", "D"}, {"Description", "Vierde"}, {"fkType", 2}});
    return path;
}

void TestClsPT::newArticleRecord()
{
    const clsBvqArtikel artikel;
    QCOMPARE(artikel.fkArtGroup, -1);
    QCOMPARE(artikel.fkSupplier, -1);
    QCOMPARE(artikel.pkArticle, 0);
    QCOMPARE(artikel.fkArtType, 0);
    QCOMPARE(artikel.PriceUnit, 0.0);
}

void TestClsPT::connectsToFile()
{
    clsPT pt;
    QVERIFY(pt.Connect(productTable()));
    QVERIFY(!pt.IsSQLServer);
    QVERIFY(pt.cnPT && pt.cnPT->isSQLite());
    QString table = QStringLiteral("Article");
    QVERIFY(pt.OpenTabel(table));
    QCOMPARE(table, QStringLiteral("Article"));
    QCOMPARE(pt.rsPT->recordCount(), 4);
    QVERIFY(pt.OpenArtikelTabel());
    QCOMPARE(pt.rsPT->recordCount(), 4);
    QVERIFY(!pt.OpenTabel(QStringLiteral("Bestaatniet")));
    QCOMPARE(m_ui->errors.size(), 1);
}

void TestClsPT::connectFailures()
{
    test::OpenersGuard guard;
    {
        clsPT pt;
        QVERIFY(!pt.Connect(m_env->path(QStringLiteral("weg.db"))));
        QVERIFY(!pt.cnPT);
        QVERIFY(hasMessage(*m_ui, QStringLiteral("Openen Produktentabel is mislukt!")));
    }
    m_ui->clear();
    {
        clsPT pt;
        QVERIFY(!pt.Connect(sqlServerPath(4)));
        QVERIFY(hasMessage(
            *m_ui, QStringLiteral("Verbinden sqlserver niet mogelijk, niet voldoende verbindingsgegevens.")));
        QVERIFY(!pt.IsSQLServer);
    }
    m_ui->clear();
    {
        backendOpeners().sqlServer = [](const SqlServerLogin&) -> DbConnection {
            throw AppError(DbErrorNumber::Unspecified, QStringLiteral("Server niet bereikbaar"));
        };
        clsPT pt;
        QVERIFY(!pt.Connect(sqlServerPath()));
        QVERIFY(hasMessage(*m_ui, QStringLiteral("Verbinden met sqlserver is mislukt!")));
        QVERIFY(!pt.IsSQLServer);
        QVERIFY(!pt.cnPT);
    }
}

void TestClsPT::sqlServerNamesTablesInPT()
{
    test::OpenersGuard guard;
    const QString file = m_env->path(QStringLiteral("server.db"));
    {
        SqliteOpenOptions options;
        options.create = true;
        const auto db = SqliteBackend::open(file, options);
        db->execute(QStringLiteral("CREATE TABLE ArtGroup (ID INTEGER PRIMARY KEY, Code TEXT(50), "
                                   "Description TEXT(255), SortOrder INTEGER)"));
        db->execute(QStringLiteral("CREATE TABLE Supplier (ID INTEGER PRIMARY KEY, Code TEXT(50), "
                                   "Description TEXT(255))"));
        db->execute(
            QStringLiteral("CREATE TABLE Article (ID INTEGER PRIMARY KEY, Code TEXT(50), fkGroup INTEGER)"));
        db->execute(
            QStringLiteral("INSERT INTO ArtGroup (Code, Description, SortOrder) VALUES ('A', 'Een', 4), "
                           "('B', 'Twee', 9)"));
        db->execute(
            QStringLiteral("INSERT INTO Supplier (Code, Description) VALUES ('Z', 'Zet'), ('K', 'Kas')"));
        db->execute(QStringLiteral("INSERT INTO Article (Code) VALUES ('X')"));
        db->close();
    }
    fixtures::StandInServer standIn(file, m_env->path(QStringLiteral("crm.db")));
    standIn.databases = {QStringLiteral("Producten")};
    backendOpeners().sqlServer = standIn.opener();

    clsPT pt;
    QVERIFY(pt.Connect(sqlServerPath()));
    QVERIFY(pt.IsSQLServer);
    QString table = QStringLiteral("Article");
    QVERIFY(pt.OpenTabel(table));
    QCOMPARE(table, QStringLiteral("[PT].[Article]"));
    QCOMPARE(pt.rsPT->source(), QStringLiteral("SELECT * FROM [PT].[Article]"));
    QCOMPARE(pt.HoogsteOrderNrArtGroup(), 9);

    // The supplier list comes ordered by code.
    answerPickOne(*m_ui, 1);
    qint32 id = 0;
    bool cancelled = true;
    QVERIFY(pt.SelecteerLeverancierUI(id, cancelled));
    QCOMPARE(lastPickOne(*m_ui).entries, (QStringList{"<Geen>", "Kas", "Zet"}));
    QCOMPARE(id, 2);
    QVERIFY(!cancelled);
    QVERIFY(m_ui->errors.isEmpty());
}

void TestClsPT::highestGroupOrderNumber()
{
    const QString path = productTable();
    clsPT pt;
    QVERIFY(pt.Connect(path));
    QCOMPARE(pt.HoogsteOrderNrArtGroup(), 7);
    fixtures::FixtureDb(path).exec(QStringLiteral("DELETE FROM ArtGroup"));
    QCOMPARE(pt.HoogsteOrderNrArtGroup(), 0);
    QVERIFY(m_ui->errors.isEmpty());
}

void TestClsPT::findsUniqueValues()
{
    clsPT pt;
    QVERIFY(pt.Connect(productTable()));
    QVERIFY(pt.OpenTabel(QStringLiteral("Article")));

    QVERIFY(pt.BestaatUniekeWaarde(QStringLiteral("Code"), QStringLiteral("A'1"), false, false));
    QCOMPARE(pt.rsPT->value(QStringLiteral("Description")).toString(), QStringLiteral("Eerste"));
    QVERIFY(!pt.BestaatUniekeWaarde(QStringLiteral("Code"), QStringLiteral("A"), false, false));

    // From next: walks through every matching row, then answers False.
    QStringList walked;
    bool fromNext = false;
    while (pt.BestaatUniekeWaarde(QStringLiteral("fkType"), QStringLiteral("2"), true, fromNext)) {
        walked.append(pt.rsPT->value(QStringLiteral("Code")).toString());
        fromNext = true;
    }
    QCOMPARE(walked, (QStringList{"A'1", "B", "D"}));
    QVERIFY(!pt.BestaatUniekeWaarde(QStringLiteral("fkType"), QStringLiteral("2"), true,
                                    true)); // stays at the end
    QVERIFY(m_ui->errors.isEmpty());
}

void TestClsPT::findReportsMissingField()
{
    clsPT pt;
    QVERIFY(pt.Connect(productTable()));
    QVERIFY(pt.OpenTabel(QStringLiteral("Article")));
    QVERIFY(!pt.BestaatUniekeWaarde(QStringLiteral("ArtNummer"), QStringLiteral("1"), true, false));
    QCOMPARE(m_ui->messages.size(), 1);
    QCOMPARE(
        m_ui->messages.at(0).text,
        QStringLiteral("Veld 'ArtNummer' niet gevonden in doel database! Corrigeer de importeer definitie."));
    // A number field searched with text that is no number is an error, not a crash.
    QVERIFY(!pt.BestaatUniekeWaarde(QStringLiteral("fkType"), QStringLiteral("2 OR 1=1"), true, false));
}

void TestClsPT::filtersRows()
{
    clsPT pt;
    QVERIFY(pt.Connect(productTable()));
    QVERIFY(pt.OpenTabel(QStringLiteral("Article")));
    QVERIFY(pt.BestaatRegel(QStringLiteral("fkType = 2 AND Code <> 'B'")));
    QCOMPARE(pt.rsPT->recordCount(), 2);
    QCOMPARE(pt.rsPT->filter(), QStringLiteral("fkType = 2 AND Code <> 'B'")); // the filter stays
    QVERIFY(!pt.BestaatRegel(QStringLiteral("Code = 'niets'")));
    QVERIFY(pt.BestaatRegel(QString()));
    QCOMPARE(pt.rsPT->recordCount(), 4);
}

void TestClsPT::setsKeysOfCurrentRow()
{
    const QString path = productTable();
    {
        clsPT pt;
        QVERIFY(pt.Connect(path));
        QVERIFY(pt.OpenTabel(QStringLiteral("Article")));
        QVERIFY(pt.BestaatUniekeWaarde(QStringLiteral("Code"), QStringLiteral("C"), false, false));
        pt.RecSetArtSetArtGroupID(5);
        pt.RecSetArtSetSupplierID(9);
        pt.rsPT->update();
    }
    fixtures::FixtureDb db(path);
    QCOMPARE(db.scalar(QStringLiteral("SELECT fkGroup FROM Article WHERE Code = 'C'")).toInt(), 5);
    QCOMPARE(db.scalar(QStringLiteral("SELECT fkSupplier FROM Article WHERE Code = 'C'")).toInt(), 9);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Article WHERE fkGroup = 5")).toInt(), 1);
}

void TestClsPT::asksForArticleGroup()
{
    clsPT pt;
    QVERIFY(pt.Connect(productTable()));
    answerPickOne(*m_ui, 2);
    qint32 id = 0;
    bool cancelled = true;
    QVERIFY(pt.SelecteerArtikelGroepUI(id, cancelled));
    QVERIFY(!cancelled);
    const Shown shown = lastPickOne(*m_ui);
    QCOMPARE(shown.caption, QStringLiteral("Importeren artikelen"));
    QCOMPARE(shown.uitleg,
             QStringLiteral("Selecteer een artikelgroep voor nieuw aan te maken artikelen, bestaande "
                            "artikelen worden niet aangepast naar deze artikelgroep."));
    QCOMPARE(shown.onderdeel, QStringLiteral("Artikelgroep:"));
    QCOMPARE(shown.entries, (QStringList{"Profielen", "Glas", "Beslag"})); // by sort number
    QCOMPARE(id, 2); // "Beslag"

    answerPickOne(*m_ui, -1);
    QVERIFY(pt.SelecteerArtikelGroepUI(id, cancelled));
    QVERIFY(cancelled);
    QCOMPARE(id, -1);
}

void TestClsPT::asksForSupplier()
{
    clsPT pt;
    QVERIFY(pt.Connect(productTable()));
    qint32 id = 0;
    bool cancelled = true;

    answerPickOne(*m_ui, 0); // "<Geen>"
    QVERIFY(pt.SelecteerLeverancierUI(id, cancelled));
    const Shown shown = lastPickOne(*m_ui);
    QCOMPARE(shown.entries, (QStringList{"<Geen>", "Axa", "Roto Frank"}));
    QCOMPARE(shown.onderdeel, QStringLiteral("Leverancier:"));
    QVERIFY(shown.uitleg.endsWith(QStringLiteral("niet aangepast naar deze leverancier.")));
    QVERIFY(!cancelled);
    QCOMPARE(id, -1);

    answerPickOne(*m_ui, 2);
    QVERIFY(pt.SelecteerLeverancierUI(id, cancelled));
    QCOMPARE(id, 1); // Roto Frank
    QVERIFY(!cancelled);

    answerPickOne(*m_ui, -1);
    QVERIFY(pt.SelecteerLeverancierUI(id, cancelled));
    QVERIFY(cancelled);
    QCOMPARE(id, -1);
}

void TestClsPT::refusesWithoutGroupTable()
{
    const QString path = productTable();
    fixtures::FixtureDb(path).exec(QStringLiteral("DROP TABLE ArtGroup"));
    clsPT pt;
    QVERIFY(pt.Connect(path));
    answerPickOne(*m_ui, 0);
    qint32 id = 0;
    bool cancelled = true;
    QVERIFY(!pt.SelecteerArtikelGroepUI(id, cancelled));
    QCOMPARE(id, -1);
    QVERIFY(!cancelled);
    QVERIFY(hasMessage(*m_ui, QStringLiteral("Kan artikelgroepen tabel niet openen!")));
    QVERIFY(m_ui->pickOnes.isEmpty()); // no list was shown
}

void TestClsPT::articleOperations()
{
    const QString path = productTable();
    clsBvqArtikel bestaand;
    bestaand.ArtCode = QStringLiteral("A'1");
    bestaand.Description = QStringLiteral("Nieuwe omschrijving");
    bestaand.PriceUnit = 12.34567;
    bestaand.OrderCode = QStringLiteral("BC-1");
    bestaand.fkArtGroup = 3;
    bestaand.fkArtType = 4;

    clsBvqArtikel nieuw;
    nieuw.ArtCode = QString(60, QLatin1Char('N'));
    nieuw.Description = QStringLiteral("Nieuw");
    nieuw.fkSupplier = 2;
    {
        clsPT pt;
        QVERIFY(pt.Connect(path));
        QVERIFY(pt.OpenArtikelTabel());
        QVERIFY(pt.BestaatArtikel(bestaand));
        const qint32 id = bestaand.pkArticle;
        QVERIFY(id > 0);
        QVERIFY(pt.ToevoegenArtikel(bestaand));
        QCOMPARE(bestaand.pkArticle, id); // updated in place, not deleted and added again
        QVERIFY(pt.ToevoegenArtikel(nieuw));
        QVERIFY(nieuw.pkArticle > 0);

        clsBvqArtikel prijs;
        prijs.ArtCode = QStringLiteral("B");
        prijs.PriceUnit = 9.5;
        QVERIFY(pt.UpdateArtikelPrijs(prijs));
        prijs.ArtCode = QStringLiteral("Bestaat niet");
        QVERIFY(!pt.UpdateArtikelPrijs(prijs));
    }
    QVERIFY(m_ui->errors.isEmpty());

    fixtures::FixtureDb db(path);
    QCOMPARE(db.count(QStringLiteral("Article")), 5);
    const RecordsetPtr rows = db.connection()->openRecordset(
        QStringLiteral("SELECT * FROM Article WHERE ID = ?"), {bestaand.pkArticle});
    QCOMPARE(rows->value(QStringLiteral("Description")).toString(), QStringLiteral("Nieuwe omschrijving"));
    QCOMPARE(rows->value(QStringLiteral("PriceUnit")).toDouble(), 12.3457);
    QCOMPARE(rows->value(QStringLiteral("fkGroup")).toInt(), 3);
    QCOMPARE(rows->value(QStringLiteral("fkType")).toInt(), 4);
    QCOMPARE(rows->value(QStringLiteral("HWork")).toDouble(), 1.5); // columns the record does not hold stay
    QVERIFY(rows->value(QStringLiteral("fkSupplier")).isNull());    // supplier -1: not written
    QCOMPARE(db.scalar(QStringLiteral("SELECT Code FROM Article WHERE ID = ?"), {nieuw.pkArticle}).toString(),
             QString(50, QLatin1Char('N'))); // cut to the column
    QCOMPARE(
        db.scalar(QStringLiteral("SELECT fkSupplier FROM Article WHERE ID = ?"), {nieuw.pkArticle}).toInt(),
        2);
    QCOMPARE(db.scalar(QStringLiteral("SELECT PriceUnit FROM Article WHERE Code = 'B'")).toDouble(), 9.5);
}

void TestClsPT::mirroredArticleByColumnType()
{
    clsBvqArtikel gespiegeld;
    gespiegeld.pkArticle = 4;
    gespiegeld.ArtCode = QStringLiteral("D");
    for (const fixtures::Version version : {fixtures::Version{3, 10}, fixtures::Version{3, 50}}) {
        const QString path = productTable(version);
        {
            clsPT pt;
            QVERIFY(pt.Connect(path));
            QVERIFY(pt.OpenArtikelTabel());
            QVERIFY(pt.BestaatUniekeWaarde(QStringLiteral("Code"), QStringLiteral("B"), false, false));
            QVERIFY(pt.UpdateArtikelGespiegeld(gespiegeld));
        }
        const QVariant stored = fixtures::FixtureDb(path).scalar(
            QStringLiteral("SELECT fkMirroredArticle FROM Article WHERE Code = 'B'"));
        QCOMPARE(stored.toString(), version.code() <= 310 ? QStringLiteral("4") : QStringLiteral("D"));
    }
}

void TestClsPT::pickOneListFromRecordset()
{
    const QString path = productTable();
    fixtures::FixtureDb db(path);
    const auto entries = [](const RecordsetPtr& rows, const QString& textField, bool metGeen) {
        return KeuzeLijst(rows, textField, QStringLiteral("ID"), metGeen);
    };
    const RecordsetPtr none = db.connection()->openRecordset(QStringLiteral("SELECT * FROM Supplier WHERE 1=0"));
    QCOMPARE(entries(none, QStringLiteral("Description"), false)->size(), 0);
    const auto onlyNone = entries(none, QStringLiteral("Description"), true);
    QCOMPARE(texts(*onlyNone), QStringList{"<Geen>"});
    QCOMPARE(onlyNone->at(0).key, -1);

    // A recordset standing at its end is read from its first row; a missing field gives no entries.
    const RecordsetPtr groups =
        db.connection()->openRecordset(QStringLiteral("SELECT * FROM ArtGroup ORDER BY ID"));
    groups->moveLast();
    groups->moveNext();
    const auto read = entries(groups, QStringLiteral("Description"), false);
    QCOMPARE(texts(*read), (QStringList{"Profielen", "Beslag", "Glas"}));
    QCOMPARE(read->at(1).key, 2);
    QCOMPARE(entries(groups, QStringLiteral("Omschrijving"), false)->size(), 0);
    QVERIFY(m_ui->errors.isEmpty());

    QVERIFY(!entries(nullptr, QStringLiteral("Description"), false));
    QCOMPARE(m_ui->errors.size(), 1);
}

QTEST_MAIN(TestClsPT)
#include "test_clspt.moc"
