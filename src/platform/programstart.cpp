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

} // namespace supplink
