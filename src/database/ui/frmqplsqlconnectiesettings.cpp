#include "database/ui/frmqplsqlconnectiesettings.h"

#include "database/clsconnectie.h"
#include "database/doelbestand.h"
#include "database/recordset.h"
#include "platform/sqlbrowser.h"
#include "start/globals.h"
#include "start/sharedroutines.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace supplink {

namespace {

// The hourglass for as long as the object lives.
class Zandloper
{
public:
    Zandloper() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Zandloper() { QApplication::restoreOverrideCursor(); }
    Zandloper(const Zandloper&) = delete;
    Zandloper& operator=(const Zandloper&) = delete;
};

// Adds entries to an editable list without touching what the user typed.
void voegToe(QComboBox* list, const QStringList& names)
{
    const QSignalBlocker blocker(list);
    const QString typed = list->currentText();
    list->addItems(names);
    list->setEditText(typed);
}

bool isSysteemDatabase(const QString& name)
{
    const QString upper = name.toUpper();
    return upper == QLatin1String("MASTER") || upper == QLatin1String("MODEL") ||
           upper == QLatin1String("MSDB") || upper == QLatin1String("TEMPDB");
}

void kleur(QLineEdit* box, QPalette::ColorRole role)
{
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, QApplication::palette().color(role));
    box->setPalette(palette);
}

} // namespace

void VulbareComboBox::showPopup()
{
    emit openen();
    QComboBox::showPopup();
}

frmQplSQLConnectieSettings::frmQplSQLConnectieSettings(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Verbindings Instellingen Ornavel"));

    fraServer = new QGroupBox(QStringLiteral("Serverlocatie"), this);
    auto* serverLabel = new QLabel(
        QStringLiteral("Geef hieronder de SQL server naam op waarmee u verbinding wilt maken:"), fraServer);
    serverLabel->setWordWrap(true);
    cbServer = new VulbareComboBox(fraServer);
    cbServer->setEditable(true);
    cbServer->setInsertPolicy(QComboBox::NoInsert);
    cbServer->setToolTip(QStringLiteral("Voer servernaam in of kies uit lijst met beschikbare servers."));
    auto* serverLayout = new QVBoxLayout(fraServer);
    serverLayout->addWidget(serverLabel);
    serverLayout->addWidget(cbServer);

    fraInloggen = new QGroupBox(QStringLiteral("Inloggen"), this);
    OPTNTSecurity = new QRadioButton(
        QStringLiteral(
            "Ik hoef geen aparte gebruikersnaam en wachtwoord op te geven om in te loggen op deze SQL "
            "server."),
        fraInloggen);
    OPTSQLSecurity = new QRadioButton(
        QStringLiteral(
            "Om in te loggen op deze SQL server moet ik een gebruikersnaam en wachtwoord opgeven."),
        fraInloggen);
    auto* userLabel = new QLabel(QStringLiteral("Gebruiker"), fraInloggen);
    txtUser = new QLineEdit(fraInloggen);
    txtUser->setToolTip(
        QStringLiteral("Geef een gebruikersnaam op voor het controleren van de Databaseserver"));
    auto* passwordLabel = new QLabel(QStringLiteral("Wachtwoord:"), fraInloggen);
    txtPassword = new QLineEdit(fraInloggen);
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;")); // "*"
    auto* loginLayout = new QGridLayout(fraInloggen);
    loginLayout->addWidget(OPTNTSecurity, 0, 0, 1, 2);
    loginLayout->addWidget(OPTSQLSecurity, 1, 0, 1, 2);
    loginLayout->addWidget(userLabel, 2, 0);
    loginLayout->addWidget(txtUser, 2, 1);
    loginLayout->addWidget(passwordLabel, 3, 0);
    loginLayout->addWidget(txtPassword, 3, 1);

    fraDatabase = new QGroupBox(QStringLiteral("Database"), this);
    auto* databaseLabel =
        new QLabel(QStringLiteral("Geef hieronder de database naam op waarop u wilt inloggen:"), fraDatabase);
    databaseLabel->setWordWrap(true);
    cbCatalog = new VulbareComboBox(fraDatabase);
    cbCatalog->setEditable(true);
    cbCatalog->setInsertPolicy(QComboBox::NoInsert);
    cbCatalog->setToolTip(
        QStringLiteral("Voer databasenaam  in of kies uit lijst met beschikbare databases."));
    auto* databaseLayout = new QVBoxLayout(fraDatabase);
    databaseLayout->addWidget(databaseLabel);
    databaseLayout->addWidget(cbCatalog);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setDefault(true);
    cmdAnnuleren = new QPushButton(QStringLiteral("&Annuleren"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdAnnuleren);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraServer);
    layout->addWidget(fraInloggen);
    layout->addWidget(fraDatabase);
    layout->addStretch(1);
    layout->addLayout(buttons);
    resize(TwipsNaarPixels(7200), TwipsNaarPixels(6000));

    connect(cbServer, &VulbareComboBox::openen, this, &frmQplSQLConnectieSettings::VulServerLijst);
    connect(cbCatalog, &VulbareComboBox::openen, this, &frmQplSQLConnectieSettings::VulDatabaseLijst);
    connect(cbServer, &QComboBox::editTextChanged, this, [this]() { ServerGewijzigd = true; });
    connect(cbServer, &QComboBox::activated, this, [this]() { ServerGewijzigd = true; });
    connect(OPTNTSecurity, &QRadioButton::toggled, this, &frmQplSQLConnectieSettings::loginGewijzigd);
    connect(OPTSQLSecurity, &QRadioButton::toggled, this, &frmQplSQLConnectieSettings::loginGewijzigd);
    connect(cmdOK, &QPushButton::clicked, this, &frmQplSQLConnectieSettings::cmdOK_Click);
    connect(cmdAnnuleren, &QPushButton::clicked, this, &frmQplSQLConnectieSettings::cmdAnnuleren_Click);
}

