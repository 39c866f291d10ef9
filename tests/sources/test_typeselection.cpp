// The type choice of database sources: counting per article type, library
// table and groove kind on fixture databases of each kind and version, the
// stored choice, the outcome rule, and the three windows driven offscreen.

#include "bronnentestutil.h"
#include "fixtures/designdatabases.h"
#include "sources/clsbron2.h"
#include "sources/ui/frmtypeselectionwizard.h"
#include "start/errors.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

using namespace supplink;
using namespace supplink::test;
using fixtures::Kind;
using fixtures::Version;

Q_DECLARE_METATYPE(fixtures::Kind)

namespace {

std::unique_ptr<clsBron2> dbBron(const QString& pad, Version versie, bool jet = false)
{
    auto bron = std::make_unique<clsBron2>();
    bron->BronPad = pad;
    bron->BestandsNaam = QFileInfo(pad).fileName();
    bron->IsSQLite = !jet;
    bron->IsJetDatabase = jet;
    bron->AppType = QStringLiteral("VELMORA");
    bron->VerMajor = versie.major;
    bron->VerMinor = versie.minor;
    return bron;
}

QStringList teksten(const TypeSelectieModel& model)
{
    QStringList uit;
    for (const TypeRij& rij : model.rijen)
        uit << rij.tekst;
    return uit;
}

} // namespace

class TypeSelectionTest : public QObject
{
    Q_OBJECT

private slots:
    void artikelenEenType();
    void artikelenNaamloosType();
    void artikelenZonderType();
    void artikelenJetVolgorde();
    void onleesbareBron();
    void bibliotheek_data();
    void bibliotheek();
    void bibliotheekLeeg();
    void bibliotheekOntbrekendeTabel();
    void sponningfiguren_data();
    void sponningfiguren();
    void sponningfigurenNaamloos();
    void bewaardeKeuze_data();
    void bewaardeKeuze();
    void bewaardeKeuzeOngeldig();
    void vensterOKEnAnnuleren();
    void vensterEenType();
    void vensterBreedGenoeg();

private:
    QString nieuw(Kind kind, Version versie)
    {
        const QString pad = m_dir.filePath(QStringLiteral("db%1.sqlite").arg(++m_nummer));
        if (!fixtures::makeDatabase(pad, kind, versie))
            qFatal("fixture database not made");
        return pad;
    }
    void artikelen(const QString& pad, QList<int> typen)
    {
        fixtures::FixtureDb db(pad);
        int i = 0;
        for (int type : typen)
            db.insert(QStringLiteral("Article"),
                      {{"Code", QStringLiteral("A%1").arg(++i)}, {"Description", "x"}, {"fkType", type}});
    }

    TestEnvironment m_env;
    QTemporaryDir m_dir;
    int m_nummer = 0;
};

void TypeSelectionTest::artikelenEenType()
{
    RecordingUiServices ui;
    for (Version versie : {Version{2, 90}, Version{3, 11}, Version{3, 40}, Version{3, 50}}) {
        const QString pad = nieuw(Kind::ProductTable, versie);
        artikelen(pad, {4, 4, 4});
        auto bron = dbBron(pad, versie);
        TypeSelectieModel model(TypeSelectieSoort::Artikelen);
        model.SetFile(*bron);
        QCOMPARE(model.AantalGevonden, 1);
        QVERIFY(!model.Tonen);
        QVERIFY(model.Geaccepteerd);
        QCOMPARE(bron->TypeSelectie, QStringLiteral("4"));
        QCOMPARE(teksten(model), QStringList({"Veiligheids glas (3 artikelen)"}));
    }
    QVERIFY(ui.messages.isEmpty());

    const QString pad = nieuw(Kind::ProductTable, {3, 40});
    auto bron = dbBron(pad, {3, 40});
    bron->TypeSelectie = QStringLiteral("2");
    TypeSelectieModel leeg(TypeSelectieSoort::Artikelen);
    leeg.SetFile(*bron);
    QVERIFY(!leeg.Tonen);
    QVERIFY(!leeg.Geaccepteerd);
    QVERIFY(bron->TypeSelectie.isEmpty());
    QCOMPARE(ui.messages.last().text, QStringLiteral("Het bronbestand bevat geen artikelen!"));
}

