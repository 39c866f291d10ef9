#pragma once
// The two logs of a transfer: the detailed log holds every line, the overview
// log only the target, option, source, count and closing lines. Both are new
// temporary files (GetTempFileNaam in the temporary folder), written as UTF-8
// text with CR LF line ends; their paths go into the program-wide
// gLogDetail and gLogOverzicht, where the result step (stapresultaat.h) finds
// them, shows them, saves the detailed one and deletes both.
//
//     TransferLogs logs;
//     if (!logs.Open()) return;              // the error window has said why
//     logs.SchrijfLog("Doel bestand : ...");  // both logs
//     logs.SchrijfDetail("PT:ART-1");         // the detailed log only
//     logs.Sluit();                          // also when the object goes, whatever happened before

#include <QFile>
#include <QString>

namespace supplink {

class TransferLogs
{
public:
    TransferLogs() = default;
    ~TransferLogs();
    TransferLogs(const TransferLogs&) = delete;
    TransferLogs& operator=(const TransferLogs&) = delete;

    // Makes and opens both files and stores their paths; false (after the error window) when that failed.
    bool Open();
    // Closes both files (the error window when a write could not be completed). A second call does nothing.
    void Sluit();
    bool IsOpen() const { return m_overzicht.isOpen() && m_detail.isOpen(); }

    // A line in the overview log, then in the detailed log.
    void SchrijfLog(const QString& regel);
    // A line in the detailed log only.
    void SchrijfDetail(const QString& regel);

    QString DetailPad() const { return m_detail.fileName(); }
    QString OverzichtPad() const { return m_overzicht.fileName(); }

private:
    static void schrijf(QFile& bestand, const QString& regel);

    QFile m_overzicht;
    QFile m_detail;
};

} // namespace supplink
