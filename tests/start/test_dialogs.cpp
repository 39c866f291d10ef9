#include "start/dialogs.h"
#include "start/errors.h"
#include "start/globals.h"
#include "support/recordinguiservices.h"

#include <QTest>

using namespace supplink;

class DialogsTest : public QObject
{
    Q_OBJECT
private slots:
    void multiSelection()
    {
        test::RecordingUiServices recorder;
        recorder.fileAnswers.enqueue({"/data/a.csv", "/data/b.csv", "/data/c.xls"});
        const QString first = GetFileNameDialog(QStringLiteral("Bronnen|*.csv;*.xls"), QString(), QStringLiteral("/data"),
                                                QStringLiteral("Kies"), false, false, QString(), true);
        QCOMPARE(first, QStringLiteral("/data/a.csv"));
        QCOMPARE(globals().gGekozenBestanden, QStringList({"/data/a.csv", "/data/b.csv", "/data/c.xls"}));
        QVERIFY(recorder.fileDialogs.first().multiSelect);
        QCOMPARE(recorder.fileDialogs.first().title, QStringLiteral("Kies"));

        // A new selection replaces the old one; a cancelled one leaves nothing.
        recorder.fileAnswers.enqueue({"/data/d.csv"});
        QCOMPARE(GetFileNameDialog(QString(), QString(), QString(), QString(), false, false, QString(), true),
                 QStringLiteral("/data/d.csv"));
        QCOMPARE(globals().gGekozenBestanden, QStringList({"/data/d.csv"}));
        QCOMPARE(GetFileNameDialog(QString(), QString(), QString(), QString(), false, false, QString(), true),
                 QString());
        QVERIFY(globals().gGekozenBestanden.isEmpty());
    }

    void cancelCanRaise()
    {
        test::RecordingUiServices recorder;
        try {
            GetFileNameDialog(QString(), QString(), QString(), QString(), true);
            QFAIL("cancel should raise");
        } catch (const AppError& e) {
            QCOMPARE(e.number(), 32755);
        }
    }

    void commonFormAndFolderPicker()
    {
        test::RecordingUiServices recorder;
        frmCommonForm form;
        form.ShowFileOpen();
        QVERIFY(!form.OK);
        recorder.fileAnswers.enqueue({"/doelen/pt.sqlite"});
        form.ShowFileOpen();
        QVERIFY(form.OK);
        QCOMPARE(form.GetFileNaam(), QStringLiteral("/doelen/pt.sqlite"));

        clsBrowseForFolder picker;
        recorder.folderAnswers.enqueue(QStringLiteral("/backups"));
        picker.ShowBrowseFolder(nullptr, QStringLiteral("Map"), QString());
        QVERIFY(picker.OK && !picker.Cancel);
        QCOMPARE(picker.SelectedFolder, QStringLiteral("/backups"));
        picker.ShowBrowseFolder(nullptr, QStringLiteral("Map"), QString()); // cancelled: unchanged
        QVERIFY(picker.OK);
        QCOMPARE(picker.SelectedFolder, QStringLiteral("/backups"));
        recorder.folderAnswers.enqueue(QString()); // confirmed without a usable folder
        picker.ShowBrowseFolder(nullptr, QStringLiteral("Map"), QString());
        QVERIFY(!picker.OK && picker.Cancel);
        QVERIFY(picker.SelectedFolder.isEmpty());
    }
};

QTEST_GUILESS_MAIN(DialogsTest)
#include "test_dialogs.moc"
