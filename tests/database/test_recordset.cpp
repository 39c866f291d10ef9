// The recordset model over SQLite: navigation, fields, search and filter
// criteria, and writing rows back by key.

#include "database/criteria.h"
#include "database/recordset.h"
#include "database/sqlitebackend.h"
#include "support/testenvironment.h"

#include <QtTest>

using namespace supplink;

namespace {

// A small table of items with the awkward codes the program meets.
struct ItemDb
{
    ItemDb()
    {
        path = env.path(QStringLiteral("items.db"));
        SqliteOpenOptions options;
        options.create = true;
        db = SqliteBackend::open(path, options);
        db->execute(QStringLiteral(
            "CREATE TABLE Item (ID INTEGER PRIMARY KEY AUTOINCREMENT, Code TEXT(50), Description TEXT(255), "
            "Qty INTEGER, Price REAL, Flag BIT, Note TEXT)"));
        const QList<QVariantList> rows = {
            {"A1", "Alpha", 5, 1.5, 0},
            {"b2", "Beta", 12, 2.25, -1},
            {"O'Brien", "Quote", 7, QVariant(), QVariant()},
            {QString::fromUtf8("Ärger"), "Umlaut", QVariant(), 3, 0},
            {"12", "Numeric code", 12, 12.0, 0},
            {"ROTO_X", "Roto", 1, 0.0, -1},
        };
        for (const QVariantList& row : rows)
            db->execute(QStringLiteral(
                            "INSERT INTO Item (Code, Description, Qty, Price, Flag) VALUES (?, ?, ?, ?, ?)"),
                        row);
    }

    RecordsetPtr open(const QString& sql = QStringLiteral("SELECT * FROM Item ORDER BY ID"))
    {
        return db->openRecordset(sql);
    }
    QVariant scalar(const QString& sql, const QVariantList& params = {})
    {
        return db->run(sql, params)->firstValue();
    }

    test::TestEnvironment env;
    QString path;
    std::shared_ptr<SqliteBackend> db;
};

QStringList codes(Recordset& rs)
{
    QStringList result;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        result.append(rs.value(QStringLiteral("Code")).toString());
    return result;
}

qint32 errorNumber(const std::function<void()>& action)
{
    try {
        action();
    } catch (const AppError& error) {
        return error.number();
    }
    return 0;
}

} // namespace

class TestRecordset : public QObject
{
    Q_OBJECT

private slots:
    void opensOnFirstRow();
    void emptyResultIsAtBofAndEof();
    void movesAndCounts();
    void fieldsByNameIgnoreCase();
    void nullIsNotEmptyText();
    void fieldTypes_data();
    void fieldTypes();
    void joinedColumnsByQualifiedName();
    void expressionColumnTakesValueType();
    void findCriteria_data();
    void findCriteria();
    void findWalksForwardFromCurrentRow();
    void equalToFindsAsWritten_data();
    void equalToFindsAsWritten();
    void equalToNumberFindsAsWritten_data();
    void equalToNumberFindsAsWritten();
    void filterCriteria_data();
    void filterCriteria();
    void badCriteria_data();
    void badCriteria();
    void largeTableSearchFollowsChanges();
    void addNewFillsAutoNumberAndStaysCurrent();
    void writesBackByKeyWithQuotesAndNonAscii();
    void writesBackByRowidWithoutKey();
    void writesBackWhenKeyNotSelected();
    void cancelUpdateForgetsChanges();
    void moveWritesPendingChanges();
    void destroyForgetsPendingChanges();
    void deleteCurrentRow();
    void convertsValuesToFieldType();
    void readOnlyResultsRefuseChanges();
    void vanishedRowIsAnError();
    void requeryKeepsFilter();
    void closedDatabaseKeepsRows();
    void writesIntoAttachedDatabase();
};

void TestRecordset::opensOnFirstRow()
{
    ItemDb items;
    const RecordsetPtr rs = items.open();
    QVERIFY(!rs->bof());
    QVERIFY(!rs->eof());
    QCOMPARE(rs->value(QStringLiteral("Code")).toString(), QStringLiteral("A1"));
    QCOMPARE(rs->recordCount(), 6);
    QCOMPARE(rs->source(), QStringLiteral("SELECT * FROM Item ORDER BY ID"));
}

void TestRecordset::emptyResultIsAtBofAndEof()
{
    ItemDb items;
    const RecordsetPtr rs = items.open(QStringLiteral("SELECT * FROM Item WHERE ID = -1"));
    QVERIFY(rs->bof());
    QVERIFY(rs->eof());
    QCOMPARE(rs->recordCount(), 0);
    QCOMPARE(rs->fieldCount(), 7);
    QCOMPARE(errorNumber([&] { rs->value(0); }), DbErrorNumber::NoCurrentRecord);
    QCOMPARE(errorNumber([&] { rs->moveNext(); }), DbErrorNumber::NoCurrentRecord);
    rs->moveFirst(); // allowed, stays at the end
    QVERIFY(rs->eof());
}