void TypeSelectionTest::artikelenNaamloosType()
{
    RecordingUiServices ui;
    const QString pad = nieuw(Kind::ProductTable, {3, 40});
    artikelen(pad, {2, 17, 17});
    auto bron = dbBron(pad, {3, 40});
    TypeSelectieModel model(TypeSelectieSoort::Artikelen);
    model.SetFile(*bron);
    QCOMPARE(model.AantalGevonden, 2);
    QVERIFY(model.Tonen);
    QCOMPARE(teksten(model), QStringList({"Glas (1 artikelen)"}));

    // Only an unnamed type: nothing to take, treated as an empty source.
    const QString alleen = nieuw(Kind::ProductTable, {3, 40});
    artikelen(alleen, {17});
    auto naamloos = dbBron(alleen, {3, 40});
    naamloos->TypeSelectie = QStringLiteral("17");
    TypeSelectieModel tweede(TypeSelectieSoort::Artikelen);
    tweede.SetFile(*naamloos);
    QCOMPARE(tweede.AantalGevonden, 1);
    QVERIFY(!tweede.Tonen);
    QVERIFY(!tweede.Geaccepteerd);
    QVERIFY(naamloos->TypeSelectie.isEmpty());
    QCOMPARE(ui.messages.last().text, QStringLiteral("Het bronbestand bevat geen artikelen!"));
}

void TypeSelectionTest::artikelenZonderType()
{
    // Articles whose fkType is Null have no type to list: the counting fails and says so to the caller,
    // instead of listing them as a second "Bruto houten profielen" row.
    RecordingUiServices ui;
    for (const QList<QVariant>& typen : {QList<QVariant>{0, QVariant(), 0}, QList<QVariant>{QVariant()}}) {
        const QString pad = nieuw(Kind::ProductTable, {3, 40});
        {
            fixtures::FixtureDb db(pad);
            int i = 0;
            for (const QVariant& type : typen)
                db.insert(QStringLiteral("Article"),
                          {{"Code", QStringLiteral("A%1").arg(++i)}, {"Description", "x"}, {"fkType", type}});
        }
        auto bron = dbBron(pad, {3, 40});
        bron->TypeSelectie = QStringLiteral("0");
        TypeSelectieModel model(TypeSelectieSoort::Artikelen);
        try {
            model.SetFile(*bron);
            QFAIL("no counting error");
        } catch (const AppError& fout) {
            QCOMPARE(fout.number(), 94);
            QVERIFY(fout.description().contains(QLatin1String("zonder artikeltype")));
        }
        QVERIFY(!model.Geaccepteerd);
        QCOMPARE(bron->TypeSelectie, QStringLiteral("0")); // nothing written
        for (const TypeRij& rij : model.rijen)
            QVERIFY(rij.nummer != 0 || rij.tekst == QStringLiteral("Bruto houten profielen (2 artikelen)"));

        // The window passes the error on and is not to be shown.
        frmArticleTypeSelectionWizard venster;
        QVERIFY_THROWS_EXCEPTION(AppError, venster.SetFile(bron.get()));
        QVERIFY(!venster.Tonen);
        QVERIFY(!venster.Geaccepteerd);
    }
    QVERIFY(ui.messages.isEmpty());
}

void TypeSelectionTest::artikelenJetVolgorde()
{
    OpenersTerug terug;
    const QString pad = nieuw(Kind::ProductTable, {3, 30});
    {
        fixtures::FixtureDb db(pad);
        db.insert(QStringLiteral("ArtType"),
                  {{"ID", 2}, {"Type", "G"}, {"Description", "Glas"}, {"OrderNr", 9}});
        db.insert(QStringLiteral("ArtType"),
                  {{"ID", 5}, {"Type", "R"}, {"Description", "Rabat"}, {"OrderNr", 1}});
    }
    artikelen(pad, {2, 5, 5});
    jetAlsSQLite(pad);
    auto bron = dbBron(QStringLiteral("/nergens/bron.mdb"), {3, 30}, true);
    TypeSelectieModel model(TypeSelectieSoort::Artikelen);
    model.SetFile(*bron);
    QCOMPARE(teksten(model), QStringList({"Rabat/Schrootjes (2 artikelen)", "Glas (1 artikelen)"}));
    model.ZetVinkje(0, true);
    model.ZetVinkje(1, true);
    model.UpdateBron(*bron);
    QCOMPARE(bron->TypeSelectie, QStringLiteral("5;2"));
}