QString frmQplSQLConnectieSettings::SQLAuth() const
{
    return QStringList{Server, Database, Beveiliging, Gebruiker, Wachtwoord}.join(
        SqlServerVerbinding::Scheiding);
}

void frmQplSQLConnectieSettings::setSQLAuth(const QString& description)
{
    const QString text = description.trimmed();
    if (text.isEmpty())
        return;
    const QStringList fields = text.split(SqlServerVerbinding::Scheiding);
    if (fields.size() != 5)
        return;
    Server = fields.at(0);
    Database = fields.at(1);
    Beveiliging = fields.at(2);
    Gebruiker = fields.at(3);
    Wachtwoord = fields.at(4);
}

void frmQplSQLConnectieSettings::TonenProgrammaSettings(bool tonen)
{
    if (!tonen) {
        cbServer->clear();
        cbServer->setEditText(QString());
        kiesLogin(Login::Windows);
        return;
    }
    cbServer->setEditText(Server);
    cbCatalog->setEditText(Database);
    txtUser->setText(Gebruiker);
    txtPassword->setText(Wachtwoord);
    if (Beveiliging == QLatin1String(SqlServerVerbinding::NTSecurity))
        kiesLogin(Login::Windows);
    else if (Beveiliging == QLatin1String(SqlServerVerbinding::SQLSecurity))
        kiesLogin(Login::SqlServer);
    else
        kiesLogin(Login::Geen);
}

void frmQplSQLConnectieSettings::kiesLogin(Login login)
{
    // Exclusive buttons cannot be cleared together otherwise.
    OPTNTSecurity->setAutoExclusive(false);
    OPTSQLSecurity->setAutoExclusive(false);
    OPTNTSecurity->setChecked(login == Login::Windows);
    OPTSQLSecurity->setChecked(login == Login::SqlServer);
    OPTNTSecurity->setAutoExclusive(true);
    OPTSQLSecurity->setAutoExclusive(true);
    loginGewijzigd();
}