void TestRecordset::movesAndCounts()
{
    ItemDb items;
    const RecordsetPtr rs = items.open();
    rs->moveLast();
    QCOMPARE(rs->value(QStringLiteral("Code")).toString(), QStringLiteral("ROTO_X"));
    rs->moveNext();
    QVERIFY(rs->eof());
    QCOMPARE(errorNumber([&] { rs->value(QStringLiteral("Code")); }), DbErrorNumber::NoCurrentRecord);
    rs->moveFirst();
    rs->movePrevious();
    QVERIFY(rs->bof());
    QVERIFY(!rs->eof());
    QCOMPARE(errorNumber([&] { rs->movePrevious(); }), DbErrorNumber::NoCurrentRecord);
    rs->moveNext();
    QCOMPARE(rs->value(QStringLiteral("Code")).toString(), QStringLiteral("A1"));
    QCOMPARE(codes(*rs).size(), 6);
}

void TestRecordset::fieldsByNameIgnoreCase()
{
    ItemDb items;
    const RecordsetPtr rs = items.open();
    QCOMPARE(rs->fieldIndex(QStringLiteral("code")), rs->fieldIndex(QStringLiteral("CODE")));
    QCOMPARE(rs->fieldIndex(QStringLiteral("Code")), 1);
    QCOMPARE(rs->fieldIndex(QStringLiteral("Missing")), -1);
    QCOMPARE(rs->field(QStringLiteral("DESCRIPTION")).name(), QStringLiteral("Description"));
    QCOMPARE(errorNumber([&] { rs->field(QStringLiteral("Missing")); }), DbErrorNumber::ItemNotFound);
    QCOMPARE(errorNumber([&] { rs->value(QStringLiteral("Missing")); }), DbErrorNumber::ItemNotFound);
    // The same name text looked up again gives the same answer.
    const QString name = QStringLiteral("qty");
    for (int i = 0; i < 3; ++i)
        QCOMPARE(rs->fieldIndex(name), 3);
}

void TestRecordset::nullIsNotEmptyText()
{
    ItemDb items;
    items.db->execute(QStringLiteral("UPDATE Item SET Note = '' WHERE ID = 1"));
    const RecordsetPtr rs = items.open();
    QVERIFY(rs->value(QStringLiteral("Note")).isValid());
    QCOMPARE(rs->value(QStringLiteral("Note")).toString(), QString());
    rs->moveNext();
    QVERIFY(!rs->value(QStringLiteral("Note")).isValid());
}

void TestRecordset::fieldTypes_data()
{
    QTest::addColumn<QString>("declared");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("size");
    QTest::newRow("counter") << "COUNTER" << adType::Integer << 4;
    QTest::newRow("long") << "LONG" << adType::Integer << 4;
    QTest::newRow("integer") << "INTEGER" << adType::Integer << 4;
    QTest::newRow("smallint") << "SMALLINT" << adType::SmallInt << 2;
    QTest::newRow("byte") << "BYTE" << adType::UnsignedTinyInt << 1;
    QTest::newRow("bit") << "BIT" << adType::Boolean << 2;
    QTest::newRow("real") << "REAL" << adType::Double << 8;
    QTest::newRow("double") << "DOUBLE" << adType::Double << 8;
    QTest::newRow("currency") << "CURRENCY" << adType::Currency << 8;
    QTest::newRow("datetime") << "DATETIME" << adType::Date << 8;
    QTest::newRow("text(50)") << "TEXT(50)" << adType::VarWChar << 50;
    QTest::newRow("varchar(20)") << "VARCHAR(20)" << adType::VarWChar << 20;
    QTest::newRow("text") << "TEXT" << adType::LongVarWChar << 536870910;
    QTest::newRow("memo") << "MEMO" << adType::LongVarWChar << 536870910;
    QTest::newRow("guid") << "GUID" << adType::GUID << 16;
}

void TestRecordset::fieldTypes()
{
    QFETCH(QString, declared);
    QFETCH(int, type);
    QFETCH(int, size);
    test::TestEnvironment env;
    SqliteOpenOptions options;
    options.create = true;
    const auto db = SqliteBackend::open(env.path(QStringLiteral("t.db")), options);
    db->execute(QStringLiteral("CREATE TABLE T (F %1)").arg(declared));
    const RecordsetPtr rs = db->openRecordset(QStringLiteral("SELECT F FROM T"));
    QCOMPARE(rs->field(0).type(), type);
    QCOMPARE(rs->field(0).definedSize(), size);
}