void TypeSelectionTest::onleesbareBron()
{
    RecordingUiServices ui;
    auto bron = dbBron(m_dir.filePath(QStringLiteral("ontbreekt.mdb")), {3, 30}, true);
    TypeSelectieModel model(TypeSelectieSoort::Artikelen);
    model.SetFile(*bron);
    QCOMPARE(model.AantalGevonden, 0);
    QVERIFY(!model.Tonen);
    QVERIFY(!model.Geaccepteerd);
    QVERIFY(!ui.messages.isEmpty() || !ui.errors.isEmpty());
    QCOMPARE(ui.messages.last().text, QStringLiteral("Het bronbestand bevat geen artikelen!"));
}

void TypeSelectionTest::bibliotheek_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<bool>("jet");
    QTest::addColumn<int>("rijen");
    QTest::newRow("sqlite 3.0") << 3 << 0 << false << 5;
    QTest::newRow("sqlite 3.40") << 3 << 40 << false << 5;
    QTest::newRow("sqlite 3.50") << 3 << 50 << false << 7;
    QTest::newRow("jet 3.50") << 3 << 50 << true << 5;
}

void TypeSelectionTest::bibliotheek()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(bool, jet);
    QFETCH(int, rijen);
    RecordingUiServices ui;
    OpenersTerug terug;
    const Version versie{major, minor};
    const QString pad = nieuw(Kind::Library, versie);
    {
        fixtures::FixtureDb db(pad);
        db.insert(QStringLiteral("EdgeGroove"), {{"Code", "R1"}});
        db.insert(QStringLiteral("EdgeGroove"), {{"Code", "R2"}});
    }
    if (jet)
        jetAlsSQLite(pad);
    auto bron = dbBron(jet ? QStringLiteral("/nergens/lib.mdb") : pad, versie, jet);
    TypeSelectieModel model(TypeSelectieSoort::Bibliotheek);
    model.SetFile(*bron);
    QCOMPARE(model.rijen.size(), rijen);
    QCOMPARE(model.rijen.at(1).tekst, QStringLiteral("Rand Sponningen (2 onderdelen)"));
    QCOMPARE(model.rijen.at(0).tekst, QStringLiteral("Vak Sponningen (0 onderdelen)"));
    QCOMPARE(model.AantalGevonden, 2);
    QVERIFY(model.Tonen);
    QVERIFY(!model.Geaccepteerd);
    QVERIFY(ui.errors.isEmpty());
    QVERIFY(ui.messages.isEmpty());
}

void TypeSelectionTest::bibliotheekLeeg()
{
    RecordingUiServices ui;
    const QString pad = nieuw(Kind::Library, {3, 40});
    auto bron = dbBron(pad, {3, 40});
    bron->TypeSelectie = QStringLiteral("1;2");
    TypeSelectieModel model(TypeSelectieSoort::Bibliotheek);
    model.SetFile(*bron);
    QCOMPARE(model.AantalGevonden, 0);
    QVERIFY(!model.Tonen);
    QVERIFY(!model.Geaccepteerd);
    QVERIFY(bron->TypeSelectie.isEmpty());
    QCOMPARE(ui.messages.size(), 1);
    QCOMPARE(ui.messages.first().text, QStringLiteral("Het bronbestand bevat geen onderdelen!"));

    // One part in the whole library still shows the dialog.
    fixtures::FixtureDb(pad).insert(QStringLiteral("TreshHoldCombi"), {{"Code", "T1"}});
    TypeSelectieModel een(TypeSelectieSoort::Bibliotheek);
    een.SetFile(*bron);
    QCOMPARE(een.AantalGevonden, 1);
    QVERIFY(een.Tonen);
    QVERIFY(!een.Geaccepteerd);
}

void TypeSelectionTest::bibliotheekOntbrekendeTabel()
{
    RecordingUiServices ui;
    const QString pad = nieuw(Kind::Library, {3, 40});
    {
        fixtures::FixtureDb db(pad);
        db.exec(QStringLiteral("DROP TABLE OuterGrooveTable"));
        db.insert(QStringLiteral("TreshHoldCombiExt"), {{"Code", "N1"}});
    }
    auto bron = dbBron(pad, {3, 40});
    TypeSelectieModel model(TypeSelectieSoort::Bibliotheek);
    model.SetFile(*bron);
    QCOMPARE(model.rijen.size(), 4);
    QCOMPARE(model.rijen.last().nummer, 5);
    QCOMPARE(ui.errors.size(), 1);
    QVERIFY2(ui.errors.first().details.contains(QStringLiteral("OnderdeelToevoegenSQLite")) ||
                 ui.errors.first().message.contains(QStringLiteral("OuterGrooveTable")),
             qPrintable(ui.errors.first().message + u'|' + ui.errors.first().details));
}

