#include "support/testenvironment.h"

#include "platform/registry.h"

#include <QDir>

namespace supplink::test {

TestEnvironment::TestEnvironment()
{
    redirectRegistry(m_dir.filePath(QStringLiteral("registry")));
    QDir(m_dir.path()).mkpath(QStringLiteral("appdata"));
    QDir(m_dir.path()).mkpath(QStringLiteral("tmp"));
    qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("appdata")).toUtf8());
    qputenv("TMPDIR", m_dir.filePath(QStringLiteral("tmp")).toUtf8());
}

QString testDataFolder()
{
    const QString configured = qEnvironmentVariable("SUPPLINK_TESTDATA");
    if (!configured.isEmpty() && QDir(configured).exists())
        return QDir(configured).absolutePath();
    return {};
}

} // namespace supplink::test
