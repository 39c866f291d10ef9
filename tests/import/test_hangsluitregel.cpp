// The hardware line and the JSON it becomes: the library article usage
// (GetAsJSON) with its dimension types, the options article entry
// (GetArtikelJSON) against the fixed template it replaces, and the options
// combination data (MergeJSONFieldOptions), read back by the JSON parser as
// the required-items reader reads it, also for codes with quotes and
// backslashes.

#include "import/clshangsluitregel.h"
#include "import/clsimportbestandhangsluit.h"
#include "start/errors.h"
#include "support/recordinguiservices.h"
#include "transfer/jsonmerge.h"
#include "json/json.h"

#include <QTest>

using namespace supplink;
using namespace supplink::test;

namespace {

// JSON written readably in this file: "'" stands for a double quote and "~" for a backslash.
QString j(const char* tekst)
{
    return QString::fromUtf8(tekst)
        .replace(QLatin1Char('~'), QLatin1Char('\\'))
        .replace(QLatin1Char('\''), QLatin1Char('"'));
}

// The options article entry as a fixed template with placeholders, filled in a fixed order without
// escaping: the form the encoded entry must equal for ordinary values.
QString entryByTemplate(const clsHangSluitRegel& r)
{
    QString t = j(
        "~'{~~~'fkArticle~~~':~~~'strfkarticle~~~',~~~'Position~~~':~~~'strposition~~~',"
        "~~~'Polygon~~~':~~~'strpolygon~~~',~~~'Origin~~~':~~~'strorigin~~~',~~~'YPos~~~':~~~'strypos~~~',"
        "~~~'CR_X~~~':~~~'strcr_x~~~',~~~'Draw~~~':~~~'strdraw~~~',~~~'RealLength~~~':~~~'strreallength~~~',"
        "~~~'DrawLength~~~':~~~'strdrawlength~~~',~~~'DrawWidth~~~':~~~'strdrawwidth~~~',"
        "~~~'Misc1~~~':~~~'strmisc1~~~',~~~'Misc2~~~':~~~'strmisc2~~~',~~~'Misc3~~~':~~~'strmisc3~~~',"
        "~~~'Misc4~~~':~~~'strmisc4~~~',~~~'Misc5~~~':~~~'strmisc5~~~',~~~'Type~~~':~~~'strtype~~~',"
        "~~~'WFrom~~~':~~~'strwfrom~~~',~~~'WTo~~~':~~~'strwto~~~',~~~'HFrom~~~':~~~'strhfrom~~~',"
        "~~~'HTo~~~':~~~'strhto~~~'}~'");
    const bool draw = !r.X.trimmed().isEmpty();
    const bool b = r.BreedteVan > 0 || r.BreedteTot > 0;
    const bool h = r.HoogteVan > 0 || r.HoogteTot > 0;
    const int type = (!r.BreedteVan && !r.BreedteTot && !r.HoogteVan && !r.HoogteTot) ? 0
                     : (b && h)                                                       ? 3
                     : b                                                              ? 1
                                                                                      : 2;
    const bool w = type == 1 || type == 3;
    const bool hh = type == 2 || type == 3;
    const QList<QPair<QString, QString>> vervang{
        {"strfkarticle", r.ArtikelCode},
        {"strtype", QString::number(type)},
        {"strwfrom", w ? QString::number(r.BreedteVan * 10) : QString()},
        {"strwto", w ? QString::number(r.BreedteTot * 10) : QString()},
        {"strhfrom", hh ? QString::number(r.HoogteVan * 10) : QString()},
        {"strhto", hh ? QString::number(r.HoogteTot * 10) : QString()},
        {"strposition", QString::number(r.Positie)},
        {"strreallength", r.CalculatieLengte},
        {"strdrawlength", r.AdrukLengte},
        {"strdrawwidth", r.AfdrukBreedte},
        {"strdraw", draw ? "1" : "0"},
        {"strorigin", draw ? QString::number(r.Oorsprong) : QString()},
        {"strypos", draw ? r.Y : QString()},
        {"strcr_x", draw ? r.X : QString()},
        {"strpolygon", draw ? QString::number(r.Bemating) : QString()},
        {"strmisc1", ""},
        {"strmisc2", ""},
        {"strmisc3", ""},
        {"strmisc4", ""},
        {"strmisc5", ""},
    };
    for (const auto& [plaats, waarde] : vervang)
        t.replace(plaats, waarde);
    return t;
}

clsHangSluitRegel gewoneRegel()
{
    clsHangSluitRegel r;
    r.ArtikelCode = "ART-100";
    r.Positie = 2;
    r.Bemating = 3;
    r.Oorsprong = 1;
    r.X = "10";
    r.Y = "25";
    r.BreedteVan = 50;
    r.BreedteTot = 120;
    r.CalculatieLengte = "1200";
    r.AdrukLengte = "L-10";
    r.AfdrukBreedte = "B/4";
    return r;
}

// The fkArticle values of an options data document, read as the required-items reader reads them:
// "LHArticles" as text holding an array, each element a text holding an object.
QStringList artikelenUit(const QString& document)
{
    QStringList codes;
    JsonParser p;
    const JsonValue doc = p.parse(document);
    if (!p.errors().isEmpty())
        return {"document: " + p.errors()};
    const JsonValue lijst = p.parse(doc[u"LHArticles"].toString());
    if (!p.errors().isEmpty() || !lijst.isArray())
        return {"LHArticles: " + p.errors()};
    for (const JsonValue& element : lijst.toArray()) {
        const JsonValue object = p.parse(element.toString());
        if (!p.errors().isEmpty())
            return {"element: " + p.errors()};
        codes << object[u"fkArticle"].toString();
    }
    return codes;
}

} // namespace

