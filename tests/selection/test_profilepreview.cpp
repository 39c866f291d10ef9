// The profile preview: where profile millimetres land in the picture, what is
// drawn (outline, nodes, labels, dimensions, axes, caption) checked on the
// pixels of an offscreen picture, empty and absurd profiles, and the control's
// flags, stored settings and saved picture.

#include "database/clsconnectie.h"
#include "fixtures/profilefixtures.h"
#include "selection/clsprofile.h"
#include "selection/profiledrawing.h"
#include "selection/ui/usrprofilepreview.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

using namespace supplink;
using fixtures::fixedNode;
using fixtures::formulaNode;

namespace {

const QSize kPicture(400, 300);

QImage blankPicture(const QSize& size = kPicture)
{
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    return image;
}

bool isBlack(QRgb c)
{
    return qRed(c) < 60 && qGreen(c) < 60 && qBlue(c) < 60;
}
bool isBlue(QRgb c)
{
    return qBlue(c) > 150 && qRed(c) < qBlue(c) - 80 && qGreen(c) < qBlue(c) - 80;
}
bool isRed(QRgb c)
{
    return qRed(c) > 150 && qGreen(c) < qRed(c) - 80 && qBlue(c) < qRed(c) - 80;
}
bool isGrey(QRgb c)
{
    return !isBlack(c) && qRed(c) < 200 && qRed(c) == qGreen(c) && qGreen(c) == qBlue(c);
}

// How many pixels of a rectangle of the picture pass the test.
int countIn(const QImage& image, const QRect& area, bool (*test)(QRgb))
{
    int count = 0;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            count += test(image.pixel(x, y)) ? 1 : 0;
    return count;
}

int countAll(const QImage& image, bool (*test)(QRgb))
{
    return countIn(image, image.rect(), test);
}

// A pixel of the given kind within one pixel of the point.
bool near(const QImage& image, const QPointF& point, bool (*test)(QRgb))
{
    const QPoint centre = point.toPoint();
    return countIn(image, QRect(centre - QPoint(1, 1), QSize(3, 3)), test) > 0;
}

} // namespace

class TestProfilePreview : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void mapping_data();
    void mapping();

    void outlineLiesInsideThePicture_data();
    void outlineLiesInsideThePicture();
    void dimensionsAreDrawn();
    void nodesAndLabels();
    void axesAndCaptionWithoutProfile();
    void drawProfileOverlaysUntilRedraw();
    void emptyAndDegenerateProfiles();

    void flagsRedrawAndReportTheirName();
    void profileAndLabelDoNotRedraw();
    void storedSettings();
    void resizeRedraws();
    void storedPicture();

private:
    std::shared_ptr<clsProfile> loaded(const QString& code);
    QImage draw(ProfileDrawing& drawing, const QSize& size = kPicture);

    std::unique_ptr<test::TestEnvironment> m_env;
    std::unique_ptr<test::RecordingUiServices> m_ui;
    clsConnectie m_cn;
};

void TestProfilePreview::initTestCase()
{
    m_env = std::make_unique<test::TestEnvironment>();
    m_ui = std::make_unique<test::RecordingUiServices>();
    const QString path = m_env->path(QStringLiteral("wkv.db"));
    QVERIFY(fixtures::makeWorkPreparation(path));
    {
        fixtures::FixtureDb db(path);
        // A pane groove of 68 by 40 mm: a glass rebate at the bottom left, a bead rebate above it.
        fixtures::addGrooveShape(db, QStringLiteral("VAK68"), 680, 400,
                                 {fixedNode(0, 0.004), fixedNode(0.018, 0.012), fixedNode(0.018, 0.008),
                                  fixedNode(0.012, 0.002), formulaNode(0.012, QStringLiteral("r"))});
        fixtures::addGrooveShape(db, QStringLiteral("S3"), 200, 150,
                                 {fixedNode(0, 0.005), fixedNode(0.004, 0.006), fixedNode(0.004, 0.004)});
        // Absurd values: an outline millions of kilometres across.
        fixtures::addGrooveShape(db, QStringLiteral("HUGE"), 1e12, 1e12,
                                 {fixedNode(1e9, 1e9), fixedNode(-1e9, -1e12)});
        fixtures::addGrooveShape(db, QStringLiteral("ZERO"), 0, 0, {fixedNode(0, 0)});
    }
    QVERIFY(m_cn.MakenSQLiteConnectie(path));
}

void TestProfilePreview::cleanupTestCase()
{
    m_cn.SluitenConnectie();
}

