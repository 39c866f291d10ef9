// The Jet-to-SQLite statement translator: the forms the engines send to Jet
// sources, as text and run on SQLite data laid out as a Jet mirror is.

#include "platform/jetsql.h"

#include "mirrorquery.h"
#include "support/testenvironment.h"

#include <QTest>

using namespace supplink;
using supplink::test::SqliteFile;

namespace {

// A small product table as a Jet mirror holds it: NOCASE texts, Yes/No as
// -1/0 (one row holds 1, as an SQLite product table may), dates as text.
void fillProductTable(SqliteFile& db)
{
    const char* statements[] = {
        "CREATE TABLE SysDBInfo (AppType TEXT(50) COLLATE NOCASE, DBType TEXT(50) COLLATE NOCASE, VerMajor "
        "INTEGER, VerMinor INTEGER)",
        "INSERT INTO SysDBInfo VALUES ('Velmora','PT',3,40), ('velmora','PT',3,50), ('Other','PT',9,0)",
        "CREATE TABLE ArtGroup (ID INTEGER PRIMARY KEY, Code TEXT(50) COLLATE NOCASE, OrderNr INTEGER)",
        "INSERT INTO ArtGroup VALUES (1,'A',5), (2,'B',2), (3,'C',7)",
        "CREATE TABLE Article (ID INTEGER PRIMARY KEY, Code TEXT(50) COLLATE NOCASE, Description TEXT(255) "
        "COLLATE NOCASE, Deprecated BIT, LastModified DATETIME)",
        "INSERT INTO Article VALUES (1,'K100','Kozijn',0,'2020-12-31 10:00:00'), (2,'K200',NULL,-1,"
        "'2021-01-01 00:00:00'), (3,'K300','Raam',1,'2021-01-02 14:05:00')",
        "CREATE TABLE LocksHingesArticle (fkCombi INTEGER, Code TEXT(50) COLLATE NOCASE)",
        "INSERT INTO LocksHingesArticle VALUES (12,'a'), (12,'b'), (13,'c')",
    };
    for (const char* sql : statements)
        QVERIFY2(db.exec(QString::fromUtf8(sql)), qPrintable(db.lastError()));
}

} // namespace

