#pragma once
// Gives a test its own settings store, application-data folder and temporary
// folder, so that tests never touch the user's files and can run in parallel.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace supplink::test {

class TestEnvironment
{
public:
    TestEnvironment();
    // Restores the folders the process used before.
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;
    QString root() const { return m_dir.path(); }
    // A path below the test's own folder.
    QString path(const QString& relative) const { return m_dir.filePath(relative); }

private:
    QTemporaryDir m_dir;
    QByteArray m_previousDataHome;
    QByteArray m_previousTmpDir;
    bool m_hadDataHome = false;
    bool m_hadTmpDir = false;
};

// The public test corpora folder (../shared/testdata), or an empty string
// when it is absent; tests that need it skip then.
QString testDataFolder();

} // namespace supplink::test
