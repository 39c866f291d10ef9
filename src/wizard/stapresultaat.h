#pragma once
// Step 18, the result, without a window: shows the logs the transfer wrote
// (the overview first, the detailed log on request), saves the detailed log
// as "BvqExport.log" in a folder the user picks, and deletes both logs when
// the step is left, which is when the main window closes.
//
//     StapResultaat stap;
//     stap.Init();                // the overview log; the button reads "&Details"
//     stap.cmdDetails_Click();    // the detailed log; "&Overzicht"
//     stap.cmdSaveLog_Click();    // folder picker, copy, message
//     stap.Finish();              // both log files deleted

#include "start/stap.h"

#include <QString>

namespace supplink {

class StapResultaat : public Stap
{
    Q_OBJECT
public:
    using Stap::Stap;

    void Init() override;
    void Finish() override;
    // Switches between the overview and the detailed log.
    void cmdDetails_Click();
    // Saves the detailed log.
    void cmdSaveLog_Click();

    // The text of the log shown (rt).
    const QString& Tekst() const { return m_tekst; }
    // The caption of cmdDetails ("&Details" while the overview is shown, "&Overzicht" while the detailed
    // log is) and its Tag ("simpel", "detail").
    QString DetailsKnopTekst() const;
    const QString& Tag() const { return m_tag; }

signals:
    // The text or the button changed.
    void Gewijzigd();

private:
    void Laad(const QString& pad);

    QString m_tekst;
    QString m_tag = QStringLiteral("simpel");
};

} // namespace supplink
