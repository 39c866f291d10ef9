#include "start/veldcatalogus.h"

#include "start/globals.h"

#include <initializer_list>

namespace supplink {

QString VeldNaam(qint32 code)
{
    switch (code) {
    case 0: return QStringLiteral("(Niet importeren)");
    case 1: return QStringLiteral("Code");
    case 2: return QStringLiteral("Omschrijving");
    case 4: return QStringLiteral("Artikelgroep");
    case 5: return QStringLiteral("DXF Bestand");
    case 6: return QStringLiteral("DXF Block");
    case 7: return QStringLiteral("Gespiegeld artikel");
    case 8: return QStringLiteral("Leverancier");
    case 9: return QStringLiteral("BestelCode");
    case 10: return QStringLiteral("Prijs/Eenheid");
    case 11: return QStringLiteral("Opmerking");
    case 13: return QStringLiteral("Breedte");
    case 14: return QStringLiteral("Hoogte");
    case 15: return QStringLiteral("Dikte");
    case 16: return QStringLiteral("Laatste wijziging");
    case 17: return QStringLiteral("Arcering");
    case 18: return QStringLiteral("Netto hoogte");
    case 19: return QStringLiteral("Werkende hoogte");
    case 20: return QStringLiteral("Maximale lengte");
    case 23: return QStringLiteral("Vaste Stuksprijs");
    case 24: return QStringLiteral("(Artikeltype)");
    case 25: return QStringLiteral("Min. Oppervlak");
    case 26: return QStringLiteral("Tekening Omschrijving");
    case 27: return QStringLiteral("Kunststof Profielcode");
    case 28: return QStringLiteral("Kleur Voorzijde");
    case 29: return QStringLiteral("Kleur Achterzijde");
    case 30: return QStringLiteral("Offerte Omschrijving");
    case 31: return QStringLiteral("Omschrijving + Offerte Omschrijving");
    case 32: return QStringLiteral("Handelslengte");
    case 33: return QStringLiteral("Sponningcode Links");
    case 34: return QStringLiteral("Sponningcode Rechts");
    case 35: return QStringLiteral("Family Name");
    case 36: return QStringLiteral("Type Name");
    case 37: return QStringLiteral("Material Name");
    case 101: return QStringLiteral("ArtikelCode");
    case 102: return QStringLiteral("ArtikelOmschrijving");
    case 103: return QStringLiteral("B >");
    case 104: return QStringLiteral("B <");
    case 105: return QStringLiteral("H >");
    case 106: return QStringLiteral("H <");
    case 107: return QStringLiteral("Aantal");
    case 108: return QStringLiteral("Positie");
    case 109: return QStringLiteral("Bemating");
    case 110: return QStringLiteral("Oorsprong");
    case 111: return QStringLiteral("X");
    case 112: return QStringLiteral("Y");
    case 113: return QStringLiteral("Calculatielengte");
    case 115: return QStringLiteral("Afdruklengte");
    case 117: return QStringLiteral("Afdrukbreedte");
    case 118: return QStringLiteral("Hang en Sluitwerk Combi Code");
    default: return QString();
    }
}

namespace {
void vul(VeldCatalogus& catalogus, std::initializer_list<qint32> codes)
{
    catalogus.clear();
    for (qint32 code : codes)
        VoegVeldToe(catalogus, VeldNaam(code), QString(), code);
}
} // namespace

void VulVeldCatalogus()
{
    vul(globals().gVeldCatalogusArtikelen, {0, 24, 17, 4, 9, 13, 1, 15, 5, 6, 7, 14, 16, 8, 18, 2,
                                            11, 10, 19, 20, 23, 25, 26, 27, 28, 29, 30, 31, 32, 35, 36, 37});
    vul(globals().gVeldCatalogusHangSluit,
        {0, 1, 2, 103, 104, 105, 106, 107, 101, 102, 108, 109, 110, 111, 112, 113, 115, 117, 118});
}

void VoegVeldToe(VeldCatalogus& catalogus, const QString& name, const QVariant& value, qint32 code)
{
    catalogus.append(clsProperty{name, value, code});
}

bool ZoekItemMetNaamEnTag(const VeldCatalogus& catalogus, const QString& name, qint32 code)
{
    for (const clsProperty& entry : catalogus) {
        if (entry.name == name)
            return entry.Tag == code;
    }
    return false;
}

const clsProperty* ZoekItemMetTag(const VeldCatalogus& catalogus, qint32 code)
{
    for (const clsProperty& entry : catalogus) {
        if (entry.Tag == code)
            return &entry;
    }
    return nullptr;
}

} // namespace supplink
