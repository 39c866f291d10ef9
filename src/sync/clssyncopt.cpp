#include "sync/clssyncopt.h"

#include "database/backendopeners.h"
#include "database/clsconnectie.h"
#include "database/clsopt.h"
#include "database/databaseroutines.h"
#include "database/recordset.h"
#include "platform/uiservices.h"
#include "start/errors.h"
#include "start/globals.h"
#include "start/sharedroutines.h"
#include "database/codevergelijking.h"
#include "transfer/clsimportsqlitetabelnaarsqlitet.h"
#include "transfer/clsimporttabelnaartabel.h"
#include "json/json.h"

#include <utility>

namespace supplink {

namespace {

const QString kOpenenBron = QStringLiteral("Openen bron onderhoud");
const QString kOpenenDoel = QStringLiteral("Openen doel onderhoud");
const QString kControleBron = QStringLiteral("Controle bronbestand");
const QString kControleDoel = QStringLiteral("Controle doelbestand");
const QString kNietOndersteund = QStringLiteral("Combinatie bestandversies Doel/Bron niet ondersteund!");

const QString kCombi = QStringLiteral("LocksHingesCombi");
const QString kArtikel = QStringLiteral("LocksHingesArticle");
const QString kTabel = QStringLiteral("LocksHingesTable");
const QString kType = QStringLiteral("LocksHingesType");
const QString kKeuze = QStringLiteral("CustomLHCombi");
const QString kKeuzeRij = QStringLiteral("CustomLH");

// The versions whose Jet files keep the older format.
bool isOudFormaat(const QString& versie)
{
    return versie == QLatin1String("2.30") || versie == QLatin1String("2.40") ||
           versie == QLatin1String("3.0");
}

// The allowed source-target version pairs by application type (upper case); none for the third application.
bool versiePaarToegestaan(const QString& appType, const QString& paar)
{
    static const QStringList velmora{QStringLiteral("2.30-2.30"), QStringLiteral("2.40-2.40"),
                                     QStringLiteral("3.0-3.0"),   QStringLiteral("3.10-3.10"),
                                     QStringLiteral("3.10-3.20"), QStringLiteral("3.20-3.20"),
                                     QStringLiteral("3.20-3.30"), QStringLiteral("3.30-3.30")};
    static const QStringList quentaro{QStringLiteral("1.80-1.80"), QStringLiteral("1.90-1.90"),
                                      QStringLiteral("2.0-2.0"), QStringLiteral("2.0-2.10"),
                                      QStringLiteral("2.10-2.10")};
    if (appType == QLatin1String("VELMORA"))
        return velmora.contains(paar);
    if (appType == QLatin1String("QUENTARO"))
        return quentaro.contains(paar);
    return false;
}

const clsImportOpties& importOpties()
{
    static const clsImportOpties geen;
    const std::shared_ptr<clsImportOpties>& opties = globals().gImportOpties;
    return opties ? *opties : geen;
}

// The open connection of one side; a step on a side that is not open fails.
DbConnection verbinding(const std::unique_ptr<clsConnectie>& cn, bool bron)
{
    DbConnection db = cn ? cn->Connection() : DbConnection();
    if (!db)
        throw AppError(DbErrorNumber::ObjectClosed, bron
                                                        ? QStringLiteral("Het bronbestand is niet geopend.")
                                                        : QStringLiteral("Het doelbestand is niet geopend."));
    return db;
}

} // namespace

// The rules one table step gives its copier.
struct clsSyncOpt::StapRegels
{
    enum class Keuze
    {
        Tabellen,
        Combies,
        Keuzes
    };

    QString naam{};      // the step's name in error reports
    bool sqlite = false; // run by the SQLite copier (else by the copier of recordsets)
    QString kop{};       // the caption of the step
    QString bron{};      // the source rows
    QString doel{};      // the target rows (Jet) or the target query (SQLite)
    QStringList overslaan{};
    QString sleutel{}; // empty: every chosen row is new (child rows)
    QString verwijderen{};
    QStringList bijwerken{};
    QStringList json{};
    // Foreign keys, in order: the field and the parent table it refers to.
    QList<std::pair<QString, QString>> verwijzingen{};
    Keuze keuze = Keuze::Combies; // whose selection chooses the rows
};

// One step of a path: its rules (Regels) and the import-option flag that gates it (none: always).
struct clsSyncOpt::Stap
{
    int regels = 0;
    bool clsImportOpties::*vlag = nullptr;
};

clsSyncOpt::clsSyncOpt()
    : m_relayX(m_ontvanger, m_voortgangTeller), m_relaySQLite(m_ontvanger, m_voortgangTeller)
{
    m_relayX.RijenTellen = false;
    m_relayX.BijFout = [this] { ++m_fouten; };
    m_relaySQLite.BijFout = [this] { ++m_fouten; };
}

clsSyncOpt::~clsSyncOpt()
{
    x.reset();
    xSQLitetoSQLite.reset();
    DisconnectBronDoel();
}

void clsSyncOpt::TelFout()
{
    ++m_fouten;
    RaiseFoutOpgetreden(1);
}

void clsSyncOpt::MeldFout(const QString& actie, const QString& omschrijving)
{
    RaiseVoortgang(actie, omschrijving);
    TelFout();
}

// ---- The run ----------------------------------------------------------------------------------------

void clsSyncOpt::Sync(const QString& strBronPath, const QString& strDoelPath, bool bMatchVersies)
{
    RunScope live(*m_run);
    m_fouten = 0;
    try {
        if (!ConnectBronDoel(strBronPath, strDoelPath, bMatchVersies))
            return;
        if (m_bron->isSQLite() && m_doel->isSQLite()) {
            SyncSQLite(strBronPath, strDoelPath, bMatchVersies);
            return;
        }
        bool gemeld = false;
        const QString appType = BronAppType(*m_bron, &gemeld).toUpper();
        if (appType == QLatin1String("VELMORA")) {
            if (isOudFormaat(m_bronVersie))
                SyncJETOudFormaat(strBronPath, strDoelPath, bMatchVersies);
            else
                SyncJETNieuwFormaat(strBronPath, strDoelPath, bMatchVersies);
        } else if (appType == QLatin1String("QUENTARO")) {
            SyncJETNieuwFormaat(strBronPath, strDoelPath, bMatchVersies);
        } else if (!gemeld) {
            // Nothing can be copied from a database of another application: the run must not look successful.
            MeldFout(kControleBron,
                     QStringLiteral("Bronbestand is geen onderhoudsbestand van een ondersteunde applicatie "
                                    "(AppType '%1'), er is niets overgezet.")
                         .arg(appType));
        }
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("clsSyncOpt.Sync"), e);
        TelFout();
    }
}

