// Qt's own texts in Dutch: before InstalleerQtVertalingen the standard
// buttons and the file dialogs are English (Qt translates nothing by itself),
// a folder without the catalogue installs nothing, and after it the program's
// open, save and folder dialogs (WidgetUiServices) and the standard buttons
// are Dutch, also when the machine's locale is English. The catalogue comes
// with Qt's translations (scripts/install-deps.sh installs them); without it
// the test fails.

#include "platform/uiservices.h"
#include "start/ui/qtvertalingen.h"
#include "start/ui/widgetuiservices.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QScreen>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace supplink;

namespace {

// The texts a file dialog shows: its labels and the buttons of its button box, by object name.
struct DialoogTeksten
{
    QString lookIn;
    QString fileName;
    QString fileType;
    QString accept;
    QString reject;
    QSize grootte;
    QSize scherm;
    bool gezien = false;
};

DialoogTeksten LeesTeksten(QFileDialog& dialoog)
{
    DialoogTeksten t;
    t.gezien = true;
    t.grootte = dialoog.size();
    if (const QScreen* screen = dialoog.screen())
        t.scherm = screen->availableSize();
    const auto label = [&dialoog](const char* naam) {
        const auto* l = dialoog.findChild<QLabel*>(QString::fromLatin1(naam));
        return l ? l->text() : QStringLiteral("<geen %1>").arg(QString::fromLatin1(naam));
    };
    t.lookIn = label("lookInLabel");
    t.fileName = label("fileNameLabel");
    t.fileType = label("fileTypeLabel");
    if (const auto* knoppen = dialoog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))) {
        for (QAbstractButton* knop : knoppen->buttons()) {
            if (knoppen->buttonRole(knop) == QDialogButtonBox::AcceptRole)
                t.accept = knop->text();
            else if (knoppen->buttonRole(knop) == QDialogButtonBox::RejectRole)
                t.reject = knop->text();
        }
    }
    return t;
}

// Runs one request of the program's UI services and reads the file dialog it shows, then cancels it.
template <class Verzoek> DialoogTeksten TekstenVan(Verzoek verzoek)
{
    DialoogTeksten t;
    QTimer::singleShot(0, [&t] {
        auto* dialoog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialoog)
            return;
        t = LeesTeksten(*dialoog);
        dialoog->reject();
    });
    WidgetUiServices ui;
    verzoek(ui);
    return t;
}

FileDialogRequest Openen(const QString& map)
{
    FileDialogRequest r;
    r.title = QStringLiteral("Bronbestand");
    r.initialFolder = map;
    r.filter = QStringLiteral("Tekstbestanden|*.csv;*.txt|Alle bestanden|*.*");
    return r;
}

QString Knop(QDialogButtonBox::StandardButton soort)
{
    QDialogButtonBox box(soort);
    return box.button(soort)->text();
}

} // namespace

class QtVertalingenTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // An English machine: the texts must be Dutch all the same.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(m_map.isValid());
    }

    // Without the translations Qt shows its own English texts: what the function must change.
    void englishWithoutTheCatalogue()
    {
        QCOMPARE(Knop(QDialogButtonBox::Cancel), QStringLiteral("Cancel"));
        QCOMPARE(Knop(QDialogButtonBox::Open), QStringLiteral("Open"));
        const DialoogTeksten t =
            TekstenVan([this](WidgetUiServices& ui) { ui.fileDialog(Openen(m_map.path())); });
        QVERIFY(t.gezien);
        QCOMPARE(t.lookIn, QStringLiteral("Look in:"));
    }

    // A folder without the catalogue: False, and nothing changes.
    void folderWithoutTheCatalogue()
    {
        QVERIFY(!InstalleerQtVertalingen(m_map.path()));
        QCOMPARE(Knop(QDialogButtonBox::Cancel), QStringLiteral("Cancel"));
    }

    // The catalogue is part of the installation: the test fails without it.
    void installs()
    {
        const QString catalogus = QDir(QtVertalingenMap()).filePath(QStringLiteral("qtbase_nl.qm"));
        QVERIFY2(QFileInfo::exists(catalogus),
                 qPrintable(catalogus + QStringLiteral(" is missing: install qt6-translations-l10n "
                                                       "(scripts/install-deps.sh)")));
        QVERIFY(InstalleerQtVertalingen());
    }

    void standardButtonsDutch_data()
    {
        QTest::addColumn<int>("knop");
        QTest::addColumn<QString>("tekst");
        QTest::newRow("Cancel") << int(QDialogButtonBox::Cancel) << QStringLiteral("Annuleren");
        QTest::newRow("Open") << int(QDialogButtonBox::Open) << QStringLiteral("Openen");
        QTest::newRow("Save") << int(QDialogButtonBox::Save) << QStringLiteral("Opslaan");
        QTest::newRow("Yes") << int(QDialogButtonBox::Yes) << QStringLiteral("&Ja");
        QTest::newRow("No") << int(QDialogButtonBox::No) << QStringLiteral("&Nee");
        QTest::newRow("Close") << int(QDialogButtonBox::Close) << QStringLiteral("Sluiten");
    }
    void standardButtonsDutch()
    {
        QFETCH(int, knop);
        QFETCH(QString, tekst);
        QCOMPARE(Knop(QDialogButtonBox::StandardButton(knop)), tekst);
    }

    // The program's own dialogs: open (source and target files), save (the log) and choose a folder.
    void fileDialogsDutch_data()
    {
        QTest::addColumn<QString>("soort");
        QTest::addColumn<QString>("lookIn");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("accept");
        QTest::newRow("open") << QStringLiteral("open") << QStringLiteral("Zoeken in:")
                              << QStringLiteral("Bestands&naam:") << QStringLiteral("&Openen");
        QTest::newRow("save") << QStringLiteral("save") << QStringLiteral("Zoeken in:")
                              << QStringLiteral("Bestands&naam:") << QStringLiteral("Op&slaan");
        QTest::newRow("folder") << QStringLiteral("folder") << QStringLiteral("Zoeken in:")
                                << QStringLiteral("Map:") << QStringLiteral("&Kiezen");
    }
    void fileDialogsDutch()
    {
        QFETCH(QString, soort);
        QFETCH(QString, lookIn);
        QFETCH(QString, fileName);
        QFETCH(QString, accept);
        const QString map = m_map.path();
        const DialoogTeksten t = TekstenVan([&soort, &map](WidgetUiServices& ui) {
            if (soort == QLatin1String("folder")) {
                ui.browseForFolder(QStringLiteral("Map"), map);
            } else {
                FileDialogRequest r = Openen(map);
                r.save = soort == QLatin1String("save");
                ui.fileDialog(r);
            }
        });
        QVERIFY(t.gezien);
        QCOMPARE(t.lookIn, lookIn);
        QCOMPARE(t.fileName, fileName);
        QCOMPARE(t.accept, accept);
        QCOMPARE(t.reject, QStringLiteral("Annuleren"));
        if (soort != QLatin1String("folder"))
            QCOMPARE(t.fileType, QStringLiteral("Bestanden van type:"));
    }

    // The dialogs open wide enough for the name, size, type and date columns of a file list (Qt's own
    // default cuts them), within the screen.
    void fileDialogsHaveRoom_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::newRow("open") << false;
        QTest::newRow("folder") << true;
    }
    void fileDialogsHaveRoom()
    {
        QFETCH(bool, folder);
        const QString map = m_map.path();
        const DialoogTeksten t = TekstenVan([folder, &map](WidgetUiServices& ui) {
            if (folder)
                ui.browseForFolder(QStringLiteral("Map"), map);
            else
                ui.fileDialog(Openen(map));
        });
        QVERIFY(t.gezien);
        QVERIFY(t.scherm.isValid());
        QVERIFY2(t.grootte.width() >= qMin(820, t.scherm.width()) &&
                     t.grootte.height() >= qMin(480, t.scherm.height()),
                 qPrintable(QStringLiteral("%1x%2").arg(t.grootte.width()).arg(t.grootte.height())));
        QVERIFY(t.grootte.width() <= t.scherm.width() && t.grootte.height() <= t.scherm.height());
    }

private:
    QTemporaryDir m_map;
};

QTEST_MAIN(QtVertalingenTest)
#include "test_qtvertalingen.moc"
