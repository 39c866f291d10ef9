#pragma once
// Shared pieces of the article file import tests: plans from text lines, the
// engine's transfer step on lines and a plan of the test's own, a listener
// that records the progress events, a policy of the shared row reader that
// records what it is told, and a product table with the import options of a
// run.

#include "database/clspt.h"
#include "fixtures/designdatabases.h"
#include "import/bronbestandlezer.h"
#include "import/clsimportbestand.h"
#include "sources/clsbron2.h"
#include "start/globals.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QFile>
#include <QList>
#include <QPair>
#include <QString>
#include <functional>

namespace supplink::test {

// An import plan of the given lines.
inline ScriptBlok maakPlan(const QStringList& regels)
{
    ScriptBlok blok;
    for (const auto& tekst : regels) {
        auto regel = std::make_shared<clsScriptRegel>();
        regel->SetScriptRegel(tekst);
        blok << regel;
    }
    return blok;
}

// The engine as the reading tests drive it, through its public reading operations.
using Lezer = clsImportBestand;

// The engine with lines and a plan of the test's own; its transfer step runs on a product table that
// the test opens itself.
class ImportProef : public clsImportBestand
{
public:
    void zet(clsBron2& bron, const QList<ArtikelRegel>& regels, const QStringList& planRegels)
    {
        m_testBron = &bron;
        m_regels = regels;
        SetImportPlan(maakPlan(planRegels));
    }
    bool openen(const QString& pad) { return m_testPt.Connect(pad); }
    bool overzetten() { return OverzettenArtikelen(*m_testBron, m_testPt, m_regels); }
    clsPT& pt() { return m_testPt; }

    // Digits drawn for generated codes, in order (then 9s).
    void cijfers(QList<int> reeks)
    {
        SetCijferBron(
            [reeks = std::move(reeks), i = 0]() mutable { return i < reeks.size() ? reeks.at(i++) : 9; });
    }

private:
    clsBron2* m_testBron = nullptr;
    QList<ArtikelRegel> m_regels;
    clsPT m_testPt;
};

class Opnemer : public VoortgangOntvanger
{
public:
    QList<QPair<QString, QString>> regels;
    QStringList hoofdActies;
    QList<qint32> fouten;
    QList<qint32> totalen;

    void Voortgang(const QString& actie, const QString& omschrijving) override
    {
        regels.append({actie, omschrijving});
    }
    void FoutOpgetreden(qint32& aantal) override { fouten << aantal; }
    void HuidigeHoofdActie(const QString& actie) override { hoofdActies << actie; }
    void VoortgangTotaal(qint32& totaal) override { totalen << totaal; }

    bool heeftActie(const QString& actie) const
    {
        for (const auto& r : regels) {
            if (r.first == actie)
                return true;
        }
        return false;
    }
};

// A policy of the shared row reader that records what it is told, and refuses the rows whose first field
// is `weiger`.
class RijOpnemer : public BronBestandLezer::Beleid
{
public:
    QStringList meldingen;
    QList<QStringList> rijen;
    QList<qint32> regelNummers; // RegelNummer() at each row
    QStringList huidigeRegels;  // HuidigeRegel() at each row
    const BronBestandLezer* lezer = nullptr;
    QString weiger = QStringLiteral("X");
    std::function<void()> bijRij;

    void Begin(const QString&) override { meldingen << QStringLiteral("begin"); }
    void NietGevonden(const QString&) override { meldingen << QStringLiteral("niet gevonden"); }
    void OpenenMislukt(const QString&) override { meldingen << QStringLiteral("openen mislukt"); }
    void GeenBladen(const QString&) override { meldingen << QStringLiteral("geen bladen"); }
    void GeenRijen(const QString& blad) override { meldingen << QStringLiteral("geen rijen ") + blad; }
    bool SplitsFout(QStringView, const QString&) override
    {
        meldingen << QStringLiteral("splitsfout");
        return true;
    }
    void LeesFout(const std::exception&) override { meldingen << QStringLiteral("leesfout"); }
    bool Rij(const QStringList& velden) override
    {
        rijen << velden;
        regelNummers << lezer->RegelNummer();
        huidigeRegels << lezer->HuidigeRegel().toString();
        if (bijRij)
            bijRij();
        return velden.value(0) != weiger;
    }
};

// Cancels the engine when the given number of new articles is reached.
class Annuleerder : public Opnemer
{
public:
    clsImportBestand* engine = nullptr;
    qint32 bijNieuw = 1;
    void NieuwOnderdeel(qint32& aantal) override
    {
        if (aantal == bijNieuw && engine)
            engine->Cancel();
    }
};

// A new product table, a CSV source with the given column map, and import options that add new
// articles and apply price changes until opties() says otherwise.
struct ImportOmgeving
{
    TestEnvironment env;
    RecordingUiServices ui;
    QString pad;
    clsBron2 bron;

    explicit ImportOmgeving(QList<qint32> kolommen, fixtures::Version versie = {3, 40})
    {
        pad = env.path(QStringLiteral("pt.db"));
        fixtures::makeDatabase(pad, fixtures::Kind::ProductTable, versie);
        bron.KolomSoorten = std::move(kolommen);
        globals().gImportOpties = std::make_shared<clsImportOpties>();
        opties(true, true);
    }
    ~ImportOmgeving()
    {
        globals().gImportOpties.reset();
        globals().gLeverancier.reset();
    }

    void opties(bool prijzen, bool nieuw)
    {
        globals().gImportOpties->DoorvoerenPrijsWijzigingen = prijzen;
        globals().gImportOpties->NieuweArtikelenToevoegen = nieuw;
    }
};

inline void schrijf(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

} // namespace supplink::test
