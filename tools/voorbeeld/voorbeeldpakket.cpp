#include "voorbeeld/voorbeeldpakket.h"

#include "voorbeeld/voorbeeldinhoud.h"
#include "voorbeeld/voorbeeldschrijvers.h"

// The tests' zip writer: the package is written entry by entry as they write theirs.
#include "support/zipwriter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace supplink::voorbeeld {

namespace {

QString s(const char* tekst)
{
    return QString::fromUtf8(tekst);
}

// A path as the file system library takes it.
std::filesystem::path fsPad(const QString& pad)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(pad.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(pad).toStdString());
#endif
}

void maakMap(const QString& map)
{
    if (!QDir().mkpath(map))
        throw std::runtime_error(QStringLiteral("De map '%1' kan niet worden gemaakt.").arg(map).toStdString());
}

// Every file below the folder as an entry of the archive, by its path relative to the folder.
QList<QPair<QString, QByteArray>> delen(const QString& map)
{
    QStringList paden;
    QDirIterator it(map, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        paden << it.next();
    paden.sort();
    QList<QPair<QString, QByteArray>> lijst;
    const QDir basis(map);
    for (const QString& pad : paden) {
        QFile bestand(pad);
        if (!bestand.open(QIODevice::ReadOnly))
            throw std::runtime_error(QStringLiteral("'%1' kan niet worden gelezen.").arg(pad).toStdString());
        lijst.append({basis.relativeFilePath(pad), bestand.readAll()});
    }
    return lijst;
}

void kopieerMap(const QString& van, const QString& naar)
{
    std::error_code fout;
    std::filesystem::copy(fsPad(van), fsPad(naar), std::filesystem::copy_options::recursive, fout);
    if (fout)
        throw std::runtime_error(QStringLiteral("'%1' kan niet worden gekopieerd naar '%2' (%3).")
                                     .arg(van, naar, QString::fromStdString(fout.message()))
                                     .toStdString());
}

// Puts a complete file or folder in the place of the old one: the old one is moved aside first (into the
// scratch folder, deleted with it), then the new one renamed into its place.
void vervang(const QString& nieuw, const QString& plaats, const QString& opzij)
{
    std::error_code fout;
    if (QFileInfo::exists(plaats)) {
        std::filesystem::rename(fsPad(plaats), fsPad(opzij), fout);
        if (fout)
            throw std::runtime_error(QStringLiteral("'%1' kan niet worden vervangen (%2).")
                                         .arg(plaats, QString::fromStdString(fout.message()))
                                         .toStdString());
    }
    std::filesystem::rename(fsPad(nieuw), fsPad(plaats), fout);
    if (fout) {
        std::error_code terug;
        if (QFileInfo::exists(opzij))
            std::filesystem::rename(fsPad(opzij), fsPad(plaats), terug);
        throw std::runtime_error(QStringLiteral("'%1' kan niet worden geplaatst (%2).")
                                     .arg(plaats, QString::fromStdString(fout.message()))
                                     .toStdString());
    }
}

} // namespace

QString PadInVoorbeeldMap(const char* relatief)
{
    return QString::fromLatin1(kMapNaam) + QLatin1Char('/') + QString::fromLatin1(relatief);
}