std::shared_ptr<clsProfile> TestProfilePreview::loaded(const QString& code)
{
    auto profile = std::make_shared<clsProfile>();
    profile->Connectie = &m_cn;
    profile->GetProfileData(code, QString(), false);
    profile->Connectie = nullptr;
    return profile;
}

QImage TestProfilePreview::draw(ProfileDrawing& drawing, const QSize& size)
{
    QImage image = blankPicture(size);
    QPainter painter(&image);
    drawing.DoDrawing(painter, image.size());
    return image;
}

void TestProfilePreview::mapping_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("yAxis");
    QTest::addColumn<double>("scale");
    QTest::newRow("height decides") << QSize(400, 410) << false << 2.0;
    QTest::newRow("width decides without axis") << QSize(100, 410) << false << 1.0;
    QTest::newRow("width decides with axis") << QSize(280, 820) << true << 2.0;
    QTest::newRow("equal at 100/205") << QSize(100, 205) << false << 1.0;
    QTest::newRow("equal at 140/205") << QSize(140, 205) << true << 1.0;
    QTest::newRow("axis needs more width") << QSize(200, 410) << true << 200.0 / 140.0;
}

void TestProfilePreview::mapping()
{
    QFETCH(QSize, size);
    QFETCH(bool, yAxis);
    QFETCH(double, scale);
    const PreviewMapping m = PreviewMappingFor(size, yAxis);
    QCOMPARE(m.scale, scale);
    QCOMPARE(m.originX, size.width() / 2.0);
    QCOMPARE(m.originY, size.height() - 50.0);
    QCOMPARE(m.map(10, 20), QPointF(size.width() / 2.0 + 10 * scale, size.height() - 50.0 - 20 * scale));
}

void TestProfilePreview::outlineLiesInsideThePicture_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QSize>("size");
    QTest::newRow("pane groove, wide picture") << "VAK68" << QSize(400, 300);
    QTest::newRow("pane groove, narrow picture") << "VAK68" << QSize(120, 400);
    QTest::newRow("small shape") << "S3" << QSize(400, 300);
}

void TestProfilePreview::outlineLiesInsideThePicture()
{
    QFETCH(QString, code);
    QFETCH(QSize, size);
    ProfileDrawing drawing;
    drawing.Profile = loaded(code);
    drawing.DrawDimensions = false;
    const QImage image = draw(drawing, size);
    const clsProfile& profile = *drawing.Profile;
    QVERIFY(profile.CoorDinateCount() >= 4);
    for (int i = 0; i <= profile.CoorDinateCount(); ++i) {
        const QPointF p = drawing.mapping().map(profile.x(i), profile.Y(i));
        QVERIFY2(QRectF(image.rect()).contains(p), qPrintable(QStringLiteral("P %1 outside").arg(i + 1)));
        QVERIFY2(near(image, p, isBlack), qPrintable(QStringLiteral("P %1 not drawn").arg(i + 1)));
    }
    // The middle of a segment is on the outline too.
    const QPointF a = drawing.mapping().map(profile.x(0), profile.Y(0));
    const QPointF b = drawing.mapping().map(profile.x(1), profile.Y(1));
    QVERIFY(near(image, (a + b) / 2, isBlack));
    QCOMPARE(countAll(image, isBlue), 0);
}

void TestProfilePreview::dimensionsAreDrawn()
{
    ProfileDrawing drawing;
    drawing.Profile = loaded(QStringLiteral("VAK68"));
    const QImage image = draw(drawing);
    const PreviewMapping& m = drawing.mapping();

    // Width: a line 10 mm above the profile, as wide as the profile, with its value above the middle.
    const double wy = m.originY - (40 + 10) * m.scale;
    QVERIFY(near(image, QPointF(m.originX, wy), isBlue));
    QVERIFY(near(image, QPointF(m.originX - 33 * m.scale, wy), isBlue));
    QVERIFY(near(image, QPointF(m.originX + 33 * m.scale, wy), isBlue));
    QVERIFY(!near(image, QPointF(m.originX + 36 * m.scale, wy), isBlue));
    QVERIFY(countIn(image, QRect(int(m.originX) - 40, int(wy - 10 * m.scale) - 2, 80, int(10 * m.scale)),
                    isBlue) > 10);

    // Height: a line 10 mm left of the profile from its bottom to its top, with its value on the left.
    const double hx = m.originX - (34 + 10) * m.scale;
    QVERIFY(near(image, QPointF(hx, m.originY - 1), isBlue));
    QVERIFY(near(image, QPointF(hx, m.originY - 20 * m.scale), isBlue));
    QVERIFY(near(image, QPointF(hx, m.originY - 40 * m.scale + 1), isBlue));
    QVERIFY(countIn(image, QRect(0, int(m.originY - 20 * m.scale), int(hx) - 5, 16), isBlue) > 10);
    // The value never runs over its line.
    QCOMPARE(countIn(image, QRect(int(hx) + 6, int(m.originY - 20 * m.scale), 10, 16), isBlue), 0);

    QCOMPARE(DimensionText(68), QStringLiteral("68 mm"));
    QCOMPARE(DimensionText(0), QStringLiteral("0 mm"));
}