void clsSyncOpt::SyncJETOudFormaat(const QString& strBronPath, const QString& strDoelPath, bool bMatchVersies)
{
    TelTotaalOudFormaat();
    // All four steps, whatever the import options say.
    DoorloopPad({{0}, {1}, {2}, {3}}, strBronPath, strDoelPath, bMatchVersies, true);
}

void clsSyncOpt::SyncJETNieuwFormaat(const QString& strBronPath, const QString& strDoelPath,
                                     bool bMatchVersies)
{
    TelTotaalNieuwFormaat();
    DoorloopPad({{4, &clsImportOpties::ImporterenTabellen},
                 {5, &clsImportOpties::ImporterenTabellen},
                 {6, &clsImportOpties::ImporterenHSKeuzes},
                 {7, &clsImportOpties::ImporterenHSKeuzes}},
                strBronPath, strDoelPath, bMatchVersies, false);
}

void clsSyncOpt::SyncSQLite(const QString& strBronPath, const QString& strDoelPath, bool bMatchVersies)
{
    TelTotaalSQLite();
    DoorloopPad({{8, &clsImportOpties::ImporterenTabellen},
                 {9, &clsImportOpties::ImporterenHSKeuzes},
                 {10, &clsImportOpties::ImporterenHSKeuzes}},
                strBronPath, strDoelPath, bMatchVersies, false);
}

void clsSyncOpt::DoorloopPad(const QList<Stap>& stappen, const QString& strBronPath,
                             const QString& strDoelPath, bool bMatchVersies, bool foutBeeindigtRun)
{
    for (int i = 0; i < stappen.size(); ++i) {
        const Stap& stap = stappen.at(i);
        if (stap.vlag && !(importOpties().*stap.vlag))
            continue;
        // Every step but the path's first works on a fresh pair of connections (checked again when asked).
        // A pair that does not open, or no longer passes the check, ends the path: the failure has been
        // reported and counted.
        if (i > 0 && !ConnectBronDoel(strBronPath, strDoelPath, bMatchVersies))
            return;
        const StapRegels& regels = Regels(stap.regels);
        try {
            if (regels.sqlite)
                SQLiteStap(regels);
            else
                JetStap(regels);
        } catch (const std::exception& e) {
            ShowError(regels.naam, e);
            TelFout();
            // In the older format a failing step ends the whole run; the connections stay as they are.
            if (foutBeeindigtRun)
                return;
        }
        RaiseHuidigeHoofdActieDone();
        DisconnectBronDoel();
        if (Geannuleerd())
            return;
    }
    m_run->yieldNow();
}

// ---- Opening and closing ------------------------------------------------------------------------------

bool clsSyncOpt::ConnectBron(const QString& pad)
{
    RaiseHuidigeHoofdActie(kOpenenBron);
    RaiseVoortgang(QStringLiteral("Bron bestand"), pad);
    try {
        SluitVerbinding(m_bron);
        m_bron = std::make_unique<clsConnectie>();
        return m_bron->MakenJetorSQLiteConnectie(pad, QString());
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("ConnectBron"), e);
        return false;
    }
}

bool clsSyncOpt::ConnectDoel(const QString& pad)
{
    RaiseHuidigeHoofdActie(kOpenenDoel);
    RaiseVoortgang(QStringLiteral("Doel bestand"), pad);
    try {
        SluitVerbinding(m_doel);
        m_doel = std::make_unique<clsConnectie>();
        // A Jet file can only be read here: it is refused as a target before anything is opened.
        const QString weigering = jetTargetRefusal(pad);
        if (!weigering.isEmpty()) {
            RaiseVoortgang(kControleDoel, weigering);
            return false;
        }
        return m_doel->MakenJetorSQLiteConnectie(pad, QString());
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("ConnectDoel"), e);
        return false;
    }
}

