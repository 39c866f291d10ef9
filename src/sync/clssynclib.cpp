#include "sync/clssynclib.h"

#include "database/backendopeners.h"
#include "database/clsconnectie.h"
#include "database/databasebackend.h"
#include "database/databaseroutines.h"
#include "database/recordset.h"
#include "database/sqlitebackend.h"
#include "platform/uiservices.h"
#include "start/errors.h"
#include "start/globals.h"
#include "start/sharedroutines.h"
#include "database/codevergelijking.h"
#include "sync/verbindingsluiten.h"
#include "sync/tmpselected.h"
#include "transfer/clsimportsqlitetabelnaarsqlitet.h"
#include "transfer/clsimporttabelnaartabel.h"

#include <QSet>

namespace supplink {

// One family: its code, caption, main table, child table with its link field and child fields (none for edge
// grooves and the hardware families), and the program-wide selection it copies.
struct BibliotheekFamilie
{
    qint32 code;
    QString kop;        // the caption of the family
    QString tabel;      // the main table
    QString kind;       // the child table, empty when there is none
    QString koppeling;  // the child table's link to its main row
    QString jetVelden;  // the child fields of the Jet child statement, as written there
    QStringList velden; // the child fields of the SQLite child copy
    ItemCollection ProgramState::*selectie;
};

namespace {

using Familie = BibliotheekFamilie;

const QStringList kGebruikVelden = {QStringLiteral("fkArtAct"),        QStringLiteral("Count"),
                                    QStringLiteral("Polygon"),         QStringLiteral("OverlengthDim1"),
                                    QStringLiteral("CR_Length"),       QStringLiteral("OverlengthDim2"),
                                    QStringLiteral("UsageDescription")};

const QList<Familie>& families()
{
    static const QList<Familie> alle = {
        {1,
         QStringLiteral("Overzetten Vak Sponningen"),
         QStringLiteral("PaneGrooveTable"),
         QStringLiteral("PaneGroove"),
         QStringLiteral("fkPaneGrooveTable"),
         QStringLiteral("GrooveDepth, GlassDepth, WindowDepth, DoorDepth, RackDepth, GrooveShape, "
                        "CornerleadPentable, SideleadPentable, DeepestGroove, PaneSide"),
         {QStringLiteral("GrooveDepth"), QStringLiteral("GlassDepth"), QStringLiteral("WindowDepth"),
          QStringLiteral("DoorDepth"), QStringLiteral("RackDepth"), QStringLiteral("GrooveShape"),
          QStringLiteral("CornerleadPentable"), QStringLiteral("SideleadPentable"),
          QStringLiteral("DeepestGroove"), QStringLiteral("PaneSide")},
         &ProgramState::gColVaksponningenGeselecteerd},
        {2,
         QStringLiteral("Overzetten Rand Sponningen"),
         QStringLiteral("EdgeGroove"),
         QString(),
         QString(),
         QString(),
         {},
         &ProgramState::gColRandsponningenGeselecteerd},
        {3,
         QStringLiteral("Overzetten Element Sponningen"),
         QStringLiteral("OuterGrooveTable"),
         QStringLiteral("OuterGroove"),
         QStringLiteral("fkOuterGrooveTable"),
         QStringLiteral("WindowOverlap, DoorOverlap, GrooveShape, PaneSide"),
         {QStringLiteral("WindowOverlap"), QStringLiteral("DoorOverlap"), QStringLiteral("GrooveShape"),
          QStringLiteral("PaneSide")},
         &ProgramState::gColElementsponningenGeselecteerd},
        {4, QStringLiteral("Overzetten Laagreliëf Combi's"), QStringLiteral("TreshHoldCombi"),
         QStringLiteral("TreshHoldArticleUsage"), QStringLiteral("fkCombi"),
         QStringLiteral("fkArtAct, [Count], Polygon, OverlengthDim1, CR_Length"), kGebruikVelden,
         &ProgramState::gColLaagreliefGeselecteerd},
        {5, QStringLiteral("Overzetten Neut Combi's"), QStringLiteral("TreshHoldCombiExt"),
         QStringLiteral("TreshHoldExtArticleUsage"), QStringLiteral("fkCombi"),
         QStringLiteral("fkArtAct, [Count]"), kGebruikVelden, &ProgramState::gColNeutenGeselecteerd},
        {6,
         QStringLiteral("Overzetten Hang en Sluitwerk Combi's"),
         QStringLiteral("LocksHingesCombi"),
         QString(),
         QString(),
         QString(),
         {},
         &ProgramState::gColHSCombiesGeselecteerd},
        {7,
         QStringLiteral("Overzetten Hang en Sluitwerk Keuzes"),
         QStringLiteral("CustomLHCombi"),
         QString(),
         QString(),
         QString(),
         {},
         &ProgramState::gColHSKeuzesGeselecteerd},
    };
    return alle;
}

const Familie& familie(qint32 code)
{
    return families().at(code - 1);
}

// The family codes of the text, in order. Every entry must be a whole number before anything is copied.
QList<qint32> leesFamilieCodes(const QString& tekst)
{
    QList<qint32> codes;
    for (const QString& deel : tekst.split(QLatin1Char(';'))) {
        bool ok = false;
        const qint32 code = deel.trimmed().toInt(&ok);
        if (!ok)
            throw AppError(13, QStringLiteral("Ongeldige soort bibliotheekonderdelen: '%1'.").arg(deel));
        codes << code;
    }
    return codes;
}

// The Jet form of a family's child DELETE statement, or its SQLite form; empty for a family without children.
QString deleteKinderen(const Familie& f, bool jet)
{
    if (f.kind.isEmpty())
        return QString();
    return (jet ? QStringLiteral("DELETE * FROM ") : QStringLiteral("DELETE FROM ")) + f.kind +
           QStringLiteral(" WHERE ") + f.koppeling + QLatin1Char('=');
}

clsImportOpties importOpties()
{
    const std::shared_ptr<clsImportOpties>& opties = globals().gImportOpties;
    return opties ? *opties : clsImportOpties();
}

// The marks of an earlier run (another source file of the same transfer) must not decide what this run
// links children to.
void wisMarkeringen(const ItemCollection& items)
{
    for (const std::shared_ptr<clsItem>& item : items) {
        if (item) {
            item->RunActie_Toegevoegd = false;
            item->RunActie_Aangepast = false;
        }
    }
}

QString versieTekst(Recordset& rs)
{
    return NzString(rs.value(QStringLiteral("VerMajor"))).trimmed() + QLatin1Char('.') +
           NzString(rs.value(QStringLiteral("VerMinor"))).trimmed();
}

} // namespace

clsSyncLIB::clsSyncLIB()
    : m_relayX(m_ontvanger, m_voortgangTeller), m_relaySQLite(m_ontvanger, m_voortgangTeller)
{
}

clsSyncLIB::~clsSyncLIB()
{
    x.reset();
    xSQLitetoSQLite.reset();
    Sluiten();
}

clsImportTabelNaarTabel& clsSyncLIB::nieuweKopieerder()
{
    x = std::make_unique<clsImportTabelNaarTabel>();
    // The engine's run context: a cancel of the engine reaches the copier, also one that came in before.
    x->SetRunContext(m_run);
    x->SetOntvanger(&m_relayX);
    return *x;
}

clsImportSQLiteTabelNaarSQLiteT& clsSyncLIB::nieuweSQLiteKopieerder()
{
    xSQLitetoSQLite = std::make_unique<clsImportSQLiteTabelNaarSQLiteT>();
    xSQLitetoSQLite->SetRunContext(m_run);
    xSQLitetoSQLite->SetOntvanger(&m_relaySQLite);
    return *xSQLitetoSQLite;
}

void clsSyncLIB::Fout(const QString& routine, const std::exception& e)
{
    ShowError(routine, e);
    RaiseFoutOpgetreden(1);
}

void clsSyncLIB::Mislukt(const QString& actie, const QString& tekst)
{
    RaiseVoortgang(actie, tekst);
    RaiseFoutOpgetreden(1);
}

// ---- The run ----------------------------------------------------------------

void clsSyncLIB::Sync(const QString& bronPad, const QString& doelPad, bool versieControle,
                      const QString& families)
{
    if (families.isEmpty())
        return;
    RunScope live(*m_run);
    try {
        if (!OpenenEnControleren(bronPad, doelPad, versieControle))
            return;
        RaiseVoortgangTotaal(1);
        if (Geannuleerd())
            return;
        if (!m_bron->isSQLite() || !m_doel->isSQLite())
            SyncJET(families);
        else if (m_formaat35)
            SyncSQLite35(families);
        else
            SyncSQLite(families);
        Sluiten();
    } catch (const std::exception& e) {
        // A family code that is no number (nothing has been copied then), or a failure outside the steps.
        Fout(QStringLiteral("clsSyncLIB.Sync"), e);
    }
}

bool clsSyncLIB::ConnectBron(const QString& pad)
{
    RaiseHuidigeHoofdActie(QStringLiteral("Openen bron bibliotheek"));
    RaiseVoortgang(QStringLiteral("Bron bestand"), pad);
    SluitVerbinding(m_bron); // a reader before may have left one open
    m_bron = std::make_unique<clsConnectie>();
    return m_bron->MakenJetorSQLiteConnectie(pad, QString());
}

bool clsSyncLIB::ConnectDoel(const QString& pad)
{
    RaiseHuidigeHoofdActie(QStringLiteral("Openen doel bibliotheek"));
    RaiseVoortgang(QStringLiteral("Doel bestand"), pad);
    // A Jet file that this system cannot write is no target: refused before it is opened.
    const QString weigering = jetTargetRefusal(pad);
    if (!weigering.isEmpty()) {
        RaiseVoortgang(QStringLiteral("Controle doelbestand"), weigering);
        return false;
    }
    SluitVerbinding(m_doel);
    m_doel = std::make_unique<clsConnectie>();
    return m_doel->MakenJetorSQLiteConnectie(pad, QString());
}

bool clsSyncLIB::OpenenEnControleren(const QString& bronPad, const QString& doelPad, bool versieControle)
{
    // The connection object has shown why a file did not open; the failure is counted as well, so that the
    // driver keeps nothing of the run.
    if (!ConnectBron(bronPad)) {
        RaiseFoutOpgetreden(1);
        return false;
    }
    if (!ConnectDoel(doelPad)) {
        RaiseFoutOpgetreden(1);
        return false;
    }
    if (!versieControle)
        return true;
    return VersionCheck();
}

void clsSyncLIB::Sluiten()
{
    // Every write of the run was committed by its own step.
    SluitVerbinding(m_bron);
    SluitVerbinding(m_doel);
}

// ---- Version checks ---------------------------------------------------------

void clsSyncLIB::VersieMeldingBox(const QString& melding)
{
    const QString regel = QStringLiteral("\r\n");
    ui().messageBox(melding + regel + regel + QStringLiteral("Doel: ") + m_doelVersie + regel +
                        QStringLiteral("Bron: ") + m_bronVersie,
                    MsgBox::OkOnly | MsgBox::Critical, QStringLiteral("Bibliotheek bestand"));
}

bool clsSyncLIB::VersionCheck()
{
    try {
        const bool bronSQLite = m_bron->isSQLite();
        const bool doelSQLite = m_doel->isSQLite();
        if (bronSQLite && doelSQLite)
            return VersionCheckSQLite();
        const QString controle = QStringLiteral("Controle bestanden");
        const QString nietOndersteund =
            QStringLiteral("Combinatie bestandversies Doel/Bron niet ondersteund!");
        const QString doelControle = QStringLiteral("Controle doelbestand");
        if (bronSQLite) {
            RaiseVoortgang(controle, nietOndersteund);
            RaiseVoortgang(doelControle, QStringLiteral("Doelformaat is ouder als bronformaat."));
            RaiseFoutOpgetreden(1);
            VersieMeldingBox(QStringLiteral(
                "Doelbestand heeft een lagere versie als het bronbestand, deze combinatie wordt niet "
                "ondersteund!"));
            return false;
        }
        if (doelSQLite) {
            RaiseVoortgang(controle, nietOndersteund);
            RaiseVoortgang(doelControle, QStringLiteral("Doel: ") + m_doelVersie);
            RaiseVoortgang(doelControle, QStringLiteral("Bron: ") + m_bronVersie);
            RaiseFoutOpgetreden(1);
            VersieMeldingBox(
                QStringLiteral("Bronbestand is van een te lage versie, converteer het bronbestand "
                               "eerst naar versie 3.4 of hoger!"));
            return false;
        }

        const QString sql = QStringLiteral("SELECT * FROM SysDBInfo WHERE DBTYPE='LIBRARY'");
        const auto lees = [&](clsConnectie& cn, bool bron) -> RecordsetPtr {
            const QString actie = bron ? QStringLiteral("Controle bronbestand") : doelControle;
            RecordsetPtr rs;
            try {
                rs = cn.Connection()->openRecordset(sql);
            } catch (const std::exception&) {
                // The reason is the line below: the file holds no readable version record.
            }
            if (!rs) {
                Mislukt(actie, bron ? QStringLiteral("Bronbestand kan niet worden geopend.")
                                    : QStringLiteral("Doelbestand kan niet worden geopend."));
                return nullptr;
            }
            if (rs->eof()) {
                Mislukt(actie, bron ? QStringLiteral("Bronbestand bevat geen juiste gegevens in SYSDBINFO.")
                                    : QStringLiteral("Doelbestand bevat geen juiste gegevens in SYSDBINFO."));
                return nullptr;
            }
            return rs;
        };
        const RecordsetPtr bron = lees(*m_bron, true);
        if (!bron)
            return false;
        m_bronVersie = versieTekst(*bron);
        const RecordsetPtr doel = lees(*m_doel, false);
        if (!doel)
            return false;
        const QString bronApp = NzString(bron->value(QStringLiteral("AppType")));
        const QString doelApp = NzString(doel->value(QStringLiteral("AppType")));
        if (bronApp != doelApp) {
            RaiseVoortgang(doelControle,
                           QStringLiteral("Bibliotheek bron/doel voor verschillende applicaties!"));
            RaiseVoortgang(doelControle, QStringLiteral("Doel: ") + doelApp);
            RaiseVoortgang(doelControle, QStringLiteral("Bron: ") + bronApp);
            RaiseFoutOpgetreden(1);
            return false;
        }
        // Libraries of one application are copied whatever their versions.
        m_doelVersie = versieTekst(*doel);
        return true;
    } catch (const std::exception& e) {
        Fout(QStringLiteral("clsSyncLIB.VersionCheck"), e);
        return false;
    }
}

bool clsSyncLIB::VersionCheckSQLite()
{
    const QString actie = QStringLiteral("Controle bron/doelbestand");
    try {
        if (!m_bron || !m_doel || !m_bron->Connection() || !m_doel->Connection()) {
            Mislukt(actie, QStringLiteral("Bibliotheek bron- of doelbestand niet te openen!"));
            return false;
        }
        const QString sql = QStringLiteral("SELECT * FROM SysDBInfo");
        const RecordsetPtr bron = m_bron->Connection()->openRecordset(sql);
        const RecordsetPtr doel = m_doel->Connection()->openRecordset(sql);
        if (bron->eof() || doel->eof())
            throw AppError(DbErrorNumber::NoCurrentRecord,
                           QStringLiteral("Het bron- of doelbestand heeft geen versiegegevens (SysDBInfo)."));
        const QString bronApp = NzString(bron->value(QStringLiteral("AppType")));
        const QString doelApp = NzString(doel->value(QStringLiteral("AppType")));
        if (bronApp != doelApp) {
            RaiseVoortgang(actie, QStringLiteral("Bibliotheek bron/doel voor verschillende applicaties!"));
            RaiseVoortgang(actie, QStringLiteral("Bron: ") + bronApp);
            RaiseVoortgang(actie, QStringLiteral("Doel: ") + doelApp);
            RaiseFoutOpgetreden(1);
            return false;
        }
        const qint32 bronMajor = NzLong(bron->value(QStringLiteral("VerMajor")));
        const qint32 bronMinor = NzLong(bron->value(QStringLiteral("VerMinor")));
        const qint32 doelMajor = NzLong(doel->value(QStringLiteral("VerMajor")));
        const qint32 doelMinor = NzLong(doel->value(QStringLiteral("VerMinor")));
        if (bronMajor != doelMajor || bronMinor != doelMinor) {
            const auto versie = [](const QString& app, Recordset& rs) {
                return app + QLatin1Char(' ') + NzString(rs.value(QStringLiteral("VerMajor"))) +
                       QLatin1Char('.') + NzString(rs.value(QStringLiteral("VerMinor")));
            };
            RaiseVoortgang(actie,
                           QStringLiteral("Bibliotheek bron/doel aangeboden versies zijn niet compatibel!"));
            RaiseVoortgang(actie, QStringLiteral("Bron: ") + versie(bronApp, *bron));
            RaiseVoortgang(actie, QStringLiteral("Doel: ") + versie(doelApp, *doel));
            RaiseFoutOpgetreden(1);
            return false;
        }
        m_formaat35 = bronMajor == 3 && bronMinor == 50;
        return true;
    } catch (const std::exception& e) {
        Fout(QStringLiteral("clsSyncLIB.VersionCheckSQLite"), e);
        return false;
    }
}

// ---- The three paths --------------------------------------------------------

void clsSyncLIB::SyncJET(const QString& families)
{
    const QList<qint32> codes = leesFamilieCodes(families);
    if (!m_bron || !m_doel)
        throw AppError(DbErrorNumber::ObjectClosed, QStringLiteral("De bibliotheken zijn niet geopend."));
    for (qint32 code : codes) {
        if (code < 1 || code > 5)
            continue;
        const Familie& f = familie(code);
        RaiseHuidigeHoofdActie(f.kop);
        ItemCollection selectie;
        try {
            selectie = Selectie(f, true);
        } catch (const std::exception& e) {
            Fout(QStringLiteral("clsSyncLIB.SyncJET"), e);
            continue;
        }
        SyncSponningFiguren(selectie, f.tabel, deleteKinderen(f, true));
        // Children go only into a freshly written tmpSelected: codes left from another family must never
        // decide which rows get children.
        if (!f.kind.isEmpty() && SchrijfTmpSelected(selectie))
            SyncLinkedTabel(f.tabel, f.kind, f.jetVelden, f.tabel, f.kind, f.jetVelden, QStringLiteral("ID"),
                            f.koppeling);
        if (Geannuleerd())
            return;
    }
}

void clsSyncLIB::SyncSQLite(const QString& families)
{
    const QList<qint32> codes = leesFamilieCodes(families);
    for (qint32 code : codes) {
        if (code < 1 || code > 5)
            continue;
        const Familie& f = familie(code);
        RaiseHuidigeHoofdActie(f.kop);
        SyncSponningFigurenSQLite(Selectie(f, false), f.tabel, deleteKinderen(f, false));
        switch (code) {
        case 1:
            SyncLinkedTabelSQLitePaneGrooveTable();
            break;
        case 3:
            SyncLinkedTabelSQLiteOuterGrooveTable();
            break;
        case 4:
            SyncLinkedTabelSQLiteTreshHoldArticleUsage();
            break;
        case 5:
            SyncLinkedTabelSQLiteTreshHoldExtArticleUsage();
            break;
        default:
            break;
        }
        if (Geannuleerd())
            return;
    }
}

void clsSyncLIB::SyncSQLite35(const QString& families)
{
    const QList<qint32> codes = leesFamilieCodes(families);
    const clsImportOpties opties = importOpties();
    for (qint32 code : codes) {
        if (code < 1 || code > 7)
            continue;
        const Familie& f = familie(code);
        RaiseHuidigeHoofdActie(f.kop);
        if (code <= 5) {
            // The 3.50 layout keeps no child tables for these families.
            SyncSponningFigurenSQLite(Selectie(f, false), f.tabel, QString());
        } else {
            const QVariant aantal = TelRecords(*m_bron, QStringLiteral("ID"), f.tabel, QString());
            if (!aantal.isValid())
                RaiseFoutOpgetreden(1); // TelRecords has shown the error
            RaiseVoortgangTotaal(aantal.toInt());
            const bool importeren = code == 6 ? opties.ImporterenLIBHSCombies : opties.ImporterenLIBHSKeuzes;
            if (importeren) {
                if (code == 6)
                    LocksHingesCombiSQLite();
                else
                    CustomLHCombiSQLite();
                RaiseHuidigeHoofdActieDone();
            }
            m_run->yieldNow();
        }
        if (Geannuleerd())
            return;
    }
}

// ---- Selection and tmpSelected ----------------------------------------------

ItemCollection clsSyncLIB::Selectie(const Familie& f, bool legeSelectieIsAlles)
{
    ItemCollection selectie = globals().*(f.selectie);
    wisMarkeringen(selectie);
    if (!selectie.isEmpty() || !legeSelectieIsAlles)
        return selectie;
    // No selection means every main row of the source. The copier marks only items it was given, and only
    // marked codes get their children: so the run lists the source's codes itself, and every row it adds
    // keeps its children.
    const RecordsetPtr rs =
        m_bron->Connection()->openRecordset(QStringLiteral("SELECT Code FROM ") + f.tabel);
    QSet<QString> gezien;
    for (; !rs->eof(); rs->moveNext()) {
        const QVariant waarde = rs->value(0);
        const QString code = NzString(waarde);
        if (waarde.isNull() || !waarde.isValid() || gezien.contains(code))
            continue;
        gezien.insert(code);
        auto item = std::make_shared<clsItem>();
        item->Code = code;
        item->Selected = true;
        selectie << item;
    }
    return selectie;
}

bool clsSyncLIB::SchrijfTmpSelected(const ItemCollection& selectie)
{
    try {
        VulTmpSelected(*m_bron, selectie);
    } catch (const std::exception& e) {
        // Counted and logged without an error window; the family's children are not copied.
        const AppError fout = AppError::from(e);
        RaiseVoortgang(QStringLiteral("Error (clsSyncLIB.VulTmpSelected): %1-%2")
                           .arg(QString::number(fout.number()), fout.description()),
                       QString());
        RaiseFoutOpgetreden(1);
        return false;
    }
    for (const std::shared_ptr<clsItem>& item : selectie) {
        if (item && (item->RunActie_Toegevoegd || item->RunActie_Aangepast))
            RaiseVoortgang(item->Code, QStringLiteral("geselecteerd"));
    }
    m_run->yieldNow();
    return true;
}

// ---- Copy steps -------------------------------------------------------------

namespace {

// The settings of a main-table copy, Jet and SQLite alike: selected rows by Code, new rows added without
// their ID and category, existing rows left as they are.
void hoofdTabelInstellen(TabelKopieerder& k, const ItemCollection& selectie, const QString& deleteSql)
{
    k.SkipFieldsCollection << QStringLiteral("ID") << QStringLiteral("fkCategory");
    k.strKeyField = QStringLiteral("Code");
    k.strKeyIsNumeriek = false;
    if (!deleteSql.isEmpty()) {
        k.strIDField = QStringLiteral("ID");
        k.DeleteLinkedTablesSQL << deleteSql;
    }
    k.strFieldOnderdeelFilter = QStringLiteral("Code");
    k.colFilter = selectie;
    k.NieuweOnderdelenToevoegen = true;
    k.WijzigingenDoorvoeren = false;
}

} // namespace

void clsSyncLIB::SyncSponningFiguren(const ItemCollection& selectie, const QString& tabel,
                                     const QString& deleteSql)
{
    try {
        RaiseHuidigeHoofdActie(QStringLiteral("Overzetten") + tabel);
        const QString sql = QStringLiteral("SELECT * FROM ") + tabel;
        const RecordsetPtr rsBron = m_bron->Connection()->openRecordset(sql);
        const RecordsetPtr rsDoel = m_doel->Connection()->openRecordset(sql);
        clsImportTabelNaarTabel& k = nieuweKopieerder();
        hoofdTabelInstellen(k, selectie, deleteSql);
        k.OverzettenRecordSet(rsBron, rsDoel, *m_bron, *m_doel);
    } catch (const std::exception& e) {
        Fout(QStringLiteral("clsSyncLIB.SyncSponningFiguren"), e);
    }
}

void clsSyncLIB::SyncSponningFigurenSQLite(const ItemCollection& selectie, const QString& tabel,
                                           const QString& deleteSql)
{
    try {
        RaiseHuidigeHoofdActie(QStringLiteral("Overzetten") + tabel);
        const QString sql = QStringLiteral("SELECT * FROM ") + tabel;
        const RecordsetPtr rsBron = m_bron->Connection()->openRecordset(sql);
        clsImportSQLiteTabelNaarSQLiteT& k = nieuweSQLiteKopieerder();
        hoofdTabelInstellen(k, selectie, deleteSql);
        k.OverzettenRecordSet(rsBron, sql, QStringLiteral("WHERE Code="), *m_bron, *m_doel);
    } catch (const std::exception& e) {
        Fout(QStringLiteral("clsSyncLIB.SyncSponningFigurenSQLite"), e);
    }
}

void clsSyncLIB::SyncLinkedTabel(const QString& bronTabel, const QString& bronKind, const QString& bronVelden,
                                 const QString& doelTabel, const QString& doelKind, const QString& doelVelden,
                                 const QString& ouderSleutel, const QString& koppeling)
{
    try {
        RaiseHuidigeHoofdActie(QStringLiteral("Overzetten") + bronKind);
        const DbConnection doel = m_doel->Connection();
        if (!doel || !m_bron->Connection())
            throw AppError(DbErrorNumber::ObjectClosed,
                           QStringLiteral("Er is geen verbinding met de database."));
        const QString s = m_bron->Connection()->path();
        const QString sql =
            QStringLiteral("INSERT INTO ") + doelKind + QStringLiteral(" ( ") + koppeling +
            QStringLiteral(", ") + doelVelden + QStringLiteral(" )") +
            QStringLiteral(" SELECT GrooveShape_Target.") + ouderSleutel + QStringLiteral(", ") + bronVelden +
            QStringLiteral(" ") + QStringLiteral(" FROM ") + doelTabel +
            QStringLiteral(" AS GrooveShape_Target INNER JOIN (([") + s + QStringLiteral("].") + bronTabel +
            QStringLiteral(" INNER JOIN [") + s + QStringLiteral("].") + bronKind + QStringLiteral(" ON ") +
            bronTabel + QLatin1Char('.') + ouderSleutel + QStringLiteral(" = ") + bronKind +
            QLatin1Char('.') + koppeling + QStringLiteral(") INNER JOIN [") + s +
            QStringLiteral("].tmpSelected ON ") +
            CodesGelijkOp(*doel, bronTabel + QStringLiteral(".Code"),
                          QStringLiteral("tmpSelected.CodeSelected")) +
            QStringLiteral(") ON ") +
            CodesGelijkOp(*doel, QStringLiteral("GrooveShape_Target.Code"),
                          bronTabel + QStringLiteral(".Code"));
        // On SQLite (a file, or the Jet form run through the translator) the source is attached for the
        // statement; a Jet database reached through its driver reads the source by its path itself. One
        // statement: all of the family's children, or none.
        if (auto* sqlite = dynamic_cast<SqliteBackend*>(doel.get()))
            sqlite->executeJet(sql);
        else
            doel->execute(sql);
    } catch (const std::exception& e) {
        Fout(QStringLiteral("SyncLinkedTabel:") + bronKind, e);
    }
}

void clsSyncLIB::SyncLinkedTabelSQLitePaneGrooveTable()
{
    SyncLinkedTabelSQLite(familie(1), QStringLiteral("SyncLinkedTabelSQLitePaneGrooveTable"));
}

void clsSyncLIB::SyncLinkedTabelSQLiteOuterGrooveTable()
{
    SyncLinkedTabelSQLite(familie(3), QStringLiteral("SyncLinkedTabelSQLiteOuterGrooveTable"));
}

void clsSyncLIB::SyncLinkedTabelSQLiteTreshHoldArticleUsage()
{
    SyncLinkedTabelSQLite(familie(4), QStringLiteral("SyncLinkedTabelSQLiteTreshHoldArticleUsageError"));
}

void clsSyncLIB::SyncLinkedTabelSQLiteTreshHoldExtArticleUsage()
{
    SyncLinkedTabelSQLite(familie(5), QStringLiteral("SyncLinkedTabelSQLiteTreshHoldExtArticleUsageError"));
}

void clsSyncLIB::SyncLinkedTabelSQLite(const Familie& f, const QString& routine)
{
    try {
        const QString& p = f.tabel;
        const QString& c = f.kind;
        QStringList kolommen;
        for (const QString& veld : f.velden)
            kolommen << c + QLatin1Char('.') + veld;
        const QString join = QStringLiteral(" FROM ") + p + QStringLiteral(" INNER JOIN ") + c +
                             QStringLiteral(" ON ") + p + QStringLiteral(".ID = ") + c + QLatin1Char('.') +
                             f.koppeling;
        const QString bron = QStringLiteral("SELECT ") + p + QStringLiteral(".Code AS TheCode, ") +
                             kolommen.join(QStringLiteral(", ")) + join;
        // Of the target's children the copier needs only the parent codes that have any (once each), and of
        // the child table only its columns to add rows: the rows it holds are not read.
        const QString doelKinderen =
            QStringLiteral("SELECT DISTINCT UPPER(") + p + QStringLiteral(".Code) AS TheCode") + join;
        const QString doelTabel = QStringLiteral("SELECT * FROM ") + c + QStringLiteral(" WHERE 1=0");
        const QString doelOuders = QStringLiteral("SELECT UPPER(") + p +
                                   QStringLiteral(".Code) AS TheCode, ") + p +
                                   QStringLiteral(".ID AS TheID FROM ") + p;
        clsImportSQLiteTabelNaarSQLiteT& k = nieuweSQLiteKopieerder();
        // The copier counts and shows its own failures.
        k.SyncLinkedTable(*m_bron, *m_doel, bron, doelTabel, doelKinderen, doelOuders,
                          globals().*(f.selectie), QStringLiteral("TheID"), f.koppeling, f.velden, f.velden);
    } catch (const std::exception& e) {
        Fout(routine, e);
    }
}

void clsSyncLIB::LocksHingesCombiSQLite()
{
    HangSluitwerkSQLite(familie(6), true);
}

void clsSyncLIB::CustomLHCombiSQLite()
{
    HangSluitwerkSQLite(familie(7), false);
}

void clsSyncLIB::HangSluitwerkSQLite(const Familie& f, bool combinaties)
{
    try {
        RaiseHuidigeHoofdActie(QStringLiteral("Overzetten ") + f.tabel);
        const QString sql = QStringLiteral("SELECT * FROM ") + f.tabel;
        const RecordsetPtr rsBron = m_bron->Connection()->openRecordset(sql);
        const ItemCollection selectie = globals().*(f.selectie);
        wisMarkeringen(selectie);
        clsImportSQLiteTabelNaarSQLiteT& k = nieuweSQLiteKopieerder();
        k.strFieldOnderdeelFilter = QStringLiteral("Code");
        k.colFilter = selectie;
        k.strKeyField = QStringLiteral("Code");
        k.strKeyIsNumeriek = false;
        k.strIDField = QStringLiteral("ID");
        k.SkipFieldsCollection << QStringLiteral("ID");
        // An existing combination gets its Data merged with the supplier's; an existing choice stays as it
        // is.
        if (combinaties)
            k.UpdateJSONFieldsCollection << QStringLiteral("Data");
        k.NieuweOnderdelenToevoegen = true;
        k.WijzigingenDoorvoeren = true;
        k.OverzettenRecordSet(rsBron, sql, QStringLiteral("WHERE Code="), *m_bron, *m_doel);
    } catch (const std::exception& e) {
        Fout(combinaties ? QStringLiteral("clsSyncLIB.LocksHingesCombiSQLite")
                         : QStringLiteral("clsSyncLIB.CustomLHCombiSQLite"),
             e);
    }
}

// ---- Selection readers -------------------------------------------------------

bool clsSyncLIB::CustomLHCombiDistinct(const QString& strBronPath)
{
    return BuildDistinctSQLite(
        strBronPath, QStringLiteral("SELECT DISTINCT ID, Code, Description FROM CustomLHCombi ORDER BY "
                                    "Description"));
}

bool clsSyncLIB::LocksHingesCombiDistinct(const QString& strBronPath)
{
    return BuildDistinctSQLite(
        strBronPath, QStringLiteral("SELECT DISTINCT ID, Code, Description FROM LocksHingesCombi ORDER BY "
                                    "Description"));
}

bool clsSyncLIB::BuildDistinctSQLite(const QString& pad, const QString& sql)
{
    if (!ConnectBron(pad))
        return false;
    try {
        // The statement runs on the source as it opened (a Jet library has no such tables: an error, not an
        // empty list).
        const RecordsetPtr rs = m_bron->Connection()->openRecordset(sql);
        QSet<QString> aanwezig;
        for (const std::shared_ptr<clsItem>& item : std::as_const(colItemsDistinct())) {
            if (item)
                aanwezig.insert(CodeSleutel(item->Code));
        }
        const int id = rs->fieldIndex(QStringLiteral("ID"));
        const int code = rs->fieldIndex(QStringLiteral("Code"));
        const int omschrijving = rs->fieldIndex(QStringLiteral("Description"));
        for (; !rs->eof(); rs->moveNext()) {
            const QVariant codeWaarde = rs->value(code);
            if (!codeWaarde.isValid() || codeWaarde.isNull())
                throw AppError(94, QStringLiteral("Ongeldig gebruik van Null: een rij zonder code."));
            // A choice or combination without a description is listed with an empty one.
            ToevoegenUniekItem(aanwezig, NzLong(rs->value(id)), codeWaarde.toString(),
                               NzString(rs->value(omschrijving)));
        }
        return true;
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("BuildDistinctSQLite (Bibliotheek)\r\n") + sql, e);
        return false;
    }
}