class TestHangSluitRegel : public QObject
{
    Q_OBJECT

private slots:
    void freshLineAsJson()
    {
        QCOMPARE(
            clsHangSluitRegel().GetAsJSON(),
            j("{'fkArticle':'','Position':0,'Draw':1,'Origin':0,'CR_Y':'0','CR_X':'0','Polygon':0"
              ",'ZPos':0,'ZPosWindow':0,'Type':0,'WFrom':0,'WTo':0,'HFrom':0,'HTo':0,'RealLength':''"
              ",'DrawLength':'','DrawWidth':'','Misc1':'','Misc2':'','Misc3':'','Misc4':'','Misc5':''}"));
    }

    void dimensionTypes_data()
    {
        QTest::addColumn<QList<qint32>>("maten"); // B >, B <, H >, H <
        QTest::addColumn<QString>("deel");
        QTest::newRow("none") << QList<qint32>{0, 0, 0, 0}
                              << j("'Type':0,'WFrom':0,'WTo':0,'HFrom':0,'HTo':0");
        QTest::newRow("negative width alone")
            << QList<qint32>{-5, 0, 0, 0} << j("'Type':2,'WFrom':0,'WTo':0,'HFrom':0,'HTo':0");
        QTest::newRow("height up to only")
            << QList<qint32>{0, 0, 0, 150} << j("'Type':2,'WFrom':0,'WTo':0,'HFrom':0,'HTo':1500");
        QTest::newRow("width only") << QList<qint32>{50, 120, 0, 0}
                                    << j("'Type':1,'WFrom':500,'WTo':1200,'HFrom':0,'HTo':0");
        QTest::newRow("width and height")
            << QList<qint32>{50, 120, 30, 200} << j("'Type':3,'WFrom':500,'WTo':1200,'HFrom':300,'HTo':2000");
    }

    void dimensionTypes()
    {
        QFETCH(QList<qint32>, maten);
        QFETCH(QString, deel);
        clsHangSluitRegel r;
        r.BreedteVan = maten[0];
        r.BreedteTot = maten[1];
        r.HoogteVan = maten[2];
        r.HoogteTot = maten[3];
        QVERIFY2(r.GetAsJSON().contains(deel), qPrintable(r.GetAsJSON()));
    }

    void dimensionOverflow()
    {
        clsHangSluitRegel r;
        r.HoogteTot = 300000000;
        try {
            r.GetAsJSON();
            QFAIL("no overflow");
        } catch (const AppError& e) {
            QCOMPARE(e.number(), 6);
        }
        QVERIFY_THROWS_EXCEPTION(AppError, clsImportBestandHangSluit::GetArtikelJSON(r));
    }

