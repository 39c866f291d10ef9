// The main window on the offscreen platform, over fake steps and over the
// program's own register: caption and layout, Next and Back and Update per
// step, the status line, closing with and without the question, closing
// refused while a run is live or the transfer runs, step 17 going on to 18,
// help and update.

#include "platform/runcontext.h"
#include "start/errors.h"
#include "start/globals.h"
#include "start/sharedroutines.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"
#include "wizard/stapnabootsingen.h"
#include "database/doelbestand.h"
#include "fixtures/designdatabases.h"
#include "selection/ui/usreigenselectiestap.h"
#include "wizard/ui/frmimportbvqnaarbvq.h"
#include "wizard/ui/usrstapbackup.h"
#include "wizard/ui/usrstapresultaat.h"
#include "wizard/ui/usrstapselectbronbestanden3.h"
#include "wizard/ui/usrstapselectdoelbestanden.h"
#include "wizard/ui/usrwelkom.h"
#include "wizard/updatezoeker.h"
#include "wizard/kiesleverancier.h"
#include "wizard/welkomopstelling.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>

#include <optional>

using namespace supplink;
using namespace supplink::test;

namespace {

// A register over the fake steps: each view is a label with the step's name.
QList<StapRegistratie> NepRegister(NepStappen& nep)
{
    QList<StapRegistratie> registratie;
    const auto maak = [&nep](int stap) {
        return [&nep, stap](QWidget* parent) {
            auto* view = new QLabel(NepStapNaam(stap), parent);
            return StapOnderdelen{view, nep.model(stap)};
        };
    };
    for (int stap = StapBesturing::kEersteStap; stap <= StapBesturing::kLaatsteStap; ++stap) {
        if (StapBesturing::IsAlgemeneStap(stap) && stap != 5)
            continue;
        registratie << StapRegistratie{stap == 5 ? QList<int>{5, 6, 12, 13, 14} : QList<int>{stap}, maak(stap)};
    }
    return registratie;
}

// Next until the step is reached.
bool GaNaar(frmImportBvqNaarBvq& window, int stap)
{
    while (window.besturing().HuidigeStap() < stap) {
        if (!window.cmdVolgende->isEnabled())
            return false;
        QTest::mouseClick(window.cmdVolgende, Qt::LeftButton);
    }
    return window.besturing().HuidigeStap() == stap;
}

// A work-preparation database with one groove shape of one kind.
QString WerkvoorbereidingDatabase(const TestEnvironment& env, const QString& naam)
{
    const QString pad = env.path(naam);
    if (!fixtures::makeDatabase(pad, fixtures::Kind::WorkPreparation, {3, 40}))
        return QString();
    fixtures::FixtureDb(pad).insert(QStringLiteral("GrooveShape"), {{"Code", "G1"}, {"Description", "Vak"}, {"Type", 1}});
    return pad;
}

// Next until the step is reached, through the program's own steps 2 and 3: the source is a
// work-preparation database of one groove kind (taken without a dialog), the target another one.
bool GaNaarMetBron(frmImportBvqNaarBvq& window, RecordingUiServices& recorder, const TestEnvironment& env, int stap)
{
    while (window.besturing().HuidigeStap() < stap) {
        const int nu = window.besturing().HuidigeStap();
        if (nu == 2 && !window.cmdVolgende->isEnabled()) {
            recorder.fileAnswers << QStringList{WerkvoorbereidingDatabase(env, QStringLiteral("bron.wkv"))};
            QTest::mouseClick(qobject_cast<usrStapSelectBronBestanden3*>(window.StapWeergave(2))->cmdBlader,
                              Qt::LeftButton);
        } else if (nu == 3 && !window.cmdVolgende->isEnabled()) {
            recorder.fileAnswers << QStringList{WerkvoorbereidingDatabase(env, QStringLiteral("doel.wkv"))};
            QTest::mouseClick(qobject_cast<usrStapSelectDoelBestanden*>(window.StapWeergave(3))->cmdBlader,
                              Qt::LeftButton);
        } else if (nu == 15 && !window.cmdVolgende->isEnabled()) {
            // The groove figure of the source is ticked.
            auto* figuren = dynamic_cast<usrStapSelectSponningFiguren*>(window.StapWeergave(15));
            if (!figuren)
                return false;
            figuren->stap().sjabloon().lijst().lijst().ZetVinkje(0, true);
        }
        if (!window.cmdVolgende->isEnabled())
            return false;
        QTest::mouseClick(window.cmdVolgende, Qt::LeftButton);
    }
    return window.besturing().HuidigeStap() == stap;
}

QString MaakTempMap(const TestEnvironment& env)
{
    const QString folder = env.path(QStringLiteral("welkom"));
    QDir().mkpath(folder + QStringLiteral("/sub"));
    QFile page(folder + QStringLiteral("/welkom.html"));
    if (page.open(QIODevice::WriteOnly))
        page.close();
    globals().gWelkomMap = folder;
    return folder;
}

// A step as a colleague adds one: a model and a view that offers it.
class VoorbeeldStap : public Stap
{
public:
    void Init() override
    {
        ++inits;
        emit KanVerder(false);
    }
    int inits = 0;
};

class VoorbeeldWeergave : public QWidget
{
public:
    explicit VoorbeeldWeergave(QWidget* parent) : QWidget(parent) {}
    VoorbeeldStap& stap() { return m_model; }

private:
    VoorbeeldStap m_model;
};

// The window over fake steps, shown, with its own temporary folder and recorded UI services.
struct ZichtbaarVenster
{
    TestEnvironment env;
    RecordingUiServices recorder;
    NepStappen nep;
    QString folder = MaakTempMap(env);
    frmImportBvqNaarBvq window{nullptr, NepRegister(nep)};

