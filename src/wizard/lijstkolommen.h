#pragma once
// The column widths of a step's list, in twips, as the steps keep them in
// section "Columns" of the settings: value <lijst> + column number (from 1)
// + "width". A column whose width is not stored takes its share of the
// list's width (less 60 twips) once that width is known: a step is entered
// before its list is on screen.
//
//     LijstKolommen kolommen(QStringLiteral("bronbestanden"), {40, 50, 10});
//     kolommen.Laden();                  // on the step's first entry
//     kolommen.ZetLijstBreedte(6060);    // the view, whenever the list is shown or resized
//     kolommen.ZetBreedte(1, 4500);      // the user widened the second column
//     kolommen.Bewaren();                // when the step is left forward

#include <QList>
#include <QString>

namespace supplink {

class LijstKolommen
{
public:
    // The list's name in the settings and each column's share of its width, in per cent.
    LijstKolommen(QString lijst, QList<int> procenten);

    // The stored widths; the other columns wait for the list's width (or take their share at once when
    // it is known).
    void Laden();
    void ZetLijstBreedte(int twips);
    void ZetBreedte(int kolom, int twips);
    // Writes every width that is known.
    void Bewaren() const;

    // Per column the width in twips, -1 while it waits for the list's width; empty before Laden.
    const QList<int>& breedtes() const { return m_breedtes; }

private:
    QString waardeNaam(int kolom) const;

    QString m_lijst;
    QList<int> m_procenten;
    QList<int> m_breedtes;
    int m_lijstBreedte = 0;
};

} // namespace supplink
