#include "wizard/welkompagina.h"

#include "platform/programstart.h"
#include "sources/tekstbestand.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include <cstdarg>
#include <cstdio>
#include <memory>

namespace supplink {

namespace {

// The parser messages of one transformation, collected instead of written to the error stream.
void verzamelMelding(void* verzameling, const char* opmaak, ...)
{
    char regel[1024];
    va_list argumenten;
    va_start(argumenten, opmaak);
    std::vsnprintf(regel, sizeof regel, opmaak, argumenten);
    va_end(argumenten);
    *static_cast<QString*>(verzameling) += QString::fromUtf8(regel);
}

class MeldingenVerzamelen
{
public:
    explicit MeldingenVerzamelen(QString& verzameling)
    {
        xmlSetGenericErrorFunc(&verzameling, verzamelMelding);
        xsltSetGenericErrorFunc(&verzameling, verzamelMelding);
    }
    ~MeldingenVerzamelen()
    {
        xmlSetGenericErrorFunc(nullptr, nullptr);
        xsltSetGenericErrorFunc(nullptr, nullptr);
    }
};

// What a stylesheet may do: read local files (documents beside the page), nothing else.
xsltSecurityPrefsPtr beveiliging()
{
    static const xsltSecurityPrefsPtr regels = [] {
        xmlInitParser();
        xsltSecurityPrefsPtr r = xsltNewSecurityPrefs();
        xsltSetSecurityPrefs(r, XSLT_SECPREF_WRITE_FILE, xsltSecurityForbid);
        xsltSetSecurityPrefs(r, XSLT_SECPREF_CREATE_DIRECTORY, xsltSecurityForbid);
        xsltSetSecurityPrefs(r, XSLT_SECPREF_READ_NETWORK, xsltSecurityForbid);
        xsltSetSecurityPrefs(r, XSLT_SECPREF_WRITE_NETWORK, xsltSecurityForbid);
        // Also for the documents a stylesheet imports or includes while it is parsed.
        xsltSetDefaultSecurityPrefs(r);
        return r;
    }();
    return regels;
}

// The local stylesheet the document's prolog names with <?xml-stylesheet?>; empty when it names none
// (or only one of another kind, or one that is not a local file).
QString stylesheetVan(const QByteArray& xml, const QString& pad, QString& reden)
{
    static const QRegularExpression pseudoAttribuut(
        QStringLiteral("([A-Za-z_][-A-Za-z0-9_.]*)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)')"));
    QXmlStreamReader lezer(xml);
    while (!lezer.atEnd()) {
        const QXmlStreamReader::TokenType soort = lezer.readNext();
        if (soort == QXmlStreamReader::StartElement || soort == QXmlStreamReader::Invalid)
            break;
        if (soort != QXmlStreamReader::ProcessingInstruction ||
            lezer.processingInstructionTarget() != QLatin1String("xml-stylesheet"))
            continue;
        QString type, href;
        auto it = pseudoAttribuut.globalMatch(lezer.processingInstructionData());
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            const QString waarde = m.captured(2).isNull() ? m.captured(3) : m.captured(2);
            if (m.captured(1) == QLatin1String("type"))
                type = waarde.trimmed().toLower();
            else if (m.captured(1) == QLatin1String("href"))
                href = waarde.trimmed();
        }
        if (!type.contains(QLatin1String("xsl")) || href.isEmpty())
            continue; // a CSS stylesheet or an incomplete instruction: look for another
        const QUrl adres = QUrl::fromLocalFile(QFileInfo(pad).absoluteFilePath()).resolved(QUrl(href));
        if (!adres.isLocalFile()) {
            reden = QStringLiteral("Het stylesheet '%1' is geen bestand op deze computer.").arg(href);
            return QString();
        }
        return adres.toLocalFile();
    }
    reden = QStringLiteral("Het XML-bestand noemt geen XSL-stylesheet.");
    return QString();
}

struct DocVrijgeven
{
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
struct StijlVrijgeven
{
    void operator()(xsltStylesheet* stijl) const { xsltFreeStylesheet(stijl); }
};
struct ContextVrijgeven
{
    void operator()(xsltTransformContext* context) const { xsltFreeTransformContext(context); }
};

QString alsTekst(const QString& tekst)
{
    return QStringLiteral("<pre>") + tekst.toHtmlEscaped() + QStringLiteral("</pre>");
}

} // namespace

bool TransformeerXml(const QString& pad, QString& html, QString& reden)
{
    QFile bestand(pad);
    if (!bestand.open(QIODevice::ReadOnly)) {
        reden = QStringLiteral("Het bestand kan niet worden gelezen.");
        return false;
    }
    const QByteArray xml = bestand.readAll();
    const QString stylesheet = stylesheetVan(xml, pad, reden);
    if (stylesheet.isEmpty())
        return false;
    if (!QFileInfo(stylesheet).isFile()) {
        reden =
            QStringLiteral("Het stylesheet '%1' is niet gevonden.").arg(QDir::toNativeSeparators(stylesheet));
        return false;
    }

    const xsltSecurityPrefsPtr regels = beveiliging();
    QString meldingen;
    const MeldingenVerzamelen verzamelen(meldingen);
    const int opties = XML_PARSE_NONET;
    xmlDoc* stijlDoc = xmlReadFile(QFile::encodeName(stylesheet).constData(), nullptr, opties);
    if (!stijlDoc) {
        reden = QStringLiteral("Het stylesheet kan niet worden gelezen: ") + meldingen.trimmed();
        return false;
    }
    // A stylesheet that is made owns its document; one that cannot be made leaves it to us.
    const std::unique_ptr<xsltStylesheet, StijlVrijgeven> stijl(xsltParseStylesheetDoc(stijlDoc));
    if (!stijl) {
        xmlFreeDoc(stijlDoc);
        reden = QStringLiteral("Het stylesheet is ongeldig: ") + meldingen.trimmed();
        return false;
    }
    const QByteArray adres = QUrl::fromLocalFile(QFileInfo(pad).absoluteFilePath()).toEncoded();
    const std::unique_ptr<xmlDoc, DocVrijgeven> doc(
        xmlReadMemory(xml.constData(), int(xml.size()), adres.constData(), nullptr, opties));
    if (!doc) {
        reden = QStringLiteral("Het XML-bestand is ongeldig: ") + meldingen.trimmed();
        return false;
    }
    const std::unique_ptr<xsltTransformContext, ContextVrijgeven> context(
        xsltNewTransformContext(stijl.get(), doc.get()));
    if (!context || xsltSetCtxtSecurityPrefs(regels, context.get()) != 0) {
        reden = QStringLiteral("De omzetting kan niet worden voorbereid.");
        return false;
    }
    xsltSetCtxtParseOptions(context.get(), XSLT_PARSE_OPTIONS | XML_PARSE_NONET);
    const std::unique_ptr<xmlDoc, DocVrijgeven> uitkomst(
        xsltApplyStylesheetUser(stijl.get(), doc.get(), nullptr, nullptr, nullptr, context.get()));
    if (!uitkomst || context->state != XSLT_STATE_OK) {
        reden = QStringLiteral("De omzetting is mislukt: ") + meldingen.trimmed();
        return false;
    }
    xmlChar* tekst = nullptr;
    int lengte = 0;
    if (xsltSaveResultToString(&tekst, &lengte, uitkomst.get(), stijl.get()) != 0) {
        reden = QStringLiteral("De omzetting kan niet worden weggeschreven.");
        return false;
    }
    const QByteArray bytes(reinterpret_cast<const char*>(tekst), tekst ? lengte : 0);
    xmlFree(tekst);
    // The result is written in the stylesheet's output encoding (UTF-8 unless it names another).
    const QByteArray codering =
        stijl->encoding ? QByteArray(reinterpret_cast<const char*>(stijl->encoding)) : QByteArray("UTF-8");
    QStringDecoder decoder(codering.constData());
    html = decoder.isValid() ? decoder.decode(bytes) : DecodeerTekst(bytes);
    reden.clear();
    return true;
}

WelkomPagina LaadWelkomPagina(const QString& pad)
{
    WelkomPagina pagina;
    if (pad.isEmpty())
        return pagina;
    const QFileInfo info(pad);
    pagina.map = info.absolutePath();
    pagina.basis = QUrl::fromLocalFile(info.absoluteFilePath());
    if (!info.isFile())
        return pagina;
    if (info.suffix().compare(QLatin1String("xml"), Qt::CaseInsensitive) == 0) {
        QString reden;
        if (TransformeerXml(pad, pagina.html, reden))
            return pagina;
        if (const std::optional<QString> tekst = LeesTekstBestand(pad))
            pagina.html = alsTekst(*tekst);
        return pagina;
    }
    if (const std::optional<QString> tekst = LeesTekstBestand(pad))
        pagina.html = *tekst;
    return pagina;
}

KoppelingSoort BeoordeelKoppeling(const QUrl& url)
{
    const QString schema = url.scheme().toLower();
    if (schema == QLatin1String("http") || schema == QLatin1String("https"))
        return url.host().isEmpty() ? KoppelingSoort::Geweigerd : KoppelingSoort::Web;
    if (schema == QLatin1String("mailto"))
        return url.path().isEmpty() ? KoppelingSoort::Geweigerd : KoppelingSoort::Web;
    if (schema != QLatin1String("file") && !schema.isEmpty())
        return KoppelingSoort::Geweigerd;
    const QString pad = schema.isEmpty() ? url.path() : url.toLocalFile();
    const QFileInfo info(pad);
    if (pad.isEmpty() || !info.exists())
        return KoppelingSoort::Geweigerd;
    if (info.isDir())
        return KoppelingSoort::Document;
    const QString soort = info.suffix().toLower();
    if (soort == QLatin1String("html") || soort == QLatin1String("htm") || soort == QLatin1String("xml"))
        return KoppelingSoort::Pagina;
    return IsProgrammaBestand(info) ? KoppelingSoort::Geweigerd : KoppelingSoort::Document;
}

} // namespace supplink