    bool toon()
    {
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }
};

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT
private slots:
    // The welcome step of the program's own register makes its folder and reads settings: in the test's
    // own folders.
    void init()
    {
        globals() = ProgramState();
        m_env.emplace();
    }
    void cleanup()
    {
        globals() = ProgramState();
        m_env.reset();
    }

    void frame()
    {
        frmImportBvqNaarBvq window;
        const ProgrammaVersie versie = HuidigeProgrammaVersie();
        QCOMPARE(window.windowTitle(), QStringLiteral("Brevanto Vededuzuduzu Davudi v%1.%2.%3")
                                           .arg(versie.major)
                                           .arg(versie.minor)
                                           .arg(versie.revision));
        QCOMPARE(window.size(), QSize(999, 757));
        QCOMPARE(window.cmdHelp->text(), QStringLiteral("Help"));
        QCOMPARE(window.cmdUpdate->text(), QStringLiteral("Update"));
        QCOMPARE(window.cmdVorige->text(), QStringLiteral("<< Vorige"));
        QCOMPARE(window.cmdVolgende->text(), QStringLiteral("Volgende >>"));
        QCOMPARE(window.cmdAnnuleren->text(), QStringLiteral("Afsluiten"));
        window.setWindowStateCode(1);
        QVERIFY(window.windowState() & Qt::WindowMinimized);
        window.setWindowStateCode(0);
        QVERIFY(!(window.windowState() & Qt::WindowMinimized));
    }

    // The step area starts 1140 twips down and fills the width; the buttons sit 60 twips above the
    // bottom, "Afsluiten" 120 twips from the right with "Volgende >>" and "<< Vorige" 120 apart before
    // it, Help 60 twips from the left with Update 60 after it.
    void layout()
    {
        frmImportBvqNaarBvq window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect area = window.stepArea->geometry();
        QCOMPARE(area.top(), TwipsNaarPixels(1140));
        QCOMPARE(area.left(), 0);
        QCOMPARE(area.width(), window.width());
        QCOMPARE(window.cmdAnnuleren->geometry().bottom() + 1, window.height() - TwipsNaarPixels(60));
        QCOMPARE(area.bottom() + 1, window.cmdAnnuleren->geometry().top() - TwipsNaarPixels(60));
        QCOMPARE(window.cmdAnnuleren->geometry().right() + 1, window.width() - TwipsNaarPixels(120));
        QCOMPARE(window.cmdVolgende->geometry().right() + 1,
                 window.cmdAnnuleren->geometry().left() - TwipsNaarPixels(120));
        QCOMPARE(window.cmdVorige->geometry().right() + 1,
                 window.cmdVolgende->geometry().left() - TwipsNaarPixels(120));
        QCOMPARE(window.cmdHelp->geometry().left(), TwipsNaarPixels(60));
        QCOMPARE(window.cmdUpdate->geometry().left(), window.cmdHelp->geometry().right() + 1 + TwipsNaarPixels(60));
        for (QPushButton* knop : {window.cmdHelp, window.cmdUpdate, window.cmdVorige, window.cmdVolgende,
                                  window.cmdAnnuleren})
            QVERIFY(knop->width() >= knop->sizeHint().width());
    }

