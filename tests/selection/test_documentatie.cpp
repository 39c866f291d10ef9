// The supplier's documentation workbooks (ShowInfo, ReadInfo) and the
// information panel's links: workbooks written here with libxlsxwriter, the
// documents a link may open, and opening through an injected opener.

#include "selection/documentatie.h"
#include "selection/informatiepaneel.h"
#include "start/globals.h"
#include "start/leverancier.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QtTest>
#include <xlsxwriter.h>

using namespace supplink;

namespace {

// One documentation row: code, description and three pairs of link name and target; a number code is
// written as a number cell.
struct DocRij
{
    QVariant code;
    QStringList rest; // description, name 1, target 1, name 2, target 2, name 3, target 3
};

bool schrijfWerkboek(const QString& pad, const QList<DocRij>& rijen,
                     const QStringList& koppen = {"CODE", "Omschrijving", "Naam1", "Link1", "Naam2", "Link2",
                                                  "Naam3", "Link3"})
{
    lxw_workbook* boek = workbook_new(QFile::encodeName(pad).constData());
    if (!boek)
        return false;
    lxw_worksheet* blad = workbook_add_worksheet(boek, "Documentatie");
    for (int kolom = 0; kolom < koppen.size(); ++kolom)
        worksheet_write_string(blad, 0, lxw_col_t(kolom), koppen.at(kolom).toUtf8().constData(), nullptr);
    for (int r = 0; r < rijen.size(); ++r) {
        const lxw_row_t rij = lxw_row_t(r + 1);
        const DocRij& d = rijen.at(r);
        if (d.code.typeId() == QMetaType::Int)
            worksheet_write_number(blad, rij, 0, d.code.toInt(), nullptr);
        else
            worksheet_write_string(blad, rij, 0, d.code.toString().toUtf8().constData(), nullptr);
        for (int kolom = 0; kolom < d.rest.size(); ++kolom) {
            if (!d.rest.at(kolom).isEmpty())
                worksheet_write_string(blad, rij, lxw_col_t(kolom + 1), d.rest.at(kolom).toUtf8().constData(),
                                       nullptr);
        }
    }
    return workbook_close(boek) == LXW_NO_ERROR;
}

QStringList linkNamen(const InformatiePaneel& paneel)
{
    QStringList namen;
    for (const DocumentatieLink& link : paneel.Links())
        namen << link.Naam + QLatin1Char('=') + link.Doel;
    return namen;
}

} // namespace

class TestDocumentatie : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void codeWithQuoteIsFound();
    void rowWithoutLinks();
    void unknownCodeLeavesNoLinks();
    void numberCodes();
    void missingWorkbookIsNeverTriedAgain();
    void workbookRemovedAfterReadStillServes();
    void nameInAnotherCase();
    void workbookWithoutCodeColumnIsReportedOnce();

    void addresses_data();
    void addresses();
    void openGoesThroughTheOpener();
    void refusedLinkIsExplainedAndNotOpened();
    void chosenLinkAndCopyText();

private:
    QString map() const { return m_env->path(QStringLiteral("leverancier")); }

    std::unique_ptr<test::TestEnvironment> m_env;
    std::unique_ptr<test::RecordingUiServices> m_ui;
    QTemporaryDir m_vast;
};

void TestDocumentatie::init()
{
    m_env = std::make_unique<test::TestEnvironment>();
    m_ui = std::make_unique<test::RecordingUiServices>();
    globals() = ProgramState();
    QDir().mkpath(map());
    auto leverancier = std::make_shared<clsLeverancier>();
    leverancier->Code = QStringLiteral("VOORBEELD");
    leverancier->MainFolder = map();
    globals().gLeverancier = leverancier;
}

void TestDocumentatie::cleanup()
{
    globals() = ProgramState();
    m_ui.reset();
    m_env.reset();
}

