#include "database/clspt.h"

#include "database/criteria.h"

#include "database/databaseroutines.h"
#include "database/doelbestand.h"
#include "database/recordset.h"
#include "platform/jetsql.h"
#include "platform/uiservices.h"
#include "start/sharedroutines.h"

#include <cmath>

namespace supplink {

namespace {

const QString kArtikelGroepUitleg = QStringLiteral(
    "Selecteer een artikelgroep voor nieuw aan te maken artikelen, bestaande artikelen worden niet aangepast "
    "naar deze artikelgroep.");
const QString kLeverancierUitleg = QStringLiteral(
    "Selecteer een leverancier voor nieuw aan te maken artikelen, bestaande artikelen worden niet aangepast "
    "naar deze leverancier.");

// A text cut to what the column holds (its defined size; no limit when the column gives none).
QString passend(const Recordset& recordset, const QString& field, const QString& text)
{
    const int index = recordset.fieldIndex(field);
    const int size = index >= 0 ? recordset.column(index).definedSize : 0;
    return size > 0 && text.size() > size ? text.left(size) : text;
}

} // namespace

clsPT::~clsPT()
{
    Disconnect();
}

bool clsPT::Connect(const QString& path)
{
    try {
        Disconnect();
        cnPT = std::make_shared<clsConnectie>();
        IsSQLServer = false;
        if (IsSQLServerPad(path)) {
            const std::optional<SqlServerVerbinding> description = SqlServerVerbinding::UitPad(path);
            if (!description) {
                ToonFout(
                    QStringLiteral("Verbinden sqlserver niet mogelijk, niet voldoende verbindingsgegevens."));
                Disconnect();
                return false;
            }
            if (cnPT->MakenConnectie(description->server, description->gebruiker, description->wachtwoord,
                                     description->database, !description->NTBeveiliging())) {
                IsSQLServer = true;
                return true;
            }
            ToonFout(QStringLiteral("Verbinden met sqlserver is mislukt!"));
            Disconnect();
            return false;
        }
        if (!cnPT->MakenJetorSQLiteConnectie(path, QString())) {
            ToonFout(QStringLiteral("Openen Produktentabel is mislukt!"));
            Disconnect();
            return false;
        }
        return true;
    } catch (const std::exception& error) {
        ShowError(QString(), error);
    }
    return false;
}

void clsPT::Disconnect()
{
    try {
        if (cnPT)
            cnPT->SluitenConnectie();
    } catch (...) {
        // Closing only releases the handle; a handle that fails to close is dropped just the same.
    }
    cnPT.reset();
}

RecordsetPtr clsPT::OpenSQL(const QString& sql)
{
    const DbConnection db = cnPT ? cnPT->Connection() : nullptr;
    if (!db)
        throw AppError(DbErrorNumber::ObjectClosed,
                       QStringLiteral("Er is geen verbinding met de productentabel."));
    // The statements are written in the Jet dialect; an SQLite product table runs them translated.
    return db->openRecordset(cnPT->isSQLite() ? translateJetSql(sql) : sql);
}

bool clsPT::OpenTabel(QString& table)
{
    try {
        if (IsSQLServer)
            table = QStringLiteral("[PT].[") + table + QLatin1Char(']');
        rsPT = OpenSQL(QStringLiteral("SELECT * FROM ") + table);
        return rsPT != nullptr;
    } catch (const std::exception& error) {
        ShowError(QString(), error);
    }
    return false;
}

bool clsPT::OpenTabel(const QString& table)
{
    QString name = table;
    return OpenTabel(name);
}

bool clsPT::OpenArtikelTabel()
{
    try {
        rsPT = OpenSQL(IsSQLServer ? QStringLiteral("SELECT * FROM [PT].[Article]")
                                   : QStringLiteral("SELECT * FROM Article"));
        return rsPT != nullptr;
    } catch (const std::exception& error) {
        ShowError(QString(), error);
    }
    return false;
}

bool clsPT::OpenArtikelGroepTabel()
{
    try {
        rsArtikelGroep =
            OpenSQL(IsSQLServer ? QStringLiteral("SELECT * FROM [PT].[ArtGroup] ORDER BY [SortOrder]")
                                : QStringLiteral("SELECT * FROM ArtGroup ORDER BY OrderNr"));
        return rsArtikelGroep != nullptr;
    } catch (const std::exception& error) {
        ShowError(QString(), error);
    }
    return false;
}

bool clsPT::OpenLeverancierTabel()
{
    try {
        rsLeverancier = OpenSQL(IsSQLServer ? QStringLiteral("SELECT * FROM [PT].[Supplier] ORDER BY [Code]")
                                            : QStringLiteral("SELECT * FROM Supplier ORDER BY Code"));
        return rsLeverancier != nullptr;
    } catch (const std::exception& error) {
        ShowError(QString(), error);
    }
    return false;
}

qint32 clsPT::HoogsteOrderNrArtGroup()
{
    try {
        const RecordsetPtr rows = OpenSQL(
            IsSQLServer
                ? QStringLiteral(
                      "SELECT TOP 1 [SortOrder] AS OrderNr FROM [PT].[ArtGroup] ORDER BY [SortOrder] Desc")
                : QStringLiteral("SELECT TOP 1 OrderNr FROM ArtGroup ORDER BY OrderNr Desc"));
        if (rows->bof() || rows->eof())
            return 0;
        return NzLong(rows->value(QStringLiteral("OrderNr")));
    } catch (const std::exception& error) {
        ShowError(QString(), error);
    }
    return 0;
}

bool clsPT::BestaatArtikel(clsBvqArtikel& artikel)
{
    try {
        if (!rsPT)
            return false;
        MoveFirstQuiet(rsPT);
        if (!rsPT->find(QStringLiteral("Code='") + SQLQuotes(artikel.ArtCode) + QLatin1Char('\'')))
            return false;
        artikel.pkArticle = NzLong(rsPT->value(QStringLiteral("ID")));
        return true;
    } catch (const std::exception& error) {
        ShowError(QString(), error);
    }
    return false;
}

void clsPT::RecSetArtSetArtGroupID(qint32 id)
{
    try {
        if (rsPT)
            rsPT->setValue(QStringLiteral("fkGroup"), id);
    } catch (const std::exception& error) {
        ShowError(QString(), error);
    }
}

void clsPT::RecSetArtSetSupplierID(qint32 id)
{
    try {
        if (rsPT)
            rsPT->setValue(QStringLiteral("fkSupplier"), id);
    } catch (const std::exception& error) {
        ShowError(QString(), error);
    }
}

bool clsPT::ToevoegenArtikel(clsBvqArtikel& artikel)
{
    try {
        if (!rsPT)
            return false;
        // An article that is there already is updated in place: its key, and every column the record does
        // not hold, stay as they are.
        if (!BestaatArtikel(artikel)) {
            rsPT->addNew();
            rsPT->setValue(QStringLiteral("Code"), passend(*rsPT, QStringLiteral("Code"), artikel.ArtCode));
        }
        rsPT->setValue(QStringLiteral("Description"),
                       passend(*rsPT, QStringLiteral("Description"), artikel.Description));
        rsPT->setValue(QStringLiteral("PriceUnit"), std::round(artikel.PriceUnit * 10000.0) / 10000.0);
        rsPT->setValue(QStringLiteral("OrderCode"),
                       passend(*rsPT, QStringLiteral("OrderCode"), artikel.OrderCode));
        rsPT->setValue(QStringLiteral("fkGroup"), artikel.fkArtGroup);
        rsPT->setValue(QStringLiteral("fkType"), artikel.fkArtType);
        if (artikel.fkSupplier != -1)
            rsPT->setValue(QStringLiteral("fkSupplier"), artikel.fkSupplier);
        const bool added = rsPT->editMode() == Recordset::EditMode::Add;
        rsPT->update();
        if (added)
            artikel.pkArticle = NzLong(rsPT->value(QStringLiteral("ID")));
        return true;
    } catch (const std::exception& error) {
        ShowError(QString(), error);
    }
    return false;
}

bool clsPT::UpdateArtikelPrijs(clsBvqArtikel& artikel)
{
    try {
        if (!BestaatArtikel(artikel))
            return false;
        rsPT->setValue(QStringLiteral("PriceUnit"), std::round(artikel.PriceUnit * 10000.0) / 10000.0);
        rsPT->update();
        return true;
    } catch (const std::exception& error) {
        ShowError(QString(), error);
    }
    return false;
}

bool clsPT::UpdateArtikelGespiegeld(const clsBvqArtikel& gespiegeld)
{
    try {
        if (!rsPT)
            return false;
        const Field field = rsPT->field(QStringLiteral("fkMirroredArticle"));
        if (field.type() == adType::Integer)
            field.setValue(gespiegeld.pkArticle);
        else
            field.setValue(gespiegeld.ArtCode);
        rsPT->update();
        return true;
    } catch (const std::exception& error) {
        ShowError(QString(), error);
    }
    return false;
}

bool clsPT::selecteerUI(const RecordsetPtr& list, const QString& uitleg, const QString& onderdeel,
                        bool metGeen, const QString& lijstFout, qint32& id, bool& geannuleerd)
{
    std::optional<QList<PickOneEntry>> entries =
        KeuzeLijst(list, QStringLiteral("Description"), QStringLiteral("ID"), metGeen);
    if (!entries) {
        ToonFout(lijstFout);
        return false;
    }
    PickOneRequest request;
    request.title = QStringLiteral("Importeren artikelen");
    request.explanation = uitleg;
    request.label = onderdeel;
    request.entries = std::move(*entries);
    if (const std::optional<qint32> chosen = ui().pickOne(request))
        id = *chosen;
    else
        geannuleerd = true;
    return true;
}

bool clsPT::SelecteerArtikelGroepUI(qint32& id, bool& geannuleerd)
{
    id = -1;
    geannuleerd = false;
    try {
        if (!OpenArtikelGroepTabel()) {
            ToonFout(QStringLiteral("Kan artikelgroepen tabel niet openen!"));
            return false;
        }
        return selecteerUI(rsArtikelGroep, kArtikelGroepUitleg, QStringLiteral("Artikelgroep:"), false,
                           QStringLiteral("Lijst met artikelgroepen kan niet worden gevuld!"), id,
                           geannuleerd);
    } catch (const std::exception& error) {
        ShowError(QString(), error);
    }
    return false;
}

bool clsPT::SelecteerLeverancierUI(qint32& id, bool& geannuleerd)
{
    id = -1;
    geannuleerd = false;
    try {
        if (!OpenLeverancierTabel()) {
            ToonFout(QStringLiteral("Kan leveranciers tabel niet openen!"));
            return false;
        }
        return selecteerUI(rsLeverancier, kLeverancierUitleg, QStringLiteral("Leverancier:"), true,
                           QStringLiteral("Lijst met leveranciers kan niet worden gevuld!"), id, geannuleerd);
    } catch (const std::exception& error) {
        ShowError(QString(), error);
    }
    return false;
}

void clsPT::MoveFirstQuiet(const RecordsetPtr& recordset)
{
    try {
        if (recordset)
            recordset->moveFirst();
    } catch (...) {
        // Only positions the list for the chooser; a recordset that cannot move shows from where it stands.
    }
}

bool clsPT::BestaatUniekeWaarde(const QString& field, const QString& value, bool numeric, bool fromNext)
{
    const auto missingField = [&]() {
        ToonFout(QStringLiteral("Veld '") + field +
                 QStringLiteral("' niet gevonden in doel database! Corrigeer de importeer definitie."));
    };
    try {
        if (!rsPT)
            throw AppError(DbErrorNumber::ObjectClosed, QStringLiteral("Er is geen tabel geopend."));
        if (fromNext) {
            if (!rsPT->eof())
                rsPT->moveNext();
        } else {
            MoveFirstQuiet(rsPT);
        }
        if (!rsPT->hasField(field)) {
            missingField();
            return false;
        }
        // Made in code, not written out and parsed again: this runs once or more for every line of a file.
        if (std::optional<Criteria> criterion = Criteria::equalTo(field, value, numeric))
            return rsPT->find(std::move(*criterion));
        // A "number" that is none: as the written criterion reads it.
        rsPT->find(field + QLatin1Char('=') + value);
        return !rsPT->eof();
    } catch (const AppError& error) {
        if (error.number() == DbErrorNumber::ItemNotFound) {
            missingField();
            return false;
        }
        ShowError(QString(), error);
    } catch (const std::exception& error) {
        ShowError(QString(), error);
    }
    return false;
}

bool clsPT::BestaatRegel(const QString& filter)
{
    try {
        if (!rsPT)
            throw AppError(DbErrorNumber::ObjectClosed, QStringLiteral("Er is geen tabel geopend."));
        MoveFirstQuiet(rsPT);
        rsPT->setFilter(filter);
        return !(rsPT->bof() || rsPT->eof());
    } catch (const std::exception& error) {
        ShowError(QString(), error);
    }
    return false;
}

} // namespace supplink
