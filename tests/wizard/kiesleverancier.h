#pragma once
// Choosing a supplier in the welcome step, for tests that walk the main window
// of the program's own register past step 1:
//
//     test::LeveranciersMap(env);                 // the suppliers folder with ACME, in the settings
//     frmImportBvqNaarBvq window;
//     QVERIFY(test::KiesLeverancier(window));     // ACME chosen: Next is enabled

#include "support/testenvironment.h"
#include "wizard/ui/frmimportbvqnaarbvq.h"
#include "wizard/ui/usrwelkom.h"
#include "wizard/welkomopstelling.h"

#include <QPushButton>
#include <QTreeWidget>

namespace supplink::test {

// A suppliers folder with one supplier, ACME (category 1), named by the machine-wide setting.
inline void LeveranciersMap(const TestEnvironment& env)
{
    const QString map = env.path(QStringLiteral("leveranciers"));
    leverancierMap(map, QStringLiteral("acme"), "ACME\r\nAcme\r\n1\r\n");
    zetLeveranciersMap(map);
}

// Chooses ACME in the welcome step; true when Next is then enabled.
inline bool KiesLeverancier(frmImportBvqNaarBvq& window)
{
    auto* welkom = qobject_cast<usrWelkom*>(window.StapWeergave(1));
    QTreeWidgetItem* acme = welkom ? welkom->Knoop(QStringLiteral("ACME")) : nullptr;
    if (!acme)
        return false;
    welkom->tv->setCurrentItem(acme);
    return window.cmdVolgende->isEnabled();
}

} // namespace supplink::test
