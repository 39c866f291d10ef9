// The views of steps 16, 17 and 18 on the offscreen platform: what they show
// of their models while a transfer runs and after it, and that their buttons
// reach the models.

#include "start/sharedroutines.h"
#include "support/recordinguiservices.h"
#include "wizard/transferopstelling.h"
#include "wizard/ui/usrstapbackup.h"
#include "wizard/ui/usrstapresultaat.h"
#include "wizard/ui/usrtransfer.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace supplink;
using namespace supplink::test;

class TestTransferViews : public QObject
{
    Q_OBJECT

private slots:
    // The status list, the bars and the cancel button follow the run; the button reaches the cancel question.
    void transferTijdensEnNa()
    {
        RecordingUiServices ui;
        TransferOpstelling o;
        o.kies({DoelSoort::PT});
        o.opties().ImporterenArtikelen = true;
        o.bron(QStringLiteral("art.csv"), BronSoort::Artikelen);
        o.bron(QStringLiteral("art2.csv"), BronSoort::Artikelen);
        usrTransfer view(nullptr);
        view.resize(800, 500);
        view.show();
        QCOMPARE(view.lvStatus->topLevelItemCount(), 13);
        QCOMPARE(view.lvStatus->headerItem()->text(0), QStringLiteral("Soort"));
        QCOMPARE(view.lvStatus->headerItem()->text(1), QStringLiteral("Waarde"));
        // 2000 twips at least, and every row text fits.
        QVERIFY(view.lvStatus->columnWidth(0) >= TwipsNaarPixels(2000));
        for (int i = 0; i < view.lvStatus->topLevelItemCount(); ++i) {
            const QString tekst = view.lvStatus->topLevelItem(i)->text(0);
            QVERIFY2(view.lvStatus->fontMetrics().horizontalAdvance(tekst) < view.lvStatus->columnWidth(0),
                     qPrintable(tekst));
        }
        QVERIFY(view.cmdAnnuleren->isHidden());

        struct Gezien
        {
            bool knop;
            QString bron;
            int rijen;
            int balk;
        };
        QList<Gezien> gezien;
        ui.messageAnswers.enqueue(MsgBox::Yes);
        o.werkers->gedrag = [&](const NepAanroep&, VoortgangOntvanger& ontvanger, int nummer) {
            qint32 totaal = 10, huidig = 5;
            ontvanger.VoortgangTotaal(totaal);
            ontvanger.VoortgangHuidig(huidig);
            gezien << Gezien{view.cmdAnnuleren->isVisible(), view.lvStatus->topLevelItem(0)->text(1),
                             view.lvStatus->topLevelItemCount(), view.ProgressBar1->value()};
            if (nummer == 2)
                QTest::mouseClick(view.cmdAnnuleren, Qt::LeftButton);
            return true;
        };
        view.stap().ZetWerkers(o.werkers);
        view.stap().StartTransfer();

        QCOMPARE(gezien.size(), 2);
        QVERIFY(gezien.at(0).knop);
        QCOMPARE(gezien.at(0).bron, o.bronPad(QStringLiteral("art.csv")));
        // Options not chosen have no rows.
        QCOMPARE(gezien.at(0).rijen, 10);
        QCOMPARE(gezien.at(0).balk, 5);
        QCOMPARE(view.lvStatus->topLevelItem(0)->text(0), QStringLiteral("Bron bestand:"));
        // The click asked the question and cancelled the run.
        QCOMPARE(o.werkers->cancels, 1);
        QCOMPARE(ui.messages.at(0).text, QStringLiteral("Wilt u het importeren annuleren?"));
        QVERIFY(view.cmdAnnuleren->isHidden());
        QCOMPARE(view.ProgressBar2->maximum(), 2);
        QCOMPARE(view.ProgressBar2->value(), 2);
        QCOMPARE(view.Label1->text(), view.stap().Toestand().ResterendeTijd());
    }

    void backupKnop()
    {
        RecordingUiServices ui;
        TransferOpstelling o;
        usrStapBackup view(nullptr);
        view.stap().Init();
        QVERIFY(!view.cmdBackup->isEnabled());
        QVERIFY(view.Label1->text().contains(QStringLiteral("Brevanto Project Beheerapplicatie")));
        o.kies({DoelSoort::PT});
        view.stap().Init();
        QVERIFY(view.cmdBackup->isEnabled());
        QVERIFY(view.Label1->text().endsWith(QStringLiteral("kies voor \u2018Backup\u2019 om de procedure te starten.")));
        // The button reaches the folder picker (cancelled by the recorder).
        QTest::mouseClick(view.cmdBackup, Qt::LeftButton);
        QCOMPARE(ui.folderTitles, QList<QString>{QStringLiteral("Selecteer doelfolder voor de backup bestanden:")});
    }

    void resultaatWisselen()
    {
        RecordingUiServices ui;
        TestEnvironment env;
        const auto schrijf = [&](const QString& naam, const QByteArray& inhoud) {
            QFile bestand(env.path(naam));
            bestand.open(QIODevice::WriteOnly);
            bestand.write(inhoud);
            return env.path(naam);
        };
        globals().gLogOverzicht = schrijf(QStringLiteral("overzicht.log"), "Overzicht\r\n");
        globals().gLogDetail = schrijf(QStringLiteral("detail.log"), "Detail\r\nregel 2\r\n");
        usrStapResultaat view(nullptr);
        view.stap().Init();
        QCOMPARE(view.rt->toPlainText(), QStringLiteral("Overzicht\n"));
        QCOMPARE(view.cmdDetails->text(), QStringLiteral("&Details"));
        QVERIFY(view.rt->isReadOnly());
        QTest::mouseClick(view.cmdDetails, Qt::LeftButton);
        QCOMPARE(view.rt->toPlainText(), QStringLiteral("Detail\nregel 2\n"));
        QCOMPARE(view.cmdDetails->text(), QStringLiteral("&Overzicht"));
        QCOMPARE(view.cmdSaveLog->text(), QStringLiteral("&Opslaan"));
        globals() = ProgramState();
    }
};

QTEST_MAIN(TestTransferViews)
#include "test_transferviews.moc"
