#pragma once
// The JSON data of hardware combinations (column Data of LocksHingesCombi in
// SQLite options and library databases) and the merge of a stored Data text
// with an incoming one.
//
// Three layouts occur:
// - layout 3.5 (library records with limits): Polygon, the six limits, the
//   three usage lists ArtUsages, ActUsages, RefUsages (arrays) and LHArticles
//   (an array of article entries in the library form);
// - layout 3.4 (library records without limits): the four lists, each an array
//   or a text holding an array;
// - the options layout: the four lists, each a text holding an array, the
//   texts escaped as ToEscapedJson writes them; LHArticles holds texts, each
//   one article entry in the options form (so escaped twice).
// Member orders are fixed; keys are case-sensitive.

#include <QString>
#include <QStringList>

namespace supplink {

namespace LocksHingesData {

// Layout 3.5, in order.
inline const QStringList& Layout35Keys()
{
    static const QStringList keys{
        QStringLiteral("Polygon"),   QStringLiteral("Lim_min_W"), QStringLiteral("Lim_min_H"),
        QStringLiteral("Lim_min_A"), QStringLiteral("Lim_max_W"), QStringLiteral("Lim_max_H"),
        QStringLiteral("Lim_max_A"), QStringLiteral("ArtUsages"), QStringLiteral("ActUsages"),
        QStringLiteral("RefUsages"), QStringLiteral("LHArticles")};
    return keys;
}

// Layout 3.4 and the options template, in order.
inline const QStringList& Layout34Keys()
{
    static const QStringList keys{QStringLiteral("ArtUsages"), QStringLiteral("ActUsages"),
                                  QStringLiteral("RefUsages"), QStringLiteral("LHArticles")};
    return keys;
}

// The options layout in the order the options merge writes it.
inline const QStringList& OptionsKeys()
{
    static const QStringList keys{QStringLiteral("RefUsages"), QStringLiteral("ArtUsages"),
                                  QStringLiteral("ActUsages"), QStringLiteral("LHArticles")};
    return keys;
}

// An article entry in the library form, in order: fkArticle and CR_Y, CR_X,
// RealLength, DrawLength, DrawWidth and Misc1 to Misc5 are texts, the rest numbers.
inline const QStringList& LibraryArticleKeys()
{
    static const QStringList keys{
        QStringLiteral("fkArticle"),  QStringLiteral("Position"),  QStringLiteral("Draw"),
        QStringLiteral("Origin"),     QStringLiteral("CR_Y"),      QStringLiteral("CR_X"),
        QStringLiteral("Polygon"),    QStringLiteral("ZPos"),      QStringLiteral("ZPosWindow"),
        QStringLiteral("Type"),       QStringLiteral("WFrom"),     QStringLiteral("WTo"),
        QStringLiteral("HFrom"),      QStringLiteral("HTo"),       QStringLiteral("RealLength"),
        QStringLiteral("DrawLength"), QStringLiteral("DrawWidth"), QStringLiteral("Misc1"),
        QStringLiteral("Misc2"),      QStringLiteral("Misc3"),     QStringLiteral("Misc4"),
        QStringLiteral("Misc5")};
    return keys;
}

// An article entry in the options form, in order; every value is a text.
inline const QStringList& OptionsArticleKeys()
{
    static const QStringList keys{
        QStringLiteral("fkArticle"), QStringLiteral("Position"),   QStringLiteral("Polygon"),
        QStringLiteral("Origin"),    QStringLiteral("YPos"),       QStringLiteral("CR_X"),
        QStringLiteral("Draw"),      QStringLiteral("RealLength"), QStringLiteral("DrawLength"),
        QStringLiteral("DrawWidth"), QStringLiteral("Misc1"),      QStringLiteral("Misc2"),
        QStringLiteral("Misc3"),     QStringLiteral("Misc4"),      QStringLiteral("Misc5"),
        QStringLiteral("Type"),      QStringLiteral("WFrom"),      QStringLiteral("WTo"),
        QStringLiteral("HFrom"),     QStringLiteral("HTo")};
    return keys;
}

// The Data of a new options combination: four empty lists, each as the text [].
inline QString OptionsTemplate()
{
    return QStringLiteral(R"({"ArtUsages":"[]","ActUsages":"[]","RefUsages":"[]","LHArticles":"[]"})");
}

} // namespace LocksHingesData

// Merges a stored Data text (existing) with an incoming one (newText): the
// stored record keeps its three usage lists and takes everything else that
// its layout holds from the incoming text. The layout is 3.5 when newText, in
// upper case, holds "LIM_MIN_H", else 3.4. Returns the merged text, without
// white space, and clears errorText; on failure returns an empty text and puts
// the routine's name and both texts into errorText.
QString MergeJSONFieldLibrary(const QString& existing, const QString& newText, QString& errorText);
QString MergeJSONFieldLibrary35(const QString& existing, const QString& newText, QString& errorText);
QString MergeJSONFieldLibrary34(const QString& existing, const QString& newText, QString& errorText);

} // namespace supplink
