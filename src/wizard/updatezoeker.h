#pragma once
// The program's update check, without a window: fetches the update list
// "info4.txt" from the update folder of the update server, compares its first
// entry with the program's version and, when that entry is newer, downloads
// its archive into the program folder, unpacks it there, starts the installer
// it names with the program folder as argument and, when the entry asks for
// it, ends the program. Every step is reported as a status line; the update
// window (frmDownloadUpdate) is a thin view over this.
//
//     UpdateZoeker zoeker;                       // server, folder and version from the program
//     connect(&zoeker, &UpdateZoeker::status, view, &View::addLine);
//     zoeker.ZoekUpdates();                      // returns when the check is done
//
// Safety: a file is downloaded into a new file that takes the place of an
// existing one only once exactly the announced number of bytes (Content-Length)
// has arrived, so a short or broken download is never unpacked or started;
// archive entries, the archive name and the installer name that leave the
// program folder are refused. The waits for the server yield to the event
// loop; tests replace the one-second wait between size attempts, the program
// start and the end of the program.

#include "platform/runcontext.h"
#include "wizard/clsdownloadfileinfo.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;

namespace supplink {

// The program's own version.
struct ProgrammaVersie
{
    int major = 0;
    int minor = 0;
    int revision = 0;
};
ProgrammaVersie HuidigeProgrammaVersie();

// The update server's host name: the machine-wide setting "settings"/"updateserver" ("host",
// "host:port", or an address that starts with "http://" or "https://").
QString UpdateServer();
// The update folder on that server, "/bvq/leveranciers/updates/4/"; plain HTTP unless the setting
// names a scheme.
QUrl UpdateMap(const QString& server);

// Whether the entry brings a newer program than major.minor: a greater major version, or the same
// major and a greater minor version (a field that is no number counts as 0; revisions are not compared).
bool IsNieuwereVersie(const clsDownloadFileInfo& entry, int major, int minor);

class UpdateZoeker : public QObject
{
    Q_OBJECT
public:
    // Waits one second between two attempts to read a download's size, yielding to the event loop.
    using Wachten = std::function<void()>;
    // Starts the installer (program, arguments); false when it could not be started.
    using ProgrammaStarter = std::function<bool(const QString&, const QStringList&)>;
    // Ends the program.
    using Afsluiten = std::function<void()>;

    explicit UpdateZoeker(QObject* parent = nullptr);
    ~UpdateZoeker() override;

    void setServer(const QString& server) { m_server = server; }
    const QString& server() const { return m_server; }
    void setProgrammaMap(const QString& folder) { m_map = folder; }
    const QString& programmaMap() const { return m_map; }
    void setProgrammaVersie(const ProgrammaVersie& versie) { m_versie = versie; }
    void setWachten(Wachten wachten);
    void setProgrammaStarter(ProgrammaStarter starter);
    void setAfsluiten(Afsluiten afsluiten);

    // The whole check; nothing when a check is already running.
    void ZoekUpdates();
    // Whether the check runs (the window's OK stays disabled and it cannot be closed meanwhile).
    bool Bezig() const { return m_run.live(); }
    // Whether the check asked the program to end.
    bool Afgesloten() const { return m_afgesloten; }

    // The steps of the check, each as the check runs it.
    bool LeesUpdateInformatie();
    bool LeesUpdateLijst();
    void InstallerenUpdate();
    bool DownloadBestand(const QString& fileName);
    // The file's size in bytes once it is in the program folder; -1 when the server gives no size, 0 on
    // an error (a download that ends short included).
    qint64 HaalBestandOp(const QString& fileName);
    bool UitpakkenBestand(const QString& fileName);

    // The lines of the update list as read, the entries built from them, and every status line so far.
    const QStringList& Regels() const { return m_regels; }
    const QList<std::shared_ptr<clsDownloadFileInfo>>& Bestanden() const { return m_bestanden; }
    const QStringList& StatusRegels() const { return m_statusRegels; }

signals:
    // A status line for the window.
    void status(const QString& regel);
    // The progress controls of a download are shown (true) or hidden.
    void voortgangZichtbaar(bool zichtbaar);
    // The byte count of the download in hand and its per cent (the bar follows only above 0).
    void voortgang(const QString& tekst, int procent);
    // The check starts (true) or has ended.
    void bezigGewijzigd(bool bezig);

private:
    void ToonStatus(const QString& regel);
    qint64 BepaalBestandsgrootte(QNetworkReply& reply);
    QNetworkReply* vraagOp(const QString& fileName);
    void installatieMislukt();
    void sluitAf();

    QString m_server;
    QString m_map;
    ProgrammaVersie m_versie;
    Wachten m_wachten;
    ProgrammaStarter m_starter;
    Afsluiten m_afsluiten;
    QNetworkAccessManager* m_netwerk = nullptr;
    RunContext m_run;
    bool m_afgesloten = false;

    QStringList m_regels;
    QList<std::shared_ptr<clsDownloadFileInfo>> m_bestanden;
    QStringList m_statusRegels;
};

} // namespace supplink