bool SchrijfInhoud(const QString& map, int schaal, QString* fout)
{
    try {
        const Inhoud inhoud = Inhoud::Maak(schaal);
        const QDir basis(map);
        const QString leverancier = basis.filePath(QString::fromLatin1(kLeverancierCode));
        const QDir dir(leverancier);
        maakMap(dir.filePath(s("bronnen")));
        maakMap(dir.filePath(s("doelen")));
        const auto pad = [&dir](const char* relatief) { return dir.filePath(QString::fromLatin1(relatief)); };

        SchrijfWelkomPagina(basis.filePath(s("welkom.html")));
        SchrijfLeverancierBestanden(inhoud, leverancier);
        SchrijfInformatieWerkmappen(inhoud, leverancier);
        SchrijfLeesMij(inhoud, pad(kLeesMij));

        SchrijfArtikelCsv(inhoud, pad(kBronArtikelCsv));
        SchrijfArtikelWerkmap(inhoud, pad(kBronArtikelWerkmap));
        SchrijfHangSluitCombiCsv(inhoud, pad(kBronHangSluitCombiCsv));
        SchrijfHangSluitCombiWerkmap(inhoud, pad(kBronHangSluitCombiWerkmap));
        SchrijfHangSluitKeuzeCsv(inhoud, pad(kBronHangSluitKeuzeCsv));
        SchrijfMaterialenXml(inhoud, pad(kBronMaterialenXml));
        SchrijfBronProducten(inhoud, pad(kBronProducten));
        SchrijfBronOnderhoud(inhoud, pad(kBronOnderhoud));
        SchrijfBronBibliotheek(inhoud, pad(kBronBibliotheek));
        SchrijfBronWerkvoorbereiding(inhoud, pad(kBronWerkvoorbereiding));

        SchrijfDoelProducten(inhoud, pad(kDoelProducten));
        SchrijfDoelOnderhoud(inhoud, pad(kDoelOnderhoud));
        SchrijfDoelBibliotheek(inhoud, pad(kDoelBibliotheek));
        SchrijfDoelWerkvoorbereiding(inhoud, pad(kDoelWerkvoorbereiding));
        return true;
    } catch (const std::exception& e) {
        if (fout)
            *fout = QString::fromUtf8(e.what());
        return false;
    }
}

bool SchrijfVoorbeeld(const QString& map, int schaal, QString* fout)
{
    try {
        maakMap(map);
        // Everything is made in a scratch folder beside its place and moved there only when complete.
        QTemporaryDir kladmap(QDir(map).filePath(s(".voorbeeld-XXXXXX")));
        if (!kladmap.isValid())
            throw std::runtime_error(
                QStringLiteral("Er kan geen werkmap worden gemaakt in '%1'.").arg(map).toStdString());
        const QDir klad(kladmap.path());
        const QString inhoud = klad.filePath(s("inhoud"));
        QString reden;
        if (!SchrijfInhoud(inhoud, schaal, &reden))
            throw std::runtime_error(reden.toStdString());

        const QString pakket = klad.filePath(QString::fromLatin1(kPakketNaam));
        if (!test::writeZip(pakket, delen(inhoud)))
            throw std::runtime_error(QStringLiteral("Het pakket '%1' kan niet worden geschreven.").arg(pakket).toStdString());

        // The folder beside the program: the sources, the targets and the readme.
        const QString voorbeeld = klad.filePath(QString::fromLatin1(kMapNaam));
        const QDir leverancier(QDir(inhoud).filePath(QString::fromLatin1(kLeverancierCode)));
        maakMap(voorbeeld);
        kopieerMap(leverancier.filePath(s("bronnen")), QDir(voorbeeld).filePath(s("bronnen")));
        kopieerMap(leverancier.filePath(s("doelen")), QDir(voorbeeld).filePath(s("doelen")));
        if (!QFile::copy(leverancier.filePath(QString::fromLatin1(kLeesMij)),
                         QDir(voorbeeld).filePath(QString::fromLatin1(kLeesMij))))
            throw std::runtime_error("LEESMIJ.txt kan niet worden gekopieerd.");

        const QDir doel(map);
        vervang(pakket, doel.filePath(QString::fromLatin1(kPakketNaam)), klad.filePath(s("oud.dat")));
        vervang(voorbeeld, doel.filePath(QString::fromLatin1(kMapNaam)), klad.filePath(s("oud")));
        return true;
    } catch (const std::exception& e) {
        if (fout)
            *fout = QString::fromUtf8(e.what());
        return false;
    }
}

} // namespace supplink::voorbeeld