void TestDocumentatie::codeWithQuoteIsFound()
{
    QVERIFY(schrijfWerkboek(QDir(map()).filePath(QStringLiteral("Laagrelief.xls")),
                            {{QStringLiteral("L1"), {QStringLiteral("Eerste")}},
                             {QStringLiteral("O'Neil"),
                              {QStringLiteral("Dorpel met kwart"), QStringLiteral("Handleiding"),
                               QStringLiteral("https://voorbeeld.nl/h.pdf"), QString(), QString(),
                               QStringLiteral("Tekening"), QString()}}}));
    DocumentatieStaat staat;
    InformatiePaneel paneel;
    QVERIFY(ShowInfo(QStringLiteral("O'Neil"), QStringLiteral("Laagrelief"), staat, paneel));
    QVERIFY(staat.Geladen && !staat.NietBeschikbaar);
    QCOMPARE(paneel.Omschrijving(), QStringLiteral("Dorpel met kwart"));
    // A pair without name and target gives no link; a name without target still does.
    QCOMPARE(linkNamen(paneel), (QStringList{QStringLiteral("Handleiding=https://voorbeeld.nl/h.pdf"),
                                             QStringLiteral("Tekening=")}));
    QCOMPARE(paneel.LinksToolTip(), QStringLiteral("Dubbelklik om de documentatie te openen."));
    QVERIFY(!paneel.OpenAan());
    // The code is compared as codes are: without regard to case.
    QVERIFY(ShowInfo(QStringLiteral("l1"), QStringLiteral("Laagrelief"), staat, paneel));
    QCOMPARE(paneel.Omschrijving(), QStringLiteral("Eerste"));
    QVERIFY(m_ui->errors.isEmpty());
}

void TestDocumentatie::rowWithoutLinks()
{
    QVERIFY(schrijfWerkboek(QDir(map()).filePath(QStringLiteral("Neuten.xls")),
                            {{QStringLiteral("N1"), {QStringLiteral("Neut")}}}));
    DocumentatieStaat staat;
    InformatiePaneel paneel;
    paneel.SetLink(QStringLiteral("Oud"), QStringLiteral("https://oud.nl"));
    paneel.KiesLink(0);
    QVERIFY(ShowInfo(QStringLiteral("N1"), QStringLiteral("Neuten"), staat, paneel));
    QVERIFY(paneel.Links().isEmpty());
    QVERIFY(!paneel.OpenAan());
    QCOMPARE(paneel.Omschrijving(), QStringLiteral("Neut"));
}

void TestDocumentatie::unknownCodeLeavesNoLinks()
{
    QVERIFY(schrijfWerkboek(QDir(map()).filePath(QStringLiteral("Neuten.xls")),
                            {{QStringLiteral("N1"), {QStringLiteral("Neut"), QStringLiteral("Blad"),
                                                     QStringLiteral("https://voorbeeld.nl")}}}));
    DocumentatieStaat staat;
    InformatiePaneel paneel;
    QVERIFY(ShowInfo(QStringLiteral("N1"), QStringLiteral("Neuten"), staat, paneel));
    QCOMPARE(paneel.Links().size(), 1);
    QVERIFY(!ShowInfo(QStringLiteral("N2"), QStringLiteral("Neuten"), staat, paneel));
    QVERIFY(paneel.Links().isEmpty());
    QVERIFY(!ShowInfo(QString(), QStringLiteral("Neuten"), staat, paneel));
}

void TestDocumentatie::numberCodes()
{
    QVERIFY(schrijfWerkboek(QDir(map()).filePath(QStringLiteral("Vaksponningen.xls")),
                            {{1001, {QStringLiteral("Sponning 1001")}}, {QStringLiteral("V2"), {QStringLiteral("V")}}}));
    DocumentatieStaat staat;
    InformatiePaneel paneel;
    QVERIFY(ShowInfo(QStringLiteral("1001"), QStringLiteral("Vaksponningen"), staat, paneel));
    QCOMPARE(paneel.Omschrijving(), QStringLiteral("Sponning 1001"));
}