    void codeAndDescriptionTrimmed()
    {
        clsHangSluitRegel r;
        r.SetCode("  K1 ");
        r.SetOmschrijving(" Draaikiep\t");
        QCOMPARE(r.Code(), QStringLiteral("K1"));
        QCOMPARE(r.Omschrijving(), QStringLiteral("Draaikiep"));
    }

    // Codes with a quote, a backslash, a control character or other letters give valid JSON that reads
    // back as the code; other letters are written as they are.
    void libraryJsonOfOddCodes_data()
    {
        QTest::addColumn<QString>("code");
        QTest::newRow("quote") << "K\"1";
        QTest::newRow("backslash") << "M8\\10";
        QTest::newRow("both") << "\\\"";
        QTest::newRow("tab") << "a\tb";
        QTest::newRow("letters") << "Gr\u00f6\u00dfe";
    }

    void libraryJsonOfOddCodes()
    {
        QFETCH(QString, code);
        clsHangSluitRegel r;
        r.ArtikelCode = code;
        r.CalculatieLengte = code;
        JsonParser p;
        const JsonValue object = p.parse(r.GetAsJSON());
        QVERIFY2(p.errors().isEmpty(), qPrintable(p.errors()));
        QCOMPARE(object[u"fkArticle"].toString(), code);
        QCOMPARE(object[u"RealLength"].toString(), code);
        QCOMPARE(object.toObject().keys(), LocksHingesData::LibraryArticleKeys());
    }

    void optionsEntryEqualsTheTemplate_data()
    {
        QTest::addColumn<int>("geval");
        QTest::newRow("drawn, width only") << 0;
        QTest::newRow("blank X") << 1;
        QTest::newRow("height only") << 2;
        QTest::newRow("fresh line") << 3;
        QTest::newRow("other letters") << 4;
    }

    void optionsEntryEqualsTheTemplate()
    {
        QFETCH(int, geval);
        clsHangSluitRegel r = geval == 3 ? clsHangSluitRegel() : gewoneRegel();
        if (geval == 1)
            r.X = "   ";
        if (geval == 2) {
            r.BreedteVan = r.BreedteTot = 0;
            r.HoogteTot = 80;
        }
        if (geval == 4)
            r.ArtikelCode = "Gr\u00f6\u00dfe-\u20ac";
        QCOMPARE(clsImportBestandHangSluit::GetArtikelJSON(r), entryByTemplate(r));
    }

    // The Part's own cases, written out.
    void optionsEntryGolden()
    {
        clsHangSluitRegel r = gewoneRegel();
        r.X = " ";
        QCOMPARE(
            clsImportBestandHangSluit::GetArtikelJSON(r),
            j("~'{~~~'fkArticle~~~':~~~'ART-100~~~',~~~'Position~~~':~~~'2~~~',~~~'Polygon~~~':~~~'~~~',"
              "~~~'Origin~~~':~~~'~~~',~~~'YPos~~~':~~~'~~~',~~~'CR_X~~~':~~~'~~~',~~~'Draw~~~':~~~'0~~~',"
              "~~~'RealLength~~~':~~~'1200~~~',~~~'DrawLength~~~':~~~'L-10~~~',~~~'DrawWidth~~~':~~~'B/4~~~',"
              "~~~'Misc1~~~':~~~'~~~',~~~'Misc2~~~':~~~'~~~',~~~'Misc3~~~':~~~'~~~',~~~'Misc4~~~':~~~'~~~',"
              "~~~'Misc5~~~':~~~'~~~',~~~'Type~~~':~~~'1~~~',~~~'WFrom~~~':~~~'500~~~',~~~'WTo~~~':~~~'1200~~"
              "~',"
              "~~~'HFrom~~~':~~~'~~~',~~~'HTo~~~':~~~'~~~'}~'"));
    }

