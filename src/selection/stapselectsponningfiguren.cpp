#include "selection/stapselectsponningfiguren.h"

#include "platform/codecompare.h"
#include "selection/clsprofile.h"
#include "sources/clsbron2.h"
#include "start/errors.h"
#include "start/globals.h"

#include <QSet>

namespace supplink {

namespace {

// The groove kinds of the group selector; a figure's type is its group.
struct SponningSoort
{
    qint32 nummer;
    const char* naam;
};
constexpr SponningSoort kSponningSoorten[] = {
    {1, "Vaksponningen"}, {2, "Elementsponningen"}, {3, "Randsponningen"}, {4, "Muursponningen"}};

bool IsDatabase(const clsBron2& bron)
{
    return bron.IsJetDatabase || bron.IsSQLite;
}

} // namespace

StapSelectSponningFiguren::StapSelectSponningFiguren(QObject* parent)
    : EigenSelectieStap(globals().gColSponningfiguren, globals().gColSponningfigurenGeselecteerd, parent)
{
}

void StapSelectSponningFiguren::Init()
{
    m_sjabloon.paneel().SetPreviewIsSponningfiguur();
    EigenSelectieStap::Init();
}

void StapSelectSponningFiguren::ToevoegenAanList(clsBron2& bron, ItemCollection& alle)
{
    // Supplier files hold no groove figures.
    if (bron.Soort == BronSoort::WKV && IsDatabase(bron))
        m_lezers->Figuren(bron.Path(), bron.TypeSelectie, alle);
}

void StapSelectSponningFiguren::MarkeerVerplicht(ItemCollection& alle)
{
    m_sjabloon.Status(QStringLiteral("Controle verplichte sponningfiguren"));
    try {
        SamenStellenVerplichteFiguren(alle);
    } catch (const std::exception& fout) {
        ShowError(QStringLiteral("SamenStellenVerplichteFiguren"), fout);
    }
    m_sjabloon.Status(QString());
}

void StapSelectSponningFiguren::SamenStellenVerplichteFiguren(ItemCollection& alle)
{
    const ProgramState& g = globals();
    if (!g.gImportOpties || !g.gImportOpties->ImporterenLIB())
        return;
    VerplichtCollectie verplicht;
    const QList<std::shared_ptr<clsBron2>> bronnen = g.gBronnenGeselecteerd;
    for (const std::shared_ptr<clsBron2>& bron : bronnen) {
        if (!bron || bron->Soort != BronSoort::Bibliotheek || !IsDatabase(*bron))
            continue;
        const QString pad = bron->Path();
        // A plain test on the text of the chosen types, not on its entries.
        const QString& types = bron->TypeSelectie;
        if (types.contains(QLatin1Char('1')))
            m_lezers->SponningFigurenVerplicht(pad, g.gColVaksponningenGeselecteerd, 1, verplicht);
        if (types.contains(QLatin1Char('2')))
            m_lezers->SponningFigurenVerplicht(pad, g.gColRandsponningenGeselecteerd, 2, verplicht);
        if (types.contains(QLatin1Char('3')))
            m_lezers->SponningFigurenVerplicht(pad, g.gColElementsponningenGeselecteerd, 3, verplicht);
        m_lezers->SponningFigurenVerplicht(pad, g.gColLaagreliefGeselecteerd, 4, verplicht);
    }
    if (!verplicht || verplicht->isEmpty())
        return;
    QSet<QString> vereist;
    for (const std::shared_ptr<clsItem>& item : std::as_const(*verplicht)) {
        if (item)
            vereist.insert(foldCode(item->Code));
    }
    for (const std::shared_ptr<clsItem>& figuur : alle) {
        if (!figuur)
            continue;
        const bool nodig = vereist.contains(foldCode(figuur->Code));
        figuur->Selected = nodig;
        figuur->Required = nodig;
    }
}

void StapSelectSponningFiguren::ToevoegenGroepen(GroepenLijst& lijst)
{
    try {
        for (const SponningSoort& soort : kSponningSoorten) {
            const QString naam = QString::fromLatin1(soort.naam);
            lijst.AddGroup(soort.nummer, naam, naam);
        }
    } catch (const std::exception& fout) {
        ShowError(QStringLiteral("ToevoegenGroepen"), fout);
    }
}

bool StapSelectSponningFiguren::ToonRij(const LijstRij& rij)
{
    // The preview takes the documentation's place: the row's own description and its outline.
    m_sjabloon.paneel().SetOmschrijvingTekst(rij.Omschrijving);
    ToonPreview(rij.Code);
    return true;
}

void StapSelectSponningFiguren::ToonPreview(const QString& code)
{
    try {
        const QList<std::shared_ptr<clsBron2>> bronnen = globals().gBronnenGeselecteerd;
        for (const std::shared_ptr<clsBron2>& bron : bronnen) {
            if (!bron || bron->Soort != BronSoort::WKV || !IsDatabase(*bron))
                continue;
            if (std::shared_ptr<clsProfile> profiel = m_lezers->Profiel(bron->Path(), code)) {
                m_sjabloon.paneel().SetProfilePreview(std::move(profiel));
                return;
            }
        }
    } catch (const std::exception&) {
        // A preview that fails ends quietly: the panel keeps the drawing it showed.
        return;
    }
}

} // namespace supplink
