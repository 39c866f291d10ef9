#pragma once
// The SQL Server connection dialog: the user names the server (typed, or
// picked from the servers that answer on the network), the way of logging in
// and the database (typed, or picked from the server's databases). OK tests
// the connection first. The result is an SQL Server connection description
// (doelbestand.h), read and written through SQLAuth.
//
// The caller writes SQLAuth, calls TonenProgrammaSettings, shows the window
// modally (ToonModaal), and reads SQLAuth when OKGekozen is set.

#include <QComboBox>
#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace supplink {

// A drop-down list that says when its list is about to open, so that it can be filled first.
class VulbareComboBox : public QComboBox
{
    Q_OBJECT

public:
    using QComboBox::QComboBox;
    void showPopup() override;

signals:
    void openen();
};

class frmQplSQLConnectieSettings : public QDialog
{
    Q_OBJECT

public:
    explicit frmQplSQLConnectieSettings(QWidget* parent = nullptr);

    // The five fields of the description.
    QString Server;
    QString Database;
    QString Beveiliging; // "eNTSecurity" or "eSQLSecurity"
    QString Gebruiker;
    QString Wachtwoord;
    // How the window was closed.
    bool OKGekozen = false;
    bool Geannuleerd = false;
    // The server text changed since the database list was last filled.
    bool ServerGewijzigd = false;

    QGroupBox* fraServer = nullptr;
    QGroupBox* fraInloggen = nullptr;
    QGroupBox* fraDatabase = nullptr;
    VulbareComboBox* cbServer = nullptr;
    QRadioButton* OPTNTSecurity = nullptr;
    QRadioButton* OPTSQLSecurity = nullptr;
    QLineEdit* txtUser = nullptr;
    QLineEdit* txtPassword = nullptr;
    VulbareComboBox* cbCatalog = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdAnnuleren = nullptr;

    // The five fields joined by the character with code 8.
    QString SQLAuth() const;
    // Takes the five fields of a (trimmed) description; any other text leaves them as they are.
    void setSQLAuth(const QString& description);
    // Prepares the controls: with False an empty server and the Windows login; with True the fields.
    void TonenProgrammaSettings(bool tonen);

    // Fills the server list from the servers that answer on the network, once per window.
    void VulServerLijst();
    // Fills the database list from the server (system databases left out), when it is empty or the
    // server changed.
    void VulDatabaseLijst();
    // The server answers with the chosen login (a refused login counts as an answer).
    bool TestVerbinding();

public slots:
    void cmdOK_Click();
    void cmdAnnuleren_Click();

private:
    enum class Login
    {
        Geen,
        Windows,
        SqlServer
    };
    void kiesLogin(Login login);
    void loginGewijzigd();
};

} // namespace supplink