class JetSqlTest : public QObject
{
    Q_OBJECT

private slots:
    void translation_data()
    {
        QTest::addColumn<QString>("jet");
        QTest::addColumn<QString>("sqlite");
        const auto row = [](const char* name, const char* jet, const char* sqlite) {
            QTest::newRow(name) << QString::fromUtf8(jet) << QString::fromUtf8(sqlite);
        };
        row("delete star", "DELETE * FROM LocksHingesArticle WHERE fkCombi=12",
            "DELETE FROM LocksHingesArticle WHERE fkCombi=12");
        row("delete table star", "DELETE Article.* FROM Article WHERE ID=1",
            "DELETE FROM Article WHERE ID=1");
        row("delete plain", "DELETE FROM Article WHERE ID=1", "DELETE FROM Article WHERE ID=1");
        row("top", "SELECT TOP 1 OrderNr FROM ArtGroup ORDER BY OrderNr Desc",
            "SELECT OrderNr FROM ArtGroup ORDER BY OrderNr Desc LIMIT 1");
        row("top star",
            "SELECT TOP 1 * From SysDBInfo Where (((SysDBInfo.AppType) = 'Velmora')) ORDER BY "
            "SysDBInfo.VerMajor DESC "
            ", SysDBInfo.VerMinor DESC",
            "SELECT * From SysDBInfo Where (((SysDBInfo.AppType) = 'Velmora')) ORDER BY SysDBInfo.VerMajor "
            "DESC , "
            "SysDBInfo.VerMinor DESC LIMIT 1");
        row("top in subquery",
            "SELECT * FROM (SELECT TOP 2 Code FROM Article ORDER BY Code) AS A WHERE A.Code > 'K'",
            "SELECT * FROM (SELECT Code FROM Article ORDER BY Code LIMIT 2) AS A WHERE A.Code > 'K'");
        row("distinct top", "SELECT DISTINCT TOP 5 Code FROM Article;",
            "SELECT DISTINCT Code FROM Article LIMIT 5;");
        row("top percent kept", "SELECT TOP 5 PERCENT Code FROM Article",
            "SELECT TOP 5 PERCENT Code FROM Article");
        row("iif values",
            "SELECT IIf(Article.Code Is Null,False,True) AS bFound, IIF(x.Type  = 3, True, False) AS b",
            "SELECT IIf(Article.Code Is Null,0,-1) AS bFound, IIF(x.Type  = 3, -1, 0) AS b");
        row("boolean comparisons",
            "SELECT * FROM D WHERE Selected = True AND Required <> True AND Existing = False",
            "SELECT * FROM D WHERE Selected <> 0 AND Required = 0 AND Existing = 0");
        row("boolean on the left", "SELECT * FROM D WHERE True = Selected OR False<>Existing",
            "SELECT * FROM D WHERE 0 <> Selected OR 0<>Existing");
        row("boolean assignments", "UPDATE D SET Selected = True, D.Existing=False WHERE Required = True",
            "UPDATE D SET Selected = -1, D.Existing=0 WHERE Required <> 0");
        row("boolean in a set expression", "UPDATE D SET a = IIf(b = True, 1, 0)",
            "UPDATE D SET a = IIf(b <> 0, 1, 0)");
        row("boolean names kept", "SELECT [True], t.True, False.x FROM t",
            "SELECT [True], t.True, False.x FROM t");
        row("literals untouched", "SELECT 'True & #1/1/2000# TOP 1 DELETE *', [a & b] FROM t",
            "SELECT 'True & #1/1/2000# TOP 1 DELETE *', [a & b] FROM t");
        row("concatenation", "SELECT Code & ' - ' & Description AS Label FROM Article",
            "SELECT (ifnull(Code,'') || ifnull(' - ','') || ifnull(Description,'')) AS Label FROM Article");
        row("concatenation binds loosely", "SELECT A.Code & (B.x + 1), a + 1 & b = 'x' FROM A",
            "SELECT (ifnull(A.Code,'') || ifnull((B.x + 1),'')), (ifnull(a + 1,'') || ifnull(b,'')) = 'x' "
            "FROM A");
        row("concatenation of calls", "SELECT Left(Code, 2)&Mid(Code,3) FROM A",
            "SELECT (ifnull(Left(Code, 2),'')||ifnull(Mid(Code,3),'')) FROM A");
        row("dangling ampersand", "SELECT & x", "SELECT || x");
        row("dates", "SELECT * FROM t WHERE d >= #12/31/2020# AND d < #2021-01-02 14:05#",
            "SELECT * FROM t WHERE d >= '2020-12-31 00:00:00' AND d < '2021-01-02 14:05:00'");
        row("date with am pm", "SELECT #1/2/99 3:04:05 PM#, #12:30 am#, #14:30#",
            "SELECT '1999-01-02 15:04:05', '1899-12-30 00:30:00', '1899-12-30 14:30:00'");
        row("not a date", "SELECT #13/45/2020#, a # b", "SELECT #13/45/2020#, a # b");
        row("double quoted text", "SELECT * FROM t WHERE Code = \"O'Brien\" OR Code = \"say \"\"hi\"\"\"",
            "SELECT * FROM t WHERE Code = 'O''Brien' OR Code = 'say \"hi\"'");
        row("names with dots kept", "SELECT [v1.2$].[Prijs p. st.] FROM [v1.2$]",
            "SELECT [v1.2$].[Prijs p. st.] FROM [v1.2$]");
        row("schema brackets kept",
            "INSERT INTO [PT].[Article] ([Code]) SELECT [PT].[ArtGroup].[Code] FROM [PT].[ArtGroup]",
            "INSERT INTO [PT].[Article] ([Code]) SELECT [PT].[ArtGroup].[Code] FROM [PT].[ArtGroup]");
        row("unterminated text", "SELECT 'abc & True", "SELECT 'abc & True");
        row("unterminated bracket", "SELECT [abc & True", "SELECT [abc & True");
        row("non-ascii", "SELECT Omschrijving FROM Prijs WHERE Omschrijving = 'Überdeur' AND Ñame = True",
            "SELECT Omschrijving FROM Prijs WHERE Omschrijving = 'Überdeur' AND Ñame <> 0");
        row("create table", " CREATE TABLE tmpSelected ( CodeSelected TEXT(255) )",
            " CREATE TABLE tmpSelected ( CodeSelected TEXT(255) )");
    }

