#include "wizard/stapselectbronbestanden.h"

#include "platform/uiservices.h"
#include "sources/bronsjablonen.h"
#include "sources/clsbron2.h"
#include "start/dialogs.h"
#include "start/errors.h"
#include "start/globals.h"
#include "start/sharedroutines.h"

#include <QFileInfo>
#include <QLocale>

namespace supplink {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString ProgrammaTitel()
{
    return QString::fromUtf8(kProgramTitle);
}

QString JaNee(bool waarde)
{
    return waarde ? QStringLiteral("Ja") : QStringLiteral("Nee");
}

QString DatumTekst(const QDateTime& moment)
{
    const QLocale locale;
    return locale.toString(moment.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           moment.time().toString(QStringLiteral("HH:mm:ss"));
}

} // namespace

StapSelectBronBestanden::StapSelectBronBestanden(QObject* parent)
    : Stap(parent), m_kolommen(QStringLiteral("bronbestanden"), {40, 50, 10})
{
}

QStringList StapSelectBronBestanden::KolomTitels()
{
    return {QStringLiteral("Bestand"), QStringLiteral("Folder"), QStringLiteral("Type")};
}

QString StapSelectBronBestanden::WeigeringTekst(const QString& path)
{
    const bool xlsx = QFileInfo(path).suffix().compare(QLatin1String("XLSX"), Qt::CaseInsensitive) == 0;
    const QString reden = xlsx ? QStringLiteral("Excel 2007 bestandsformaat") : QStringLiteral("Onbekend bestandsformaat");
    return reden + kCrLf + kCrLf +
           QStringLiteral("Het geselecteerde bestand kan niet worden gebruikt als leveranciers bronbestand.") + kCrLf +
           kCrLf + path;
}

QStringList StapSelectBronBestanden::Eigenschappen(const clsBron2& bron)
{
    QStringList regels;
    regels << QStringLiteral("Bestand: ") + bron.BronPad;
    regels << QStringLiteral("Type: ") + bron.FormatDescription();
    if (bron.IsExcel) {
        regels << QStringLiteral("Sheets: ") + QString::number(bron.AantalSheets);
        regels << QStringLiteral("Sheetnamen: ") + bron.SheetNamen;
    }
    if (bron.Holonite())
        regels << QStringLiteral("Holonite: Ja");
    regels << QStringLiteral("Kolommen: ") + QString::number(bron.AantalKolommen);
    regels << QStringLiteral("Duplicaten: ") + JaNee(bron.EersteKolomHerhaald);
    regels << QStringLiteral("Scheidingsteken: ") + bron.Scheidingsteken;
    regels << QStringLiteral("Quotes: ") + JaNee(bron.MetAanhalingstekens);
    regels << QStringLiteral("Applicatie: ") + bron.AppType;
    regels << QStringLiteral("Databasetype: ") + bron.DBType;
    regels << QStringLiteral("Versie: ") + QString::number(bron.VerMajor) + QLatin1Char('.') +
                  QString::number(bron.VerMinor);
    regels << QStringLiteral("Omschrijving: ") + bron.SoortDescription();
    regels << QStringLiteral("Grootte: ") + bron.Grootte.toString();
    regels << QStringLiteral("Laatste wijziging: ") + DatumTekst(bron.LaatstGewijzigd);
    regels << QStringLiteral("Geselecteerd: ") + (bron.Geselecteerd ? QStringLiteral("Waar") : QStringLiteral("Onwaar"));
    regels << QStringLiteral("Artikeltype: ") + QString::number(bron.ArtikelType);
    regels << QStringLiteral("Combitype: ") + QString::number(bron.CombiType);
    if (bron.KolomSoorten.isEmpty()) {
        regels << QStringLiteral("Importdefinitie:\t\tNiet aanwezig");
    } else {
        regels << QStringLiteral("Importdefinitie:");
        for (qsizetype i = 0; i < bron.KolomSoorten.size(); ++i)
            regels << QStringLiteral("\t%1:%2").arg(i + 1).arg(bron.KolomSoorten.at(i));
    }
    return regels;
}

std::optional<TypeSelectieSoort> StapSelectBronBestanden::TypeDialoog(const clsBron2& bron)
{
    const QString type = bron.DBType.toUpper();
    if (type == QLatin1String("PT"))
        return TypeSelectieSoort::Artikelen;
    if (type == QLatin1String("SHAPES"))
        return TypeSelectieSoort::Sponningfiguren;
    if (type == QLatin1String("LIBRARY"))
        return TypeSelectieSoort::Bibliotheek;
    return std::nullopt;
}

std::shared_ptr<clsBron2> StapSelectBronBestanden::BronVanRij(int rij) const
{
    if (rij < 0 || rij >= m_rijen.size())
        return nullptr;
    return globals().gBronnen.value(m_rijen.at(rij).positie - 1);
}

void StapSelectBronBestanden::Init()
{
    if (globals().gBronnen.isEmpty()) {
        m_rijen.clear();
        m_huidig = -1;
        m_setupAan = false;
        LadenBestanden();
        m_kolommen.Laden();
    }
    if (!m_rijen.isEmpty())
        SelecteerRij(0);
    emit LijstGewijzigd();
    MeldKanVerder();
}

void StapSelectBronBestanden::LadenBestanden()
{
    const QString leverancier = HuidigeLeverancierNaam();
    if (leverancier.isEmpty())
        return;
    for (const std::shared_ptr<clsBron2>& bron : LaadBronDefinities(leverancier)) {
        // A database saved without its kind may not have been readable then: it is read again. One that
        // still cannot be read stays listed, unchecked, so that the user sees it and its definition is kept.
        if (bron->DatabaseZonderSoort() && !bron->LeesDatabaseOpnieuw()) {
            bron->Geselecteerd = false;
            MeldWeigering(*bron);
        }
        globals().gBronnen.append(bron);
        ToevoegenAanLijst(bron);
    }
}

void StapSelectBronBestanden::MeldWeigering(const clsBron2& bron)
{
    ui().messageBox(bron.Weigering, MsgBox::OkOnly | MsgBox::Critical, ProgrammaTitel());
}

void StapSelectBronBestanden::ToevoegenAanLijst(const std::shared_ptr<clsBron2>& bron)
{
    Rij rij;
    rij.positie = qint32(globals().gBronnen.size());
    rij.bestand = bron->BestandsNaam;
    rij.map = bron->BronPad;
    rij.type = bron->FormatDescription();
    rij.aangevinkt = bron->Geselecteerd;
    m_rijen.append(rij);
}

void StapSelectBronBestanden::SelecteerRij(int rij)
{
    for (Rij& r : m_rijen)
        r.geselecteerd = false;
    m_huidig = rij >= 0 && rij < m_rijen.size() ? rij : -1;
    if (m_huidig >= 0)
        m_rijen[m_huidig].geselecteerd = true;
    KlikRij();
}

void StapSelectBronBestanden::KlikRij()
{
    const std::shared_ptr<clsBron2> bron = BronVanRij(m_huidig);
    if (!bron) {
        MeldKanVerder();
        return;
    }
    m_setupAan = !(bron->IsJetDatabase || bron->IsSQLite) || TypeDialoog(*bron).has_value();
}

void StapSelectBronBestanden::ZetSelectie(const QList<int>& rijen, int huidig)
{
    for (int i = 0; i < m_rijen.size(); ++i)
        m_rijen[i].geselecteerd = rijen.contains(i);
    m_huidig = huidig >= 0 && huidig < m_rijen.size() ? huidig : -1;
    KlikRij();
    emit LijstGewijzigd();
}

void StapSelectBronBestanden::VinkRij(int rij, bool aangevinkt)
{
    if (rij < 0 || rij >= m_rijen.size())
        return;
    m_rijen[rij].aangevinkt = aangevinkt;
    MeldKanVerder();
}

void StapSelectBronBestanden::ToetsInLijst(int toets, Qt::KeyboardModifiers modifiers)
{
    if (toets != Qt::Key_Delete || (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)))
        return;
    // The descriptions stay in gBronnen; their rows are no longer listed, chosen or saved.
    for (qsizetype i = m_rijen.size() - 1; i >= 0; --i) {
        if (m_rijen.at(i).geselecteerd)
            m_rijen.removeAt(i);
    }
    m_huidig = -1;
    emit LijstGewijzigd();
    MeldKanVerder();
}

