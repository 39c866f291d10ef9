#include "sources/bronsjablonen.h"

#include "start/globals.h"
#include "start/leverancier.h"

#include "sources/clsbron2.h"
#include "start/dialogs.h"
#include "start/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <limits>

namespace supplink {

namespace {

const QString kSjabloonVoorvoegsel = QStringLiteral("File");

// The number of a template's name ("File12" gives 12); names without a number come last.
qint64 sjabloonNummer(const QString& naam)
{
    bool ok = false;
    const qint64 nummer = naam.startsWith(kSjabloonVoorvoegsel, Qt::CaseInsensitive)
                              ? naam.mid(kSjabloonVoorvoegsel.size()).toLongLong(&ok)
                              : 0;
    return ok ? nummer : std::numeric_limits<qint64>::max();
}

[[noreturn]] void kanNietSchrijven(const QString& map)
{
    throw AppError(ErrorNumber::FileAccess,
                   QStringLiteral("De brondefinities kunnen niet worden opgeslagen in de map '%1'.")
                       .arg(QDir::toNativeSeparators(map)));
}

} // namespace

QString HuidigeLeverancierNaam()
{
    const auto& leverancier = globals().gLeverancier;
    return leverancier ? leverancier->Code : QString();
}

QString MapNaamVanLeverancier(const QString& leverancier)
{
    static const QString kVerboden = QStringLiteral("/\\:*?\"<>|%");
    static const QStringList kApparaten = {QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                                           QStringLiteral("NUL")};
    const auto code = [](QChar teken) {
        return QStringLiteral("%%%1").arg(teken.unicode(), 2, 16, QLatin1Char('0')).toUpper();
    };
    // A device name, alone or before an extension: CON, NUL.txt, COM1, LPT9.
    const QString stam = leverancier.section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    const bool apparaat = kApparaten.contains(stam) ||
                          (stam.size() == 4 && (stam.startsWith(QLatin1String("COM")) ||
                                                stam.startsWith(QLatin1String("LPT"))) &&
                           stam.at(3) >= u'1' && stam.at(3) <= u'9');
    QString naam;
    for (qsizetype i = 0; i < leverancier.size(); ++i) {
        const QChar teken = leverancier.at(i);
        const bool rand = (i == 0 || i == leverancier.size() - 1) && (teken == u'.' || teken == u' ');
        if (teken.unicode() < 32 || kVerboden.contains(teken) || rand || (i == 0 && apparaat))
            naam += code(teken);
        else
            naam += teken;
    }
    return naam;
}

QString BronDefinitieMap(const QString& leverancier)
{
    if (leverancier.isEmpty())
        return QString();
    const QString appData = GetSpecialFolderPath(SpecialFolder::AppData);
    if (appData.isEmpty())
        return QString();
    return QDir::toNativeSeparators(QDir::fromNativeSeparators(appData) +
                                    QStringLiteral("/Tavrin Software/Bvq/Import/4.00/") +
                                    MapNaamVanLeverancier(leverancier));
}

QStringList SjabloonBestanden(const QString& map, bool alleenSjablonen)
{
    QStringList namen;
    for (const QString& naam : QDir(map).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!alleenSjablonen || naam.startsWith(kSjabloonVoorvoegsel, Qt::CaseInsensitive))
            namen.append(naam);
    }
    std::stable_sort(namen.begin(), namen.end(), [](const QString& a, const QString& b) {
        const qint64 na = sjabloonNummer(a);
        const qint64 nb = sjabloonNummer(b);
        return na != nb ? na < nb : a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return namen;
}

QList<std::shared_ptr<clsBron2>> LaadBronDefinities(const QString& leverancier)
{
    QList<std::shared_ptr<clsBron2>> bronnen;
    const QString pad = BronDefinitieMap(leverancier);
    if (pad.isEmpty())
        return bronnen;
    const QDir map(pad);
    if (!map.exists())
        return bronnen;
    for (const QString& naam : SjabloonBestanden(pad)) {
        auto bron = std::make_shared<clsBron2>();
        bron->Load(map.filePath(naam));
        if (!bron->BronPad.isEmpty() && QFileInfo(bron->BronPad).isFile())
            bronnen.append(std::move(bron));
    }
    return bronnen;
}

bool OpslaanBronDefinities(const QString& leverancier, const QList<std::shared_ptr<clsBron2>>& bronnen)
{
    const QString pad = BronDefinitieMap(leverancier);
    if (pad.isEmpty())
        return false;
    try {
        QDir().mkpath(pad);
        const QDir map(pad);

        // The new set, complete, beside the old one.
        QTemporaryDir nieuw(map.filePath(QStringLiteral(".nieuw-XXXXXX")));
        if (!nieuw.isValid())
            kanNietSchrijven(pad);
        QStringList nieuweNamen;
        for (qsizetype i = 0; i < bronnen.size(); ++i) {
            const QString naam = kSjabloonVoorvoegsel + QString::number(i + 1);
            if (bronnen[i] && !bronnen[i]->Save(nieuw.filePath(naam)))
                return false; // reported by Save; the old set is untouched
            if (bronnen[i])
                nieuweNamen.append(naam);
        }

        // The old set aside, then the new one in its place.
        QTemporaryDir oud(map.filePath(QStringLiteral(".oud-XXXXXX")));
        if (!oud.isValid())
            kanNietSchrijven(pad);
        QStringList opzij;
        for (const QString& naam : SjabloonBestanden(pad)) {
            if (QFile::rename(map.filePath(naam), oud.filePath(naam)))
                opzij.append(naam);
            else
                QFile::remove(map.filePath(naam));
        }
        QStringList geplaatst;
        for (const QString& naam : nieuweNamen) {
            if (!QFile::rename(nieuw.filePath(naam), map.filePath(naam))) {
                // Back to the old set.
                for (const QString& terug : geplaatst)
                    QFile::remove(map.filePath(terug));
                for (const QString& terug : opzij)
                    QFile::rename(oud.filePath(terug), map.filePath(terug));
                kanNietSchrijven(pad);
            }
            geplaatst.append(naam);
        }
        return true;
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("OpslaanBestanden"), e);
        return false;
    }
}

} // namespace supplink