void TestRecordset::joinedColumnsByQualifiedName()
{
    ItemDb items;
    items.db->execute(
        QStringLiteral("CREATE TABLE Node (ID INTEGER PRIMARY KEY, fkItem INTEGER, OrderNr INTEGER)"));
    items.db->execute(QStringLiteral("INSERT INTO Node (fkItem, OrderNr) VALUES (2, 7)"));
    const RecordsetPtr rs =
        items.open(QStringLiteral("SELECT Item.Code AS TheCode, Node.OrderNr, Item.ID, Node.ID FROM Item "
                                  "INNER JOIN Node ON Item.ID = Node.fkItem"));
    QCOMPARE(rs->value(QStringLiteral("TheCode")).toString(), QStringLiteral("b2"));
    QCOMPARE(rs->value(QStringLiteral("Node.OrderNr")).toInt(), 7);
    QCOMPARE(rs->value(QStringLiteral("OrderNr")).toInt(), 7);
    QCOMPARE(rs->value(QStringLiteral("Item.ID")).toInt(), 2);
    QCOMPARE(rs->value(QStringLiteral("Node.ID")).toInt(), 1);
    QCOMPARE(rs->value(QStringLiteral("ID")).toInt(), 2); // the first of two equal names
}

void TestRecordset::expressionColumnTakesValueType()
{
    ItemDb items;
    const RecordsetPtr rs = items.open(QStringLiteral("SELECT Count(Code) AS Tot FROM Item"));
    QCOMPARE(rs->field(QStringLiteral("Tot")).type(), adType::Integer);
    QCOMPARE(rs->value(QStringLiteral("tot")).toInt(), 6);
}

void TestRecordset::findCriteria_data()
{
    QTest::addColumn<QString>("criteria");
    QTest::addColumn<QString>("found"); // code of the first matching row, empty when none
    QTest::newRow("text") << "Code = 'A1'"
                          << "A1";
    QTest::newRow("case of field and value") << "code='a1'"
                                             << "A1";
    QTest::newRow("doubled quote") << "Code = 'O''Brien'"
                                   << "O'Brien";
    QTest::newRow("non-ascii case") << QString::fromUtf8("Code = 'äRGER'") << QString::fromUtf8("Ärger");
    QTest::newRow("number") << "Qty = 12"
                            << "b2";
    QTest::newRow("number with decimals") << "Qty = 7.0"
                                          << "O'Brien";
    QTest::newRow("and") << "Qty = 12 AND Code = '12'"
                         << "12";
    QTest::newRow("and lower case") << "Qty=12 and Description='numeric CODE'"
                                    << "12";
    QTest::newRow("greater") << "Price > 2"
                             << "b2";
    QTest::newRow("greater or equal") << "Price >= 12"
                                      << "12";
    QTest::newRow("less") << "Qty < 6"
                          << "A1";
    QTest::newRow("not equal") << "Code <> 'A1'"
                               << "b2";
    QTest::newRow("like prefix") << "Code LIKE 'roto*'"
                                 << "ROTO_X";
    QTest::newRow("like percent") << "Code LIKE '%rien'"
                                  << "O'Brien";
    QTest::newRow("bracketed field") << "[Code] = 'b2'"
                                     << "b2";
    QTest::newRow("number against text code") << "Code = 12"
                                              << "12";
    QTest::newRow("text number against number") << "Price = '12'"
                                                << "12";
    QTest::newRow("key") << "ID = 4" << QString::fromUtf8("Ärger");
    QTest::newRow("bare word") << "Code=B2"
                               << "b2";
    QTest::newRow("null never matches") << "Price <> 1.5 AND Qty = 7"
                                        << "";
    QTest::newRow("no match") << "Code = 'ZZZ'"
                              << "";
    QTest::newRow("no match in and") << "Description = 'Umlaut' AND Qty = 1"
                                     << "";
}

void TestRecordset::findCriteria()
{
    QFETCH(QString, criteria);
    QFETCH(QString, found);
    ItemDb items;
    const RecordsetPtr rs = items.open();
    QCOMPARE(rs->findFirst(criteria), !found.isEmpty());
    if (found.isEmpty())
        QVERIFY(rs->eof());
    else
        QCOMPARE(rs->value(QStringLiteral("Code")).toString(), found);
}

void TestRecordset::findWalksForwardFromCurrentRow()
{
    ItemDb items;
    const RecordsetPtr rs = items.open();
    QStringList hits;
    for (bool found = rs->find(QStringLiteral("Qty = 12")); found;) {
        hits.append(rs->value(QStringLiteral("Code")).toString());
        rs->moveNext();
        found = !rs->eof() && rs->find(QStringLiteral("Qty = 12"));
    }
    QCOMPARE(hits, (QStringList{"b2", "12"}));
    QVERIFY(rs->eof());
    QVERIFY(!rs->find(QStringLiteral("Qty = 12"))); // from the end nothing more is found
    // The current row itself counts.
    rs->findFirst(QStringLiteral("Code = 'b2'"));
    QVERIFY(rs->find(QStringLiteral("Qty = 12")));
    QCOMPARE(rs->value(QStringLiteral("Code")).toString(), QStringLiteral("b2"));
}