void clsSyncLIB::ToevoegenUniekItem(QSet<QString>& aanwezig, qint32 id, const QString& code,
                                    const QString& omschrijving)
{
    // One item per code; codes that differ only in case are one code.
    const QString sleutel = CodeSleutel(code);
    if (aanwezig.contains(sleutel))
        return;
    aanwezig.insert(sleutel);
    auto item = std::make_shared<clsItem>();
    item->ID = id;
    item->Code = code;
    item->Description = omschrijving;
    colItemsDistinct().append(item);
}

// ---- Required-items readers -------------------------------------------------

bool clsSyncLIB::LeesCodes(const QString& routine, const QString& sql)
{
    try {
        if (!m_bron || !m_bron->Connection())
            throw AppError(DbErrorNumber::ObjectClosed, QStringLiteral("Het bronbestand is niet geopend."));
        const RecordsetPtr rs = m_bron->Connection()->openRecordset(sql);
        const int code = rs->fieldIndex(QStringLiteral("Code"));
        for (; !rs->eof(); rs->moveNext()) {
            const QVariant waarde = rs->value(code);
            // A part without a groove shape or an article of its own requires none.
            if (!waarde.isValid() || waarde.isNull())
                continue;
            auto item = std::make_shared<clsItem>();
            item->Code = waarde.toString();
            colItemsDistinct().append(item);
        }
        return true;
    } catch (const std::exception& e) {
        ShowError(routine, e);
        return false;
    }
}

