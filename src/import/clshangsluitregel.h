#pragma once
// One row of a supplier's hardware file after column mapping: one hardware
// article used in one combination or choice (its code and description), with
// its count, position, drawing data and the frame dimensions for which it
// applies. The hardware file reading (HangSluitBestandLezer) fills the
// fields; the writers read them, and the library writer takes the line's JSON
// form, an article-usage object of a combination's data:
//
//     auto regel = std::make_shared<clsHangSluitRegel>();
//     regel->SetCode(" K1 ");                       // stored trimmed: "K1"
//     regel->BreedteVan = 50; regel->BreedteTot = 120;
//     regel->GetAsJSON();                           // {"fkArticle":"",...,"Type":1,"WFrom":500,...}
//
// Dimensions are given in the file's unit (centimetres) and written times ten;
// a dimension times ten that does not fit in 32 bits throws AppError 6.

#include <QString>
#include <QtGlobal>
#include <memory>

namespace supplink {

class clsHangSluitRegel
{
public:
    qint32 BreedteVan = 0;  // "B >": applies from this frame width
    qint32 BreedteTot = 0;  // "B <": up to this frame width
    qint32 HoogteVan = 0;   // "H >": from this frame height
    qint32 HoogteTot = 0;   // "H <": up to this frame height
    qint32 AantalStuks = 0; // how many times the article is used in the combination
    QString ArtikelCode;
    QString ArtikelOmschrijving;
    qint32 Positie = 0;               // position code of the article
    qint32 Bemating = 0;              // dimensioning code, written as "Polygon"
    qint32 Oorsprong = 0;             // origin code, written as "Origin"
    QString X = QStringLiteral("0");  // drawing X offset as text
    QString Y = QStringLiteral("0");  // drawing Y offset as text
    QString CalculatieLengte;         // written as "RealLength"
    QString AdrukLengte;              // written as "DrawLength"
    QString AfdrukBreedte;            // written as "DrawWidth"
    QString HangEnSluitwerkCombiCode; // the combination a choice line refers to
    qint32 CombiID = 0; // not read from the file: the ID of the combination a writer made for the line

    // The combination or choice code and description, stored without leading and trailing blanks.
    const QString& Code() const { return m_code; }
    void SetCode(const QString& code) { m_code = code.trimmed(); }
    const QString& Omschrijving() const { return m_omschrijving; }
    void SetOmschrijving(const QString& omschrijving) { m_omschrijving = omschrijving.trimmed(); }

    // Whether the article is drawn: X holds more than blanks.
    bool Tekenen() const { return !X.trimmed().isEmpty(); }

    // The kind of frame dimensions the article applies to, and the four dimensions times ten that go
    // with it. A width is given when BreedteVan or BreedteTot is above 0, a height likewise: both give
    // type 3, a width alone 1, a height alone 2; type 0 only when all four are 0 (a negative width alone
    // is type 2 with four zeros). Dimensions the type does not give are 0 here.
    struct Maten
    {
        int type = 0;
        bool breedte = false; // the type gives the widths
        bool hoogte = false;  // the type gives the heights
        qint32 wFrom = 0, wTo = 0, hFrom = 0, hTo = 0;
    };
    Maten MaatGegevens() const;

    // The line as an article-usage object of a library combination's data: fixed member order, no
    // white space, texts JSON-encoded. Throws AppError 6 on a dimension overflow.
    QString GetAsJSON() const;

private:
    // The members "Draw" to "Polygon" and "Type" to "HTo" of GetAsJSON.
    QString DrawDeel() const;
    QString MaatDeel() const;

    QString m_code;
    QString m_omschrijving;
};

using HangSluitRegelPtr = std::shared_ptr<clsHangSluitRegel>;

// A dimension in the file's unit times ten; throws AppError 6 when that does not fit in 32 bits.
qint32 MaalTien(qint32 maat);

// A text as the content of a JSON string: the quote, the backslash and control characters escaped,
// every other character as it is (so an ordinary text is written unchanged).
QString JsonTekstInhoud(const QString& tekst);

} // namespace supplink