void TestRecordset::equalToFindsAsWritten_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("asNumber");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("large"); // enough rows for the search indexes
    for (const bool large : {false, true}) {
        const char* size = large ? " (indexed)" : "";
        QTest::addRow("text, other case%s", size) << "Code"
                                                  << "B2" << false << "Code = 'B2'" << large;
        QTest::addRow("accented text, other case%s", size)
            << "Code" << QString::fromUtf8("äRGER") << false << QString::fromUtf8("Code = 'äRGER'") << large;
        QTest::addRow("text with a quote%s", size) << "Code"
                                                   << "o'brien" << false << "Code = 'o''brien'" << large;
        QTest::addRow("number text against a number%s", size) << "Price"
                                                              << "12" << false << "Price = '12'" << large;
        QTest::addRow("number%s", size) << "Qty"
                                        << " 12 " << true << "Qty = 12" << large;
        QTest::addRow("number against a text code%s", size) << "Code"
                                                            << "12" << true << "Code = 12" << large;
        QTest::addRow("no match%s", size) << "Code"
                                          << "ZZZ" << false << "Code = 'ZZZ'" << large;
    }
}

void TestRecordset::equalToFindsAsWritten()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(bool, asNumber);
    QFETCH(QString, written);
    QFETCH(bool, large);
    ItemDb items;
    if (large) {
        Transaction transaction(items.db);
        for (int i = 0; i < 300; ++i)
            items.db->execute(QStringLiteral("INSERT INTO Item (Code, Qty) VALUES (?, ?)"),
                              {QStringLiteral("C%1").arg(i), i % 10});
        transaction.commit();
    }
    const RecordsetPtr rs = items.open();
    const std::optional<Criteria> criteria = Criteria::equalTo(field, value, asNumber);
    QVERIFY(criteria);
    QStringList byCode, byText;
    for (rs->moveFirst(); rs->find(*criteria); rs->moveNext())
        byCode << rs->value(QStringLiteral("ID")).toString();
    for (rs->moveFirst(); rs->find(written); rs->moveNext())
        byText << rs->value(QStringLiteral("ID")).toString();
    QCOMPARE(byCode, byText);
    QCOMPARE(byCode.isEmpty(), value == QLatin1String("ZZZ"));
    // From the first row, also after the recordset moved on.
    rs->moveLast();
    QCOMPARE(rs->findFirst(*criteria), !byText.isEmpty());
    if (!byText.isEmpty())
        QCOMPARE(rs->value(QStringLiteral("ID")).toString(), byText.first());
    // A "number" that is none is left to the written form.
    QVERIFY(!Criteria::equalTo(field, QStringLiteral("12 OR 1"), true));
    QVERIFY(!Criteria::equalTo(field, QStringLiteral("abc"), true));
}

void TestRecordset::equalToNumberFindsAsWritten_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<double>("number");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("large"); // enough rows for the search indexes
    for (const bool large : {false, true}) {
        const char* size = large ? " (indexed)" : "";
        QTest::addRow("whole number%s", size) << "Qty" << 12.0 << "Qty = 12" << large;
        QTest::addRow("against a real%s", size) << "Price" << 12.0 << "Price = 12" << large;
        QTest::addRow("fraction%s", size) << "Price" << 2.25 << "Price = 2.25" << large;
        QTest::addRow("against a text code%s", size) << "Code" << 12.0 << "Code = 12" << large;
        QTest::addRow("auto-number%s", size) << "id" << 3.0 << "[ID] = 3" << large;
        QTest::addRow("no match%s", size) << "Qty" << 99.5 << "Qty = 99.5" << large;
    }
}

void TestRecordset::equalToNumberFindsAsWritten()
{
    QFETCH(QString, field);
    QFETCH(double, number);
    QFETCH(QString, written);
    QFETCH(bool, large);
    ItemDb items;
    if (large) {
        Transaction transaction(items.db);
        for (int i = 0; i < 300; ++i)
            items.db->execute(QStringLiteral("INSERT INTO Item (Code, Qty, Price) VALUES (?, ?, ?)"),
                              {QStringLiteral("C%1").arg(i), i % 20, (i % 10) * 1.25});
        transaction.commit();
    }
    const RecordsetPtr rs = items.open();
    const Criteria criteria = Criteria::equalToNumber(field, number);
    QStringList byNumber, byText;
    for (rs->moveFirst(); rs->find(criteria); rs->moveNext())
        byNumber << rs->value(QStringLiteral("ID")).toString();
    for (rs->moveFirst(); rs->find(written); rs->moveNext())
        byText << rs->value(QStringLiteral("ID")).toString();
    QCOMPARE(byNumber, byText);
    QCOMPARE(byNumber.isEmpty(), number == 99.5);
    rs->moveLast();
    QCOMPARE(rs->findFirst(criteria), !byText.isEmpty());
    if (!byText.isEmpty())
        QCOMPARE(rs->value(QStringLiteral("ID")).toString(), byText.first());
    else
        QVERIFY(rs->eof());
}