bool StapSelectBronBestanden::BestandInLijst(const QString& path) const
{
    for (const Rij& rij : m_rijen)
        if (ZelfdeBestand(rij.map, path))
            return true;
    return false;
}

bool StapSelectBronBestanden::InstellenBron(clsBron2& bron, bool forceer)
{
    if (bron.IsJetDatabase || bron.IsSQLite) {
        const std::optional<TypeSelectieSoort> soort = TypeDialoog(bron);
        if (!soort)
            return true; // an options database (or any other kind) needs no set-up
        // Only the article-type dialog is shown without a choice to make when asked.
        return m_vensters &&
               m_vensters->ToonTypeWizard(*soort, bron, forceer && *soort == TypeSelectieSoort::Artikelen);
    }
    if (bron.IsExcel && bron.Holonite()) {
        ui().messageBox(QStringLiteral("Holonite Artikel Import Bestand met sheets: Dorpels, Neuten en Bewerkingen."),
                        MsgBox::OkOnly | MsgBox::Information, ProgrammaTitel());
        return true;
    }
    if (bron.IsExcel && bron.Deceuninck()) {
        ui().messageBox(QStringLiteral("Deceuninck artikelen bestand voor prijsupdate via EAN/Bestelcode."),
                        MsgBox::OkOnly | MsgBox::Information, ProgrammaTitel());
        return true;
    }
    return m_vensters && m_vensters->ToonKolomWizard(bron);
}

