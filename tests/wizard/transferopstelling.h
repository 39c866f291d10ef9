#pragma once
// What the tests of the transfer step share: real SQLite targets of the four
// kinds in a folder of their own, source descriptions of every kind the
// phases take, and scripted workers in place of the engines. A scripted
// worker records its call, raises the events its script gives and by default
// writes one row into its SQLite work copy, so that a test sees which targets
// a run replaced.
//
//     TransferOpstelling o;                          // targets made, globals emptied
//     o.kies({DoelSoort::PT});                       // the targets the run may use
//     o.opties().ImporterenArtikelen = true;
//     o.bron("artikelen.csv", BronSoort::Artikelen);  // a selected source
//     StapTransfer stap;
//     stap.ZetWerkers(o.werkers);
//     stap.StartTransfer();
//     o.werkers->aanroepen;                          // "B Bestand artikelen.csv -> pt"

#include "fixtures/designdatabases.h"
#include "sources/clsbron2.h"
#include "start/globals.h"
#include "support/testenvironment.h"
#include "database/doelbestand.h"
#include "wizard/staptransfer.h"
#include "wizard/transferpakket.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStringList>
#include <functional>
#include <memory>

namespace supplink::test {

// A table of each kind that a scripted worker writes its row into (Code, Description).
inline QString merkTabel(DoelSoort soort)
{
    switch (soort) {
    case DoelSoort::Opt:
        return QStringLiteral("LocksHingesCombi");
    case DoelSoort::PT:
        return QStringLiteral("ArtGroup");
    case DoelSoort::Wkv:
        return QStringLiteral("GrooveShape");
    case DoelSoort::Lib:
        return QStringLiteral("EdgeGroove");
    }
    return QString();
}

// The kind whose target a work copy (or target) path belongs to; none for another path.
inline std::optional<DoelSoort> soortVanPad(const QString& pad)
{
    const QString naam = QFileInfo(pad).fileName();
    for (const DoelSoort soort : kDoelVolgorde) {
        if (naam == DatabaseNaam(soort) || naam.startsWith(DatabaseNaam(soort) + QStringLiteral(".supplink-")))
            return soort;
    }
    return std::nullopt;
}

inline QString werkerNaam(WerkerSoort soort)
{
    static const char* namen[] = {"Opt", "PT", "Shapes", "LIB", "Bestand", "BestandHangSluit"};
    return QString::fromLatin1(namen[int(soort)]);
}

// One call of a scripted worker.
struct NepAanroep
{
    WerkerSoort soort;
    WerkerOpdracht opdracht;
    QString tekst; // "<kind> <source file name> -> <target code>" ("(server)" for a "*" path)
};

class NepWerkers : public WerkerFabriek
{
public:
    // What a worker does: it may raise events through `ontvanger`, cancel through the step, fail.
    using Gedrag = std::function<bool(const NepAanroep& aanroep, VoortgangOntvanger& ontvanger, int nummer)>;

    QList<NepAanroep> aanroepen;
    Gedrag gedrag;             // none: writes its row and succeeds
    int cancels = 0;           // Cancel calls on the workers
    bool schrijfMerk = true;   // the default row into an SQLite work copy

    std::unique_ptr<TransferWerker> Maak(WerkerSoort soort, VoortgangOntvanger* ontvanger,
                                         RunContextPtr run) override
    {
        return std::make_unique<Werker>(*this, soort, ontvanger, std::move(run));
    }

    QStringList teksten() const
    {
        QStringList uit;
        for (const NepAanroep& a : aanroepen)
            uit << a.tekst;
        return uit;
    }

    // The row a worker writes: Code "NEP-<number>" in the kind's table.
    static void SchrijfMerk(const QString& werkPad, int nummer)
    {
        const std::optional<DoelSoort> soort = soortVanPad(werkPad);
        if (!soort || !QFileInfo::exists(werkPad))
            return;
        fixtures::FixtureDb db(werkPad);
        db.exec(QStringLiteral("INSERT INTO %1 (Code, Description) VALUES (?, 'nep')").arg(merkTabel(*soort)),
                {QStringLiteral("NEP-%1").arg(nummer)});
    }

private:
    class Werker : public TransferWerker
    {
    public:
        Werker(NepWerkers& werkers, WerkerSoort soort, VoortgangOntvanger* ontvanger, RunContextPtr run)
            : m_werkers(werkers), m_soort(soort), m_ontvanger(ontvanger), m_run(std::move(run))
        {
        }
        bool Uitvoeren(const WerkerOpdracht& opdracht) override
        {
            NepAanroep aanroep{m_soort, opdracht, {}};
            const QString bron = opdracht.bron ? QFileInfo(opdracht.bron->BronPad).fileName() : QString();
            const std::optional<DoelSoort> doel = soortVanPad(opdracht.doelPad);
            aanroep.tekst = werkerNaam(m_soort) + QLatin1Char(' ') + bron + QStringLiteral(" -> ") +
                            (opdracht.doelPad.startsWith(QLatin1Char('*')) ? QStringLiteral("(server)")
                             : doel                                         ? SoortCode(*doel)
                                                                            : QStringLiteral("?"));
            m_werkers.aanroepen << aanroep;
            const int nummer = int(m_werkers.aanroepen.size());
            if (m_werkers.schrijfMerk)
                SchrijfMerk(opdracht.doelPad, nummer);
            return m_werkers.gedrag ? m_werkers.gedrag(aanroep, *m_ontvanger, nummer) : true;
        }
        void Cancel() override
        {
            ++m_werkers.cancels;
            m_run->cancel();
        }