    void mergeGolden_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("verwacht");
        const QString leeg = j("{'RefUsages':'[]','ArtUsages':'[]','ActUsages':'[]','LHArticles':'[]'}");
        QTest::newRow("empty document") << LocksHingesData::OptionsTemplate() << leeg;
        QTest::newRow("no data at all") << "" << leeg;
        QTest::newRow("members missing") << j("{'ArtUsages':'[]'}") << leeg;
        QTest::newRow("lists kept, articles replaced")
            << j("{'ArtUsages':'[{~'a~':~'1~'}]','ActUsages':'[]','RefUsages':'[~'R1~',~'R2~']'"
                 ",'LHArticles':'[~'{~~~'fkArticle~~~':~~~'OUD~~~'}~']'}")
            << j("{'RefUsages':'[~'R1~',~'R2~']','ArtUsages':'[{~'a~':~'1~'}]','ActUsages':'[]','LHArticles':"
                 "'[]'}");
        QTest::newRow("a list stored as an array")
            << j("{'ArtUsages':['x'],'ActUsages':'[]','RefUsages':'[]'}")
            << j("{'RefUsages':'[]','ArtUsages':'[~'x~']','ActUsages':'[]'"
                 ",'LHArticles':'[]'}");
    }

    void mergeGolden()
    {
        QFETCH(QString, document);
        QFETCH(QString, verwacht);
        RecordingUiServices ui;
        QCOMPARE(clsImportBestandHangSluit::MergeJSONFieldOptions(document, QString()), verwacht);
        QVERIFY(ui.errors.isEmpty());
    }

    void mergeRefusesUnreadableData_data()
    {
        QTest::addColumn<QString>("document");
        QTest::newRow("cut off") << j("{'ArtUsages':'[]','ActUsages':");
        QTest::newRow("not an object") << j("['ArtUsages']");
        QTest::newRow("list text not an array") << j("{'ArtUsages':'{~'a~':1}'}");
        QTest::newRow("list text broken") << j("{'RefUsages':'[~'x~''}");
    }

    void mergeRefusesUnreadableData()
    {
        QFETCH(QString, document);
        RecordingUiServices ui;
        QCOMPARE(clsImportBestandHangSluit::MergeJSONFieldOptions(document, QString()), QString());
        QCOMPARE(ui.errors.size(), 1);
        QVERIFY(ui.errors.first().details.contains("MergeJSONFieldOptions"));
    }

    // What the options writer stores reads back, through the parser, as the articles it was given,
    // whatever their codes hold; the kept lists read back as they were.
    void mergeRoundTrip()
    {
        RecordingUiServices ui;
        const QStringList codes{"ART-100", "K\"1", "M8\\10", "\\\"\\", "Gr\u00f6\u00dfe", "tab\there"};
        QStringList entries;
        for (const QString& code : codes) {
            clsHangSluitRegel r = gewoneRegel();
            r.ArtikelCode = code;
            entries << clsImportBestandHangSluit::GetArtikelJSON(r);
        }
        const QString stored = j("{'ArtUsages':'[{~'u~':~'a~~~~b~'}]','ActUsages':'[]','RefUsages':'[]'}");
        const QString merged = clsImportBestandHangSluit::MergeJSONFieldOptions(stored, entries.join(','));
        QCOMPARE(artikelenUit(merged), codes);

        JsonParser p;
        const JsonValue doc = p.parse(merged);
        QCOMPARE(doc.toObject().keys(), LocksHingesData::OptionsKeys());
        const JsonValue artUsages = p.parse(doc[u"ArtUsages"].toString());
        QVERIFY(p.errors().isEmpty());
        QCOMPARE(artUsages[qsizetype(0)][u"u"].toString(), QStringLiteral("a\\b"));
        // Merged again, the document keeps its lists and takes the new articles.
        const QString again = clsImportBestandHangSluit::MergeJSONFieldOptions(merged, entries.first());
        QCOMPARE(artikelenUit(again), QStringList{"ART-100"});
        const JsonValue opnieuw = p.parse(again);
        QCOMPARE(opnieuw[u"ArtUsages"].toString(), doc[u"ArtUsages"].toString());
        QVERIFY(ui.errors.isEmpty());
    }
};

QTEST_MAIN(TestHangSluitRegel)
#include "test_hangsluitregel.moc"
