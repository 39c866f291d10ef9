// The checkable list of a selection step with 20,000 articles, as the generic
// step shows them in its window: the list filled from the step's collection
// (the items carry their history marks), sorted on the description by a
// header click, and every row ticked in one batch ("Alles Selecteren"), with
// the step copying each tick into its item and evaluating Next once. The peer
// puts the same rows into a plain QStandardItemModel shown in a QTreeView,
// sorts it on the same column and ticks every row (with the same colour).
// Both windows are shown on the offscreen platform. The two must end with the
// same rows in the same order, all ticked; otherwise the program stops
// without a ratio.
//
// A second benchmark ticks batches of 2,500 to 20,000 rows: the time must
// grow linearly with the rows (the reported complexity), with Next evaluated
// once per batch.

#include "selection/ui/usrlistview.h"
#include "selection/ui/usrlistviewcombo.h"
#include "selection/ui/usrstapselectalgemeen.h"
#include "platform/registry.h"
#include "support/fastestratio.h"

#include <QApplication>
#include <QBrush>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTreeView>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

using namespace supplink;

namespace {

constexpr int kArtikelen = 20000;
constexpr int kOmschrijvingKolom = 1;
const char* const kKolommen[] = {"Code", "Omschrijving", "Verplicht", "Optioneel", "Nieuw", "Bestaand", "Ongewenst"};

// The articles of a large product table, marked as the item-status query leaves them: some exist in the
// target, some were ticked or declined in the last run, a few are required.
ItemCollection MaakArtikelen(int aantal)
{
    ItemCollection items;
    items.reserve(aantal);
    for (int i = 0; i < aantal; ++i) {
        auto item = std::make_shared<clsItem>();
        item->ID = i + 1;
        item->Code = QStringLiteral("ART-%1").arg((i * 7919) % 1000003, 7, 10, QLatin1Char('0'));
        item->Description = QStringLiteral("Artikel %1 %2 mm").arg(QChar(u'A' + (i * 31) % 26)).arg((i * 37) % 2400);
        item->Existing = i % 3 == 0;
        item->Selected = i % 7 == 0;
        item->setUnwanted(i % 11 == 0);
        item->Required = i % 50 == 0;
        items.append(item);
    }
    return items;
}

// What both lists end with: the codes in list order, and whether every row is ticked.
struct Uitkomst
{
    QStringList codes;
    bool allesAangevinkt = false;
};

Uitkomst g_onze;
Uitkomst g_peer;
int g_kanVerder = 0; // KanVerder raised by the batch

// Our list: the generic step's window over the step's kept collection.
class OnzeLijst
{
public:
    OnzeLijst()
    {
        m_venster.resize(1000, 700);
        m_venster.show();
        QObject::connect(&m_venster.stap(), &Stap::KanVerder, [](bool) { ++g_kanVerder; });
    }

    // Fill, sort on the description, tick all.
    void Run(ItemCollection items)
    {
        StapSelectAlgemeen& stap = m_venster.stap();
        ItemCollection geselecteerd;
        stap.Clear();
        stap.Init(items, geselecteerd, 0, QString(), 0, QStringLiteral("BenchArtikelen"));
        SelectieLijst& lijst = stap.sjabloon().lijst().lijst();
        if (lijst.SorteerKolom() != kOmschrijvingKolom || lijst.SorteerVolgorde() != 0) {
            lijst.KolomKlik(kOmschrijvingKolom);
            if (lijst.SorteerVolgorde() != 0)
                lijst.KolomKlik(kOmschrijvingKolom);
        }
        g_kanVerder = 0;
        lijst.AllesSelecteren();
        QCoreApplication::processEvents();
    }

    Uitkomst Resultaat()
    {
        Uitkomst uitkomst;
        const SelectieLijst& lijst = m_venster.stap().sjabloon().lijst().lijst();
        for (int rij = 0; rij < lijst.RijAantal(); ++rij)
            uitkomst.codes << lijst.Rij(rij).Code;
        bool items = true;
        for (const auto& item : m_venster.stap().ColItems())
            items = items && item->Selected;
        uitkomst.allesAangevinkt = items && lijst.AantalAangevinkt() == lijst.RijAantal();
        return uitkomst;
    }

    // Only the batch, on a list filled before.
    void Vul(ItemCollection items)
    {
        ItemCollection geselecteerd;
        m_venster.stap().Clear();
        m_venster.stap().Init(items, geselecteerd, 0, QString(), 0, QStringLiteral("BenchArtikelen"));
        QCoreApplication::processEvents();
    }
    void Batch()
    {
        g_kanVerder = 0;
        m_venster.stap().sjabloon().lijst().lijst().AllesSelecteren();
    }

private:
    usrStapSelectAlgemeen m_venster;
};

// The peer: the same rows in a QStandardItemModel under a QTreeView.
class PeerLijst
{
public:
    PeerLijst()
    {
        m_view.setRootIsDecorated(false);
        m_view.setUniformRowHeights(true);
        m_view.resize(1000, 700);
        m_view.show();
    }

    // A fresh model for every run (removing the last run's rows is left out of the time).
    void Leeg()
    {
        m_view.setModel(nullptr);
        m_oud.reset();
    }