bool clsSyncOpt::ConnectBronDoel(const QString& strBronPath, const QString& strDoelPath, bool bMatchVersies)
{
    // Every way this answers False has been reported and counted once.
    if (!ConnectBron(strBronPath)) {
        MeldFout(kControleBron, QStringLiteral("Bronbestand kan niet worden geopend."));
        return false;
    }
    if (!ConnectDoel(strDoelPath)) {
        MeldFout(kControleDoel, QStringLiteral("Doelbestand kan niet worden geopend."));
        return false;
    }
    if (!bMatchVersies)
        return true;
    return VersionCheck();
}

void clsSyncOpt::DisconnectBronDoel()
{
    SluitVerbinding(m_bron);
    SluitVerbinding(m_doel);
}

// ---- Version check ------------------------------------------------------------------------------------

bool clsSyncOpt::VersionCheck()
{
    try {
        const bool bronSQLite = m_bron->isSQLite();
        const bool doelSQLite = m_doel->isSQLite();
        if (bronSQLite && doelSQLite)
            return true;
        if (bronSQLite && m_doel->IsJet()) {
            WeigerCombinatie(QStringLiteral(
                "Doelbestand heeft een lagere versie als het bronbestand, deze combinatie wordt niet "
                "ondersteund!"));
            return false;
        }
        if (m_bron->IsJet() && doelSQLite) {
            WeigerCombinatie(QStringLiteral("Bronbestand is van een te lage versie, converteer het "
                                            "bronbestand eerst naar versie 3.4 of hoger!"));
            return false;
        }

        QString bronType, doelType;
        if (!LeesVersie(*m_bron, true, bronType))
            return false;
        if (!LeesVersie(*m_doel, false, doelType))
            return false;
        if (doelType != bronType) {
            RaiseVoortgang(kControleDoel,
                           QStringLiteral("Onderhoud bron/doel voor verschillende applicaties!"));
            RaiseVoortgang(kControleDoel, QStringLiteral("Doel: ") + doelType);
            RaiseVoortgang(kControleDoel, QStringLiteral("Bron: ") + bronType);
            TelFout();
            return false;
        }
        const QString appType = bronType.toUpper();
        const QString paar = m_bronVersie + QLatin1Char('-') + m_doelVersie;
        if (appType == QLatin1String("VELMORA") || appType == QLatin1String("QUENTARO") ||
            appType == QLatin1String("RUVEZEVORER")) {
            if (versiePaarToegestaan(appType, paar))
                return true;
            WeigerCombinatie(kNietOndersteund);
            return false;
        }
        // Files of an application the program does not know: refused, and said so.
        MeldFout(kControleBron,
                 QStringLiteral("Onderhoud bron/doel van een onbekende applicatie (AppType '%1'), "
                                "deze combinatie wordt niet ondersteund!")
                     .arg(bronType));
        return false;
    } catch (const std::exception& e) {
        ShowError(QString(), e);
        TelFout();
        return false;
    }
}

bool clsSyncOpt::LeesVersie(clsConnectie& cn, bool bron, QString& appType)
{
    const QString kop = bron ? kControleBron : kControleDoel;
    const DbConnection db = cn.Connection();
    RecordsetPtr rs = db ? db->openRecordset(QStringLiteral("SELECT * FROM SysDBInfo WHERE DBTYPE='OPTIONS'"))
                         : RecordsetPtr();
    if (!rs) {
        MeldFout(kop, bron ? QStringLiteral("Bronbestand kan niet worden geopend.")
                           : QStringLiteral("Doelbestand kan niet worden geopend."));
        return false;
    }
    if (rs->eof()) {
        MeldFout(kop, bron ? QStringLiteral("Bronbestand bevat geen juiste gegevens in SYSDBINFO.")
                           : QStringLiteral("Doelbestand bevat geen juiste gegevens in SYSDBINFO."));
        return false;
    }
    const QString versie = NzString(rs->value(QStringLiteral("VerMajor"))).trimmed() + QLatin1Char('.') +
                           NzString(rs->value(QStringLiteral("VerMinor"))).trimmed();
    (bron ? m_bronVersie : m_doelVersie) = versie;
    appType = NzString(rs->value(QStringLiteral("AppType")));
    return true;
}

void clsSyncOpt::WeigerCombinatie(const QString& melding)
{
    RaiseVoortgang(QStringLiteral("Controle bestanden"), kNietOndersteund);
    RaiseVoortgang(kControleDoel, QStringLiteral("Doel: ") + m_doelVersie);
    RaiseVoortgang(kControleDoel, QStringLiteral("Bron: ") + m_bronVersie);
    TelFout();
    const QString crlf = QStringLiteral("\r\n");
    ui().messageBox(melding + crlf + crlf + QStringLiteral("Doel: ") + m_doelVersie + crlf +
                        QStringLiteral("Bron: ") + m_bronVersie,
                    MsgBox::OkOnly | MsgBox::Critical, QStringLiteral("Onderhoud bestand"));
}