void TypeSelectionTest::sponningfiguren_data()
{
    QTest::addColumn<int>("minor");
    QTest::newRow("3.0") << 0;
    QTest::newRow("3.40") << 40;
    QTest::newRow("3.50") << 50;
}

void TypeSelectionTest::sponningfiguren()
{
    QFETCH(int, minor);
    RecordingUiServices ui;
    const Version versie{3, minor};
    const QString pad = nieuw(Kind::WorkPreparation, versie);
    {
        fixtures::FixtureDb db(pad);
        db.insert(QStringLiteral("GrooveShape"), {{"Code", "S1"}, {"Type", 3}});
    }
    auto bron = dbBron(pad, versie);
    TypeSelectieModel model(TypeSelectieSoort::Sponningfiguren);
    model.SetFile(*bron);
    QVERIFY(!model.Tonen);
    QVERIFY(model.Geaccepteerd);
    QCOMPARE(bron->TypeSelectie, QStringLiteral("3"));
    QCOMPARE(teksten(model), QStringList({"Randsponningen (1 figuren)"}));

    fixtures::FixtureDb(pad).insert(QStringLiteral("GrooveShape"), {{"Code", "S2"}, {"Type", 2}});
    TypeSelectieModel twee(TypeSelectieSoort::Sponningfiguren);
    twee.SetFile(*bron);
    QVERIFY(twee.Tonen);
    QCOMPARE(teksten(twee), QStringList({"Elementsponningen (1 figuren)", "Randsponningen (1 figuren)"}));
    QCOMPARE(twee.SelectieTekst(), QStringLiteral("3"));
    QVERIFY(ui.messages.isEmpty());
}

void TypeSelectionTest::sponningfigurenNaamloos()
{
    RecordingUiServices ui;
    const QString pad = nieuw(Kind::WorkPreparation, {3, 40});
    auto bron = dbBron(pad, {3, 40});
    TypeSelectieModel leeg(TypeSelectieSoort::Sponningfiguren);
    leeg.SetFile(*bron);
    QCOMPARE(ui.messages.last().text, QStringLiteral("Het bronbestand bevat geen sponningfiguren!"));
    QVERIFY(!leeg.Geaccepteerd);
}

void TypeSelectionTest::bewaardeKeuze_data()
{
    QTest::addColumn<QString>("bewaard");
    QTest::addColumn<QString>("na");
    QTest::newRow("3;7 zonder 7") << "3;7"
                                  << "3";
    QTest::newRow("3;3") << "3;3"
                         << "3";
    QTest::newRow("4;1") << "4;1"
                         << "1;4";
    QTest::newRow("leeg") << ""
                          << "";
}

void TypeSelectionTest::bewaardeKeuze()
{
    QFETCH(QString, bewaard);
    QFETCH(QString, na);
    const QString pad = nieuw(Kind::ProductTable, {3, 40});
    artikelen(pad, {1, 3, 4, 4});
    auto bron = dbBron(pad, {3, 40});
    bron->TypeSelectie = bewaard;
    TypeSelectieModel model(TypeSelectieSoort::Artikelen);
    model.SetFile(*bron);
    QVERIFY(model.Tonen);
    QCOMPARE(model.SelectieTekst(), na);
    QCOMPARE(model.OKMogelijk(), !na.isEmpty());
    QCOMPARE(bron->TypeSelectie, bewaard); // nothing written before OK
}

void TypeSelectionTest::bewaardeKeuzeOngeldig()
{
    const QString pad = nieuw(Kind::ProductTable, {3, 40});
    artikelen(pad, {1, 3});
    auto bron = dbBron(pad, {3, 40});
    bron->TypeSelectie = QStringLiteral("1;x");
    frmArticleTypeSelectionWizard venster;
    QVERIFY_THROWS_EXCEPTION(AppError, venster.SetFile(bron.get()));
    QVERIFY(!venster.Tonen);
    QVERIFY(!venster.Geaccepteerd);
}