void TestProfilePreview::nodesAndLabels()
{
    ProfileDrawing drawing;
    drawing.Profile = loaded(QStringLiteral("S3"));
    drawing.DrawDimensions = false;
    QImage image = draw(drawing);
    QCOMPARE(countAll(image, isRed), 0);

    drawing.DrawNodes = true;
    image = draw(drawing);
    const PreviewMapping& m = drawing.mapping();
    const QPointF p2 = m.map(-6, 11);
    const double radius = 1.5 * m.scale;
    QVERIFY(countIn(image,
                    QRectF(p2 - QPointF(radius + 1, radius + 1), QSizeF(2 * radius + 3, 2 * radius + 3))
                        .toAlignedRect(),
                    isRed) > 4);

    drawing.DrawNodes = false;
    drawing.DrawLabels = true;
    image = draw(drawing);
    // "P 2" in red at 10 right of and 20 above its point; the name in black at the top left.
    QVERIFY(countIn(image, QRect(int(p2.x()) + 10, int(p2.y()) - 20, 25, 14), isRed) > 5);
    QVERIFY(countIn(image, QRect(10, 10, 120, 14), isBlack) > 10);
}

void TestProfilePreview::axesAndCaptionWithoutProfile()
{
    ProfileDrawing drawing;
    QImage image = draw(drawing);
    QCOMPARE(countAll(image, [](QRgb c) { return c != qRgb(255, 255, 255); }), 0);

    drawing.DrawXAxis = true;
    drawing.DrawYAxis = true;
    image = draw(drawing);
    const PreviewMapping& m = drawing.mapping();
    QVERIFY(countAll(image, isGrey) > 100);
    QCOMPARE(countAll(image, isBlack), 0);
    QCOMPARE(countAll(image, isBlue), 0);
    // "y+" right of the top of the vertical axis, "x+" below the end of the horizontal one.
    QVERIFY(countIn(image, QRect(int(m.originX) + 5, int(m.originY - 150 * m.scale), 20, 16), isGrey) > 5);
    QVERIFY(countIn(image, QRect(int(m.originX + 50 * m.scale), int(m.originY) + 5, 20, 16), isGrey) > 5);

    drawing.Label = QStringLiteral("Sponningfiguur");
    image = draw(drawing);
    QVERIFY(countIn(image, QRect(10, 10, 150, 20), isBlack) > 10);
    QCOMPARE(countIn(image, QRect(0, 40, image.width(), image.height() - 40), isBlack), 0);
}

void TestProfilePreview::drawProfileOverlaysUntilRedraw()
{
    ProfileDrawing drawing;
    drawing.DrawDimensions = false;
    QImage image = blankPicture();
    QPainter painter(&image);
    drawing.DoDrawing(painter, image.size());
    const auto wide = loaded(QStringLiteral("VAK68"));
    const auto small = loaded(QStringLiteral("S3"));
    const QPointF wideCorner = drawing.mapping().map(34, 40);
    const QPointF smallCorner = drawing.mapping().map(10, 15);

    drawing.DoDrawProfile(painter, *wide);
    QVERIFY(near(image, wideCorner, isBlack));
    QVERIFY(!near(image, smallCorner, isBlack));
    drawing.DoDrawProfile(painter, *small);
    QVERIFY(near(image, wideCorner, isBlack));
    QVERIFY(near(image, smallCorner, isBlack));

    drawing.DoDrawing(painter, image.size()); // no stored profile: an empty frame again
    QCOMPARE(countAll(image, isBlack), 0);
}

