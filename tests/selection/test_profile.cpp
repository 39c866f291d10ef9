// The groove-shape outline: fixed and formula nodes, the flat side, a second
// shape on the right, contra geometry, the node units of Jet and SQLite,
// mirroring, the text forms, failures and the lookup over several databases.

#include "database/clsconnectie.h"
#include "fixtures/profilefixtures.h"
#include "selection/clsprofile.h"
#include "support/recordinguiservices.h"
#include "support/testenvironment.h"

#include <QFile>
#include <QLocale>
#include <QtTest>

using namespace supplink;
using fixtures::fixedNode;
using fixtures::formulaNode;

namespace {

using Points = QList<QPointF>;

Points pointsOf(const clsProfile& profile)
{
    Points points;
    for (int i = 0; i <= profile.CoorDinateCount(); ++i)
        points.append(QPointF(profile.x(i), profile.Y(i)));
    return points;
}

QString describe(const Points& points)
{
    QStringList parts;
    for (const QPointF& p : points)
        parts.append(QStringLiteral("(%1, %2)").arg(p.x()).arg(p.y()));
    return parts.join(QLatin1Char(' '));
}

bool samePoints(const Points& actual, const Points& expected)
{
    if (actual.size() != expected.size())
        return false;
    for (qsizetype i = 0; i < actual.size(); ++i) {
        if (std::fabs(actual[i].x() - expected[i].x()) > 1e-9 ||
            std::fabs(actual[i].y() - expected[i].y()) > 1e-9)
            return false;
    }
    return true;
}

#define COMPARE_POINTS(actual, expected)                                                                     \
    QVERIFY2(samePoints(actual, expected),                                                                   \
             qPrintable(QStringLiteral("got %1, expected %2").arg(describe(actual), describe(expected))))

// Every shape below is 20 mm wide and 15 mm high unless said otherwise; node values in metres.
void fillShapes(fixtures::FixtureDb& db)
{
    // Three fixed steps.
    fixtures::addGrooveShape(db, QStringLiteral("S3"), 200, 150,
                             {fixedNode(0, 0.005), fixedNode(0.004, 0.006), fixedNode(0.004, 0.004)});
    // A fixed step and a formula that takes what is left (the stored DeltaZ of a formula node plays no part).
    fixtures::addGrooveShape(db, QStringLiteral("F1"), 200, 150,
                             {fixedNode(0, 0.005), formulaNode(0.004, QStringLiteral("r"), 0.003)});
    // Two formulas that share one r.
    fixtures::addGrooveShape(db, QStringLiteral("F2"), 200, 150,
                             {fixedNode(0, 0.003), formulaNode(0.002, QStringLiteral("r/2")),
                              formulaNode(0.005, QStringLiteral("r/2"))});
    // Formulas that cannot be evaluated step 0.
    fixtures::addGrooveShape(db, QStringLiteral("FBAD"), 200, 150,
                             {fixedNode(0, 0.005), formulaNode(0.001, QStringLiteral("1/+*")),
                              formulaNode(0.002, QString()), formulaNode(0.003, QStringLiteral("1/0")),
                              formulaNode(0.003, QStringLiteral("sqr(-1)")), fixedNode(0.004, 0.004)});
    // A formula as the very first node steps up from 0.
    fixtures::addGrooveShape(db, QStringLiteral("FFIRST"), 200, 150,
                             {formulaNode(0, QStringLiteral("r-5")), fixedNode(0.004, 0.005)});
    // Values between whole millimetres; the rounding columns do not change the outline.
    fixtures::ShapeNode a = fixedNode(0.00125, 0.0025);
    a.roundingType = 1;
    a.roundingValue = 0.5;
    fixtures::ShapeNode b = fixedNode(0.0035, 0.00275);
    b.roundingType = 2;
    b.roundingValue = 0.25;
    fixtures::addGrooveShape(db, QStringLiteral("ROUND"), 205, 125, {a, b});
    // Right-hand shapes: one of 24 mm wide, one with a formula.
    fixtures::addGrooveShape(db, QStringLiteral("R2"), 240, 150,
                             {fixedNode(0, 0.005), fixedNode(0.003, 0.01)});
    fixtures::addGrooveShape(db, QStringLiteral("R3"), 200, 150,
                             {fixedNode(0, 0.005), formulaNode(0.003, QStringLiteral("r"))});
    // A shape with its own and a contra geometry (Yes stored as -1 here, as 1 on C2).
    fixtures::addGrooveShape(db, QStringLiteral("C1"), 200, 150, {fixedNode(0, 0.005)}, 0);
    fixtures::addGrooveShape(db, QStringLiteral("C1"), 300, 100, {fixedNode(0, 0.01)}, -1);
    fixtures::addGrooveShape(db, QStringLiteral("C2"), 300, 100, {fixedNode(0.002, 0.004)}, 1);
    // A code with quotes, a semicolon and non-ASCII letters.
    fixtures::addGrooveShape(db, QStringLiteral("O'Brien; DROP TABLE GrooveShape;--é€"), 100, 100,
                             {fixedNode(0, 0.01)});
    // A geometry without nodes.
    fixtures::addGrooveShape(db, QStringLiteral("NONODES"), 400, 400, {});
}

} // namespace

