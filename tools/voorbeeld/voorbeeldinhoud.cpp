#include "voorbeeld/voorbeeldinhoud.h"

#include <cmath>

namespace supplink::voorbeeld {

namespace {

struct GroepDef
{
    const char* tag;
    const char* code;
    const char* omschrijving;
    int type;
    const char* eenheid;
    double basisPrijs;
    QStringList namen;
};

// The supplier's article groups; every group's articles take its names in turn.
const QList<GroepDef>& groepDefs()
{
    static const QList<GroepDef> defs{
        {"VUR", "VB-VUREN", "Vurenhout profielen", 0, "m1", 4.20,
         {"Vuren kozijnhout", "Vuren raamhout", "Vuren deurhout", "Vuren glaslat", "Vuren stijl"}},
        {"MER", "VB-MERANTI", "Meranti profielen", 0, "m1", 7.85,
         {"Meranti kozijnhout", "Meranti raamhout", "Meranti deurhout", "Meranti dorpelhout", "Meranti regel"}},
        {"EIK", "VB-EIKEN", "Eiken profielen", 0, "m1", 12.40,
         {"Eiken kozijnhout", "Eiken raamhout", "Eiken deurstijl", "Eiken onderdorpel"}},
        {"PAN", "VB-PANEEL", "Panelen", 1, "m2", 38.50,
         {"Multiplex paneel", "Sandwichpaneel", "Trespa paneel", "MDF paneel watervast"}},
        {"HRG", "VB-HRGLAS", "HR++ isolatieglas", 3, "m2", 62.00,
         {"HR++ glas 4-15-4", "HR++ glas 4-16-4", "HR++ glas 33.1-15-4 gelaagd", "Triple glas 4-12-4-12-4"}},
        {"VGL", "VB-VEILGLAS", "Veiligheidsglas", 4, "m2", 48.00,
         {"Gelaagd glas 33.1", "Gelaagd glas 44.2", "Gehard glas 6 mm", "Gehard glas 8 mm"}},
        {"SCH", "VB-SCHARN", "Scharnieren", 6, "st", 6.95,
         {"Kogelscharnier 89 x 89 RVS", "Paumelle 89 mm verzinkt", "Veiligheidsscharnier SKG** 89 x 89",
          "Kogelstiftscharnier 76 x 76"}},
        {"SLT", "VB-SLOTEN", "Sloten en cilinders", 6, "st", 54.00,
         {"Insteekslot PC55", "Meerpuntssluiting PC72", "Veiligheidscilinder SKG***", "Dubbele cilinder 30/30",
          "Raamboom met slot"}},
        {"STR", "VB-STRIP", "Sluitstrippen en tochtwering", 7, "m1", 3.10,
         {"Sluitstrip verzinkt", "Tochtprofiel", "Kierdichting", "Sluitnokstrip"}},
        {"RST", "VB-ROOSTER", "Ventilatieroosters", 8, "st", 27.50,
         {"Ventilatierooster 500 mm", "Ventilatierooster 800 mm", "Suskast 1000 mm"}},
        {"DRP", "VB-DORPEL", "Dorpels", 14, "m1", 45.00,
         {"Hardsteen dorpel 150 mm", "Kunststeen dorpel 170 mm", "Aluminium onderdorpel 120 mm",
          "Laagreliëf dorpel 110 mm"}},
        {"NTN", "VB-NEUT", "Neuten", 15, "st", 18.75,
         {"Betonneut 100 x 100", "Kunststof neut 90 x 90", "Hardsteen neut 120 x 120"}},
        {"LAK", "VB-LAK", "Lakken en beitsen", 13, "st", 24.95,
         {"Grondverf wit 2,5 l", "Dekverf RAL 9010 1 l", "Beits transparant 2,5 l", "Impregneermiddel 5 l"}},
        {"BEV", "VB-BEVEST", "Bevestigingsmiddelen", 12, "st", 0.85,
         {"Kozijnschroef 7,5 x 132", "Kozijnanker 200 mm", "Stelblok 100 x 30 x 5", "Glaslatspijker 1,6 x 30"}},
    };
    return defs;
}

double tweeDecimalen(double waarde)
{
    return std::round(waarde * 100.0) / 100.0;
}

QString nummer(int n, int breedte)
{
    return QStringLiteral("%1").arg(n, breedte, 10, QLatin1Char('0'));
}

// An article of a group: the j-th of the group, i-th of all.
Artikel maakArtikel(const GroepDef& def, int groep, int i, int j, const QString& code)
{
    Artikel a;
    a.code = code;
    a.groep = groep;
    a.type = def.type;
    a.eenheid = QString::fromLatin1(def.eenheid);
    // Hinges come in pairs, left and right, of one name.
    const bool paren = qstrcmp(def.tag, "SCH") == 0;
    const int n = paren ? j / 2 : j;
    const QString naam = def.namen.at(n % def.namen.size());
    const int serie = n / int(def.namen.size());
    a.prijs = tweeDecimalen(def.basisPrijs * (1.0 + double((i * 37) % 100) / 200.0) * (1.0 + serie * 0.04));
    a.bestelcode = QStringLiteral("B") + nummer(1000000 + i * 7, 7);
    a.gewijzigd = QDate(2024, 1 + i % 12, 1 + i % 28);
    switch (def.type) {
    case 0: {
        a.breedte = 44 + (j % 6) * 12;
        a.hoogte = 67 + (j % 5) * 23;
        a.handelslengte = 5400;
        a.omschrijving = QStringLiteral("%1 %2 x %3 mm").arg(naam).arg(a.breedte).arg(a.hoogte);
        break;
    }
    case 1:
        a.dikte = 9 + (j % 5) * 3;
        a.breedte = 1220;
        a.hoogte = 2500;
        a.omschrijving = QStringLiteral("%1 %2 mm").arg(naam).arg(a.dikte);
        break;
    case 3:
    case 4:
        a.dikte = 24 + (j % 3) * 4;
        a.breedte = 3210;
        a.hoogte = 2250;
        a.omschrijving = naam;
        break;
    case 6:
        if (paren) {
            // Each the other's mirrored article (Inhoud::Maak links them).
            a.omschrijving = naam + (j % 2 == 0 ? QStringLiteral(" links") : QStringLiteral(" rechts"));
        } else {
            a.omschrijving = naam;
        }
        break;
    case 7:
        a.handelslengte = 2400 + (j % 3) * 300;
        a.omschrijving = QStringLiteral("%1 %2 mm").arg(naam).arg(a.handelslengte);
        break;
    default:
        a.omschrijving = naam;
        break;
    }
    if (serie > 0)
        a.omschrijving += QStringLiteral(" (serie %1)").arg(serie + 1);
    if (i % 11 == 0)
        a.opmerking = QStringLiteral("Levertijd ca. %1 werkdagen.").arg(3 + i % 5);
    return a;
}

const QStringList kTabelNamen{QStringLiteral("Draaikiepramen"), QStringLiteral("Draairamen"),
                              QStringLiteral("Valramen"),       QStringLiteral("Voordeuren"),
                              QStringLiteral("Achterdeuren"),   QStringLiteral("Schuifpuien")};
const QStringList kCombiNamen{QStringLiteral("Draaikiepraam"),      QStringLiteral("Draairaam naar binnen"),
                              QStringLiteral("Valraam"),            QStringLiteral("Voordeur enkel"),
                              QStringLiteral("Achterdeur"),         QStringLiteral("Openslaande deuren"),
                              QStringLiteral("Hefschuifpui"),       QStringLiteral("Tuindeur")};
const QStringList kUitvoeringen{QStringLiteral("standaard"), QStringLiteral("SKG**"), QStringLiteral("SKG***"),
                                QStringLiteral("RVS")};
const QStringList kKeuzeNamen{QStringLiteral("Keuze draaikiepbeslag"), QStringLiteral("Keuze deurbeslag"),
                              QStringLiteral("Keuze inbraakwerend"), QStringLiteral("Keuze schuifpuibeslag")};

Combinatie maakCombinatie(const Inhoud& inhoud, const QString& code, int k, const QList<const Artikel*>& hs)
{
    Combinatie c;
    c.code = code;
    c.omschrijving = kCombiNamen.at(k % kCombiNamen.size()) + QLatin1Char(' ') +
                     kUitvoeringen.at((k / kCombiNamen.size()) % kUitvoeringen.size());
    const int aantal = 2 + k % 3;
    for (int m = 0; m < aantal; ++m) {
        const Artikel& a = *hs.at((k * 3 + m * 5) % hs.size());
        CombiArtikel ca;
        ca.artikel = a.code;
        ca.aantal = a.groep == 6 ? 3 : 1;
        ca.positie = m + 1;
        ca.breedteVan = 40 + (k % 3) * 10;
        ca.breedteTot = 120 + (k % 4) * 20;
        ca.hoogteVan = m == 0 ? 0 : 60;
        ca.hoogteTot = m == 0 ? 0 : 180 + (k % 3) * 40;
        ca.oorsprong = m % 3;
        ca.x = m % 2 == 0 ? QStringLiteral("10") : QString();
        ca.y = 2.5 * m;
        ca.lengte = a.type == 7 ? a.handelslengte : 0;
        c.artikelen << ca;
    }
    const int tabellen = int(inhoud.tabellen.size());
    c.tabellen << k % tabellen;
    if (k % 2 == 1)
        c.tabellen << (k + 1) % tabellen;
    c.maxBreedte = 1200 + (k % 4) * 200;
    c.maxHoogte = 1800 + (k % 3) * 300;
    return c;
}

QList<Keuze> maakKeuzes(const QString& voorvoegsel, int aantal, const QList<Combinatie>& combinaties)
{
    QList<Keuze> keuzes;
    for (int k = 0; k < aantal; ++k) {
        Keuze keuze;
        keuze.code = voorvoegsel + nummer(k + 1, 3);
        keuze.omschrijving = kKeuzeNamen.at(k % kKeuzeNamen.size()) + QStringLiteral(" %1").arg(k / 4 + 1);
        for (int m = 0; m < 2 + k % 3; ++m)
            keuze.combinaties << combinaties.at((k * 3 + m) % combinaties.size()).code;
        keuze.combinaties.removeDuplicates();
        keuzes << keuze;
    }
    return keuzes;
}

Sponningvorm maakVorm(int k)
{
    using fixtures::fixedNode;
    using fixtures::formulaNode;
    static const QStringList soorten{QStringLiteral("Vaksponning"), QStringLiteral("Elementsponning"),
                                     QStringLiteral("Randsponning"), QStringLiteral("Muursponning")};
    Sponningvorm v;
    v.type = 1 + k % 4;
    v.code = QStringLiteral("VB-SF-") + nummer(k + 1, 3);
    v.breedte = 200 + (k % 5) * 40;
    v.hoogte = 150 + (k % 4) * 30;
    v.omschrijving = QStringLiteral("%1 %2 x %3 mm").arg(soorten.at(v.type - 1)).arg(v.breedte / 10).arg(v.hoogte / 10);
    // Metres: a step up at the outer edge, a rebate inward, then the rest of the height (formula "r").
    const double a = 0.003 + (k % 3) * 0.001;
    const double b = 0.008 + (k % 4) * 0.002;
    const double c = 0.004;
    if (k % 3 == 2)
        v.knopen = {fixedNode(0, a), fixedNode(b, c), formulaNode(b, QStringLiteral("r/2")),
                    fixedNode(b + 0.004, 0.002), formulaNode(b + 0.004, QStringLiteral("r/2"))};
    else
        v.knopen = {fixedNode(0, a), fixedNode(b, c), formulaNode(b, QStringLiteral("r"))};
    v.contraKnopen = {fixedNode(0, a), fixedNode(b + 0.002, c), formulaNode(b + 0.002, QStringLiteral("r"))};
    v.namen = {{40.0, v.code + QStringLiteral(" smal")}, {60.0, v.code + QStringLiteral(" breed")}};
    return v;
}

// The shape codes of one type, for the library families that name a groove shape.
QStringList vormCodes(const QList<Sponningvorm>& vormen, int type)
{
    QStringList codes;
    for (const Sponningvorm& v : vormen) {
        if (v.type == type)
            codes << v.code;
    }
    return codes;
}

} // namespace

QList<const Artikel*> Inhoud::VanType(int type) const
{
    QList<const Artikel*> lijst;
    for (const Artikel& a : artikelen) {
        if (a.type == type)
            lijst << &a;
    }
    return lijst;
}

Inhoud Inhoud::Maak(int schaal)
{
    Inhoud inhoud;
    inhoud.schaal = std::max(1, schaal);
    const int s = inhoud.schaal;
    const QList<GroepDef>& defs = groepDefs();
    for (const GroepDef& def : defs)
        inhoud.groepen << Groep{QString::fromLatin1(def.code), QString::fromUtf8(def.omschrijving), def.type,
                                QString::fromLatin1(def.eenheid), def.basisPrijs};

    // Articles: the groups in turn; hinges left and right are each other's mirrored article.
    const int aantalArtikelen = 250 * s;
    QList<int> perGroep(defs.size(), 0);
    for (int i = 0; i < aantalArtikelen; ++i) {
        const int g = i % int(defs.size());
        const int j = perGroep[g]++;
        inhoud.artikelen << maakArtikel(defs.at(g), g, i, j,
                                        QStringLiteral("VB-%1-%2").arg(QLatin1String(defs.at(g).tag), nummer(j + 1, 5)));
    }
    for (int i = 0; i < inhoud.artikelen.size(); ++i) {
        Artikel& a = inhoud.artikelen[i];
        if (a.groep != 6)
            continue;
        const int j = a.code.section(QLatin1Char('-'), 2).toInt() - 1;
        const QString partner = QStringLiteral("VB-SCH-") + nummer((j ^ 1) + 1, 5);
        if (perGroep[6] > (j ^ 1))
            a.gespiegeld = partner;
    }

    for (int t = 0; t < 6 + (s - 1) * 2; ++t)
        inhoud.tabellen << Tabel{QStringLiteral("VB-TAB-") + nummer(t + 1, 2),
                                 t < kTabelNamen.size() ? kTabelNamen.at(t)
                                                        : QStringLiteral("Tabel %1").arg(t + 1)};

    QList<const Artikel*> hs = inhoud.VanType(6);
    hs << inhoud.VanType(7);
    for (int k = 0; k < 24 * s; ++k)
        inhoud.combinaties << maakCombinatie(inhoud, QStringLiteral("VB-HC-") + nummer(k + 1, 4), k, hs);
    inhoud.keuzes = maakKeuzes(QStringLiteral("VB-KZ-"), 8 * s, inhoud.combinaties);
    for (int k = 0; k < 16 * s; ++k)
        inhoud.bestandCombinaties << maakCombinatie(inhoud, QStringLiteral("VB-HF-") + nummer(k + 1, 4), k + 5, hs);
    inhoud.bestandKeuzes = maakKeuzes(QStringLiteral("VB-KF-"), 6 * s, inhoud.bestandCombinaties);

    for (int k = 0; k < 16 * s; ++k)
        inhoud.vormen << maakVorm(k);
    const QStringList vak = vormCodes(inhoud.vormen, 1);
    const QStringList element = vormCodes(inhoud.vormen, 2);
    const QStringList rand = vormCodes(inhoud.vormen, 3);

    for (int k = 0; k < 6 * s; ++k) {
        Familie f{QStringLiteral("VB-VS-") + nummer(k + 1, 3),
                  QStringLiteral("Vaksponning glas %1 mm").arg(24 + (k % 3) * 4), 1 + k % 3, {}, {}};
        for (int m = 0; m < 1 + k % 3; ++m)
            f.kinderen << QVariantMap{{QStringLiteral("GrooveDepth"), 15.0 + m},
                                      {QStringLiteral("GlassDepth"), 12.0 + m},
                                      {QStringLiteral("WindowDepth"), 17.0},
                                      {QStringLiteral("DoorDepth"), 19.0},
                                      {QStringLiteral("RackDepth"), 10.0},
                                      {QStringLiteral("GrooveShape"), vak.at((k + m) % vak.size())},
                                      {QStringLiteral("CornerleadPentable"), QString()},
                                      {QStringLiteral("SideleadPentable"), QString()},
                                      {QStringLiteral("DeepestGroove"), 22.0 + m},
                                      {QStringLiteral("PaneSide"), m % 2}};
        inhoud.vaksponningen << f;
    }
    for (int k = 0; k < 6 * s; ++k)
        inhoud.randsponningen << Familie{QStringLiteral("VB-RS-") + nummer(k + 1, 3),
                                         QStringLiteral("Randsponning %1 mm").arg(12 + (k % 4) * 2),
                                         1 + k % 2,
                                         {{QStringLiteral("GrooveShape"), rand.at(k % rand.size())}},
                                         {}};
    for (int k = 0; k < 6 * s; ++k) {
        Familie f{QStringLiteral("VB-ES-") + nummer(k + 1, 3),
                  QStringLiteral("Elementsponning %1 mm").arg(15 + (k % 3) * 3), 1 + k % 2, {}, {}};
        for (int m = 0; m < 1 + k % 2; ++m)
            f.kinderen << QVariantMap{{QStringLiteral("WindowOverlap"), 12.0 + m * 2},
                                      {QStringLiteral("DoorOverlap"), 15.0 + m * 2},
                                      {QStringLiteral("GrooveShape"), element.at((k + m) % element.size())},
                                      {QStringLiteral("PaneSide"), m % 2}};
        inhoud.elementsponningen << f;
    }
    const QList<const Artikel*> dorpels = inhoud.VanType(14);
    const QList<const Artikel*> neuten = inhoud.VanType(15);
    const QList<const Artikel*> bevestiging = inhoud.VanType(12);
    for (int k = 0; k < 5 * s; ++k) {
        const Artikel& dorpel = *dorpels.at(k % dorpels.size());
        Familie f{QStringLiteral("VB-LR-") + nummer(k + 1, 3),
                  QStringLiteral("Laagreliëf dorpel combinatie %1").arg(k + 1),
                  1,
                  {{QStringLiteral("ArtCode"), dorpel.code},
                   {QStringLiteral("PaneGrooveShape"), vak.at(k % vak.size())},
                   {QStringLiteral("EdgeGrooveShape"), rand.at(k % rand.size())}},
                  {}};
        f.kinderen << QVariantMap{{QStringLiteral("fkArtAct"), dorpel.code},
                                  {QStringLiteral("Count"), 1},
                                  {QStringLiteral("Polygon"), QString()},
                                  {QStringLiteral("OverlengthDim1"), 20.0},
                                  {QStringLiteral("CR_Length"), 0.0},
                                  {QStringLiteral("OverlengthDim2"), 20.0},
                                  {QStringLiteral("UsageDescription"), QStringLiteral("Dorpel")}};
        f.kinderen << QVariantMap{{QStringLiteral("fkArtAct"), bevestiging.at(k % bevestiging.size())->code},
                                  {QStringLiteral("Count"), 4 + k % 3},
                                  {QStringLiteral("Polygon"), QString()},
                                  {QStringLiteral("OverlengthDim1"), 0.0},
                                  {QStringLiteral("CR_Length"), 0.0},
                                  {QStringLiteral("OverlengthDim2"), 0.0},
                                  {QStringLiteral("UsageDescription"), QStringLiteral("Bevestiging")}};
        inhoud.laagrelief << f;
    }
    for (int k = 0; k < 4 * s; ++k) {
        const Artikel& neut = *neuten.at(k % neuten.size());
        Familie f{QStringLiteral("VB-NT-") + nummer(k + 1, 3), QStringLiteral("Neut combinatie %1").arg(k + 1), 1,
                  {{QStringLiteral("ArtCode"), neut.code}}, {}};
        f.kinderen << QVariantMap{{QStringLiteral("fkArtAct"), neut.code},
                                  {QStringLiteral("Count"), 2},
                                  {QStringLiteral("Polygon"), QString()},
                                  {QStringLiteral("OverlengthDim1"), 0.0},
                                  {QStringLiteral("CR_Length"), 0.0},
                                  {QStringLiteral("OverlengthDim2"), 0.0},
                                  {QStringLiteral("UsageDescription"), QStringLiteral("Neut links en rechts")}};
        inhoud.neuten << f;
    }
    return inhoud;
}

QList<Artikel> NieuweArtikelen(const Inhoud& inhoud, const QString& voorvoegsel, int aantal, int groep)
{
    const GroepDef& def = groepDefs().at(groep);
    QList<Artikel> lijst;
    for (int j = 0; j < aantal; ++j) {
        Artikel a = maakArtikel(def, groep, int(inhoud.artikelen.size()) + j, j,
                                voorvoegsel + nummer(j + 1, 5));
        a.omschrijving += QStringLiteral(" (nieuw)");
        lijst << a;
    }
    return lijst;
}

} // namespace supplink::voorbeeld
