#include "wizard/transferwerker.h"

#include "import/clsimportbestand.h"
#include "import/clsimportbestandhangsluit.h"
#include "sync/clssynclib.h"
#include "sync/clssyncopt.h"
#include "sync/clssyncpt.h"
#include "sync/clssyncshapes.h"

namespace supplink {

QString WerkerActie(WerkerSoort soort)
{
    switch (soort) {
    case WerkerSoort::Opt:
        return QStringLiteral("OPT");
    case WerkerSoort::PT:
        return QStringLiteral("PT");
    case WerkerSoort::Shapes:
        return QStringLiteral("SHAPES");
    case WerkerSoort::LIB:
        return QStringLiteral("LIBRARY");
    case WerkerSoort::Bestand:
    case WerkerSoort::BestandHangSluit:
        return QStringLiteral("CSV");
    }
    return QString();
}

QString WerkerRoutine(WerkerSoort soort)
{
    switch (soort) {
    case WerkerSoort::Opt:
        return QStringLiteral("StartTransferOPT");
    case WerkerSoort::PT:
        return QStringLiteral("StartTransferPT");
    case WerkerSoort::Shapes:
        return QStringLiteral("StartTransferSHAPES");
    case WerkerSoort::LIB:
        return QStringLiteral("StartTransferLIB");
    case WerkerSoort::Bestand:
        return QStringLiteral("StartTransferBestand");
    case WerkerSoort::BestandHangSluit:
        return QStringLiteral("StartTransferBestandHangSluit");
    }
    return QString();
}

namespace {

// An engine of the synchronisation base (SetOntvanger, SetRunContext, Cancel) and how one run of it goes.
template <class Engine, class Run>
class EngineWerker final : public TransferWerker
{
public:
    EngineWerker(VoortgangOntvanger* ontvanger, RunContextPtr run, Run uitvoeren)
        : m_uitvoeren(std::move(uitvoeren))
    {
        m_engine.SetOntvanger(ontvanger);
        m_engine.SetRunContext(std::move(run));
        m_ontvanger = ontvanger;
    }
    bool Uitvoeren(const WerkerOpdracht& opdracht) override { return m_uitvoeren(m_engine, opdracht, m_ontvanger); }
    void Cancel() override { m_engine.Cancel(); }

private:
    Engine m_engine;
    Run m_uitvoeren;
    VoortgangOntvanger* m_ontvanger = nullptr;
};

template <class Engine, class Run>
std::unique_ptr<TransferWerker> maakWerker(VoortgangOntvanger* ontvanger, RunContextPtr run, Run uitvoeren)
{
    return std::make_unique<EngineWerker<Engine, Run>>(ontvanger, std::move(run), std::move(uitvoeren));
}

class EchteWerkerFabriek final : public WerkerFabriek
{
public:
    std::unique_ptr<TransferWerker> Maak(WerkerSoort soort, VoortgangOntvanger* ontvanger,
                                         RunContextPtr run) override
    {
        switch (soort) {
        case WerkerSoort::Opt:
            return maakWerker<clsSyncOpt>(ontvanger, std::move(run),
                                          [](clsSyncOpt& e, const WerkerOpdracht& o, VoortgangOntvanger*) {
                                              e.Sync(o.bronPad, o.doelPad, true);
                                              return e.Fouten() == 0;
                                          });
        case WerkerSoort::PT:
            return maakWerker<clsSyncPT>(ontvanger, std::move(run),
                                         [](clsSyncPT& e, const WerkerOpdracht& o, VoortgangOntvanger*) {
                                             e.Sync(o.bronPad, o.doelPad, {}, true, o.types);
                                             return e.Fouten() == 0;
                                         });
        case WerkerSoort::Shapes:
            // Every failure of this engine is raised as FoutOpgetreden, which the driver counts.
            return maakWerker<clsSyncSHAPES>(ontvanger, std::move(run),
                                             [](clsSyncSHAPES& e, const WerkerOpdracht& o, VoortgangOntvanger*) {
                                                 e.Sync(o.bronPad, o.doelPad, o.types);
                                                 return true;
                                             });
        case WerkerSoort::LIB:
            // As the work-preparation engine: its failures arrive as counted events.
            return maakWerker<clsSyncLIB>(ontvanger, std::move(run),
                                          [](clsSyncLIB& e, const WerkerOpdracht& o, VoortgangOntvanger*) {
                                              e.Sync(o.bronPad, o.doelPad, true, o.types);
                                              return true;
                                          });
        case WerkerSoort::Bestand:
            return maakWerker<clsImportBestand>(
                ontvanger, std::move(run), [](clsImportBestand& e, const WerkerOpdracht& o, VoortgangOntvanger*) {
                    e.ColItemsGeselecteerd = o.selectie;
                    return o.bron && e.OverzettenBestand(*o.bron, o.doelPad);
                });
        case WerkerSoort::BestandHangSluit:
            return maakWerker<clsImportBestandHangSluit>(
                ontvanger, std::move(run),
                [](clsImportBestandHangSluit& e, const WerkerOpdracht& o, VoortgangOntvanger*) {
                    e.ColItemsGeselecteerd = o.selectie;
                    return o.bron && e.OverzettenBestand(*o.bron, o.doelPad);
                });
        }
        return nullptr;
    }
};

} // namespace

std::shared_ptr<WerkerFabriek> EchteWerkers()
{
    return std::make_shared<EchteWerkerFabriek>();
}

} // namespace supplink