bool clsSyncLIB::SponningFigurenVerplichtDistinct(const QString& strBronPath,
                                                  const std::optional<ItemCollection>& xCol, qint32 soort)
{
    if (!xCol)
        return false;
    if (!ConnectBron(strBronPath))
        return false;
    const QString routine = m_bron->isSQLite() ? QStringLiteral("SponningFigurenVerplichtDistinctSQLite")
                                               : QStringLiteral("SponningFigurenVerplichtDistinct");
    const DatabaseBackend& db = *m_bron->Connection();
    const QString lijst = MaakInLijst(*xCol);
    const auto in = [&](const QString& kolom) { return CodeInLijstOp(db, kolom, lijst); };
    QString sql;
    switch (soort) {
    case 1:
        sql = QStringLiteral("SELECT DISTINCT PaneGroove.GrooveShape AS Code ") +
              QStringLiteral(" FROM PaneGrooveTable INNER JOIN PaneGroove ON PaneGrooveTable.ID = "
                             "PaneGroove.fkPaneGrooveTable ") +
              QStringLiteral(" WHERE (((PaneGroove.GrooveShape) Is Not Null) AND ") + QStringLiteral(" ((") +
              in(QStringLiteral("(PaneGrooveTable.Code)")) + QStringLiteral(")))");
        break;
    case 2:
        sql = QStringLiteral("SELECT DISTINCT EdgeGroove.GrooveShape AS Code ") +
              QStringLiteral(" From EdgeGroove ") +
              QStringLiteral(" WHERE (((EdgeGroove.GrooveShape) Is Not Null) AND ") + QStringLiteral(" ((") +
              in(QStringLiteral("(EdgeGroove.Code)")) + QStringLiteral(")))");
        break;
    case 3:
        sql = QStringLiteral("SELECT DISTINCT OuterGroove.GrooveShape AS Code ") +
              QStringLiteral(" FROM OuterGrooveTable INNER JOIN OuterGroove ON OuterGrooveTable.ID = "
                             "OuterGroove.fkOuterGrooveTable ") +
              QStringLiteral(" WHERE (((OuterGroove.GrooveShape) Is Not Null) AND ") + QStringLiteral(" ((") +
              in(QStringLiteral("(OuterGrooveTable.Code)")) + QStringLiteral(")))");
        break;
    case 4:
        sql = QStringLiteral("SELECT DISTINCT TreshHoldCombi.PaneGrooveShape AS Code ") +
              QStringLiteral(" From TreshHoldCombi ") + QStringLiteral(" WHERE (((") +
              in(QStringLiteral("(TreshHoldCombi.Code)")) + QStringLiteral("))) ") +
              QStringLiteral(" Union ") +
              QStringLiteral(" SELECT DISTINCT TreshHoldCombi.EdgeGrooveShape AS Code ") +
              QStringLiteral(" From TreshHoldCombi ") + QStringLiteral(" WHERE (((") +
              in(QStringLiteral("(TreshHoldCombi.Code)")) + QStringLiteral(")))");
        break;
    default:
        ShowError(routine, ErrorNumber::General,
                  QStringLiteral("Onbekende soort onderdelen voor sponningfiguren: %1.").arg(soort));
        return false;
    }
    return LeesCodes(routine, sql);
}

