#include "wizard/transferpakket.h"

#include "database/doelbestand.h"
#include "selection/eigenselectiestap.h"
#include "selection/stapselectalgemeen.h"
#include "selection/stapselectartikelen.h"
#include "selection/stapselecthangsluit.h"
#include "selection/stapselectsponningfiguren.h"
#include "sources/clsbron2.h"
#include "sources/kolomtoewijzing.h"
#include "start/globals.h"
#include "start/veldcatalogus.h"
#include "support/recordinguiservices.h"
#include "voorbeeld/voorbeeldpakket.h"
#include "wizard/stapbesturing.h"
#include "wizard/stapimportopties.h"
#include "wizard/stapselectbronbestanden.h"
#include "wizard/stapselectdoelbestanden.h"
#include "wizard/stapwelkom.h"

#include <QDir>
#include <QHash>
#include <QFile>
#include <QFileInfo>

namespace supplink::test {

namespace {

// The package's database of a kind, relative to the supplier folder.
const char* databaseBron(DoelSoort soort)
{
    static const char* const bronnen[] = {voorbeeld::kBronOnderhoud, voorbeeld::kBronProducten,
                                          voorbeeld::kBronWerkvoorbereiding, voorbeeld::kBronBibliotheek};
    return bronnen[int(soort)];
}

const char* databaseDoel(DoelSoort soort)
{
    static const char* const doelen[] = {voorbeeld::kDoelOnderhoud, voorbeeld::kDoelProducten,
                                         voorbeeld::kDoelWerkvoorbereiding, voorbeeld::kDoelBibliotheek};
    return doelen[int(soort)];
}

// The kind of a clsDoelBestand's Soort (0 pt, 1 opt, 2 lib, 3 wkv).
DoelSoort soortVanDoelBestand(qint32 soort)
{
    for (const DoelSoort s : kDoelVolgorde) {
        if (DoelBestandSoort(s) == soort)
            return s;
    }
    return DoelSoort::Opt;
}

// The set-up dialogs as a user who accepts what they propose answers them: the column mapping as the
// titles give it (the combination kind of a hardware file as its file says), every type of a database.
class VoorstelVensters final : public BronVensters
{
public:
    QString keuzeBestand;                // the hardware file of choices (CombiType 1)
    QHash<QString, qint32> artikelTypen; // the article type a user picks for an article file, by file name