QString clsSyncOpt::BronAppType(clsConnectie& cn, bool* gemeld)
{
    return cn.isSQLite() ? BronAppTypeSQLite(cn, gemeld) : BronAppTypeJET(cn, gemeld);
}

QString clsSyncOpt::BronAppTypeSQLite(clsConnectie& cn, bool* gemeld)
{
    return leesAppType(cn, gemeld);
}

QString clsSyncOpt::BronAppTypeJET(clsConnectie& cn, bool* gemeld)
{
    return leesAppType(cn, gemeld);
}

QString clsSyncOpt::leesAppType(clsConnectie& cn, bool* gemeld)
{
    const auto mislukt = [&](const QString& tekst) {
        MeldFout(kControleBron, tekst);
        if (gemeld)
            *gemeld = true;
        return QString();
    };
    try {
        const DbConnection db = cn.Connection();
        RecordsetPtr rs =
            db ? db->openRecordset(QStringLiteral("SELECT AppType FROM SysDBINFO")) : RecordsetPtr();
        if (!rs)
            return mislukt(QStringLiteral("Bronbestand kan niet worden geopend."));
        if (rs->eof())
            return mislukt(QStringLiteral("Bronbestand bevat geen juiste gegevens in SYSDBINFO."));
        return NzString(rs->value(0));
    } catch (const std::exception& e) {
        ShowError(QString(), e);
        TelFout();
        if (gemeld)
            *gemeld = true;
        return QString();
    }
}

// ---- Progress totals ----------------------------------------------------------------------------------

void clsSyncOpt::TelTotaalOudFormaat()
{
    TelTotaal({kCombi, kArtikel, kTabel, kType});
}

void clsSyncOpt::TelTotaalNieuwFormaat()
{
    TelTotaal({kCombi, kArtikel});
}

void clsSyncOpt::TelTotaalSQLite()
{
    TelTotaal({kCombi});
}

void clsSyncOpt::TelTotaal(const QStringList& tabellen)
{
    qint32 totaal = 0;
    for (const QString& tabel : tabellen) {
        const QVariant aantal = TelRecords(*m_bron, QStringLiteral("ID"), tabel, QString());
        if (!aantal.isValid()) {
            // TelRecords has shown the error; the bar gets no total.
            TelFout();
            return;
        }
        totaal += aantal.toInt();
    }
    RaiseVoortgangTotaal(totaal);
}

// ---- Table steps --------------------------------------------------------------------------------------

