#pragma once
// Shared pieces of the hardware import tests: a supplier's hardware file
// written from lines, the four kinds of target (an SQLite options database,
// Jet options databases of the newer and the older format on the Jet
// stand-in, and an SQLite library), and a run of the engine as the transfer
// driver makes it (a fresh engine per run, its events recorded).
//
//     HangSluitProef p;
//     p.combinaties({Lijn{"K1", "Draaikiep"}.metMaten(50, 120, 0, 0)});
//     const Doel doel = p.doel(DoelSoort::SQLiteOpties);
//     QVERIFY(p.overzetten(doel));
//     QCOMPARE(doel.db().count("LocksHingesCombi"), 1);

#include "database/clsopt.h"
#include "database/recordset.h"
#include "fixtures/copierfixtures.h"
#include "fixtures/designdatabases.h"
#include "fixtures/jetstandin.h"
#include "import/clsimportbestandhangsluit.h"
#include "sources/clsbron2.h"
#include "start/globals.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"
#include "json/json.h"

#include <QFile>
#include <QStringList>
#include <memory>

namespace supplink::test {

// One line of a combination file: code, description, article, B>, B<, H>, H<, count, position,
// dimensioning, origin, X, Y, calculation length, drawn length, drawn width.
struct Lijn
{
    Lijn() = default;
    Lijn(const QString& c, const QString& o) : code(c), omschrijving(o) {}

    QString code;
    QString omschrijving;
    QString artikel = QStringLiteral("ART-1");
    qint32 bv = 0, bt = 0, hv = 0, ht = 0;
    qint32 aantal = 1;
    qint32 positie = 1;
    qint32 bemating = 1;
    qint32 oorsprong = 0;
    QString x = QStringLiteral("10");
    QString y = QStringLiteral("5");
    QString calc, afdrLengte, afdrBreedte;

