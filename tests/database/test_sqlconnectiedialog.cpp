// The SQL Server connection dialog, driven offscreen through its fields and
// controls; servers answer from a browser responder on 127.0.0.1 and logins
// from scripted back-ends.

#include "database/ui/frmqplsqlconnectiesettings.h"

#include "database/backendopeners.h"
#include "fixtures/scriptedbackend.h"
#include "fixtures/sqlbrowserresponder.h"
#include "platform/sqlbrowser.h"
#include "support/recordinguiservices.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace supplink;
using fixtures::ScriptedBackend;

namespace {

const QChar kSep(8);
const QString kDatabases = QStringLiteral("SELECT name FROM sys.databases ORDER BY name");

QString description(const QStringList& fields)
{
    return fields.join(kSep);
}

QStringList entries(const QComboBox* list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result.append(list->itemText(i));
    return result;
}

// Servers whose logins succeed and list the given databases; every login is kept.
struct Servers
{
    QHash<QString, QStringList> databases;
    QList<SqlServerLogin> logins;
    std::optional<AppError> failure;
};

void installServers(const std::shared_ptr<Servers>& servers)
{
    backendOpeners().sqlServer = [servers](const SqlServerLogin& login) -> DbConnection {
        servers->logins.append(login);
        if (servers->failure)
            throw *servers->failure;
        auto db = std::make_shared<ScriptedBackend>(DatabaseBackend::Kind::SqlServer, login.server);
        QList<QVariantList> rows;
        for (const QString& name : servers->databases.value(login.server))
            rows.append({name});
        db->answer(kDatabases, {QStringLiteral("name")}, rows);
        return db;
    };
}

} // namespace

class TestSqlConnectieDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void captions();
    void sqlAuthReadAndWrite_data();
    void sqlAuthReadAndWrite();
    void showsProgramSettings();
    void hidesServerWithoutProgramSettings();
    void okNeedsServerAndDatabase();
    void okTakesTheControls();
    void okWithWindowsLoginKeepsEarlierUser();
    void okAcceptsRefusedLogin();
    void okStaysOpenWhenServerUnreachable();
    void cancelKeepsFields();
    void databaseListLeavesSystemDatabasesOut();
    void databaseListFollowsServerChange();
    void serverListFromBrowser();

private:
    std::unique_ptr<test::RecordingUiServices> m_ui;
    std::shared_ptr<Servers> m_servers;
    SqlBrowserSettings m_browserBefore;
};

void TestSqlConnectieDialog::init()
{
    m_ui = std::make_unique<test::RecordingUiServices>();
    m_servers = std::make_shared<Servers>();
    installServers(m_servers);
    m_browserBefore = sqlBrowserSettings();
    // Whatever a test opens, the server search never leaves this machine.
    sqlBrowserSettings().broadcastAddress = QHostAddress(QHostAddress::LocalHost);
    sqlBrowserSettings().port = 9;
    sqlBrowserSettings().timeoutMs = 100;
}

void TestSqlConnectieDialog::cleanup()
{
    sqlBrowserSettings() = m_browserBefore;
    resetBackendOpeners();
    m_ui.reset();
}

void TestSqlConnectieDialog::captions()
{
    frmQplSQLConnectieSettings dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Verbindings Instellingen Ornavel"));
    QCOMPARE(dialog.cbCatalog->toolTip(),
             QStringLiteral("Voer databasenaam  in of kies uit lijst met beschikbare databases."));
    QCOMPARE(dialog.cmdAnnuleren->text(), QStringLiteral("&Annuleren"));
    QCOMPARE(dialog.txtPassword->echoMode(), QLineEdit::Password);
}

void TestSqlConnectieDialog::sqlAuthReadAndWrite_data()
{
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("read");
    const QString five = description({"BOUW01\\SQL", "Producten", "eSQLSecurity", "sa", "ge;heim"});
    QTest::newRow("five fields") << five << five;
    QTest::newRow("trimmed") << QStringLiteral("  ") + five + QStringLiteral(" ") << five;
    QTest::newRow("four fields") << description({"a", "b", "c", "d"}) << QString(4, kSep);
    QTest::newRow("six fields") << description({"a", "b", "c", "d", "e", "f"}) << QString(4, kSep);
    QTest::newRow("empty") << QString() << QString(4, kSep);
}