// The rules of the eleven steps, numbered as the steps are listed (older format 0-3, newer format 4-7,
// SQLite 8-10).
const clsSyncOpt::StapRegels& clsSyncOpt::Regels(int stap)
{
    using K = StapRegels::Keuze;
    const QString id = QStringLiteral("ID");
    const QString code = QStringLiteral("Code");
    const QStringList alleenId{id};
    const QStringList idEnCode{id, code};
    const QString combies = QStringLiteral("SELECT * FROM LocksHingesCombi");
    const QString keuzes = QStringLiteral("SELECT * FROM CustomLHCombi");
    const QString kopCombi = QStringLiteral("Overzetten Hang en Sluitwerk Combi's");
    const QString kopArtikel = QStringLiteral("Overzetten Hang en Sluitwerk Combi's -> Artikelen");
    const QString kopKeuze = QStringLiteral("Overzetten Hang en Sluitwerk Keuzes");
    const QString kopKeuzeRij = QStringLiteral("Overzetten Hang en Sluitwerk Keuzes -> Combi's");
    const QStringList grenzen{QStringLiteral("Polygon"),   QStringLiteral("Lim_min_W"),
                              QStringLiteral("Lim_min_H"), QStringLiteral("Lim_min_A"),
                              QStringLiteral("Lim_max_W"), QStringLiteral("Lim_max_H"),
                              QStringLiteral("Lim_max_A")};
    const QString keuzeRijen =
        QStringLiteral("SELECT CustomLH.*, CustomLHCombi.Code FROM CustomLHCombi INNER JOIN CustomLH ON "
                       "CustomLHCombi.ID = CustomLH.fkCustomLHCombi");
    const QList<std::pair<QString, QString>> keuzeVerwijzingen{{QStringLiteral("fkCustomLHCombi"), kKeuze},
                                                               {QStringLiteral("fkLockHingeCombi"), kCombi}};
    // New articles of the newer format go into LocksHingesArticle: the table itself serves as the target (a
    // joined query cannot be written; the step has no key, so a join would only show rows it never searches).
    static const StapRegels stappen[] = {
        {.naam = QStringLiteral("LocksHingesCombiOud"),
         .kop = kopCombi,
         .bron = combies,
         .doel = combies,
         .overslaan = alleenId,
         .sleutel = code,
         .verwijderen = QStringLiteral("DELETE * FROM LocksHingesArticle WHERE fkLocksHingesCombi="),
         .keuze = K::Combies},
        {.naam = QStringLiteral("LocksHingesArticleOud"),
         .kop = kopArtikel,
         .bron =
             QStringLiteral("SELECT LocksHingesArticle.*, LocksHingesCombi.Code FROM LocksHingesCombi INNER "
                            "JOIN LocksHingesArticle ON LocksHingesCombi.ID = "
                            "LocksHingesArticle.fkLocksHingesCombi"),
         .doel = QStringLiteral("SELECT * FROM LocksHingesArticle"),
         .overslaan = idEnCode,
         .verwijzingen = {{QStringLiteral("fkLocksHingesCombi"), kCombi}},
         .keuze = K::Combies},
        {.naam = QStringLiteral("LocksHingesTableOud"),
         .kop = QStringLiteral("Overzetten Hang en Sluitwerk Tabellen"),
         .bron = QStringLiteral("SELECT * FROM LocksHingesTable"),
         .doel = QStringLiteral("SELECT * FROM LocksHingesTable"),
         .overslaan = alleenId,
         .sleutel = code,
         .verwijderen = QStringLiteral("DELETE * FROM LocksHingesType WHERE fkLocksHingesTable="),
         .keuze = K::Tabellen},
        {.naam = QStringLiteral("LocksHingesTypeOud"),
         .kop = QStringLiteral("Overzetten Hang en Sluitwerk Tabellen -> Dimensies"),
         .bron = QStringLiteral(
             "SELECT LocksHingesType.*, LocksHingesTable.Code FROM LocksHingesTable INNER JOIN "
             "LocksHingesType ON LocksHingesTable.ID = LocksHingesType.fkLocksHingesTable"),
         .doel = QStringLiteral("SELECT * FROM LocksHingesType"),
         .overslaan = idEnCode,
         .verwijzingen = {{QStringLiteral("fkLocksHingesTable"), kTabel},
                          {QStringLiteral("fkLocksHingesCombi"), kCombi}},
         .keuze = K::Tabellen},
        {.naam = QStringLiteral("LocksHingesCombiPVC"),
         .kop = kopCombi,
         .bron = combies,
         .doel = combies,
         .overslaan = alleenId,
         .sleutel = code,
         .verwijderen = QStringLiteral("DELETE * FROM LocksHingesArticle WHERE fkCombi="),
         .bijwerken = grenzen,
         .keuze = K::Combies},
        {.naam = QStringLiteral("LocksHingesArticlePVC"),
         .kop = kopArtikel,
         .bron =
             QStringLiteral("SELECT LocksHingesArticle.*, LocksHingesCombi.Code FROM LocksHingesCombi INNER "
                            "JOIN LocksHingesArticle ON LocksHingesCombi.ID = LocksHingesArticle.fkCombi"),
         .doel = QStringLiteral("SELECT * FROM LocksHingesArticle"),
         .overslaan = idEnCode,
         .verwijzingen = {{QStringLiteral("fkCombi"), kCombi}},
         .keuze = K::Combies},
        {.naam = QStringLiteral("CustomLHCombi"),
         .kop = kopKeuze,
         .bron = keuzes,
         .doel = keuzes,
         .overslaan = alleenId,
         .sleutel = code,
         .verwijderen = QStringLiteral("DELETE * FROM CustomLH WHERE fkCustomLHCombi="),
         .keuze = K::Keuzes},
        {.naam = QStringLiteral("CustomLH"),
         .kop = kopKeuzeRij,
         .bron = keuzeRijen,
         .doel = QStringLiteral("SELECT * FROM CustomLH"),
         .overslaan = idEnCode,
         .verwijzingen = keuzeVerwijzingen,
         .keuze = K::Keuzes},
        {.naam = QStringLiteral("LocksHingesCombiSQLite"),
         .sqlite = true,
         .kop = QStringLiteral("Overzetten LocksHingesCombi"),
         .bron = combies,
         .doel = combies,
         .overslaan = alleenId,
         .sleutel = code,
         .bijwerken = grenzen,
         .json = {QStringLiteral("Data")},
         .keuze = K::Combies},
        {.naam = QStringLiteral("CustomLHCombiSQLite"),
         .sqlite = true,
         .kop = kopKeuze,
         .bron = keuzes,
         .doel = keuzes,
         .overslaan = alleenId,
         .sleutel = code,
         .verwijderen = QStringLiteral("DELETE FROM CustomLH WHERE fkCustomLHCombi="),
         .keuze = K::Keuzes},
        {.naam = QStringLiteral("CustomLHSQLite"),
         .sqlite = true,
         .kop = kopKeuzeRij,
         .bron = keuzeRijen,
         .doel = QStringLiteral("SELECT * FROM CustomLH"),
         .overslaan = idEnCode,
         .verwijzingen = keuzeVerwijzingen,
         .keuze = K::Keuzes},
    };
    return stappen[stap];
}

namespace {

const ItemCollection& gekozen(int keuze)
{
    ProgramState& g = globals();
    switch (keuze) {
    case 0:
        return g.gColHSTabellenGeselecteerd;
    case 1:
        return g.gColHSCombiesGeselecteerd;
    default:
        return g.gColHSKeuzesGeselecteerd;
    }
}

// The rules every step gives its copier alike.
void zetRegels(TabelKopieerder& k, const QStringList& overslaan, const QString& sleutel,
               const QString& verwijderen, const QStringList& bijwerken, const ItemCollection& keuze)
{
    k.SkipFieldsCollection = overslaan;
    k.strKeyField = sleutel;
    k.strKeyIsNumeriek = false;
    if (!sleutel.isEmpty())
        k.strIDField = QStringLiteral("ID");
    if (!verwijderen.isEmpty())
        k.DeleteLinkedTablesSQL << verwijderen;
    k.UpdateFieldsCollection = bijwerken;
    k.strFieldOnderdeelFilter = QStringLiteral("Code");
    k.colFilter = keuze;
    k.NieuweOnderdelenToevoegen = true;
    k.WijzigingenDoorvoeren = true;
}

} // namespace

