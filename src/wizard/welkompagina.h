#pragma once
// The pages of the welcome step as the view shows them: the default page
// "welkom.html" and the suppliers' pages "leverancier.xml". A page is loaded
// into HTML for a text browser:
//   - an HTML file as it is (decoded as the program decodes text files);
//   - an XML file that names an XSL stylesheet (<?xml-stylesheet type="text/xsl"
//     href="..."?>, a local file beside it) transformed by that stylesheet
//     with libxslt, which may read local files but never the network, and
//     never write anything;
//   - any other XML file, or one whose transformation fails, as its text.
// And what a link of such a page may do (KoppelingSoort): web and mail
// addresses go to the desktop's browser or mail program, local pages are
// shown in place, local documents open with the desktop's program for them;
// programs, scripts and addresses of any other kind are never opened.
//
//     const WelkomPagina pagina = LaadWelkomPagina(pad);
//     browser->setSearchPaths({pagina.map});
//     browser->setHtml(pagina.html);
//     switch (BeoordeelKoppeling(pagina.basis.resolved(link))) { ... }

#include <QString>
#include <QUrl>

namespace supplink {

struct WelkomPagina
{
    QString html;   // the page as HTML; empty for a page that is missing or cannot be read
    QString map;    // the page's folder, where its relative images and links are found
    QUrl basis;     // the page's own address, to resolve its links against
};

WelkomPagina LaadWelkomPagina(const QString& pad);

// An XML file transformed by the XSL stylesheet it names; false (with the reason) when it names none
// or the stylesheet cannot be read or applied.
bool TransformeerXml(const QString& pad, QString& html, QString& reden);

enum class KoppelingSoort
{
    Web,       // http, https or mailto: the desktop opens it
    Pagina,    // a local HTML or XML page: shown in the browser itself
    Document,  // a local document (or folder): the desktop's program for it opens it
    Geweigerd, // a program or script, a missing file, or an address of another kind: not opened
};

// What a link (already resolved against its page) may do.
KoppelingSoort BeoordeelKoppeling(const QUrl& url);

} // namespace supplink
