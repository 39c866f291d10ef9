// The welcome pages: an XML page shown through the XSL stylesheet it names
// (and as text when it names none, names one elsewhere than on this computer,
// or one that is broken or tries to write a file), HTML pages in Windows-1252
// and UTF-8, a missing page; and which links of a page may be opened.

#include "support/testenvironment.h"
#include "wizard/welkomopstelling.h"
#include "wizard/welkompagina.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace supplink;
using namespace supplink::test;

namespace {

const QByteArray kStylesheet =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">\n"
    "  <xsl:output method=\"html\" encoding=\"UTF-8\"/>\n"
    "  <xsl:template match=\"/leverancier\"><html><body><h2><xsl:value-of select=\"naam\"/></h2></body></html>"
    "</xsl:template>\n"
    "</xsl:stylesheet>\n";

QByteArray xml(const QByteArray& instructie)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + instructie +
           "\n<leverancier><naam>Smit &amp; Zonen \xc3\xab</naam></leverancier>\n";
}

} // namespace

class WelkomPaginaTest : public QObject
{
    Q_OBJECT
private slots:
    void xmlMetStylesheet()
    {
        TestEnvironment env;
        schrijfBestand(env.path(QStringLiteral("lev/stijl.xsl")), kStylesheet);
        schrijfBestand(env.path(QStringLiteral("lev/leverancier.xml")),
                xml("<?xml-stylesheet type=\"text/css\" href=\"a.css\"?>\n"
                    "<?xml-stylesheet type='text/xsl' href='stijl.xsl'?>"));
        const WelkomPagina pagina = LaadWelkomPagina(env.path(QStringLiteral("lev/leverancier.xml")));
        QVERIFY2(pagina.html.contains(QStringLiteral("<h2>Smit &amp; Zonen ë</h2>")), qPrintable(pagina.html));
        QCOMPARE(pagina.map, env.path(QStringLiteral("lev")));
        QCOMPARE(pagina.basis, QUrl::fromLocalFile(env.path(QStringLiteral("lev/leverancier.xml"))));
    }

    // Shown as its text (escaped) instead of transformed.
    void xmlAlsTekst_data()
    {
        QTest::addColumn<QByteArray>("instructie");
        QTest::addColumn<QByteArray>("stylesheet");
        QTest::newRow("geen stylesheet") << QByteArray() << kStylesheet;
        QTest::newRow("alleen css") << QByteArray("<?xml-stylesheet type=\"text/css\" href=\"stijl.xsl\"?>")
                                    << kStylesheet;
        QTest::newRow("van het web") << QByteArray("<?xml-stylesheet type=\"text/xsl\" "
                                                   "href=\"http://127.0.0.1:9/stijl.xsl\"?>")
                                     << kStylesheet;
        QTest::newRow("ontbreekt") << QByteArray("<?xml-stylesheet type=\"text/xsl\" href=\"weg.xsl\"?>")
                                   << kStylesheet;
        QTest::newRow("kapot") << QByteArray("<?xml-stylesheet type=\"text/xsl\" href=\"stijl.xsl\"?>")
                               << QByteArray("<xsl:stylesheet version=\"1.0\"");
    }
    void xmlAlsTekst()
    {
        QFETCH(QByteArray, instructie);
        QFETCH(QByteArray, stylesheet);
        TestEnvironment env;
        schrijfBestand(env.path(QStringLiteral("stijl.xsl")), stylesheet);
        schrijfBestand(env.path(QStringLiteral("leverancier.xml")), xml(instructie));
        const WelkomPagina pagina = LaadWelkomPagina(env.path(QStringLiteral("leverancier.xml")));
        QVERIFY2(pagina.html.startsWith(QStringLiteral("<pre>")), qPrintable(pagina.html));
        QVERIFY(pagina.html.contains(QStringLiteral("&lt;naam&gt;Smit &amp;amp; Zonen ë&lt;/naam&gt;")));
    }

