#pragma once
// The fields that a supplier's columns can be mapped to: article fields
// (codes 0 to 37) and hardware fields (codes 101 to 118).

#include <QList>
#include <QString>
#include <QVariant>

namespace supplink {

// One entry of a target-field catalogue.
struct clsProperty
{
    QString name;
    QVariant value;
    qint32 Tag = 0;
};

using VeldCatalogus = QList<clsProperty>;

// The display name of a field code; empty for a code without a name.
QString VeldNaam(qint32 code);

// Builds both program-wide catalogues anew.
void VulVeldCatalogus();

void VoegVeldToe(VeldCatalogus& catalogus, const QString& name, const QVariant& value, qint32 code);

// True when the first entry named `name` (exact) has the code `code`.
bool ZoekItemMetNaamEnTag(const VeldCatalogus& catalogus, const QString& name, qint32 code);

// The first entry with the code, or nullptr.
const clsProperty* ZoekItemMetTag(const VeldCatalogus& catalogus, qint32 code);

} // namespace supplink