void TestRecordset::filterCriteria_data()
{
    QTest::addColumn<QString>("criteria");
    QTest::addColumn<QStringList>("visible");
    QTest::newRow("equal number") << "Qty = 12" << QStringList{"b2", "12"};
    QTest::newRow("like") << "Code LIKE '*O*'" << QStringList{"O'Brien", "ROTO_X"};
    QTest::newRow("and") << "Flag <> 0 AND Price < 1" << QStringList{"ROTO_X"};
    QTest::newRow("text with quote") << "Code = 'o''brien'" << QStringList{"O'Brien"};
    QTest::newRow("none") << "Code = 'nothing'" << QStringList{};
    QTest::newRow("empty text clears")
        << "" << QStringList{"A1", "b2", "O'Brien", QString::fromUtf8("Ärger"), "12", "ROTO_X"};
}

void TestRecordset::filterCriteria()
{
    QFETCH(QString, criteria);
    QFETCH(QStringList, visible);
    ItemDb items;
    const RecordsetPtr rs = items.open();
    rs->setFilter(QStringLiteral("Qty = 5")); // a filter is replaced, not narrowed
    rs->setFilter(criteria);
    QCOMPARE(rs->recordCount(), visible.size());
    QCOMPARE(rs->eof(), visible.isEmpty());
    QCOMPARE(codes(*rs), visible);
    QCOMPARE(rs->filter(), criteria);
}

void TestRecordset::badCriteria_data()
{
    QTest::addColumn<QString>("criteria");
    QTest::addColumn<int>("error");
    QTest::newRow("no operator") << "Code 'A1'" << DbErrorNumber::BadArguments;
    QTest::newRow("open quote") << "Code = 'A1" << DbErrorNumber::BadArguments;
    QTest::newRow("or") << "Code = 'A1' OR Code = 'b2'" << DbErrorNumber::BadArguments;
    QTest::newRow("no value") << "Code =" << DbErrorNumber::BadArguments;
    QTest::newRow("unknown field") << "Missing = 1" << DbErrorNumber::ItemNotFound;
}

void TestRecordset::badCriteria()
{
    QFETCH(QString, criteria);
    QFETCH(int, error);
    ItemDb items;
    const RecordsetPtr rs = items.open();
    QCOMPARE(errorNumber([&] { rs->findFirst(criteria); }), error);
    QCOMPARE(errorNumber([&] { rs->setFilter(criteria); }), error);
    QCOMPARE(rs->recordCount(), 6); // the recordset is as it was
}

void TestRecordset::largeTableSearchFollowsChanges()
{
    ItemDb items;
    Transaction transaction(items.db);
    for (int i = 0; i < 300; ++i)
        items.db->execute(QStringLiteral("INSERT INTO Item (Code, Qty) VALUES (?, ?)"),
                          {QStringLiteral("C%1").arg(i, 3, 10, QLatin1Char('0')), i % 10});
    transaction.commit();
    const RecordsetPtr rs = items.open(QStringLiteral("SELECT * FROM Item WHERE Code LIKE 'C%' ORDER BY ID"));

    QVERIFY(rs->findFirst(QStringLiteral("Code = 'c150'")));
    QCOMPARE(rs->value(QStringLiteral("Qty")).toInt(), 0);
    int matches = 0;
    for (rs->moveFirst(); rs->find(QStringLiteral("Qty = 3")); rs->moveNext())
        ++matches;
    QCOMPARE(matches, 30);

    // A changed key is found under its new value only.
    QVERIFY(rs->findFirst(QStringLiteral("Code = 'C150'")));
    rs->setValue(QStringLiteral("Code"), QStringLiteral("D'150"));
    rs->update();
    QVERIFY(!rs->findFirst(QStringLiteral("Code = 'C150'")));
    QVERIFY(rs->findFirst(QStringLiteral("Code = 'd''150'")));

    // Added rows are found; deleted ones are not.
    rs->addNew();
    rs->setValue(QStringLiteral("Code"), QStringLiteral("NEW"));
    rs->setValue(QStringLiteral("Qty"), 3);
    rs->update();
    QVERIFY(rs->findFirst(QStringLiteral("Code = 'new'")));
    rs->deleteCurrent();
    QVERIFY(!rs->findFirst(QStringLiteral("Code = 'NEW'")));
    rs->setFilter(QStringLiteral("Qty = 3"));
    QCOMPARE(rs->recordCount(), 30);
    QVERIFY(rs->findFirst(QStringLiteral("Code = 'C293'")));
}