class TestProfile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void outlines_data();
    void outlines();
    void profileNames_data();
    void profileNames();
    void unknownCodeGivesRectangleOfPreviousSize();
    void contraGeometryIsChosenByFlag();
    void codeWithQuotesIsFound();

    void nodeDivisor_data();
    void nodeDivisor();
    void jetIntegerAndDoubleColumns_data();
    void jetIntegerAndDoubleColumns();

    void mirroring();
    void hemagProfile();
    void profileCoordinates_data();
    void profileCoordinates();

    void freshObject();
    void noConnection();
    void databaseErrorLeavesOutlineAsItWas_data();
    void databaseErrorLeavesOutlineAsItWas();
    void invalidNumberIsAnError();

    void lookupOverDatabasesTakesFirstAndClosesEach();

private:
    bool load(clsProfile& profile, const QString& code, const QString& contra = QString(),
              bool mirror = false);

    std::unique_ptr<test::TestEnvironment> m_env;
    std::unique_ptr<test::RecordingUiServices> m_ui;
    QString m_path;
    clsConnectie m_cn;
    QLocale m_previousLocale;
};

void TestProfile::initTestCase()
{
    m_previousLocale = QLocale();
    QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
    m_env = std::make_unique<test::TestEnvironment>();
    m_ui = std::make_unique<test::RecordingUiServices>();
    m_path = m_env->path(QStringLiteral("wkv.db"));
    QVERIFY(fixtures::makeWorkPreparation(m_path));
    {
        fixtures::FixtureDb db(m_path);
        fillShapes(db);
    }
    QVERIFY(m_cn.MakenJetorSQLiteConnectie(m_path));
}

void TestProfile::cleanupTestCase()
{
    m_cn.SluitenConnectie();
    m_ui.reset();
    QLocale::setDefault(m_previousLocale);
}

bool TestProfile::load(clsProfile& profile, const QString& code, const QString& contra, bool mirror)
{
    profile.Connectie = &m_cn;
    return profile.GetProfileData(code, contra, mirror);
}

