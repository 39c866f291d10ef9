#include "import/standaardimportplan.h"

#include "sources/clsbron2.h"
#include "start/errors.h"

#include <QHash>

namespace supplink {

namespace {

// clang-format off
const QHash<qint32, QString>& sjablonen()
{
    static const QHash<qint32, QString> tabel = {
        {0,  QStringLiteral("VELD ( Nee ; Skip ; AlfaNumeriek ; Nee ; Nee ; Nee ; Nee ; Nee  ) ")},
        {1,  QStringLiteral("VELD ( Ja  ; Code ; AlfaNumeriek ; Ja  ; Ja  ; Nee ; Nee ; Nee  )")},
        {2,  QStringLiteral("VELD ( Ja  ; Description ; AlfaNumeriek ; Ja  ; Nee ; Nee ; Nee ; Nee  )")},
        {4,  QStringLiteral("VELD ( Ja  ; fkGroup            ; Numeriek     ; Ja  ; Nee ; Nee ; Nee ; Nee  ; . )")},
        {5,  QStringLiteral("VELD ( Ja  ; DXFFile            ; AlfaNumeriek ; Nee ; Nee ; Nee ; Nee ; Nee  )")},
        {6,  QStringLiteral("VELD ( Ja  ; DXFBlock           ; AlfaNumeriek ; Nee ; Nee ; Nee ; Nee ; Nee  )")},
        {7,  QStringLiteral("VELD ( Ja  ; fkMirroredArticle  ; AlfaNumeriek ; Nee ; Nee ; Nee ; Nee ; Ja  ; Code ; ID )")},
        {8,  QStringLiteral("VELD ( Ja  ; fkSupplier         ; Numeriek     ; Nee ; Nee ; Nee ; Nee ; Nee ; . )")},
        {9,  QStringLiteral("VELD ( Ja  ; OrderCode          ; AlfaNumeriek ; Nee ; Nee ; Ja  ; Nee ; Nee  )")},
        {10, QStringLiteral("VELD ( Ja  ; PriceUnit          ; Numeriek     ; Nee ; Nee ; Ja  ; Nee ; Nee ; . )")},
        {11, QStringLiteral("VELD ( Ja  ; Remark             ; AlfaNumeriek ; Nee ; Nee ; Nee ; Nee ; Nee  )")},
        {12, QStringLiteral("VELD ( Nee ; fkPriceCorrection  ; AlfaNumeriek ; Nee ; Nee ; Nee ; Nee ; Nee  )")},
        {13, QStringLiteral("VELD ( Ja  ; w                  ; Numeriek     ; Nee ; Nee ; Nee ; Ja  ; Nee ; . )")},
        {14, QStringLiteral("VELD ( Ja  ; H                  ; Numeriek     ; Nee ; Nee ; Nee ; Ja  ; Nee ; . )")},
        {15, QStringLiteral("VELD ( Ja  ; t                  ; Numeriek     ; Nee ; Nee ; Nee ; Ja  ; Nee ; . )")},
        {16, QStringLiteral("VELD ( Ja  ; LastModified        ; Datum        ; Nee ; Nee ; Ja  ; Nee ; Nee  )")},
        {17, QStringLiteral("VELD ( Ja  ; Patern             ; Numeriek     ; Nee ; Nee ; Nee ; Nee ; Nee  )")},
        {18, QStringLiteral("VELD ( Ja  ; HNet               ; Numeriek     ; Nee ; Nee ; Nee ; Ja  ; Nee ; . )")},
        {19, QStringLiteral("VELD ( Ja  ; HWork              ; Numeriek     ; Nee ; Nee ; Nee ; Ja  ; Nee ; . )")},
        {20, QStringLiteral("VELD ( Ja  ; MaxLength          ; Numeriek     ; Nee ; Nee ; Nee ; Ja  ; Nee ; . )")},
        {21, QStringLiteral("VELD ( Ja  ; MaxHeight          ; Numeriek     ; Nee ; Nee ; Nee ; Ja  ; Nee ; . )")},
        {22, QStringLiteral("VELD ( Ja  ; MaxWidth           ; Numeriek     ; Nee ; Nee ; Nee ; Ja  ; Nee ; . )")},
        {23, QStringLiteral("VELD ( Ja  ; PriceOrder         ; Numeriek     ; Nee ; Nee ; Ja  ; Nee ; Nee ; . )")},
        {24, QStringLiteral("VELD ( Ja  ; fkType             ; Numeriek     ; Ja  ; Nee ; Nee ; Nee ; Nee  )")},
        {25, QStringLiteral("VELD ( Ja  ; Amin               ; Numeriek     ; Nee ; Nee ; Nee ; Nee  ; Nee ; . )")},
        {26, QStringLiteral("VELD ( Ja  ; DisplayDescription ; AlfaNumeriek ; Nee ; Nee ; Nee ; Nee ; Nee  )")},
        {27, QStringLiteral("VELD ( Ja  ; fkGenericProfile   ; Numeriek     ; Nee ; Nee ; Nee ; Nee ; Nee ; . )")},
        {28, QStringLiteral("VELD ( Ja  ; fkColor            ; Numeriek     ; Nee ; Nee ; Nee ; Nee ; Nee ; . )")},
        {29, QStringLiteral("VELD ( Ja  ; fkBackColor        ; Numeriek     ; Nee ; Nee ; Nee ; Nee ; Nee ; . )")},
        {30, QStringLiteral("VELD ( Ja  ; OfferDescr         ; AlfaNumeriek ; Nee  ; Nee ; Nee ; Nee ; Nee  )")},
        {31, QStringLiteral("VELD ( Ja  ; Description|OfferDescr ; AlfaNumeriek ; Ja  ; Nee ; Nee ; Nee ; Nee  )")},
        {32, QStringLiteral("VELD ( Ja  ; TradeLength         ; Numeriek     ; Nee ; Nee ; Nee ; Ja  ; Nee ; . )")},
        {33, QStringLiteral("VELD ( Ja  ; GrooveShapeLeft     ; AlfaNumeriek ; Nee  ; Nee ; Nee ; Nee ; Nee  )")},
        {34, QStringLiteral("VELD ( Ja  ; GrooveShapeRight    ; AlfaNumeriek ; Nee  ; Nee ; Nee ; Nee ; Nee  )")},
        {35, QStringLiteral("VELD ( Ja  ; FamilyName       ; AlfaNumeriek ; Nee  ; Nee ; Nee ; Nee ; Nee  )")},
        {36, QStringLiteral("VELD ( Ja  ; TypeName         ; AlfaNumeriek ; Nee  ; Nee ; Nee ; Nee ; Nee  )")},
        {37, QStringLiteral("VELD ( Ja  ; MaterialName     ; AlfaNumeriek ; Nee  ; Nee ; Nee ; Nee ; Nee  )")},
    };
    return tabel;
}
// clang-format on

// The template without the centimetre rule (its seventh argument "Nee"): an XML material export gives its
// lengths in millimetres already (its reader turns the metres of the export into millimetres), so nothing
// of it is multiplied by ten again.
QString ZonderCentimeters(const QString& sjabloon)
{
    QStringList delen = sjabloon.split(QLatin1Char(';'));
    if (delen.size() > 6 && delen.at(6).trimmed() == QLatin1String("Ja"))
        delen[6] = QStringLiteral(" Nee ");
    return delen.join(QLatin1Char(';'));
}

} // namespace

std::optional<QString> VeldSjabloon(qint32 code)
{
    const auto it = sjablonen().constFind(code);
    if (it == sjablonen().constEnd())
        return std::nullopt;
    return *it;
}

std::optional<ScriptBlok> CreateImportSetFromBronAndDoel(const clsBron2& bron)
{
    try {
        clsImportSet set;
        set.Applicatie = QStringLiteral("VELMORA");
        set.Omschrijving = QString();
        set.VersieMajor = 3;
        set.VersieMinor = 0;
        set.StartNewType();

        set.AddTypeRegel(QStringLiteral("TABEL ( Article )"));
        if (bron.ArtikelType > -1)
            set.AddTypeRegel(QStringLiteral("ID ( fkType ;  [BRON] )"));
        set.AddTypeRegel(QStringLiteral("UISELECTEREN ( Nee ; Nee )"));
        if (bron.IsCSV)
            set.AddTypeRegel(QStringLiteral("OMSCHRIJVING ( csv )"));
        else if (bron.IsExcel)
            set.AddTypeRegel(QStringLiteral("OMSCHRIJVING ( xls )"));
        if (!bron.ArtikelGroepSelectieMogelijk())
            set.AddTypeRegel(QStringLiteral("ID ( fkGroup ; [LEVERANCIER] )"));
        set.AddTypeRegel(QStringLiteral("FOREIGNKEYA ( ArtGroup          ; Description  ; ID ; fkGroup )"));
        set.AddTypeRegel(
            QStringLiteral("FOREIGNKEYB ( Supplier          ; Description  ; ID ; fkSupplier )"));
        set.AddTypeRegel(
            QStringLiteral("FOREIGNKEYC ( Genericprofile    ; Code         ; ID ; fkGenericProfile )"));
        set.AddTypeRegel(QStringLiteral("FOREIGNKEYD ( Colors            ; Code         ; ID ; fkColor )"));
        set.AddTypeRegel(
            QStringLiteral("FOREIGNKEYE ( Colors            ; Code         ; ID ; fkBackColor )"));

        // One VELD line per column; a code without a template adds none.
        for (const qint32 code : bron.KolomSoorten) {
            if (const std::optional<QString> sjabloon = VeldSjabloon(code))
                set.AddTypeRegel(bron.IsXMLExport() ? ZonderCentimeters(*sjabloon) : *sjabloon);
        }

        set.EndNewType();
        return set.Types.first();
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("CreateImportSetFromBronAndDoel"), e);
        return std::nullopt;
    }
}

} // namespace supplink
