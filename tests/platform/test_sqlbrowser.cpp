// The SQL Server Browser client: reading answers, and asking a responder on
// 127.0.0.1 (the only address these tests send to).

#include "fixtures/sqlbrowserresponder.h"
#include "platform/sqlbrowser.h"

#include <QElapsedTimer>
#include <QtTest>

using namespace supplink;

namespace {

SqlBrowserInstance instance(const QString& server, const QString& name, const QString& version = QString())
{
    SqlBrowserInstance result;
    result.serverName = server;
    result.instanceName = name;
    result.version = version;
    return result;
}

QByteArray datagram(const QByteArray& data)
{
    QByteArray result;
    result.append(char(0x05));
    result.append(char(data.size() & 0xFF));
    result.append(char((data.size() >> 8) & 0xFF));
    result.append(data);
    return result;
}

SqlBrowserSettings localSettings(quint16 port, int timeoutMs)
{
    SqlBrowserSettings settings;
    settings.broadcastAddress = QHostAddress(QHostAddress::LocalHost);
    settings.port = port;
    settings.timeoutMs = timeoutMs;
    return settings;
}

QStringList names(const QList<SqlBrowserInstance>& instances)
{
    QStringList result;
    for (const SqlBrowserInstance& found : instances)
        result.append(found.naam());
    return result;
}

} // namespace

class TestSqlBrowser : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void parseReadsFields();
    void responseRoundTrips();
    void broadcastAsksEveryMachine();
    void unicastAsksOneMachine();
    void silentNetworkGivesNothing();
};

void TestSqlBrowser::parse_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("default instance")
        << datagram(
               "ServerName;BOUW01;InstanceName;MSSQLSERVER;IsClustered;No;Version;10.50.1600.1;tcp;1433;;")
        << QStringList{QStringLiteral("BOUW01")};
    QTest::newRow("named instance")
        << datagram("ServerName;BOUW01;InstanceName;SQLEXPRESS;IsClustered;No;Version;10.50.1600.1;np;"
                    "\\\\BOUW01\\pipe\\MSSQL$SQLEXPRESS\\sql\\query;;")
        << QStringList{QStringLiteral("BOUW01\\SQLEXPRESS")};
    QTest::newRow("two instances")
        << datagram("ServerName;A;InstanceName;MSSQLSERVER;IsClustered;No;Version;9.0;;"
                    "ServerName;A;InstanceName;TWEE;IsClustered;Yes;Version;11.0;tcp;1500;;")
        << QStringList{QStringLiteral("A"), QStringLiteral("A\\TWEE")};
    QTest::newRow("missing closing mark")
        << datagram("ServerName;A;InstanceName;EEN;ServerName;B;InstanceName;TWEE")
        << QStringList{QStringLiteral("A\\EEN"), QStringLiteral("B\\TWEE")};
    QTest::newRow("keys in other case")
        << datagram("servername;C;instancename;X;;") << QStringList{QStringLiteral("C\\X")};
    QByteArray shortData = datagram("ServerName;A;InstanceName;EEN;;ServerName;B;InstanceName;TWEE;;");
    shortData[1] = char(31); // the length covers the first instance only
    QTest::newRow("length shorter than data") << shortData << QStringList{QStringLiteral("A\\EEN")};
    QByteArray longLength = datagram("ServerName;A;;");
    longLength[2] = char(0x7F); // claims far more than was sent
    QTest::newRow("length longer than data") << longLength << QStringList{QStringLiteral("A")};
    QTest::newRow("other kind of answer") << QByteArray("\x04\x05\x00ServerName;A;;", 17) << QStringList();
    QTest::newRow("too short") << QByteArray("\x05\x01", 2) << QStringList();
    QTest::newRow("empty") << QByteArray() << QStringList();
    QTest::newRow("no server name") << datagram("InstanceName;X;;") << QStringList();
    QTest::newRow("separators only") << datagram(";;;;;;") << QStringList();
}