void clsSyncOpt::JetStap(const StapRegels& r)
{
    RaiseHuidigeHoofdActie(r.kop);
    x = std::make_unique<clsImportTabelNaarTabel>();
    x->SetRunContext(m_run);
    x->SetOntvanger(&m_relayX);
    const DbConnection bron = verbinding(m_bron, true);
    const DbConnection doel = verbinding(m_doel, false);
    RecordsetPtr rsBron = bron->openRecordset(r.bron);
    RecordsetPtr rsDoel = doel->openRecordset(r.doel);
    for (const auto& [veld, tabel] : r.verwijzingen) {
        const QString sql = QStringLiteral("SELECT * FROM ") + tabel;
        x->VoegOpzoekingToe(veld, bron->openRecordset(sql), doel->openRecordset(sql));
    }
    zetRegels(*x, r.overslaan, r.sleutel, r.verwijderen, r.bijwerken, gekozen(int(r.keuze)));
    x->OverzettenRecordSet(rsBron, rsDoel, *m_bron, *m_doel);
}

void clsSyncOpt::SQLiteStap(const StapRegels& r)
{
    RaiseHuidigeHoofdActie(r.kop);
    xSQLitetoSQLite = std::make_unique<clsImportSQLiteTabelNaarSQLiteT>();
    xSQLitetoSQLite->SetRunContext(m_run);
    xSQLitetoSQLite->SetOntvanger(&m_relaySQLite);
    const DbConnection bron = verbinding(m_bron, true);
    const DbConnection doel = verbinding(m_doel, false);
    RecordsetPtr rsBron = bron->openRecordset(r.bron);
    for (const auto& [veld, tabel] : r.verwijzingen) {
        const QString sql = QStringLiteral("SELECT * FROM ") + tabel;
        xSQLitetoSQLite->VoegOpzoekingToe(veld, bron->openRecordset(sql), doel->openRecordset(sql));
    }
    zetRegels(*xSQLitetoSQLite, r.overslaan, r.sleutel, r.verwijderen, r.bijwerken, gekozen(int(r.keuze)));
    xSQLitetoSQLite->UpdateJSONFieldsCollection = r.json;
    xSQLitetoSQLite->OverzettenRecordSet(rsBron, r.doel, QStringLiteral("WHERE Code="), *m_bron, *m_doel);
}

// ---- Selection readers --------------------------------------------------------------------------------

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The value of a column that must hold one ("Invalid use of Null" otherwise).
QVariant vereist(const Recordset& rs, int index)
{
    const QVariant waarde = rs.value(index);
    if (!waarde.isValid() || waarde.isNull())
        throw AppError(94, QStringLiteral("Ongeldig gebruik van Null (veld %1).").arg(rs.column(index).name));
    return waarde;
}

// The codes of the selected items as parameters; one empty code when none is selected, which matches no
// part (as the quoted list '' does).
QVariantList geselecteerdeCodes(const ItemCollection& items)
{
    QVariantList codes;
    for (const std::shared_ptr<clsItem>& item : items) {
        if (item && item->Selected)
            codes << item->Code;
    }
    if (codes.isEmpty())
        codes << QString();
    return codes;
}

} // namespace

ItemCollection& clsSyncOpt::Items()
{
    return colItemsDistinct();
}

void clsSyncOpt::VoegItemsToe(const QString& sql, const QVariantList& params, ItemCollection& doel)
{
    const RecordsetPtr rs = verbinding(m_bron, true)->openRecordset(sql, params);
    const int id = rs->field(QStringLiteral("ID")).index();
    const int code = rs->field(QStringLiteral("Code")).index();
    const int omschrijving = rs->field(QStringLiteral("Description")).index();
    for (; !rs->eof(); rs->moveNext()) {
        bool getal = false;
        const qint32 waarde = vereist(*rs, id).toInt(&getal);
        if (!getal)
            throw AppError(13, QStringLiteral("Type komt niet overeen (veld %1).").arg(rs->column(id).name));
        auto item = std::make_shared<clsItem>();
        item->ID = waarde;
        item->Code = vereist(*rs, code).toString();
        // A part without description is listed with an empty one.
        item->Description = NzString(rs->value(omschrijving));
        doel.append(item);
    }
}

bool clsSyncOpt::InlezenBestandTabellen(const QString& strBronPath)
{
    const bool gelezen = ConnectBron(strBronPath) && LocksHingesTableDistinct();
    RaiseHuidigeHoofdActieDone();
    return gelezen;
}

bool clsSyncOpt::LocksHingesTableDistinct()
{
    // The hardware tables of an SQLite source are read with the same statement.
    try {
        VoegItemsToe(QStringLiteral(
                         "SELECT DISTINCT ID, Code, Description FROM LocksHingesTable ORDER BY Description"),
                     {}, Items());
        return true;
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("LocksHingesTableDistinct"), e);
        return false;
    }
}

