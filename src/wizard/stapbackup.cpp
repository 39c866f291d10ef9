#include "wizard/stapbackup.h"

#include "database/databaseroutines.h"
#include "database/doelbestand.h"
#include "platform/uiservices.h"
#include "start/dialogs.h"
#include "start/errors.h"
#include "start/globals.h"
#include "start/registryfuncties.h"
#include "start/sharedroutines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace supplink {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString titel()
{
    return QString::fromUtf8(kProgramTitle);
}

QString verplicht()
{
    return QStringLiteral("Het is verplicht om nu een backup van uw stambestanden te maken, kies voor "
                          "\u2018Backup\u2019 om de procedure te starten.");
}

QString beheerApplicatie()
{
    return QStringLiteral("Wij adviseren voor u verder gaat een backup te maken van uw productentabel via de "
                          "Brevanto Project Beheerapplicatie.");
}

} // namespace

QStringList StapBackup::GebruikteDoelen()
{
    QStringList doelen;
    for (const std::shared_ptr<clsDoelBestand>& doel : globals().gDoelBestanden) {
        if (doel && doel->Geselecteerd && !doel->Path().isEmpty())
            doelen << doel->Path();
    }
    return doelen;
}

bool StapBackup::KanVerderNu() const
{
    const QStringList doelen = GebruikteDoelen();
    const bool alleenServer = std::all_of(doelen.cbegin(), doelen.cend(), IsSQLServerPad);
    return alleenServer || (m_backupGemaakt && m_gekopieerdVan == doelen);
}

void StapBackup::Init()
{
    const QStringList doelen = GebruikteDoelen();
    // A backup of other targets does not count for these.
    if (m_backupGemaakt && m_gekopieerdVan != doelen)
        m_backupGemaakt = false;
    const qsizetype opServer = std::count_if(doelen.cbegin(), doelen.cend(), IsSQLServerPad);
    m_advies = kCrLf + kCrLf + QStringLiteral("In de volgende stap worden de gegevens gekopieerd.") + kCrLf + kCrLf;
    if (opServer == doelen.size()) {
        m_advies += beheerApplicatie();
        m_knopAan = false;
    } else if (opServer > 0) {
        m_advies += verplicht() + kCrLf + kCrLf +
                    QStringLiteral("Een backup van uw productentabel kan worden gemaakt via de Brevanto Project "
                                   "Beheerapplicatie.");
        m_knopAan = true;
    } else {
        m_advies += verplicht();
        m_knopAan = true;
    }
    emit Gewijzigd();
    emit KanVerder(KanVerderNu());
}

bool StapBackup::KopieerBestand(const QString& bron, const QString& doel)
{
    const QString bronCanoniek = QFileInfo(bron).canonicalFilePath();
    if (QFileInfo::exists(doel) && !bronCanoniek.isEmpty() && QFileInfo(doel).canonicalFilePath() == bronCanoniek) {
        ui().messageBox(QStringLiteral("Bron en doel bestand gelijk!"), MsgBox::OkOnly | MsgBox::Critical, titel());
        return false;
    }
    if (QFileInfo::exists(doel)) {
        if (ui().messageBox(QStringLiteral("Bestand ") + QDir::toNativeSeparators(doel) +
                                QStringLiteral(" bestaat al, bestand overschrijven?"),
                            MsgBox::YesNo | MsgBox::Question, titel()) != MsgBox::Yes)
            return false;
        if (!QFile::remove(doel))
            return false;
    }
    return QFile::copy(bron, doel);
}

void StapBackup::cmdBackup_Click()
{
    try {
        m_backupGemaakt = false;
        clsBrowseForFolder kiezer;
        kiezer.ShowBrowseFolder(nullptr, QStringLiteral("Selecteer doelfolder voor de backup bestanden:"),
                                CurrentUser_HaalOp(QStringLiteral("backup"), QStringLiteral("Path"), QString()));
        if (!kiezer.OK) {
            emit KanVerder(KanVerderNu());
            return;
        }
        const QString map = MetBackslash(kiezer.SelectedFolder);
        CurrentUser_BrengWeg(QStringLiteral("backup"), QStringLiteral("Path"), map);
        const QStringList doelen = GebruikteDoelen();
        for (const QString& pad : doelen) {
            if (IsSQLServerPad(pad))
                continue;
            if (!KopieerBestand(pad, map + QFileInfo(pad).fileName())) {
                ui().messageBox(QStringLiteral("De backup procedure was niet succesvol!"),
                                MsgBox::OkOnly | MsgBox::Critical, titel());
                emit KanVerder(KanVerderNu());
                return;
            }
        }
        ui().messageBox(QStringLiteral("Backup doelbestanden succesvol!"), MsgBox::OkOnly | MsgBox::Information,
                        titel());
        m_backupGemaakt = true;
        m_gekopieerdVan = doelen;
        emit KanVerder(KanVerderNu());
    } catch (const std::exception& fout) {
        ShowError(QString(), fout);
    }
}

} // namespace supplink