void TestRecordset::addNewFillsAutoNumberAndStaysCurrent()
{
    ItemDb items;
    const RecordsetPtr rs = items.open(QStringLiteral("SELECT * FROM Item WHERE ID = -1"));
    const QString code = QString::fromUtf8("D'Artagnan; Ça va ü");
    rs->addNew();
    QVERIFY(!rs->eof());
    rs->setValue(QStringLiteral("Code"), code);
    rs->setValue(QStringLiteral("Description"), QStringLiteral("Nieuw"));
    rs->update();
    QCOMPARE(rs->editMode(), Recordset::EditMode::None);
    QCOMPARE(rs->recordCount(), 1);
    QCOMPARE(rs->value(QStringLiteral("ID")).toInt(), 7);
    QCOMPARE(rs->value(QStringLiteral("Code")).toString(), code);
    QCOMPARE(items.scalar(QStringLiteral("SELECT ID FROM Item WHERE Code = ?"), {code}).toInt(), 7);
}

void TestRecordset::writesBackByKeyWithQuotesAndNonAscii()
{
    ItemDb items;
    const RecordsetPtr rs = items.open();
    QVERIFY(rs->findFirst(QStringLiteral("Code = 'O''Brien'")));
    rs->setValue(QStringLiteral("Description"), QStringLiteral("Nieuw"));
    rs->update();
    QVERIFY(rs->findFirst(QString::fromUtf8("Code = 'ärger'")));
    rs->setValue(QStringLiteral("Qty"), 9);
    rs->setValue(QStringLiteral("Code"), QString::fromUtf8("Ärger's"));
    rs->update();

    QCOMPARE(items.scalar(QStringLiteral("SELECT Description FROM Item WHERE ID = 3")).toString(),
             QStringLiteral("Nieuw"));
    QCOMPARE(items.scalar(QStringLiteral("SELECT count(*) FROM Item WHERE Description = 'Nieuw'")).toInt(),
             1);
    QCOMPARE(
        items.scalar(QStringLiteral("SELECT Qty FROM Item WHERE Code = ?"), {QString::fromUtf8("Ärger's")})
            .toInt(),
        9);
    QCOMPARE(items.scalar(QStringLiteral("SELECT sum(Qty) FROM Item")).toInt(), 5 + 12 + 7 + 9 + 12 + 1);
}

void TestRecordset::writesBackByRowidWithoutKey()
{
    ItemDb items;
    items.db->execute(QStringLiteral("CREATE TABLE Plain (Code TEXT(50), Qty INTEGER); "
                                     "INSERT INTO Plain VALUES ('X', 1); INSERT INTO Plain VALUES ('X', 2); "
                                     "INSERT INTO Plain VALUES ('Y', 3)"));
    const RecordsetPtr plain =
        items.db->openRecordset(QStringLiteral("SELECT Code, Qty FROM Plain WHERE Qty > ?"), {0});
    plain->moveNext(); // the second of two equal codes
    plain->setValue(QStringLiteral("Qty"), 20);
    plain->update();
    plain->moveNext();
    plain->deleteCurrent();
    plain->addNew();
    plain->setValue(QStringLiteral("Code"), QStringLiteral("Z"));
    plain->update();
    plain->setValue(QStringLiteral("Qty"), 4); // the added row can be changed as well
    plain->update();
    const RecordsetPtr check = items.open(QStringLiteral("SELECT Code || Qty FROM Plain ORDER BY rowid"));
    QStringList rows;
    for (; !check->eof(); check->moveNext())
        rows.append(check->value(0).toString());
    QCOMPARE(rows, (QStringList{"X1", "X20", "Z4"}));
}

void TestRecordset::writesBackWhenKeyNotSelected()
{
    ItemDb items;
    const RecordsetPtr rs = items.open(QStringLiteral("SELECT Code, Description FROM Item WHERE Qty = 12"));
    rs->moveNext();
    rs->setValue(QStringLiteral("Description"), QStringLiteral("Twaalf"));
    rs->update();
    QCOMPARE(items.scalar(QStringLiteral("SELECT Description FROM Item WHERE ID = 5")).toString(),
             QStringLiteral("Twaalf"));
    QCOMPARE(items.scalar(QStringLiteral("SELECT Description FROM Item WHERE ID = 2")).toString(),
             QStringLiteral("Beta"));
}

