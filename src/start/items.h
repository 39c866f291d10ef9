#pragma once
// Two small records shared by the wizard's steps, the engines and the history:
// one selectable part of a selection list, and the user's import choices.

#include <QList>
#include <QString>
#include <memory>

namespace supplink {

class clsItem
{
public:
    qint32 ID = 0;
    QString Code;
    QString Description;
    QString CodeGespiegeld;
    qint32 Groep = 0;
    QString GroepOmschrijving;
    bool Selected = false;
    bool Required = false;
    bool Existing = false;
    bool PriceDataModfied = false;
    bool InLatestRun = false;
    bool mvarUnwanted = false;
    bool RunActie_Toegevoegd = false;
    bool RunActie_Aangepast = false;

    // Not in the target and, unless required, not unwanted.
    bool IsNew() const { return Required ? !Existing : (!Existing && !mvarUnwanted); }
    // A required part is never unwanted.
    bool Unwanted() const { return !Required && mvarUnwanted; }
    void setUnwanted(bool value) { mvarUnwanted = value; }
};

// A collection of list items; the "selected" collection of a pair holds the
// same objects as its "all" collection.
using ItemCollection = QList<std::shared_ptr<clsItem>>;

class clsImportOpties
{
public:
    bool ImporterenArtikelen = false;
    bool ImporterenTabellen = false;
    bool ImporterenHSKeuzes = false;
    bool DoorvoerenPrijsWijzigingen = false;
    bool NieuweArtikelenToevoegen = false;
    bool ImporterenShapes = false;
    // Changes to groove shapes the target already holds (no step sets it).
    bool DoorvoerenShapeWijzigingen = false;
    bool ImporterenVaksponningen = false;
    bool ImporterenRandsponningen = false;
    bool ImporterenElementsponningen = false;
    bool ImporterenLaagrelief = false;
    bool ImporterenNeuten = false;
    bool ImporterenLIBHSCombies = false;
    bool ImporterenLIBHSKeuzes = false;

    // Any of the seven library kinds.
    bool ImporterenLIB() const
    {
        return ImporterenVaksponningen || ImporterenRandsponningen || ImporterenElementsponningen ||
               ImporterenLaagrelief || ImporterenNeuten || ImporterenLIBHSCombies || ImporterenLIBHSKeuzes;
    }
    // Hardware tables and combinations, or hardware choices.
    bool ImporterenOpt() const { return ImporterenTabellen || ImporterenHSKeuzes; }
};

} // namespace supplink