void frmQplSQLConnectieSettings::loginGewijzigd()
{
    if (OPTNTSecurity->isChecked()) {
        for (QLineEdit* box : {txtUser, txtPassword}) {
            box->setEnabled(false);
            kleur(box, QPalette::Button);
        }
    } else if (OPTSQLSecurity->isChecked()) {
        for (QLineEdit* box : {txtUser, txtPassword}) {
            box->setEnabled(true);
            kleur(box, QPalette::Base);
        }
    }
}

void frmQplSQLConnectieSettings::VulServerLijst()
{
    if (cbServer->count() > 0)
        return;
    try {
        const Zandloper zandloper;
        const QStringList servers = ZoekSqlServers();
        if (!servers.isEmpty())
            voegToe(cbServer, servers);
    } catch (...) {
        // No list: the user types the name.
    }
}

void frmQplSQLConnectieSettings::VulDatabaseLijst()
{
    if (cbCatalog->count() > 0 && !ServerGewijzigd)
        return;
    ServerGewijzigd = false;
    try {
        const Zandloper zandloper;
        {
            // The databases of an earlier server are no choice on this one.
            const QSignalBlocker blocker(cbCatalog);
            const QString typed = cbCatalog->currentText();
            cbCatalog->clear();
            cbCatalog->setEditText(typed);
        }
        clsConnectie connection;
        bool connected = false;
        if (OPTSQLSecurity->isChecked())
            connected = connection.MakenConnectie(cbServer->currentText(), txtUser->text(),
                                                  txtPassword->text(), QString(), true);
        else if (OPTNTSecurity->isChecked())
            connected =
                connection.MakenConnectie(cbServer->currentText(), QString(), QString(), QString(), false);
        if (!connected)
            return;
        QStringList names;
        try {
            const DbConnection db = connection.Connection();
            const RecordsetPtr rows =
                db->openRecordset(QStringLiteral("SELECT name FROM sys.databases ORDER BY name"));
            for (; !rows->eof(); rows->moveNext()) {
                const QString name = NzString(rows->value(0));
                if (!isSysteemDatabase(name))
                    names.append(name);
            }
        } catch (...) {
            // A login that may not list the databases: the names read so far are offered, any other is typed.
        }
        connection.SluitenConnectie();
        if (!names.isEmpty())
            voegToe(cbCatalog, names);
    } catch (...) {
        // A failed connection has shown its own message; the list stays short.
    }
}

bool frmQplSQLConnectieSettings::TestVerbinding()
{
    clsConnectie connection;
    if (OPTNTSecurity->isChecked())
        return connection.IsSQLServerAanwezig(cbServer->currentText(), true, QString(), QString());
    return connection.IsSQLServerAanwezig(cbServer->currentText(), false, txtUser->text(),
                                          txtPassword->text());
}

void frmQplSQLConnectieSettings::cmdOK_Click()
{
    try {
        const QString title = QString::fromUtf8(kProgramTitle);
        if (cbServer->currentText().trimmed().isEmpty()) {
            ui().messageBox(QStringLiteral("U heeft geen SQL server opgegeven!"),
                            MsgBox::OkOnly | MsgBox::Information, title);
            cbServer->setFocus();
            return;
        }
        if (cbCatalog->currentText().trimmed().isEmpty()) {
            ui().messageBox(QStringLiteral("U heeft geen database naam opgegeven!"),
                            MsgBox::OkOnly | MsgBox::Information, title);
            cbCatalog->setFocus();
            return;
        }
        if (!TestVerbinding())
            return;
        Server = cbServer->currentText();
        Database = cbCatalog->currentText();
        if (OPTNTSecurity->isChecked()) {
            Beveiliging = QLatin1String(SqlServerVerbinding::NTSecurity);
        } else if (OPTSQLSecurity->isChecked()) {
            Beveiliging = QLatin1String(SqlServerVerbinding::SQLSecurity);
            Gebruiker = txtUser->text();
            Wachtwoord = txtPassword->text();
        }
        OKGekozen = true;
        Geannuleerd = false;
        hide();
    } catch (const std::exception& error) {
        ShowError(QString(), error);
    }
}

void frmQplSQLConnectieSettings::cmdAnnuleren_Click()
{
    Geannuleerd = true;
    OKGekozen = false;
    hide();
}

} // namespace supplink
