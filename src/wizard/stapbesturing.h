#pragma once
// The wizard's step sequence, without a window: the eighteen numbered steps,
// Next and Back with the skip rule, what entering, leaving forward and leaving
// backward do to the program-wide state, the window's title, sub-title and
// status line and which of its buttons are enabled, and when the window may
// close. The main window (frmImportBvqNaarBvq) is a thin view over this: it
// shows the state after every Gewijzigd and passes its buttons on.
//
//     StapBesturing besturing;
//     besturing.ZetStap(1, &welkom);              // every step 1..18 has a model (stap.h);
//     ...                                         // 5, 6, 12, 13, 14 one AlgemeneSelectieStap,
//     besturing.ZetStap(17, &transfer);           // 17 a TransferStap
//     besturing.Start();                          // enters step 1
//     besturing.Volgende();                       // the Next button (when enabled)
//
// Steps 1 to 4 and 16 to 18 are always shown; a selection step (5 to 15) only
// while its condition holds, evaluated afresh each time the walk reaches it:
//   5 ImporterenLaagrelief      6 ImporterenNeuten
//   7 ImporterenTabellen and not IsDoelNieuweFormaatCombies (the predicate first)
//   8 ImporterenLIBHSKeuzes, or ImporterenHSKeuzes and IsHangSluitKeuzesMogelijk
//   9 ImporterenLIBHSCombies, or ImporterenTabellen and IsHangSluitKeuzesMogelijk
//  10 ImporterenArtikelen and IsArtikelGroepSelectieMogelijk (both evaluated)
//  11 ImporterenArtikelen     12-14 the three groove flags     15 ImporterenShapes
// (no import options yet: no selection step). The predicates come through
// StapVoorwaarden, which tests replace with scripted answers.
//
// Going back empties the variables of the step that is left backward (2: the
// sources; 3: the targets and library mode; 4: the import options; 7-11 and
// 15: the step's pair of collections; the generic steps 5, 6, 12-14 nothing).
// Leaving step 2, 3 or 4 forward with sources, targets (with library mode) or
// import options that differ by value from those the selections were made
// with empties all eleven pairs of item collections, so no later step or
// transfer works from lists read under the old choice.
//
// Step 17 runs the transfer inside the call that enters it; while it runs,
// Next and Back are ignored and a close of the window goes to the transfer's
// cancel question. A close is also refused while any run is live
// (RunContext::anyLive) or a step is still being entered or left.

#include "start/globals.h"
#include "start/stap.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace supplink {

// The predicates of the skip rule; by default the program's own (sources/voorwaarden.h).
class StapVoorwaarden
{
public:
    virtual ~StapVoorwaarden() = default;
    virtual bool IsDoelNieuweFormaatCombies();
    virtual bool IsHangSluitKeuzesMogelijk();
    virtual bool IsArtikelGroepSelectieMogelijk();
};

class StapBesturing : public QObject
{
    Q_OBJECT
public:
    static constexpr int kEersteStap = 1;
    static constexpr int kLaatsteStap = 18;
    static constexpr int kTransferStap = 17;
    static constexpr int kResultaatStap = 18;

    explicit StapBesturing(QObject* parent = nullptr);
    ~StapBesturing() override;

    // The title of a step, as the window shows it while the step is current.
    static QString StapTitel(int stap);
    // Whether one instance of the generic selection step serves the step (5, 6, 12, 13, 14).
    static bool IsAlgemeneStap(int stap);

    // The model of a step (not owned; one model may serve several steps).
    void ZetStap(int stap, Stap* model);
    Stap* StapModel(int stap) const { return m_modellen.value(stap); }
    // What is wrong with the registered models (a step without one, a generic step or step 17 of the
    // wrong kind), one line each; empty when every step can be entered.
    QStringList ControleerStappen() const;
    void setVoorwaarden(std::shared_ptr<StapVoorwaarden> voorwaarden);

    // Loading the window: enters step 1.
    void Start();
    // The Next button: nothing unless Next is enabled and no step is being entered or left.
    void Volgende();
    // The Back button: nothing unless Back is enabled and no step is being entered or left.
    void Vorige();
    // The close button: whether the window may close (MagSluiten, then on steps before 18 the question
    // "Brevanto Vededuzuduzu Davudi afsluiten?").
    bool VraagAfsluiten();
    // Every way of closing: false, after routing to the transfer's cancel question or after saying why,
    // while the transfer or another run is live or a step is being entered or left.
    bool MagSluiten();
    // The window closes: the result step is left (its Finish), the temporary folder deleted.
    void Afsluiten();

    // The state the window shows.
    int HuidigeStap() const { return m_stap; }
    // The model whose view the step area shows (none before step 1).
    Stap* GetoondeStap() const { return m_modellen.value(m_getoond); }
    const QString& Titel() const { return m_titel; }       // lbLeverancer
    const QString& SubTitel() const { return m_subTitel; } // lbStap
    const QString& StatusRegel() const { return m_status; } // Label1
    bool VolgendeAan() const { return m_volgende; }
    bool VorigeAan() const { return m_vorige; }
    bool UpdateAan() const { return m_update; }
    bool AfsluitenAan() const { return m_afsluiten; }
    // The hourglass: a step is being entered or left.
    bool Bezig() const { return m_bezig; }
    // StartTransfer of step 17 runs.
    bool TransferLoopt() const { return m_transferLoopt; }

signals:
    // Some of the state above changed.
    void Gewijzigd();
    // A step sent a status text; the window shows it at once.
    void StatusRegelGewijzigd();

private:
    void volgendeIntern();
    void vorigeIntern();
    void SlaStappenOver(int richting);
    bool Getoond(int stap);
    void BetreedStap(int stap);
    void VerlaatStap(int stap);
    void HerstelStap(int stap);
    void StartTransferStap();
    void VergelijkMetBasis(int stap);
    void LeegAlleSelecties();
    void zetBezig(bool bezig);
    bool IsHuidig(const Stap* model) const;

    QHash<int, Stap*> m_modellen;
    std::shared_ptr<StapVoorwaarden> m_voorwaarden;
    int m_stap = 0;
    int m_getoond = 0;
    QString m_titel;
    QString m_subTitel;
    QString m_status;
    bool m_volgende = false;
    bool m_vorige = false;
    bool m_update = false;
    bool m_afsluiten = true;
    bool m_bezig = false;
    bool m_transferLoopt = false;
    bool m_afgesloten = false;
    int m_overgang = 0; // depth of Next/Back calls in progress

    // The sources, targets (with library mode) and import options, by value, that the item
    // collections were read under; none until the step is first left forward.
    std::optional<QStringList> m_basisBronnen;
    std::optional<QStringList> m_basisDoelen;
    std::optional<QStringList> m_basisOpties;
};

} // namespace supplink
