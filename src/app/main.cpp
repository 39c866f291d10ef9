// The program's entry point, above every library it assembles: Qt's own texts
// in Dutch, one running copy, the widget UI services, the help file, the main
// window and the two target-field catalogues.

#include "platform/singleinstance.h"
#include "start/globals.h"
#include "start/sharedroutines.h"
#include "start/ui/qtvertalingen.h"
#include "start/ui/widgetuiservices.h"
#include "start/veldcatalogus.h"
#include "wizard/ui/frmimportbvqnaarbvq.h"

#include <QApplication>
#include <QDir>

using namespace supplink;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tavrin Software"));
    QApplication::setApplicationName(QStringLiteral("Bvq"));
    // Qt's dialogs and standard buttons speak Dutch, as the program's own windows do.
    if (!InstalleerQtVertalingen())
        qWarning("Qt's Dutch translations (qtbase_nl.qm) not found in %s: Qt's own texts stay English",
                 qPrintable(QtVertalingenMap()));

    // 1. A copy that already runs comes to the front; this one ends.
    SingleInstance instance(QString::fromUtf8(kProgramTitle));
    if (instance.previousInstanceActivated())
        return 0;

    WidgetUiServices uiServices;
    setUiServices(&uiServices);

    // 2. The help file in the program folder.
    globals().HelpFile = MetBackslash(QDir::toNativeSeparators(QCoreApplication::applicationDirPath())) +
                         QString::fromUtf8(kHelpFileName);

    // 3. The main window, minimised while the catalogues are built.
    frmImportBvqNaarBvq window;
    window.setWindowStateCode(1);
    window.show();
    QObject::connect(&instance, &SingleInstance::activationRequested, &window, [&window] {
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
        window.show();
        window.raise();
        window.activateWindow();
    });

    // 4. The target-field catalogues.
    VulVeldCatalogus();

    // 5. Normal state, shown again; 6. StartUp.
    window.setWindowStateCode(0);
    window.show();
    window.StartUp();

    const int result = QApplication::exec();
    setUiServices(nullptr);
    return result;
}
