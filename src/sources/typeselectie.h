#pragma once
// The type choice of a database source of the design product: counts what the
// source holds per article type, library table or groove kind, lists the
// types with their counts, checks the types chosen earlier and writes the
// checked type numbers back into the source's TypeSelectie ("3;7"). The three
// type-selection windows are thin views over this.

#include <QList>
#include <QString>

namespace supplink {

class clsBron2;

enum class TypeSelectieSoort
{
    Artikelen,      // product table: article types
    Bibliotheek,    // library: part tables
    Sponningfiguren // work preparation: groove kinds
};

struct TypeRij
{
    qint32 nummer = 0;
    QString tekst;
    bool aangevinkt = false;
};

class TypeSelectieModel
{
public:
    explicit TypeSelectieModel(TypeSelectieSoort soort) : m_soort(soort) {}

    // The fixed name of a type number of this kind; empty for a number without a name.
    static QString TypeNaam(TypeSelectieSoort soort, qint32 nummer);
    static QString TitelVoorvoegsel(TypeSelectieSoort soort);
    static QString GeenTypenBericht(TypeSelectieSoort soort);

    // Counts, checks the stored choice and decides Tonen and, for an empty or single-type source,
    // Geaccepteerd. A counting failure of an article or groove-shape source and a stored choice
    // that is no whole number throw AppError to the caller.
    void SetFile(clsBron2& bron);

    void Tellen(clsBron2& bron);
    void VinkBewaard(const QString& typeSelectie);
    void PasUitkomstToe(clsBron2& bron);

    void ZetVinkje(int rij, bool aan);
    bool OKMogelijk() const;
    // The checked type numbers, top to bottom, joined by ";".
    QString SelectieTekst() const;
    void UpdateBron(clsBron2& bron) const;

    TypeSelectieSoort soort() const { return m_soort; }

    QList<TypeRij> rijen;
    qint32 AantalGevonden = 0;
    bool Tonen = false;
    bool Geaccepteerd = false;

private:
    void RijToevoegen(qint32 nummer, qint64 aantal);
    void TelArtikelen(clsBron2& bron);
    void TelSponningfiguren(clsBron2& bron);
    void TelBibliotheek(clsBron2& bron);
    void OnderdeelToevoegen(clsBron2& bron, bool sqlite, qint32 nummer, const QString& naam,
                            const QString& query);

    TypeSelectieSoort m_soort;
};

} // namespace supplink
