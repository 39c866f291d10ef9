#include "import/artikelsleutels.h"

#include "database/clsconnectie.h"
#include "database/clspt.h"
#include "database/recordset.h"
#include "platform/codecompare.h"
#include "platform/uiservices.h"
#include "start/errors.h"
#include "start/globals.h"
#include "start/sharedroutines.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <limits>

namespace supplink {

namespace {

constexpr int kTypeInteger = 3;
// Every code of the form "first 7 characters + three digits".
constexpr int kMogelijkeCodes = 1000;

bool isTabel(const QString& tabel, const char* naam)
{
    return tabel.compare(QLatin1String(naam), Qt::CaseInsensitive) == 0;
}

QString kolomOfLeeg(const ArtikelRegel& regel, qint32 positie)
{
    return positie >= 1 && positie <= regel.size() ? regel.at(positie - 1) : QString();
}

QString crlf()
{
    return QStringLiteral("\r\n");
}

// The select of a foreign-key lookup, in the dialect of the product table.
QString zoekOpdracht(bool sqlServer, const QString& tabel, const QString& zoekVeld,
                     const QString& sleutelVeld, bool leverancierAlsOid)
{
    if (!sqlServer)
        return QStringLiteral("SELECT ") + sleutelVeld + QStringLiteral(" FROM ") + tabel +
               QStringLiteral(" WHERE ") + zoekVeld + QStringLiteral(" = ?");
    const QString kolom = leverancierAlsOid && isTabel(tabel, "SUPPLIER")
                              ? QStringLiteral("Oid AS [") + sleutelVeld + QLatin1Char(']')
                              : QLatin1Char('[') + sleutelVeld + QLatin1Char(']');
    return QStringLiteral("SELECT ") + kolom + QStringLiteral(" FROM [PT].[") + tabel +
           QStringLiteral("] WHERE [") + zoekVeld + QStringLiteral("] = ?");
}

// A number as the filter language writes it (with "." as decimal sign); none for any other text.
bool isFilterGetal(const QString& tekst)
{
    static const QRegularExpression getal(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?$"));
    return getal.match(tekst).hasMatch();
}

// A number in the filter language's form: "." as decimal sign, as short as it reads back exactly.
QString getalTekst(double getal)
{
    return QString::number(getal, 'g', QLocale::FloatingPointShortest);
}

} // namespace

ArtikelSleutels::ArtikelSleutels(clsPT& pt, const ArtikelImportPlan& plan, ImportMelder& melder)
    : m_pt(pt), m_plan(plan), m_melder(melder)
{
}

DbConnection ArtikelSleutels::verbinding() const
{
    DbConnection db = m_pt.cnPT ? m_pt.cnPT->Connection() : nullptr;
    if (!db)
        throw AppError(DbErrorNumber::ObjectClosed,
                       QStringLiteral("Er is geen verbinding met de productentabel."));
    return db;
}

QString ArtikelSleutels::NieuweCode(const QString& tekst)
{
    if (tekst.size() <= 10)
        return tekst;
    QString code = tekst.left(7);
    for (int i = 0; i < 3; ++i) {
        const int cijfer = m_cijferBron ? m_cijferBron() : int(QRandomGenerator::global()->bounded(10));
        code += QChar(u'0' + qBound(0, cijfer, 9));
    }
    return code;
}

QString ArtikelSleutels::ZoekForeignKey(const QString& tabel, const QString& zoekVeld,
                                        const QString& sleutelVeld, const QString& tekst)
{
    try {
        const DbConnection db = verbinding();
        std::optional<QString> inTabel;
        if (zoekInTabel(db, tabel, zoekVeld, sleutelVeld, tekst, inTabel))
            return inTabel.value_or(QString());
        const QString cacheSleutel = QStringList{tabel, zoekVeld, sleutelVeld, tekst}.join(QChar(0x1f));
        const auto bekend = m_gevondenSleutels.constFind(cacheSleutel);
        if (bekend != m_gevondenSleutels.cend())
            return *bekend;
        const std::optional<ResultData> rijen = db->run(
            zoekOpdracht(m_pt.IsSQLServer, tabel, zoekVeld, sleutelVeld, true) + db->codeCollate(), {tekst});
        const QString sleutel = rijen ? NzString(rijen->firstValue()) : QString();
        // Only found keys are kept: a row that is missing now may be made by a later line.
        if (!sleutel.isEmpty())
            m_gevondenSleutels.insert(cacheSleutel, sleutel);
        return sleutel;
    } catch (const std::exception& e) {
        ShowError(QString(), e);
        m_melder.TelFout();
    }
    return QString();
}

bool ArtikelSleutels::VerwerkForeignKey(const QString& tabel, const QString& zoekVeld,
                                        const QString& sleutelVeld, const QString& doelVeld,
                                        const QString& tekst)
{
    try {
        QString sleutel = ZoekForeignKey(tabel, zoekVeld, sleutelVeld, tekst);
        if (isTabel(tabel, "GENERICPROFILE") && !tekst.isEmpty() && sleutel.isEmpty()) {
            // Generic profiles are never made here: the article waits for its profile.
            m_melder.Voortgang(QStringLiteral("Artikelen overgeslagen voor profielcode:"), tekst);
            return false;
        }
        if (sleutel.isEmpty()) {
            if (tekst.trimmed().isEmpty())
                return false;
            sleutel = MaakForeignKey(tabel, zoekVeld, sleutelVeld, doelVeld, tekst);
            if (sleutel.isEmpty()) {
                ui().messageBox(QStringLiteral("Automatisch aanmaken foreign key niet gelukt!") + crlf() +
                                    crlf() +
                                    QStringList{tabel, zoekVeld, sleutelVeld, doelVeld, tekst}.join(u'-'),
                                MsgBox::OkOnly, QString::fromUtf8(kProgramTitle));
                m_melder.TelFout();
                return false;
            }
        }
        m_pt.rsPT->setValue(doelVeld, sleutel);
        return true;
    } catch (const std::exception& e) {
        ShowError(QString(), e);
        m_melder.TelFout();
    }
    return false;
}

bool ArtikelSleutels::zoekInTabel(const DbConnection& db, const QString& tabel, const QString& zoekVeld,
                                  const QString& sleutelVeld, const QString& tekst,
                                  std::optional<QString>& sleutel)
{
    sleutel.reset();
    if (m_pt.IsSQLServer || db->codeCollate().isEmpty())
        return false;
    const QString naam = QStringList{tabel, zoekVeld, sleutelVeld}.join(QChar(0x1f)).toLower();
    auto gevonden = m_opzoektabellen.find(naam);
    if (gevonden == m_opzoektabellen.end()) {
        // Only a text field is matched here; a number field is compared as a number by the statement.
        const std::optional<TableSchema> schema = db->tableSchema(tabel);
        const int kolom = schema ? schema->columnIndex(zoekVeld) : -1;
        const bool tekstVeld = kolom >= 0 && (schema->columns.at(kolom).type == adType::VarWChar ||
                                              schema->columns.at(kolom).type == adType::LongVarWChar);
        gevonden = m_opzoektabellen.insert(naam, Opzoektabel{{}, 0, tekstVeld, false});
    }
    Opzoektabel& opzoek = *gevonden;
    if (!opzoek.tekstVeld)
        return false;
    const QString code = foldCode(tekst);
    if (const auto bekend = opzoek.sleutels.constFind(code); bekend != opzoek.sleutels.cend()) {
        sleutel = *bekend;
        return true;
    }
    // Not known yet: the rows added since the last reading (by this run or by the article writer) may
    // hold it. The rowid keeps that reading to the new rows.
    std::optional<ResultData> rijen;
    try {
        rijen =
            db->run(QStringLiteral("SELECT rowid, ") + zoekVeld + QStringLiteral(", ") + sleutelVeld +
                        QStringLiteral(" FROM ") + tabel + QStringLiteral(" WHERE rowid > ? ORDER BY rowid"),
                    {opzoek.gelezen ? opzoek.laatsteRij : std::numeric_limits<qint64>::min()});
    } catch (const std::exception&) {
        // A table without rowids: the statement compares (reporting its own failure, if any).
        opzoek.tekstVeld = false;
        return false;
    }
    opzoek.gelezen = true;
    if (rijen) {
        for (qsizetype i = 0; i < rijen->rowCount(); ++i) {
            const QVariant* rij = rijen->rows.row(i);
            opzoek.laatsteRij = qMax(opzoek.laatsteRij, rij[0].toLongLong());
            if (!rij[1].isValid() || rij[1].isNull())
                continue;
            const QString waarde = foldCode(NzString(rij[1]));
            if (!opzoek.sleutels.contains(waarde)) // the first row of a code is the one meant
                opzoek.sleutels.insert(waarde, NzString(rij[2]));
        }
    }
    if (const auto bekend = opzoek.sleutels.constFind(code); bekend != opzoek.sleutels.cend())
        sleutel = *bekend;
    return true;
}

QString ArtikelSleutels::MaakForeignKey(const QString& tabel, const QString& zoekVeld,
                                        const QString& sleutelVeld, const QString& /*doelVeld*/,
                                        const QString& tekst)
{
    if (isTabel(tabel, "GENERICPROFILE"))
        return QString();
    try {
        const DbConnection db = verbinding();
        const QString code = NieuweCode(tekst);
        if (code != tekst) {
            // A drawn code that another row already carries is drawn again.
            QString getrokken = code;
            for (int poging = 1;
                 !ZoekForeignKey(tabel, QStringLiteral("Code"), sleutelVeld, getrokken).isEmpty(); ++poging) {
                if (poging >= 4 * kMogelijkeCodes)
                    return QString();
                getrokken = NieuweCode(tekst);
            }
            return voegForeignKeyRijToe(db, tabel, zoekVeld, sleutelVeld, getrokken, tekst);
        }
        // A code that is the text itself: a row that carries it already is the row meant.
        const QString bestaand = ZoekForeignKey(tabel, QStringLiteral("Code"), sleutelVeld, code);
        if (!bestaand.isEmpty())
            return bestaand;
        return voegForeignKeyRijToe(db, tabel, zoekVeld, sleutelVeld, code, tekst);
    } catch (const std::exception& e) {
        ShowError(QString(), e);
        m_melder.TelFout();
    }
    return QString();
}

QString ArtikelSleutels::voegForeignKeyRijToe(const DbConnection& db, const QString& tabel,
                                              const QString& zoekVeld, const QString& sleutelVeld,
                                              const QString& code, const QString& tekst)
{
    const bool sqlServer = m_pt.IsSQLServer;
    const bool zoekOpCode = zoekVeld.compare(QLatin1String("Code"), Qt::CaseInsensitive) == 0;
    // Both supplier rows or neither.
    Transaction transactie(db);
    if (isTabel(tabel, "ARTGROUP")) {
        const qint32 volgorde = m_pt.HoogsteOrderNrArtGroup() + 1;
        const QString sql =
            sqlServer ? QStringLiteral("INSERT INTO [PT].[") + tabel +
                            QStringLiteral("] ([SortOrder], [fkBitmap], [Code]") +
                            (zoekOpCode ? QString() : QStringLiteral(", [") + zoekVeld + QLatin1Char(']')) +
                            QStringLiteral(") VALUES (?, 1, ?") +
                            (zoekOpCode ? QString() : QStringLiteral(", ?")) + QLatin1Char(')')
                      : QStringLiteral("INSERT INTO ") + tabel + QStringLiteral(" (OrderNr, fkBitmap, Code") +
                            (zoekOpCode ? QString() : QStringLiteral(", ") + zoekVeld) +
                            QStringLiteral(") VALUES (?, 1, ?") +
                            (zoekOpCode ? QString() : QStringLiteral(", ?")) + QLatin1Char(')');
        QVariantList waarden{volgorde, code};
        if (!zoekOpCode)
            waarden << tekst;
        db->execute(sql, waarden);
    } else if (isTabel(tabel, "COLORS")) {
        db->execute(sqlServer ? QStringLiteral("INSERT INTO [PT].[") + tabel +
                                    QStringLiteral("] ([Code], [Description]) VALUES (?, ?)")
                              : QStringLiteral("INSERT INTO ") + tabel +
                                    QStringLiteral(" (Code, Description) VALUES (?, ?)"),
                    {code, tekst});
    } else if (sqlServer && isTabel(tabel, "SUPPLIER")) {
        // A supplier on the server is an organisation with a vendor role.
        db->execute(QStringLiteral("INSERT INTO [CRM].Organization ( [SearchName], [Name] ) VALUES (?, ?)"),
                    {code, tekst});
        db->execute(QStringLiteral("INSERT INTO [CRM].Vendor (fkOrganization, eVendorType) "
                                   " SELECT [CRM].Organization.Oid, 1 as EnumOPObjectType FROM "
                                   "[CRM].Organization  WHERE [CRM].Organization.SearchName = ?"),
                    {code});
    } else if (zoekOpCode) {
        db->execute(sqlServer ? QStringLiteral("INSERT INTO [PT].[") + tabel +
                                    QStringLiteral("] ([Code]) VALUES (?)")
                              : QStringLiteral("INSERT INTO ") + tabel + QStringLiteral(" (Code) VALUES (?)"),
                    {code});
    } else {
        db->execute(sqlServer
                        ? QStringLiteral("INSERT INTO [PT].[") + tabel + QStringLiteral("] ([Code], [") +
                              zoekVeld + QStringLiteral("]) VALUES (?, ?)")
                        : QStringLiteral("INSERT INTO ") + tabel + QStringLiteral(" (Code, ") + zoekVeld +
                              QStringLiteral(") VALUES (?, ?)"),
                    {code, tekst});
    }
    transactie.commit();
    return ZoekForeignKey(tabel, QStringLiteral("Code"), sleutelVeld, code);
}

bool ArtikelSleutels::MaakLinksRechtsVerwijzingen(const ArtikelRegel& regel)
{
    const RecordsetPtr rs = m_pt.rsPT;
    try {
        const PlanVeld* verwijzing = m_plan.Verwijzing();
        if (!verwijzing)
            return false;
        const QString& verwijsVeld = verwijzing->doel;
        const QString& matchVeld = verwijzing->decimaalTeken; // argument 9 of a reference line
        const QString& sleutelVeld = verwijzing->sleutelVeld;
        const bool numeriek = verwijzing->numeriek;
        if (verwijsVeld.isEmpty() || matchVeld.isEmpty())
            return false;

        const auto& velden = m_plan.Velden();
        QString eigenCode;
        QString partnerCode;
        for (qint32 positie = 1; positie <= velden.size(); ++positie) {
            const QString& doel = velden.at(positie - 1).doel;
            if (doel == matchVeld)
                eigenCode = kolomOfLeeg(regel, positie);
            if (doel == verwijsVeld)
                partnerCode = kolomOfLeeg(regel, positie);
        }
        // A line without a mirrored article links nothing (an empty code names no article).
        if (partnerCode.isEmpty() || eigenCode.isEmpty())
            return true;

        if (!m_pt.BestaatUniekeWaarde(matchVeld, partnerCode, numeriek, false))
            return true;
        const QString partnerSleutel = NzString(rs->value(sleutelVeld));
        if (!m_pt.BestaatUniekeWaarde(matchVeld, eigenCode, numeriek, false))
            return true;
        QString eigenVerwijzing;
        if (rs->field(verwijsVeld).type() == kTypeInteger) {
            rs->setValue(verwijsVeld, partnerSleutel);
            eigenVerwijzing = NzString(rs->value(sleutelVeld));
        } else {
            rs->setValue(verwijsVeld, partnerCode);
            eigenVerwijzing = NzString(rs->value(matchVeld));
        }
        rs->update();
        if (m_pt.BestaatUniekeWaarde(matchVeld, partnerCode, numeriek, false)) {
            rs->setValue(verwijsVeld, eigenVerwijzing);
            rs->update();
        }
        return true;
    } catch (const std::exception& e) {
        // Dropping the pending changes never fails.
        if (rs)
            rs->cancelUpdate();
        m_melder.Stop();
        ShowError(QString(), e);
        m_melder.TelFout();
    }
    return false;
}

std::optional<QString> ArtikelSleutels::UniekeRegelFilter(const ArtikelRegel& regel)
{
    try {
        const ScriptRegelPtr& sleutel = m_plan.UniekeRegelSleutel();
        // The type of a field of the open table (a decimal field when the table lacks it).
        const auto veldType = [this](const QString& naam) {
            return m_pt.rsPT && m_pt.rsPT->hasField(naam) ? m_pt.rsPT->field(naam).type() : adType::Double;
        };
        QStringList termen;
        const auto& velden = m_plan.Velden();
        for (qint32 positie = 1; positie <= velden.size(); ++positie) {
            const PlanVeld& veld = velden.at(positie - 1);
            const QString& doel = veld.doel;
            const QString tekst = kolomOfLeeg(regel, positie);
            if (sleutel && ArgumentOfLeeg(*sleutel, 4) == doel) {
                const QString tabel = Argument(*sleutel, 1);
                const QString zoekVeld = Argument(*sleutel, 2);
                const QString sleutelVeld = Argument(*sleutel, 3);
                const DbConnection db = m_pt.cnPT ? m_pt.cnPT->Connection() : nullptr;
                std::optional<ResultData> rijen;
                std::optional<QString> gevonden;
                bool opgezocht = false;
                try {
                    if (db && zoekInTabel(db, tabel, zoekVeld, sleutelVeld, tekst, gevonden))
                        opgezocht = true;
                    else if (db)
                        rijen = db->run(zoekOpdracht(m_pt.IsSQLServer, tabel, zoekVeld, sleutelVeld, false) +
                                            db->codeCollate(),
                                        {tekst});
                } catch (const std::exception& e) {
                    ShowError(QString(), e);
                    m_melder.TelFout();
                }
                if (!rijen && !opgezocht) {
                    ui().messageBox(QStringLiteral("Fout in FOREIGNKEY"), MsgBox::OkOnly,
                                    QString::fromUtf8(kProgramTitle));
                    return std::nullopt;
                }
                if (opgezocht ? !gevonden.has_value() : rijen->rowCount() == 0) {
                    ui().messageBox(tekst + QStringLiteral(" niet gevonden via SELECT ") + sleutelVeld +
                                        QStringLiteral(" FROM ") + tabel + QStringLiteral(" WHERE ") +
                                        zoekVeld + QStringLiteral("='") + tekst + QLatin1Char('\''),
                                    MsgBox::OkOnly, QString::fromUtf8(kProgramTitle));
                    return std::nullopt;
                }
                const QString waarde = opgezocht ? *gevonden : NzString(rijen->firstValue());
                termen << ArgumentOfLeeg(*sleutel, 4) + QLatin1Char('=') +
                              (isFilterGetal(waarde)
                                   ? waarde
                                   : QLatin1Char('\'') + SQLQuotes(waarde) + QLatin1Char('\''));
                continue;
            }
            if (!veld.geenPrijs)
                continue; // a price field
            // A number as the writer stores it: "12,5" in a centimetre column is 125 (rounded when the
            // field holds whole numbers), "2,5" elsewhere 2.5.
            const std::optional<double> getal =
                veld.numeriek ? LeesGetal(tekst, veld.maalTien ? 1 : 0) : std::nullopt;
            if (getal && veld.maalTien)
                termen << doel + QLatin1Char('=') + getalTekst(MaalTien(tekst, veldType(doel)).toDouble());
            else if (getal)
                termen << doel + QLatin1Char('=') + getalTekst(*getal);
            else
                // Also a numeric column whose text is no number: compared as text, so it cannot
                // change the filter itself.
                termen << doel + QStringLiteral("='") + SQLQuotes(tekst) + QLatin1Char('\'');
        }
        // A plan that names no field would match every article.
        if (termen.isEmpty())
            return std::nullopt;
        return termen.join(QStringLiteral(" AND "));
    } catch (const std::exception& e) {
        ShowError(QString(), e);
        m_melder.TelFout();
    }
    return std::nullopt;
}

} // namespace supplink
