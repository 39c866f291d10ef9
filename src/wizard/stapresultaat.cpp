#include "wizard/stapresultaat.h"

#include "platform/uiservices.h"
#include "sources/tekstbestand.h"
#include "start/dialogs.h"
#include "start/errors.h"
#include "start/globals.h"
#include "start/sharedroutines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace supplink {

void StapResultaat::Init()
{
    m_tag = QStringLiteral("detail");
    cmdDetails_Click();
}

void StapResultaat::Finish()
{
    ProgramState& g = globals();
    for (QString* pad : {&g.gLogDetail, &g.gLogOverzicht}) {
        if (!pad->isEmpty())
            VerwijderBestand(*pad);
        pad->clear();
    }
}

QString StapResultaat::DetailsKnopTekst() const
{
    return m_tag == QLatin1String("simpel") ? QStringLiteral("&Details") : QStringLiteral("&Overzicht");
}

void StapResultaat::Laad(const QString& pad)
{
    // A transfer whose logs could not be made leaves nothing to show: an empty text, not an error.
    if (pad.isEmpty() || !QFileInfo::exists(pad)) {
        m_tekst.clear();
        return;
    }
    const std::optional<QString> tekst = LeesTekstBestand(pad);
    if (!tekst)
        throw AppError(ErrorNumber::General,
                       QStringLiteral("Het bestand '%1' kan niet worden gelezen.").arg(QDir::toNativeSeparators(pad)));
    m_tekst = *tekst;
}

void StapResultaat::cmdDetails_Click()
{
    try {
        if (m_tag != QLatin1String("simpel")) {
            m_tag = QStringLiteral("simpel");
            Laad(globals().gLogOverzicht);
        } else {
            m_tag = QStringLiteral("detail");
            Laad(globals().gLogDetail);
        }
    } catch (const std::exception& fout) {
        ShowError(QStringLiteral("cmdDetails_Click"), fout);
    }
    emit Gewijzigd();
}

void StapResultaat::cmdSaveLog_Click()
{
    try {
        clsBrowseForFolder kiezer;
        kiezer.ShowBrowseFolder(nullptr, QStringLiteral("Selecteer doelfolder voor het log bestand:"), QString());
        if (!kiezer.OK)
            return;
        const QString doel = QDir(kiezer.SelectedFolder).filePath(QStringLiteral("BvqExport.log"));
        if (QFileInfo::exists(doel) && !QFile::remove(doel))
            throw AppError(ErrorNumber::General, QStringLiteral("Het bestand '%1' kan niet worden overschreven.")
                                                     .arg(QDir::toNativeSeparators(doel)));
        if (!QFile::copy(globals().gLogDetail, doel))
            throw AppError(ErrorNumber::General, QStringLiteral("Het logbestand kan niet worden opgeslagen in '%1'.")
                                                     .arg(QDir::toNativeSeparators(doel)));
        ui().messageBox(QStringLiteral("Bestand ") + QDir::toNativeSeparators(doel) + QStringLiteral(" opgeslagen"),
                        MsgBox::OkOnly, QString::fromUtf8(kProgramTitle));
    } catch (const std::exception& fout) {
        ShowError(QStringLiteral("cmdSaveLog_Click"), fout);
    }
}

} // namespace supplink
