#pragma once
// The record of one supplier, as the welcome step reads it from the
// suppliers folder.

#include <QString>

namespace supplink {

class clsLeverancier
{
public:
    QString Code;          // the supplier's key: names its settings sections and template folder
    QString Omschrijving;  // display name, written into the import history's run description
    QString WelkomBestand; // the supplier's folder + "leverancier.xml"
    QString MainFolder;    // the supplier's folder
    QString Categorie = QStringLiteral("6"); // "1" to "9"
};

} // namespace supplink
