#pragma once
// A small command language written as JSON: a script is an array whose
// elements are texts, null or command objects ({"alert": {...}}, {"input": ...},
// {"switch": ...}, {"set": ...}, {"get": ...}, {"if": ...}, {"return": "..."}),
// and its result is the text that the elements produce, in order.
// Variables set by a script survive until the object is released.

#include "json/jsonvalue.h"

#include <QHash>
#include <QString>

namespace supplink {

class cJSONScript
{
public:
    // Runs the script; a script that does not read as a JSON array is reported
    // in a message box titled "Parser Error" and gives an empty text.
    QString Eval(const QString& script);
    // The output of one value: texts as they are, commands run, arrays
    // concatenated. Nesting deeper than 41 calls gives an error text instead.
    QString ExecCommand(const JsonValue& value);

private:
    QString runCommand(const QString& name, const JsonValue& argument);

    QHash<QString, QString> m_variables;
    qint32 m_nesting = 0;
};

} // namespace supplink