bool clsSyncLIB::ArtikelenVerplicht(const QString& routine, bool neuten,
                                    const std::optional<ItemCollection>& xCol)
{
    if (!xCol)
        return false;
    if (!m_bron || !m_bron->Connection()) {
        ShowError(routine, DbErrorNumber::ObjectClosed, QStringLiteral("Het bronbestand is niet geopend."));
        return false;
    }
    const QString tabel = neuten ? QStringLiteral("TreshHoldCombiExt") : QStringLiteral("TreshHoldCombi");
    const QString gebruik =
        neuten ? QStringLiteral("TreshHoldExtArticleUsage") : QStringLiteral("TreshHoldArticleUsage");
    const QString in = CodeInLijstOp(
        *m_bron->Connection(), QStringLiteral("(") + tabel + QStringLiteral(".Code)"), MaakInLijst(*xCol));
    const QString sql =
        QStringLiteral("SELECT DISTINCT ") + tabel + QStringLiteral(".ArtCode AS Code ") +
        QStringLiteral(" From ") + tabel + QStringLiteral(" WHERE (((") + in + QStringLiteral("))) ") +
        QStringLiteral(" UNION ") + QStringLiteral(" SELECT DISTINCT ") + gebruik +
        QStringLiteral(".fkArtAct AS Code ") + QStringLiteral(" FROM ") + tabel +
        QStringLiteral(" INNER JOIN ") + gebruik + QStringLiteral(" ON ") + tabel + QStringLiteral(".ID = ") +
        gebruik + QStringLiteral(".fkCombi ") + QStringLiteral(" WHERE (((") + in + QStringLiteral(")))");
    return LeesCodes(routine, sql);
}

