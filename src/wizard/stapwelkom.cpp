#include "wizard/stapwelkom.h"

#include "platform/runcontext.h"
#include "platform/zipextract.h"
#include "sources/tekstbestand.h"
#include "start/dialogs.h"
#include "start/errors.h"
#include "start/globals.h"
#include "start/registryfuncties.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>

#include <algorithm>

namespace supplink {

namespace {

constexpr int kStandaardCategorie = 6;
constexpr int kStartCategorie = 8;

const QString kWelkomPagina = QStringLiteral("welkom.html");
const QString kIndex = QStringLiteral("index");
const QString kLeverancierPagina = QStringLiteral("leverancier.xml");
const QString kLogo = QStringLiteral("logo.jpg");

QString categorieSleutel(int cijfer)
{
    return QStringLiteral("CAT") + QString::number(cijfer);
}

// The file of the folder with the name: the exact name first, then one whose name differs only in case
// (packages made on Windows); empty when there is none.
QString bestandInMap(const QString& map, const QString& naam)
{
    const QDir dir(map);
    if (QFileInfo(dir.filePath(naam)).isFile())
        return QDir::toNativeSeparators(dir.filePath(naam));
    for (const QString& ander : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        if (ander.compare(naam, Qt::CaseInsensitive) == 0)
            return QDir::toNativeSeparators(dir.filePath(ander));
    }
    return QString();
}

// The subfolders of a folder by name, as full paths.
QStringList submappen(const QString& map)
{
    QStringList paden;
    const QDir dir(map);
    for (const QString& naam : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        paden << QDir::toNativeSeparators(dir.filePath(naam));
    return paden;
}

// One cell of the logo table: the logo as a file address, escaped for the page.
QString logoCel(const QString& logo)
{
    return QStringLiteral("<td><center><img height=\"35\" src=\"") +
           QUrl::fromLocalFile(QDir::fromNativeSeparators(logo))
               .toString(QUrl::FullyEncoded)
               .toHtmlEscaped() +
           QStringLiteral("\"></center></td>");
}

} // namespace

const QStringList& StapWelkom::CategorieTeksten()
{
    static const QStringList teksten{QStringLiteral("Hang en Sluitwerk Groothandel"),
                                     QStringLiteral("Hang en Sluitwerk Leverancier"),
                                     QStringLiteral("Dorpels"),
                                     QStringLiteral("Deuren"),
                                     QStringLiteral("Gereedschappen"),
                                     QStringLiteral("Tavrin"),
                                     QStringLiteral("Glas"),
                                     QStringLiteral("Diverse Profielen"),
                                     QStringLiteral("Kunststof Profielen")};
    return teksten;
}

int StapWelkom::CategorieVan(const clsLeverancier& leverancier)
{
    const QString categorie = leverancier.Categorie.trimmed();
    if (categorie.size() == 1 && categorie.at(0) >= u'1' && categorie.at(0) <= u'9')
        return categorie.at(0).unicode() - u'0';
    return kStandaardCategorie;
}

StapWelkom::StapWelkom(QObject* parent) : Stap(parent) {}

StapWelkom::~StapWelkom() = default;

QString StapWelkom::ProgrammaMap() const
{
    return m_programmaMap.isEmpty() ? QCoreApplication::applicationDirPath() : m_programmaMap;
}

void StapWelkom::Init()
{
    if (m_boom.isEmpty()) {
        VoorbereidenTempMap();
        if (!globals().gWelkomMap.isEmpty())
            VoegLogoTabelToe(globals().gWelkomMap);
        VullenTreeView();
    }
    emit KanVerder(globals().gLeverancier != nullptr);

    bool getal = false;
    const int procent = CurrentUser_HaalOp(QStringLiteral("Splitter"), QStringLiteral("welkomsplitter1pos"),
                                           QStringLiteral("30"))
                            .trimmed()
                            .toInt(&getal);
    m_splitter = getal ? std::clamp(procent, 5, 95) : 30;
    emit SplitterHersteld(m_splitter);
}

void StapWelkom::Finish()
{
    CurrentUser_BrengWeg(QStringLiteral("Splitter"), QStringLiteral("welkomsplitter1pos"),
                         QString::number(m_splitter));
}

void StapWelkom::ZetSplitterPositie(int procent)
{
    m_splitter = std::clamp(procent, 5, 95);
}

void StapWelkom::VoorbereidenTempMap()
{
    try {
        // A folder of its own, made in one step: no other process can take its name in between.
        QTemporaryDir map(GetTempFolder() + QStringLiteral("bvqXXXXXX"));
        if (!map.isValid())
            throw AppError(ErrorNumber::PathNotFound,
                           QStringLiteral("De tijdelijke map kan niet worden gemaakt in '%1' (%2).")
                               .arg(GetTempFolder(), map.errorString()));
        map.setAutoRemove(false);
        globals().gWelkomMap = QDir::toNativeSeparators(map.path());

        RunContext run;
        RunScope bezig(run);
        const QDir programma(ProgrammaMap());
        for (const QFileInfo& pakket : programma.entryInfoList(QDir::Files, QDir::Name)) {
            if (pakket.suffix().toLower() != QLatin1String("dat"))
                continue;
            const ZipExtraction uitkomst =
                extractZipArchive(pakket.absoluteFilePath(), globals().gWelkomMap, &run);
            // What could be unpacked is there; the user hears what was not, and the other packages follow.
            if (!uitkomst.ok())
                ShowError(
                    QString(),
                    AppError(ErrorNumber::General,
                             QStringLiteral("Het inhoudspakket '%1' is niet volledig uitgepakt.\n%2")
                                 .arg(QDir::toNativeSeparators(pakket.absoluteFilePath()), uitkomst.error)));
        }
    } catch (const std::exception& e) {
        ShowError(QString(), e);
    }
}

void StapWelkom::VoegLogoTabelToe(const QString& map)
{
    QFile pagina(QDir(map).filePath(kWelkomPagina));
    if (!pagina.open(QIODevice::WriteOnly | QIODevice::Append))
        return; // the default page then shows no logos; nothing else depends on it
    QString uit =
        QStringLiteral("<table border=\"0\" cellpadding=\"3\" cellspacing=\"3\" width=\"600\">\r\n");
    int kolom = 0;
    for (const QString& sub : submappen(map)) {
        const QString logo = bestandInMap(sub, kLogo);
        if (logo.isEmpty() || sub.contains(QLatin1String("TAVRIN SH")))
            continue;
        if (kolom == 0)
            uit += QStringLiteral("<tr>\r\n");
        uit += logoCel(logo) + QStringLiteral("\r\n");
        if (kolom == 2) {
            uit += QStringLiteral("</tr>\r\n");
            kolom = 0;
        } else {
            ++kolom;
        }
    }
    if (kolom != 0)
        uit += QStringLiteral("</tr>\r\n");
    uit += QStringLiteral("</table></div></body></html>\r\n");
    pagina.write(uit.toUtf8()); // a failed write is ignored, as the failed opening above
}

std::shared_ptr<clsLeverancier> StapWelkom::LeesIndex(const QString& map)
{
    const QString index = bestandInMap(map, kIndex);
    if (index.isEmpty())
        return nullptr;
    const std::optional<QString> tekst = LeesTekstBestand(index);
    if (!tekst)
        throw AppError(ErrorNumber::PathNotFound,
                       QStringLiteral("Het bestand '%1' kan niet worden gelezen.").arg(index));
    RegelLezer lezer(*tekst);
    QStringView code, omschrijving, categorie;
    if (!lezer.volgende(code) || !lezer.volgende(omschrijving))
        throw AppError(
            ErrorNumber::InputPastEnd,
            QStringLiteral("Het bestand '%1' heeft geen tweede regel (de naam van de leverancier).")
                .arg(index));
    auto leverancier = std::make_shared<clsLeverancier>();
    leverancier->Code = code.toString();
    leverancier->Omschrijving = omschrijving.toString();
    const QString pagina = bestandInMap(map, kLeverancierPagina);
    leverancier->WelkomBestand =
        pagina.isEmpty() ? QDir::toNativeSeparators(QDir(map).filePath(kLeverancierPagina)) : pagina;
    leverancier->MainFolder = QDir::toNativeSeparators(map);
    if (lezer.volgende(categorie))
        leverancier->Categorie = categorie.toString();
    return leverancier;
}

void StapWelkom::VullenTreeView()
{
    try {
        m_boom.clear();
        globals().gLeveranciers.clear();
        for (int cijfer = 1; cijfer <= CategorieTeksten().size(); ++cijfer)
            m_boom.append({categorieSleutel(cijfer), CategorieTeksten().at(cijfer - 1), {}});
        AnalyzeFolder(LocalMachine_HaalOp(QStringLiteral("settings"), QStringLiteral("leveranciers"),
                                          globals().gWelkomMap));
        BouwBoom();
        m_geselecteerd = categorieSleutel(kStartCategorie);
        emit BoomGewijzigd();
        ToonStandaardWelkom();
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("VullenTreeView"), e);
    }
}

void StapWelkom::AnalyzeFolder(const QString& map)
{
    try {
        if (map.isEmpty() || !QFileInfo(map).isDir())
            throw AppError(ErrorNumber::PathNotFound,
                           QStringLiteral("De map met leveranciers '%1' kan niet worden geopend.").arg(map));
        for (const QString& sub : submappen(map)) {
            try {
                if (std::shared_ptr<clsLeverancier> leverancier = LeesIndex(sub))
                    globals().gLeveranciers.append(std::move(leverancier));
            } catch (const std::exception& e) {
                ShowError(QStringLiteral("HandleIndex"), e);
            }
        }
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("AnalyzeFolder"), e);
    }
}