void TestProfile::outlines_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("contra");
    QTest::addColumn<bool>("result");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<Points>("points");

    QTest::newRow("three fixed nodes, flat right side")
        << "S3"
        << "" << true << 20.0 << 15.0 << Points{{-10, 5}, {-6, 11}, {-6, 15}, {10, 15}, {10, 0}, {-10, 5}};
    QTest::newRow("formula r ends at the height")
        << "F1"
        << "" << true << 20.0 << 15.0 << Points{{-10, 5}, {-6, 15}, {10, 15}, {10, 0}, {-10, 5}};
    QTest::newRow("two formulas share r")
        << "F2"
        << "" << true << 20.0 << 15.0 << Points{{-10, 3}, {-8, 9}, {-5, 15}, {10, 15}, {10, 0}, {-10, 3}};
    QTest::newRow("formulas that fail step 0")
        << "FBAD"
        << "" << true << 20.0 << 15.0
        << Points{{-10, 5}, {-9, 5}, {-8, 5}, {-7, 5}, {-7, 5}, {-6, 9}, {10, 15}, {10, 0}, {-10, 5}};
    QTest::newRow("formula as first node")
        << "FFIRST"
        << "" << true << 20.0 << 15.0 << Points{{-10, 5}, {-6, 10}, {10, 15}, {10, 0}, {-10, 5}};
    QTest::newRow("values between millimetres, rounding columns ignored")
        << "ROUND"
        << "" << true << 20.5 << 12.5
        << Points{{-9, 2.5}, {-6.75, 5.25}, {10.25, 12.5}, {10.25, 0}, {-9, 2.5}};
    // The second shape gives the size (read like the first) and the right side, top down; a right node's
    // X belongs to the top of its step, and the last step ends in the closing point.
    QTest::newRow("second shape on the right")
        << "S3"
        << "R2" << true << 24.0 << 15.0 << Points{{-12, 5}, {-8, 11}, {-8, 15}, {9, 15}, {12, 5}, {-12, 5}};
    QTest::newRow("formula on the right uses the right side's r")
        << "F1"
        << "R3" << true << 20.0 << 15.0 << Points{{-10, 5}, {-6, 15}, {7, 15}, {10, 5}, {-10, 5}};
    QTest::newRow("only the right side")
        << "NOPE"
        << "R2" << false << 24.0 << 15.0 << Points{{-12, 0}, {-12, 15}, {9, 15}, {12, 5}, {-12, 0}};
    QTest::newRow("geometry without nodes is flat")
        << "NONODES"
        << "" << false << 0.0 << 0.0 << Points{{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}};
}

void TestProfile::outlines()
{
    QFETCH(QString, code);
    QFETCH(QString, contra);
    QFETCH(bool, result);
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(Points, points);

    clsProfile profile;
    QCOMPARE(load(profile, code, contra), result);
    QCOMPARE(profile.Width, width);
    QCOMPARE(profile.Height, height);
    QCOMPARE(profile.CoorDinateCount(), points.size() - 1);
    COMPARE_POINTS(pointsOf(profile), points);
    QVERIFY(m_ui->messages.isEmpty());
}

void TestProfile::profileNames_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("contra");
    QTest::addColumn<QString>("name");
    QTest::newRow("flat right side") << "S3"
                                     << ""
                                     << "S3_VLAK_2015";
    QTest::newRow("second shape") << "S3"
                                  << "R2"
                                  << "S3_R2_2415";
    QTest::newRow("decimal comma") << "ROUND"
                                   << ""
                                   << "ROUND_VLAK_20,512,5";
    QTest::newRow("no shape") << "NOPE"
                              << ""
                              << "VLAK_VLAK_00";
}

void TestProfile::profileNames()
{
    QFETCH(QString, code);
    QFETCH(QString, contra);
    QFETCH(QString, name);
    clsProfile profile;
    load(profile, code, contra);
    QCOMPARE(profile.ProfileName, name);
}

void TestProfile::unknownCodeGivesRectangleOfPreviousSize()
{
    clsProfile profile;
    QVERIFY(load(profile, QStringLiteral("S3")));
    QVERIFY(!load(profile, QStringLiteral("NOPE")));
    QCOMPARE(profile.ProfileName, QStringLiteral("VLAK_VLAK_2015"));
    COMPARE_POINTS(pointsOf(profile), (Points{{-10, 0}, {-10, 15}, {10, 15}, {10, 0}, {-10, 0}}));
}

void TestProfile::contraGeometryIsChosenByFlag()
{
    clsProfile profile;
    QVERIFY(load(profile, QStringLiteral("C1")));
    QCOMPARE(profile.Width, 20.0);
    COMPARE_POINTS(pointsOf(profile), (Points{{-10, 5}, {10, 15}, {10, 0}, {-10, 5}}));

    profile.Contra = true; // stored as -1
    QVERIFY(load(profile, QStringLiteral("C1")));
    QCOMPARE(profile.Width, 30.0);
    QCOMPARE(profile.Height, 10.0);
    COMPARE_POINTS(pointsOf(profile), (Points{{-15, 10}, {15, 10}, {15, 0}, {-15, 10}}));

    QVERIFY(load(profile, QStringLiteral("C2"))); // stored as 1
    COMPARE_POINTS(pointsOf(profile), (Points{{-13, 4}, {15, 10}, {15, 0}, {-13, 4}}));

    profile.Contra = false;
    QVERIFY(!load(profile, QStringLiteral("C2"))); // C2 has only a contra geometry
}

