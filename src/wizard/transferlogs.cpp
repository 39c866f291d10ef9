#include "wizard/transferlogs.h"

#include "start/dialogs.h"
#include "start/errors.h"
#include "start/globals.h"

namespace supplink {

TransferLogs::~TransferLogs()
{
    Sluit();
}

bool TransferLogs::Open()
{
    Sluit();
    const QString overzicht = GetTempFileNaam(GetTempFolder());
    const QString detail = GetTempFileNaam(GetTempFolder());
    m_overzicht.setFileName(overzicht);
    m_detail.setFileName(detail);
    globals().gLogDetail = detail;
    globals().gLogOverzicht = overzicht;
    if (overzicht.isEmpty() || detail.isEmpty() ||
        !m_overzicht.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        !m_detail.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        const QString reden = overzicht.isEmpty() || detail.isEmpty()
                                  ? QStringLiteral("In de tijdelijke map kan geen logbestand worden gemaakt.")
                                  : (m_overzicht.isOpen() ? m_detail : m_overzicht).errorString();
        m_overzicht.close();
        m_detail.close();
        ShowError(QString(), ErrorNumber::General, reden);
        return false;
    }
    return true;
}

void TransferLogs::Sluit()
{
    bool gelukt = true;
    for (QFile* bestand : {&m_overzicht, &m_detail}) {
        if (!bestand->isOpen())
            continue;
        gelukt = bestand->flush() && bestand->error() == QFileDevice::NoError && gelukt;
        bestand->close();
    }
    if (!gelukt)
        ShowError(QString(), ErrorNumber::General,
                  QStringLiteral("Het logbestand kon niet volledig worden geschreven."));
}

void TransferLogs::schrijf(QFile& bestand, const QString& regel)
{
    // A failed write is seen when the log is closed (Sluit), which reports it once.
    if (bestand.isOpen())
        bestand.write((regel + QStringLiteral("\r\n")).toUtf8());
}

void TransferLogs::SchrijfLog(const QString& regel)
{
    schrijf(m_overzicht, regel);
    schrijf(m_detail, regel);
}

void TransferLogs::SchrijfDetail(const QString& regel)
{
    schrijf(m_detail, regel);
}

} // namespace supplink