void StapWelkom::BouwBoom()
{
    QStringList gezien;
    for (const std::shared_ptr<clsLeverancier>& leverancier : std::as_const(globals().gLeveranciers)) {
        if (leverancier->Code.isEmpty())
            continue;
        const bool dubbel = std::any_of(gezien.begin(), gezien.end(), [&](const QString& code) {
            return code.compare(leverancier->Code, Qt::CaseInsensitive) == 0;
        });
        if (dubbel)
            continue; // the first supplier with the code keeps its place; its page is the one shown
        gezien << leverancier->Code;
        m_boom[CategorieVan(*leverancier) - 1].leveranciers.append(leverancier);
    }
    for (WelkomCategorie& categorie : m_boom) {
        std::stable_sort(categorie.leveranciers.begin(), categorie.leveranciers.end(),
                         [](const auto& a, const auto& b) {
                             return a->Omschrijving.compare(b->Omschrijving, Qt::CaseInsensitive) < 0;
                         });
    }
}

void StapWelkom::ToonStandaardWelkom()
{
    try {
        globals().gLeverancier.reset();
        emit KanVerder(false);
        m_pagina = globals().gWelkomMap.isEmpty()
                       ? QString()
                       : QDir::toNativeSeparators(QDir(globals().gWelkomMap).filePath(kWelkomPagina));
        emit PaginaGewijzigd(m_pagina);
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("ToonStandaardWelkom"), e);
    }
}

void StapWelkom::ToonWelkom(const QString& code)
{
    try {
        for (const std::shared_ptr<clsLeverancier>& leverancier : std::as_const(globals().gLeveranciers)) {
            if (leverancier->Code.isEmpty() || leverancier->Code.compare(code, Qt::CaseInsensitive) != 0)
                continue;
            globals().gLeverancier = leverancier;
            emit KanVerder(true);
            m_pagina = leverancier->WelkomBestand;
            emit PaginaGewijzigd(m_pagina);
            return;
        }
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("ToonWelkom"), e);
    }
}

void StapWelkom::KnoopGeklikt(const QString& sleutel, bool categorie)
{
    m_geselecteerd = sleutel;
    if (categorie || sleutel.isEmpty())
        ToonStandaardWelkom();
    else
        ToonWelkom(sleutel);
}

void StapWelkom::KnoopDubbelGeklikt()
{
    emit GaVerder();
}

} // namespace supplink