bool clsSyncLIB::LaagreliefArtikelenVerplichtDistinct(const QString& strBronPath,
                                                      const std::optional<ItemCollection>& xCol)
{
    if (!xCol)
        return false;
    // The source is read as it is: there is no target here to check its version against.
    if (!ConnectBron(strBronPath))
        return false;
    return m_bron->isSQLite() ? LaagreliefArtikelenVerplichtDistinctSQLite(*xCol)
                              : LaagreliefArtikelenVerplichtDistinctJET(*xCol);
}

bool clsSyncLIB::LaagreliefArtikelenVerplichtDistinctJET(const ItemCollection& xCol)
{
    return ArtikelenVerplicht(QStringLiteral("LaagreliefArtikelenVerplichtDistinctJET"), false, xCol);
}

bool clsSyncLIB::LaagreliefArtikelenVerplichtDistinctSQLite(const ItemCollection& xCol)
{
    return ArtikelenVerplicht(QStringLiteral("LaagreliefArtikelenVerplichtDistinctSQLite"), false, xCol);
}

bool clsSyncLIB::NeutArtikelenVerplichtDistinct(const QString& strBronPath,
                                                const std::optional<ItemCollection>& xCol)
{
    if (!xCol)
        return false;
    // The source is read as it is: there is no target here to check its version against.
    if (!ConnectBron(strBronPath))
        return false;
    return m_bron->isSQLite() ? NeutArtikelenVerplichtDistinctSQLite(xCol)
                              : NeutArtikelenVerplichtDistinctJET(xCol);
}

bool clsSyncLIB::NeutArtikelenVerplichtDistinctJET(const std::optional<ItemCollection>& xCol)
{
    return ArtikelenVerplicht(QStringLiteral("NeutArtikelenVerplichtDistinctJET"), true, xCol);
}

bool clsSyncLIB::NeutArtikelenVerplichtDistinctSQLite(const std::optional<ItemCollection>& xCol)
{
    return ArtikelenVerplicht(QStringLiteral("NeutArtikelenVerplichtDistinctSQLite"), true, xCol);
}

bool clsSyncLIB::LocksHingesCombiVerplichtDistinct(const std::optional<ItemCollection>& xCol)
{
    if (!xCol)
        return false;
    m_colItemsDistinct = std::make_shared<ItemCollection>();
    return true;
}

} // namespace supplink
