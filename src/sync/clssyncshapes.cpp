#include "sync/clssyncshapes.h"

#include "database/backendopeners.h"
#include "database/clsconnectie.h"
#include "database/databaseroutines.h"
#include "database/recordset.h"
#include "database/sqlitebackend.h"
#include "start/errors.h"
#include "start/globals.h"
#include "start/sharedroutines.h"
#include "database/codevergelijking.h"
#include "sync/tmpselected.h"
#include "sync/verbindingsluiten.h"
#include "transfer/clsimportsqlitetabelnaarsqlitet.h"
#include "transfer/clsimporttabelnaarsqlitetabel.h"
#include "transfer/clsimporttabelnaartabel.h"

#include <QHash>

namespace supplink {

namespace {

const QString kTitel = QStringLiteral("Werkvoorbereiding bestand");
const QString kCrLf = QStringLiteral("\r\n");

// The columns of a node that the child copies take, in the order of the source statement; the angle
// columns exist from version 3.10 on.
const QStringList kNodeKolommen = {QStringLiteral("OrderNr"),      QStringLiteral("DeltaX"),
                                   QStringLiteral("DeltaZType"),   QStringLiteral("DeltaZFormula"),
                                   QStringLiteral("RoundingType"), QStringLiteral("RoundingValue"),
                                   QStringLiteral("DeltaZ")};
const QStringList kHoekKolommen = {QStringLiteral("AngleRule"), QStringLiteral("Angle"),
                                   QStringLiteral("Reference")};

// A Yes/No value as the program reads it: anything but 0 (and Null) is Yes, whether a file stores Yes as
// -1 (Jet) or as 1.
bool isJa(const QVariant& waarde)
{
    return !waarde.isNull() && waarde.toDouble() != 0.0;
}

// Identifies a geometry row across files: its shape's code and its variant.
QString geometrieSleutel(const QString& code, const QVariant& contra)
{
    return CodeSleutel(code) + QChar(0x1f) + QChar(isJa(contra) ? u'1' : u'0');
}

// The value of the leading number of a text, as the version rule reads it: "10" is 10, ".0" is 0, an
// empty text or one without a leading number 0.
double waardeVan(const QString& tekst)
{
    const QString t = tekst.trimmed();
    int einde = 0;
    bool punt = false;
    while (einde < t.size() && (t.at(einde).isDigit() || (t.at(einde) == QLatin1Char('.') && !punt))) {
        punt = punt || t.at(einde) == QLatin1Char('.');
        ++einde;
    }
    return QStringView(t).left(einde).toDouble();
}

// Runs a statement in the Jet dialect on a target: a database the program keeps in SQLite (a Jet file
// read or made as SQLite) translates it and attaches the files it names by path.
void voerJetVormUit(const DbConnection& db, const QString& sql)
{
    if (!db)
        throw AppError(DbErrorNumber::ObjectClosed,
                       QStringLiteral("Er is geen verbinding met het doelbestand."));
    if (auto* sqlite = dynamic_cast<SqliteBackend*>(db.get()))
        sqlite->executeJet(sql);
    else
        db->execute(sql);
}

} // namespace

QString clsSyncSHAPES::Versie::tekst() const
{
    return QString::number(major) + QLatin1Char('.') + QString::number(minor);
}

clsSyncSHAPES::clsSyncSHAPES() : m_relay(m_ontvanger, m_voortgangTeller) {}

clsSyncSHAPES::~clsSyncSHAPES()
{
    x.reset();
    xJETtoSQLite.reset();
    xSQLitetoSQLite.reset();
    SluitVerbinding(m_bron);
    SluitVerbinding(m_doel);
}

bool clsSyncSHAPES::bronIsJet() const
{
    return m_bron && m_bron->IsJet();
}

bool clsSyncSHAPES::bronIsSQLite() const
{
    return m_bron && m_bron->isSQLite();
}

bool clsSyncSHAPES::doelIsJet() const
{
    return m_doel && m_doel->IsJet();
}

bool clsSyncSHAPES::doelIsSQLite() const
{
    return m_doel && m_doel->isSQLite();
}

void clsSyncSHAPES::MeldFout(const QList<std::pair<QString, QString>>& regels)
{
    for (const auto& [actie, omschrijving] : regels)
        RaiseVoortgang(actie, omschrijving);
    RaiseFoutOpgetreden(1);
}

void clsSyncSHAPES::Fout(const QString& routine, const std::exception& e)
{
    ShowError(routine, e);
    RaiseFoutOpgetreden(1);
}

void clsSyncSHAPES::Sync(const QString& bronPad, const QString& doelPad, const QString& types)
{
    if (types.isEmpty())
        return;
    RunScope live(*m_run);
    m_nieuweGeometrie.clear();
    if (!ConnectBronDoel(bronPad, doelPad))
        return;
    TelTotaal();
    if (Geannuleerd())
        return;

    // Every element must be a type number before anything is written.
    QList<qint32> typeLijst;
    try {
        typeLijst = TypeLijst(types);
        BepaalSelectie(typeLijst);
    } catch (const std::exception& e) {
        Fout(QStringLiteral("clsSyncSHAPES.Sync"), e);
        return;
    }

    for (qint32 type : std::as_const(typeLijst)) {
        RaiseHuidigeHoofdActie(QStringLiteral("Overzetten Sponningfiguren"));
        if (bronIsJet() && doelIsSQLite())
            SyncSponningFigurenJETtoSQLite(type);
        else if (bronIsSQLite() && doelIsSQLite() && m_formaat35)
            SyncSponningFigurenSQLitetoSQLite35(type);
        else if (bronIsSQLite() && doelIsSQLite())
            SyncSponningFigurenSQLitetoSQLite34(type);
        else
            SyncSponningFiguren(type);
        if (Geannuleerd())
            return;
    }

    if (bronIsJet())
        SchrijfTmpSelected();

    if (bronIsJet() && doelIsSQLite()) {
        SyncGrooveShapeGeomJETtoSQLite();
        SyncGrooveShapeNodes2JETtoSQLite();
        SyncGrooveShapeNamesJETtoSQLite();
    } else if (bronIsSQLite() && doelIsSQLite()) {
        if (!m_formaat35) {
            SyncGrooveShapeGeomSQLitetoSQLite34();
            SyncGrooveShapeNodes2SQLitetoSQLite34();
            SyncGrooveShapeNamesSQLitetoSQLite34();
        }
    } else {
        SyncGrooveShapeGeom();
        // The angle fields by the source's version text: its first character at least 3 and its last two
        // at least 1 ("3.10" yes; "3.0", "2.40" no).
        if (waardeVan(m_bronVersie.left(1)) >= 3 && waardeVan(m_bronVersie.right(2)) >= 1)
            SyncGrooveShapeNodes2();
        else
            SyncGrooveShapeNodes();
        SyncGrooveShapeNames();
    }
}

QList<qint32> clsSyncSHAPES::TypeLijst(const QString& types)
{
    QList<qint32> lijst;
    for (const QString& deel : types.split(QLatin1Char(';'))) {
        bool ok = false;
        lijst << deel.trimmed().toInt(&ok);
        if (!ok)
            throw AppError(13, QStringLiteral("Ongeldig type sponningfiguur: '%1'.").arg(deel));
    }
    return lijst;
}

bool clsSyncSHAPES::ConnectBron(const QString& pad)
{
    try {
        RaiseHuidigeHoofdActie(QStringLiteral("Openen bron werkvoorbereidings beheer"));
        RaiseVoortgang(QStringLiteral("Bron bestand"), pad);
        SluitVerbinding(m_bron);
        m_bron = std::make_unique<clsConnectie>();
        if (m_bron->MakenJetorSQLiteConnectie(pad, QString()))
            return true;
        // The connection routine has shown why; the driver must see that the run failed.
        RaiseFoutOpgetreden(1);
    } catch (const std::exception& e) {
        Fout(QStringLiteral("ConnectBron"), e);
    }
    return false;
}

bool clsSyncSHAPES::ConnectDoel(const QString& pad)
{
    try {
        RaiseHuidigeHoofdActie(QStringLiteral("Openen doel werkvoorbereidings beheer"));
        RaiseVoortgang(QStringLiteral("Doel bestand"), pad);
        // A Jet file that nothing here can write is refused before it is opened.
        const QString weigering = jetTargetRefusal(pad);
        if (!weigering.isEmpty()) {
            MeldFout({{QStringLiteral("Controle doelbestand"), weigering}});
            return false;
        }
        m_doel = std::make_unique<clsConnectie>();
        if (m_doel->MakenJetorSQLiteConnectie(pad, QString()))
            return true;
        RaiseFoutOpgetreden(1);
    } catch (const std::exception& e) {
        Fout(QStringLiteral("ConnectDoel"), e);
    }
    return false;
}

bool clsSyncSHAPES::ConnectBronDoel(const QString& bronPad, const QString& doelPad)
{
    try {
        return ConnectBron(bronPad) && ConnectDoel(doelPad) && VersionCheck();
    } catch (const std::exception& e) {
        Fout(QString(), e);
        return false;
    }
}

bool clsSyncSHAPES::VersionCheck()
{
    try {
        if (bronIsSQLite() && doelIsSQLite())
            return VersionCheckSQLite();

        const QList<std::pair<QString, QString>> nietOndersteund = {
            {QStringLiteral("Controle bestanden"),
             QStringLiteral("Combinatie bestandversies Doel/Bron niet ondersteund!")},
            {QStringLiteral("Controle doelbestand"), QStringLiteral("Doel: ") + m_doelVersie},
            {QStringLiteral("Controle doelbestand"), QStringLiteral("Bron: ") + m_bronVersie}};
        if (bronIsSQLite() && doelIsJet()) {
            MeldFout(nietOndersteund);
            ui().messageBox(QStringLiteral("Doelbestand heeft een lagere versie als het bronbestand, deze "
                                           "combinatie wordt niet ondersteund!") +
                                kCrLf + kCrLf + QStringLiteral("Doel: ") + m_doelVersie + kCrLf +
                                QStringLiteral("Bron: ") + m_bronVersie,
                            MsgBox::OkOnly | MsgBox::Critical, kTitel);
            return false;
        }
        if (bronIsJet() && doelIsSQLite()) {
            if (VersionCheckDoelIs34())
                return true;
            MeldFout(nietOndersteund);
            ui().messageBox(
                QStringLiteral("Bronbestand is van een te lage versie, converteer het bronbestand "
                               "eerst naar versie 3.5 of hoger!"),
                MsgBox::OkOnly | MsgBox::Critical, kTitel);
            return false;
        }

        // Two Jet files.
        auto lees = [this](clsConnectie& cn, bool bron) -> std::optional<Versie> {
            const QString kop =
                bron ? QStringLiteral("Controle bronbestand") : QStringLiteral("Controle doelbestand");
            const QString wie = bron ? QStringLiteral("Bronbestand") : QStringLiteral("Doelbestand");
            RecordsetPtr rs;
            QString reden;
            try {
                rs = cn.Connection()->openRecordset(
                    QStringLiteral("SELECT * FROM SysDBInfo WHERE DBTYPE='SHAPES'"));
            } catch (const std::exception& e) {
                reden = AppError::from(e).description();
            }
            if (!rs) {
                // The reason goes to the log as well: a file without a version record is told from one that
                // does not read.
                QList<std::pair<QString, QString>> regels{
                    {kop, wie + QStringLiteral(" kan niet worden geopend.")}};
                if (!reden.isEmpty())
                    regels.append({kop, reden});
                MeldFout(regels);
                return std::nullopt;
            }
            if (rs->eof()) {
                MeldFout({{kop, wie + QStringLiteral(" bevat geen juiste gegevens in SYSDBINFO.")}});
                return std::nullopt;
            }
            Versie v;
            v.appType = NzString(rs->value(QStringLiteral("AppType")));
            v.major = NzLong(rs->value(QStringLiteral("VerMajor")));
            v.minor = NzLong(rs->value(QStringLiteral("VerMinor")));
            return v;
        };
        const std::optional<Versie> bron = lees(*m_bron, true);
        if (!bron)
            return false;
        m_bronVersie = bron->tekst();
        const std::optional<Versie> doel = lees(*m_doel, false);
        if (!doel)
            return false;
        if (bron->appType != doel->appType) {
            MeldFout({{QStringLiteral("Controle doelbestand"),
                       QStringLiteral("Werkvoorbereiding bron/doel voor verschillende applicaties!")},
                      {QStringLiteral("Controle doelbestand"), QStringLiteral("Doel: ") + doel->appType},
                      {QStringLiteral("Controle doelbestand"), QStringLiteral("Bron: ") + bron->appType}});
            return false;
        }
        m_doelVersie = doel->tekst();
        // Only an old source (before 3.0, or 3.0 itself) can be refused: when the target's major number
        // is at least the source's and its minor number is greater.
        const bool oud = bron->major < 3 || (bron->major == 3 && bron->minor == 0);
        if (!oud || !(doel->major >= bron->major && doel->minor > bron->minor))
            return true;
        MeldFout({{QStringLiteral("Controle doelbestand"),
                   QStringLiteral("Werkvoorbereiding bron/doel zijn van verschillende versies!")},
                  {QStringLiteral("Controle doelbestand"),
                   QStringLiteral("Converteer het bronbestand eerst naar de juiste versie.")},
                  {QStringLiteral("Controle doelbestand"), QStringLiteral("Doel: ") + m_doelVersie},
                  {QStringLiteral("Controle doelbestand"), QStringLiteral("Bron: ") + m_bronVersie}});
        ui().messageBox(QStringLiteral("Combinatie bestandversies Doel/Bron niet ondersteund!") + kCrLf +
                            kCrLf + QStringLiteral("Doel: ") + m_doelVersie + kCrLf +
                            QStringLiteral("Bron: ") + m_bronVersie,
                        MsgBox::OkOnly | MsgBox::Critical, kTitel);
        return false;
    } catch (const std::exception& e) {
        Fout(QString(), e);
        return false;
    }
}

bool clsSyncSHAPES::VersionCheckDoelIs34()
{
    try {
        if (!doelIsSQLite())
            return false;
        RecordsetPtr rs = m_doel->Connection()->openRecordset(QStringLiteral("SELECT * FROM SysDBInfo"));
        return rs && !rs->eof() && NzLong(rs->value(QStringLiteral("VerMajor"))) == 3 &&
               NzLong(rs->value(QStringLiteral("VerMinor"))) == 40;
    } catch (const std::exception& e) {
        Fout(QStringLiteral("VersionCheckDoelIs34"), e);
        return false;
    }
}

bool clsSyncSHAPES::VersionCheckSQLite()
{
    const QString kop = QStringLiteral("Controle bron/doelbestand");
    try {
        if (!m_bron || !m_doel || !m_bron->Connection() || !m_doel->Connection()) {
            MeldFout({{kop, QStringLiteral("Werkvoorbereiding bron- of doelbestand niet te openen!")}});
            return false;
        }
        auto lees = [](clsConnectie& cn, const QString& wie) {
            RecordsetPtr rs = cn.Connection()->openRecordset(QStringLiteral("SELECT * FROM SysDBInfo"));
            if (!rs || rs->eof())
                throw AppError(DbErrorNumber::NoCurrentRecord,
                               wie + QStringLiteral(" bevat geen juiste gegevens in SYSDBINFO."));
            Versie v;
            v.appType = NzString(rs->value(QStringLiteral("AppType")));
            v.major = NzLong(rs->value(QStringLiteral("VerMajor")));
            v.minor = NzLong(rs->value(QStringLiteral("VerMinor")));
            return v;
        };
        const Versie bron = lees(*m_bron, QStringLiteral("Bronbestand"));
        const Versie doel = lees(*m_doel, QStringLiteral("Doelbestand"));
        if (bron.appType != doel.appType) {
            MeldFout({{kop, QStringLiteral("Werkvoorbereiding bron/doel voor verschillende applicaties!")},
                      {kop, QStringLiteral("Bron: ") + bron.appType},
                      {kop, QStringLiteral("Doel: ") + doel.appType}});
            return false;
        }
        if (bron.major != doel.major || bron.minor != doel.minor) {
            MeldFout({{kop, QStringLiteral(
                                "Werkvoorbereiding bron/doel aangeboden versies zijn niet compatibel!")},
                      {kop, QStringLiteral("Bron: ") + bron.appType + QLatin1Char(' ') + bron.tekst()},
                      {kop, QStringLiteral("Doel: ") + doel.appType + QLatin1Char(' ') + doel.tekst()}});
            return false;
        }
        m_formaat35 = doel.major == 3 && doel.minor == 50;
        return true;
    } catch (const std::exception& e) {
        Fout(QStringLiteral("VersionCheckSQLite (Werkvoorbereiding)"), e);
        return false;
    }
}

void clsSyncSHAPES::TelTotaal()
{
    try {
        const QVariant aantal = TelRecords(*m_bron, QStringLiteral("ID"), QStringLiteral("GrooveShape"),
                                           QStringLiteral("Type IN (1,2,3,4)"));
        if (!aantal.isValid()) {
            // TelRecords has shown the error.
            RaiseFoutOpgetreden(1);
            return;
        }
        qint32 totaal = aantal.toInt();
        RaiseVoortgangTotaal(totaal);
    } catch (const std::exception& e) {
        Fout(QString(), e);
    }
}

// The shapes this run copies are the user's selection of groove figures. The copiers of a Jet source let
// every row of a type through when nothing is selected; the run then lists those shapes itself, so that
// the marks of the copier, and with them the child rows, follow every shape it adds.
void clsSyncSHAPES::BepaalSelectie(const QList<qint32>& types)
{
    m_selectie = globals().gColSponningfigurenGeselecteerd;
    for (const std::shared_ptr<clsItem>& item : std::as_const(m_selectie)) {
        if (item) {
            item->RunActie_Toegevoegd = false;
            item->RunActie_Aangepast = false;
        }
    }
    if (m_selectie.isEmpty() && bronIsJet()) {
        QStringList lijst;
        for (qint32 type : types)
            lijst << QString::number(type);
        RecordsetPtr rs = m_bron->Connection()->openRecordset(
            QStringLiteral("SELECT Code FROM GrooveShape WHERE Type IN (%1)")
                .arg(lijst.join(QLatin1Char(','))));
        m_selectie = SelectieVanAlleCodes(*rs);
    }
    m_geselecteerd.clear();
    for (const std::shared_ptr<clsItem>& item : std::as_const(m_selectie)) {
        if (item)
            m_geselecteerd.insert(CodeSleutel(item->Code));
    }
}

bool clsSyncSHAPES::CodeGeselecteerd(const QString& code) const
{
    return m_geselecteerd.contains(CodeSleutel(code));
}

void clsSyncSHAPES::SchrijfTmpSelected()
{
    try {
        VulTmpSelected(*m_bron, m_selectie);
    } catch (const std::exception& e) {
        // Counted and logged without an error window; the child statements then see the codes written.
        const AppError fout = AppError::from(e);
        RaiseVoortgang(QStringLiteral("Error (clsSyncSHAPES.VulTmpSelected): %1-%2")
                           .arg(QString::number(fout.number()), fout.description()),
                       QString());
        RaiseFoutOpgetreden(1);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Groove-shape rows
// ---------------------------------------------------------------------------------------------------------

void clsSyncSHAPES::kopieerVormen(TabelKopieerder& kopieerder, bool vorm35)
{
    kopieerder.SetRunContext(m_run);
    kopieerder.SetOntvanger(&m_relay);
    kopieerder.SkipFieldsCollection << QStringLiteral("ID");
    if (!vorm35)
        kopieerder.SkipFieldsCollection << QStringLiteral("fkCategory");
    kopieerder.strKeyField = QStringLiteral("Code");
    kopieerder.strKeyIsNumeriek = false;
    kopieerder.strIDField = QStringLiteral("ID");
    kopieerder.strFieldOnderdeelFilter = QStringLiteral("Code");
    kopieerder.colFilter = m_selectie;
    kopieerder.NieuweOnderdelenToevoegen = true;
    kopieerder.WijzigingenDoorvoeren = false;
}

void clsSyncSHAPES::Stap(const QString& routine, const QStringList& kopjes, const std::function<void()>& werk)
{
    try {
        for (const QString& kop : kopjes)
            RaiseHuidigeHoofdActie(kop);
        werk();
    } catch (const std::exception& e) {
        Fout(routine, e);
    }
}

void clsSyncSHAPES::SyncSponningFiguren(qint32 type)
{
    Stap(QStringLiteral("SyncSponningFiguren"), {}, [&] {
        RecordsetPtr bron = m_bron->Connection()->openRecordset(
            QStringLiteral("SELECT * FROM GrooveShape  WHERE Type= ") + QString::number(type));
        RecordsetPtr doel = m_doel->Connection()->openRecordset(QStringLiteral("SELECT * FROM GrooveShape"));
        x = std::make_unique<clsImportTabelNaarTabel>();
        kopieerVormen(*x, false);
        x->DeleteLinkedTablesSQL << QStringLiteral("DELETE * FROM GrooveShapeGeom WHERE fkGrooveShape=");
        x->OverzettenRecordSet(bron, doel, *m_bron, *m_doel);
    });
}

// The shapes of a type into an SQLite target through the copier in the member given; the 3.50 layout
// keeps the shape's own data (Data) and no category, and has no geometry rows to delete.
template <typename Kopieerder>
void clsSyncSHAPES::vormenNaarSQLite(std::unique_ptr<Kopieerder>& lid, qint32 type, bool vorm35)
{
    const QString kolommen = vorm35 ? QStringLiteral("ID, Code, Description, Type, Data")
                                    : QStringLiteral("ID, Code, Description, Type, Priority, fkCategory");
    RecordsetPtr bron = m_bron->Connection()->openRecordset(
        (vorm35 ? QStringLiteral("SELECT ") + kolommen : QStringLiteral("SELECT *")) +
        QStringLiteral(" FROM GrooveShape  WHERE Type= ") + QString::number(type));
    lid = std::make_unique<Kopieerder>();
    kopieerVormen(*lid, vorm35);
    if (!vorm35)
        lid->DeleteLinkedTablesSQL << QStringLiteral("DELETE FROM GrooveShapeGeom WHERE fkGrooveShape=");
    lid->OverzettenRecordSet(bron, QStringLiteral("SELECT ") + kolommen + QStringLiteral(" FROM GrooveShape"),
                             QStringLiteral("WHERE Code="), *m_bron, *m_doel);
}

void clsSyncSHAPES::SyncSponningFigurenJETtoSQLite(qint32 type)
{
    Stap(QStringLiteral("SyncSponningFiguren"), {}, [&] { vormenNaarSQLite(xJETtoSQLite, type, false); });
}

void clsSyncSHAPES::SyncSponningFigurenSQLitetoSQLite34(qint32 type)
{
    Stap(QStringLiteral("SyncSponningFigurenSQLitetoSQLite34"), {},
         [&] { vormenNaarSQLite(xSQLitetoSQLite, type, false); });
}

void clsSyncSHAPES::SyncSponningFigurenSQLitetoSQLite35(qint32 type)
{
    Stap(QStringLiteral("SyncSponningFigurenSQLitetoSQLite35"), {},
         [&] { vormenNaarSQLite(xSQLitetoSQLite, type, true); });
}

// ---------------------------------------------------------------------------------------------------------
// Child rows into a Jet target: one statement per table, reading the source by its path
// ---------------------------------------------------------------------------------------------------------

// The rows of a child table of the source's shapes in tmpSelected (the new ones), each added to the
// target shape of the same code.
QString clsSyncSHAPES::jetKindSql(const QString& tabel, const QStringList& kolommen) const
{
    const QString p = m_bron->Connection()->path();
    const DatabaseBackend& doel = *m_doel->Connection();
    QStringList bronKolommen;
    for (const QString& k : kolommen)
        bronKolommen << tabel + QLatin1Char('.') + k;
    return QStringLiteral("INSERT INTO %1 ( fkGrooveShape, %2 )")
               .arg(tabel, kolommen.join(QStringLiteral(", "))) +
           QStringLiteral(" SELECT GrooveShape_Target.ID, ") + bronKolommen.join(QStringLiteral(", ")) +
           QStringLiteral(" ") + QStringLiteral(" FROM GrooveShape AS GrooveShape_Target INNER JOIN (([") +
           p + QStringLiteral("].GrooveShape INNER JOIN [") + p + QStringLiteral("].") + tabel +
           QStringLiteral(" ON GrooveShape.ID = %1.fkGrooveShape) INNER JOIN [").arg(tabel) + p +
           QStringLiteral("].tmpSelected ON ") +
           CodesGelijkOp(doel, QStringLiteral("GrooveShape.Code"),
                          QStringLiteral("tmpSelected.CodeSelected")) +
           QStringLiteral(") ON ") +
           CodesGelijkOp(doel, QStringLiteral("GrooveShape_Target.Code"),
                          QStringLiteral("GrooveShape.Code"));
}

// The nodes of the source's shapes in tmpSelected go to every target geometry row of the same shape code
// and variant. The variants meet as "not 0" on both sides, in the WHERE clause (a Jet join takes no such
// expression), so that a Yes stored as -1 meets one stored as 1.
QString clsSyncSHAPES::jetNodesSql(const QStringList& kolommen) const
{
    const QString p = m_bron->Connection()->path();
    const DatabaseBackend& doel = *m_doel->Connection();
    QStringList bronKolommen;
    for (const QString& k : kolommen)
        bronKolommen << QStringLiteral("GrooveShapeNodes.") + k;
    return QStringLiteral("INSERT INTO GrooveShapeNodes ( fkGrooveShapeGeom, ") +
           kolommen.join(QStringLiteral(", ")) + QStringLiteral(" )") +
           QStringLiteral(" SELECT GrooveShapeGeom_Target.ID, ") + bronKolommen.join(QStringLiteral(", ")) +
           QStringLiteral(" ") + QStringLiteral(" FROM ((([") + p +
           QStringLiteral("].GrooveShape INNER JOIN [") + p +
           QStringLiteral(
               "].GrooveShapeGeom ON GrooveShape.ID = GrooveShapeGeom.fkGrooveShape) INNER JOIN [") +
           p +
           QStringLiteral("].GrooveShapeNodes ON GrooveShapeGeom.ID = GrooveShapeNodes.fkGrooveShapeGeom) "
                          "INNER JOIN [") +
           p + QStringLiteral("].tmpSelected ON ") +
           CodesGelijkOp(doel, QStringLiteral("GrooveShape.Code"),
                          QStringLiteral("tmpSelected.CodeSelected")) +
           QStringLiteral(") INNER JOIN (GrooveShape AS GrooveShape_Target INNER JOIN GrooveShapeGeom AS "
                          "GrooveShapeGeom_Target ON GrooveShape_Target.ID = "
                          "GrooveShapeGeom_Target.fkGrooveShape) ON ") +
           CodesGelijkOp(doel, QStringLiteral("GrooveShape.Code"),
                          QStringLiteral("GrooveShape_Target.Code")) +
           QStringLiteral(" WHERE (GrooveShapeGeom.bContra <> 0) = (GrooveShapeGeom_Target.bContra <> 0)");
}

void clsSyncSHAPES::SyncGrooveShapeGeom()
{
    Stap(QStringLiteral("SyncGrooveShapeGeom"), {QStringLiteral("Overzetten Geometry")}, [this] {
        voerJetVormUit(m_doel->Connection(),
                       jetKindSql(QStringLiteral("GrooveShapeGeom"),
                                  {QStringLiteral("bContra"), QStringLiteral("PreviewWidth"),
                                   QStringLiteral("PreviewHeight")}));
    });
}

// With the angle fields, as far as both files have them.
void clsSyncSHAPES::SyncGrooveShapeNodes2()
{
    Stap(QStringLiteral("SyncGrooveShapeNodes2"), {QStringLiteral("Overzetten Nodes")},
         [this] { voerJetVormUit(m_doel->Connection(), jetNodesSql(nodeKolommen(true))); });
}

void clsSyncSHAPES::SyncGrooveShapeNodes()
{
    Stap(QStringLiteral("SyncGrooveShapeNodes"), {QStringLiteral("Overzetten Nodes")},
         [this] { voerJetVormUit(m_doel->Connection(), jetNodesSql(nodeKolommen(false))); });
}

void clsSyncSHAPES::SyncGrooveShapeNames()
{
    Stap(QStringLiteral("SyncGrooveShapeNames"), {QStringLiteral("Overzetten Namen")}, [this] {
        voerJetVormUit(m_doel->Connection(), jetKindSql(QStringLiteral("GrooveShapeNames"),
                                                        {QStringLiteral("Width"), QStringLiteral("Name")}));
    });
}

// ---------------------------------------------------------------------------------------------------------
// Child rows into an SQLite target: row by row, only where the target parent has none yet
// ---------------------------------------------------------------------------------------------------------

bool clsSyncSHAPES::heeftKolom(const clsConnectie& cn, const QString& tabel, const QString& kolom) const
{
    const DbConnection db = cn.Connection();
    if (!db)
        return false;
    const std::optional<TableSchema> schema = db->tableSchema(tabel);
    return schema && schema->columnIndex(kolom) >= 0;
}

QStringList clsSyncSHAPES::nodeKolommen(bool metHoeken) const
{
    QStringList kolommen = kNodeKolommen;
    if (!metHoeken)
        return kolommen;
    for (const QString& k : kHoekKolommen) {
        if (!heeftKolom(*m_bron, QStringLiteral("GrooveShapeNodes"), k) ||
            !heeftKolom(*m_doel, QStringLiteral("GrooveShapeNodes"), k))
            return kolommen;
    }
    return kolommen + kHoekKolommen;
}

// The source's geometry rows with their shape's code: of the shapes in tmpSelected, or all of them.
QString clsSyncSHAPES::geometrieBronSql(bool viaTmpSelected) const
{
    const QString kolommen = QStringLiteral(
        "SELECT GrooveShape.Code AS Code, GrooveShapeGeom.ID, GrooveShapeGeom.fkGrooveShape, "
        "GrooveShapeGeom.PreviewWidth, GrooveShapeGeom.PreviewHeight, GrooveShapeGeom.bContra");
    if (!viaTmpSelected)
        return kolommen + QStringLiteral(" FROM GrooveShape INNER JOIN GrooveShapeGeom ON GrooveShape.ID = "
                                         "GrooveShapeGeom.fkGrooveShape");
    return kolommen +
           QStringLiteral(" FROM (GrooveShape INNER JOIN GrooveShapeGeom ON GrooveShape.ID = "
                          "GrooveShapeGeom.fkGrooveShape) INNER JOIN tmpSelected ON ") +
           CodesGelijkOp(*m_bron->Connection(), QStringLiteral("GrooveShape.Code"),
                          QStringLiteral("tmpSelected.CodeSelected"));
}

void clsSyncSHAPES::SyncGrooveShapeGeomJETtoSQLite()
{
    Stap(QStringLiteral("SyncGrooveShapeGeomJETtoSQLite"), {QStringLiteral("Overzetten Geometry")},
         [this] { kopieerGeometrieNaarSQLite(geometrieBronSql(true)); });
}

// Every geometry row of the source: this form has no selection test.
void clsSyncSHAPES::SyncGrooveShapeGeomSQLitetoSQLite34()
{
    Stap(QStringLiteral("SyncGrooveShapeGeomSQLitetoSQLite34"), {QStringLiteral("Overzetten Geometry")},
         [this] { kopieerGeometrieNaarSQLite(geometrieBronSql(false)); });
}

// Adds a geometry row for every source row whose shape the target holds without a geometry row of that
// variant. The target's shapes and geometry rows are read once; a row added here counts as present for
// the source rows that follow.
void clsSyncSHAPES::kopieerGeometrieNaarSQLite(const QString& bronSql)
{
    const RecordsetPtr bron = m_bron->Connection()->openRecordset(bronSql);
    const DbConnection doel = m_doel->Connection();

    QHash<QString, QVariant> vormen; // code -> ID of the target shape (the first of that code)
    const RecordsetPtr rsVormen =
        doel->openRecordset(QStringLiteral("SELECT GrooveShape.ID AS GrooveShapeID, GrooveShape.Code AS "
                                           "GrooveShapeCode FROM GrooveShape ORDER BY GrooveShape.ID"));
    for (; !rsVormen->eof(); rsVormen->moveNext()) {
        const QString sleutel = CodeSleutel(NzString(rsVormen->value(1)));
        if (!vormen.contains(sleutel))
            vormen.insert(sleutel, rsVormen->value(0));
    }
    QSet<QString> bestaand;
    const RecordsetPtr rsBestaand = doel->openRecordset(QStringLiteral(
        "SELECT GrooveShape.Code AS GrooveShapeCode, GrooveShapeGeom.bContra FROM GrooveShapeGeom "
        "INNER JOIN GrooveShape ON GrooveShape.ID = GrooveShapeGeom.fkGrooveShape"));
    for (; !rsBestaand->eof(); rsBestaand->moveNext())
        bestaand.insert(geometrieSleutel(NzString(rsBestaand->value(0)), rsBestaand->value(1)));

    const int iCode = bron->fieldIndex(QStringLiteral("Code"));
    const int iContra = bron->fieldIndex(QStringLiteral("bContra"));
    const int iBreedte = bron->fieldIndex(QStringLiteral("PreviewWidth"));
    const int iHoogte = bron->fieldIndex(QStringLiteral("PreviewHeight"));
    Transaction transactie(doel);
    const std::unique_ptr<Statement> toevoegen = doel->prepare(
        QStringLiteral("INSERT INTO GrooveShapeGeom ( fkGrooveShape, bContra, PreviewWidth, PreviewHeight ) "
                       "VALUES ( ?, ?, ?, ? )"));
    for (; !bron->eof(); bron->moveNext()) {
        m_run->yield();
        if (Geannuleerd())
            return; // rolled back: a cancelled run keeps no child rows
        const QString code = NzString(bron->value(iCode));
        const QVariant contra = bron->value(iContra);
        const QString sleutel = geometrieSleutel(code, contra);
        if (bestaand.contains(sleutel))
            continue;
        const auto vorm = vormen.constFind(CodeSleutel(code));
        if (vorm == vormen.cend())
            continue;
        toevoegen->bind(0, *vorm);
        toevoegen->bind(1, contra);
        toevoegen->bind(2, bron->value(iBreedte));
        toevoegen->bind(3, bron->value(iHoogte));
        toevoegen->execute();
        bestaand.insert(sleutel);
        m_nieuweGeometrie.insert(sleutel);
    }
    transactie.commit();
}

void clsSyncSHAPES::SyncGrooveShapeNodes2JETtoSQLite()
{
    Stap(QStringLiteral("SyncGrooveShapeNodes2JETtoSQLite"),
         {QStringLiteral("Overzetten Nodes"), QStringLiteral("Overzetten Nodes")},
         [this] { kopieerNodesNaarSQLite(); });
}

void clsSyncSHAPES::SyncGrooveShapeNodes2SQLitetoSQLite34()
{
    Stap(QStringLiteral("SyncGrooveShapeNodes2SQLitetoSQLite34"), {QStringLiteral("Overzetten Nodes")},
         [this] { kopieerNodesNaarSQLite(); });
}

// A target geometry row that has no nodes when the copy begins receives every source node of its shape
// code and variant, in the source's order; one that has nodes receives none. The source is read ordered
// by code, variant and order number, so that the nodes of one geometry come as one group.
void clsSyncSHAPES::kopieerNodesNaarSQLite()
{
    const QStringList kolommen = nodeKolommen(true);
    QStringList select{QStringLiteral("GrooveShape.Code AS TheCode"),
                       QStringLiteral("GrooveShapeGeom.bContra AS bContra")};
    for (const QString& k : kolommen)
        select << QStringLiteral("GrooveShapeNodes.%1 AS %1").arg(k);
    const RecordsetPtr bron = m_bron->Connection()->openRecordset(
        QStringLiteral("SELECT ") + select.join(QStringLiteral(", ")) +
        QStringLiteral(" FROM GrooveShape INNER JOIN (GrooveShapeGeom INNER JOIN GrooveShapeNodes ON "
                       "GrooveShapeGeom.ID = GrooveShapeNodes.fkGrooveShapeGeom) ON GrooveShape.ID = "
                       "GrooveShapeGeom.fkGrooveShape ORDER BY GrooveShape.Code, GrooveShapeGeom.bContra, "
                       "GrooveShapeNodes.OrderNr"));
    const DbConnection doel = m_doel->Connection();
    QHash<QString, QVariant> geometrie; // shape code and variant -> ID of the target geometry (the first)
    const RecordsetPtr rsGeometrie = doel->openRecordset(QStringLiteral(
        "SELECT GrooveShape.Code AS TheCode, GrooveShapeGeom.bContra, GrooveShapeGeom.ID AS TheID "
        "FROM GrooveShapeGeom INNER JOIN GrooveShape ON GrooveShape.ID = GrooveShapeGeom.fkGrooveShape "
        "ORDER BY GrooveShapeGeom.ID"));
    for (; !rsGeometrie->eof(); rsGeometrie->moveNext()) {
        const QString sleutel = geometrieSleutel(NzString(rsGeometrie->value(0)), rsGeometrie->value(1));
        if (!geometrie.contains(sleutel))
            geometrie.insert(sleutel, rsGeometrie->value(2));
    }
    QSet<QString> metNodes; // geometries with nodes: in the target before, or filled by this copy
    const RecordsetPtr rsNodes = doel->openRecordset(QStringLiteral(
        "SELECT DISTINCT GrooveShape.Code, GrooveShapeGeom.bContra FROM (GrooveShape INNER JOIN "
        "GrooveShapeGeom ON GrooveShape.ID = GrooveShapeGeom.fkGrooveShape) INNER JOIN "
        "GrooveShapeNodes ON GrooveShapeGeom.ID = GrooveShapeNodes.fkGrooveShapeGeom"));
    for (; !rsNodes->eof(); rsNodes->moveNext())
        metNodes.insert(geometrieSleutel(NzString(rsNodes->value(0)), rsNodes->value(1)));

    // The nodes of one geometry go in together: one statement for up to kPerKeer rows.
    constexpr int kPerKeer = 32;
    const QString rijTekens =
        QStringLiteral("( ?") + QStringLiteral(", ?").repeated(kolommen.size()) + QStringLiteral(" )");
    const QString kop = QStringLiteral("INSERT INTO GrooveShapeNodes ( fkGrooveShapeGeom, ") +
                        kolommen.join(QStringLiteral(", ")) + QStringLiteral(" ) VALUES ");
    std::vector<std::unique_ptr<Statement>> opdrachten(kPerKeer + 1); // by the number of rows
    Transaction transactie(doel);
    auto opdracht = [&](int rijen) -> Statement& {
        std::unique_ptr<Statement>& s = opdrachten[size_t(rijen)];
        if (!s) {
            QStringList delen;
            for (int i = 0; i < rijen; ++i)
                delen << rijTekens;
            s = doel->prepare(kop + delen.join(QStringLiteral(", ")));
        }
        return *s;
    };
    const int iCode = bron->fieldIndex(QStringLiteral("TheCode"));
    const int iContra = bron->fieldIndex(QStringLiteral("bContra"));
    QList<int> iKolommen;
    for (const QString& k : kolommen)
        iKolommen << bron->fieldIndex(k);
    const int breedte = int(iKolommen.size()) + 1;
    QVariantList waarden; // the rows gathered for the next statement
    auto schrijf = [&] {
        Statement& s = opdracht(int(waarden.size()) / breedte);
        for (int i = 0; i < waarden.size(); ++i)
            s.bind(i, waarden.at(i));
        s.execute();
        waarden.clear();
    };

    while (!bron->eof()) {
        m_run->yield();
        if (Geannuleerd())
            return; // rolled back: a cancelled run keeps no child rows
        const QString code = NzString(bron->value(iCode));
        const QString sleutel = geometrieSleutel(code, bron->value(iContra));
        const auto doelGeometrie = geometrie.constFind(sleutel);
        const bool gewenst = CodeGeselecteerd(code) || m_nieuweGeometrie.contains(sleutel);
        if (!gewenst || metNodes.contains(sleutel) || doelGeometrie == geometrie.cend()) {
            bron->moveNext();
            continue;
        }
        // This row and every following one of the same shape and variant (the same code as written is the
        // same shape; only another spelling needs the comparison key).
        const bool contra = isJa(bron->value(iContra));
        auto zelfdeGroep = [&] {
            const QString volgende = NzString(bron->value(iCode));
            return isJa(bron->value(iContra)) == contra && ZelfdeCode(volgende, code);
        };
        do {
            waarden << *doelGeometrie;
            for (int i : std::as_const(iKolommen))
                waarden << bron->value(i);
            if (waarden.size() == kPerKeer * breedte)
                schrijf();
            bron->moveNext();
        } while (!bron->eof() && zelfdeGroep());
        if (!waarden.isEmpty())
            schrijf();
        metNodes.insert(sleutel);
    }
    transactie.commit();
}

// A shape without its names would be incomplete: they are copied as between two SQLite files.
void clsSyncSHAPES::SyncGrooveShapeNamesJETtoSQLite()
{
    Stap(QStringLiteral("SyncGrooveShapeNamesJETtoSQLite"), {QStringLiteral("Overzetten Namen")},
         [this] { kopieerNamenNaarSQLite(); });
}

void clsSyncSHAPES::SyncGrooveShapeNamesSQLitetoSQLite34()
{
    Stap(QStringLiteral("SyncGrooveShapeNamesSQLitetoSQLite34"), {QStringLiteral("Overzetten Namen")},
         [this] { kopieerNamenNaarSQLite(); });
}

// The names of a selected shape are added when the target shape had none when the copy began.
void clsSyncSHAPES::kopieerNamenNaarSQLite()
{
    if (Geannuleerd())
        return;
    xSQLitetoSQLite = std::make_unique<clsImportSQLiteTabelNaarSQLiteT>();
    xSQLitetoSQLite->SetRunContext(m_run);
    xSQLitetoSQLite->SetOntvanger(&m_relay);
    const QStringList velden{QStringLiteral("Width"), QStringLiteral("Name")};
    xSQLitetoSQLite->SyncLinkedTable(
        *m_bron, *m_doel,
        QStringLiteral(
            "SELECT GrooveShape.Code AS TheCode, GrooveShapeNames.Width, GrooveShapeNames.Name FROM "
            "GrooveShape INNER JOIN GrooveShapeNames ON GrooveShape.ID = GrooveShapeNames.fkGrooveShape"),
        QStringLiteral("SELECT * FROM GrooveShapeNames"),
        QStringLiteral(
            "SELECT UPPER(GrooveShape.Code) AS TheCode, GrooveShapeNames.ID FROM GrooveShape INNER JOIN "
            "GrooveShapeNames ON GrooveShape.ID = GrooveShapeNames.fkGrooveShape"),
        QStringLiteral("SELECT UPPER(GrooveShape.Code) AS TheCode, GrooveShape.ID AS TheID FROM GrooveShape"),
        m_selectie, QStringLiteral("TheID"), QStringLiteral("fkGrooveShape"), velden, velden);
}

// ---------------------------------------------------------------------------------------------------------
// The list of the groove figures a source holds
// ---------------------------------------------------------------------------------------------------------

bool clsSyncSHAPES::InlezenBestand(const QString& strBronPath, const QString& types)
{
    if (types.isEmpty())
        return false;
    QList<qint32> typeLijst;
    try {
        typeLijst = TypeLijst(types);
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("SponningFigurenDistinct"), e);
        return false;
    }
    bool gelezen = false;
    if (ConnectBron(strBronPath))
        gelezen = bronIsJet() ? SponningFigurenDistinct(typeLijst) : SponningFigurenDistinctSQLite(typeLijst);
    RaiseHuidigeHoofdActieDone();
    return gelezen;
}

bool clsSyncSHAPES::SponningFigurenDistinct(const QList<qint32>& types)
{
    return leesVormen(QStringLiteral("SponningFigurenDistinct"), types);
}

bool clsSyncSHAPES::SponningFigurenDistinctSQLite(const QList<qint32>& types)
{
    return leesVormen(QStringLiteral("SponningFigurenDistinctSQLite"), types);
}

bool clsSyncSHAPES::leesVormen(const QString& routine, const QList<qint32>& types)
{
    try {
        QStringList tekens;
        QVariantList waarden;
        for (qint32 type : types) {
            tekens << QStringLiteral("?");
            waarden << type;
        }
        const RecordsetPtr rs = m_bron->Connection()->openRecordset(
            QStringLiteral(
                "SELECT GrooveShape.ID, GrooveShape.Code, GrooveShape.Description, GrooveShape.Type "
                "From GrooveShape WHERE Type IN (") +
                tekens.join(QStringLiteral(", ")) + QStringLiteral(") ORDER BY GrooveShape.Description"),
            waarden);
        ItemCollection& lijst = colItemsDistinct();
        // A Null where the list needs a value is an error of the source, as is a text where it needs a
        // number.
        auto waarde = [&rs](int kolom) {
            const QVariant v = rs->value(kolom);
            if (v.isNull())
                throw AppError(94,
                               QStringLiteral("Ongeldig gebruik van Null: %1.").arg(rs->column(kolom).name));
            return v;
        };
        auto getal = [&waarde, &rs](int kolom) {
            bool ok = false;
            const qint32 n = waarde(kolom).toInt(&ok);
            if (!ok)
                throw AppError(13, QStringLiteral("Geen geheel getal in %1.").arg(rs->column(kolom).name));
            return n;
        };
        for (; !rs->eof(); rs->moveNext()) {
            auto item = std::make_shared<clsItem>();
            item->ID = getal(0);
            item->Code = waarde(1).toString();
            item->Description = NzString(rs->value(2)); // a shape without a description is still listed
            item->Groep = getal(3);
            lijst.append(item);
        }
        return true;
    } catch (const std::exception& e) {
        ShowError(routine, e);
        return false;
    }
}

} // namespace supplink