void TypeSelectionTest::vensterOKEnAnnuleren()
{
    const QString pad = nieuw(Kind::ProductTable, {3, 40});
    artikelen(pad, {1, 3, 3});
    auto bron = dbBron(pad, {3, 40});
    bron->TypeSelectie = QStringLiteral("3");

    frmArticleTypeSelectionWizard venster;
    venster.SetFile(bron.get());
    QCOMPARE(venster.windowTitle(), QStringLiteral("Artikeltype Selectie : ") + bron->BestandsNaam);
    QVERIFY(venster.Tonen);
    QCOMPARE(venster.AantalGevonden, 2);
    QCOMPARE(venster.lbTypes->count(), 2);
    QCOMPARE(venster.lbTypes->item(1)->data(Qt::UserRole).toInt(), 3);
    QVERIFY(venster.cmdOK->isEnabled());
    venster.lbTypes->item(1)->setCheckState(Qt::Unchecked);
    QVERIFY(!venster.cmdOK->isEnabled());
    venster.lbTypes->item(0)->setCheckState(Qt::Checked);
    QVERIFY(venster.cmdOK->isEnabled());
    venster.show();
    venster.cmdAnnuleren_Click();
    QVERIFY(!venster.isVisible());
    QVERIFY(!venster.Geaccepteerd);
    QCOMPARE(bron->TypeSelectie, QStringLiteral("3"));

    frmArticleTypeSelectionWizard tweede;
    tweede.SetFile(bron.get());
    tweede.lbTypes->item(0)->setCheckState(Qt::Checked);
    tweede.show();
    tweede.cmdOK_Click();
    QVERIFY(!tweede.isVisible());
    QVERIFY(tweede.Geaccepteerd);
    QCOMPARE(bron->TypeSelectie, QStringLiteral("1;3"));
}

void TypeSelectionTest::vensterEenType()
{
    const QString pad = nieuw(Kind::WorkPreparation, {3, 50});
    fixtures::FixtureDb(pad).insert(QStringLiteral("GrooveShape"), {{"Code", "S1"}, {"Type", 1}});
    auto bron = dbBron(pad, {3, 50});
    frmShapeTypeSelectionWizard venster;
    venster.SetFile(bron.get());
    QCOMPARE(venster.windowTitle(), QStringLiteral("Sponningfiguur Selectie : ") + bron->BestandsNaam);
    QVERIFY(!venster.Tonen);
    QVERIFY(venster.Geaccepteerd);
    QCOMPARE(venster.lbTypes->item(0)->checkState(), Qt::Checked);
    QCOMPARE(bron->TypeSelectie, QStringLiteral("1"));

    const QString lib = nieuw(Kind::Library, {3, 50});
    fixtures::FixtureDb(lib).insert(QStringLiteral("CustomLHCombi"), {{"Code", "K1"}});
    auto libBron = dbBron(lib, {3, 50});
    frmLibraryTypeSelectionWizard bibliotheek;
    bibliotheek.SetFile(libBron.get());
    QCOMPARE(bibliotheek.windowTitle(), QStringLiteral("Bibliotheek Selectie : ") + libBron->BestandsNaam);
    QVERIFY(bibliotheek.Tonen);
    QCOMPARE(bibliotheek.lbTypes->count(), 7);
    QVERIFY(!bibliotheek.cmdOK->isEnabled());
}


// The window opens wide enough for its longest line ("Laagreliëf dorpels variabele lengte (18 artikelen)"),
// with room for the list's frame and scroll bar.
void TypeSelectionTest::vensterBreedGenoeg()
{
    const QString pad = nieuw(Kind::ProductTable, {3, 40});
    QList<int> typen;
    for (int type = 0; type < 16; ++type)
        for (int n = 0; n < (type == 14 ? 18 : 1); ++n)
            typen << type;
    artikelen(pad, typen);
    auto bron = dbBron(pad, {3, 40});
    frmArticleTypeSelectionWizard venster;
    venster.SetFile(bron.get());
    venster.show();
    QVERIFY(QTest::qWaitForWindowExposed(&venster));
    QListWidgetItem* langste = nullptr;
    for (int i = 0; i < venster.lbTypes->count(); ++i) {
        QListWidgetItem* item = venster.lbTypes->item(i);
        if (!langste || item->text().size() > langste->text().size())
            langste = item;
    }
    QVERIFY(langste);
    QVERIFY2(langste->text().startsWith(QStringLiteral("Laagreliëf dorpels variabele lengte")),
             qPrintable(langste->text()));
    const int nodig = venster.lbTypes->sizeHintForColumn(0);
    QVERIFY2(nodig <= venster.lbTypes->viewport()->width(),
             qPrintable(QStringLiteral("line %1 px, list %2 px").arg(nodig).arg(venster.lbTypes->viewport()->width())));
    QVERIFY(venster.width() <= venster.screen()->availableGeometry().width());
    QVERIFY(venster.frameGeometry().left() >= venster.screen()->availableGeometry().left());
}

QTEST_MAIN(TypeSelectionTest)
#include "test_typeselection.moc"
