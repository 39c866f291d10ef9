// Reads any datagram as an answer of an SQL Server Browser service, as a
// stranger on the network may send one, and checks what was read: only named
// instances, names without the separator, and an answer written back from
// them reads as the same instances.
#include "platform/sqlbrowser.h"
#include "fuzzcheck.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

using namespace supplink;

namespace {

bool sameInstances(const QList<SqlBrowserInstance>& a, const QList<SqlBrowserInstance>& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].serverName != b[i].serverName || a[i].instanceName != b[i].instanceName ||
            a[i].version != b[i].version || a[i].clustered != b[i].clustered)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray datagram(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<SqlBrowserInstance> instances = ParseSqlBrowserResponse(datagram);
    qsizetype textSize = 0;
    for (const SqlBrowserInstance& instance : instances) {
        FUZZ_CHECK(!instance.serverName.isEmpty());
        FUZZ_CHECK(!instance.naam().isEmpty());
        for (const QString* text : {&instance.serverName, &instance.instanceName, &instance.version}) {
            FUZZ_CHECK(!text->contains(QLatin1Char(';')));
            FUZZ_CHECK(*text == text->trimmed());
            textSize += text->size();
        }
    }
    // Every character comes from at least one byte of the data.
    FUZZ_CHECK(textSize <= qMax<qsizetype>(0, datagram.size() - 3));

    // Written back (when it fits one answer), the instances read the same.
    const QByteArray again = MaakSqlBrowserResponse(instances);
    if (again.size() - 3 < 0xFFFF)
        FUZZ_CHECK(sameInstances(ParseSqlBrowserResponse(again), instances));
    return 0;
}
