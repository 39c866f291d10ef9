#include "import/clsscriptregel.h"

#include "start/errors.h"
#include "start/sharedroutines.h"

namespace supplink {

namespace {

constexpr qint32 kSubscriptOutOfRange = 9;

QString schoon(const QString& text)
{
    return VerwijderStuurtekens(text).trimmed();
}

AppError ongeldigArgument()
{
    return AppError(ErrorNumber::General, QStringLiteral("Ongeldige procedure-aanroep of ongeldig argument"));
}

bool isVoorwaarde(const QString& opdracht)
{
    return opdracht == QLatin1String("IFISTRUE") || opdracht == QLatin1String("IFISNULL");
}

} // namespace

void clsScriptRegel::SetScriptRegel(const QString& text)
{
    try {
        parse(text);
    } catch (const std::exception& e) {
        ShowError(QString(), e);
    }
}

void clsScriptRegel::parse(const QString& text)
{
    Tekst = text.trimmed();
    const qsizetype open = Tekst.indexOf(QLatin1Char('('));
    if (open < 0) {
        Opdracht = schoon(Tekst);
        return;
    }
    Opdracht = schoon(Tekst.left(open)).toUpper();

    // The closing parenthesis is taken to be the line's last character, whatever it is.
    const qsizetype lengte = Tekst.size() - open - 2;
    if (lengte < 0)
        throw ongeldigArgument();
    const QString argumentTekst = Tekst.mid(open + 1, lengte);

    if (!isVoorwaarde(Opdracht)) {
        if (argumentTekst.isEmpty())
            return;
        QStringList argumenten;
        for (const QString& deel : argumentTekst.split(QLatin1Char(';')))
            argumenten << schoon(deel);
        Argumenten = argumenten;
        return;
    }

    const qsizetype eerste = argumentTekst.indexOf(QLatin1Char(':'));
    if (eerste < 0)
        throw ongeldigArgument();
    Argumenten = QStringList{schoon(argumentTekst.left(eerste).trimmed())};
    const QString rest = argumentTekst.mid(eerste + 1).trimmed();

    int diepte = 0;
    qsizetype scheiding = -1;
    for (qsizetype i = 0; i < rest.size() && scheiding < 0; ++i) {
        const QChar c = rest.at(i);
        if (c == QLatin1Char('('))
            ++diepte;
        else if (c == QLatin1Char(')'))
            --diepte;
        else if (c == QLatin1Char(':') && diepte == 0)
            scheiding = i;
    }
    if (scheiding < 0)
        throw ongeldigArgument();

    DanRegel = std::make_shared<clsScriptRegel>();
    DanRegel->SetScriptRegel(rest.left(scheiding));
    AndersRegel = std::make_shared<clsScriptRegel>();
    AndersRegel->SetScriptRegel(rest.mid(scheiding + 1));
}

bool clsImportSet::StartNewType()
{
    m_openBlok = ScriptBlok();
    return true;
}

void clsImportSet::AddTypeRegel(const QString& text)
{
    if (!m_openBlok)
        return;
    auto regel = std::make_shared<clsScriptRegel>();
    regel->SetScriptRegel(text);
    m_openBlok->append(regel);
}

bool clsImportSet::EndNewType()
{
    if (m_openBlok) {
        Types.append(*m_openBlok);
        m_openBlok.reset();
    }
    return true;
}

ScriptRegelPtr ZoekScriptRegel(const ScriptBlok* plan, const QString& keyword)
{
    if (!plan)
        return nullptr;
    for (const ScriptRegelPtr& regel : *plan) {
        if (regel && regel->Opdracht == keyword)
            return regel;
    }
    return nullptr;
}

QString EersteArgument(const ScriptBlok* plan, const QString& keyword)
{
    const ScriptRegelPtr regel = ZoekScriptRegel(plan, keyword);
    if (!regel || !regel->Argumenten || regel->Argumenten->isEmpty())
        return QString();
    return regel->Argumenten->first();
}

QString Argument(const clsScriptRegel& regel, int n)
{
    if (!regel.Argumenten || n < 1 || n > regel.Argumenten->size())
        throw AppError(kSubscriptOutOfRange, QStringLiteral("Subscript valt buiten het bereik"));
    return regel.Argumenten->at(n - 1);
}

bool ArgumentIsJa(const clsScriptRegel& regel, int n)
{
    return Argument(regel, n) == QLatin1String("Ja");
}

QString ArgumentOfLeeg(const clsScriptRegel& regel, int n)
{
    return regel.Argumenten && n >= 1 && n <= regel.Argumenten->size() ? regel.Argumenten->at(n - 1)
                                                                       : QString();
}

bool HeeftJa(const clsScriptRegel& regel, int n)
{
    return ArgumentOfLeeg(regel, n) == QLatin1String("Ja");
}

QList<ScriptRegelPtr> VeldRegels(const ScriptBlok& plan)
{
    QList<ScriptRegelPtr> regels;
    for (const auto& regel : plan) {
        if (regel && regel->Opdracht == QLatin1String("VELD"))
            regels << regel;
    }
    return regels;
}

QString ScriptTekst(const ScriptBlok* plan)
{
    QString tekst;
    if (!plan)
        return tekst;
    for (const ScriptRegelPtr& regel : *plan) {
        if (regel)
            tekst += QStringLiteral("\r\n") + regel->Tekst;
    }
    return tekst;
}

} // namespace supplink