void TestSqlBrowser::parse()
{
    QFETCH(QByteArray, input);
    QFETCH(QStringList, expected);
    QCOMPARE(names(ParseSqlBrowserResponse(input)), expected);
}

void TestSqlBrowser::parseReadsFields()
{
    const QList<SqlBrowserInstance> found = ParseSqlBrowserResponse(
        datagram("ServerName;Bouw-Ü;InstanceName;Prod;IsClustered;Yes;Version;10.50.1600.1;;"));
    QCOMPARE(found.size(), 1);
    QCOMPARE(found.at(0).serverName, QStringLiteral("Bouw-Ü"));
    QCOMPARE(found.at(0).instanceName, QStringLiteral("Prod"));
    QCOMPARE(found.at(0).version, QStringLiteral("10.50.1600.1"));
    QVERIFY(found.at(0).clustered);
    // A name in a single-byte code page.
    const QList<SqlBrowserInstance> latin = ParseSqlBrowserResponse(datagram("ServerName;M\xfcller;;"));
    QCOMPARE(latin.value(0).serverName, QStringLiteral("Müller"));
}

void TestSqlBrowser::responseRoundTrips()
{
    const QList<SqlBrowserInstance> instances{
        instance(QStringLiteral("S1"), QStringLiteral("MSSQLSERVER"), "9.0"),
        instance(QStringLiteral("S2"), QStringLiteral("EXPRESS"), "10.0")};
    const QList<SqlBrowserInstance> back = ParseSqlBrowserResponse(MaakSqlBrowserResponse(instances));
    QCOMPARE(names(back), (QStringList{QStringLiteral("S1"), QStringLiteral("S2\\EXPRESS")}));
    QCOMPARE(back.at(1).version, QStringLiteral("10.0"));
}

void TestSqlBrowser::broadcastAsksEveryMachine()
{
    // Two machines answer; the second also repeats an instance of the first.
    fixtures::SqlBrowserResponder responder(
        {MaakSqlBrowserResponse({instance(QStringLiteral("BOUW01"), QStringLiteral("MSSQLSERVER")),
                                 instance(QStringLiteral("BOUW01"), QStringLiteral("SQLEXPRESS"))}),
         MaakSqlBrowserResponse({instance(QStringLiteral("bouw01"), QStringLiteral("sqlexpress")),
                                 instance(QStringLiteral("KANTOOR"), QStringLiteral("MSSQLSERVER"))})});
    QVERIFY(responder.port() != 0);

    const QStringList servers = ZoekSqlServers(localSettings(responder.port(), 400));
    QCOMPARE(servers, (QStringList{QStringLiteral("BOUW01"), QStringLiteral("BOUW01\\SQLEXPRESS"),
                                   QStringLiteral("KANTOOR")}));
    QCOMPARE(responder.requests(), QList<QByteArray>{QByteArray(1, char(0x02))});
}

void TestSqlBrowser::unicastAsksOneMachine()
{
    fixtures::SqlBrowserResponder responder(
        {MaakSqlBrowserResponse({instance(QStringLiteral("BOUW01"), QStringLiteral("SQLEXPRESS"))})});
    QElapsedTimer timer;
    timer.start();
    const QStringList servers =
        ZoekSqlServerInstanties(QHostAddress(QHostAddress::LocalHost), localSettings(responder.port(), 5000));
    QCOMPARE(servers, QStringList{QStringLiteral("BOUW01\\SQLEXPRESS")});
    QCOMPARE(responder.requests(), QList<QByteArray>{QByteArray(1, char(0x03))});
    // One machine answers once: the client does not wait for more.
    QVERIFY(timer.elapsed() < 4000);
}

void TestSqlBrowser::silentNetworkGivesNothing()
{
    // A responder that answers nothing useful.
    fixtures::SqlBrowserResponder responder({QByteArray("geen antwoord")});
    QVERIFY(ZoekSqlServers(localSettings(responder.port(), 200)).isEmpty());
    QCOMPARE(responder.requests().size(), 1);
}

QTEST_GUILESS_MAIN(TestSqlBrowser)
#include "test_sqlbrowser.moc"