bool clsSyncOpt::InlezenBestandCombies(const QString& strBronPath)
{
    const bool gelezen = ConnectBron(strBronPath) && LocksHingesCombiDistinct(strBronPath);
    RaiseHuidigeHoofdActieDone();
    return gelezen;
}

bool clsSyncOpt::LocksHingesCombiDistinct(const QString& strBronPath)
{
    return BuildDistinct(
        strBronPath,
        QStringLiteral("SELECT DISTINCT ID, Code, Description FROM LocksHingesCombi ORDER BY Description"));
}

bool clsSyncOpt::CustomLHCombiDistinct(const QString& strBronPath)
{
    return BuildDistinct(
        strBronPath,
        QStringLiteral("SELECT DISTINCT ID, Code, Description FROM CustomLHCombi ORDER BY Description"));
}

bool clsSyncOpt::BuildDistinct(const QString& strBronPath, const QString& sql)
{
    // An SQLite file and a Jet file are read alike; the routine's name in a report says which it was.
    const bool sqlite = IsSQLiteBestand(strBronPath);
    if (!ConnectBron(strBronPath))
        return false;
    try {
        VoegItemsToe(sql, {}, Items());
        return true;
    } catch (const std::exception& e) {
        ShowError((sqlite ? QStringLiteral("BuildDistinctSQLite") : QStringLiteral("BuildDistinct")) + kCrLf +
                      sql,
                  e);
        return false;
    }
}

bool clsSyncOpt::CustomLHCombiVerplichtDistinct(const ItemCollection* xCol)
{
    return BuildVerplichtDistinct(
        QStringLiteral(
            "SELECT DISTINCT LocksHingesCombi.ID, LocksHingesCombi.Code, LocksHingesCombi.Description "
            "FROM CustomLHCombi INNER JOIN (LocksHingesCombi INNER JOIN CustomLH ON LocksHingesCombi.ID "
            "= CustomLH.fkLockHingeCombi)  ON CustomLHCombi.ID = CustomLH.fkCustomLHCombi WHERE "),
        QStringLiteral("CustomLHCombi.Code"), xCol);
}

bool clsSyncOpt::LocksHingesCombiVerplichtDistinct(const ItemCollection* xCol)
{
    return BuildVerplichtDistinct(
        QStringLiteral(
            "SELECT DISTINCT LocksHingesCombi.ID, LocksHingesCombi.Code, LocksHingesCombi.Description "
            "FROM LocksHingesTable INNER JOIN (LocksHingesCombi INNER JOIN LocksHingesType ON "
            "LocksHingesCombi.ID = LocksHingesType.fkLocksHingesCombi) ON LocksHingesTable.ID = "
            "LocksHingesType.fkLocksHingesTable WHERE "),
        QStringLiteral("LocksHingesTable.Code"), xCol);
}

bool clsSyncOpt::BuildVerplichtDistinct(const QString& kop, const QString& veld, const ItemCollection* xCol)
{
    if (!xCol)
        return false;
    QString sql = kop + veld + QStringLiteral(" IN (...)");
    try {
        // Read on the source the list reader before opened; the SQLite form runs the same statement.
        const DbConnection db = verbinding(m_bron, true);
        const QVariantList codes = geselecteerdeCodes(*xCol);
        sql = kop + CodeInLijst(veld, codes.size(), *db);
        // A new collection: the one set before stays as it was.
        m_colItemsDistinct = std::make_shared<ItemCollection>();
        VoegItemsToe(sql, codes, *m_colItemsDistinct);
        return true;
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("BuildVerplichtDistinct") + kCrLf + sql, e);
        return false;
    }
}

bool clsSyncOpt::LocksHingesArtikelVerplichtDistinct(const QString& strBronPath, const ItemCollection* xCol)
{
    if (!xCol)
        return true;
    if (!ConnectBron(strBronPath))
        return false;
    Items();
    if (IsSQLiteBestand(strBronPath))
        return LocksHingesArtikelVerplichtDistinctSQLite(*xCol);
    return LocksHingesArtikelVerplichtDistinctJET(*xCol);
}

bool clsSyncOpt::BronNieuweFormaatCombies()
{
    if (IsDoelNieuweFormaatCombies)
        return IsDoelNieuweFormaatCombies();
    const RecordsetPtr rs =
        verbinding(m_bron, true)->openRecordset(QStringLiteral("SELECT * FROM SysDBInfo"));
    if (rs->eof())
        return true;
    return NieuweFormaatCombiesVoorVersie(NzString(rs->value(QStringLiteral("AppType"))),
                                          NzLong(rs->value(QStringLiteral("VerMajor"))),
                                          NzLong(rs->value(QStringLiteral("VerMinor"))));
}