    void translation()
    {
        QFETCH(QString, jet);
        QFETCH(QString, sqlite);
        const JetTranslation result = translateJetStatement(jet);
        QCOMPARE(result.sql, sqlite);
        QVERIFY(result.attachments.isEmpty());
    }

    void filesNamedByPath()
    {
        const QString path = QStringLiteral("C:\\Data\\Bron 1.mdb");
        const JetTranslation result = translateJetStatement(
            QStringLiteral("SELECT * FROM [%1].Article INNER JOIN [%1].[PriceData1D] ON Article.ID = "
                           "PriceData1D.fkArticle, Other IN '/data/other.pt', [/data/x.mdb].T, [bron.pt].U")
                .arg(path));
        QCOMPARE(result.sql,
                 QStringLiteral("SELECT * FROM extdb1.Article INNER JOIN extdb1.[PriceData1D] ON "
                                "Article.ID = PriceData1D.fkArticle, extdb2.Other, extdb3.T, extdb4.U"));
        QCOMPARE(result.attachments,
                 (QList<JetAttachment>{{QStringLiteral("extdb1"), path},
                                       {QStringLiteral("extdb2"), QStringLiteral("/data/other.pt")},
                                       {QStringLiteral("extdb3"), QStringLiteral("/data/x.mdb")},
                                       {QStringLiteral("extdb4"), QStringLiteral("bron.pt")}}));
    }

