// The demo package's files other than databases: the supplier's price lists
// (a CSV text in Windows-1252 with Dutch numbers, as a Dutch supplier's
// spreadsheet program saves it, and an .xlsx workbook written with
// libxlsxwriter; both name an article's group by the group's description, as
// the article import finds groups), its hardware files (combinations and choices in the layout
// the hardware reader expects: the column titles of the target-field
// catalogue), an XML material export, the information workbooks (.xls,
// written record by record with the tests' BIFF writer), the supplier's
// `index`, page, stylesheet and logo, the default welcome page and the readme.

#include "voorbeeld/voorbeeldschrijvers.h"

#include "voorbeeld/voorbeeldpakket.h"

// The writers the tests use for the same kinds of file.
#include "import/werkmaptestsupport.h"
#include "platform/biffwriter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QLinearGradient>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QStringEncoder>

#include <cmath>
#include <stdexcept>

namespace supplink::voorbeeld {

namespace {

QString s(const char* tekst)
{
    return QString::fromUtf8(tekst);
}

[[noreturn]] void mislukt(const QString& pad)
{
    throw std::runtime_error(
        QStringLiteral("Het bestand '%1' kan niet worden geschreven.").arg(pad).toStdString());
}

void schrijf(const QString& pad, const QByteArray& inhoud)
{
    QFile bestand(pad);
    if (!bestand.open(QIODevice::WriteOnly | QIODevice::Truncate) || bestand.write(inhoud) != inhoud.size() ||
        !bestand.flush())
        mislukt(pad);
}

// A number as a Dutch spreadsheet program writes it: "," as decimal sign, "." between thousands.
QString nederlands(double waarde, int decimalen)
{
    static const QLocale nl(QLocale::Dutch, QLocale::Netherlands);
    return nl.toString(waarde, 'f', decimalen);
}

// A CSV field, between quotes only when it needs them.
QString veld(const QString& tekst)
{
    if (!tekst.contains(QLatin1Char(';')) && !tekst.contains(QLatin1Char('"')))
        return tekst;
    return QLatin1Char('"') + QString(tekst).replace(QLatin1String("\""), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

// Lines of fields separated by ";", ended by CR LF, encoded in Windows-1252.
void schrijfCsv(const QString& pad, const QList<QStringList>& regels)
{
    QString tekst;
    for (const QStringList& regel : regels) {
        QStringList velden;
        for (const QString& v : regel)
            velden << veld(v);
        tekst += velden.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    }
    QStringEncoder windows("windows-1252");
    if (!windows.isValid())
        throw std::runtime_error("De tekenset Windows-1252 is niet beschikbaar.");
    const QByteArray bytes = windows.encode(tekst);
    if (windows.hasError())
        throw std::runtime_error(
            QStringLiteral("'%1' bevat tekens buiten Windows-1252.").arg(pad).toStdString());
    schrijf(pad, bytes);
}

// A size without a thousands point: "5.400" would read as 5.4 (a single point is a decimal sign).
QString maat(double waarde)
{
    if (waarde == 0)
        return QString();
    QLocale nl(QLocale::Dutch, QLocale::Netherlands);
    nl.setNumberOptions(QLocale::OmitGroupSeparator);
    return nl.toString(waarde, 'f', waarde == double(qint64(waarde)) ? 0 : 1);
}

const QStringList kHangSluitKoppen{s("Code"),
                                   s("Omschrijving"),
                                   s("B >"),
                                   s("B <"),
                                   s("H >"),
                                   s("H <"),
                                   s("Aantal"),
                                   s("ArtikelCode"),
                                   s("ArtikelOmschrijving"),
                                   s("Positie"),
                                   s("Bemating"),
                                   s("Oorsprong"),
                                   s("X"),
                                   s("Y"),
                                   s("Calculatielengte")};

// The articles by code, for the hardware files that name an article on every line.
class ArtikelIndex
{
public:
    explicit ArtikelIndex(const Inhoud& inhoud)
    {
        m_opCode.reserve(inhoud.artikelen.size());
        for (const Artikel& a : inhoud.artikelen) {
            if (!m_opCode.contains(a.code)) // the first of a code wins
                m_opCode.insert(a.code, &a);
        }
    }
    const Artikel* operator()(const QString& code) const { return m_opCode.value(code); }

private:
    QHash<QString, const Artikel*> m_opCode;
};

// The combinations of the hardware files: those with an even number in the CSV text, the others in the
// workbook.
QList<const Combinatie*> bestandCombinaties(const Inhoud& inhoud, bool even)
{
    QList<const Combinatie*> lijst;
    for (int k = 0; k < inhoud.bestandCombinaties.size(); ++k) {
        if ((k % 2 == 0) == even)
            lijst << &inhoud.bestandCombinaties.at(k);
    }
    return lijst;
}

// The price lists: every second article with this year's price, and new articles.
QList<Artikel> prijslijst(const Inhoud& inhoud)
{
    QList<Artikel> lijst;
    for (int i = 0; i < inhoud.artikelen.size(); i += 2) {
        Artikel a = inhoud.artikelen.at(i);
        a.prijs = std::round(a.prijs * 105.0) / 100.0;
        lijst << a;
    }
    QList<Artikel> nieuw = NieuweArtikelen(inhoud, s("VB-NW-"), 20 * inhoud.schaal, 7);
    for (int j = 0; j < nieuw.size(); ++j) {
        // Complete lock sets: prices above a thousand, written with a thousands point.
        if (j % 4 == 1) {
            nieuw[j].prijs = std::round(nieuw[j].prijs * 2200.0) / 100.0;
            nieuw[j].omschrijving += s(" complete set");
        }
        if (j % 5 == 0)
            nieuw[j].opmerking = s("Prijs in € per stuk, excl. BTW; levering vanaf 2 stuks.");
    }
    return lijst << nieuw;
}

void tekenLogo(QImage& beeld)
{
    QPainter p(&beeld);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient verloop(0, 0, beeld.width(), beeld.height());
    verloop.setColorAt(0, QColor(0x1f, 0x5f, 0x8b));
    verloop.setColorAt(1, QColor(0x2e, 0x8b, 0x57));
    p.fillRect(beeld.rect(), verloop);
    // A window frame with its cross, as a mark.
    const int h = beeld.height();
    p.setPen(QPen(Qt::white, 4));
    p.drawRect(QRectF(12, 10, h - 20, h - 20));
    p.drawLine(QPointF(12 + (h - 20) / 2.0, 10), QPointF(12 + (h - 20) / 2.0, h - 10));
    p.drawLine(QPointF(12, h / 2.0), QPointF(h - 8, h / 2.0));
    // Lettering needs the fonts of a graphical application; without one the logo keeps only its mark.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        const QString naam = QString::fromLatin1(kLeverancierCode);
        const QRect vlak(h + 6, 0, beeld.width() - h - 18, h);
        QFont letter(s("DejaVu Sans"));
        letter.setBold(true);
        // As large as fits beside the mark.
        for (int grootte = h * 2 / 5; grootte > 8; --grootte) {
            letter.setPixelSize(grootte);
            if (QFontMetrics(letter).horizontalAdvance(naam) <= vlak.width())
                break;
        }
        p.setFont(letter);
        p.setPen(Qt::white);
        p.drawText(vlak, Qt::AlignVCenter | Qt::AlignLeft, naam);
    }
}

} // namespace

void SchrijfArtikelCsv(const Inhoud& inhoud, const QString& pad)
{
    QList<QStringList> regels{{s("Code"), s("Omschrijving"), s("Artikelgroep"), s("BestelCode"),
                               s("Prijs/Eenheid"), s("Breedte"), s("Hoogte"), s("Dikte"), s("Handelslengte"),
                               s("Opmerking")}};
    for (const Artikel& a : prijslijst(inhoud))
        regels << QStringList{a.code,
                              a.omschrijving,
                              inhoud.groepen.at(a.groep).omschrijving,
                              a.bestelcode,
                              nederlands(a.prijs, 2),
                              maat(a.breedte / 10),
                              maat(a.hoogte / 10),
                              maat(a.dikte / 10),
                              maat(a.handelslengte / 10),
                              a.opmerking};
    schrijfCsv(pad, regels);
}

void SchrijfArtikelWerkmap(const Inhoud& inhoud, const QString& pad)
{
    test::WerkmapBlad blad{
        s("Artikelen"),
        {{s("Code"), s("Omschrijving"), s("Artikelgroep"), s("BestelCode"), s("Prijs/Eenheid"), s("Breedte"),
          s("Hoogte"), s("Dikte"), s("Laatste wijziging")}}};
    QList<Artikel> artikelen;
    for (const Artikel& a : inhoud.artikelen) {
        if (a.type == 1 || a.type == 3 || a.type == 4) {
            Artikel nieuw = a;
            nieuw.prijs = std::round(a.prijs * 103.0) / 100.0;
            artikelen << nieuw;
        }
    }
    artikelen << NieuweArtikelen(inhoud, s("VB-NG-"), 10 * inhoud.schaal, 4);
    for (const Artikel& a : artikelen)
        blad.rijen << QVariantList{a.code,        a.omschrijving, inhoud.groepen.at(a.groep).omschrijving,
                                   a.bestelcode,  a.prijs,        a.breedte / 10,
                                   a.hoogte / 10, a.dikte / 10,   QDateTime(a.gewijzigd, QTime(9, 30))};
    if (!test::schrijfWerkmap(pad, {blad}))
        mislukt(pad);
}

void SchrijfHangSluitCombiCsv(const Inhoud& inhoud, const QString& pad)
{
    QList<QStringList> regels{kHangSluitKoppen};
    const ArtikelIndex artikel(inhoud);
    for (const Combinatie* c : bestandCombinaties(inhoud, true)) {
        for (const CombiArtikel& a : c->artikelen) {
            const Artikel* art = artikel(a.artikel);
            regels << QStringList{c->code,
                                  c->omschrijving,
                                  QString::number(a.breedteVan),
                                  QString::number(a.breedteTot),
                                  QString::number(a.hoogteVan),
                                  QString::number(a.hoogteTot),
                                  QString::number(a.aantal),
                                  a.artikel,
                                  art ? art->omschrijving : QString(),
                                  QString::number(a.positie),
                                  s("0"),
                                  QString::number(a.oorsprong),
                                  a.x,
                                  nederlands(a.y, 1),
                                  maat(a.lengte)};
        }
    }
    schrijfCsv(pad, regels);
}

void SchrijfHangSluitCombiWerkmap(const Inhoud& inhoud, const QString& pad)
{
    test::WerkmapBlad blad{s("Combinaties"), {}};
    QVariantList koppen;
    for (const QString& kop : kHangSluitKoppen)
        koppen << kop;
    blad.rijen << koppen;
    const ArtikelIndex artikel(inhoud);
    for (const Combinatie* c : bestandCombinaties(inhoud, false)) {
        for (const CombiArtikel& a : c->artikelen) {
            const Artikel* art = artikel(a.artikel);
            blad.rijen << QVariantList{c->code,
                                       c->omschrijving,
                                       a.breedteVan,
                                       a.breedteTot,
                                       a.hoogteVan,
                                       a.hoogteTot,
                                       a.aantal,
                                       a.artikel,
                                       art ? art->omschrijving : QString(),
                                       a.positie,
                                       0,
                                       a.oorsprong,
                                       a.x.isEmpty() ? QVariant() : QVariant(a.x.toDouble()),
                                       a.y,
                                       a.lengte == 0 ? QVariant() : QVariant(a.lengte)};
        }
    }
    if (!test::schrijfWerkmap(pad, {blad}))
        mislukt(pad);
}

void SchrijfHangSluitKeuzeCsv(const Inhoud& inhoud, const QString& pad)
{
    QList<QStringList> regels{{s("Code"), s("Omschrijving"), s("Hang en Sluitwerk Combi Code")}};
    for (const Keuze& k : inhoud.bestandKeuzes) {
        for (const QString& combinatie : k.combinaties)
            regels << QStringList{k.code, k.omschrijving, combinatie};
    }
    schrijfCsv(pad, regels);
}

void SchrijfMaterialenXml(const Inhoud& inhoud, const QString& pad)
{
    static const QStringList profielen{s("Kunststof kozijnprofiel 70 mm"),
                                       s("Kunststof vleugelprofiel 76 mm"), s("Kunststof T-profiel 82 mm"),
                                       s("Kunststof glaslat 24 mm"), s("Kunststof aanslagprofiel")};
    static const QList<int> materiaalnummers{1000, 4300, 5000, 5900, 6000};
    static const QStringList kleuren{s("124130"), s("124150"), s("135170"), s("100000")};
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<rfc:ZVXI_RFC_OUT_JOPPS xmlns:rfc=\"urn:sap-com:document:sap:rfc:functions\">\n"
                     "  <RFCDATA>\n    <MATERIALS>\n";
    for (int k = 0; k < 30 * inhoud.schaal; ++k) {
        const int bismt = materiaalnummers.at(k % materiaalnummers.size()) + k;
        const auto element = [](const char* naam, const QString& tekst) {
            return QByteArray("<") + naam + ">" + tekst.toHtmlEscaped().toUtf8() + "</" + naam + ">";
        };
        xml += "      <item>" + element("MAKTX_NL", profielen.at(k % profielen.size())) +
               element("NETPRICE", QString::number(9.5 + (k % 17) * 1.25, 'f', 2)) +
               element("PRODH1", QStringLiteral("P-%1").arg(bismt)) +
               element("LENGTH", QString::number(6.0 + (k % 3) * 0.5, 'f', 1)) +
               element("COLOR", kleuren.at(k % kleuren.size())) + element("BISMT", QString::number(bismt)) +
               "</item>\n";
    }
    xml += "    </MATERIALS>\n  </RFCDATA>\n</rfc:ZVXI_RFC_OUT_JOPPS>\n";
    schrijf(pad, xml);
}

void SchrijfInformatieWerkmappen(const Inhoud& inhoud, const QString& map)
{
    const QStringList koppen{s("CODE"),   s("Omschrijving"), s("Link 1"), s("Doel 1"),
                             s("Link 2"), s("Doel 2"),       s("Link 3"), s("Doel 3")};
    const auto werkmap = [&](const QString& naam, const QList<QStringList>& rijen) {
        test::BiffBook boek(8);
        QStringList teksten = koppen;
        for (const QStringList& rij : rijen)
            teksten << rij;
        teksten.removeDuplicates();
        boek.setSharedStrings(teksten);
        QByteArray& blad = boek.sheet(s("Blad1"));
        QList<QStringList> alle{koppen};
        alle << rijen;
        for (int r = 0; r < alle.size(); ++r) {
            for (int c = 0; c < alle.at(r).size(); ++c) {
                if (!alle.at(r).at(c).isEmpty())
                    blad += boek.labelSst(r, c, quint32(teksten.indexOf(alle.at(r).at(c))));
            }
        }
        schrijf(QDir(map).filePath(naam + s(".xls")), boek.file());
    };
    const QString web = s("https://www.example.com/voorbeeld/");
    QList<QStringList> artikelen;
    for (int i = 0; i < inhoud.artikelen.size() && i < 250; ++i) {
        const Artikel& a = inhoud.artikelen.at(i);
        QStringList rij{a.code,
                        a.omschrijving + s(". Bestelcode ") + a.bestelcode + s(", per ") + a.eenheid + s("."),
                        s("Productblad"), web + s("artikelen/") + a.code + s(".pdf")};
        if (a.type == 6 || a.type == 7)
            rij << s("Montagehandleiding")
                << web + s("montage/") + inhoud.groepen.at(a.groep).code + s(".pdf");
        if (a.type == 0)
            rij << QString() << QString() << s("Onderhoudsadvies") << web + s("onderhoud-hout.html");
        artikelen << rij;
    }
    werkmap(s("Artikelen"), artikelen);
    // A group is listed by its code from the product table and by its description from the price lists.
    QList<QStringList> groepen;
    for (const Groep& g : inhoud.groepen)
        for (const QString& code : {g.code, g.omschrijving})
            groepen << QStringList{code, g.omschrijving + s(" van Voorbeeld Leverancier."), s("Assortiment"),
                                   web + s("assortiment/") + g.code.toLower() + s(".html")};
    werkmap(s("ArtikelGroepen"), groepen);
    QList<QStringList> vak;
    for (const Familie& f : inhoud.vaksponningen)
        vak << QStringList{f.code,
                           f.omschrijving + s(", met ") + QString::number(f.kinderen.size()) +
                               s(" sponningmaten."),
                           s("Maattekening"),
                           web + s("sponningen/") + f.code + s(".pdf"),
                           s("Verwerkingsrichtlijn"),
                           web + s("richtlijnen/beglazing.html")};
    werkmap(s("Vaksponningen"), vak);
}

void SchrijfLeverancierBestanden(const Inhoud& inhoud, const QString& map)
{
    const QDir dir(map);
    schrijf(dir.filePath(s("index")), QByteArray(kLeverancierCode) + "\r\n" + kLeverancierNaam + "\r\n" +
                                          kLeverancierCategorie + "\r\n");

    QImage logo(300, 80, QImage::Format_RGB32);
    tekenLogo(logo);
    if (!logo.save(dir.filePath(s("logo.jpg")), "JPG", 90))
        mislukt(dir.filePath(s("logo.jpg")));

    const auto regel = [](const char* bestand, const QString& soort, const QString& inhoud) {
        return QStringLiteral("    <bestand naam=\"%1\" soort=\"%2\">%3</bestand>\n")
            .arg(QString::fromLatin1(bestand), soort.toHtmlEscaped(), inhoud.toHtmlEscaped());
    };
    const int s1 = inhoud.schaal;
    QString xml = s("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<?xml-stylesheet type=\"text/xsl\" href=\"leverancier.xsl\"?>\n");
    xml += QStringLiteral("<leverancier code=\"%1\" categorie=\"%2\">\n")
               .arg(QString::fromLatin1(kLeverancierCode), QString::fromLatin1(kLeverancierCategorie));
    xml += QStringLiteral("  <naam>%1</naam>\n").arg(QString::fromLatin1(kLeverancierNaam));
    xml +=
        s("  <omschrijving>Een verzonnen leverancier van hout, glas, panelen, hang- en sluitwerk, dorpels en "
          "sponningen, om het programma mee te leren kennen. Kies hem, klik op Volgende en neem de bestanden "
          "uit "
          "de map \"voorbeeld\" naast het programma: de bronnen uit \"bronnen\", de doelen uit "
          "\"doelen\".</omschrijving>\n");
    xml += s("  <adres>Voorbeeldweg 1, 1234 AB Voorbeeldstad</adres>\n"
             "  <telefoon>012 - 345 67 89</telefoon>\n"
             "  <email>info@example.com</email>\n"
             "  <website>https://www.example.com/</website>\n"
             "  <bestanden>\n");
    xml +=
        regel(kBronArtikelCsv, s("Prijslijst (CSV)"),
              QStringLiteral("%1 artikelen, Windows-1252, decimale komma's").arg(prijslijst(inhoud).size()));
    xml += regel(kBronArtikelWerkmap, s("Prijslijst (Excel)"), s("Glas en panelen"));
    xml += regel(kBronHangSluitCombiCsv, s("Hang- en sluitwerk (CSV)"),
                 QStringLiteral("%1 combinaties").arg(bestandCombinaties(inhoud, true).size()));
    xml += regel(kBronHangSluitCombiWerkmap, s("Hang- en sluitwerk (Excel)"),
                 QStringLiteral("%1 combinaties").arg(bestandCombinaties(inhoud, false).size()));
    xml += regel(kBronHangSluitKeuzeCsv, s("Hang- en sluitwerk keuzes (CSV)"),
                 QStringLiteral("%1 keuzes").arg(inhoud.bestandKeuzes.size()));
    xml += regel(kBronMaterialenXml, s("Materiaallijst (XML)"),
                 QStringLiteral("%1 kunststof profielen").arg(30 * s1));
    xml += regel(
        kBronProducten, s("Productentabel 3.40"),
        QStringLiteral("%1 artikelen in %2 groepen").arg(inhoud.artikelen.size()).arg(inhoud.groepen.size()));
    xml += regel(kBronOnderhoud, s("Onderhoudsbestand 3.40"),
                 QStringLiteral("%1 tabellen, %2 combinaties, %3 keuzes")
                     .arg(inhoud.tabellen.size())
                     .arg(inhoud.combinaties.size())
                     .arg(inhoud.keuzes.size()));
    xml += regel(
        kBronBibliotheek, s("Bibliotheekbestand 3.40"),
        QStringLiteral("%1 sponningen, %2 dorpel- en %3 neutcombinaties")
            .arg(inhoud.vaksponningen.size() + inhoud.randsponningen.size() + inhoud.elementsponningen.size())
            .arg(inhoud.laagrelief.size())
            .arg(inhoud.neuten.size()));
    xml += regel(kBronWerkvoorbereiding, s("Werkvoorbereidingbestand 3.40"),
                 QStringLiteral("%1 sponningfiguren").arg(inhoud.vormen.size()));
    xml += s("  </bestanden>\n</leverancier>\n");
    schrijf(dir.filePath(s("leverancier.xml")), xml.toUtf8());

    schrijf(dir.filePath(s("leverancier.xsl")), QByteArrayLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="html" encoding="UTF-8"/>
  <xsl:template match="/leverancier">
    <html>
      <head><title><xsl:value-of select="naam"/></title></head>
      <body>
        <table border="0" cellpadding="4" cellspacing="0" width="100%">
          <tr>
            <td width="310"><img src="logo.jpg" width="300" height="80"/></td>
            <td valign="middle">
              <h2><xsl:value-of select="naam"/></h2>
              <p><xsl:value-of select="adres"/><br/>
                Telefoon <xsl:value-of select="telefoon"/><br/>
                <a href="mailto:{email}"><xsl:value-of select="email"/></a> -
                <a href="{website}"><xsl:value-of select="website"/></a></p>
            </td>
          </tr>
        </table>
        <p><xsl:value-of select="omschrijving"/></p>
        <h3>Bestanden</h3>
        <table border="1" cellpadding="3" cellspacing="0">
          <tr><th align="left">Bestand</th><th align="left">Soort</th><th align="left">Inhoud</th></tr>
          <xsl:for-each select="bestanden/bestand">
            <tr>
              <td><xsl:value-of select="@naam"/></td>
              <td><xsl:value-of select="@soort"/></td>
              <td><xsl:value-of select="."/></td>
            </tr>
          </xsl:for-each>
        </table>
      </body>
    </html>
  </xsl:template>
</xsl:stylesheet>
)"));
}

void SchrijfWelkomPagina(const QString& pad)
{
    // Left open: the welcome step appends the table of supplier logos and closes the div, body and html.
    schrijf(pad, QByteArrayLiteral(R"(<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=utf-8">
<title>Welkom</title>
</head>
<body>
<div>
<h2>Welkom</h2>
<p>Met dit programma neemt u de artikelen, prijzen, hang- en sluitwerk, sponningen en sponningfiguren van uw
leveranciers over in uw eigen bestanden. Kies links een leverancier en klik op <b>Volgende</b>.</p>
<p>Dit is de welkomstpagina van het <b>voorbeeldpakket</b> (voorbeeld.dat): de verzonnen leverancier
<b>Voorbeeld Leverancier</b> staat onder <i>Tavrin</i>. Zijn bronbestanden en een set eigen bestanden om in over
te zetten staan in de map <b>voorbeeld</b> naast het programma. Verwijder voorbeeld.dat wanneer de inhoudspakketten
van uw leveranciers zijn geïnstalleerd.</p>
)"));
}

void SchrijfLeesMij(const Inhoud& inhoud, const QString& pad)
{
    QString tekst = QStringLiteral(
        "Voorbeeldpakket: bronbestanden van de verzonnen leverancier VOORBEELD en eigen bestanden om in over "
        "te\r\n"
        "zetten. Het programma maakt deze map bij het bouwen opnieuw wanneer het voorbeeldpakket "
        "verandert;\r\n"
        "wat u hier overzet gaat dan verloren. Kopieer de doelen eerst wanneer u ze wilt bewaren.\r\n\r\n"
        "Stap 2 (bronbestanden), map bronnen:\r\n");
    const auto regel = [&tekst](const char* naam, const QString& uitleg) {
        tekst += QStringLiteral("  %1 %2\r\n")
                     .arg(QString::fromLatin1(naam).section(QLatin1Char('/'), 1), -31)
                     .arg(uitleg);
    };
    regel(kBronArtikelCsv, QStringLiteral("prijslijst, %1 artikelen (Windows-1252, scheidingsteken ';', "
                                          "decimale komma)")
                               .arg(prijslijst(inhoud).size()));
    regel(kBronArtikelWerkmap, s("prijslijst glas en panelen (Excel)"));
    regel(kBronHangSluitCombiCsv, s("hang- en sluitwerk combinaties (15 kolommen)"));
    regel(kBronHangSluitCombiWerkmap, s("hang- en sluitwerk combinaties (Excel)"));
    regel(kBronHangSluitKeuzeCsv, s("hang- en sluitwerk keuzes (3 kolommen)"));
    regel(kBronMaterialenXml, s("materiaallijst kunststof profielen (XML)"));
    regel(kBronProducten, QStringLiteral("productentabel 3.40, %1 artikelen").arg(inhoud.artikelen.size()));
    regel(kBronOnderhoud,
          QStringLiteral("onderhoudsbestand 3.40, %1 combinaties").arg(inhoud.combinaties.size()));
    regel(kBronBibliotheek, s("bibliotheekbestand 3.40, sponningen, dorpels en neuten"));
    regel(kBronWerkvoorbereiding,
          QStringLiteral("werkvoorbereidingbestand 3.40, %1 sponningfiguren").arg(inhoud.vormen.size()));
    tekst += s(
        "\r\nStap 3 (doelbestanden), map doelen: uw eigen bestanden, met een deel van de leverancier in een "
        "oudere vorm\r\nen eigen onderdelen (codes EIGEN-...):\r\n");
    regel(kDoelProducten, s("productentabel (*.pt)"));
    regel(kDoelOnderhoud, s("onderhoudsbestand (*.opt)"));
    regel(kDoelBibliotheek, s("bibliotheekbestand (*.lib)"));
    regel(kDoelWerkvoorbereiding, s("werkvoorbereidingbestand (*.wkv)"));
    schrijf(pad, tekst.toUtf8());
}

} // namespace supplink::voorbeeld
