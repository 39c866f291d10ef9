#include "wizard/stapselectdoelbestanden.h"

#include "database/databaseroutines.h"
#include "database/doelbestand.h"
#include "database/history.h"
#include "platform/uiservices.h"
#include "start/dialogs.h"
#include "start/errors.h"
#include "start/globals.h"
#include "start/leverancier.h"
#include "start/registryfuncties.h"
#include "sources/voorwaarden.h"

#include <QFileInfo>

namespace supplink {

namespace {

const QString kSplitter = QStringLiteral("Splitter");
constexpr int kSplitter1Start = 35;
constexpr int kSplitter2Start = 25;

struct DoelSoort
{
    qint32 soort;
    const char* code;
    const char* omschrijving;
};
constexpr DoelSoort kDoelSoorten[] = {
    {0, "pt", "Productentabel"},
    {1, "opt", "Onderhoudsbestand"},
    {2, "lib", "Bibliotheekbestand"},
    {3, "wkv", "Werkvoorbereidingbestand"},
};

QString SplitterWaarde(int splitter)
{
    return QStringLiteral("doelbestandensplitter%1pos").arg(splitter);
}

bool IsProductentabel(const QString& soort)
{
    return soort.toLower() == QLatin1String("productentabel");
}

// Whether a file can be a target now: an SQLite database that another program holds or that is damaged
// cannot, and the user is told which file and why.
bool DoelBruikbaar(const QString& pad)
{
    const QString weigering = SQLiteBestandWeigering(pad);
    if (weigering.isEmpty())
        return true;
    ui().messageBox(weigering, MsgBox::OkOnly | MsgBox::Critical, QString::fromUtf8(kProgramTitle));
    return false;
}

} // namespace

StapSelectDoelBestanden::StapSelectDoelBestanden(QObject* parent)
    : Stap(parent), m_kolommen(QStringLiteral("doelbestanden"), {25, 75})
{
}

QStringList StapSelectDoelBestanden::KolomTitels()
{
    return {QStringLiteral("Soort"), QStringLiteral("Bestand")};
}

QString StapSelectDoelBestanden::BibliotheekVraag()
{
    return QStringLiteral("Importeren naar Brevanto Hout 3.5 of Brevanto Kunststof 3.0 (Bibliotheek)?");
}

QString StapSelectDoelBestanden::DoelenSectie(const QString& leverancier)
{
    return QStringLiteral("doelen\\") + leverancier;
}

QString StapSelectDoelBestanden::BestandFilter(const clsDoelBestand& doel)
{
    return doel.Omschrijving + QStringLiteral(" (*.") + doel.DoelCode + QStringLiteral(")|*.") + doel.DoelCode +
           QStringLiteral("|Alle bestanden, (*.*)|*.*");
}

std::shared_ptr<clsDoelBestand> StapSelectDoelBestanden::DoelVanRij(int rij) const
{
    if (rij < 0 || rij >= m_rijen.size())
        return nullptr;
    return globals().gDoelBestanden.value(m_rijen.at(rij).positie - 1);
}

int StapSelectDoelBestanden::SplitterPositie(int splitter) const
{
    return splitter == 1 ? m_splitter1 : m_splitter2;
}

QString StapSelectDoelBestanden::Leverancier() const
{
    const auto& leverancier = globals().gLeverancier;
    return leverancier ? leverancier->Code : QString();
}

bool StapSelectDoelBestanden::AllesGekozen() const
{
    for (const Rij& rij : m_rijen)
        if (rij.bestand.isEmpty())
            return false;
    return true;
}

void StapSelectDoelBestanden::Init()
{
    if (globals().gDoelBestanden.isEmpty()) {
        m_splitter1 = kSplitter1Start;
        m_splitter2 = kSplitter2Start;
        MaakDoelen();
        VulLijst();
        ZetLayout();
    }
    emit Gewijzigd();
    emit KanVerder(AllesGekozen());
}

void StapSelectDoelBestanden::MaakDoelen()
{
    ProgramState& g = globals();
    g.gDoelBestanden.clear();
    g.gBibliotheekModus = false;
    const auto voegToe = [&g](qint32 soort) {
        const DoelSoort& s = kDoelSoorten[soort];
        auto doel = std::make_shared<clsDoelBestand>();
        doel->Soort = s.soort;
        doel->DoelCode = QString::fromLatin1(s.code);
        doel->Omschrijving = QString::fromLatin1(s.omschrijving);
        g.gDoelBestanden.append(doel);
    };

    if (IsBronArtikelenGeselecteerd())
        voegToe(0);
    if (IsBronTabellenGeselecteerd()) {
        if (IsBronOptionsDatabaseGeselecteerd()) {
            voegToe(1);
        } else if (ui().messageBox(BibliotheekVraag(), MsgBox::YesNo | MsgBox::Question,
                                   QString::fromUtf8(kProgramTitle)) == MsgBox::Yes) {
            voegToe(2);
            g.gBibliotheekModus = true;
        } else {
            voegToe(1);
        }
    }
    if (IsBronWKVGeselecteerd())
        voegToe(3);
    if (IsBronBibliotheekGeselecteerd() && !g.gBibliotheekModus)
        voegToe(2);
}

void StapSelectDoelBestanden::VulLijst()
{
    m_rijen.clear();
    m_huidig = -1;
    const QString leverancier = Leverancier();
    const auto& doelen = globals().gDoelBestanden;
    for (qsizetype i = 0; i < doelen.size(); ++i) {
        const std::shared_ptr<clsDoelBestand>& doel = doelen.at(i);
        Rij rij;
        rij.positie = qint32(i + 1);
        rij.soort = doel->Omschrijving;
        m_rijen.append(rij);
        // Without a supplier no target is remembered.
        if (!leverancier.isEmpty())
            doel->setPath(CurrentUser_HaalOp(DoelenSectie(leverancier), doel->Omschrijving, QString()));
        const QString pad = doel->Path();
        if (IsSQLServerPad(pad)) {
            // The server may be away for now: the target stays, the test has said why.
            sqlserverconnectionok(pad);
        } else if (pad.isEmpty() || !QFileInfo(pad).isFile() || !DoelBruikbaar(pad)) {
            doel->setPath(QString());
        }
        ToonPad(int(i));
    }
    if (!m_rijen.isEmpty())
        KlikRij(0);
}

void StapSelectDoelBestanden::ZetLayout()
{
    m_kolommen.Laden();
    for (int splitter = 1; splitter <= 2; ++splitter) {
        int& positie = splitter == 1 ? m_splitter1 : m_splitter2;
        bool ok = false;
        const int bewaard =
            CurrentUser_HaalOp(kSplitter, SplitterWaarde(splitter), QString::number(positie)).trimmed().toInt(&ok);
        if (ok && bewaard > 0 && bewaard < 100)
            positie = bewaard;
    }
}

void StapSelectDoelBestanden::ZetSplitterPositie(int splitter, int procent)
{
    if (procent <= 0 || procent >= 100)
        return;
    if (splitter == 1)
        m_splitter1 = procent;
    else if (splitter == 2)
        m_splitter2 = procent;
}

void StapSelectDoelBestanden::ToonPad(int rij)
{
    if (const std::shared_ptr<clsDoelBestand> doel = DoelVanRij(rij))
        m_rijen[rij].bestand = SQLServerOmschrijving(doel->Path());
}

void StapSelectDoelBestanden::KlikRij(int rij)
{
    m_huidig = rij >= 0 && rij < m_rijen.size() ? rij : -1;
    ToonHistory(m_huidig);
    ZetKnoppen();
    emit Gewijzigd();
}

void StapSelectDoelBestanden::ZetKnoppen()
{
    if (m_huidig < 0) {
        m_bladerAan = false;
        m_verbindAan = false;
        return;
    }
    m_bladerAan = true;
    m_verbindAan = IsProductentabel(m_rijen.at(m_huidig).soort);
}

void StapSelectDoelBestanden::DubbelKlikRij(int rij)
{
    // A double-click beside the rows chooses nothing.
    if (rij < 0 || rij >= m_rijen.size())
        return;
    if (rij != m_huidig)
        KlikRij(rij);
    const Rij& gekozen = m_rijen.at(rij);
    if (IsSQLServerPad(gekozen.bestand) || IsProductentabel(gekozen.soort))
        cmdVerbind_Click();
    else
        cmdBlader_Click();
}

void StapSelectDoelBestanden::cmdBlader_Click()
{
    if (const std::shared_ptr<clsDoelBestand> doel = DoelVanRij(m_huidig)) {
        frmCommonForm dialoog;
        dialoog.DialogTitle = QStringLiteral("Selecteer doelbestand");
        dialoog.Filter = BestandFilter(*doel);
        dialoog.ShowFileOpen();
        if (dialoog.OK && !dialoog.GetFileNaam().isEmpty() && DoelBruikbaar(dialoog.GetFileNaam())) {
            doel->setPath(dialoog.GetFileNaam());
            ToonPad(m_huidig);
            ToonHistory(m_huidig);
        }
    }
    emit Gewijzigd();
    emit KanVerder(AllesGekozen());
}

void StapSelectDoelBestanden::cmdVerbind_Click()
{
    if (const std::shared_ptr<clsDoelBestand> doel = DoelVanRij(m_huidig)) {
        if (m_vensters) {
            if (const std::optional<QString> beschrijving = m_vensters->ToonSqlServerDialoog(doel->SQLAuthenticatie()))
                doel->setSQLAuthenticatie(*beschrijving);
        }
        ToonPad(m_huidig);
        ToonHistory(m_huidig);
    }
    emit Gewijzigd();
    emit KanVerder(AllesGekozen());
}

void StapSelectDoelBestanden::ToonHistory(int rij)
{
    m_historie.clear();
    m_historieHuidig = -1;
    m_omschrijving.clear();
    const std::shared_ptr<clsDoelBestand> doel = DoelVanRij(rij);
    if (!doel || doel->Path().isEmpty())
        return;
    try {
        doel->History = OpvragenHistory(doel->Path());
        for (const QString& run : std::as_const(doel->History)) {
            const qsizetype scheiding = run.indexOf(QLatin1Char('|'));
            m_historie.append(scheiding < 0 ? HistorieRij{run, QString()}
                                            : HistorieRij{run.left(scheiding), run.mid(scheiding + 1)});
        }
        if (!m_historie.isEmpty()) {
            m_historieHuidig = 0;
            m_omschrijving = m_historie.first().tag;
        }
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("ToonHistory"), e);
    }
}

