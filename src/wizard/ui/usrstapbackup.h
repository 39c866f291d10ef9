#pragma once
// The view of step 16, the backup: the advice text and the "Backup" button in
// a frame, thin over the window-free backup step (wizard/stapbackup.h).

#include "wizard/stapbackup.h"

#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;

namespace supplink {

class usrStapBackup : public QWidget
{
    Q_OBJECT
public:
    explicit usrStapBackup(QWidget* parent);
    ~usrStapBackup() override;

    StapBackup& stap() { return m_model; }

    QFrame* Frame2 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* cmdBackup = nullptr;

private:
    void Toon();

    StapBackup m_model;
};

} // namespace supplink
