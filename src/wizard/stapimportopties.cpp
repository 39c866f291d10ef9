#include "wizard/stapimportopties.h"

#include "sources/clsbron2.h"
#include "start/globals.h"
#include "start/leverancier.h"
#include "start/registryfuncties.h"
#include "sources/voorwaarden.h"

namespace supplink {

namespace {

const QString kArtikelOpties = QStringLiteral("artikelopties");
const QString kAlleenPrijzen = QStringLiteral("1");
const QString kAlleenNieuw = QStringLiteral("2");
const QString kBeide = QStringLiteral("3");

// Whether some chosen library source lists the library part type among its chosen types (a plain
// search for the digit in its type list).
bool BibliotheekTypeGekozen(QChar type)
{
    for (const auto& bron : globals().gBronnenGeselecteerd) {
        if (bron && bron->Geselecteerd && bron->Soort == BronSoort::Bibliotheek && bron->TypeSelectie.contains(type))
            return true;
    }
    return false;
}

} // namespace

QString StapImportOpties::VakTekst(Vak vak)
{
    switch (vak) {
    case Artikelen:
        return QStringLiteral("Artikelen importeren");
    case Tabellen:
        return QStringLiteral("Onderhoud - Hang en Sluitwerk Combi's");
    case HSKeuzes:
        return QStringLiteral("Onderhoud - Hang en Sluitwerk Keuzes");
    case Shapes:
        return QStringLiteral("Werkvoorbereidingbeheer - Sponningfiguren importeren");
    case LibPane:
        return QStringLiteral("Bibliotheek - Sponningtabellen importeren");
    case LibLaagrelief:
        return QStringLiteral("Bibliotheek - Laagreliëf dorpels en Neuten importeren");
    case LibHangSluitCombies:
        return QStringLiteral("Bibliotheek - Hang en Sluitwerk Combi's");
    case LibHangSluitKeuzes:
        return QStringLiteral("Bibliotheek - Hang en Sluitwerk Keuzes");
    case AantalVakken:
        break;
    }
    return QString();
}

QString StapImportOpties::OptieTekst(Optie optie)
{
    switch (optie) {
    case AlleenPrijzen:
        return QStringLiteral("Alleen prijswijzigingen doorvoeren");
    case AlleenNieuweArtikelen:
        return QStringLiteral("Alleen nieuwe artikelen toevoegen");
    case ArtBeide:
        return QStringLiteral("Prijswijzigingen doorvoeren en nieuwe artikelen toevoegen");
    case AantalOpties:
        break;
    }
    return QString();
}

QString StapImportOpties::KaderTekst(Kader kader)
{
    switch (kader) {
    case KaderArtikelen:
        return QStringLiteral("Productentabel");
    case KaderOnderhoud:
        return QStringLiteral("Onderhoudsbestand");
    case KaderWerkvoorbereiding:
        return QStringLiteral("Werkvoorbereidingbestand");
    case KaderBibliotheek:
        return QStringLiteral("Bibliotheekbestand");
    case AantalKaders:
        break;
    }
    return QString();
}

StapImportOpties::Kader StapImportOpties::KaderVan(Vak vak)
{
    switch (vak) {
    case Artikelen:
        return KaderArtikelen;
    case Tabellen:
    case HSKeuzes:
        return KaderOnderhoud;
    case Shapes:
        return KaderWerkvoorbereiding;
    default:
        return KaderBibliotheek;
    }
}

QString StapImportOpties::OptiesSectie(const QString& leverancier)
{
    return QStringLiteral("opties\\") + leverancier;
}

bool StapImportOpties::IetsAangevinkt() const
{
    for (const Bediening& b : m_vakken)
        if (b.gekozen)
            return true;
    return false;
}

void StapImportOpties::Init()
{
    if (!globals().gImportOpties) {
        Reset();
        ZetStandaarden();
    }
    emit Gewijzigd();
    emit KanVerder(IetsAangevinkt());
}

void StapImportOpties::Reset()
{
    m_vakken.fill(Bediening{});
    m_opties.fill(Bediening{});
}

void StapImportOpties::ZetStandaarden()
{
    const auto kies = [this](Vak vak) { m_vakken[vak] = Bediening{true, true}; };

    if (IsBronArtikelenGeselecteerd()) {
        kies(Artikelen);
        if (IsAlleenPrijsUpdate()) {
            m_opties[AlleenPrijzen].aan = true;
        } else {
            for (Bediening& b : m_opties)
                b.aan = true;
        }
    }
    if (IsBronTabellenGeselecteerd()) {
        if (IsHSTabellenMogelijk())
            kies(Tabellen);
        if (IsHSKeuzesMogelijk())
            kies(HSKeuzes);
    }
    if (IsBronWKVGeselecteerd())
        kies(Shapes);
    if (IsBronBibliotheekGeselecteerd()) {
        kies(LibPane);
        kies(LibLaagrelief);
    }
    if (IsLibHangSluitwerkMogelijk()) {
        if (IsLibHSCombiesMogelijk())
            kies(LibHangSluitCombies);
        if (IsLibHSKeuzesMogelijk())
            kies(LibHangSluitKeuzes);
    }

    // The remembered mode switches its button on, also a button that stays disabled (a stored "2" with
    // price-only sources); the user sees which mode was remembered.
    const QString modus = LeesArtikelModus();
    if (modus == kAlleenPrijzen)
        m_opties[AlleenPrijzen].gekozen = true;
    else if (modus == kAlleenNieuw)
        m_opties[AlleenNieuweArtikelen].gekozen = true;
    else if (modus == kBeide)
        m_opties[IsAlleenPrijsUpdate() ? AlleenPrijzen : ArtBeide].gekozen = true;

    for (int vak = 0; vak < AantalVakken; ++vak)
        VakGeklikt(Vak(vak));
}

void StapImportOpties::ZetVak(Vak vak, bool aangevinkt)
{
    if (vak < 0 || vak >= AantalVakken || !m_vakken[vak].aan)
        return;
    m_vakken[vak].gekozen = aangevinkt;
    VakGeklikt(vak);
    emit Gewijzigd();
}

void StapImportOpties::ZetOptie(Optie optie)
{
    if (optie < 0 || optie >= AantalOpties || !m_opties[optie].aan)
        return;
    for (int i = 0; i < AantalOpties; ++i)
        m_opties[i].gekozen = i == optie;
    emit Gewijzigd();
}

void StapImportOpties::VakGeklikt(Vak vak)
{
    if (vak == Artikelen) {
        const bool aangevinkt = m_vakken[Artikelen].gekozen;
        const bool alleenPrijzen = aangevinkt && IsAlleenPrijsUpdate();
        m_opties[AlleenPrijzen].aan = aangevinkt;
        m_opties[AlleenNieuweArtikelen].aan = aangevinkt && !alleenPrijzen;
        m_opties[ArtBeide].aan = aangevinkt && !alleenPrijzen;
    }
    emit KanVerder(IetsAangevinkt());
}

void StapImportOpties::Finish()
{
    auto opties = std::make_shared<clsImportOpties>();
    globals().gImportOpties = opties;
    const auto gekozen = [this](Vak vak) { return m_vakken[vak].gekozen; };
    const auto aanEnGekozen = [this](Vak vak) { return m_vakken[vak].aan && m_vakken[vak].gekozen; };
    const auto optieAan = [this](Optie optie) { return m_opties[optie].gekozen; };

    opties->ImporterenArtikelen = gekozen(Artikelen);
    opties->DoorvoerenPrijsWijzigingen = optieAan(AlleenPrijzen) || optieAan(ArtBeide);
    opties->NieuweArtikelenToevoegen = optieAan(AlleenNieuweArtikelen) || optieAan(ArtBeide);
    opties->ImporterenTabellen = aanEnGekozen(Tabellen);
    opties->ImporterenHSKeuzes = aanEnGekozen(HSKeuzes);
    opties->ImporterenShapes = aanEnGekozen(Shapes);

    BewaarArtikelModus(optieAan(AlleenPrijzen)           ? kAlleenPrijzen
                       : optieAan(AlleenNieuweArtikelen) ? kAlleenNieuw
                                                         : kBeide);

    // The library boxes import what the library sources' type choices hold; in library mode the
    // hardware of the supplier's file goes into the library whatever the sources hold.
    if (gekozen(LibPane)) {
        opties->ImporterenVaksponningen = BibliotheekTypeGekozen(u'1');
        opties->ImporterenRandsponningen = BibliotheekTypeGekozen(u'2');
        opties->ImporterenElementsponningen = BibliotheekTypeGekozen(u'3');
    }
    if (gekozen(LibLaagrelief)) {
        opties->ImporterenLaagrelief = BibliotheekTypeGekozen(u'4');
        opties->ImporterenNeuten = BibliotheekTypeGekozen(u'5');
    }
    if (gekozen(LibHangSluitCombies))
        opties->ImporterenLIBHSCombies = globals().gBibliotheekModus || BibliotheekTypeGekozen(u'6');
    if (gekozen(LibHangSluitKeuzes))
        opties->ImporterenLIBHSKeuzes = globals().gBibliotheekModus || BibliotheekTypeGekozen(u'7');
}

QString StapImportOpties::LeesArtikelModus() const
{
    // Without a supplier nothing is remembered: the default.
    const auto& leverancier = globals().gLeverancier;
    if (!leverancier)
        return kBeide;
    return CurrentUser_HaalOp(OptiesSectie(leverancier->Code), kArtikelOpties, kBeide);
}

void StapImportOpties::BewaarArtikelModus(const QString& modus) const
{
    const auto& leverancier = globals().gLeverancier;
    if (leverancier)
        CurrentUser_BrengWeg(OptiesSectie(leverancier->Code), kArtikelOpties, modus);
}

} // namespace supplink