void TestProfilePreview::emptyAndDegenerateProfiles()
{
    ProfileDrawing drawing;
    drawing.DrawNodes = true;
    drawing.DrawLabels = true;

    // Never loaded: no outline, but dimensions of 0 mm.
    drawing.Profile = std::make_shared<clsProfile>();
    QImage image = draw(drawing);
    const PreviewMapping& m = drawing.mapping();
    QCOMPARE(countAll(image, isBlack), 0);
    QVERIFY(countIn(image, QRect(int(m.originX) - 40, int(m.originY - 20 * m.scale) - 2, 80, 20), isBlue) >
            10);

    // Loaded with a size of 0 by 0: the outline is one point, the dimensions still show "0 mm".
    drawing.Profile = loaded(QStringLiteral("ZERO"));
    QCOMPARE(drawing.Profile->Width, 0.0);
    image = draw(drawing);
    QVERIFY(countIn(image, QRect(int(m.originX) - 40, int(m.originY - 20 * m.scale) - 2, 80, 20), isBlue) >
            10);

    // Absurdly large: lines leave the picture, nothing hangs or crashes.
    drawing.Profile = loaded(QStringLiteral("HUGE"));
    QVERIFY(drawing.Profile->CoorDinateCount() > 0);
    image = draw(drawing);
    QVERIFY(countAll(image, isBlack) > 0);
}

void TestProfilePreview::flagsRedrawAndReportTheirName()
{
    usrProfilePreview preview;
    preview.resize(kPicture);
    preview.Profile(loaded(QStringLiteral("S3")));
    QSignalSpy changed(&preview, &usrProfilePreview::PropertyChanged);

    preview.DoDrawing();
    QCOMPARE(countAll(preview.picPreview(), isRed), 0);
    preview.DrawNodes(true);
    QVERIFY(countAll(preview.picPreview(), isRed) > 0);
    preview.DrawLabels(true);
    preview.DrawYAxis(true);
    preview.DrawXAxis(true);
    preview.DrawDimensions(false);
    QCOMPARE(countAll(preview.picPreview(), isBlue), 0);
    QVERIFY(countAll(preview.picPreview(), isGrey) > 0);

    QStringList names;
    for (const QList<QVariant>& call : changed)
        names.append(call.first().toString());
    QCOMPARE(names, (QStringList{"DrawNodes", "DrawLabels", "DrawYAxis", "DrawXAxis", "DrawDimensions"}));
}

void TestProfilePreview::profileAndLabelDoNotRedraw()
{
    usrProfilePreview preview;
    preview.resize(kPicture);
    const QImage before = preview.picPreview();
    preview.Profile(loaded(QStringLiteral("S3")));
    preview.Label(QStringLiteral("Voorbeeld"));
    QCOMPARE(preview.picPreview(), before);
    preview.DoDrawing();
    QVERIFY(preview.picPreview() != before);
    QVERIFY(countAll(preview.picPreview(), isBlue) > 0);

    preview.ErasePicture();
    QCOMPARE(countAll(preview.picPreview(), [](QRgb c) { return c != qRgb(255, 255, 255); }), 0);
    preview.DoDrawProfile(*preview.Profile());
    QVERIFY(countAll(preview.picPreview(), isBlack) > 0);
}

void TestProfilePreview::storedSettings()
{
    usrProfilePreview preview;
    preview.ReadProperties({});
    QCOMPARE(preview.WriteProperties(), (QVariantMap{{"DrawLabels", false},
                                                     {"DrawNodes", false},
                                                     {"DrawYAxis", false},
                                                     {"DrawXAxis", false},
                                                     {"DrawDimensions", true}}));
    QSignalSpy changed(&preview, &usrProfilePreview::PropertyChanged);
    preview.ReadProperties({{"DrawNodes", true}, {"DrawDimensions", false}});
    QVERIFY(preview.DrawNodes());
    QVERIFY(!preview.DrawDimensions());
    QVERIFY(!preview.DrawLabels());
    QCOMPARE(changed.size(), 0);
}

void TestProfilePreview::resizeRedraws()
{
    usrProfilePreview preview;
    preview.Profile(loaded(QStringLiteral("S3")));
    preview.show();
    preview.resize(300, 200);
    QCOMPARE(preview.picPreview().size(), QSize(300, 200));
    preview.resize(500, 420);
    QCOMPARE(preview.picPreview().size(), QSize(500, 420));
    QCOMPARE(preview.mapping().originY, 370.0);
    QVERIFY(near(preview.picPreview(), preview.mapping().map(-6, 11), isBlack));
}

void TestProfilePreview::storedPicture()
{
    usrProfilePreview preview;
    preview.resize(kPicture);
    preview.Profile(loaded(QStringLiteral("S3")));
    preview.DoDrawing();
    const QString path = preview.StoredPicture();
    QVERIFY(!path.isEmpty());
    QVERIFY(QFileInfo(path).isAbsolute());
    const QImage saved(path, "BMP");
    QCOMPARE(saved.size(), kPicture);
    QCOMPARE(saved.convertToFormat(QImage::Format_RGB32), preview.picPreview());
    QFile::remove(path);
}

QTEST_MAIN(TestProfilePreview)
#include "test_profilepreview.moc"
