// Takes any text as one line of a supplier's hardware CSV file, under a column
// map, library mode and code prefix chosen by the input, and checks what the
// hardware reading must satisfy: the split, the supplier correction and the
// mapping either give a line or fail with the row's own errors; every number
// read by the program's number rules is a finite number; the line's library
// JSON and its options entry, merged into the options data, read back through
// the JSON parser to the line's own article code.
#include "import/clsimportbestandhangsluit.h"
#include "import/hangsluitbestandlezer.h"
#include "sources/clsbron2.h"
#include "sources/tekstbestand.h"
#include "start/csvsplit.h"
#include "start/errors.h"
#include "start/globals.h"
#include "start/sharedroutines.h"
#include "transfer/jsonmerge.h"
#include "json/json.h"

#include <QByteArray>
#include <QString>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace supplink;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// The column kinds a hardware file may carry, and some it may not.
constexpr qint32 kSoorten[] = {0,   1,   2,   101, 102, 103, 104, 105, 106, 107, 108,
                               109, 110, 111, 112, 113, 114, 115, 116, 117, 118, 3};

// The article codes of an options data document, read as the required-items reader reads them.
QStringList artikelenUit(const QString& document)
{
    QStringList codes;
    JsonParser p;
    const JsonValue doc = p.parse(document);
    check(p.errors().isEmpty());
    const JsonValue lijst = p.parse(doc[u"LHArticles"].toString());
    check(p.errors().isEmpty() && lijst.isArray());
    for (const JsonValue& element : lijst.toArray()) {
        const JsonValue object = p.parse(element.toString());
        check(p.errors().isEmpty());
        codes << object[u"fkArticle"].toString();
    }
    return codes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Byte 0: library mode, code prefix, UTF-8 or Windows-1252 text; byte 1: the number of mapped
    // columns; the next bytes: their kinds; the rest: the line.
    if (size < 2)
        return 0;
    const bool bibliotheek = data[0] & 1;
    const bool prefix = data[0] & 2;
    const size_t kolommen = std::min<size_t>(data[1] % 24, size - 2);
    clsBron2 bron;
    for (size_t i = 0; i < kolommen; ++i)
        bron.KolomSoorten << kSoorten[data[2 + i] % std::size(kSoorten)];
    const QByteArray bytes(reinterpret_cast<const char*>(data + 2 + kolommen),
                           qsizetype(size - 2 - kolommen));
    const QString regel = DecodeerTekst(bytes);
    globals().gLeverancierPrefix = prefix ? QStringLiteral("ROTO_") : QString();
    globals().gBibliotheekModus = bibliotheek;

    // The program's number rules on every field of the line, as they stand.
    for (const QString& veld : regel.split(QLatin1Char(';'))) {
        const std::optional<double> getal = LeesGetal(veld);
        const std::optional<double> maalTien = LeesGetal(veld, 1);
        if (getal)
            check(std::isfinite(*getal));
        if (getal && maalTien && std::fabs(*getal) < 1e300 && std::fabs(*getal) > 1e-300)
            check(std::fabs(*maalTien - *getal * 10) <= std::fabs(*getal * 10) * 1e-12);
    }

    if (regel.trimmed().isEmpty())
        return 0; // the reader passes blank lines over before splitting
    bool ok = false;
    QString fout;
    const std::optional<QStringList> velden = SplitCSVRegel(regel, ok, fout);
    check(ok && velden);

    const QStringList rij = HangSluitBestandLezer::CorrectForSupplier(bron, *velden);
    check(rij.size() == velden->size());
    if (!prefix)
        check(rij == *velden);
    if (rij.isEmpty() || HangSluitBestandLezer::IsLegeRegel(rij))
        return 0;

    HangSluitRegelPtr lijn;
    try {
        lijn = HangSluitBestandLezer::MaakRegel(bron, rij, bibliotheek);
    } catch (const AppError& e) {
        // A short row, a number too large for its field, a Y that is no number: nothing else.
        check(e.number() == 9 || e.number() == 6 || e.number() == 13);
        if (e.number() == 9)
            check(rij.size() < bron.KolomSoorten.size());
        return 0;
    }
    check(lijn != nullptr);
    check(rij.size() >= bron.KolomSoorten.size());
    check(lijn->Code() == lijn->Code().trimmed());
    check(!lijn->X.isEmpty() && !lijn->Y.isEmpty());
    if (!bibliotheek && bron.KolomSoorten.contains(112))
        check(lijn->Y == QStringLiteral("0") || LeesGetal(lijn->Y).has_value());

    QString bibliotheekJson;
    try {
        bibliotheekJson = lijn->GetAsJSON();
    } catch (const AppError& e) {
        check(e.number() == 6); // a dimension times ten beyond 32 bits
        return 0;
    }
    JsonParser p;
    const JsonValue object = p.parse(bibliotheekJson);
    check(p.errors().isEmpty());
    check(object[u"fkArticle"].toString() == lijn->ArtikelCode);
    check(object[u"CR_Y"].toString() == (lijn->Tekenen() ? lijn->Y : QStringLiteral("0")));
    check(object.toObject().keys() == LocksHingesData::LibraryArticleKeys());

    const QString entry = clsImportBestandHangSluit::GetArtikelJSON(*lijn);
    const QString document = clsImportBestandHangSluit::MergeJSONFieldOptions(
        LocksHingesData::OptionsTemplate(), entry + ',' + entry);
    check(artikelenUit(document) == QStringList({lijn->ArtikelCode, lijn->ArtikelCode}));
    return 0;
}
