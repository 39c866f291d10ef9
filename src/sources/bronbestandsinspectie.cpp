#include "sources/bronbestandsinspectie.h"

#include "database/clsconnectie.h"
#include "database/recordset.h"
#include "sources/tekstbestand.h"
#include "start/csvsplit.h"
#include "start/sharedroutines.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <algorithm>
#include <cmath>
#include <limits>

namespace supplink {

namespace {

constexpr int kTeLezenBytes = 100;

// The signatures sit at the start of the file: a Jet file starts with 00 01 00 00 and
// "Standard Jet DB", an SQLite file with "SQLite format 3" and a zero byte.
const QByteArray kJetHandtekening("\x00\x01\x00\x00Standard Jet DB", 19);
const QByteArray kSQLiteHandtekening("SQLite format 3\0", 16);
const QByteArray kZipHandtekening("PK\x03\x04");

// The first field of a line as the line splitter gives it; no value when the line does not split.
std::optional<QString> eersteVeld(QStringView regel, bool quoted, qint32* kolommen = nullptr)
{
    bool ok = false;
    QString fout;
    const std::optional<QStringList> velden = SplitCSVRegel(regel, ok, fout, !quoted);
    if (!ok || !velden || velden->isEmpty())
        return std::nullopt;
    if (kolommen)
        *kolommen = qint32(velden->size());
    return velden->first();
}

// The workbook's tables in name order, as the Excel engine's schema lists them.
QStringList werkbladTabellen(const DbConnection& db)
{
    QStringList namen = db->tableNames();
    std::stable_sort(namen.begin(), namen.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return namen;
}

// Reads the version record through an open connection.
void leesDBInfo(clsConnectie& cn, bool& opened, QString& appType, QString& dbType, qint32& verMajor,
                qint32& verMinor)
{
    const DbConnection db = cn.Connection();
    if (!db)
        return;
    const RecordsetPtr rs = db->openRecordset(QStringLiteral("SELECT * FROM SysDBInfo"));
    if (!rs->eof()) {
        dbType = NzString(rs->value(QStringLiteral("DBType")));
        const std::optional<qint32> major = NaarLong(rs->value(QStringLiteral("VerMajor")));
        if (!major)
            return;
        verMajor = *major;
        const std::optional<qint32> minor = NaarLong(rs->value(QStringLiteral("VerMinor")));
        if (!minor)
            return;
        verMinor = *minor;
        const int veld = rs->fieldIndex(QStringLiteral("AppType"));
        if (veld < 0)
            return;
        for (; !rs->eof(); rs->moveNext()) {
            if (!appType.isEmpty())
                appType += QLatin1Char('|');
            appType += NzString(rs->value(veld));
        }
    }
    opened = true;
    rs->close();
}

} // namespace

std::optional<qint32> NaarLong(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    double getal = 0;
    if (value.typeId() == QMetaType::QString) {
        const QString tekst = value.toString().trimmed();
        bool ok = false;
        const qlonglong geheel = tekst.toLongLong(&ok);
        if (ok) {
            if (geheel < std::numeric_limits<qint32>::min() || geheel > std::numeric_limits<qint32>::max())
                return std::nullopt;
            return qint32(geheel);
        }
        getal = tekst.toDouble(&ok);
        if (!ok)
            return std::nullopt;
    } else {
        bool ok = false;
        getal = value.toDouble(&ok);
        if (!ok)
            return std::nullopt;
    }
    if (!std::isfinite(getal))
        return std::nullopt;
    const double afgerond = std::nearbyint(getal); // half to even
    if (afgerond < double(std::numeric_limits<qint32>::min()) ||
        afgerond > double(std::numeric_limits<qint32>::max()))
        return std::nullopt;
    return qint32(afgerond);
}

qint32 BepaalBestandsType(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return BestandsType::Tekst;
    const QByteArray begin = file.read(kTeLezenBytes);
    if (begin.isEmpty())
        return BestandsType::Leeg;

    if (begin.startsWith(kJetHandtekening))
        return BestandsType::Jet;
    if (begin.startsWith(kSQLiteHandtekening))
        return BestandsType::SQLite;
    // A workbook of Excel 2007 and later is a zip package, whose compressed bytes look printable.
    if (begin.startsWith(kZipHandtekening))
        return BestandsType::Binair;

    int stuurtekens = 0;
    int leesbaar = 0;
    for (const char c : begin) {
        if (static_cast<unsigned char>(c) < 32)
            ++stuurtekens;
        else
            ++leesbaar;
    }
    return stuurtekens > leesbaar ? BestandsType::Binair : BestandsType::Tekst;
}

void StandaardCSVInstellingen(const QString& /*path*/, QString& separator, bool& quoted, qint32& columns,
                              bool& repeated)
{
    separator = QStringLiteral(";");
    quoted = true;
    columns = 6;
    repeated = false;
}

void BepaalCSVIndeling(const QString& path, bool& isCSV, QString& separator, bool& quoted, qint32& columns,
                       bool& repeated)
{
    repeated = false;
    columns = -1;
    isCSV = false;
    quoted = false;
    separator.clear();
    try {
        if (!QFileInfo(path).isFile())
            return;
        const std::optional<QString> tekst = LeesTekstBestand(path);
        if (!tekst)
            return;
        RegelLezer lezer(*tekst);
        QStringView ruw;
        if (!lezer.volgende(ruw))
            return;
        // Only spaces are trimmed, as the line is trimmed before it is looked at.
        qsizetype begin = 0;
        qsizetype eind = ruw.size();
        while (begin < eind && ruw[begin] == u' ')
            ++begin;
        while (eind > begin && ruw[eind - 1] == u' ')
            --eind;
        const QStringView eerste = ruw.mid(begin, eind - begin);

        int komma = 0;
        int puntkomma = 0;
        int aanhalingstekens = 0;
        if (eerste.size() > 1) {
            for (const QChar c : eerste) {
                if (c == u',')
                    ++komma;
                else if (c == u';')
                    ++puntkomma;
                else if (c == u'"')
                    ++aanhalingstekens;
            }
        }
        if (komma < 2 && puntkomma < 2)
            return;
        separator = komma > puntkomma ? QStringLiteral(",") : QStringLiteral(";");
        isCSV = true;
        quoted = aanhalingstekens > 3;

        qint32 aantal = 0;
        std::optional<QString> vorige = eersteVeld(eerste, quoted, &aantal);
        if (vorige)
            columns = aantal;
        else
            vorige = QString();

        QStringView regel;
        while (lezer.volgende(regel)) {
            const std::optional<QString> veld = eersteVeld(regel, quoted);
            if (!veld)
                return; // a line without a first field ends the search
            if (*veld == *vorige) {
                repeated = true;
                return;
            }
            vorige = veld;
        }
    } catch (...) {
        // Inspection only: an unreadable line ends it with what it found; the caller reads the flags.
    }
}

void LeesExcelKolommen(const QString& path, bool& isExcel, qint32& columns, QString& firstRow, bool& repeated,
                       qint32& tableCount, QString& tableNames)
{
    repeated = false;
    columns = -1;
    isExcel = false;
    clsConnectie cn;
    const auto sluiten = qScopeGuard([&cn] { cn.SluitenConnectie(); });
    try {
        if (!cn.CheckExcelConnectie(path, false))
            return;
        isExcel = true;
        const DbConnection db = cn.Connection();
        if (!db)
            return;
        const QStringList tabellen = werkbladTabellen(db);
        if (!tabellen.isEmpty()) {
            const RecordsetPtr rs =
                db->openRecordset(QStringLiteral("SELECT * FROM ") + db->quoteIdentifier(tabellen.first()));
            columns = rs->fieldCount();
            // A first table without rows has no first row to read; its tables are still counted.
            if (!rs->eof()) {
                firstRow.clear();
                for (int i = 0; i < rs->fieldCount(); ++i)
                    firstRow += QLatin1Char('|') + NzString(rs->value(i));
                QString vorige;
                for (; !rs->eof(); rs->moveNext()) {
                    const QString waarde = rs->fieldCount() > 0 ? NzString(rs->value(0)) : QString();
                    if (waarde == vorige)
                        repeated = true;
                    vorige = waarde;
                }
            }
            rs->close();
        }
        tableCount = 0;
        tableNames.clear();
        for (const QString& naam : tabellen) {
            ++tableCount;
            tableNames += QLatin1Char('|') + naam;
        }
    } catch (...) {
        // Inspection only: a workbook that fails part-way leaves the facts found so far for the caller.
    }
}

void LeesDBInfoJet(const QString& path, bool& opened, QString& appType, QString& dbType, qint32& verMajor,
                   qint32& verMinor)
{
    clsConnectie cn;
    const auto sluiten = qScopeGuard([&cn] { cn.SluitenConnectie(); });
    try {
        if (!cn.MakenJetConnectie(path, QString())) {
            opened = false;
            return;
        }
        leesDBInfo(cn, opened, appType, dbType, verMajor, verMinor);
    } catch (...) {
        // A database without a readable version record keeps the version fields as they were.
    }
}

void LeesDBInfoSQLite(const QString& path, bool& opened, QString& appType, QString& dbType, qint32& verMajor,
                      qint32& verMinor)
{
    clsConnectie cn;
    const auto sluiten = qScopeGuard([&cn] { cn.SluitenConnectie(); });
    try {
        if (!cn.MakenSQLiteConnectie(path, true)) {
            opened = false;
            return;
        }
        leesDBInfo(cn, opened, appType, dbType, verMajor, verMinor);
    } catch (...) {
        // A database without a readable version record keeps the version fields as they were.
    }
}

} // namespace supplink