void TestSqlConnectieDialog::sqlAuthReadAndWrite()
{
    QFETCH(QString, written);
    QFETCH(QString, read);
    frmQplSQLConnectieSettings dialog;
    dialog.setSQLAuth(written);
    QCOMPARE(dialog.SQLAuth(), read);
}

void TestSqlConnectieDialog::showsProgramSettings()
{
    frmQplSQLConnectieSettings dialog;
    dialog.setSQLAuth(description({"BOUW01", "Producten", "eSQLSecurity", "piet", "geheim"}));
    dialog.TonenProgrammaSettings(true);
    QCOMPARE(dialog.cbServer->currentText(), QStringLiteral("BOUW01"));
    QCOMPARE(dialog.cbCatalog->currentText(), QStringLiteral("Producten"));
    QCOMPARE(dialog.txtUser->text(), QStringLiteral("piet"));
    QCOMPARE(dialog.txtPassword->text(), QStringLiteral("geheim"));
    QVERIFY(dialog.OPTSQLSecurity->isChecked());
    QVERIFY(dialog.txtUser->isEnabled() && dialog.txtPassword->isEnabled());

    dialog.setSQLAuth(description({"BOUW01", "Producten", "eNTSecurity", "piet", "geheim"}));
    dialog.TonenProgrammaSettings(true);
    QVERIFY(dialog.OPTNTSecurity->isChecked());
    QVERIFY(!dialog.txtUser->isEnabled() && !dialog.txtPassword->isEnabled());
    QCOMPARE(dialog.txtUser->palette().color(QPalette::Base),
             QApplication::palette().color(QPalette::Button));

    dialog.setSQLAuth(description({"BOUW01", "Producten", "iets anders", "piet", "geheim"}));
    dialog.TonenProgrammaSettings(true);
    QVERIFY(!dialog.OPTNTSecurity->isChecked() && !dialog.OPTSQLSecurity->isChecked());
}

void TestSqlConnectieDialog::hidesServerWithoutProgramSettings()
{
    frmQplSQLConnectieSettings dialog;
    dialog.cbServer->addItem(QStringLiteral("OUD"));
    dialog.cbServer->setEditText(QStringLiteral("OUD"));
    dialog.cbCatalog->setEditText(QStringLiteral("Db"));
    dialog.txtUser->setText(QStringLiteral("jan"));
    dialog.TonenProgrammaSettings(false);
    QCOMPARE(dialog.cbServer->count(), 0);
    QVERIFY(dialog.cbServer->currentText().isEmpty());
    QVERIFY(dialog.OPTNTSecurity->isChecked());
    QCOMPARE(dialog.cbCatalog->currentText(), QStringLiteral("Db"));
    QCOMPARE(dialog.txtUser->text(), QStringLiteral("jan"));
}

void TestSqlConnectieDialog::okNeedsServerAndDatabase()
{
    frmQplSQLConnectieSettings dialog;
    dialog.TonenProgrammaSettings(false);
    dialog.show();
    QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
    QCOMPARE(m_ui->messages.size(), 1);
    QCOMPARE(m_ui->messages.at(0).text, QStringLiteral("U heeft geen SQL server opgegeven!"));
    QCOMPARE(m_ui->messages.at(0).style, int(MsgBox::Information));
    QVERIFY(!dialog.OKGekozen);
    QVERIFY(dialog.isVisible());

    dialog.cbServer->setEditText(QStringLiteral("BOUW01"));
    dialog.cmdOK_Click();
    QCOMPARE(m_ui->messages.size(), 2);
    QCOMPARE(m_ui->messages.at(1).text, QStringLiteral("U heeft geen database naam opgegeven!"));
    QVERIFY(!dialog.OKGekozen);
    QVERIFY(m_servers->logins.isEmpty()); // nothing tested yet
}