    private:
        NepWerkers& m_werkers;
        WerkerSoort m_soort;
        VoortgangOntvanger* m_ontvanger;
        RunContextPtr m_run;
    };
};

class TransferOpstelling
{
public:
    TransferOpstelling() : werkers(std::make_shared<NepWerkers>())
    {
        globals() = ProgramState();
        globals().gImportOpties = std::make_shared<clsImportOpties>();
        QDir(env.root()).mkpath(QStringLiteral("doelen"));
        QDir(env.root()).mkpath(QStringLiteral("bronnen"));
        for (const DoelSoort soort : kDoelVolgorde) {
            fixtures::makeDatabase(doel(soort), FixtureSoort(soort), {3, 40});
            fixtures::FixtureDb db(doel(soort));
            db.exec(QStringLiteral("INSERT INTO %1 (Code, Description) VALUES ('OUD', 'bestaand')").arg(merkTabel(soort)));
        }
    }
    ~TransferOpstelling() { globals() = ProgramState(); }

    QString doelMap() const { return env.path(QStringLiteral("doelen")); }
    QString doel(DoelSoort soort) const { return env.path(QStringLiteral("doelen/") + DatabaseNaam(soort)); }
    QString bronPad(const QString& naam) const { return env.path(QStringLiteral("bronnen/") + naam); }
    clsImportOpties& opties() { return *globals().gImportOpties; }

    // The targets the run may use (selected, in this order), each of them a file of this folder.
    void kies(const QList<DoelSoort>& soorten)
    {
        for (const DoelSoort soort : soorten)
            voegDoelToe(soort, doel(soort));
    }
    void voegDoelToe(DoelSoort soort, const QString& pad, bool geselecteerd = true)
    {
        auto d = std::make_shared<clsDoelBestand>();
        d->Soort = DoelBestandSoort(soort);
        d->setPath(pad);
        d->Geselecteerd = geselecteerd;
        globals().gDoelBestanden << d;
    }

    // A selected source: a database of the kind (a fixture file) or a supplier file (a small text file).
    std::shared_ptr<clsBron2> bron(const QString& naam, qint32 soort, bool database = false, qint32 combiType = 0,
                                   const QString& types = QStringLiteral("1"))
    {
        const QString pad = bronPad(naam);
        if (!QFileInfo::exists(pad)) {
            if (database) {
                const fixtures::Kind kind = soort == BronSoort::Artikelen     ? fixtures::Kind::ProductTable
                                            : soort == BronSoort::Bibliotheek ? fixtures::Kind::Library
                                            : soort == BronSoort::WKV         ? fixtures::Kind::WorkPreparation
                                                                              : fixtures::Kind::Options;
                fixtures::makeDatabase(pad, kind, {3, 40});
            } else {
                QFile bestand(pad);
                bestand.open(QIODevice::WriteOnly);
                bestand.write("Code;Omschrijving\r\nA1;Een\r\n");
            }
        }
        auto b = std::make_shared<clsBron2>();
        b->BronPad = pad;
        b->BestandsNaam = naam;
        b->Soort = soort;
        b->IsSQLite = database;
        b->IsCSV = !database;
        b->CombiType = combiType;
        b->TypeSelectie = types;
        globals().gBronnenGeselecteerd << b;
        return b;
    }

    // The bytes of every target file.
    QMap<QString, QByteArray> inhoud() const
    {
        QMap<QString, QByteArray> bytes;
        for (const DoelSoort soort : kDoelVolgorde) {
            QFile bestand(doel(soort));
            if (bestand.open(QIODevice::ReadOnly))
                bytes.insert(SoortCode(soort), bestand.readAll());
        }
        return bytes;
    }
    // The files of the targets' folder besides the four targets.
    QStringList andereBestanden() const
    {
        QStringList namen = QDir(doelMap()).entryList(QDir::Files | QDir::Hidden);
        for (const DoelSoort soort : kDoelVolgorde)
            namen.removeAll(DatabaseNaam(soort));
        return namen;
    }
    // The codes of the rows of the kind's marker table in its target.
    QStringList merken(DoelSoort soort) const
    {
        fixtures::FixtureDb db(doel(soort));
        QStringList codes;
        const auto rows =
            db.connection()->run(QStringLiteral("SELECT Code FROM %1 ORDER BY Code").arg(merkTabel(soort)));
        for (int i = 0; rows && i < rows->rowCount(); ++i)
            codes << rows->rows.row(i)[0].toString();
        return codes;
    }

    TestEnvironment env;
    std::shared_ptr<NepWerkers> werkers;
};

} // namespace supplink::test