    // The translated statements give Jet's answers on mirrored data.
    void runsOnSqlite()
    {
        test::TestEnvironment env;
        const QString file = env.path(QStringLiteral("pt.sqlite"));
        SqliteFile db(file);
        QVERIFY(db.isOpen());
        fillProductTable(db);
        const auto run = [&db](const char* jet) {
            const QList<QVariantList> rows = db.rows(translateJetSql(QString::fromUtf8(jet)));
            if (!db.lastError().isEmpty())
                qWarning() << db.lastError();
            return rows;
        };

        QList<QVariantList> rows =
            run("SELECT TOP 1 * From SysDBInfo Where (((SysDBInfo.AppType) = 'Velmora')) "
                "ORDER BY SysDBInfo.VerMajor DESC , SysDBInfo.VerMinor DESC");
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0][3].toInt(), 50); // 'velmora' matches 'Velmora', as in Jet
        QCOMPARE(run("SELECT TOP 1 OrderNr FROM ArtGroup ORDER BY OrderNr Desc"), (QList<QVariantList>{{7}}));

        rows = run(
            "SELECT Code, IIf(Description Is Null,False,True) AS bFound, Code & ': ' & Description AS Label "
            "FROM Article ORDER BY ID");
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows[0], (QVariantList{QStringLiteral("K100"), -1, QStringLiteral("K100: Kozijn")}));
        QCOMPARE(rows[1], (QVariantList{QStringLiteral("K200"), 0, QStringLiteral("K200: ")}));

        // True stored as -1 (Jet) or 1 (SQLite) counts alike.
        QCOMPARE(run("SELECT Code FROM Article WHERE Deprecated = True ORDER BY Code"),
                 (QList<QVariantList>{{QStringLiteral("K200")}, {QStringLiteral("K300")}}));
        QCOMPARE(run("SELECT Code FROM Article WHERE Deprecated = False"),
                 (QList<QVariantList>{{QStringLiteral("K100")}}));
        QCOMPARE(run("SELECT Code FROM Article WHERE LastModified >= #1/1/2021# AND LastModified < "
                     "#2021-01-02 14:05:01#"),
                 (QList<QVariantList>{{QStringLiteral("K200")}, {QStringLiteral("K300")}}));

        QVERIFY(
            db.exec(translateJetSql(QStringLiteral("DELETE * FROM LocksHingesArticle WHERE fkCombi=12"))));
        QCOMPARE(db.value(QStringLiteral("SELECT COUNT(*) FROM LocksHingesArticle")).toInt(), 1);
        QVERIFY(db.exec(
            translateJetSql(QStringLiteral("UPDATE Article SET Deprecated = True WHERE Code = \"k100\""))));
        QCOMPARE(db.value(QStringLiteral("SELECT Deprecated FROM Article WHERE ID = 1")).toInt(), -1);
    }

    // A statement that joins a second file by its path runs with that file
    // attached under the alias the translation gives.
    void attachedFileStatement()
    {
        test::TestEnvironment env;
        const QString sourcePath = env.path(QStringLiteral("bron.sqlite"));
        const QString targetPath = env.path(QStringLiteral("doel.sqlite"));
        SqliteFile source(sourcePath);
        for (const char* sql :
             {"CREATE TABLE Article (ID INTEGER PRIMARY KEY, Code TEXT(50) COLLATE NOCASE)",
              "INSERT INTO Article VALUES (10,'K100'), (11,'K200'), (12,'K300')",
              "CREATE TABLE PriceData2D (fkArticle INTEGER, W DOUBLE, H DOUBLE, Price CURRENCY)",
              "INSERT INTO PriceData2D VALUES (10,100,200,1.5), (11,100,200,2.5), (12,300,400,3.5)",
              " CREATE TABLE tmpSelected ( CodeSelected TEXT(255) )",
              "INSERT INTO tmpSelected VALUES ('k100'), ('K300')"})
            QVERIFY2(source.exec(QString::fromUtf8(sql)), qPrintable(source.lastError()));
        SqliteFile target(targetPath);
        for (const char* sql :
             {"CREATE TABLE Article (ID INTEGER PRIMARY KEY, Code TEXT(50) COLLATE NOCASE)",
              "INSERT INTO Article VALUES (1,'K100'), (2,'K300')",
              "CREATE TABLE PriceData2D (fkArticle INTEGER, W DOUBLE, H DOUBLE, Price CURRENCY)"})
            QVERIFY2(target.exec(QString::fromUtf8(sql)), qPrintable(target.lastError()));

        const QString path = sourcePath;
        const QString jet =
            QStringLiteral("INSERT INTO PriceData2D ( fkArticle, W, H, Price )") +
            QStringLiteral(" SELECT Article_Target.ID, PriceData2D.W, PriceData2D.H, PriceData2D.Price ") +
            QStringLiteral(" FROM Article AS Article_Target INNER JOIN (([") + path +
            QStringLiteral("].Article INNER JOIN [") + path +
            QStringLiteral("].PriceData2D ON Article.ID = PriceData2D.fkArticle) INNER JOIN [") + path +
            QStringLiteral("].tmpSelected ON Article.Code = tmpSelected.CodeSelected) ON "
                           "Article_Target.Code = Article.Code");
        const JetTranslation translation = translateJetStatement(jet);
        QCOMPARE(translation.attachments.size(), 1);
        QCOMPARE(translation.attachments.first().path, sourcePath);
        QVERIFY(target.exec(QStringLiteral("ATTACH DATABASE '%1' AS %2")
                                .arg(sourcePath, translation.attachments.first().alias)));
        QVERIFY2(target.exec(translation.sql),
                 qPrintable(target.lastError() + QStringLiteral(": ") + translation.sql));
        QCOMPARE(target.rows(QStringLiteral(
                     "SELECT fkArticle, W, H, Price FROM main.PriceData2D ORDER BY fkArticle")),
                 (QList<QVariantList>{{1, 100.0, 200.0, 1.5}, {2, 300.0, 400.0, 3.5}}));
    }
};

QTEST_GUILESS_MAIN(JetSqlTest)
#include "test_jetsql.moc"
