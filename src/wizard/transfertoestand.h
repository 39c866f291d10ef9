#pragma once
// What the transfer step shows while a transfer runs, without a window: the
// status list (thirteen rows, keyed), the two progress bars (rows of the
// running worker; selected sources), the remaining-time label and whether the
// cancel button is shown. The transfer driver (staptransfer.h) changes it;
// the step's view (wizard/ui/usrtransfer.h) shows it and follows its signals.
//
//     TransferToestand toestand;
//     toestand.Zet("bron", pad);                // a row's value ("Waarde")
//     toestand.Verwijder("artupdateprijs");     // an option that is not chosen
//     toestand.ZetTotaal(500);                  // VoortgangTotaal: bar maximum, start of the estimate
//     toestand.ZetHuidig(250);                  // VoortgangHuidig: bar value and "Resterende tijd :n seconden"
//
// The remaining time is estimated on a monotonic clock (milliseconds), which
// tests replace (ZetKlok).

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

namespace supplink {

struct StatusRij
{
    QString sleutel; // "bron", "doel", ...
    QString tekst;   // the "Soort" column: "Bron bestand:", ...
    QString waarde;  // the "Waarde" column
};

struct VoortgangsBalk
{
    int maximum = 100;
    int waarde = 0;
};

class TransferToestand : public QObject
{
    Q_OBJECT
public:
    using Klok = std::function<qint64()>;

    TransferToestand();

    // The thirteen rows in their order, each with an empty value.
    static QList<StatusRij> BeginRijen();
    // Back to the thirteen empty rows, empty bars and label, cancel button hidden.
    void Herstel();

    const QList<StatusRij>& Rijen() const { return m_rijen; }
    bool HeeftRij(const QString& sleutel) const { return index(sleutel) >= 0; }
    // The value of a row; empty when the row is not (or no longer) there.
    QString Waarde(const QString& sleutel) const;
    // The text of a row ("Bron bestand:"); empty when the row is not there.
    QString Tekst(const QString& sleutel) const;
    // Sets a row's value; a row that is not there is passed over.
    void Zet(const QString& sleutel, const QString& waarde);
    void Verwijder(const QString& sleutel);

    // ProgressBar1: the rows of the running worker.
    const VoortgangsBalk& Rijenbalk() const { return m_rijenbalk; }
    // ProgressBar2: the selected sources.
    const VoortgangsBalk& Bronbalk() const { return m_bronbalk; }
    // Label1: the remaining-time text (empty until the first estimate).
    const QString& ResterendeTijd() const { return m_resterend; }

    // VoortgangTotaal: the bar counts up to the total (a total below 1 leaves the maximum as it is) and the
    // estimate starts now.
    void ZetTotaal(qint64 totaal);
    // VoortgangHuidig: a value up to the maximum is shown with a new estimate; a larger (or negative) value
    // changes nothing. Answers whether it was shown.
    bool ZetHuidig(qint64 huidig);
    // The source bar: maximum the number of sources, value 0; then one step further per worker run, never
    // beyond the end.
    void InitBronnen(int aantal);
    void VolgendeBron();

    // Whether the cancel button is shown (while a worker runs).
    bool AnnulerenZichtbaar() const { return m_annuleren; }
    void ZetAnnulerenZichtbaar(bool zichtbaar);

    // The clock of the estimate: milliseconds that never run backwards.
    void ZetKlok(Klok klok);

signals:
    // The value of row i changed.
    void RijGewijzigd(int i);
    // Rows were removed or all reset.
    void RijenGewijzigd();
    // A bar or the remaining-time label changed.
    void VoortgangGewijzigd();
    void AnnulerenGewijzigd(bool zichtbaar);

private:
    int index(const QString& sleutel) const;

    QList<StatusRij> m_rijen;
    VoortgangsBalk m_rijenbalk;
    VoortgangsBalk m_bronbalk;
    QString m_resterend;
    bool m_annuleren = false;
    qint64 m_startTijd = 0;
    Klok m_klok;
};

} // namespace supplink
