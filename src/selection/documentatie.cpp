#include "selection/documentatie.h"

#include "database/clsconnectie.h"
#include "database/criteria.h"
#include "database/recordset.h"
#include "selection/informatiepaneel.h"
#include "start/errors.h"
#include "start/globals.h"
#include "start/leverancier.h"
#include "start/sharedroutines.h"

#include <QDir>
#include <QFileInfo>

namespace supplink {

namespace {

constexpr int kLinkParen = 3;

QString Kolom(const Recordset& rs, int kolom)
{
    return kolom < rs.fieldCount() ? NzString(rs.value(kolom)) : QString();
}

} // namespace

DocumentatieStaat::~DocumentatieStaat()
{
    Sluiten();
}

void DocumentatieStaat::Sluiten()
{
    NietBeschikbaar = false;
    Geladen = false;
    if (Recordset) {
        Recordset->close();
        Recordset.reset();
    }
    if (Connectie) {
        Connectie->SluitenConnectie();
        Connectie.reset();
    }
}

QString DocumentatieBestand(const QString& lijstNaam)
{
    const std::shared_ptr<clsLeverancier> leverancier = globals().gLeverancier;
    if (!leverancier || leverancier->MainFolder.isEmpty() || lijstNaam.isEmpty())
        return QString();
    const QDir map(leverancier->MainFolder);
    const QString naam = lijstNaam + QStringLiteral(".xls");
    if (QFileInfo(map.filePath(naam)).isFile())
        return map.filePath(naam);
    // Supplier folders made on Windows may spell the name in another case.
    for (const QString& bestand : map.entryList(QDir::Files)) {
        if (bestand.compare(naam, Qt::CaseInsensitive) == 0)
            return map.filePath(bestand);
    }
    return QString();
}

bool ReadInfo(const QString& path, RecordsetPtr& recordset, std::shared_ptr<clsConnectie>& connectie)
{
    try {
        connectie = std::make_shared<clsConnectie>();
        if (!connectie->MakenExcelConnectie(path, true))
            return false;
        const DbConnection db = connectie->Connection();
        const QStringList tabellen = db->tableNames();
        if (tabellen.isEmpty())
            return false;
        recordset = db->openRecordset(QStringLiteral("SELECT * FROM ") + db->quoteIdentifier(tabellen.first()));
        if (recordset->eof())
            return false;
        if (!recordset->hasField(QStringLiteral("CODE")))
            throw AppError(ErrorNumber::InputError,
                           QStringLiteral("Het documentatiebestand \"%1\" heeft geen kolom CODE.").arg(path));
        return true;
    } catch (const std::exception& fout) {
        ShowError(QStringLiteral("ReadInfo"), fout);
        return false;
    }
}

bool ShowInfo(const QString& code, const QString& lijstNaam, DocumentatieStaat& staat, InformatiePaneel& paneel)
{
    if (staat.NietBeschikbaar)
        return false;
    try {
        if (!staat.Geladen) {
            const QString pad = DocumentatieBestand(lijstNaam);
            if (pad.isEmpty() || !ReadInfo(pad, staat.Recordset, staat.Connectie)) {
                staat.Sluiten();
                staat.NietBeschikbaar = true;
                return false;
            }
            staat.Geladen = true;
            staat.Map = QFileInfo(pad).absolutePath();
        }
        // Documents named by a relative path lie beside the workbook.
        paneel.setBasisMap(staat.Map);
        paneel.ClearLinks();
        Recordset& rs = *staat.Recordset;
        rs.moveFirst();
        const std::optional<Criteria> criterium = Criteria::equalTo(QStringLiteral("CODE"), code, false);
        if (!criterium || !rs.find(*criterium))
            return false;
        paneel.SetOmschrijvingTekst(Kolom(rs, 1));
        for (int link = 0; link < kLinkParen; ++link)
            paneel.SetLink(Kolom(rs, 2 + 2 * link), Kolom(rs, 3 + 2 * link));
        return true;
    } catch (const std::exception& fout) {
        ShowError(QStringLiteral("ShowInfo"), fout);
        return false;
    }
}

} // namespace supplink
