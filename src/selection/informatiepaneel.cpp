#include "selection/informatiepaneel.h"

#include "platform/programstart.h"
#include "platform/uiservices.h"
#include "start/globals.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace supplink {

namespace {

std::optional<QUrl> Document(const QString& pad, const QString& basisMap)
{
    QStringList kandidaten{pad};
    if (pad.contains(QLatin1Char('\\')))
        kandidaten.append(QString(pad).replace(QLatin1Char('\\'), QLatin1Char('/')));
    for (const QString& kandidaat : kandidaten) {
        QFileInfo bestand(kandidaat);
        if (bestand.isRelative()) {
            if (basisMap.isEmpty())
                continue;
            bestand = QFileInfo(QDir(basisMap), kandidaat);
        }
        if (!bestand.exists())
            continue;
        if (!bestand.isFile() || IsProgrammaBestand(bestand))
            return std::nullopt;
        return QUrl::fromLocalFile(bestand.absoluteFilePath());
    }
    return std::nullopt;
}

} // namespace

DocumentOpener BureaubladOpener()
{
    return [](const QUrl& adres) { return QDesktopServices::openUrl(adres); };
}

std::optional<QUrl> DocumentatieAdres(const QString& doel, const QString& basisMap)
{
    const QString tekst = doel.trimmed();
    if (tekst.isEmpty())
        return std::nullopt;
    const QUrl adres(tekst, QUrl::StrictMode);
    const QString schema = adres.scheme().toLower();
    if (adres.isValid() && (schema == QLatin1String("http") || schema == QLatin1String("https")))
        return adres.host().isEmpty() ? std::nullopt : std::optional<QUrl>(adres);
    if (adres.isValid() && schema == QLatin1String("mailto"))
        return adres.path().isEmpty() ? std::nullopt : std::optional<QUrl>(adres);
    if (adres.isValid() && schema == QLatin1String("file"))
        return Document(adres.toLocalFile(), basisMap);
    if (tekst.startsWith(QLatin1String("www."), Qt::CaseInsensitive) && !tekst.contains(QLatin1Char(' ')))
        return QUrl(QStringLiteral("http://") + tekst);
    // A scheme of one letter is a Windows drive ("C:\..."); any other scheme is refused.
    if (!schema.isEmpty() && schema.size() > 1 && !QFileInfo(tekst).isAbsolute())
        return std::nullopt;
    return Document(tekst, basisMap);
}

InformatiePaneel::InformatiePaneel(QObject* parent) : QObject(parent), m_opener(BureaubladOpener()) {}

void InformatiePaneel::SetOmschrijvingTekst(const QString& tekst)
{
    m_omschrijving = tekst;
    emit OmschrijvingGewijzigd();
}

void InformatiePaneel::ClearLinks()
{
    m_links.clear();
    m_gekozen = -1;
    emit LinksGewijzigd();
}

void InformatiePaneel::SetLink(const QString& naam, const QString& doel)
{
    if (!naam.trimmed().isEmpty() || !doel.trimmed().isEmpty())
        m_links.append({naam, doel});
    m_toolTip = QStringLiteral("Dubbelklik om de documentatie te openen.");
    emit LinksGewijzigd();
}

void InformatiePaneel::SetPreviewIsSponningfiguur()
{
    m_preview = true;
    emit PreviewGekozen();
}

void InformatiePaneel::SetProfilePreview(std::shared_ptr<const clsProfile> profiel)
{
    m_profiel = std::move(profiel);
    emit ProfielGewijzigd();
}

void InformatiePaneel::KiesLink(int index)
{
    const int gekozen = index >= 0 && index < m_links.size() ? index : -1;
    if (gekozen == m_gekozen)
        return;
    m_gekozen = gekozen;
    emit KeuzeGewijzigd();
}

void InformatiePaneel::Openen()
{
    if (m_gekozen < 0)
        return;
    const QString doel = m_links.at(m_gekozen).Doel;
    const std::optional<QUrl> adres = DocumentatieAdres(doel, m_basisMap);
    if (!adres) {
        ui().messageBox(QStringLiteral("De documentatie \"%1\" wordt niet geopend: alleen internet- en "
                                       "e-mailadressen en bestaande documenten (geen programma's) kunnen "
                                       "worden geopend.")
                            .arg(doel.trimmed()),
                        MsgBox::OkOnly | MsgBox::Exclamation, QString::fromUtf8(kProgramTitle));
        return;
    }
    // As the shell's open verb: whether the program for it started is not examined.
    m_opener(*adres);
}

QString InformatiePaneel::KopieerTekst() const
{
    return m_gekozen >= 0 ? m_links.at(m_gekozen).Doel : QString();
}

void InformatiePaneel::setOpener(DocumentOpener opener)
{
    m_opener = opener ? std::move(opener) : BureaubladOpener();
}

} // namespace supplink
