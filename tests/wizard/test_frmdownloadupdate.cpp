// The update window on the offscreen platform: its caption and frame, the
// check that starts by itself when the window is shown, the status lines in
// the text box, the byte count and bar while a file downloads, OK disabled and
// closing refused while the check runs, and the modal display that OK ends.

#include "start/registryfuncties.h"
#include "wizard/updateopstelling.h"
#include "wizard/ui/frmdownloadupdate.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace supplink;
using test::UpdateOpstelling;

namespace {
const QByteArray kKop = "BvqLeveranciersUpdates\r\n";
}

class TestFrmDownloadUpdate : public QObject
{
    Q_OBJECT

private slots:
    void venster()
    {
        test::TestEnvironment env;
        frmDownloadUpdate venster;
        QCOMPARE(venster.windowTitle(), QStringLiteral("Zoeken naar updates"));
        QCOMPARE(venster.Frame1->title(), QStringLiteral("Voortgang"));
        QCOMPARE(venster.cmdOK->text(), QStringLiteral("OK"));
        QVERIFY(venster.Text1->isReadOnly());
        QVERIFY(venster.lblProgress->isHidden());
        QVERIFY(venster.ProgressBar1->isHidden());
    }

    void installatieInHetVenster()
    {
        UpdateOpstelling o;
        o.lijst(kKop + "upd.zip,4,2,,Update 4.2,setup.sh,\r\n");
        o.bestand(QStringLiteral("upd.zip"), o.zip({{"setup.sh", "#!/bin/sh\n"}}));
        frmDownloadUpdate venster;
        o.richt(venster.zoeker());
        venster.show();

        QTRY_VERIFY_WITH_TIMEOUT(venster.cmdOK->isEnabled(), 20000);
        QCOMPARE(venster.Text1->toPlainText(),
                 QStringLiteral("Verbinding maken met website...\nVerbinding tot stand gebracht\n"
                                "Downloaden bestand Update 4.2\nDownload succesvol.\nUitpakken succesvol.\n"
                                "Installatie update gereed.\nHet zoeken naar updates is afgerond.\n"
                                "Kies OK om verder te gaan.\n"));
        QCOMPARE(venster.focusWidget(), venster.cmdOK);
        QVERIFY(venster.lblProgress->isHidden());
        QCOMPARE(venster.lblProgress->text(), QStringLiteral("upd.zip: 0 bytes (100%)"));
        QCOMPARE(venster.ProgressBar1->value(), 100);
        QCOMPARE(o.gestart.size(), 1);

        // Showing the window again does not run the check again.
        venster.hide();
        venster.show();
        QTest::qWait(50);
        QCOMPARE(o.http.requests().size(), 2);

        QTest::mouseClick(venster.cmdOK, Qt::LeftButton);
        QVERIFY(!venster.isVisible());
    }

    void tijdensDeControleBlijftHetVensterOpen()
    {
        UpdateOpstelling o;
        o.lijst(kKop + "upd.zip,4,2,,Update 4.2,setup.sh,\r\n");
        o.bestand(QStringLiteral("upd.zip"), fixtures::HttpAnswer{"geen lengte", 200, false});
        frmDownloadUpdate venster;
        o.richt(venster.zoeker());
        int wachten = 0;
        bool okUit = true, blijftOpen = true, voortgangZichtbaar = true;
        venster.zoeker().setWachten([&] {
            ++wachten;
            okUit = okUit && !venster.cmdOK->isEnabled();
            voortgangZichtbaar = voortgangZichtbaar && venster.lblProgress->isVisible() &&
                                 venster.ProgressBar1->isVisible();
            venster.close();
            QTest::keyClick(&venster, Qt::Key_Escape);
            blijftOpen = blijftOpen && venster.isVisible();
        });
        venster.show();

        QTRY_VERIFY_WITH_TIMEOUT(venster.cmdOK->isEnabled(), 20000);
        QCOMPARE(wachten, 10);
        QVERIFY(okUit);
        QVERIFY(voortgangZichtbaar);
        QVERIFY(blijftOpen);
        QVERIFY(venster.lblProgress->isHidden());
        QVERIFY(venster.Text1->toPlainText().contains(
            QStringLiteral("Retry...\nFilegrootte bepalen mislukt!\nBestand niet gevonden op de website!\n"
                           "Downloaden bestand Update 4.2 mislukt!\n")));

        QVERIFY(venster.close());
        QVERIFY(!venster.isVisible());
    }

    void toonUpdateVensterKeertTerugNaOK()
    {
        UpdateOpstelling o;
        // The program's own version, 4.0.
        o.lijst(kKop + "upd.zip,4,0,,Update 4.0,setup.sh,\r\n");
        fSaveString(HKEY_LOCAL_MACHINE, ProgramKeyPath() + QStringLiteral("settings"), QStringLiteral("updateserver"),
                    o.http.server());

        QString tekst;
        QTimer kijker;
        connect(&kijker, &QTimer::timeout, this, [&] {
            auto* venster = qobject_cast<frmDownloadUpdate*>(QApplication::activeModalWidget());
            if (!venster || !venster->cmdOK->isEnabled())
                return;
            tekst = venster->Text1->toPlainText();
            venster->cmdOK->click();
        });
        kijker.start(20);
        ToonUpdateVenster(nullptr);
        kijker.stop();

        QVERIFY(tekst.endsWith(QStringLiteral("U beschikt over de meest recente versie.\nKies OK om verder te gaan.\n")));
        QCOMPARE(o.http.requests(), QStringList{UpdateOpstelling::updatePad(QStringLiteral("info4.txt"))});
    }
};

QTEST_MAIN(TestFrmDownloadUpdate)
#include "test_frmdownloadupdate.moc"