void TestProfile::codeWithQuotesIsFound()
{
    const QString code = QStringLiteral("O'Brien; DROP TABLE GrooveShape;--é€");
    clsProfile profile;
    QVERIFY(load(profile, code));
    QCOMPARE(profile.ProfileName, code + QStringLiteral("_VLAK_1010"));
    QVERIFY(!load(profile, QStringLiteral("O'Brien")));
    QVERIFY(m_ui->messages.isEmpty());
    fixtures::FixtureDb db(m_path);
    QVERIFY(db.count(QStringLiteral("GrooveShape")) > 0);
}

void TestProfile::nodeDivisor_data()
{
    QTest::addColumn<bool>("jet");
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("divisor");
    QTest::newRow("jet double") << true << int(adType::Double) << 0.001;
    QTest::newRow("jet integer") << true << int(adType::Integer) << 10.0;
    QTest::newRow("jet single") << true << int(adType::Single) << 10.0;
    QTest::newRow("sqlite double") << false << int(adType::Double) << 0.001;
    QTest::newRow("sqlite integer") << false << int(adType::Integer) << 0.001;
}

void TestProfile::nodeDivisor()
{
    QFETCH(bool, jet);
    QFETCH(int, type);
    QFETCH(double, divisor);
    QCOMPARE(ProfileNodeDivisor(jet, type), divisor);
}

void TestProfile::jetIntegerAndDoubleColumns_data()
{
    QTest::addColumn<QString>("deltaType");
    QTest::addColumn<double>("deltaX");
    QTest::addColumn<double>("deltaZ");
    QTest::newRow("integer column, tenths of a millimetre") << "INTEGER" << 40.0 << 25.0;
    QTest::newRow("double column, metres") << "DOUBLE" << 0.004 << 0.0025;
}

void TestProfile::jetIntegerAndDoubleColumns()
{
    QFETCH(QString, deltaType);
    QFETCH(double, deltaX);
    QFETCH(double, deltaZ);

    const QString path = m_env->path(QStringLiteral("jet-%1.mdb").arg(deltaType));
    QVERIFY(fixtures::makeWorkPreparation(path, deltaType));
    {
        fixtures::FixtureDb db(path);
        fixtures::addGrooveShape(db, QStringLiteral("J1"), 200, 150, {fixedNode(deltaX, deltaZ)});
        fixtures::addGrooveShape(db, QStringLiteral("J1"), 200, 150, {fixedNode(0, 0)}, -1);
    }
    fixtures::JetStandInOpeners jetFiles;
    clsConnectie cn;
    QVERIFY(cn.MakenJetConnectie(path));
    QVERIFY(cn.IsJet());
    clsProfile profile;
    profile.Connectie = &cn;
    QVERIFY(profile.GetProfileData(QStringLiteral("J1"), QString(), false));
    COMPARE_POINTS(pointsOf(profile), (Points{{-6, 2.5}, {10, 15}, {10, 0}, {-6, 2.5}}));
    cn.SluitenConnectie();
}

void TestProfile::mirroring()
{
    clsProfile profile;
    QVERIFY(load(profile, QStringLiteral("S3"), QString(), true));
    COMPARE_POINTS(pointsOf(profile), (Points{{-10, 10}, {10, 15}, {10, 0}, {-6, 0}, {-6, 4}, {-10, 10}}));
    profile.MirrorHorizontal();
    COMPARE_POINTS(pointsOf(profile), (Points{{-10, 5}, {-6, 11}, {-6, 15}, {10, 15}, {10, 0}, {-10, 5}}));

    clsProfile second;
    QVERIFY(load(second, QStringLiteral("S3"), QStringLiteral("R2")));
    const Points before = pointsOf(second);
    second.MirrorHorizontal();
    second.MirrorHorizontal();
    COMPARE_POINTS(pointsOf(second), before);
}

