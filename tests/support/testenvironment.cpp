#include "support/testenvironment.h"

#include "platform/registry.h"

#include <QDir>

namespace supplink::test {

TestEnvironment::TestEnvironment()
    : m_previousDataHome(qgetenv("XDG_DATA_HOME")), m_previousTmpDir(qgetenv("TMPDIR")),
      m_hadDataHome(qEnvironmentVariableIsSet("XDG_DATA_HOME")), m_hadTmpDir(qEnvironmentVariableIsSet("TMPDIR"))
{
    redirectRegistry(m_dir.filePath(QStringLiteral("registry")));
    QDir(m_dir.path()).mkpath(QStringLiteral("appdata"));
    QDir(m_dir.path()).mkpath(QStringLiteral("tmp"));
    qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("appdata")).toUtf8());
    qputenv("TMPDIR", m_dir.filePath(QStringLiteral("tmp")).toUtf8());
}

TestEnvironment::~TestEnvironment()
{
    const auto restore = [](const char* name, bool had, const QByteArray& value) {
        if (had)
            qputenv(name, value);
        else
            qunsetenv(name);
    };
    restore("XDG_DATA_HOME", m_hadDataHome, m_previousDataHome);
    restore("TMPDIR", m_hadTmpDir, m_previousTmpDir);
}

QString testDataFolder()
{
    const QString configured = qEnvironmentVariable("SUPPLINK_TESTDATA");
    if (!configured.isEmpty() && QDir(configured).exists())
        return QDir(configured).absolutePath();
    return {};
}

} // namespace supplink::test
