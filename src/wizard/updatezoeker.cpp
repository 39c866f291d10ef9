#include "wizard/updatezoeker.h"

#include "platform/programstart.h"
#include "platform/uiservices.h"
#include "platform/zipextract.h"
#include "sources/tekstbestand.h"
#include "start/errors.h"
#include "start/globals.h"
#include "start/registryfuncties.h"
#include "start/sharedroutines.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTimer>

namespace supplink {
namespace {

constexpr int kChunk = 256;
constexpr int kGroottePogingen = 10;
constexpr int kTransferTimeoutMs = 60000; // no byte for a minute ends a request
const char kLijst[] = "info4.txt";
const char kKop[] = "BvqLeveranciersUpdates\r";

// Runs the event loop until the condition holds; every signal of the reply wakes it. Each condition
// holds once the reply has finished, and a reply always finishes (at the latest by its timeout).
template <typename Voorwaarde>
void wachtOp(QNetworkReply& antwoord, Voorwaarde klaar)
{
    while (!klaar()) {
        QEventLoop lus;
        QObject::connect(&antwoord, &QNetworkReply::readyRead, &lus, &QEventLoop::quit);
        QObject::connect(&antwoord, &QNetworkReply::metaDataChanged, &lus, &QEventLoop::quit);
        QObject::connect(&antwoord, &QNetworkReply::finished, &lus, &QEventLoop::quit);
        lus.exec();
    }
}

// The headers of the answer are in (those of a redirection do not count: the request follows it).
bool kopOntvangen(const QNetworkReply& antwoord)
{
    const QVariant code = antwoord.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    return antwoord.isFinished() || (code.isValid() && (code.toInt() < 300 || code.toInt() > 399));
}

// The size the server announces; 0 when it announces none or answers with an error page, which is
// not the file asked for.
qint64 aangekondigdeGrootte(const QNetworkReply& antwoord)
{
    const int code = antwoord.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (code < 200 || code > 299)
        return 0;
    bool gelezen = false;
    const qint64 grootte = antwoord.rawHeader("Content-Length").trimmed().toLongLong(&gelezen);
    return gelezen ? grootte : 0;
}

void wachtEenSeconde()
{
    QEventLoop lus;
    QTimer::singleShot(1000, &lus, &QEventLoop::quit);
    lus.exec();
}

void informatie(const QString& tekst)
{
    ui().messageBox(tekst, MsgBox::OkOnly | MsgBox::Information, QString::fromUtf8(kProgramTitle));
}

// Deletes the file, also when it is read-only.
void verwijderOokAlleenLezen(const QString& pad)
{
    QFile::setPermissions(pad, QFile::permissions(pad) | QFile::WriteOwner | QFile::WriteUser);
    VerwijderBestand(pad);
}

} // namespace

ProgrammaVersie HuidigeProgrammaVersie()
{
    return {SUPPLINK_VERSION_MAJOR, SUPPLINK_VERSION_MINOR, SUPPLINK_VERSION_PATCH};
}

QString UpdateServer()
{
    return LocalMachine_HaalOp(QStringLiteral("settings"), QStringLiteral("updateserver"), QString());
}

QUrl UpdateMap(const QString& server)
{
    QString adres = server.trimmed();
    while (adres.endsWith(QLatin1Char('/')))
        adres.chop(1);
    if (!adres.contains(QLatin1String("://")))
        adres.prepend(QLatin1String("http://"));
    return QUrl(adres + QLatin1String("/bvq/leveranciers/updates/4/"));
}

bool IsNieuwereVersie(const clsDownloadFileInfo& entry, int major, int minor)
{
    const int entryMajor = entry.VersionMajor.toInt();
    const int entryMinor = entry.VersionMinor.toInt();
    return entryMajor > major || (entryMajor == major && entryMinor > minor);
}

UpdateZoeker::UpdateZoeker(QObject* parent)
    : QObject(parent), m_server(UpdateServer()), m_versie(HuidigeProgrammaVersie()),
      m_netwerk(new QNetworkAccessManager(this))
{
    if (QCoreApplication::instance())
        m_map = QCoreApplication::applicationDirPath();
    setWachten({});
    setProgrammaStarter({});
    setAfsluiten({});
}

UpdateZoeker::~UpdateZoeker() = default;

void UpdateZoeker::setWachten(Wachten wachten) { m_wachten = wachten ? std::move(wachten) : wachtEenSeconde; }

void UpdateZoeker::setProgrammaStarter(ProgrammaStarter starter)
{
    m_starter = starter ? std::move(starter) : startProgramMinimised;
}

void UpdateZoeker::setAfsluiten(Afsluiten afsluiten)
{
    m_afsluiten = afsluiten ? std::move(afsluiten) : [] { QCoreApplication::exit(0); };
}

void UpdateZoeker::ToonStatus(const QString& regel)
{
    m_statusRegels << regel;
    emit status(regel);
}

void UpdateZoeker::ZoekUpdates()
{
    if (Bezig())
        return;
    {
        RunScope bezig(m_run);
        emit bezigGewijzigd(true);
        if (LeesUpdateInformatie() && LeesUpdateLijst()) {
            const std::shared_ptr<clsDownloadFileInfo> eerste = m_bestanden.first();
            if (IsNieuwereVersie(*eerste, m_versie.major, m_versie.minor)) {
                eerste->Selected = true;
                InstallerenUpdate();
                if (!m_afgesloten) {
                    ToonStatus(QStringLiteral("Het zoeken naar updates is afgerond."));
                    ToonStatus(QStringLiteral("Kies OK om verder te gaan."));
                }
            } else {
                ToonStatus(QStringLiteral("Het zoeken naar updates is afgerond."));
                ToonStatus(QStringLiteral("U beschikt over de meest recente versie."));
                ToonStatus(QStringLiteral("Kies OK om verder te gaan."));
            }
        }
    }
    emit bezigGewijzigd(false);
}

QNetworkReply* UpdateZoeker::vraagOp(const QString& fileName)
{
    QUrl adres = UpdateMap(m_server);
    adres.setPath(adres.path() + fileName);
    QNetworkRequest verzoek(adres);
    // The bytes as the server sends them, so they can be counted against the announced size.
    verzoek.setRawHeader("Accept-Encoding", "identity");
    verzoek.setTransferTimeout(kTransferTimeoutMs);
    return m_netwerk->get(verzoek);
}

bool UpdateZoeker::LeesUpdateInformatie()
{
    m_regels.clear();
    ToonStatus(QStringLiteral("Verbinding maken met website..."));
    QString tekst;
    {
        const std::unique_ptr<QNetworkReply> antwoord(vraagOp(QString::fromLatin1(kLijst)));
        wachtOp(*antwoord, [&antwoord] { return antwoord->isFinished(); });
        tekst = DecodeerTekst(antwoord->readAll());
    }
    if (tekst.isEmpty()) {
        const QString melding =
            QStringLiteral("Het is niet gelukt om een verbinding te maken met de Tavrin website ") + m_server +
            QLatin1Char('!');
        ToonFout(melding);
        ToonStatus(melding);
        return false;
    }
    ToonStatus(QStringLiteral("Verbinding tot stand gebracht"));
    m_regels = tekst.split(QLatin1Char('\n'));
    if (ZonderRandSpaties(m_regels.first()) == QLatin1String(kKop))
        return true;
    const QString melding = QStringLiteral("De website bevat geen geldige update-informatie.\n"
                                           "Neem contact op met Tavrin Software als dit zich blijft voordoen.");
    ToonFout(melding);
    ToonStatus(melding);
    return false;
}

bool UpdateZoeker::LeesUpdateLijst()
{
    m_bestanden.clear();
    for (qsizetype i = 1; i < m_regels.size(); ++i) {
        if (ZonderRandSpaties(m_regels.at(i)).isEmpty())
            continue;
        auto info = std::make_shared<clsDownloadFileInfo>();
        if (info->AddLine(m_regels.at(i)))
            m_bestanden.append(info);
    }
    // A list without entries (a header alone included) offers nothing to compare.
    if (m_bestanden.isEmpty()) {
        informatie(QStringLiteral("Er zijn geen nieuwe definities beschikbaar!"));
        return false;
    }
    return true;
}

void UpdateZoeker::InstallerenUpdate()
{
    try {
        for (const std::shared_ptr<clsDownloadFileInfo>& info : std::as_const(m_bestanden)) {
            if (!info->Selected || info->RunFile.isEmpty())
                continue;
            // The list comes from the network: what it names must stay in the program folder.
            const QString* buiten = !pathInsideFolder(m_map, info->FileName) ? &info->FileName
                                    : !pathInsideFolder(m_map, info->RunFile) ? &info->RunFile
                                                                              : nullptr;
            if (buiten) {
                ToonStatus(QStringLiteral("De update %1 wordt niet geïnstalleerd: '%2' ligt buiten de programmamap.")
                               .arg(info->Description, *buiten));
                continue;
            }

            ToonStatus(QStringLiteral("Downloaden bestand ") + info->Description);
            if (!DownloadBestand(info->FileName)) {
                ToonStatus(QStringLiteral("Downloaden bestand ") + info->Description + QStringLiteral(" mislukt!"));
                continue;
            }
            ToonStatus(QStringLiteral("Download succesvol."));
            if (!UitpakkenBestand(info->FileName)) {
                ToonStatus(QStringLiteral("Uitpakken bestand ") + info->Description + QStringLiteral(" mislukt!"));
                verwijderOokAlleenLezen(*pathInsideFolder(m_map, info->FileName));
                continue;
            }
            ToonStatus(QStringLiteral("Uitpakken succesvol."));

            // The installer receives the program folder as its only argument.
            const std::optional<QString> installer = pathInsideFolder(m_map, info->RunFile);
            const QString programma = installer ? QDir::toNativeSeparators(*installer) : QString();
            const QStringList argumenten{QDir::toNativeSeparators(ZonderBackslash(m_map))};
            if (!info->CloseApp.isEmpty()) {
                informatie(QStringLiteral("Om de installatie af te ronden wordt de applicatie nu afgesloten."));
                if (!installer || !m_starter(programma, argumenten)) {
                    installatieMislukt();
                    return;
                }
                sluitAf();
                return;
            }
            if (!installer || !m_starter(programma, argumenten)) {
                installatieMislukt();
                return;
            }
            ToonStatus(QStringLiteral("Installatie update gereed."));
        }
    } catch (const std::exception& e) {
        const AppError fout = AppError::from(e);
        ToonStatus(fout.description());
        ShowError(QString(), fout);
    }
}

void UpdateZoeker::installatieMislukt()
{
    informatie(QStringLiteral("Er is een fout opgetreden tijdens het toepassen van de update. Start deze "
                              "applicatie als Administrator en probeer het opnieuw."));
    sluitAf();
}

void UpdateZoeker::sluitAf()
{
    m_afgesloten = true;
    m_afsluiten();
}

bool UpdateZoeker::DownloadBestand(const QString& fileName)
{
    emit voortgangZichtbaar(true);
    bool gelukt = false;
    try {
        const qint64 grootte = HaalBestandOp(fileName);
        gelukt = grootte > 0;
        if (grootte == -1)
            ToonStatus(QStringLiteral("Bestand niet gevonden op de website!"));
        else if (grootte < 1)
            ToonStatus(QStringLiteral("Onbekende fout opgetreden tijdens het downloaden!"));
    } catch (const std::exception& e) {
        ShowError(QString(), e);
        gelukt = false;
    }
    emit voortgangZichtbaar(false);
    return gelukt;
}

qint64 UpdateZoeker::HaalBestandOp(const QString& fileName)
{
    const std::optional<QString> doel = pathInsideFolder(m_map, fileName);
    if (!doel)
        throw AppError(ErrorNumber::General,
                       QStringLiteral("Het bestand '%1' ligt buiten de programmamap.").arg(fileName));

    const std::unique_ptr<QNetworkReply> antwoord(vraagOp(fileName));
    wachtOp(*antwoord, [&antwoord] { return kopOntvangen(*antwoord); });
    const qint64 grootte = BepaalBestandsgrootte(*antwoord);
    if (grootte < 1) {
        antwoord->abort();
        return -1;
    }

    emit voortgang(QStringLiteral("Bytes (0)"), 0);
    // A new file beside the old one takes its place only when every byte has arrived.
    QSaveFile bestand(*doel);
    if (!bestand.open(QIODevice::WriteOnly))
        throw AppError(ErrorNumber::General, bestand.errorString());
    qint64 rest = grootte;
    while (rest != 0) {
        const qint64 stuk = rest > kChunk ? kChunk : rest;
        wachtOp(*antwoord, [&antwoord, stuk] { return antwoord->isFinished() || antwoord->bytesAvailable() >= stuk; });
        const QByteArray bytes = antwoord->read(stuk);
        if (bytes.isEmpty())
            break; // the server ended before the announced size
        rest -= bytes.size();
        const int procent = int((grootte - rest) * 100 / grootte);
        emit voortgang(fileName + QStringLiteral(": ") + QString::number(rest) + QStringLiteral(" bytes (") +
                           QString::number(procent) + QStringLiteral("%)"),
                       procent);
        if (bestand.write(bytes) != bytes.size())
            throw AppError(ErrorNumber::General, bestand.errorString());
    }
    antwoord->abort();
    if (rest != 0) {
        bestand.cancelWriting();
        return 0;
    }
    if (!bestand.commit())
        throw AppError(ErrorNumber::General, bestand.errorString());
    return grootte;
}

qint64 UpdateZoeker::BepaalBestandsgrootte(QNetworkReply& antwoord)
{
    qint64 grootte = 0;
    for (int poging = 1; poging <= kGroottePogingen; ++poging) {
        grootte = aangekondigdeGrootte(antwoord);
        if (grootte > 0)
            return grootte;
        ToonStatus(QStringLiteral("Retry..."));
        m_wachten();
    }
    ToonStatus(QStringLiteral("Filegrootte bepalen mislukt!"));
    return grootte;
}

bool UpdateZoeker::UitpakkenBestand(const QString& fileName)
{
    try {
        const std::optional<QString> archief = pathInsideFolder(m_map, fileName);
        if (!archief)
            throw AppError(ErrorNumber::General,
                           QStringLiteral("Het bestand '%1' ligt buiten de programmamap.").arg(fileName));
        const ZipExtraction uitgepakt = extractZipArchive(*archief, m_map, &m_run);
        if (uitgepakt.ok())
            return true;
        ToonStatus(uitgepakt.error);
        return false;
    } catch (const std::exception& e) {
        ShowError(QString(), e);
        return false;
    }
}

} // namespace supplink