bool clsSyncOpt::LocksHingesArtikelVerplichtDistinctJET(const ItemCollection& xCol)
{
    try {
        const QString koppeling = BronNieuweFormaatCombies()
                                      ? QStringLiteral("LocksHingesArticle.fkCombi ")
                                      : QStringLiteral("LocksHingesArticle.fkLocksHingesCombi ");
        const DbConnection db = verbinding(m_bron, true);
        const QVariantList codes = geselecteerdeCodes(xCol);
        const QString sql =
            QStringLiteral("SELECT DISTINCT LocksHingesArticle.fkArticle FROM LocksHingesCombi INNER "
                           "JOIN LocksHingesArticle ON LocksHingesCombi.ID = ") +
            koppeling + QStringLiteral(" WHERE ") +
            CodeInLijst(QStringLiteral("LocksHingesCombi.Code"), codes.size(), *db);
        const RecordsetPtr rs = db->openRecordset(sql, codes);
        for (; !rs->eof(); rs->moveNext()) {
            auto item = std::make_shared<clsItem>();
            item->Code = NzString(rs->value(0));
            Items().append(item);
        }
        return true;
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("LocksHingesArtikelVerplichtDistinctError"), e);
        return false;
    }
}

bool clsSyncOpt::LocksHingesArtikelVerplichtDistinctSQLite(const ItemCollection& xCol)
{
    try {
        const RecordsetPtr rs =
            verbinding(m_bron, true)
                ->openRecordset(QStringLiteral("SELECT Code, Data FROM LocksHingesCombi"));
        const int code = rs->field(QStringLiteral("Code")).index();
        const int data = rs->field(QStringLiteral("Data")).index();
        for (; !rs->eof(); rs->moveNext()) {
            m_run->yield();
            if (!OnderdeelGeselecteerd(NzString(rs->value(code)), &xCol))
                continue;
            if (!HandleJSONData(NzString(rs->value(data))))
                return false;
        }
        return true;
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("LocksHingesArtikelVerplichtDistinctSQLite"), e);
        return false;
    }
}

namespace {

// A list that a Data text holds as a list, or as a text holding one (the options form). No value, with the
// parser's complaint, when the text does not read as a list.
std::optional<JsonArray> lijstUit(const JsonValue& waarde, QString& klacht)
{
    if (waarde.isArray())
        return waarde.toArray();
    if (waarde.isEmpty() || waarde.isNull() || (waarde.isString() && waarde.toString().trimmed().isEmpty()))
        return JsonArray(); // no list: no articles
    const JsonValue lijst = ParseJson(waarde.toString());
    klacht = GetParserErrors();
    if (!klacht.isEmpty() || !lijst.isArray()) {
        if (klacht.isEmpty())
            klacht = QStringLiteral("LHArticles is geen lijst: ") + waarde.toString();
        return std::nullopt;
    }
    return lijst.toArray();
}

} // namespace

bool clsSyncOpt::HandleJSONData(const QString& data)
{
    try {
        if (data.trimmed().isEmpty())
            return true;
        const JsonValue document = ParseJson(data);
        QString klacht = GetParserErrors();
        // A text the parser complains about, at any of its levels, is shown once; the combination adds no
        // articles and the walk goes on.
        const auto meld = [&] {
            ui().messageBox(klacht, MsgBox::OkOnly | MsgBox::Information,
                            QStringLiteral("Parsing Error(s) occured"));
            return true;
        };
        if (!klacht.isEmpty())
            return meld();
        if (!document.isObject())
            return true;
        const std::optional<JsonArray> artikelen = lijstUit(document.toObject().value(u"LHArticles"), klacht);
        if (!artikelen)
            return meld();
        QStringList codes;
        for (const JsonValue& element : *artikelen) {
            JsonValue artikel = element;
            if (element.isString()) {
                artikel = ParseJson(element.toString());
                klacht = GetParserErrors();
            }
            if (!klacht.isEmpty() || !artikel.isObject()) {
                if (klacht.isEmpty())
                    klacht = QStringLiteral("Artikel is geen object: ") + ToJson(element);
                return meld();
            }
            // An entry without an article code names no article.
            const JsonValue& fkArticle = artikel.toObject().value(u"fkArticle");
            if (fkArticle.isString() && !fkArticle.toString().isEmpty())
                codes << fkArticle.toString();
            else if (fkArticle.isNumber())
                codes << ToJson(fkArticle);
        }
        for (const QString& code : std::as_const(codes))
            ToevoegenUniekItem(code);
        return true;
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("clsSyncOpt.HandleJSONData"), e);
        return false;
    }
}

// ---- Helpers of the selection readers -----------------------------------------------------------------

bool clsSyncOpt::OnderdeelGeselecteerd(const QString& code, const ItemCollection* items)
{
    try {
        if (!items)
            return false;
        if (items->isEmpty())
            return true;
        for (const std::shared_ptr<clsItem>& item : *items) {
            if (item && ZelfdeCode(item->Code, code))
                return true;
        }
        return false;
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("clsSyncOpt.OnderdeelGeselecteerd"), e);
        return false;
    }
}

void clsSyncOpt::ToevoegenUniekItem(const QString& code)
{
    if (!m_colItemsDistinct)
        m_colItemsDistinct = std::make_shared<ItemCollection>();
    for (const std::shared_ptr<clsItem>& item : std::as_const(*m_colItemsDistinct)) {
        if (item && ZelfdeCode(item->Code, code))
            return;
    }
    auto item = std::make_shared<clsItem>();
    item->Code = code;
    m_colItemsDistinct->append(item);
}

} // namespace supplink