void TestDocumentatie::missingWorkbookIsNeverTriedAgain()
{
    DocumentatieStaat staat;
    InformatiePaneel paneel;
    paneel.SetOmschrijvingTekst(QStringLiteral("vorige"));
    QVERIFY(!ShowInfo(QStringLiteral("L1"), QStringLiteral("Laagrelief"), staat, paneel));
    QVERIFY(staat.NietBeschikbaar);
    QCOMPARE(paneel.Omschrijving(), QStringLiteral("vorige")); // left as it was
    QVERIFY(schrijfWerkboek(QDir(map()).filePath(QStringLiteral("Laagrelief.xls")),
                            {{QStringLiteral("L1"), {QStringLiteral("Eerste")}}}));
    QVERIFY(!ShowInfo(QStringLiteral("L1"), QStringLiteral("Laagrelief"), staat, paneel));
    QVERIFY(m_ui->errors.isEmpty());
    QVERIFY(m_ui->messages.isEmpty());

    // No supplier at all: the same.
    globals().gLeverancier.reset();
    DocumentatieStaat zonder;
    QVERIFY(!ShowInfo(QStringLiteral("L1"), QStringLiteral("Laagrelief"), zonder, paneel));
    QVERIFY(zonder.NietBeschikbaar);
}

void TestDocumentatie::workbookRemovedAfterReadStillServes()
{
    const QString pad = QDir(map()).filePath(QStringLiteral("Randsponningen.xls"));
    QVERIFY(schrijfWerkboek(pad, {{QStringLiteral("R1"), {QStringLiteral("Rand")}},
                                  {QStringLiteral("R2"), {QStringLiteral("Tweede rand")}}}));
    DocumentatieStaat staat;
    InformatiePaneel paneel;
    QVERIFY(ShowInfo(QStringLiteral("R1"), QStringLiteral("Randsponningen"), staat, paneel));
    QVERIFY(QFile::remove(pad));
    QVERIFY(ShowInfo(QStringLiteral("R2"), QStringLiteral("Randsponningen"), staat, paneel));
    QCOMPARE(paneel.Omschrijving(), QStringLiteral("Tweede rand"));
}

void TestDocumentatie::nameInAnotherCase()
{
    QVERIFY(schrijfWerkboek(QDir(map()).filePath(QStringLiteral("elementsponningen.XLS")),
                            {{QStringLiteral("E1"), {QStringLiteral("Element")}}}));
    QCOMPARE(QFileInfo(DocumentatieBestand(QStringLiteral("Elementsponningen"))).fileName(),
             QStringLiteral("elementsponningen.XLS"));
    QVERIFY(DocumentatieBestand(QStringLiteral("Artikelen")).isEmpty());
}

void TestDocumentatie::workbookWithoutCodeColumnIsReportedOnce()
{
    QVERIFY(schrijfWerkboek(QDir(map()).filePath(QStringLiteral("Neuten.xls")),
                            {{QStringLiteral("N1"), {QStringLiteral("Neut")}}},
                            {QStringLiteral("Artikel"), QStringLiteral("Omschrijving")}));
    DocumentatieStaat staat;
    InformatiePaneel paneel;
    QVERIFY(!ShowInfo(QStringLiteral("N1"), QStringLiteral("Neuten"), staat, paneel));
    QVERIFY(!ShowInfo(QStringLiteral("N1"), QStringLiteral("Neuten"), staat, paneel));
    QCOMPARE(m_ui->errors.size(), 1);
    QVERIFY(m_ui->errors.at(0).message.contains(QStringLiteral("geen kolom CODE")));
    QVERIFY(staat.NietBeschikbaar && !staat.Connectie);
}