void StapSelectDoelBestanden::KlikHistorie(int rij)
{
    m_historieHuidig = rij >= 0 && rij < m_historie.size() ? rij : -1;
    m_omschrijving = m_historieHuidig >= 0 ? m_historie.at(m_historieHuidig).tag : QString();
    emit Gewijzigd();
}

void StapSelectDoelBestanden::ToetsInHistorie(int toets, Qt::KeyboardModifiers modifiers)
{
    if (toets != Qt::Key_Delete || (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)))
        return;
    const std::shared_ptr<clsDoelBestand> doel = DoelVanRij(m_huidig);
    if (!doel || m_historieHuidig < 0 || m_historieHuidig >= m_historie.size())
        return;
    // The entry leaves the list only when the run was deleted from the target (a failure is reported).
    if (!VerwijderenImportHistory(doel->Path(), m_historie.at(m_historieHuidig).tekst))
        return;
    m_historie.removeAt(m_historieHuidig);
    if (m_historieHuidig < doel->History.size())
        doel->History.removeAt(m_historieHuidig);
    m_historieHuidig = -1;
    m_omschrijving.clear();
    emit Gewijzigd();
}

void StapSelectDoelBestanden::Finish()
{
    const QString leverancier = Leverancier();
    for (int rij = 0; rij < m_rijen.size(); ++rij) {
        const std::shared_ptr<clsDoelBestand> doel = DoelVanRij(rij);
        if (!doel)
            continue;
        // Every target the user filled in goes to the transfer.
        doel->Geselecteerd = !doel->Path().isEmpty();
        if (!leverancier.isEmpty())
            CurrentUser_BrengWeg(DoelenSectie(leverancier), doel->Omschrijving, doel->Path());
    }
    CurrentUser_BrengWeg(kSplitter, SplitterWaarde(1), QString::number(m_splitter1));
    CurrentUser_BrengWeg(kSplitter, SplitterWaarde(2), QString::number(m_splitter2));
    m_kolommen.Bewaren();
}

} // namespace supplink