void TestProfile::hemagProfile()
{
    clsProfile profile;
    QVERIFY(load(profile, QStringLiteral("ROUND")));
    QCOMPARE(profile.HemagProfile(), QStringLiteral("NAME=ROUND_VLAK_20,512,5\r\n"
                                                    "SPIEGEL=0\r\n"
                                                    "MIRROR_HOR = 0\r\n"
                                                    "p1=-9 2,5\r\n"
                                                    "p2=-6,75 5,25\r\n"
                                                    "p3=10,25 12,5\r\n"
                                                    "p4=10,25 0\r\n"
                                                    "p5=-9 2,5\r\n"));
}

void TestProfile::profileCoordinates_data()
{
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("offset");
    QTest::addColumn<bool>("segments");
    QTest::addColumn<QString>("text");
    // Points: (-9, 2.5), (-6.75, 5.25), (10.25, 12.5), (10.25, 0), (-9, 2.5). Rounding to decimals sends
    // halves to the even neighbour; the whole-number form then rounds halves away from zero.
    QTest::newRow("points, whole numbers") << 0 << 0.0 << false << "-009002-007005010012010000-009002";
    QTest::newRow("points, one decimal, offset") << 1 << 100.0 << false << "091003093005110013110000091003";
    QTest::newRow("segments") << 0 << 0.0 << true
                              << "-009002-007005"
                                 "-007005010012"
                                 "010012010000"
                                 "010000-009002";
}

void TestProfile::profileCoordinates()
{
    QFETCH(int, decimals);
    QFETCH(double, offset);
    QFETCH(bool, segments);
    QFETCH(QString, text);
    clsProfile profile;
    QVERIFY(load(profile, QStringLiteral("ROUND")));
    QCOMPARE(profile.ProfileCoordinates(decimals, offset, segments), text);
}

void TestProfile::freshObject()
{
    clsProfile profile;
    QCOMPARE(profile.CoorDinateCount(), 0);
    QVERIFY(!profile.Contra);
    QCOMPARE(profile.ProfileCoordinates(0, 0, false), QString());
    try {
        profile.x(0);
        QFAIL("x(0) of an empty outline");
    } catch (const AppError& error) {
        QCOMPARE(error.number(), 9);
    }
    QVERIFY_THROWS_EXCEPTION(AppError, profile.MirrorHorizontal());

    QVERIFY(!load(profile, QStringLiteral("NOPE")));
    QCOMPARE(profile.CoorDinateCount(), 4);
    QVERIFY_THROWS_EXCEPTION(AppError, profile.Y(5));
    QVERIFY_THROWS_EXCEPTION(AppError, profile.Y(-1));
}

void TestProfile::noConnection()
{
    clsProfile profile;
    QVERIFY(load(profile, QStringLiteral("S3")));
    const Points before = pointsOf(profile);

    profile.Connectie = nullptr;
    QVERIFY(!profile.GetProfileData(QStringLiteral("F1"), QString(), false));
    clsConnectie closed;
    profile.Connectie = &closed;
    QVERIFY(!profile.GetProfileData(QStringLiteral("F1"), QString(), false));
    COMPARE_POINTS(pointsOf(profile), before);
    QCOMPARE(profile.ProfileName, QStringLiteral("S3_VLAK_2015"));
    QVERIFY(m_ui->messages.isEmpty());
}

void TestProfile::databaseErrorLeavesOutlineAsItWas_data()
{
    QTest::addColumn<bool>("jet");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("sqlite") << false << "SQLite:";
    QTest::newRow("jet") << true << "JET:";
}

void TestProfile::databaseErrorLeavesOutlineAsItWas()
{
    QFETCH(bool, jet);
    QFETCH(QString, prefix);

    // The layout of 3.50 keeps no geometry tables.
    const QString path = m_env->path(jet ? QStringLiteral("new.mdb") : QStringLiteral("new.db"));
    QVERIFY(fixtures::makeWorkPreparation(path, QStringLiteral("REAL"), {3, 50}));
    fixtures::JetStandInOpeners jetFiles;
    clsConnectie cn;
    QVERIFY(jet ? cn.MakenJetConnectie(path) : cn.MakenSQLiteConnectie(path));

    clsProfile profile;
    QVERIFY(load(profile, QStringLiteral("S3")));
    const Points before = pointsOf(profile);
    m_ui->clear();

    profile.Connectie = &cn;
    QVERIFY(!profile.GetProfileData(QStringLiteral("S3"), QString(), false));
    QCOMPARE(m_ui->messages.size(), 1);
    QVERIFY2(m_ui->messages.first().text.startsWith(prefix), qPrintable(m_ui->messages.first().text));
    QVERIFY(m_ui->messages.first().text.contains(QStringLiteral(": ")));
    QCOMPARE(m_ui->messages.first().title, QStringLiteral("Brevanto Vededuzuduzu Davudi"));
    COMPARE_POINTS(pointsOf(profile), before);
    QCOMPARE(profile.ProfileName, QStringLiteral("S3_VLAK_2015"));
    QCOMPARE(profile.Width, 20.0);
    cn.SluitenConnectie();
    m_ui->clear();
}

