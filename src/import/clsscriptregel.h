#pragma once
// The import plan of the article import: script lines of the form
// KEYWORD ( arg1 ; arg2 ; ... ), parsed into keyword and arguments, collected
// into blocks by an import set, and the lookups that the import run makes in a
// plan. A condition line (IFISTRUE / IFISNULL) has the form
// KEYWORD ( condition : then-line : else-line ); it is parsed, never evaluated.

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace supplink {

class clsScriptRegel
{
public:
    QString Opdracht;                      // the keyword, upper case for a line with arguments
    std::optional<QStringList> Argumenten; // 0-based here; none for a bare word or "()"
    std::shared_ptr<clsScriptRegel> DanRegel;
    std::shared_ptr<clsScriptRegel> AndersRegel;
    QString Tekst; // the whole line, trimmed

    // Parses the text into the fields. A failure is reported through the error
    // window; what was filled before it stays.
    void SetScriptRegel(const QString& text);

private:
    void parse(const QString& text);
};

using ScriptRegelPtr = std::shared_ptr<clsScriptRegel>;
// One block of script lines, in line order; the plan of an import run is one block.
using ScriptBlok = QList<ScriptRegelPtr>;

class clsImportSet
{
public:
    QString Applicatie;
    QString Omschrijving;
    qint32 VersieMajor = 0;
    qint32 VersieMinor = 0;
    QList<ScriptBlok> Types; // the finished blocks in order

    // Opens a new, empty block; a block still open is dropped.
    bool StartNewType();
    // Parses the text into a new line of the open block; nothing when no block is open.
    void AddTypeRegel(const QString& text);
    // Appends the open block to Types and closes it.
    bool EndNewType();

private:
    std::optional<ScriptBlok> m_openBlok;
};

// The first line whose keyword equals `keyword` exactly; null when none or without a plan.
ScriptRegelPtr ZoekScriptRegel(const ScriptBlok* plan, const QString& keyword);
inline ScriptRegelPtr ZoekScriptRegel(const ScriptBlok& plan, const QString& keyword)
{
    return ZoekScriptRegel(&plan, keyword);
}

// The first argument of that line; empty when there is none.
QString EersteArgument(const ScriptBlok* plan, const QString& keyword);
inline QString EersteArgument(const ScriptBlok& plan, const QString& keyword)
{
    return EersteArgument(&plan, keyword);
}

// Whether argument n (1-based) of the line is exactly "Ja". Throws AppError
// (number 9) when the line has no argument n.
bool ArgumentIsJa(const clsScriptRegel& regel, int n);

// Argument n (1-based) of the line; throws AppError (number 9) when the line lacks it.
QString Argument(const clsScriptRegel& regel, int n);

// Argument n (1-based) of the line; empty when the line has fewer arguments.
QString ArgumentOfLeeg(const clsScriptRegel& regel, int n);
// Whether the line has argument n and it is exactly "Ja".
bool HeeftJa(const clsScriptRegel& regel, int n);

// The plan's VELD lines in plan order: line k maps column k of a supplier file's line.
QList<ScriptRegelPtr> VeldRegels(const ScriptBlok& plan);

// For every line in order: CR LF and the line's text.
QString ScriptTekst(const ScriptBlok* plan);
inline QString ScriptTekst(const ScriptBlok& plan)
{
    return ScriptTekst(&plan);
}

} // namespace supplink