    Lijn metMaten(qint32 bVan, qint32 bTot, qint32 hVan, qint32 hTot) const
    {
        Lijn l = *this;
        l.bv = bVan, l.bt = bTot, l.hv = hVan, l.ht = hTot;
        return l;
    }
    Lijn metArtikel(const QString& a, qint32 n = 1) const
    {
        Lijn l = *this;
        l.artikel = a;
        l.aantal = n;
        return l;
    }
    QString csv() const
    {
        return QStringList{code,
                           omschrijving,
                           artikel,
                           QString::number(bv),
                           QString::number(bt),
                           QString::number(hv),
                           QString::number(ht),
                           QString::number(aantal),
                           QString::number(positie),
                           QString::number(bemating),
                           QString::number(oorsprong),
                           x,
                           y,
                           calc,
                           afdrLengte,
                           afdrBreedte}
            .join(QLatin1Char(';'));
    }
};

// The column kinds of a combination file (Lijn) and of a choice file (code, description, combination).
inline const QList<qint32> kCombiKolommen = {1,   2,   101, 103, 104, 105, 106, 107,
                                             108, 109, 110, 111, 112, 113, 115, 117};
inline const QList<qint32> kKeuzeKolommen = {1, 2, 118};

enum class DoelSoort
{
    SQLiteOpties,
    JetNieuw,   // a Jet options database of the newer format (3.20), on the stand-in
    JetOud,     // a Jet options database of the older format (3.0), on the stand-in
    Bibliotheek // an SQLite library (3.50), in library mode
};

inline const char* naam(DoelSoort soort)
{
    switch (soort) {
    case DoelSoort::SQLiteOpties:
        return "SQLite options";
    case DoelSoort::JetNieuw:
        return "newer Jet options";
    case DoelSoort::JetOud:
        return "older Jet options";
    case DoelSoort::Bibliotheek:
        return "library";
    }
    return "";
}

// A target: the path the engine is given and the SQLite file that holds its tables.
struct Doel
{
    DoelSoort soort;
    QString pad;
    QString bestand;
    fixtures::FixtureDb db() const { return fixtures::FixtureDb(bestand); }
    QByteArray inhoud() const
    {
        QFile f(bestand);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

// A database file written by hand: the statements run on a new SQLite file.
inline void schrijfDatabase(const QString& pad, const QString& statements)
{
    SqliteOpenOptions opties;
    opties.create = true;
    SqliteBackend::open(pad, opties)->execute(statements);
}

// The rows of a query, each row's values as texts joined by "|" (a null as "<null>").
inline QStringList rijen(const Doel& doel, const QString& sql)
{
    const DbConnection db = doel.db().connection();
    const RecordsetPtr rs = db->openRecordset(sql);
    QStringList uit;
    for (; !rs->eof(); rs->moveNext()) {
        QStringList waarden;
        for (int i = 0; i < rs->fieldCount(); ++i) {
            const QVariant v = rs->value(i);
            waarden << (v.isValid() && !v.isNull() ? v.toString() : QStringLiteral("<null>"));
        }
        uit << waarden.join(QLatin1Char('|'));
    }
    return uit;
}

// A JSON text read; an unreadable one gives the empty value (and a warning).
inline JsonValue leesJson(const QString& tekst)
{
    JsonParser parser;
    JsonValue waarde = parser.parse(tekst);
    if (!parser.errors().isEmpty())
        qWarning("JSON unreadable: %s", qPrintable(parser.errors()));
    return waarde;
}

// The article usages of a combination's Data: in the options document each usage is a text inside the
// "LHArticles" text; in the library document an object of the "LHArticles" array.
inline QList<JsonValue> artikelenVan(const QString& data, bool bibliotheek)
{
    const JsonValue document = leesJson(data);
    QList<JsonValue> uit;
    if (bibliotheek) {
        for (const JsonValue& artikel : document[u"LHArticles"].toArray())
            uit << artikel;
        return uit;
    }
    const JsonValue lijst = leesJson(document[u"LHArticles"].toString());
    for (const JsonValue& artikel : lijst.toArray())
        uit << leesJson(artikel.toString());
    return uit;
}

// The article codes of the combination with this code (as the target compares it) in a target of the
// newer layouts, in order of the usages; with each its count of a member (fkArticle, Position, Polygon ...)
// when one is named.
inline QStringList artikelCodes(const Doel& doel, const QString& code, const QString& lid = QString())
{
    QStringList uit;
    if (doel.soort == DoelSoort::JetNieuw) {
        const QString kolom = lid.isEmpty() ? QStringLiteral("fkArticle") : lid;
        return rijen(doel,
                     QStringLiteral("SELECT %1 FROM LocksHingesArticle WHERE fkCombi IN (SELECT ID FROM "
                                    "LocksHingesCombi WHERE Code = '%2' COLLATE NOCASE) ORDER BY ID")
                         .arg(kolom, QString(code).replace(QLatin1Char('\''), QStringLiteral("''"))));
    }
    const QStringList data =
        rijen(doel, QStringLiteral("SELECT Data FROM LocksHingesCombi WHERE Code = '%1' COLLATE NOCASE")
                        .arg(QString(code).replace(QLatin1Char('\''), QStringLiteral("''"))));
    for (const JsonValue& artikel : artikelenVan(data.value(0), doel.soort == DoelSoort::Bibliotheek)) {
        const JsonValue& waarde = artikel[lid.isEmpty() ? QStringLiteral("fkArticle") : lid];
        uit << (waarde.isNumber() ? JsonNumberText(waarde.toDouble()) : waarde.toString());
    }
    return uit;
}

class HangSluitProef
{
public:
    TestEnvironment env;
    RecordingUiServices ui;
    fixtures::JetStandIns jet;
    clsBron2 bron;
    fixtures::EventLog log;
    std::unique_ptr<clsImportBestandHangSluit> engine;

    HangSluitProef()
    {
        globals().gLeverancierPrefix.clear();
        globals().gBibliotheekModus = false;
        bron.EersteRijImporteren = true;
        bron.IsCSV = true;
    }
    ~HangSluitProef()
    {
        globals().gLeverancierPrefix.clear();
        globals().gBibliotheekModus = false;
    }

    void bestand(const QStringList& regels, QList<qint32> kolommen, qint32 combiType,
                 const QString& naam = QStringLiteral("hang.csv"))
    {
        bron.BronPad = env.path(naam);
        bron.KolomSoorten = std::move(kolommen);
        bron.CombiType = combiType;
        QFile f(bron.BronPad);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write the hardware file");
        f.write((regels.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
    }
    void combinaties(const QList<Lijn>& lijnen)
    {
        QStringList regels;
        for (const Lijn& l : lijnen)
            regels << l.csv();
        bestand(regels, kCombiKolommen, 0);
    }
    // Choice lines: code, description, combination code.
    void keuzes(const QList<QStringList>& lijnen)
    {
        QStringList regels;
        for (const QStringList& l : lijnen)
            regels << l.join(QLatin1Char(';'));
        bestand(regels, kKeuzeKolommen, 1);
    }

    // A new target of the kind; the library kind also sets library mode.
    Doel doel(DoelSoort soort, const QString& naam = QStringLiteral("doel"))
    {
        Doel d{soort, QString(), env.path(naam + QStringLiteral(".db"))};
        switch (soort) {
        case DoelSoort::SQLiteOpties:
            if (!fixtures::makeDatabase(d.bestand, fixtures::Kind::Options, {3, 40}))
                qFatal("no options database");
            d.pad = d.bestand;
            break;
        case DoelSoort::JetNieuw:
        case DoelSoort::JetOud:
            if (!fixtures::makeJetDatabase(d.bestand, fixtures::Kind::Options,
                                           soort == DoelSoort::JetNieuw ? fixtures::Version{3, 20}
                                                                        : fixtures::Version{3, 0}))
                qFatal("no Jet options database");
            d.pad = jet.add(d.bestand);
            break;
        case DoelSoort::Bibliotheek:
            if (!fixtures::makeDatabase(d.bestand, fixtures::Kind::Library, {3, 50}))
                qFatal("no library");
            d.pad = d.bestand;
            break;
        }
        globals().gBibliotheekModus = soort == DoelSoort::Bibliotheek;
        return d;
    }

    // A run as the transfer driver makes it: a fresh engine, the selection (none: everything), the events
    // into log (cleared first). `voor` may touch the engine before the run.
    bool overzetten(const Doel& doel, const QStringList& selectie = {},
                    const std::function<void(clsImportBestandHangSluit&)>& voor = {})
    {
        log = fixtures::EventLog();
        engine = std::make_unique<clsImportBestandHangSluit>();
        engine->SetOntvanger(&log);
        engine->ColItemsGeselecteerd = std::make_shared<ItemCollection>(fixtures::items(selectie));
        if (voor)
            voor(*engine);
        return engine->OverzettenBestand(bron, doel.pad);
    }
};

} // namespace supplink::test
