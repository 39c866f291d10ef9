#include "platform/programstart.h"

#include <QProcess>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace supplink {

bool startProgramMinimised(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
#ifdef Q_OS_WIN
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* args) {
        args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
        args->startupInfo->wShowWindow = SW_SHOWMINNOACTIVE;
    });
#endif
    return process.startDetached();
}

bool IsProgrammaBestand(const QFileInfo& bestand)
{
    static const QStringList programmas = {
        QStringLiteral("exe"),      QStringLiteral("com"),     QStringLiteral("bat"),
        QStringLiteral("cmd"),      QStringLiteral("msi"),     QStringLiteral("msp"),
        QStringLiteral("scr"),      QStringLiteral("pif"),     QStringLiteral("cpl"),
        QStringLiteral("hta"),      QStringLiteral("jar"),     QStringLiteral("js"),
        QStringLiteral("jse"),      QStringLiteral("vbs"),     QStringLiteral("vbe"),
        QStringLiteral("wsf"),      QStringLiteral("wsh"),     QStringLiteral("ps1"),
        QStringLiteral("psm1"),     QStringLiteral("lnk"),     QStringLiteral("url"),
        QStringLiteral("reg"),      QStringLiteral("inf"),     QStringLiteral("sh"),
        QStringLiteral("bash"),     QStringLiteral("csh"),     QStringLiteral("ksh"),
        QStringLiteral("zsh"),      QStringLiteral("run"),     QStringLiteral("bin"),
        QStringLiteral("appimage"), QStringLiteral("desktop"), QStringLiteral("app"),
        QStringLiteral("command"),  QStringLiteral("py"),      QStringLiteral("pyw"),
        QStringLiteral("pl"),       QStringLiteral("rb"),
    };
    return bestand.isExecutable() || programmas.contains(bestand.suffix(), Qt::CaseInsensitive);
}

} // namespace supplink