void TestRecordset::cancelUpdateForgetsChanges()
{
    ItemDb items;
    const RecordsetPtr rs = items.open();
    rs->moveNext();
    rs->setValue(QStringLiteral("Code"), QStringLiteral("changed"));
    QCOMPARE(rs->value(QStringLiteral("Code")).toString(), QStringLiteral("changed"));
    rs->cancelUpdate();
    QCOMPARE(rs->value(QStringLiteral("Code")).toString(), QStringLiteral("b2"));
    rs->addNew();
    rs->setValue(QStringLiteral("Code"), QStringLiteral("never"));
    rs->cancelUpdate();
    QCOMPARE(rs->value(QStringLiteral("Code")).toString(), QStringLiteral("b2"));
    rs->moveNext();
    QCOMPARE(items.scalar(QStringLiteral("SELECT count(*) FROM Item")).toInt(), 6);
    QCOMPARE(items.scalar(QStringLiteral("SELECT Code FROM Item WHERE ID = 2")).toString(),
             QStringLiteral("b2"));
}

void TestRecordset::moveWritesPendingChanges()
{
    ItemDb items;
    const RecordsetPtr rs = items.open();
    rs->setValue(QStringLiteral("Qty"), 50);
    rs->moveNext();
    QCOMPARE(items.scalar(QStringLiteral("SELECT Qty FROM Item WHERE ID = 1")).toInt(), 50);
    rs->addNew();
    rs->setValue(QStringLiteral("Code"), QStringLiteral("via find"));
    QVERIFY(rs->findFirst(QStringLiteral("Code = 'via find'")));
    QCOMPARE(items.scalar(QStringLiteral("SELECT count(*) FROM Item")).toInt(), 7);
}

void TestRecordset::destroyForgetsPendingChanges()
{
    ItemDb items;
    {
        const RecordsetPtr rs = items.open();
        rs->setValue(QStringLiteral("Qty"), 50);
        const RecordsetPtr other = items.open();
        other->addNew();
        other->setValue(QStringLiteral("Code"), QStringLiteral("lost"));
    }
    QCOMPARE(items.scalar(QStringLiteral("SELECT Qty FROM Item WHERE ID = 1")).toInt(), 5);
    QCOMPARE(items.scalar(QStringLiteral("SELECT count(*) FROM Item")).toInt(), 6);
}

void TestRecordset::deleteCurrentRow()
{
    ItemDb items;
    const RecordsetPtr rs = items.open();
    rs->moveNext();
    rs->deleteCurrent();
    QCOMPARE(rs->recordCount(), 5);
    QCOMPARE(errorNumber([&] { rs->value(QStringLiteral("Code")); }), DbErrorNumber::NoCurrentRecord);
    rs->moveNext();
    QCOMPARE(rs->value(QStringLiteral("Code")).toString(), QStringLiteral("O'Brien"));
    QCOMPARE(codes(*rs), (QStringList{"A1", "O'Brien", QString::fromUtf8("Ärger"), "12", "ROTO_X"}));
    QCOMPARE(items.scalar(QStringLiteral("SELECT count(*) FROM Item WHERE ID = 2")).toInt(), 0);
    QCOMPARE(items.scalar(QStringLiteral("SELECT count(*) FROM Item")).toInt(), 5);

    // Deleting every row in a "delete, move next" loop runs to the end without an error.
    for (rs->moveFirst(); !rs->eof(); rs->moveNext())
        rs->deleteCurrent();
    QVERIFY(rs->eof());
    QCOMPARE(rs->recordCount(), 0);
    QCOMPARE(items.scalar(QStringLiteral("SELECT count(*) FROM Item")).toInt(), 0);
    QCOMPARE(errorNumber([&] { rs->moveNext(); }), DbErrorNumber::NoCurrentRecord);
}

void TestRecordset::convertsValuesToFieldType()
{
    ItemDb items;
    const RecordsetPtr rs = items.open();
    rs->setValue(QStringLiteral("Qty"), QStringLiteral(" 12 "));
    QCOMPARE(rs->value(QStringLiteral("Qty")).typeId(), int(QMetaType::LongLong));
    QCOMPARE(rs->value(QStringLiteral("Qty")).toInt(), 12);
    rs->setValue(QStringLiteral("Price"), QStringLiteral("2.5"));
    QCOMPARE(rs->value(QStringLiteral("Price")).toDouble(), 2.5);
    rs->setValue(QStringLiteral("Code"), 42);
    QCOMPARE(rs->value(QStringLiteral("Code")).toString(), QStringLiteral("42"));
    rs->setValue(QStringLiteral("Flag"), true);
    rs->setValue(QStringLiteral("Note"), QVariant());
    QCOMPARE(errorNumber([&] { rs->setValue(QStringLiteral("Qty"), QStringLiteral("abc")); }),
             DbErrorNumber::TypeMismatch);
    QCOMPARE(errorNumber([&] { rs->setValue(QStringLiteral("Price"), QString()); }),
             DbErrorNumber::TypeMismatch);
    rs->update();
    QCOMPARE(items.scalar(QStringLiteral("SELECT Flag FROM Item WHERE ID = 1")).toInt(), -1);
    QCOMPARE(
        items.scalar(QStringLiteral("SELECT typeof(Qty) || typeof(Code) FROM Item WHERE ID = 1")).toString(),
        QStringLiteral("integertext"));
}