    // Nothing of a step shows in or below the button row, on any step of the program's register: the step
    // area ends above it and every widget of a step stays inside its step.
    void nietsOnderDeKnoppen()
    {
        frmImportBvqNaarBvq window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const int rij = window.cmdAnnuleren->geometry().top();
        const QList<QWidget*> knoppenRij{window.cmdHelp,   window.cmdUpdate,   window.Label1,
                                         window.cmdVorige, window.cmdVolgende, window.cmdAnnuleren};
        for (int pagina = 0; pagina < window.stepArea->count(); ++pagina) {
            window.stepArea->setCurrentIndex(pagina);
            QCoreApplication::processEvents();
            const QWidget* stap = window.stepArea->currentWidget();
            for (QWidget* w : window.findChildren<QWidget*>()) {
                if (!w->isVisible() || knoppenRij.contains(w))
                    continue;
                const QRect r(w->mapTo(&window, QPoint(0, 0)), w->size());
                QVERIFY2(
                    r.bottom() < rij - TwipsNaarPixels(60) + 1,
                    qPrintable(QStringLiteral("%1 %2 of %3 reaches to %4")
                                   .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(),
                                        QString::fromLatin1(stap->metaObject()->className()))
                                   .arg(r.bottom())));
            }
        }
    }

    // The program's own register from the first step to the last: a supplier, a work-preparation source
    // and target, the options the source offers and its groove figure ticked; the backup is required and
    // made, the transfer runs and puts the figure into the target, and the result step shows its log.
    void programmaRegisterTotHetEinde()
    {
        RecordingUiServices recorder;
        LeveranciersMap(*m_env);
        frmImportBvqNaarBvq window;
        QVERIFY(qobject_cast<usrWelkom*>(window.stepArea->currentWidget()));
        QVERIFY(!window.cmdVolgende->isEnabled());
        QVERIFY(KiesLeverancier(window));
        QList<int> stappen{window.besturing().HuidigeStap()};
        while (window.besturing().HuidigeStap() < 16) {
            const int stap = window.besturing().HuidigeStap();
            QCOMPARE(window.stepArea->currentWidget(), window.StapWeergave(stap));
            QVERIFY(GaNaarMetBron(window, recorder, *m_env, stap + 1) ||
                    window.besturing().HuidigeStap() > stap + 1);
            stappen << window.besturing().HuidigeStap();
        }
        // The backup of the file target is required before the transfer.
        auto* backup = qobject_cast<usrStapBackup*>(window.stepArea->currentWidget());
        QVERIFY(backup);
        QVERIFY(backup->cmdBackup->isEnabled());
        QVERIFY(!window.cmdVolgende->isEnabled());
        const QString backupMap = m_env->path(QStringLiteral("backup"));
        QVERIFY(QDir().mkpath(backupMap));
        recorder.folderAnswers << std::optional<QString>(backupMap);
        QTest::mouseClick(backup->cmdBackup, Qt::LeftButton);
        const QString doel = globals().gDoelBestanden.at(0)->Path();
        QVERIFY(QFile::exists(backupMap + QStringLiteral("/doel.wkv")));
        QVERIFY(window.cmdVolgende->isEnabled());
        QTest::mouseClick(window.cmdVolgende, Qt::LeftButton);
        stappen << window.besturing().HuidigeStap();
        QCOMPARE(stappen, (QList<int>{1, 2, 3, 4, 15, 16, 18}));
        QVERIFY(!window.cmdVolgende->isEnabled());
        QCOMPARE(window.lbLeverancer->text(), QStringLiteral("Resultaat"));
        QCOMPARE(window.lbStap->text(), QStringLiteral("Overzicht geimporteerde gegevens."));
        // The transfer succeeded: no closing message, the target was replaced by its work copy.
        for (const auto& melding : recorder.messages)
            QVERIFY2(!melding.text.contains(QStringLiteral("niet succesvol")), qPrintable(melding.text));
        QVERIFY(QFileInfo::exists(doel));
        const auto inhoud = [](const QString& pad) {
            QFile bestand(pad);
            return bestand.open(QIODevice::ReadOnly) ? bestand.readAll() : QByteArray();
        };
        QVERIFY(!inhoud(doel).isEmpty());
        QVERIFY(inhoud(doel) != inhoud(backupMap + QStringLiteral("/doel.wkv")));
        auto* resultaat = qobject_cast<usrStapResultaat*>(window.stepArea->currentWidget());
        QVERIFY(resultaat);
        QVERIFY(!resultaat->rt->toPlainText().isEmpty());
        QCOMPARE(resultaat->cmdDetails->text(), QStringLiteral("&Details"));
        // What steps 1 to 4 handed on.
        QVERIFY(globals().gLeverancier);
        QCOMPARE(globals().gBronnenGeselecteerd.size(), 1);
        QCOMPARE(globals().gDoelBestanden.size(), 1);
        QVERIFY(globals().gImportOpties && globals().gImportOpties->ImporterenShapes);
        // The generic step's place serves five steps with one view.
        QCOMPARE(window.StapWeergave(5), window.StapWeergave(14));
        QVERIFY(window.StapWeergave(5) != window.StapWeergave(4));
        // Closing the window leaves the result step, which deletes the logs.
        const QString log = globals().gLogDetail;
        QVERIFY(QFile::exists(log));
        window.close();
        QVERIFY(!QFile::exists(log));
    }

    // A step's view is put in its place through its one line in the register.
    void eenStapInpluggen()
    {
        RecordingUiServices recorder;
        QList<StapRegistratie> stappen = StapRegister();
        for (StapRegistratie& registratie : stappen) {
            if (registratie.stappen == QList<int>{16})
                registratie.maak = maakStap<VoorbeeldWeergave>;
        }
        LeveranciersMap(*m_env);
        frmImportBvqNaarBvq window(nullptr, stappen);
        QVERIFY(KiesLeverancier(window));
        QVERIFY(GaNaarMetBron(window, recorder, *m_env, 16));
        auto* weergave = dynamic_cast<VoorbeeldWeergave*>(window.stepArea->currentWidget());
        QVERIFY(weergave);
        QCOMPARE(window.StapWeergave(16), weergave);
        QCOMPARE(weergave->stap().inits, 1);
        QCOMPARE(window.lbLeverancer->text(), QStringLiteral("Backup doelbestanden"));
        QVERIFY(!window.cmdVolgende->isEnabled());
        emit weergave->stap().KanVerder(true);
        QTest::mouseClick(window.cmdVolgende, Qt::LeftButton);
        QCOMPARE(window.besturing().HuidigeStap(), 18);
        globals().gBronnen.clear();
        globals().gBronnenGeselecteerd.clear();
        globals().gDoelBestanden.clear();
        globals().gImportOpties.reset();
    }

    void volgendePasNaKanVerder()
    {
        NepStappen nep;
        nep[1].verderBijInit = false;
        frmImportBvqNaarBvq window(nullptr, NepRegister(nep));
        QCOMPARE(window.besturing().HuidigeStap(), 1);
        QVERIFY(!window.cmdVolgende->isEnabled());
        emit nep[1].KanVerder(true);
        QVERIFY(window.cmdVolgende->isEnabled());
        QTest::mouseClick(window.cmdVolgende, Qt::LeftButton);
        QCOMPARE(window.besturing().HuidigeStap(), 2);
        QCOMPARE(window.lbLeverancer->text(), QStringLiteral("Selecteer bronbestanden"));
        QCOMPARE(qobject_cast<QLabel*>(window.stepArea->currentWidget())->text(), QStringLiteral("Stap2"));
        // The status texts of the shown step.
        emit nep[2].StatusTekst(QStringLiteral("Controle historische gegevens"));
        QCOMPARE(window.Label1->text(), QStringLiteral("Controle historische gegevens"));
    }

    void knoppenPerStap()
    {
        NepStappen nep;
        frmImportBvqNaarBvq window(nullptr, NepRegister(nep));
        struct Stand
        {
            int stap;
            bool vorige, update, afsluiten;
        };
        QList<Stand> gezien;
        nep.transfer.tijdensTransfer = [&] {
            gezien << Stand{17, window.cmdVorige->isEnabled(), window.cmdUpdate->isEnabled(),
                            window.cmdAnnuleren->isEnabled()};
        };
        while (window.besturing().HuidigeStap() < 18) {
            gezien << Stand{window.besturing().HuidigeStap(), window.cmdVorige->isEnabled(),
                            window.cmdUpdate->isEnabled(), window.cmdAnnuleren->isEnabled()};
            QVERIFY(window.cmdVolgende->isEnabled());
            QTest::mouseClick(window.cmdVolgende, Qt::LeftButton);
        }
        gezien << Stand{18, window.cmdVorige->isEnabled(), window.cmdUpdate->isEnabled(),
                        window.cmdAnnuleren->isEnabled()};
        QCOMPARE(gezien.size(), 7); // 1 2 3 4 16, 17 while the transfer runs, 18
        for (const Stand& stand : gezien) {
            QCOMPARE(stand.vorige, stand.stap != 1 && stand.stap < 17);
            QCOMPARE(stand.update, stand.stap == 1);
            QCOMPARE(stand.afsluiten, stand.stap != 17);
        }
        QVERIFY(!window.cmdVolgende->isEnabled());
        QCOMPARE(qobject_cast<QLabel*>(window.stepArea->currentWidget())->text(), QStringLiteral("Stap18"));
        // Back to step 1 enables Update again.
        NepStappen nep2;
        frmImportBvqNaarBvq window2(nullptr, NepRegister(nep2));
        QVERIFY(GaNaar(window2, 2));
        QVERIFY(!window2.cmdUpdate->isEnabled());
        QTest::mouseClick(window2.cmdVorige, Qt::LeftButton);
        QCOMPARE(window2.besturing().HuidigeStap(), 1);
        QVERIFY(window2.cmdUpdate->isEnabled());
        QVERIFY(!window2.cmdVorige->isEnabled());
    }

    void sluitenMetEnZonderVraag()
    {
        ZichtbaarVenster v;
        QVERIFY(v.toon());
        frmImportBvqNaarBvq& window = v.window;
        RecordingUiServices& recorder = v.recorder;
        const QString& folder = v.folder;
        recorder.messageAnswers << MsgBox::No;
        QTest::mouseClick(window.cmdAnnuleren, Qt::LeftButton);
        QVERIFY(window.isVisible());
        QVERIFY(QDir(folder).exists());
        QCOMPARE(recorder.messages.size(), 1);
        QCOMPARE(recorder.messages.at(0).text, QStringLiteral("Brevanto Vededuzuduzu Davudi afsluiten?"));
        QCOMPARE(recorder.messages.at(0).title, QStringLiteral("Brevanto Vededuzuduzu Davudi"));
        recorder.messageAnswers << MsgBox::Yes;
        QTest::mouseClick(window.cmdAnnuleren, Qt::LeftButton);
        QVERIFY(!window.isVisible());
        QVERIFY(!QDir(folder).exists());
        QCOMPARE(recorder.messages.size(), 2);

        // On step 18 the button closes without a question.
        recorder.clear();
        NepStappen nep2;
        frmImportBvqNaarBvq window2(nullptr, NepRegister(nep2));
        window2.show();
        QVERIFY(GaNaar(window2, 18));
        QTest::mouseClick(window2.cmdAnnuleren, Qt::LeftButton);
        QVERIFY(!window2.isVisible());
        QVERIFY(recorder.messages.isEmpty());
    }

    void closingDeletesTheWelcomeFolder()
    {
        RecordingUiServices recorder;
        frmImportBvqNaarBvq window;
        // The folder the welcome step made.
        const QString folder = globals().gWelkomMap;
        QVERIFY(QFileInfo(folder).isDir());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.close(); // the title bar's close box asks nothing
        QVERIFY(!QDir(folder).exists());
        QCOMPARE(globals().gWelkomMap, folder); // the variable keeps its value
        QVERIFY(recorder.messages.isEmpty());
    }

    // Closing while a run works in the welcome folder would delete the folder under it.
    void closingIsRefusedWhileARunIsLive()
    {
        RecordingUiServices recorder;
        frmImportBvqNaarBvq window;
        const QString folder = globals().gWelkomMap;
        QVERIFY(QFileInfo(folder).isDir());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        RunContext run;
        {
            const RunScope scope(run);
            QVERIFY(!window.close());
            QVERIFY(window.isVisible());
            QVERIFY(QDir(folder).exists());
            QCOMPARE(recorder.messages.size(), 1);
            QCOMPARE(recorder.messages.at(0).text,
                     QStringLiteral("Er wordt nog gewerkt. Wacht tot het overzetten klaar is of annuleer het eerst."));
            QCOMPARE(recorder.messages.at(0).style, MsgBox::OkOnly | MsgBox::Exclamation);
            QTest::mouseClick(window.cmdAnnuleren, Qt::LeftButton); // "Afsluiten" is refused the same way
            QVERIFY(window.isVisible());
            QCOMPARE(recorder.messages.size(), 2);
        }
        QVERIFY(window.close()); // the run has ended
        QVERIFY(!window.isVisible());
        QVERIFY(!QDir(folder).exists());
        QCOMPARE(recorder.messages.size(), 2);
    }

    // While the transfer runs a close goes to its cancel question; the window, the temporary folder and
    // the transfer stay. When StartTransfer returns the window shows step 18.
    void sluitenTijdensDeTransfer()
    {
        ZichtbaarVenster v;
        QVERIFY(v.toon());
        frmImportBvqNaarBvq& window = v.window;
        RecordingUiServices& recorder = v.recorder;
        const QString& folder = v.folder;
        NepStappen& nep = v.nep;
        bool gelopen = false;
        nep.transfer.tijdensTransfer = [&] {
            gelopen = true;
            QCOMPARE(qobject_cast<QLabel*>(window.stepArea->currentWidget())->text(), QStringLiteral("Stap17"));
            QVERIFY(!window.cmdAnnuleren->isEnabled());
            QVERIFY(!window.close());
            QVERIFY(window.isVisible());
            QVERIFY(QDir(folder).exists());
            QCOMPARE(nep.log.count(QStringLiteral("Transfer.Annuleren")), 1);
            QVERIFY(recorder.messages.isEmpty());
        };
        QVERIFY(GaNaar(window, 16));
        QTest::mouseClick(window.cmdVolgende, Qt::LeftButton);
        QVERIFY(gelopen);
        QCOMPARE(window.besturing().HuidigeStap(), 18);
        QCOMPARE(qobject_cast<QLabel*>(window.stepArea->currentWidget())->text(), QStringLiteral("Stap18"));
        QVERIFY(window.cmdAnnuleren->isEnabled());
        QVERIFY(window.close());
        QVERIFY(!QDir(folder).exists());
        QCOMPARE(nep.log.last(), QStringLiteral("Stap18.Finish"));
    }

    void help()
    {
        TestEnvironment env;
        QStringList geopend;
        globals().HelpFile = env.path(QStringLiteral("Brevanto_Vededuzuduzu_Davudi.chm"));
        {
            frmImportBvqNaarBvq window;
            window.OpenHelp = [&](const QString& pad) { geopend << pad; };
            QVERIFY(!window.cmdHelp->isEnabled());
            window.cmdHelp_Click();
            QVERIFY(geopend.isEmpty());
        }
        QFile chm(globals().HelpFile);
        QVERIFY(chm.open(QIODevice::WriteOnly));
        chm.close();
        frmImportBvqNaarBvq window;
        window.OpenHelp = [&](const QString& pad) { geopend << pad; };
        QVERIFY(window.cmdHelp->isEnabled());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::mouseClick(window.cmdHelp, Qt::LeftButton);
        QTest::keyClick(&window, Qt::Key_F1);
        QCOMPARE(geopend, (QStringList{globals().HelpFile, globals().HelpFile}));
    }

    void update()
    {
        RecordingUiServices recorder;
        frmImportBvqNaarBvq window;
        QList<QWidget*> getoond;
        window.ToonUpdate = [&](QWidget* parent) { getoond << parent; };
        window.IsBeheerder = [] { return false; };
        QTest::mouseClick(window.cmdUpdate, Qt::LeftButton);
        QVERIFY(getoond.isEmpty());
        QCOMPARE(recorder.messages.size(), 1);
        QCOMPARE(recorder.messages.at(0).text,
                 QStringLiteral("U beschikt over onvoldoende rechten in Windows voor het uitvoeren van programma "
                                "updates."));
        QCOMPARE(recorder.messages.at(0).title, QStringLiteral("Update"));
        QCOMPARE(recorder.messages.at(0).style, MsgBox::OkOnly | MsgBox::Information);
        window.IsBeheerder = [] { return true; };
        QTest::mouseClick(window.cmdUpdate, Qt::LeftButton);
        QCOMPARE(getoond, QList<QWidget*>{&window});
        // A failure is reported under the button's name.
        window.ToonUpdate = [](QWidget*) { throw AppError(ErrorNumber::General, QStringLiteral("kapot")); };
        QTest::mouseClick(window.cmdUpdate, Qt::LeftButton);
        QCOMPARE(recorder.errors.size(), 1);
        QVERIFY(recorder.errors.at(0).details.contains(QStringLiteral("Update")));
    }

private:
    std::optional<TestEnvironment> m_env;
};

QTEST_MAIN(MainWindowTest)
#include "test_mainwindow.moc"
