#include "sync/clssyncpt.h"

#include "database/clsconnectie.h"
#include "database/databaseroutines.h"
#include "database/recordset.h"
#include "database/sqlitebackend.h"
#include "platform/codecompare.h"
#include "platform/jetsql.h"
#include "start/errors.h"
#include "start/globals.h"
#include "start/sharedroutines.h"
#include "sync/tmpselected.h"
#include "sync/verbindingsluiten.h"
#include "transfer/clsimporttabelnaartabel.h"

#include <QScopeGuard>

namespace supplink {

namespace {

const QString kVersieJet = QStringLiteral("SELECT TOP 1 * From SysDBInfo Where (((SysDBInfo.AppType) = "
                                          "'Velmora')) ORDER BY SysDBInfo.VerMajor DESC , "
                                          "SysDBInfo.VerMinor DESC");
const QString kVersieServer = QStringLiteral(
    "SELECT TOP 1 * From [PT].[SysDBInfo] Where ((([PT].[SysDBInfo].[AppType]) = 'Velmora')) ORDER BY "
    "[PT].[SysDBInfo].[VerMajor] DESC , [PT].[SysDBInfo].[VerMinor] DESC");
// SQLite compares text with regard to case; the product's own files spell the type in capitals.
const QString kVersieSqlite = QStringLiteral(
    "SELECT * FROM SysDBInfo WHERE UPPER(AppType) = 'VELMORA' ORDER BY VerMajor DESC, VerMinor DESC LIMIT 1");

clsImportOpties importOpties()
{
    const std::shared_ptr<clsImportOpties>& opties = globals().gImportOpties;
    return opties ? *opties : clsImportOpties();
}

QString inLijst(const QList<qint32>& types)
{
    QStringList delen;
    for (qint32 t : types)
        delen << QString::number(t);
    return delen.join(QLatin1Char(','));
}

// The article types of a ";"-separated text. Every entry must be a number: the list goes into statements, so
// it carries numbers only.
QList<qint32> artikelTypes(const QString& types)
{
    QList<qint32> lijst;
    for (const QString& deel : types.split(QLatin1Char(';'))) {
        bool ok = false;
        const qint32 type = deel.trimmed().toInt(&ok);
        if (!ok)
            throw AppError(13, QStringLiteral("Ongeldig artikeltype: '%1'.").arg(deel));
        lijst << type;
    }
    return lijst;
}

// A column a reader needs: a database null is an error, as it is when a list item is filled from it.
const QVariant& vereist(const QVariant& waarde, const Recordset& rs, int kolom)
{
    if (!waarde.isValid() || waarde.isNull())
        throw AppError(94,
                       QStringLiteral("Ongeldig gebruik van Null (veld '%1').").arg(rs.column(kolom).name));
    return waarde;
}

} // namespace

clsSyncPT::clsSyncPT() : m_relay(m_ontvanger, m_voortgangTeller)
{
    m_relay.BijFout = [this] { ++m_fouten; };
}

clsSyncPT::~clsSyncPT()
{
    x.reset();
    m_transactie.reset(); // a run left unfinished is rolled back, never committed
    SluitVerbinding(m_bron);
    SluitVerbinding(m_doel);
}

clsImportTabelNaarTabel& clsSyncPT::nieuweKopieerder()
{
    x = std::make_unique<clsImportTabelNaarTabel>();
    // The engine's run context: a cancel, also one that came in before this step, reaches the copier.
    x->SetRunContext(m_run);
    x->SetOntvanger(&m_relay);
    return *x;
}

void clsSyncPT::TelFout()
{
    ++m_fouten;
    RaiseFoutOpgetreden(1);
}

void clsSyncPT::Fout(const QString& routine, const std::exception& e)
{
    ShowError(routine, e);
    TelFout();
}

bool clsSyncPT::doelIsServer() const
{
    return m_doel && m_doel->IsSQLServer;
}

QString clsSyncPT::doelSql(const QString& sqlServer, const QString& jet) const
{
    if (doelIsServer())
        return sqlServer;
    return m_doel && m_doel->isSQLite() && !m_doel->IsJet() ? translateJetSql(jet) : jet;
}

QString clsSyncPT::bronSql(const QString& jet) const
{
    return m_bron && m_bron->isSQLite() && !m_bron->IsJet() ? translateJetSql(jet) : jet;
}

void clsSyncPT::Sync(const QString& bronPad, const QString& doelPad, const ItemCollection& genegeerd,
                     bool versieControle, const QString& types)
{
    Q_UNUSED(genegeerd);
    m_fouten = 0;
    if (types.isEmpty())
        return;
    RunScope live(*m_run);
    // The target's article recordset lives no longer than the run that opened it.
    const auto loslaten = qScopeGuard([this] { m_doelArtikelen.reset(); });
    try {
        // A database that does not open is an error of the run (it has been shown already): a transfer
        // must never go on as if this run had succeeded.
        if (!ConnectBron(bronPad)) {
            TelFout();
            return;
        }
        if (!ConnectDoel(doelPad))
            return;
        if (versieControle && !LeesVersies())
            return;

        if (doelIsServer()) {
            RaiseVoortgang(QStringLiteral("Begin Transactie"), QString());
            // A transaction that cannot begin ends the run as an error of Sync (caught below).
            m_transactie.emplace(m_doel->Connection());
        }

        RaiseVoortgangTotaal(TelArtikelen());

        // Every entry must be a type number before anything is written.
        m_types = artikelTypes(types);
        VulSelectie();

        SyncSuppliers(-1);
        if (Geannuleerd()) {
            TransactieAfsluiten(false);
            return;
        }

        for (qint32 type : std::as_const(m_types)) {
            RaiseHuidigeHoofdActie(QStringLiteral("Overzetten Artikelen"));
            SyncArtGroepen(-1, type);
            SyncCalcGroepen(-1, type);
            SyncArtikelen(false, -1, type);
            if (Geannuleerd()) {
                TransactieAfsluiten(false);
                return;
            }
        }
        m_doelArtikelen.reset();
        SyncArtikelen(true, -1, -1);
        RaiseHuidigeHoofdActieDone();

        // The articles the first pass wrote; the links pass marks the articles it links as well, but a link
        // replaces no price rows.
        VulSelectieTabel(geschrevenArtikelen(m_geschreven));
        if (TypeMetTabelGeselecteerd(m_types, QStringLiteral("PriceData1D"))) {
            VulSelectieTabel(geschrevenArtikelen(m_prijzen1D));
            SyncPriceData1D();
        }
        if (TypeMetTabelGeselecteerd(m_types, QStringLiteral("PriceData2D"))) {
            VulSelectieTabel(geschrevenArtikelen(m_prijzen2D));
            SyncPriceData2D();
        }

        if (m_transactie) {
            const bool vastleggen = m_fouten == 0;
            const QString tekst =
                vastleggen ? QStringLiteral("Commit Transactie") : QStringLiteral("Rollback Transactie");
            RaiseVoortgang(tekst, QString());
            RaiseHuidigeHoofdActie(tekst);
            TransactieAfsluiten(vastleggen);
        }
    } catch (const std::exception& e) {
        Fout(QStringLiteral("clsSyncPT.PT"), e);
        TransactieAfsluiten(false);
    }
}

void clsSyncPT::TransactieAfsluiten(bool vastleggen)
{
    if (!m_transactie)
        return;
    try {
        if (vastleggen)
            m_transactie->commit();
        else
            m_transactie->rollback();
    } catch (const std::exception& e) {
        Fout(QString(), e);
    }
    m_transactie.reset(); // a refused commit is rolled back here
}

bool clsSyncPT::ConnectBron(const QString& pad)
{
    RaiseHuidigeHoofdActie(QStringLiteral("Openen bron productentabel"));
    RaiseVoortgang(QStringLiteral("Bron bestand"), pad);
    if (m_bron)
        m_bron->SluitenConnectie(); // a second reading opens the source anew
    m_bronVersie.clear();
    m_bronMajor = 0;
    m_bronMinor = 0;
    m_bron = std::make_unique<clsConnectie>();
    const bool ok = m_bron->MakenJetorSQLiteConnectie(pad, QString());
    if (ok)
        LeesVersies();
    return ok;
}

bool clsSyncPT::ConnectDoel(const QString& pad)
{
    m_doel = std::make_unique<clsConnectie>();
    bool geopend = false;
    if (IsSQLServerPad(pad)) {
        RaiseHuidigeHoofdActie(QStringLiteral("Verbinden sqlserver"));
        RaiseVoortgang(QStringLiteral("Doel server"), SQLServerOmschrijving(pad));
        const QStringList velden = pad.mid(1).split(QChar(8));
        if (velden.size() != 5) {
            RaiseHuidigeHoofdActie(
                QStringLiteral("Verbinden sqlserver niet mogelijk, niet voldoende verbindingsgegevens."));
            TelFout();
            return false;
        }
        const bool sqlBeveiliging = velden.at(2) != QLatin1String("eNTSecurity");
        geopend =
            m_doel->MakenConnectie(velden.at(0), velden.at(3), velden.at(4), velden.at(1), sqlBeveiliging);
    } else {
        RaiseHuidigeHoofdActie(QStringLiteral("Openen doel productentabel"));
        RaiseVoortgang(QStringLiteral("Doel bestand"), pad);
        geopend = m_doel->MakenJetConnectie(pad, QString());
    }
    // The connection object has shown why; the run counts it.
    if (!geopend)
        TelFout();
    return geopend;
}

bool clsSyncPT::LeesVersies()
{
    if (m_bron && m_bron->Connection() && !LeesVersie(*m_bron, true))
        return false;
    if (!m_doel || !m_doel->Connection())
        return true;
    return LeesVersie(*m_doel, false);
}

bool clsSyncPT::LeesVersie(clsConnectie& cn, bool bron)
{
    const QString kop =
        bron ? QStringLiteral("Controle bronbestand") : QStringLiteral("Controle doelbestand");
    auto mislukt = [&](const QString& tekst) {
        RaiseVoortgang(kop, tekst);
        TelFout();
        return false;
    };
    try {
        const QString sql =
            cn.IsSQLServer ? kVersieServer : (cn.isSQLite() && !cn.IsJet() ? kVersieSqlite : kVersieJet);
        RecordsetPtr rs = cn.Connection()->openRecordset(sql);
        if (!rs)
            return mislukt(bron ? QStringLiteral("Bronbestand kan niet worden geopend.")
                                : QStringLiteral("Doelbestand kan niet worden geopend."));
        if (rs->eof())
            return mislukt(bron ? QStringLiteral("Bronbestand bevat geen juiste gegevens in SYSDBINFO.")
                                : QStringLiteral("Doelbestand bevat geen juiste gegevens in SYSDBINFO."));
        const QString major = NzString(rs->value(QStringLiteral("VerMajor"))).trimmed();
        const QString minor = NzString(rs->value(QStringLiteral("VerMinor"))).trimmed();
        const QString tekst = major + QLatin1Char('.') + minor;
        (bron ? m_bronVersie : m_doelVersie) = tekst;
        (bron ? m_bronMajor : m_doelMajor) = major.toInt();
        (bron ? m_bronMinor : m_doelMinor) = minor.toInt();
        return true;
    } catch (const std::exception& e) {
        // Counted as well: a run whose versions are unknown copies the wrong columns.
        Fout(QString(), e);
        return false;
    }
}

bool clsSyncPT::InlezenBestandArtikelGroepen(const QString& strBronPath, const QString& ongebruikt,
                                             const QString& types)
{
    Q_UNUSED(ongebruikt);
    if (types.isEmpty())
        return false;
    RunScope live(*m_run);
    bool gelezen = false;
    if (ConnectBron(strBronPath)) {
        try {
            gelezen = ArtikelGroepenDistinct(artikelTypes(types));
        } catch (const std::exception& e) {
            ShowError(QStringLiteral("ArtikelGroepenDistinct"), e);
        }
    }
    RaiseHuidigeHoofdActieDone();
    return gelezen;
}

bool clsSyncPT::InlezenBestandArtikelen(const QString& strBronPath, const QString& types)
{
    if (types.isEmpty())
        return false;
    RunScope live(*m_run);
    bool gelezen = false;
    if (ConnectBron(strBronPath)) {
        const bool sqlite = m_bron->isSQLite() && !m_bron->IsJet();
        try {
            const QList<qint32> lijst = artikelTypes(types);
            gelezen = sqlite ? ArtikelenDistinctSQLite(lijst) : ArtikelenDistinctJET(lijst);
        } catch (const std::exception& e) {
            ShowError(sqlite ? QStringLiteral("ArtikelenDistinctSQLite")
                             : QStringLiteral("ArtikelenDistinctJET"),
                      e);
        }
    }
    RaiseHuidigeHoofdActieDone();
    return gelezen;
}

ItemCollection& clsSyncPT::teVullenLijst()
{
    return colItemsDistinct();
}

bool clsSyncPT::ArtikelGroepenDistinct(const QList<qint32>& types)
{
    // The same statement on a Jet and on an SQLite source.
    return LeesLijst(
        QStringLiteral("ArtikelGroepenDistinct"),
        QStringLiteral("SELECT DISTINCT ArtGroup.ID, ArtGroup.Code, ArtGroup.Description") +
            QStringLiteral(" FROM ArtGroup INNER JOIN Article ON ArtGroup.ID = Article.fkGroup ") +
            QStringLiteral(" WHERE (((Article.fkType) In (") + inLijst(types) + QStringLiteral("))) ") +
            QStringLiteral(" ORDER BY ArtGroup.Description"),
        false);
}

bool clsSyncPT::ArtikelenDistinctJET(const QList<qint32>& types)
{
    // From 3.11 on a source links its mirrored article by code, before that by ID; a source whose version
    // was not read counts as 0.0.
    const bool opCode = m_bronMajor > 3 || (m_bronMajor == 3 && m_bronMinor > 10);
    const QString koppeling = opCode ? QStringLiteral("Article.fkMirroredArticle = Article_1.Code") +
                                           m_bron->Connection()->codeCollate()
                                     : QStringLiteral("Article.fkMirroredArticle = Article_1.ID");
    return LeesLijst(
        QStringLiteral("ArtikelenDistinctJET"),
        QStringLiteral("SELECT DISTINCT Article.ID, Article.Code, Article.Description, Article.fkGroup, "
                       "Article_1.Code AS CodeMirrored FROM Article LEFT JOIN Article AS Article_1 ON ") +
            koppeling + QStringLiteral(" WHERE Article.fkType IN (") + inLijst(types) +
            QStringLiteral(") ORDER BY Article.Description "),
        true);
}

bool clsSyncPT::ArtikelenDistinctSQLite(const QList<qint32>& types)
{
    return LeesLijst(
        QStringLiteral("ArtikelenDistinctSQLite"),
        QStringLiteral("SELECT DISTINCT Article.ID, Article.Code, Article.Description, Article.fkGroup, "
                       "Article_1.Code AS CodeMirrored FROM Article LEFT JOIN Article AS Article_1 ON "
                       "Article.fkMirroredArticle = Article_1.Code") +
            m_bron->Connection()->codeCollate() + QStringLiteral(" WHERE Article.fkType IN (") +
            inLijst(types) + QStringLiteral(") ORDER BY Article.Description"),
        true);
}

bool clsSyncPT::LeesLijst(const QString& routine, const QString& sql, bool artikelen)
{
    try {
        const RecordsetPtr rs = m_bron->Connection()->openRecordset(bronSql(sql));
        ItemCollection& lijst = teVullenLijst();
        for (; !rs->eof(); rs->moveNext()) {
            m_run->yield();
            if (m_run->cancelled())
                return false;
            auto item = std::make_shared<clsItem>();
            item->ID = NzLong(vereist(rs->value(0), *rs, 0));
            item->Code = NzString(vereist(rs->value(1), *rs, 1));
            item->Description = NzString(vereist(rs->value(2), *rs, 2));
            if (artikelen) {
                item->Groep = NzLong(vereist(rs->value(3), *rs, 3));
                item->CodeGespiegeld = NzString(rs->value(4)); // no mirrored article: ""
            }
            lijst << item;
        }
        return true;
    } catch (const std::exception& e) {
        ShowError(routine, e);
        return false;
    }
}

qint32 clsSyncPT::TelArtikelen()
{
    const QVariant aantal = TelRecords(*m_bron, QStringLiteral("ID"), QStringLiteral("Article"),
                                       QStringLiteral("fkType IN (4,6,7,8)"));
    if (!aantal.isValid()) {
        // TelRecords has shown the error.
        TelFout();
        return 0;
    }
    return aantal.toInt();
}

void clsSyncPT::VulSelectie()
{
    m_geschreven.clear();
    m_doelArtikelen.reset();
    m_prijzen1D.clear();
    m_prijzen2D.clear();
    m_selectieTabel.reset();
    m_selectie = globals().gColArtikelenGeselecteerd;
    // The marks are this run's own: a previous run on the same selection must not leave its codes behind.
    for (const std::shared_ptr<clsItem>& item : std::as_const(m_selectie)) {
        if (item) {
            item->RunActie_Toegevoegd = false;
            item->RunActie_Aangepast = false;
        }
    }
    if (!m_selectie.isEmpty())
        return;
    // No selection means every article of the chosen types. The copier marks only items it was given,
    // so the run lists those articles itself: their price tables follow them. When the chosen types hold
    // no article the list stays empty, and an empty list means no article (the article passes do not run):
    // never the copier's "every row".
    RecordsetPtr rs = m_bron->Connection()->openRecordset(
        bronSql(QStringLiteral("SELECT Code FROM Article WHERE fkType IN (%1)").arg(inLijst(m_types))));
    m_selectie = SelectieVanAlleCodes(*rs);
}

void clsSyncPT::SyncSuppliers(qint32 supplier)
{
    QString bron = QStringLiteral("SELECT * FROM Supplier");
    if (supplier != -1)
        bron += QStringLiteral(" WHERE ID = ") + QString::number(supplier);
    RecordsetPtr rsBron = m_bron->Connection()->openRecordset(bronSql(bron));
    RecordsetPtr rsDoel = m_doel->Connection()->openRecordset(
        doelSql(QStringLiteral("SELECT * FROM [PT].[Supplier]"), QStringLiteral("SELECT * FROM Supplier")));

    clsImportTabelNaarTabel& kopieerder = nieuweKopieerder();
    kopieerder.SkipFieldsCollection << QStringLiteral("ID");
    kopieerder.strKeyField = QStringLiteral("Code");
    kopieerder.strKeyIsNumeriek = false;
    kopieerder.NieuweOnderdelenToevoegen = importOpties().NieuweArtikelenToevoegen;
    kopieerder.WijzigingenDoorvoeren = false;
    if (doelIsServer())
        kopieerder.OverzettenRecordSetSQLSuppliers(rsBron, rsDoel, *m_bron, *m_doel);
    else
        kopieerder.OverzettenRecordSet(rsBron, rsDoel, *m_bron, *m_doel);
}

void clsSyncPT::SyncArtGroepen(qint32 supplier, qint32 type)
{
    SyncGroepen(QStringLiteral("ArtGroup"), QStringLiteral("fkGroup"), supplier, type);
}

void clsSyncPT::SyncCalcGroepen(qint32 supplier, qint32 type)
{
    if (!TabelBestaat(*m_bron, QStringLiteral("CalculationGroup")))
        return;
    SyncGroepen(QStringLiteral("CalculationGroup"), QStringLiteral("fkCalcGroup"), supplier, type);
}

void clsSyncPT::SyncGroepen(const QString& tabel, const QString& sleutel, qint32 supplier, qint32 type)
{
    const bool artGroep = tabel == QLatin1String("ArtGroup");
    QString bron;
    if (supplier != -1) {
        bron =
            QStringLiteral("SELECT DISTINCT %1.* FROM Supplier INNER JOIN (%1 INNER JOIN Article ON %1.ID = "
                           "Article.%2) ON Supplier.ID = Article.fkSupplier ")
                .arg(tabel, sleutel) +
            QStringLiteral(" WHERE (((Supplier.ID)=") + QString::number(supplier) + QStringLiteral("))");
    } else if (type != -1) {
        bron = QStringLiteral("SELECT DISTINCT %1.* FROM %1 INNER JOIN Article ON %1.ID = Article.%2 ")
                   .arg(tabel, sleutel) +
               QStringLiteral(" WHERE (((Article.fkType)=") + QString::number(type) + QStringLiteral("))");
    } else {
        bron =
            QStringLiteral("SELECT DISTINCT %1.* FROM Supplier INNER JOIN (%1 INNER JOIN Article ON %1.ID = "
                           "Article.%2) ON Supplier.ID = Article.fkSupplier ")
                .arg(tabel, sleutel);
    }

    QString doelServer;
    if (artGroep) {
        doelServer = QStringLiteral(
            "SELECT [PT].[ArtGroup].[ID], [PT].[ArtGroup].[Code], [PT].[ArtGroup].[Description], "
            "[PT].[ArtGroup].[SortOrder] AS OrderNr, [PT].[ArtGroup].[fkBitmap], "
            "[PT].[ArtGroup].[fkPriceCorrection], "
            "[PT].[ArtGroup].[fkTimeCorrection] FROM [PT].[ArtGroup]");
    } else {
        doelServer = QStringLiteral(
            "SELECT [PT].[CalculationGroup].[ID], [PT].[CalculationGroup].[Code], "
            "[PT].[CalculationGroup].[Description], [PT].[CalculationGroup].[SortOrder] AS OrderNr FROM "
            "[PT].[CalculationGroup]");
    }
    const QString doelJet = QStringLiteral("SELECT %1.* FROM %1").arg(tabel);
    const QString hoogsteServer =
        QStringLiteral("SELECT TOP 1 [PT].[%1].[SortOrder] AS OrderNr FROM [PT].[%1] "
                       "ORDER BY [PT].[%1].[SortOrder] DESC")
            .arg(tabel);
    const QString hoogsteJet =
        QStringLiteral("SELECT TOP 1 OrderNr FROM %1 ORDER BY OrderNr DESC").arg(tabel);

    RecordsetPtr rsBron = m_bron->Connection()->openRecordset(bronSql(bron));
    RecordsetPtr rsDoel = m_doel->Connection()->openRecordset(doelSql(doelServer, doelJet));
    qint32 basis = 0;
    RecordsetPtr rsHoogste = m_doel->Connection()->openRecordset(doelSql(hoogsteServer, hoogsteJet));
    if (rsHoogste && !rsHoogste->eof())
        basis = NzLong(rsHoogste->value(QStringLiteral("OrderNr")));

    clsImportTabelNaarTabel& kopieerder = nieuweKopieerder();
    if (artGroep)
        kopieerder.SkipFieldsCollection << QStringLiteral("fkPriceCorrection") << QStringLiteral("ID")
                                        << QStringLiteral("fkTimeCorrection");
    else
        kopieerder.SkipFieldsCollection << QStringLiteral("ID");
    // The server's target cursor shows SortOrder under the name OrderNr: the numbered field is named as the
    // cursor shows it, so that new groups follow the highest number there as well.
    kopieerder.VoegOphogingToe(QStringLiteral("OrderNr"), basis);
    kopieerder.strKeyField = QStringLiteral("Code");
    kopieerder.strKeyIsNumeriek = false;
    kopieerder.NieuweOnderdelenToevoegen = importOpties().NieuweArtikelenToevoegen;
    kopieerder.WijzigingenDoorvoeren = false;
    kopieerderDraaien(rsBron, rsDoel);
}

void clsSyncPT::kopieerderDraaien(const RecordsetPtr& rsBron, const RecordsetPtr& rsDoel)
{
    x->OverzettenRecordSet(rsBron, rsDoel, *m_bron, *m_doel);
}

void clsSyncPT::SyncArtikelen(bool tweedePass, qint32 supplier, qint32 type)
{
    // No article to copy (the chosen types hold none): nothing to add, update or link.
    if (m_selectie.isEmpty())
        return;
    try {
        const clsImportOpties opties = importOpties();
        ItemCollection selectie = m_selectie;
        bool bijwerken = opties.DoorvoerenPrijsWijzigingen;
        if (tweedePass && !bijwerken) {
            // Articles added by this run get their mirror link even when existing articles stay as they are.
            selectie.clear();
            for (const std::shared_ptr<clsItem>& item : std::as_const(m_selectie))
                if (item && item->RunActie_Toegevoegd)
                    selectie << item;
            if (selectie.isEmpty())
                return;
            bijwerken = true;
        }

        QString bron;
        if (!tweedePass) {
            bron = QStringLiteral("SELECT * FROM Article");
            if (supplier != -1)
                bron += QStringLiteral("  WHERE fkSupplier= ") + QString::number(supplier);
            else if (type != -1)
                bron += QStringLiteral("  WHERE fkType= ") + QString::number(type);
        } else {
            bron = QStringLiteral(
                "SELECT Code, fkMirroredArticle FROM Article WHERE fkMirroredArticle IS NOT NULL");
            if (supplier != -1)
                bron += QStringLiteral(" AND fkSupplier= ") + QString::number(supplier);
            else if (type != -1)
                bron += QStringLiteral(" AND fkType= ") + QString::number(type);
        }
        const QString doel =
            tweedePass
                ? doelSql(QStringLiteral("SELECT [PT].[Article].[Code], [PT].[Article].[fkMirroredArticle] "
                                         "FROM [PT].[Article]"),
                          QStringLiteral("SELECT Code, fkMirroredArticle FROM Article"))
                : doelSql(QStringLiteral("SELECT * FROM [PT].[Article]"),
                          QStringLiteral("SELECT * FROM Article"));
        RecordsetPtr rsBron = m_bron->Connection()->openRecordset(bronSql(bron));
        RecordsetPtr rsDoel;
        if (tweedePass) {
            rsDoel = m_doel->Connection()->openRecordset(doel);
        } else {
            if (!m_doelArtikelen)
                m_doelArtikelen = m_doel->Connection()->openRecordset(doel);
            rsDoel = m_doelArtikelen;
        }

        clsImportTabelNaarTabel& kopieerder = nieuweKopieerder();
        auto voegSleutelToe = [&](const QString& veld, const QString& bronOpzoek, const QString& doelServer,
                                  const QString& doelJet, const QString& bronSleutel) {
            kopieerder.VoegOpzoekingToe(veld, m_bron->Connection()->openRecordset(bronSql(bronOpzoek)),
                                        m_doel->Connection()->openRecordset(doelSql(doelServer, doelJet)),
                                        QStringLiteral("Code"), bronSleutel);
        };

        if (!tweedePass) {
            voegSleutelToe(
                QStringLiteral("fkGroup"), QStringLiteral("SELECT ID, Code FROM ArtGroup"),
                QStringLiteral("SELECT [PT].[ArtGroup].[ID], [PT].[ArtGroup].[Code] FROM [PT].[ArtGroup]"),
                QStringLiteral("SELECT ID, Code FROM ArtGroup"), QStringLiteral("ID"));
            if (TabelBestaat(*m_bron, QStringLiteral("CalculationGroup")))
                voegSleutelToe(
                    QStringLiteral("fkCalcGroup"), QStringLiteral("SELECT ID, Code FROM CalculationGroup"),
                    QStringLiteral("SELECT [PT].[CalculationGroup].[ID], [PT].[CalculationGroup].[Code] "
                                   "FROM [PT].[CalculationGroup]"),
                    QStringLiteral("SELECT ID, Code FROM CalculationGroup"), QStringLiteral("ID"));
            voegSleutelToe(QStringLiteral("fkSupplier"), QStringLiteral("SELECT ID, Code FROM Supplier"),
                           QStringLiteral("SELECT [PT].[Supplier].[oID] AS ID, [PT].[Supplier].[Code] FROM "
                                          "[PT].[Supplier]"),
                           QStringLiteral("SELECT ID, Code FROM Supplier"), QStringLiteral("ID"));
            kopieerder.strFieldOnderdeelFilter = QStringLiteral("Code");
            kopieerder.colFilter = selectie;
            if (type == 4 || type == 9) {
                kopieerder.strIDField = QStringLiteral("ID");
                kopieerder.DeleteLinkedTablesSQL << doelSql(
                    QStringLiteral("DELETE FROM [PT].[PriceData2D] WHERE [PT].[PriceData2D].[fkArticle]="),
                    QStringLiteral("DELETE * FROM PriceData2D WHERE fkArticle="));
            } else if (type == 8 || type == 14) {
                kopieerder.strIDField = QStringLiteral("ID");
                kopieerder.DeleteLinkedTablesSQL << doelSql(
                    QStringLiteral("DELETE FROM [PT].[PriceData1D] WHERE [PT].[PriceData1D].[fkArticle]="),
                    QStringLiteral("DELETE * FROM PriceData1D WHERE fkArticle="));
            }
            kopieerder.UpdateFieldsCollection << QStringLiteral("OrderCode") << QStringLiteral("PriceOrder")
                                              << QStringLiteral("PriceUnit");
        } else {
            const bool opCode = m_bronMajor > 3 || (m_bronMajor == 3 && m_bronMinor > 10);
            voegSleutelToe(
                QStringLiteral("fkMirroredArticle"), QStringLiteral("SELECT ID, Code FROM Article"),
                QStringLiteral("SELECT [PT].[Article].[ID], [PT].[Article].[Code] FROM [PT].[Article]"),
                QStringLiteral("SELECT ID, Code FROM Article"),
                opCode ? QStringLiteral("Code") : QStringLiteral("ID"));
            kopieerder.strFieldOnderdeelFilter = QStringLiteral("Code");
            kopieerder.colFilter = selectie;
        }

        kopieerder.strKeyField = QStringLiteral("Code");
        kopieerder.strKeyIsNumeriek = false;
        QStringList& skip = kopieerder.SkipFieldsCollection;
        if (m_bronVersie == QLatin1String("3.0") && m_doelVersie == QLatin1String("2.40"))
            skip << QStringLiteral("TradeLengthCalc") << QStringLiteral("GarbagePerc")
                 << QStringLiteral("DisplayDescription") << QStringLiteral("PaintArea")
                 << QStringLiteral("LastSynchronized") << QStringLiteral("Limited");
        skip << QStringLiteral("fkMirroredArticle") << QStringLiteral("fkPriceCorrection")
             << QStringLiteral("fkRefCombie1") << QStringLiteral("fkRefCombie2")
             << QStringLiteral("fkRefCombie3");
        if (doelIsServer())
            skip << QStringLiteral("HWork") << QStringLiteral("Unity") << QStringLiteral("fkDrawing")
                 << QStringLiteral("FixedLength") << QStringLiteral("ExtentionLeftHeight")
                 << QStringLiteral("ExtentionRightHeight") << QStringLiteral("HeightWithExtention")
                 << QStringLiteral("GrooveExtention") << QStringLiteral("PositionGLVG")
                 << QStringLiteral("LastModified") << QStringLiteral("MORSVoorraad")
                 << QStringLiteral("MORSGemonteerd") << QStringLiteral("MORSNietSamenVoegen")
                 << QStringLiteral("MORSCalcArticle") << QStringLiteral("Deprecated");
        skip << QStringLiteral("fkCentralPriceTable");
        // The target numbers its own articles: a source ID would collide with the target's rows.
        skip << QStringLiteral("ID");
        // The links pass only completes articles the first pass wrote: it never makes an article of its own.
        kopieerder.NieuweOnderdelenToevoegen = tweedePass ? false : opties.NieuweArtikelenToevoegen;
        kopieerder.WijzigingenDoorvoeren = bijwerken;
        QSet<const clsItem*> alGeschreven;
        if (!tweedePass)
            alGeschreven = m_geschreven;
        kopieerderDraaien(rsBron, rsDoel);
        if (!tweedePass)
            NoteerGeschreven(type, alGeschreven);
    } catch (const std::exception& e) {
        Fout(QString(), e);
    }
}

void clsSyncPT::NoteerGeschreven(qint32 type, const QSet<const clsItem*>& alGeschreven)
{
    const bool tweeD = type == 4 || type == 9;
    const bool eenD = type == 8 || type == 14;
    for (const std::shared_ptr<clsItem>& item : std::as_const(m_selectie)) {
        if (!item || alGeschreven.contains(item.get()))
            continue;
        if (item->RunActie_Toegevoegd) {
            // A new article has no old price rows: it gets the source's rows of both tables.
            m_geschreven.insert(item.get());
            m_prijzen1D.insert(item.get());
            m_prijzen2D.insert(item.get());
        } else if (item->RunActie_Aangepast) {
            // An updated article lost the old rows of its type's price table (and only those).
            m_geschreven.insert(item.get());
            if (tweeD)
                m_prijzen2D.insert(item.get());
            if (eenD)
                m_prijzen1D.insert(item.get());
        }
    }
}

ItemCollection clsSyncPT::geschrevenArtikelen(const QSet<const clsItem*>& artikelen) const
{
    ItemCollection lijst;
    for (const std::shared_ptr<clsItem>& item : m_selectie) {
        if (item && artikelen.contains(item.get()))
            lijst << item;
    }
    return lijst;
}

void clsSyncPT::VulSelectieTabel(const ItemCollection& artikelen)
{
    if (m_selectieTabel && *m_selectieTabel == artikelen)
        return; // the table holds these codes already
    m_selectieTabel.reset();
    try {
        VulTmpSelected(*m_bron, artikelen);
        m_selectieTabel = artikelen;
    } catch (const std::exception& e) {
        // Counted and logged without an error window; the run goes on, the price tables then follow the
        // codes written so far.
        const AppError fout = AppError::from(e);
        RaiseVoortgang(QStringLiteral("Error (clsSyncPT.VulTmpSelected): %1-%2")
                           .arg(QString::number(fout.number()), fout.description()),
                       QString());
        TelFout();
    }
}

bool clsSyncPT::TypeMetTabelGeselecteerd(const QList<qint32>& types, const QString& tabel)
{
    try {
        const QString sql =
            QStringLiteral("SELECT TOP 1 ArtType.Type, ") + tabel +
            QStringLiteral(".ID, ArtType.Description ") +
            QStringLiteral(" FROM (ArtType INNER JOIN Article ON ArtType.ID = Article.fkType) "
                           "INNER JOIN ") +
            tabel + QStringLiteral(" ON Article.ID = ") + tabel + QStringLiteral(".fkArticle ") +
            QStringLiteral(" WHERE (((ArtType.ID) In (") + inLijst(types) + QStringLiteral(")))");
        RecordsetPtr rs = m_bron->Connection()->openRecordset(bronSql(sql));
        return rs && !rs->bof() && !rs->eof();
    } catch (const std::exception& e) {
        Fout(QString(), e);
        return false;
    }
}

void clsSyncPT::SyncPriceData1D()
{
    SyncPriceData(false);
}

void clsSyncPT::SyncPriceData2D()
{
    SyncPriceData(true);
}

void clsSyncPT::SyncPriceData(bool tweeD)
{
    const QString t = tweeD ? QStringLiteral("PriceData2D") : QStringLiteral("PriceData1D");
    try {
        RaiseHuidigeHoofdActie(tweeD ? QStringLiteral("Overzetten Prijstabellen m2")
                                     : QStringLiteral("Overzetten Prijstabellen m1"));
        const QString pad = m_bron->Connection()->path();
        if (!doelIsServer()) {
            const QString kolommen = tweeD ? QStringLiteral("%1.W, %1.H, %1.Price").arg(t)
                                           : QStringLiteral("%1.W, %1.Price").arg(t);
            const QString kop = tweeD ? QStringLiteral("INSERT INTO PriceData2D ( fkArticle, W, H, Price )")
                                      : QStringLiteral("INSERT INTO PriceData1D ( fkArticle, W, Price )");
            // Codes meet as codes compare: the article pass found "vul-4010" as the existing "VUL-4010".
            const DbConnection db = m_doel->Connection();
            const QString codes = db->codeCollate();
            const QString sql =
                kop + QStringLiteral(" SELECT Article_Target.ID, ") + kolommen + QStringLiteral(" ") +
                QStringLiteral(" FROM Article AS Article_Target INNER JOIN (([") + pad +
                QStringLiteral("].Article INNER JOIN [") + pad + QStringLiteral("].") + t +
                QStringLiteral(" ON Article.ID = ") + t + QStringLiteral(".fkArticle) INNER JOIN [") + pad +
                QStringLiteral("].tmpSelected ON Article.Code = tmpSelected.CodeSelected") + codes +
                QStringLiteral(") ON Article_Target.Code = Article.Code") + codes;
            if (auto* sqlite = dynamic_cast<SqliteBackend*>(db.get()))
                sqlite->executeJet(sql);
            else
                db->execute(sql);
            return;
        }

        const QString bron =
            (tweeD ? QStringLiteral("SELECT Article.[Code], PriceData2D.W, PriceData2D.H, PriceData2D.Price")
                   : QStringLiteral("SELECT Article.[Code], PriceData1D.W, PriceData1D.Price")) +
            QStringLiteral(
                " FROM (Article INNER JOIN %1 ON Article.[ID] = %1.[fkArticle]) INNER JOIN tmpSelected ON "
                "Article.Code = tmpSelected.CodeSelected%2 ")
                .arg(t, m_bron->Connection()->codeCollate()) +
            (tweeD ? QStringLiteral(" ORDER BY PriceData2D.fkArticle, PriceData2D.W, PriceData2D.H")
                   : QStringLiteral(" ORDER BY PriceData1D.fkArticle, PriceData1D.W"));
        RecordsetPtr rs = m_bron->Connection()->openRecordset(bronSql(bron));
        const QString insert =
            (tweeD ? QStringLiteral("INSERT INTO [PT].[PriceData2D] ( [fkArticle], [W], [H], [Price] )")
                   : QStringLiteral("INSERT INTO [PT].[PriceData1D] ( [fkArticle], [W], [Price] )")) +
            (tweeD ? QStringLiteral(" SELECT [PT].[Article].[ID] , ?, ?, ? FROM [PT].[Article] WHERE "
                                    "[PT].[Article].[Code] = ?")
                   : QStringLiteral(" SELECT [PT].[Article].[ID] , ?, ? FROM [PT].[Article] WHERE "
                                    "[PT].[Article].[Code] = ?"));
        std::unique_ptr<Statement> statement = m_doel->Connection()->prepare(insert);
        const int iCode = rs->fieldIndex(QStringLiteral("Code"));
        const int iW = rs->fieldIndex(QStringLiteral("W"));
        const int iH = tweeD ? rs->fieldIndex(QStringLiteral("H")) : -1;
        const int iPrijs = rs->fieldIndex(QStringLiteral("Price"));
        for (; !rs->eof(); rs->moveNext()) {
            m_run->yield();
            const QVariant w = rs->value(iW);
            const QVariant h = tweeD ? rs->value(iH) : QVariant();
            const QVariant prijs = rs->value(iPrijs);
            int p = 0;
            statement->bind(p++, w);
            if (tweeD)
                statement->bind(p++, h);
            statement->bind(p++, prijs);
            statement->bind(p++, NzString(rs->value(iCode)));
            statement->execute();
            // Numbers in the log as SQL writes them: with a decimal point.
            const QString prijsTekst =
                prijs.isNull() ? QString() : QString::number(prijs.toDouble(), 'g', 15);
            QString regel = NzString(w);
            if (tweeD)
                regel += QLatin1Char(',') + NzString(h);
            regel += QLatin1Char(',') + prijsTekst;
            RaiseVoortgang(regel, QString());
        }
    } catch (const std::exception& e) {
        Fout(QString(), e);
    }
}

} // namespace supplink
