#include "sync/tmpselected.h"

#include "database/clsconnectie.h"
#include "database/recordset.h"
#include "platform/codecompare.h"
#include "start/errors.h"
#include "start/sharedroutines.h"

#include <QSet>

namespace supplink {

void VulTmpSelected(clsConnectie& bron, const ItemCollection& items)
{
    bron.ExecuteSilent(QStringLiteral("DROP TABLE tmpSelected"));
    bron.ExecuteSilent(QStringLiteral(" CREATE TABLE tmpSelected ( CodeSelected TEXT(255) )"));
    const DbConnection db = bron.Connection();
    if (!db)
        throw AppError(91, QStringLiteral("Er is geen verbinding met de bron."));
    // One transaction for all rows: a commit per row costs a disk flush each.
    Transaction transaction(db);
    std::unique_ptr<Statement> insert =
        db->prepare(QStringLiteral("INSERT INTO tmpSelected ( CodeSelected ) VALUES ( ? )"));
    for (const std::shared_ptr<clsItem>& item : items) {
        if (!item || !(item->RunActie_Toegevoegd || item->RunActie_Aangepast))
            continue;
        insert->bind(0, item->Code);
        insert->execute();
    }
    transaction.commit();
}

ItemCollection SelectieVanAlleCodes(Recordset& rijen)
{
    ItemCollection selectie;
    QSet<QString> gezien;
    for (; !rijen.eof(); rijen.moveNext()) {
        const QString code = NzString(rijen.value(0));
        const QString sleutel = foldCode(code); // one item per code, however it is spelled
        if (gezien.contains(sleutel))
            continue;
        gezien.insert(sleutel);
        auto item = std::make_shared<clsItem>();
        item->Code = code;
        item->Selected = true;
        selectie << item;
    }
    return selectie;
}

} // namespace supplink
