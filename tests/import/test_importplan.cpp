// Parsing of script lines, the plan container and its lookups, and the
// default plan built from a source's column map.

#include "import/clsscriptregel.h"
#include "import/standaardimportplan.h"
#include "sources/clsbron2.h"
#include "start/errors.h"
#include "support/recordinguiservices.h"

#include <QTest>

using namespace supplink;

namespace {

QStringList teksten(const ScriptBlok& plan)
{
    QStringList result;
    for (const ScriptRegelPtr& regel : plan)
        result << regel->Tekst;
    return result;
}

const QString kTabel = QStringLiteral("TABEL ( Article )");
const QString kIdType = QStringLiteral("ID ( fkType ;  [BRON] )");
const QString kUiSelecteren = QStringLiteral("UISELECTEREN ( Nee ; Nee )");
const QString kIdGroep = QStringLiteral("ID ( fkGroup ; [LEVERANCIER] )");
const QStringList kForeignKeys = {
    QStringLiteral("FOREIGNKEYA ( ArtGroup          ; Description  ; ID ; fkGroup )"),
    QStringLiteral("FOREIGNKEYB ( Supplier          ; Description  ; ID ; fkSupplier )"),
    QStringLiteral("FOREIGNKEYC ( Genericprofile    ; Code         ; ID ; fkGenericProfile )"),
    QStringLiteral("FOREIGNKEYD ( Colors            ; Code         ; ID ; fkColor )"),
    QStringLiteral("FOREIGNKEYE ( Colors            ; Code         ; ID ; fkBackColor )"),
};
const QString kVeldCode = QStringLiteral("VELD ( Ja  ; Code ; AlfaNumeriek ; Ja  ; Ja  ; Nee ; Nee ; Nee  )");
const QString kVeldOmschrijving =
    QStringLiteral("VELD ( Ja  ; Description ; AlfaNumeriek ; Ja  ; Nee ; Nee ; Nee ; Nee  )");
const QString kVeldPrijs =
    QStringLiteral("VELD ( Ja  ; PriceUnit          ; Numeriek     ; Nee ; Nee ; Ja  ; Nee ; Nee ; . )");
const QString kVeldSkip = QStringLiteral("VELD ( Nee ; Skip ; AlfaNumeriek ; Nee ; Nee ; Nee ; Nee ; Nee  )");
const QString kVeldGroep =
    QStringLiteral("VELD ( Ja  ; fkGroup            ; Numeriek     ; Ja  ; Nee ; Nee ; Nee ; Nee  ; . )");

} // namespace

