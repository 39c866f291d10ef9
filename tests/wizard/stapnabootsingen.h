#pragma once
// Fake steps and scripted predicates for the tests of the step sequence and
// the main window: each step writes what it is asked into one shared log,
// enables Next on entry unless told otherwise, and runs what a test gives it
// on Finish (or, for the transfer, while it runs). They declare no signals
// of their own, so they need no Q_OBJECT.

#include "start/globals.h"
#include "start/stap.h"
#include "wizard/stapbesturing.h"

#include <QStringList>
#include <functional>
#include <map>
#include <memory>

namespace supplink::test {

class NepStap : public Stap
{
public:
    NepStap(QString naam, QStringList& log) : m_naam(std::move(naam)), m_log(log) {}

    void Init() override
    {
        m_log << m_naam + QStringLiteral(".Init");
        if (verderBijInit)
            emit KanVerder(true);
    }
    void Finish() override
    {
        m_log << m_naam + QStringLiteral(".Finish");
        if (bijFinish)
            bijFinish();
    }
    void Clear() override { m_log << m_naam + QStringLiteral(".Clear"); }

    bool verderBijInit = true;
    std::function<void()> bijFinish;

private:
    QString m_naam;
    QStringList& m_log;
};

class NepAlgemeneStap : public AlgemeneSelectieStap
{
public:
    explicit NepAlgemeneStap(QStringList& log) : m_log(log) {}

    using AlgemeneSelectieStap::Init;
    void Init(ItemCollection& vCol, ItemCollection& vColGeselecteerd, qint32 vHistoryID, const QString& vDistinctQRY,
              qint32 vBronType, const QString& vName) override
    {
        m_log << QStringLiteral("Algemeen.Init(%1, %2, %3, %4)").arg(vHistoryID).arg(vDistinctQRY).arg(vBronType).arg(vName);
        if (bijInit)
            bijInit(vCol, vColGeselecteerd);
        m_alle = vCol;
        m_geselecteerd = vColGeselecteerd;
        emit KanVerder(true);
    }
    void Finish() override
    {
        m_log << QStringLiteral("Algemeen.Finish");
        if (bijFinish)
            bijFinish(m_alle, m_geselecteerd);
    }
    void Clear() override
    {
        m_log << QStringLiteral("Algemeen.Clear");
        m_alle.clear();
        m_geselecteerd.clear();
    }
    ItemCollection ColItems() const override { return m_alle; }
    ItemCollection ColItemsGeselecteerd() const override { return m_geselecteerd; }

    std::function<void(ItemCollection&, ItemCollection&)> bijInit;
    std::function<void(ItemCollection&, ItemCollection&)> bijFinish;

private:
    QStringList& m_log;
    ItemCollection m_alle;
    ItemCollection m_geselecteerd;
};

class NepTransfer : public TransferStap
{
public:
    explicit NepTransfer(QStringList& log) : m_log(log) {}

    void StartTransfer() override
    {
        m_log << QStringLiteral("Transfer.StartTransfer");
        if (tijdensTransfer)
            tijdensTransfer();
        emit KanVerder(true);
    }
    void Annuleren() override { m_log << QStringLiteral("Transfer.Annuleren"); }

    std::function<void()> tijdensTransfer;

private:
    QStringList& m_log;
};

// Scripted answers of the three predicates of the skip rule, with the calls counted.
class ScriptVoorwaarden : public StapVoorwaarden
{
public:
    bool nieuwFormaat = false;
    bool hangSluitKeuzes = false;
    bool artikelGroepen = false;
    QStringList aanroepen;

    bool IsDoelNieuweFormaatCombies() override
    {
        aanroepen << QStringLiteral("IsDoelNieuweFormaatCombies");
        return nieuwFormaat;
    }
    bool IsHangSluitKeuzesMogelijk() override
    {
        aanroepen << QStringLiteral("IsHangSluitKeuzesMogelijk");
        return hangSluitKeuzes;
    }
    bool IsArtikelGroepSelectieMogelijk() override
    {
        aanroepen << QStringLiteral("IsArtikelGroepSelectieMogelijk");
        return artikelGroepen;
    }
};

// The names of the dedicated steps, by number (5, 6, 12, 13, 14 are the generic step, 17 the transfer).
inline QString NepStapNaam(int stap)
{
    return QStringLiteral("Stap%1").arg(stap);
}

// One fake model for each step, and the sequence over them.
struct NepStappen
{
    QStringList log;
    std::map<int, std::unique_ptr<NepStap>> stappen;
    NepAlgemeneStap algemeen{log};
    NepTransfer transfer{log};

    NepStappen()
    {
        for (int stap = StapBesturing::kEersteStap; stap <= StapBesturing::kLaatsteStap; ++stap) {
            if (!StapBesturing::IsAlgemeneStap(stap) && stap != StapBesturing::kTransferStap)
                stappen[stap] = std::make_unique<NepStap>(NepStapNaam(stap), log);
        }
    }
    NepStap& operator[](int stap) { return *stappen.at(stap); }
    Stap* model(int stap)
    {
        if (StapBesturing::IsAlgemeneStap(stap))
            return &algemeen;
        if (stap == StapBesturing::kTransferStap)
            return &transfer;
        return stappen.at(stap).get();
    }
    void zetIn(StapBesturing& besturing)
    {
        for (int stap = StapBesturing::kEersteStap; stap <= StapBesturing::kLaatsteStap; ++stap)
            besturing.ZetStap(stap, model(stap));
    }
};

// Every import option on.
inline std::shared_ptr<clsImportOpties> AlleOpties()
{
    auto o = std::make_shared<clsImportOpties>();
    o->ImporterenArtikelen = o->ImporterenTabellen = o->ImporterenHSKeuzes = true;
    o->DoorvoerenPrijsWijzigingen = o->NieuweArtikelenToevoegen = o->ImporterenShapes = true;
    o->ImporterenVaksponningen = o->ImporterenRandsponningen = o->ImporterenElementsponningen = true;
    o->ImporterenLaagrelief = o->ImporterenNeuten = o->ImporterenLIBHSCombies = o->ImporterenLIBHSKeuzes = true;
    return o;
}

} // namespace supplink::test