    // A stylesheet may not write files (xsl:document of XSLT 1.1 would): the transformation is refused and
    // nothing is written.
    void stylesheetSchrijftNiet()
    {
        TestEnvironment env;
        const QString buiten = env.path(QStringLiteral("geschreven.txt"));
        schrijfBestand(env.path(QStringLiteral("stijl.xsl")),
                QStringLiteral("<?xml version=\"1.0\"?>\n"
                               "<xsl:stylesheet version=\"1.1\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">\n"
                               "  <xsl:template match=\"/\">\n"
                               "    <xsl:document href=\"%1\" method=\"text\">weg</xsl:document>\n"
                               "    <html><body>klaar</body></html>\n"
                               "  </xsl:template>\n"
                               "</xsl:stylesheet>\n")
                    .arg(QUrl::fromLocalFile(buiten).toString())
                    .toUtf8());
        schrijfBestand(env.path(QStringLiteral("leverancier.xml")),
                xml("<?xml-stylesheet type=\"text/xsl\" href=\"stijl.xsl\"?>"));
        QString html, reden;
        QVERIFY(!TransformeerXml(env.path(QStringLiteral("leverancier.xml")), html, reden));
        QVERIFY(!reden.isEmpty());
        QVERIFY(!QFileInfo::exists(buiten));
        QVERIFY(LaadWelkomPagina(env.path(QStringLiteral("leverancier.xml"))).html.startsWith(QStringLiteral("<pre>")));
    }

    void html_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("windows-1252") << QByteArray("<html><body>Caf\xe9 \x80</body></html>");
        QTest::newRow("utf-8") << QByteArray("<html><body>Caf\xc3\xa9 \xe2\x82\xac</body></html>");
    }
    void html()
    {
        QFETCH(QByteArray, bytes);
        TestEnvironment env;
        schrijfBestand(env.path(QStringLiteral("welkom.html")), bytes);
        QCOMPARE(LaadWelkomPagina(env.path(QStringLiteral("welkom.html"))).html,
                 QStringLiteral("<html><body>Café €</body></html>"));
    }

    void ontbrekendePagina()
    {
        TestEnvironment env;
        const WelkomPagina pagina = LaadWelkomPagina(env.path(QStringLiteral("weg.html")));
        QVERIFY(pagina.html.isEmpty());
        QVERIFY(LaadWelkomPagina(QString()).html.isEmpty());
    }

    void koppelingen_data()
    {
        QTest::addColumn<QString>("adres"); // "@" stands for the test's folder
        QTest::addColumn<int>("soort");
        const int web = int(KoppelingSoort::Web);
        const int pagina = int(KoppelingSoort::Pagina);
        const int document = int(KoppelingSoort::Document);
        const int geweigerd = int(KoppelingSoort::Geweigerd);
        QTest::newRow("https") << QStringLiteral("https://www.example.com/a.pdf") << web;
        QTest::newRow("http") << QStringLiteral("http://www.example.com/") << web;
        QTest::newRow("mail") << QStringLiteral("mailto:info@example.com") << web;
        QTest::newRow("javascript") << QStringLiteral("javascript:alert(1)") << geweigerd;
        QTest::newRow("ftp") << QStringLiteral("ftp://example.com/a.txt") << geweigerd;
        QTest::newRow("eigen protocol") << QStringLiteral("ms-settings:privacy") << geweigerd;
        QTest::newRow("pagina") << QStringLiteral("file://@/andere.HTML") << pagina;
        QTest::newRow("xml-pagina") << QStringLiteral("file://@/lev.xml") << pagina;
        QTest::newRow("document") << QStringLiteral("file://@/blad.pdf") << document;
        QTest::newRow("map") << QStringLiteral("file://@/sub") << document;
        QTest::newRow("programma") << QStringLiteral("file://@/setup.exe") << geweigerd;
        QTest::newRow("script") << QStringLiteral("file://@/start.cmd") << geweigerd;
#ifndef Q_OS_WIN
        QTest::newRow("uitvoerbaar") << QStringLiteral("file://@/lees.txt") << geweigerd;
#endif
        QTest::newRow("ontbreekt") << QStringLiteral("file://@/weg.pdf") << geweigerd;
    }
    void koppelingen()
    {
        QFETCH(QString, adres);
        QFETCH(int, soort);
        TestEnvironment env;
        for (const char* naam : {"andere.HTML", "lev.xml", "blad.pdf", "setup.exe", "start.cmd"})
            schrijfBestand(env.path(QString::fromLatin1(naam)), "x");
        schrijfBestand(env.path(QStringLiteral("lees.txt")), "#!/bin/sh\n",
                QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir().mkpath(env.path(QStringLiteral("sub")));
        adres.replace(QLatin1Char('@'), QDir(env.root()).absolutePath());
        QCOMPARE(int(BeoordeelKoppeling(QUrl(adres))), soort);
    }
};

QTEST_GUILESS_MAIN(WelkomPaginaTest)
#include "test_welkompagina.moc"
