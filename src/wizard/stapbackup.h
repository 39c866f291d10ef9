#pragma once
// Step 16, the backup, without a window: before the transfer it advises or
// requires a backup of the target files and copies the file targets into a
// folder the user picks. A target on SQL Server cannot be copied this way;
// for it the step only advises a backup through the project-management
// application.
//
//     StapBackup stap;
//     stap.Init();                 // advice text, Backup button, KanVerder
//     stap.cmdBackup_Click();      // folder picker, copies, messages, KanVerder
//
// A target is used when it is selected and has a path. Next is allowed when
// every used target is on SQL Server (or none is used), or once a backup of
// the used file targets succeeded; that backup counts only for the targets it
// copied: when the used targets change, a new backup is required.

#include "start/stap.h"

#include <QString>
#include <QStringList>

namespace supplink {

class StapBackup : public Stap
{
    Q_OBJECT
public:
    using Stap::Stap;

    void Init() override;
    // The Backup button.
    void cmdBackup_Click();

    // Label1: the advice.
    const QString& AdviesTekst() const { return m_advies; }
    // Whether the Backup button is enabled.
    bool BackupKnopAan() const { return m_knopAan; }
    bool BackupGemaakt() const { return m_backupGemaakt; }
    bool KanVerderNu() const;

    // Copies one file into the backup folder (the questions and messages of one copy included); true when
    // it was copied.
    static bool KopieerBestand(const QString& bron, const QString& doel);

signals:
    // The advice or the button changed.
    void Gewijzigd();

private:
    // The paths of the used targets, in their order ("*..." for SQL Server).
    static QStringList GebruikteDoelen();

    QString m_advies;
    bool m_knopAan = false;
    bool m_backupGemaakt = false;
    QStringList m_gekopieerdVan; // the used targets when the backup was made
};

} // namespace supplink