    bool ToonKolomWizard(clsBron2& bron) override
    {
        KolomToewijzing model;
        model.LeesBron(bron);
        const bool hangSluit = bron.Soort == BronSoort::TabellenCombies;
        model.KiesBestandType(hangSluit ? 1 : 0, bron);
        if (hangSluit && model.combiType < 0)
            model.combiType = QFileInfo(bron.BronPad) == QFileInfo(keuzeBestand) ? 1 : 0;
        if (!hangSluit && model.artikelTypeZichtbaar && model.artikelType < 0)
            model.artikelType = artikelTypen.value(QFileInfo(bron.BronPad).fileName(), -1);
        return model.Bevestig(bron);
    }
    bool ToonTypeWizard(TypeSelectieSoort soort, clsBron2& bron, bool tonen) override
    {
        TypeSelectieModel model(soort);
        model.SetFile(bron);
        if (!model.Tonen && !tonen)
            return model.Geaccepteerd;
        for (int i = 0; i < model.rijen.size(); ++i)
            model.ZetVinkje(i, true);
        model.UpdateBron(bron);
        return true;
    }
    void ToonRapport(const QString&, const QStringList&) override {}
};

// Steps the walk never enters (16 to 18) hold their places in the sequence.
class GeenStap final : public Stap
{
public:
    void Init() override { emit KanVerder(false); }
};

class GeenTransfer final : public TransferStap
{
public:
    void StartTransfer() override {}
    void Annuleren() override {}
};

// The selection list of a selection step; none for another step.
SelectieLijst* selectieLijst(Stap* stap)
{
    if (auto* eigen = dynamic_cast<EigenSelectieStap*>(stap))
        return &eigen->sjabloon().lijst().lijst();
    if (auto* algemeen = dynamic_cast<StapSelectAlgemeen*>(stap))
        return &algemeen->sjabloon().lijst().lijst();
    return nullptr;
}

} // namespace

QString TransferPakket::voorbeeldPad(const char* relatief) const
{
    return QDir(map).filePath(voorbeeld::PadInVoorbeeldMap(relatief));
}

QString TransferPakket::bron(DoelSoort soort) const
{
    return voorbeeldPad(databaseBron(soort));
}

QString TransferPakket::doel(DoelSoort soort) const
{
    return QDir(map).filePath(QString::fromLatin1(databaseDoel(soort)));
}

QString TransferPakket::origineel(DoelSoort soort) const
{
    return voorbeeldPad(databaseDoel(soort));
}

TransferPakket SchrijfTransferPakket(const QString& map, int schaal, QString* fout)
{
    TransferPakket pakket{map, schaal};
    QString reden;
    if (!voorbeeld::SchrijfVoorbeeld(map, schaal, &reden)) {
        if (fout)
            *fout = reden;
        return {};
    }
    QDir(map).mkpath(QStringLiteral("doelen"));
    if (!HerstelDoelen(pakket)) {
        if (fout)
            *fout = QStringLiteral("De doelbestanden kunnen niet worden gekopieerd naar '%1'.").arg(map);
        return {};
    }
    return pakket;
}

bool HerstelDoelen(const TransferPakket& pakket)
{
    for (const DoelSoort soort : kDoelVolgorde) {
        QFile::remove(pakket.doel(soort));
        if (!QFile::copy(pakket.origineel(soort), pakket.doel(soort)) ||
            !QFile::setPermissions(pakket.doel(soort), QFile::permissions(pakket.doel(soort)) | QFileDevice::WriteOwner))
            return false;
    }
    return true;
}

QString KiesTransferPakket(const TransferPakket& pakket, PakketBronnen bronnen)
{
    globals() = ProgramState();
    // What the program fills when it starts.
    VulVeldCatalogus();
    RecordingUiServices ui;
    VoorstelVensters vensters;
    vensters.keuzeBestand = pakket.voorbeeldPad(voorbeeld::kBronHangSluitKeuzeCsv);
    // The price list's new articles are lock sets, the workbook's insulating glass, the XML export's plastic
    // profiles (KolomToewijzing::ArtikelTypeNamen).
    for (const auto& [bestand, type] : {std::pair{voorbeeld::kBronArtikelCsv, 6},
                                        std::pair{voorbeeld::kBronArtikelWerkmap, 3},
                                        std::pair{voorbeeld::kBronMaterialenXml, 19}})
        vensters.artikelTypen.insert(QFileInfo(QString::fromLatin1(bestand)).fileName(), type);

    QStringList bronPaden;
    for (const DoelSoort soort : kDoelVolgorde)
        bronPaden << pakket.bron(soort);
    if (bronnen == PakketBronnen::Alle) {
        for (const char* bestand : {voorbeeld::kBronHangSluitCombiCsv, voorbeeld::kBronHangSluitCombiWerkmap,
                                    voorbeeld::kBronHangSluitKeuzeCsv, voorbeeld::kBronArtikelCsv,
                                    voorbeeld::kBronArtikelWerkmap, voorbeeld::kBronMaterialenXml})
            bronPaden << pakket.voorbeeldPad(bestand);
    }

    StapWelkom welkom;
    welkom.setProgrammaMap(pakket.map);
    StapSelectBronBestanden bronStap;
    bronStap.setVensters(&vensters);
    StapSelectDoelBestanden doelStap;
    StapImportOpties optieStap;
    StapSelectAlgemeen algemeen;
    StapSelectHSTabellen tabellen;
    StapSelectHSKeuzes keuzes;
    StapSelectHSCombies combies;
    StapSelectArtikelGroepen groepen;
    StapSelectArtikelen artikelen;
    StapSelectSponningFiguren figuren;
    GeenStap backup;
    GeenTransfer transfer;
    GeenStap resultaat;

    StapBesturing besturing;
    besturing.ZetStap(1, &welkom);
    besturing.ZetStap(2, &bronStap);
    besturing.ZetStap(3, &doelStap);
    besturing.ZetStap(4, &optieStap);
    for (const int stap : {5, 6, 12, 13, 14})
        besturing.ZetStap(stap, &algemeen);
    besturing.ZetStap(7, &tabellen);
    besturing.ZetStap(8, &keuzes);
    besturing.ZetStap(9, &combies);
    besturing.ZetStap(10, &groepen);
    besturing.ZetStap(11, &artikelen);
    besturing.ZetStap(15, &figuren);
    besturing.ZetStap(16, &backup);
    besturing.ZetStap(17, &transfer);
    besturing.ZetStap(18, &resultaat);
    const QStringList onvolledig = besturing.ControleerStappen();
    if (!onvolledig.isEmpty())
        return onvolledig.join(QLatin1Char('\n'));

    const auto fouten = [&ui](int stap) -> QString {
        QStringList teksten;
        for (const ErrorWindowContent& fout : ui.errors)
            teksten << fout.message;
        return teksten.isEmpty() ? QString()
                                 : QStringLiteral("stap %1: %2").arg(stap).arg(teksten.join(QLatin1Char('\n')));
    };

    besturing.Start();
    welkom.KnoopGeklikt(QString::fromLatin1(voorbeeld::kLeverancierCode), false);
    while (besturing.HuidigeStap() < 16) {
        const int stap = besturing.HuidigeStap();
        if (stap == 2) {
            // Added in one open dialog; then exactly these rows ticked (the supplier's saved definitions of
            // an earlier walk may list others).
            ui.fileAnswers << bronPaden;
            bronStap.cmdBlader_Click();
            if (bronStap.rijen().size() < bronPaden.size()) {
                QStringList meldingen;
                for (const RecordingUiServices::Message& melding : std::as_const(ui.messages))
                    meldingen << melding.text;
                return QStringLiteral("stap 2 neemt niet elke bron: ") + meldingen.join(QLatin1Char('\n'));
            }
            for (int rij = 0; rij < bronStap.rijen().size(); ++rij) {
                bool gekozen = false;
                for (const QString& pad : std::as_const(bronPaden))
                    gekozen = gekozen || QFileInfo(bronStap.rijen().at(rij).map) == QFileInfo(pad);
                bronStap.VinkRij(rij, gekozen);
            }
        } else if (stap == 3) {
            for (int rij = 0; rij < doelStap.rijen().size(); ++rij) {
                doelStap.KlikRij(rij);
                ui.fileAnswers << QStringList{pakket.doel(soortVanDoelBestand(doelStap.DoelVanRij(rij)->Soort))};
                doelStap.cmdBlader_Click();
            }
        } else if (stap == 4) {
            for (int vak = 0; vak < StapImportOpties::AantalVakken; ++vak) {
                if (optieStap.vak(StapImportOpties::Vak(vak)).aan)
                    optieStap.ZetVak(StapImportOpties::Vak(vak), true);
            }
            if (optieStap.optie(StapImportOpties::ArtBeide).aan)
                optieStap.ZetOptie(StapImportOpties::ArtBeide);
        } else if (SelectieLijst* lijst = selectieLijst(besturing.StapModel(stap))) {
            lijst->AllesSelecteren();
        }
        const QString fout = fouten(stap);
        if (!fout.isEmpty())
            return fout;
        if (!besturing.VolgendeAan())
            return QStringLiteral("stap %1 laat niet verder gaan").arg(stap);
        besturing.Volgende();
        if (besturing.HuidigeStap() == stap)
            return QStringLiteral("stap %1 blijft staan").arg(stap);
    }
    return fouten(besturing.HuidigeStap());
}

} // namespace supplink::test
