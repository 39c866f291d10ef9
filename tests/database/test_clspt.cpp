// The product-table handle, the pick-one dialog (driven offscreen through its
// fields) and the article record.

#include "database/clspt.h"

#include "database/frmpickone.h"
#include "database/modaaltonen.h"
#include "database/recordset.h"
#include "fixtures/designdatabases.h"
#include "fixtures/sqlserverstandin.h"
#include "historystandins.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace supplink;

namespace {

QString sqlServerPath(int fields = 5)
{
    QStringList parts{QStringLiteral("BOUW01"), QStringLiteral("Producten"), QStringLiteral("eNTSecurity"),
                      QStringLiteral("sa"), QStringLiteral("geheim")};
    return QStringLiteral("*") + parts.mid(0, fields).join(QChar(8));
}

// What the installed modal display saw of the dialog.
struct Shown
{
    QString caption;
    QString uitleg;
    QString onderdeel;
    QStringList entries;
    int selectedIndex = -1;
};

// Shows dialogs by choosing the entry at `index` and pressing OK, or Annuleren for -1.
void answerPickOne(int index, Shown* shown)
{
    setModaalTonen([index, shown](QDialog& dialog) {
        auto& pick = dynamic_cast<frmSelecteerGroepofLeverancier&>(dialog);
        shown->caption = pick.windowTitle();
        shown->uitleg = pick.lbUitleg->text();
        shown->onderdeel = pick.lbOnderdeel->text();
        shown->entries.clear();
        for (int i = 0; i < pick.cbGroep->count(); ++i)
            shown->entries.append(pick.cbGroep->itemText(i));
        shown->selectedIndex = pick.cbGroep->currentIndex();
        if (index < 0) {
            pick.cmdCancel_Click();
        } else {
            pick.cbGroep->setCurrentIndex(index);
            pick.cmdOK_Click();
        }
    });
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
    void pickOneDialogOffscreen();
    void pickOneFillsFromRecordset();

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
    setModaalTonen({});
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
    Shown shown;
    answerPickOne(1, &shown);
    qint32 id = 0;
    bool cancelled = true;
    QVERIFY(pt.SelecteerLeverancierUI(id, cancelled));
    QCOMPARE(shown.entries, (QStringList{"<Geen>", "Kas", "Zet"}));
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
    Shown shown;
    answerPickOne(2, &shown);
    qint32 id = 0;
    bool cancelled = true;
    QVERIFY(pt.SelecteerArtikelGroepUI(id, cancelled));
    QVERIFY(!cancelled);
    QCOMPARE(shown.caption, QStringLiteral("Importeren artikelen"));
    QCOMPARE(shown.uitleg,
             QStringLiteral("Selecteer een artikelgroep voor nieuw aan te maken artikelen, bestaande "
                            "artikelen worden niet aangepast naar deze artikelgroep."));
    QCOMPARE(shown.onderdeel, QStringLiteral("Artikelgroep:"));
    QCOMPARE(shown.entries, (QStringList{"Profielen", "Glas", "Beslag"})); // by sort number
    QCOMPARE(shown.selectedIndex, 0);
    QCOMPARE(id, 2); // "Beslag"

    answerPickOne(-1, &shown);
    QVERIFY(pt.SelecteerArtikelGroepUI(id, cancelled));
    QVERIFY(cancelled);
    QCOMPARE(id, -1);
}

void TestClsPT::asksForSupplier()
{
    clsPT pt;
    QVERIFY(pt.Connect(productTable()));
    Shown shown;
    qint32 id = 0;
    bool cancelled = true;

    answerPickOne(0, &shown); // "<Geen>"
    QVERIFY(pt.SelecteerLeverancierUI(id, cancelled));
    QCOMPARE(shown.entries, (QStringList{"<Geen>", "Axa", "Roto Frank"}));
    QCOMPARE(shown.selectedIndex, 0);
    QCOMPARE(shown.onderdeel, QStringLiteral("Leverancier:"));
    QVERIFY(shown.uitleg.endsWith(QStringLiteral("niet aangepast naar deze leverancier.")));
    QVERIFY(!cancelled);
    QCOMPARE(id, -1);

    answerPickOne(2, &shown);
    QVERIFY(pt.SelecteerLeverancierUI(id, cancelled));
    QCOMPARE(id, 1); // Roto Frank
    QVERIFY(!cancelled);

    answerPickOne(-1, &shown);
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
    Shown shown;
    answerPickOne(0, &shown);
    qint32 id = 0;
    bool cancelled = true;
    QVERIFY(!pt.SelecteerArtikelGroepUI(id, cancelled));
    QCOMPARE(id, -1);
    QVERIFY(!cancelled);
    QVERIFY(hasMessage(*m_ui, QStringLiteral("Kan artikelgroepen tabel niet openen!")));
    QVERIFY(shown.caption.isEmpty()); // no dialog was shown
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

void TestClsPT::pickOneDialogOffscreen()
{
    frmSelecteerGroepofLeverancier dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Form1"));
    QCOMPARE(dialog.cmdOK->text(), QStringLiteral("OK"));
    QCOMPARE(dialog.cmdCancel->text(), QStringLiteral("Annuleren"));
    QCOMPARE(dialog.GeselecteerdID(), -1); // nothing to choose

    dialog.show();
    QVERIFY(dialog.isVisible());
    QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
    QVERIFY(dialog.OKGekozen);
    QVERIFY(!dialog.ExtraVlag);
    QVERIFY(!dialog.isVisible());

    dialog.show();
    QTest::mouseClick(dialog.cmdCancel, Qt::LeftButton);
    QVERIFY(!dialog.OKGekozen);
    QVERIFY(!dialog.isVisible());
}

void TestClsPT::pickOneFillsFromRecordset()
{
    const QString path = productTable();
    fixtures::FixtureDb db(path);
    {
        frmSelecteerGroepofLeverancier dialog;
        const RecordsetPtr none =
            db.connection()->openRecordset(QStringLiteral("SELECT * FROM Supplier WHERE 1=0"));
        QVERIFY(dialog.VulLijst(none, QStringLiteral("Description"), QStringLiteral("ID"), false));
        QCOMPARE(dialog.cbGroep->count(), 0);
        QCOMPARE(dialog.GeselecteerdID(), -1);
    }
    {
        frmSelecteerGroepofLeverancier dialog;
        const RecordsetPtr none =
            db.connection()->openRecordset(QStringLiteral("SELECT * FROM Supplier WHERE 1=0"));
        QVERIFY(dialog.VulLijst(none, QStringLiteral("Description"), QStringLiteral("ID"), true));
        QCOMPARE(dialog.cbGroep->count(), 1);
        QCOMPARE(dialog.cbGroep->itemText(0), QStringLiteral("<Geen>"));
        QCOMPARE(dialog.GeselecteerdID(), -1);
    }
    {
        // A recordset standing at its end is read from its first row; a missing field gives no entries.
        frmSelecteerGroepofLeverancier dialog;
        const RecordsetPtr groups =
            db.connection()->openRecordset(QStringLiteral("SELECT * FROM ArtGroup ORDER BY ID"));
        groups->moveLast();
        groups->moveNext();
        QVERIFY(dialog.VulLijst(groups, QStringLiteral("Description"), QStringLiteral("ID"), false));
        QCOMPARE(dialog.cbGroep->count(), 3);
        QCOMPARE(dialog.cbGroep->currentIndex(), 0);
        dialog.cbGroep->setCurrentIndex(1);
        QCOMPARE(dialog.GeselecteerdID(), 2);
        frmSelecteerGroepofLeverancier other;
        QVERIFY(other.VulLijst(groups, QStringLiteral("Omschrijving"), QStringLiteral("ID"), false));
        QCOMPARE(other.cbGroep->count(), 0);
    }
    {
        frmSelecteerGroepofLeverancier dialog;
        QVERIFY(!dialog.VulLijst(nullptr, QStringLiteral("Description"), QStringLiteral("ID"), false));
        QCOMPARE(m_ui->errors.size(), 1);
    }
}

QTEST_MAIN(TestClsPT)
#include "test_clspt.moc"