    void Run(const ItemCollection& items)
    {
        m_oud = std::make_unique<QStandardItemModel>();
        QStandardItemModel& m_model = *m_oud;
        m_view.setModel(&m_model);
        m_model.setColumnCount(7);
        for (int kolom = 0; kolom < 7; ++kolom)
            m_model.setHeaderData(kolom, Qt::Horizontal, QString::fromLatin1(kKolommen[kolom]));
        const QBrush zilver(QColor(0xc0, 0xc0, 0xc0));
        const QBrush groen(QColor(0x00, 0x80, 0x00));
        const QString ster = QStringLiteral("*");
        for (const auto& item : items) {
            QList<QStandardItem*> rij;
            auto* code = new QStandardItem(item->Code);
            code->setCheckable(true);
            const bool aan = item->Required || item->Selected;
            code->setCheckState(aan ? Qt::Checked : Qt::Unchecked);
            rij << code << new QStandardItem(item->Description.trimmed());
            rij << new QStandardItem(item->Required ? ster : QString());
            rij << new QStandardItem(item->Required ? QString() : ster);
            const bool nieuw = item->IsNew() && !item->Unwanted();
            rij << new QStandardItem(nieuw ? ster : QString());
            rij << new QStandardItem(!item->IsNew() && !item->Unwanted() ? ster : QString());
            rij << new QStandardItem(item->Unwanted() ? ster : QString());
            if (item->Required || aan) {
                for (QStandardItem* cel : rij)
                    cel->setForeground(item->Required ? zilver : groen);
            }
            m_model.appendRow(rij);
        }
        m_view.sortByColumn(kOmschrijvingKolom, Qt::AscendingOrder);
        for (int r = 0; r < m_model.rowCount(); ++r) {
            QStandardItem* code = m_model.item(r, 0);
            code->setCheckState(Qt::Checked);
            if (code->foreground().color() != zilver.color())
                code->setForeground(groen);
        }
        QCoreApplication::processEvents();
    }

    Uitkomst Resultaat() const
    {
        const QStandardItemModel& m_model = *m_oud;
        Uitkomst uitkomst;
        uitkomst.allesAangevinkt = true;
        for (int r = 0; r < m_model.rowCount(); ++r) {
            uitkomst.codes << m_model.item(r, 0)->text();
            uitkomst.allesAangevinkt = uitkomst.allesAangevinkt && m_model.item(r, 0)->checkState() == Qt::Checked;
        }
        return uitkomst;
    }

private:
    std::unique_ptr<QStandardItemModel> m_oud;
    QTreeView m_view;
};

OnzeLijst* g_onzeLijst = nullptr;
PeerLijst* g_peerLijst = nullptr;

void BM_PeerStandardItemModel(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        g_peerLijst->Leeg();
        const ItemCollection items = MaakArtikelen(kArtikelen);
        state.ResumeTiming();
        g_peerLijst->Run(items);
    }
    g_peer = g_peerLijst->Resultaat();
}

void BM_SelectieLijst(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        const ItemCollection items = MaakArtikelen(kArtikelen);
        state.ResumeTiming();
        g_onzeLijst->Run(items);
    }
    g_onze = g_onzeLijst->Resultaat();
    state.counters["KanVerder"] = g_kanVerder;
}

// One batch over n rows: linear in n.
void BM_BatchAlles(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        g_onzeLijst->Vul(MaakArtikelen(int(state.range(0))));
        state.ResumeTiming();
        g_onzeLijst->Batch();
    }
    if (g_kanVerder != 1)
        state.SkipWithError("Next was not evaluated exactly once per batch");
    state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_PeerStandardItemModel)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ComputeStatistics("min", bench::fastest);
BENCHMARK(BM_SelectieLijst)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ComputeStatistics("min", bench::fastest);
BENCHMARK(BM_BatchAlles)
    ->Unit(benchmark::kMillisecond)
    ->RangeMultiplier(2)
    ->Range(2500, 20000)
    ->Iterations(3)
    ->Complexity(benchmark::oN);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The list's settings (sort, widths, splitter) go to a folder of the run's own.
    QTemporaryDir instellingen;
    redirectRegistry(instellingen.path());
    OnzeLijst onze;
    PeerLijst peer;
    g_onzeLijst = &onze;
    g_peerLijst = &peer;

    benchmark::Initialize(&argc, argv);
    bench::FastestReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    if (g_onze.codes.isEmpty() || g_onze.codes != g_peer.codes || !g_onze.allesAangevinkt || !g_peer.allesAangevinkt) {
        std::fprintf(stderr, "selection list: the lists differ from the peer's (%lld and %lld rows; all ticked: %d, %d)\n",
                     static_cast<long long>(g_onze.codes.size()), static_cast<long long>(g_peer.codes.size()),
                     int(g_onze.allesAangevinkt), int(g_peer.allesAangevinkt));
        return EXIT_FAILURE;
    }
    std::printf("selection list ratio vs plain model: %.2f\n",
                reporter.ratio("BM_PeerStandardItemModel", "BM_SelectieLijst"));
    return EXIT_SUCCESS;
}
