// Writes the demo content package "voorbeeld.dat" and the folder "voorbeeld"
// into a folder; the build runs it with the folder of the program:
//
//     maakvoorbeeld <folder> [scale]      scale 1: 250 articles, 80: 20,000
//
// It draws the logo's lettering, so it runs as a graphical application on
// the offscreen platform (no display needed).

#include "voorbeeld/voorbeeldpakket.h"

#include <QGuiApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList argumenten = QCoreApplication::arguments();
    bool getal = true;
    const int schaal = argumenten.size() > 2 ? argumenten.at(2).toInt(&getal) : 1;
    if (argumenten.size() < 2 || argumenten.size() > 3 || !getal || schaal < 1) {
        std::fprintf(stderr, "Gebruik: maakvoorbeeld <map> [schaal]\n");
        return 2;
    }
    QString fout;
    if (!supplink::voorbeeld::SchrijfVoorbeeld(argumenten.at(1), schaal, &fout)) {
        std::fprintf(stderr, "Het voorbeeldpakket is niet geschreven: %s\n", qPrintable(fout));
        return 1;
    }
    return 0;
}