void TestSqlConnectieDialog::okTakesTheControls()
{
    frmQplSQLConnectieSettings dialog;
    dialog.TonenProgrammaSettings(false);
    dialog.show();
    dialog.cbServer->setEditText(QStringLiteral("BOUW01\\SQLEXPRESS"));
    dialog.cbCatalog->setEditText(QStringLiteral("Producten"));
    dialog.OPTSQLSecurity->setChecked(true);
    dialog.txtUser->setText(QStringLiteral("piet"));
    dialog.txtPassword->setText(QStringLiteral("ge'heim"));
    QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);

    QVERIFY(dialog.OKGekozen);
    QVERIFY(!dialog.Geannuleerd);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.SQLAuth(),
             description({"BOUW01\\SQLEXPRESS", "Producten", "eSQLSecurity", "piet", "ge'heim"}));
    QCOMPARE(m_servers->logins.size(), 1);
    QCOMPARE(m_servers->logins.at(0).server, QStringLiteral("BOUW01\\SQLEXPRESS"));
    QCOMPARE(m_servers->logins.at(0).user, QStringLiteral("piet"));
    QVERIFY(!m_servers->logins.at(0).integratedSecurity);
}

void TestSqlConnectieDialog::okWithWindowsLoginKeepsEarlierUser()
{
    frmQplSQLConnectieSettings dialog;
    dialog.setSQLAuth(description({"BOUW01", "Producten", "eSQLSecurity", "piet", "geheim"}));
    dialog.TonenProgrammaSettings(true);
    dialog.OPTNTSecurity->setChecked(true);
    dialog.cmdOK_Click();
    QVERIFY(dialog.OKGekozen);
    QCOMPARE(dialog.SQLAuth(), description({"BOUW01", "Producten", "eNTSecurity", "piet", "geheim"}));
    QVERIFY(m_servers->logins.at(0).integratedSecurity);
    QVERIFY(m_servers->logins.at(0).user.isEmpty());
}

void TestSqlConnectieDialog::okAcceptsRefusedLogin()
{
    m_servers->failure =
        AppError(DbErrorNumber::LoginFailed, QStringLiteral("Login failed for user 'piet'."));
    frmQplSQLConnectieSettings dialog;
    dialog.setSQLAuth(description({"BOUW01", "Producten", "eSQLSecurity", "piet", "fout"}));
    dialog.TonenProgrammaSettings(true);
    dialog.cmdOK_Click();
    QVERIFY(dialog.OKGekozen); // the server is there; the password is not checked
    QVERIFY(m_ui->messages.isEmpty());
}

void TestSqlConnectieDialog::okStaysOpenWhenServerUnreachable()
{
    m_servers->failure = AppError(DbErrorNumber::Unspecified, QStringLiteral("Server bestaat niet."));
    frmQplSQLConnectieSettings dialog;
    dialog.setSQLAuth(description({"WEG", "Producten", "eNTSecurity", "", ""}));
    dialog.TonenProgrammaSettings(true);
    dialog.show();
    dialog.cmdOK_Click();
    QVERIFY(!dialog.OKGekozen);
    QVERIFY(dialog.isVisible());
    QCOMPARE(m_ui->messages.size(), 1);
    QVERIFY(m_ui->messages.at(0).text.contains(QStringLiteral("Server bestaat niet.")));
}

void TestSqlConnectieDialog::cancelKeepsFields()
{
    const QString before = description({"BOUW01", "Producten", "eSQLSecurity", "piet", "geheim"});
    frmQplSQLConnectieSettings dialog;
    dialog.setSQLAuth(before);
    dialog.TonenProgrammaSettings(true);
    dialog.show();
    dialog.cbServer->setEditText(QStringLiteral("ANDER"));
    QTest::mouseClick(dialog.cmdAnnuleren, Qt::LeftButton);
    QVERIFY(dialog.Geannuleerd);
    QVERIFY(!dialog.OKGekozen);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.SQLAuth(), before);
}