void StapSelectBronBestanden::cmdBlader_Click()
{
    try {
        GetFileNameDialog(QStringLiteral("Zuzedavezive bestanden (*.*)|*.*"), QString(), QString(),
                          QStringLiteral("Selecteer het leveranciers bron bestand"), false, false, QString(), true);
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("cmdBlader_Click"), e);
    }
    const QStringList gekozen = globals().gGekozenBestanden;
    for (const QString& path : gekozen) {
        // A file whose set-up fails is reported; the other chosen files are still taken.
        try {
            VoegBestandToe(path);
        } catch (const std::exception& e) {
            ShowError(QStringLiteral("cmdBlader_Click"), e);
        }
    }
    emit LijstGewijzigd();
    MeldKanVerder();
}

void StapSelectBronBestanden::VoegBestandToe(const QString& path)
{
    if (BestandInLijst(path))
        return;
    auto bron = std::make_shared<clsBron2>();
    if (!bron->AddBestand(path)) {
        if (!bron->Weigering.isEmpty())
            MeldWeigering(*bron);
        else
            ui().messageBox(WeigeringTekst(path), MsgBox::OkOnly | MsgBox::Critical,
                            QStringLiteral("Onbekend bestandsformaat"));
        return;
    }
    if (!InstellenBron(*bron, false))
        return;
    bron->Geselecteerd = true;
    globals().gBronnen.append(bron);
    ToevoegenAanLijst(bron);
    SelecteerRij(int(m_rijen.size()) - 1);
}

void StapSelectBronBestanden::cmdSetup_Click()
{
    const std::shared_ptr<clsBron2> bron = BronVanRij(m_huidig);
    if (bron) {
        try {
            InstellenBron(*bron, true);
        } catch (const std::exception& e) {
            ShowError(QStringLiteral("cmdSetup_Click"), e);
        }
    }
    MeldKanVerder();
}

void StapSelectBronBestanden::cmdProperties_Click()
{
    const std::shared_ptr<clsBron2> bron = BronVanRij(m_huidig);
    if (!bron || !m_vensters)
        return;
    try {
        m_vensters->ToonRapport(QStringLiteral("Eigenschappen ") + bron->BestandsNaam, Eigenschappen(*bron));
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("ShowProperties"), e);
    }
}

void StapSelectBronBestanden::Finish()
{
    ProgramState& g = globals();
    g.gBronnenGeselecteerd.clear();
    for (const Rij& rij : m_rijen) {
        const std::shared_ptr<clsBron2> bron = g.gBronnen.value(rij.positie - 1);
        if (!bron)
            continue;
        bron->Geselecteerd = rij.aangevinkt;
        if (rij.aangevinkt)
            g.gBronnenGeselecteerd.append(bron);
    }
    OpslaanBestanden();
    m_kolommen.Bewaren();
}

void StapSelectBronBestanden::OpslaanBestanden()
{
    // Without a supplier there is no one to keep the definitions for.
    const QString leverancier = HuidigeLeverancierNaam();
    if (leverancier.isEmpty())
        return;
    if (BronDefinitieMap(leverancier).isEmpty()) {
        // Nothing is deleted: the definitions saved earlier stay as they were.
        ui().messageBox(QStringLiteral("De brondefinities van deze leverancier zijn niet opgeslagen: er is geen map "
                                       "voor de gegevens van het programma.") +
                            kCrLf + QStringLiteral("De eerder opgeslagen brondefinities zijn ongewijzigd."),
                        MsgBox::OkOnly | MsgBox::Exclamation, ProgrammaTitel());
        return;
    }
    QList<std::shared_ptr<clsBron2>> bronnen;
    for (const Rij& rij : m_rijen)
        bronnen << globals().gBronnen.value(rij.positie - 1);
    // Writes the new set completely before the old one is replaced; reports its own failures.
    OpslaanBronDefinities(leverancier, bronnen);
}

void StapSelectBronBestanden::MeldKanVerder()
{
    bool aangevinkt = false;
    for (const Rij& rij : m_rijen)
        aangevinkt = aangevinkt || rij.aangevinkt;
    emit KanVerder(aangevinkt);
}

} // namespace supplink
