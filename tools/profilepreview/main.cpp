// Draws the preview of a pane groove (the VAK68 profile of the preview tests:
// 68 by 40 mm, a glass rebate and a bead rebate) with every layer on: outline,
// nodes, labels, axes and dimensions. The tests check the pixels of each layer
// (tests/selection/test_profilepreview.cpp); how the whole looks can only be
// judged by eye:
//
//     QT_QPA_PLATFORM=offscreen supplink_profilepreview preview.png [width height]

#include "database/clsconnectie.h"
#include "fixtures/profilefixtures.h"
#include "selection/clsprofile.h"
#include "selection/ui/usrprofilepreview.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>

using namespace supplink;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2 && args.size() != 4) {
        std::fprintf(stderr, "use: %s <file.png> [width height]\n", qPrintable(args.value(0)));
        return 2;
    }
    const int width = args.size() == 4 ? args[2].toInt() : 480;
    const int height = args.size() == 4 ? args[3].toInt() : 420;
    if (width <= 0 || height <= 0) {
        std::fprintf(stderr, "width and height must be positive\n");
        return 2;
    }

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("wkv.db"));
    if (!fixtures::makeWorkPreparation(path)) {
        std::fprintf(stderr, "cannot make the work-preparation database\n");
        return 1;
    }
    {
        fixtures::FixtureDb db(path);
        fixtures::addGrooveShape(db, QStringLiteral("VAK68"), 680, 400,
                                 {fixtures::fixedNode(0, 0.004), fixtures::fixedNode(0.018, 0.012),
                                  fixtures::fixedNode(0.018, 0.008), fixtures::fixedNode(0.012, 0.002),
                                  fixtures::formulaNode(0.012, QStringLiteral("r"))});
    }
    clsConnectie cn;
    if (!cn.MakenSQLiteConnectie(path)) {
        std::fprintf(stderr, "cannot open the work-preparation database\n");
        return 1;
    }
    auto profile = std::make_shared<clsProfile>();
    profile->Connectie = &cn;
    profile->GetProfileData(QStringLiteral("VAK68"), QString(), false);
    profile->Connectie = nullptr;
    cn.SluitenConnectie();

    usrProfilePreview preview;
    preview.resize(width, height);
    preview.Profile(profile);
    preview.DrawXAxis(true);
    preview.DrawYAxis(true);
    preview.DrawNodes(true);
    preview.DrawLabels(true);
    preview.DrawDimensions(true);
    preview.DoDrawing();
    if (!preview.picPreview().save(args[1], "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
