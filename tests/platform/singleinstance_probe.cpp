// Started by the single-instance test as a second copy: prints "second" when
// a running copy answered (and was asked to come to the front), "first" when
// this process became the listening one.

#include "platform/singleinstance.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString key = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("probe");
    supplink::SingleInstance instance(key);
    QTextStream(stdout) << (instance.previousInstanceActivated() ? "second" : "first") << Qt::endl;
    return 0;
}
