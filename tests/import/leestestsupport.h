#pragma once
// Shared pieces of the article file reading tests: the engine with its reading
// steps opened up, and a listener that records the progress events.

#include "import/clsimportbestand.h"

#include <QFile>
#include <QList>
#include <QPair>
#include <QString>

namespace supplink::test {

class Lezer : public clsImportBestand
{
public:
    using clsImportBestand::AfhandelenArtikelRegel;
    using clsImportBestand::CorrectForSupplier;
    using clsImportBestand::LeesBestand;
    using clsImportBestand::LeesCSVBestand;
    using clsImportBestand::LeesExcelBestand;
    using clsImportBestand::ZitIncolItemsDistinct;

    void zetBron(clsBron2& bron) { m_bron = &bron; }
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

inline void schrijf(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

} // namespace supplink::test
