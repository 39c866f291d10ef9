#pragma once
// Workbooks for the file import tests, written as a supplier's spreadsheet
// program would write them: texts as text cells, numbers as number cells,
// moments as date cells. An .xlsx file is written with libxlsxwriter (a test
// that includes this links PkgConfig::XLSXWRITER, tests/import/CMakeLists.txt),
// an .xls file (BIFF8) record by record with the workbook tests' writer.
//
//     QVERIFY(test::schrijfWerkmap(path, {{"Blad1", {{"Code", "Prijs"}, {"A1", 12.5}}}}));
//     QVERIFY(test::schrijfXlsWerkmap(path, {{"Blad1", {{"Code", "Prijs"}, {"A1", 12.5}}}}));

#include "platform/biffwriter.h"

#include <QDateTime>
#include <QFile>
#include <QList>
#include <QScopeGuard>
#include <QString>
#include <QVariant>

#include <clocale>
#include <string>

#include <xlsxwriter.h>

namespace supplink::test {

struct WerkmapBlad
{
    QString naam;
    // Per cell a QString, a number or a QDateTime; an invalid QVariant leaves the cell empty.
    QList<QVariantList> rijen;
};

inline bool schrijfWerkmap(const QString& path, const QList<WerkmapBlad>& bladen)
{
    // libxlsxwriter writes its numbers with the C library's printf, which follows LC_NUMERIC: under a
    // Dutch locale it would write "12,5" into the workbook, which no reader accepts.
    const std::string numeriek = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "C");
    const auto terug = qScopeGuard([&numeriek] { std::setlocale(LC_NUMERIC, numeriek.c_str()); });

    lxw_workbook* boek = workbook_new(QFile::encodeName(path).constData());
    if (!boek)
        return false;
    lxw_format* datumVorm = workbook_add_format(boek);
    format_set_num_format(datumVorm, "dd-mm-yyyy hh:mm");
    for (const WerkmapBlad& blad : bladen) {
        lxw_worksheet* sheet = workbook_add_worksheet(boek, blad.naam.toUtf8().constData());
        for (int r = 0; r < blad.rijen.size(); ++r) {
            for (int c = 0; c < blad.rijen.at(r).size(); ++c) {
                const QVariant& v = blad.rijen.at(r).at(c);
                const auto rij = lxw_row_t(r);
                const auto kolom = lxw_col_t(c);
                if (v.typeId() == QMetaType::QDateTime) {
                    const QDateTime m = v.toDateTime();
                    lxw_datetime d{m.date().year(), m.date().month(),  m.date().day(),
                                   m.time().hour(), m.time().minute(), double(m.time().second())};
                    worksheet_write_datetime(sheet, rij, kolom, &d, datumVorm);
                } else if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Int) {
                    worksheet_write_number(sheet, rij, kolom, v.toDouble(), nullptr);
                } else if (v.isValid()) {
                    worksheet_write_string(sheet, rij, kolom, v.toString().toUtf8().constData(), nullptr);
                }
            }
        }
    }
    return workbook_close(boek) == LXW_NO_ERROR;
}

// The same sheets as an .xls file (BIFF8): texts as text cells, numbers as number cells, moments as numbers
// (days since 30-12-1899) in a date format.
inline bool schrijfXlsWerkmap(const QString& path, const QList<WerkmapBlad>& bladen)
{
    BiffBook boek(8);
    boek.addFormat(164, QStringLiteral("dd-mm-yyyy hh:mm"));
    const int datumVorm = boek.addXf(164);
    const QDate nul(1899, 12, 30);
    for (const WerkmapBlad& blad : bladen) {
        QByteArray& cellen = boek.sheet(blad.naam);
        for (int r = 0; r < blad.rijen.size(); ++r) {
            for (int c = 0; c < blad.rijen.at(r).size(); ++c) {
                const QVariant& v = blad.rijen.at(r).at(c);
                if (v.typeId() == QMetaType::QDateTime) {
                    const QDateTime m = v.toDateTime();
                    const double dagen =
                        double(nul.daysTo(m.date())) + m.time().msecsSinceStartOfDay() / 86400000.0;
                    cellen += boek.number(r, c, dagen, datumVorm);
                } else if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Int)
                    cellen += boek.number(r, c, v.toDouble());
                else if (v.isValid())
                    cellen += boek.label(r, c, v.toString());
            }
        }
    }
    QFile bestand(path);
    if (!bestand.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray inhoud = boek.file();
    return bestand.write(inhoud) == inhoud.size();
}

} // namespace supplink::test
