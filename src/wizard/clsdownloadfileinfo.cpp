#include "wizard/clsdownloadfileinfo.h"

#include "start/sharedroutines.h"

#include <QRegularExpression>
#include <QStringList>

namespace supplink {

QString ZonderRandSpaties(const QString& text)
{
    static const QRegularExpression randen(QStringLiteral("^ +| +$"));
    return QString(text).remove(randen);
}

bool clsDownloadFileInfo::AddLine(const QString& line)
{
    if (line.isEmpty())
        return false;
    const QStringList velden = line.split(QLatin1Char(','));
    QString* const leden[] = {&FileName, &VersionMajor, &VersionMinor, &Extra, &Description, &RunFile, &CloseApp};
    for (qsizetype i = 0; i < qsizetype(std::size(leden)); ++i)
        *leden[i] = i < velden.size() ? ZonderRandSpaties(VerwijderStuurtekens(velden[i])) : QString();
    CloseApp = CloseApp.toUpper();
    return true;
}

} // namespace supplink