void TestSqlConnectieDialog::databaseListLeavesSystemDatabasesOut()
{
    m_servers->databases.insert(QStringLiteral("BOUW01"),
                                {"master", "Producten", "Model", "MSDB", "tempdb", "archief"});
    m_servers->databases.insert(QStringLiteral("LEEG"), {"master", "model", "msdb", "tempdb"});
    frmQplSQLConnectieSettings dialog;
    dialog.setSQLAuth(description({"BOUW01", "", "eSQLSecurity", "piet", "geheim"}));
    dialog.TonenProgrammaSettings(true);
    dialog.show();
    dialog.cbCatalog->setEditText(QStringLiteral("get"));
    dialog.cbCatalog->showPopup(); // opening the list fills it
    dialog.cbCatalog->hidePopup();
    QCOMPARE(entries(dialog.cbCatalog), (QStringList{"Producten", "archief"}));
    QCOMPARE(dialog.cbCatalog->currentText(), QStringLiteral("get")); // what was typed stays
    QCOMPARE(m_servers->logins.size(), 1);
    QVERIFY(m_servers->logins.at(0).database.isEmpty());
    QCOMPARE(m_servers->logins.at(0).user, QStringLiteral("piet"));

    // Filled once: opening again asks nothing.
    dialog.VulDatabaseLijst();
    QCOMPARE(m_servers->logins.size(), 1);

    // A server with only system databases gives an empty list.
    dialog.cbServer->setEditText(QStringLiteral("LEEG"));
    dialog.VulDatabaseLijst();
    QVERIFY(entries(dialog.cbCatalog).isEmpty());
}

void TestSqlConnectieDialog::databaseListFollowsServerChange()
{
    m_servers->databases.insert(QStringLiteral("EEN"), {"Producten", "Oud"});
    m_servers->databases.insert(QStringLiteral("TWEE"), {"Nieuw"});
    frmQplSQLConnectieSettings dialog;
    dialog.TonenProgrammaSettings(false); // Windows login
    dialog.cbServer->setEditText(QStringLiteral("EEN"));
    dialog.VulDatabaseLijst();
    QCOMPARE(entries(dialog.cbCatalog), (QStringList{"Producten", "Oud"}));
    QVERIFY(!dialog.ServerGewijzigd);

    dialog.cbServer->setEditText(QStringLiteral("TWEE"));
    QVERIFY(dialog.ServerGewijzigd);
    dialog.VulDatabaseLijst();
    QCOMPARE(entries(dialog.cbCatalog), QStringList{"Nieuw"}); // the first server's names are gone
    QVERIFY(m_servers->logins.at(1).integratedSecurity);

    // With neither login chosen no connection is made.
    dialog.setSQLAuth(description({"EEN", "", "geen", "", ""}));
    dialog.TonenProgrammaSettings(true);
    dialog.VulDatabaseLijst();
    QCOMPARE(m_servers->logins.size(), 2);
}

void TestSqlConnectieDialog::serverListFromBrowser()
{
    SqlBrowserInstance named;
    named.serverName = QStringLiteral("BOUW01");
    named.instanceName = QStringLiteral("SQLEXPRESS");
    SqlBrowserInstance plain;
    plain.serverName = QStringLiteral("KANTOOR");
    plain.instanceName = QStringLiteral("MSSQLSERVER");
    fixtures::SqlBrowserResponder responder({MaakSqlBrowserResponse({named, plain})});
    sqlBrowserSettings().port = responder.port();
    sqlBrowserSettings().timeoutMs = 300;

    frmQplSQLConnectieSettings dialog;
    dialog.TonenProgrammaSettings(false);
    dialog.show();
    dialog.cbServer->setEditText(QStringLiteral("get"));
    dialog.cbServer->showPopup();
    dialog.cbServer->hidePopup();
    QCOMPARE(entries(dialog.cbServer), (QStringList{"BOUW01\\SQLEXPRESS", "KANTOOR"}));
    QCOMPARE(dialog.cbServer->currentText(), QStringLiteral("get"));
    QCOMPARE(responder.requests(), QList<QByteArray>{QByteArray(1, char(0x02))});

    // Once the list holds names, the network is not asked again.
    dialog.VulServerLijst();
    QCOMPARE(responder.requests().size(), 1);

    // Picking a server from the list counts as a change of server.
    dialog.ServerGewijzigd = false;
    dialog.cbServer->setCurrentIndex(1);
    QCOMPARE(dialog.cbServer->currentText(), QStringLiteral("KANTOOR"));
    QVERIFY(dialog.ServerGewijzigd);
}

QTEST_MAIN(TestSqlConnectieDialog)
#include "test_sqlconnectiedialog.moc"