class TestImportPlan : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("tekst");
        QTest::addColumn<QString>("opdracht");
        QTest::addColumn<bool>("heeftArgumenten");
        QTest::addColumn<QStringList>("argumenten");

        QTest::newRow("veld") << QStringLiteral(
                                     "VELD ( Ja  ; Code ; AlfaNumeriek ; Ja  ; Ja  ; Nee ; Nee ; Nee  )")
                              << QStringLiteral("VELD") << true
                              << QStringList{"Ja", "Code", "AlfaNumeriek", "Ja", "Ja", "Nee", "Nee", "Nee"};
        QTest::newRow("lower-case keyword") << QStringLiteral("tabel ( Article )") << QStringLiteral("TABEL")
                                            << true << QStringList{"Article"};
        QTest::newRow("no closing parenthesis")
            << QStringLiteral("TABEL ( Article") << QStringLiteral("TABEL") << true << QStringList{"Articl"};
        QTest::newRow("trailing space") << QStringLiteral("TABEL ( Article ) ") << QStringLiteral("TABEL")
                                        << true << QStringList{"Article"};
        QTest::newRow("bare word keeps its case")
            << QStringLiteral("  Einde\t ") << QStringLiteral("Einde") << false << QStringList{};
        QTest::newRow("empty parentheses")
            << QStringLiteral("UNIEKEREGEL()") << QStringLiteral("UNIEKEREGEL") << false << QStringList{};
        QTest::newRow("spaces only") << QStringLiteral("UNIEKEREGEL(   )") << QStringLiteral("UNIEKEREGEL")
                                     << true << QStringList{""};
        QTest::newRow("empty arguments")
            << QStringLiteral("ID ( ; x ; )") << QStringLiteral("ID") << true << QStringList{"", "x", ""};
        QTest::newRow("control characters removed")
            << QStringLiteral("VE\x01LD ( a\tb ; c )") << QStringLiteral("VELD") << true
            << QStringList{"ab", "c"};
        QTest::newRow("no quoting") << QStringLiteral("ID ( \"a;b\" )") << QStringLiteral("ID") << true
                                    << QStringList{"\"a", "b\""};
    }

    void parse()
    {
        QFETCH(QString, tekst);
        QFETCH(QString, opdracht);
        QFETCH(bool, heeftArgumenten);
        QFETCH(QStringList, argumenten);
        test::RecordingUiServices ui;

        clsScriptRegel regel;
        regel.SetScriptRegel(tekst);
        QCOMPARE(regel.Opdracht, opdracht);
        QCOMPARE(regel.Tekst, tekst.trimmed());
        QCOMPARE(regel.Argumenten.has_value(), heeftArgumenten);
        if (heeftArgumenten)
            QCOMPARE(*regel.Argumenten, argumenten);
        QVERIFY(ui.errors.isEmpty());
    }

    void conditionLine()
    {
        test::RecordingUiServices ui;
        clsScriptRegel regel;
        regel.SetScriptRegel(QStringLiteral("IFISTRUE ( x : VELD ( a ; b ) : VELD ( c ; d ) )"));
        QCOMPARE(regel.Opdracht, QStringLiteral("IFISTRUE"));
        QCOMPARE(*regel.Argumenten, QStringList{"x"});
        QVERIFY(regel.DanRegel && regel.AndersRegel);
        QCOMPARE(regel.DanRegel->Opdracht, QStringLiteral("VELD"));
        QCOMPARE(*regel.DanRegel->Argumenten, (QStringList{"a", "b"}));
        QCOMPARE(regel.AndersRegel->Opdracht, QStringLiteral("VELD"));
        QCOMPARE(*regel.AndersRegel->Argumenten, (QStringList{"c", "d"}));
        QVERIFY(ui.errors.isEmpty());
    }

    void nestedConditionLine()
    {
        test::RecordingUiServices ui;
        clsScriptRegel regel;
        regel.SetScriptRegel(
            QStringLiteral("IFISNULL ( y : IFISTRUE ( z : TABEL ( A ) : TABEL ( B ) ) : ID ( k ; v ) )"));
        QCOMPARE(*regel.Argumenten, QStringList{"y"});
        QCOMPARE(regel.DanRegel->Opdracht, QStringLiteral("IFISTRUE"));
        QCOMPARE(regel.DanRegel->DanRegel->Tekst, QStringLiteral("TABEL ( A )"));
        QCOMPARE(regel.DanRegel->AndersRegel->Tekst, QStringLiteral("TABEL ( B )"));
        QCOMPARE(*regel.AndersRegel->Argumenten, (QStringList{"k", "v"}));
        QVERIFY(ui.errors.isEmpty());
    }

    void brokenConditionLines_data()
    {
        QTest::addColumn<QString>("tekst");
        QTest::addColumn<bool>("voorwaardeBereikt");
        QTest::newRow("no colon") << QStringLiteral("IFISTRUE ( x )") << false;
        QTest::newRow("no second colon") << QStringLiteral("IFISTRUE ( x : VELD ( a : b ) )") << true;
    }

    void brokenConditionLines()
    {
        QFETCH(QString, tekst);
        QFETCH(bool, voorwaardeBereikt);
        test::RecordingUiServices ui;
        clsImportSet set;
        set.StartNewType();
        set.AddTypeRegel(tekst);
        set.EndNewType();
        QCOMPARE(ui.errors.size(), 1);
        // The line keeps what was filled and is still in the block.
        QCOMPARE(set.Types.size(), 1);
        QCOMPARE(set.Types.first().size(), 1);
        const clsScriptRegel& regel = *set.Types.first().first();
        QCOMPARE(regel.Opdracht, QStringLiteral("IFISTRUE"));
        QCOMPARE(regel.Tekst, tekst);
        QCOMPARE(regel.Argumenten.has_value(), voorwaardeBereikt);
        QVERIFY(!regel.DanRegel);
    }

    void lineEndingInOpenParenthesisIsReported()
    {
        test::RecordingUiServices ui;
        clsScriptRegel regel;
        regel.SetScriptRegel(QStringLiteral("TABEL ("));
        QCOMPARE(ui.errors.size(), 1);
        QCOMPARE(regel.Opdracht, QStringLiteral("TABEL"));
        QVERIFY(!regel.Argumenten);
    }

    void importSetBlocks()
    {
        test::RecordingUiServices ui;
        clsImportSet set;
        set.AddTypeRegel(QStringLiteral("TABEL ( X )")); // no block open: nothing
        QVERIFY(set.EndNewType());
        QVERIFY(set.Types.isEmpty());

        set.StartNewType();
        set.AddTypeRegel(QStringLiteral("TABEL ( Dropped )"));
        set.StartNewType(); // the open block is dropped
        set.AddTypeRegel(QStringLiteral("TABEL ( A )"));
        set.AddTypeRegel(QStringLiteral("TABEL ( B )"));
        set.EndNewType();
        QCOMPARE(set.Types.size(), 1);
        QCOMPARE(teksten(set.Types.first()), (QStringList{"TABEL ( A )", "TABEL ( B )"}));
    }

    void lookups()
    {
        test::RecordingUiServices ui;
        clsImportSet set;
        set.StartNewType();
        set.AddTypeRegel(QStringLiteral("tabel ( Article )"));
        set.AddTypeRegel(QStringLiteral("ID ( fkType ; 3 )"));
        set.AddTypeRegel(QStringLiteral("ID ( fkGroup ; 4 )"));
        set.AddTypeRegel(QStringLiteral("Leeg"));
        set.EndNewType();
        const ScriptBlok& plan = set.Types.first();

        QVERIFY(ZoekScriptRegel(plan, QStringLiteral("TABEL")));
        QVERIFY(!ZoekScriptRegel(plan, QStringLiteral("tabel")));
        QVERIFY(!ZoekScriptRegel(nullptr, QStringLiteral("TABEL")));
        QCOMPARE(EersteArgument(plan, QStringLiteral("TABEL")), QStringLiteral("Article"));
        QCOMPARE(EersteArgument(plan, QStringLiteral("ID")), QStringLiteral("fkType")); // the first ID line
        QCOMPARE(EersteArgument(plan, QStringLiteral("VELD")), QString());
        QCOMPARE(EersteArgument(plan, QStringLiteral("Leeg")), QString()); // a bare word has no arguments
        QCOMPARE(EersteArgument(nullptr, QStringLiteral("TABEL")), QString());
    }

    void argumentIsJa()
    {
        clsScriptRegel regel;
        regel.SetScriptRegel(QStringLiteral("VELD ( Ja ; ja ; JA ; Nee ;  Ja  )"));
        QVERIFY(ArgumentIsJa(regel, 1));
        QVERIFY(!ArgumentIsJa(regel, 2));
        QVERIFY(!ArgumentIsJa(regel, 3));
        QVERIFY(!ArgumentIsJa(regel, 4));
        QVERIFY(ArgumentIsJa(regel, 5));
        QVERIFY_THROWS_EXCEPTION(AppError, ArgumentIsJa(regel, 6));
        clsScriptRegel kaal;
        kaal.SetScriptRegel(QStringLiteral("LEEG"));
        QVERIFY_THROWS_EXCEPTION(AppError, ArgumentIsJa(kaal, 1));
    }

    void scriptTekst()
    {
        clsImportSet set;
        set.StartNewType();
        set.AddTypeRegel(QStringLiteral(" TABEL ( Article ) "));
        set.AddTypeRegel(QStringLiteral("UISELECTEREN ( Nee ; Nee )"));
        set.EndNewType();
        QCOMPARE(ScriptTekst(set.Types.first()),
                 QStringLiteral("\r\nTABEL ( Article )\r\nUISELECTEREN ( Nee ; Nee )"));
        QCOMPARE(ScriptTekst(nullptr), QString());
    }

    // The default plan, line for line.
    void defaultPlan_data()
    {
        QTest::addColumn<bool>("csv");
        QTest::addColumn<bool>("excel");
        QTest::addColumn<int>("artikelType");
        QTest::addColumn<QList<qint32>>("kolommen");
        QTest::addColumn<QStringList>("verwacht");

        QTest::newRow("csv, type 3, no group column")
            << true << false << 3 << QList<qint32>{1, 2, 10}
            << (QStringList{kTabel, kIdType, kUiSelecteren, QStringLiteral("OMSCHRIJVING ( csv )"), kIdGroep}
                << kForeignKeys << kVeldCode << kVeldOmschrijving << kVeldPrijs);
        QTest::newRow("excel without type, group column")
            << false << true << -1 << QList<qint32>{1, 4}
            << (QStringList{kTabel, kUiSelecteren, QStringLiteral("OMSCHRIJVING ( xls )")}
                << kForeignKeys << kVeldCode << kVeldGroep);
        QTest::newRow("type 0 counts, code 0 keeps its place")
            << true << false << 0 << QList<qint32>{0, 1}
            << (QStringList{kTabel, kIdType, kUiSelecteren, QStringLiteral("OMSCHRIJVING ( csv )"), kIdGroep}
                << kForeignKeys << kVeldSkip << kVeldCode);
        QTest::newRow("code 3 adds no line")
            << true << false << -1 << QList<qint32>{1, 3, 2}
            << (QStringList{kTabel, kUiSelecteren, QStringLiteral("OMSCHRIJVING ( csv )"), kIdGroep}
                << kForeignKeys << kVeldCode << kVeldOmschrijving);
        QTest::newRow("neither kind: no description line")
            << false << false << -1 << QList<qint32>{}
            << (QStringList{kTabel, kUiSelecteren, kIdGroep} << kForeignKeys);
    }

    void defaultPlan()
    {
        QFETCH(bool, csv);
        QFETCH(bool, excel);
        QFETCH(int, artikelType);
        QFETCH(QList<qint32>, kolommen);
        QFETCH(QStringList, verwacht);
        test::RecordingUiServices ui;

        clsBron2 bron;
        bron.IsCSV = csv;
        bron.IsExcel = excel;
        bron.ArtikelType = artikelType;
        bron.KolomSoorten = kolommen;
        const std::optional<ScriptBlok> plan = CreateImportSetFromBronAndDoel(bron);
        QVERIFY(plan);
        QCOMPARE(teksten(*plan), verwacht);
        QVERIFY(ui.errors.isEmpty());
    }

    void templateTexts()
    {
        QCOMPARE(*VeldSjabloon(0),
                 QStringLiteral("VELD ( Nee ; Skip ; AlfaNumeriek ; Nee ; Nee ; Nee ; Nee ; Nee  ) "));
        QCOMPARE(*VeldSjabloon(31),
                 QStringLiteral(
                     "VELD ( Ja  ; Description|OfferDescr ; AlfaNumeriek ; Ja  ; Nee ; Nee ; Nee ; Nee  )"));
        QCOMPARE(*VeldSjabloon(16),
                 QStringLiteral(
                     "VELD ( Ja  ; LastModified        ; Datum        ; Nee ; Nee ; Ja  ; Nee ; Nee  )"));
        QVERIFY(!VeldSjabloon(3));
        QVERIFY(!VeldSjabloon(38));
        QVERIFY(!VeldSjabloon(-1));
    }

    // Every template, read by argument.
    void templates()
    {
        test::RecordingUiServices ui;
        QList<qint32> alle;
        for (qint32 code = 0; code <= 40; ++code)
            alle << code;
        clsBron2 bron;
        bron.KolomSoorten = alle;
        const std::optional<ScriptBlok> plan = CreateImportSetFromBronAndDoel(bron);
        QVERIFY(plan);

        QList<qint32> codes; // the codes that gave a VELD line, in order
        for (qint32 code : alle) {
            if (VeldSjabloon(code))
                codes << code;
        }
        QCOMPARE(codes.size(), 37); // 0..37 without 3
        QVERIFY(!codes.contains(3));

        QList<qint32> nietGeimporteerd, verplicht, sleutel, bijwerken, centimeters, verwijzing, datum,
            numeriek, zonderDecimaalteken;
        QMap<qint32, QString> velden;
        int k = 0;
        for (const ScriptRegelPtr& regel : *plan) {
            if (regel->Opdracht != QLatin1String("VELD"))
                continue;
            const qint32 code = codes.at(k++);
            velden[code] = Argument(*regel, 2);
            if (Argument(*regel, 1) == QLatin1String("Nee"))
                nietGeimporteerd << code;
            if (ArgumentIsJa(*regel, 4))
                verplicht << code;
            if (ArgumentIsJa(*regel, 5))
                sleutel << code;
            if (ArgumentIsJa(*regel, 6))
                bijwerken << code;
            if (ArgumentIsJa(*regel, 7))
                centimeters << code;
            if (ArgumentIsJa(*regel, 8)) {
                verwijzing << code;
                QCOMPARE(Argument(*regel, 9), QStringLiteral("Code"));
                QCOMPARE(Argument(*regel, 10), QStringLiteral("ID"));
            }
            if (Argument(*regel, 3) == QLatin1String("Datum"))
                datum << code;
            if (Argument(*regel, 3) == QLatin1String("Numeriek")) {
                numeriek << code;
                if (regel->Argumenten->size() < 9)
                    zonderDecimaalteken << code;
                else
                    QCOMPARE(Argument(*regel, 9), QStringLiteral("."));
            }
        }
        QCOMPARE(k, codes.size());
        QCOMPARE(nietGeimporteerd, (QList<qint32>{0, 12}));
        QCOMPARE(verplicht, (QList<qint32>{1, 2, 4, 24, 31}));
        QCOMPARE(sleutel, (QList<qint32>{1}));
        QCOMPARE(bijwerken, (QList<qint32>{9, 10, 16, 23}));
        QCOMPARE(centimeters, (QList<qint32>{13, 14, 15, 18, 19, 20, 21, 22, 32}));
        QCOMPARE(verwijzing, (QList<qint32>{7}));
        QCOMPARE(datum, (QList<qint32>{16}));
        QCOMPARE(numeriek,
                 (QList<qint32>{4, 8, 10, 13, 14, 15, 17, 18, 19, 20, 21, 22, 23, 24, 25, 27, 28, 29, 32}));
        QCOMPARE(zonderDecimaalteken, (QList<qint32>{17, 24}));
        QCOMPARE(velden.value(31), QStringLiteral("Description|OfferDescr"));
        QCOMPARE(velden.value(16), QStringLiteral("LastModified"));
        QCOMPARE(velden.value(17), QStringLiteral("Patern"));
    }
};

QTEST_GUILESS_MAIN(TestImportPlan)
#include "test_importplan.moc"