void TestRecordset::readOnlyResultsRefuseChanges()
{
    ItemDb items;
    items.db->execute(QStringLiteral("CREATE TABLE Node (ID INTEGER PRIMARY KEY, fkItem INTEGER); "
                                     "INSERT INTO Node (fkItem) VALUES (1)"));
    const RecordsetPtr joined = items.open(
        QStringLiteral("SELECT Item.Code, Node.fkItem FROM Item INNER JOIN Node ON Item.ID = Node.fkItem"));
    QCOMPARE(errorNumber([&] { joined->setValue(QStringLiteral("Code"), QStringLiteral("x")); }),
             DbErrorNumber::NotUpdatable);
    QCOMPARE(errorNumber([&] { joined->addNew(); }), DbErrorNumber::NotUpdatable);
    const RecordsetPtr counted = items.open(QStringLiteral("SELECT Code, upper(Code) AS Big FROM Item"));
    QCOMPARE(errorNumber([&] { counted->setValue(QStringLiteral("Big"), QStringLiteral("x")); }),
             DbErrorNumber::NotUpdatable);
    counted->setValue(QStringLiteral("Code"), QStringLiteral("a1!"));
    counted->update();
    QCOMPARE(items.scalar(QStringLiteral("SELECT Code FROM Item WHERE ID = 1")).toString(),
             QStringLiteral("a1!"));
}

void TestRecordset::vanishedRowIsAnError()
{
    ItemDb items;
    const RecordsetPtr rs = items.open();
    items.db->execute(QStringLiteral("DELETE FROM Item WHERE ID = 1"));
    rs->setValue(QStringLiteral("Qty"), 1);
    QCOMPARE(errorNumber([&] { rs->update(); }), DbErrorNumber::RowNotFound);
    QCOMPARE(rs->editMode(), Recordset::EditMode::Edit); // still pending: the caller may cancel
    rs->cancelUpdate();
    rs->moveNext();
}

void TestRecordset::requeryKeepsFilter()
{
    ItemDb items;
    const RecordsetPtr rs = items.open();
    rs->setFilter(QStringLiteral("Qty = 12"));
    items.db->execute(QStringLiteral("INSERT INTO Item (Code, Qty) VALUES ('late', 12)"));
    QCOMPARE(rs->recordCount(), 2);
    rs->requery();
    QCOMPARE(codes(*rs), (QStringList{"b2", "12", "late"}));
}

void TestRecordset::closedDatabaseKeepsRows()
{
    ItemDb items;
    const RecordsetPtr rs = items.open();
    items.db->close();
    QCOMPARE(rs->value(QStringLiteral("Code")).toString(), QStringLiteral("A1"));
    QVERIFY(rs->findFirst(QStringLiteral("Code = 'b2'")));
    rs->setValue(QStringLiteral("Qty"), 1);
    QCOMPARE(errorNumber([&] { rs->update(); }), DbErrorNumber::ObjectClosed);
    rs->cancelUpdate();
    QCOMPARE(errorNumber([&] { rs->addNew(); }), DbErrorNumber::ObjectClosed);
}

void TestRecordset::writesIntoAttachedDatabase()
{
    ItemDb items;
    const QString other = items.env.path(QStringLiteral("pt.db"));
    SqliteOpenOptions options;
    options.create = true;
    SqliteBackend::open(other, options)
        ->execute(
            QStringLiteral("CREATE TABLE Article (ID INTEGER PRIMARY KEY AUTOINCREMENT, Code TEXT(50))"));
    items.db->execute(QStringLiteral("ATTACH DATABASE ? AS PT"), {other});
    const RecordsetPtr rs = items.open(QStringLiteral("SELECT * FROM [PT].[Article]"));
    rs->addNew();
    rs->setValue(QStringLiteral("Code"), QStringLiteral("in PT"));
    rs->update();
    QCOMPARE(items.scalar(QStringLiteral("SELECT Code FROM PT.Article")).toString(), QStringLiteral("in PT"));
    QCOMPARE(items.scalar(QStringLiteral("SELECT count(*) FROM main.sqlite_master WHERE name = 'Article'"))
                 .toInt(),
             0);
}

QTEST_GUILESS_MAIN(TestRecordset)
#include "test_recordset.moc"