void TestDocumentatie::addresses_data()
{
    QTest::addColumn<QString>("doel");
    QTest::addColumn<QString>("adres"); // empty: refused

    // Made once: the data function runs before init.
    const QString docs = QDir(m_vast.path()).filePath(QStringLiteral("docs"));
    QDir().mkpath(docs);
    const auto maak = [&](const QString& naam, bool uitvoerbaar = false) {
        QFile bestand(QDir(docs).filePath(naam));
        bestand.open(QIODevice::WriteOnly);
        bestand.write("x");
        bestand.close();
        if (uitvoerbaar)
            bestand.setPermissions(bestand.permissions() | QFileDevice::ExeOwner);
        return bestand.fileName();
    };
    const QString pdf = maak(QStringLiteral("handleiding.pdf"));
    const QString exe = maak(QStringLiteral("setup.exe"));
    const QString script = maak(QStringLiteral("lees"), true);
    const QString bureaublad = maak(QStringLiteral("start.desktop"));

    QTest::newRow("web") << "https://voorbeeld.nl/a.pdf" << "https://voorbeeld.nl/a.pdf";
    QTest::newRow("web without scheme") << "www.voorbeeld.nl" << "http://www.voorbeeld.nl";
    QTest::newRow("mail") << "mailto:info@voorbeeld.nl" << "mailto:info@voorbeeld.nl";
    QTest::newRow("document") << pdf << QUrl::fromLocalFile(pdf).toString();
    QTest::newRow("document as file address") << QUrl::fromLocalFile(pdf).toString()
                                              << QUrl::fromLocalFile(pdf).toString();
    QTest::newRow("relative to the supplier") << "docs\\handleiding.pdf" << QUrl::fromLocalFile(pdf).toString();
    QTest::newRow("program") << exe << "";
    QTest::newRow("executable file") << script << "";
    QTest::newRow("desktop entry") << bureaublad << "";
    QTest::newRow("folder") << docs << "";
    QTest::newRow("missing document") << QDir(m_vast.path()).filePath(QStringLiteral("weg.pdf")) << "";
    QTest::newRow("script address") << "javascript:alert(1)" << "";
    QTest::newRow("other scheme") << "ftp://voorbeeld.nl/a" << "";
    QTest::newRow("web without host") << "http://" << "";
    QTest::newRow("empty") << "  " << "";
}

void TestDocumentatie::addresses()
{
    QFETCH(QString, doel);
    QFETCH(QString, adres);
    const std::optional<QUrl> gevonden = DocumentatieAdres(doel, m_vast.path());
    QCOMPARE(gevonden ? gevonden->toString() : QString(), adres);
}

void TestDocumentatie::openGoesThroughTheOpener()
{
    InformatiePaneel paneel;
    QList<QUrl> geopend;
    paneel.setOpener([&](const QUrl& adres) {
        geopend << adres;
        return true;
    });
    paneel.SetLink(QStringLiteral("Site"), QStringLiteral("https://voorbeeld.nl/blad?x=1"));
    paneel.Openen(); // nothing chosen: nothing opens
    QVERIFY(geopend.isEmpty());
    paneel.KiesLink(0);
    QVERIFY(paneel.OpenAan());
    paneel.Openen();
    QCOMPARE(geopend, QList<QUrl>{QUrl(QStringLiteral("https://voorbeeld.nl/blad?x=1"))});
    QVERIFY(m_ui->messages.isEmpty());
}

void TestDocumentatie::refusedLinkIsExplainedAndNotOpened()
{
    const QString exe = m_env->path(QStringLiteral("leverancier/installeer.exe"));
    QFile bestand(exe);
    QVERIFY(bestand.open(QIODevice::WriteOnly));
    bestand.close();
    InformatiePaneel paneel;
    int geopend = 0;
    paneel.setOpener([&](const QUrl&) { return ++geopend > 0; });
    paneel.SetLink(QStringLiteral("Installatie"), exe);
    paneel.KiesLink(0);
    paneel.Openen();
    QCOMPARE(geopend, 0);
    QCOMPARE(m_ui->messages.size(), 1);
    QVERIFY(m_ui->messages.at(0).text.contains(exe));
}

void TestDocumentatie::chosenLinkAndCopyText()
{
    InformatiePaneel paneel;
    paneel.SetLink(QString(), QStringLiteral("  "));
    QVERIFY(paneel.Links().isEmpty());
    QCOMPARE(paneel.LinksToolTip(), QStringLiteral("Dubbelklik om de documentatie te openen."));
    paneel.SetLink(QStringLiteral("A"), QStringLiteral("https://a.nl"));
    paneel.SetLink(QStringLiteral("B"), QStringLiteral("https://b.nl"));
    QCOMPARE(paneel.KopieerTekst(), QString());
    paneel.KiesLink(1);
    QCOMPARE(paneel.KopieerTekst(), QStringLiteral("https://b.nl"));
    paneel.ClearLinks();
    QVERIFY(!paneel.OpenAan());
    QCOMPARE(paneel.KopieerTekst(), QString());
}

QTEST_GUILESS_MAIN(TestDocumentatie)
#include "test_documentatie.moc"