void TestProfile::invalidNumberIsAnError()
{
    const QString path = m_env->path(QStringLiteral("bad.db"));
    QVERIFY(fixtures::makeWorkPreparation(path));
    {
        fixtures::FixtureDb db(path);
        fixtures::addGrooveShape(db, QStringLiteral("BAD"), 200, 150,
                                 {fixedNode(0, 0.005), fixedNode(0.001, QStringLiteral("vijf"))});
    }
    clsConnectie cn;
    QVERIFY(cn.MakenSQLiteConnectie(path));
    clsProfile profile;
    profile.Connectie = &cn;
    QVERIFY(!profile.GetProfileData(QStringLiteral("BAD"), QString(), false));
    QCOMPARE(m_ui->messages.size(), 1);
    QVERIFY(m_ui->messages.first().text.startsWith(QStringLiteral("SQLite:")));
    QVERIFY(m_ui->messages.first().text.contains(QStringLiteral("vijf")));
    QCOMPARE(profile.CoorDinateCount(), 0);
    QCOMPARE(profile.ProfileName, QString());
    cn.SluitenConnectie();
    m_ui->clear();
}

void TestProfile::lookupOverDatabasesTakesFirstAndClosesEach()
{
    // Two databases that the program takes for Jet files, so the test sees every connection made.
    const QString first = m_env->path(QStringLiteral("first.mdb"));
    const QString second = m_env->path(QStringLiteral("second.mdb"));
    QVERIFY(fixtures::makeWorkPreparation(first + QStringLiteral(".db")));
    QVERIFY(fixtures::makeWorkPreparation(second + QStringLiteral(".db")));
    {
        fixtures::FixtureDb db(first + QStringLiteral(".db"));
        fixtures::addGrooveShape(db, QStringLiteral("BOTH"), 100, 100, {fixedNode(0, 0.01)});
    }
    {
        fixtures::FixtureDb db(second + QStringLiteral(".db"));
        fixtures::addGrooveShape(db, QStringLiteral("BOTH"), 300, 100, {fixedNode(0, 0.01)});
        fixtures::addGrooveShape(db, QStringLiteral("ONLY2"), 200, 100, {fixedNode(0, 0.01)});
    }
    for (const QString& path : {first, second}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Standard Jet DB stand-in");
    }
    QList<std::shared_ptr<DatabaseBackend>> opened;
    resetBackendOpeners();
    backendOpeners().jet = [&](const QString& path, const QString&) -> DbConnection {
        opened.append(fixtures::JetStandIn::open(path + QStringLiteral(".db")));
        return opened.last();
    };

    const QString missing = m_env->path(QStringLiteral("missing.mdb"));
    std::shared_ptr<clsProfile> profile =
        LoadProfileFromDatabases({missing, first, second}, QStringLiteral("ONLY2"));
    QVERIFY(profile);
    QCOMPARE(profile->Width, 20.0);
    QVERIFY(!profile->Connectie);
    QCOMPARE(opened.size(), 2);

    profile = LoadProfileFromDatabases({first, second}, QStringLiteral("BOTH"));
    QVERIFY(profile);
    QCOMPARE(profile->Width, 10.0);
    QCOMPARE(opened.size(), 3);

    QVERIFY(!LoadProfileFromDatabases({first, second}, QStringLiteral("NONE")));
    QCOMPARE(opened.size(), 5);
    for (const auto& db : opened)
        QVERIFY(!db->isOpen());
    resetBackendOpeners();
    m_ui->clear();
}

QTEST_MAIN(TestProfile)
#include "test_profile.moc"
