#include "platform/ClientDataSet.h"
#include "platform/ClientDataSetModel.h"

#include <QSignalSpy>
#include <QTest>

using Kind = ClientDataSet::ChangeKind;

// The in-memory data set: cursor, edit cycle, change log with its net delta and undo, after-scroll
// suppression, and the item model the grids use.
class TestClientDataSet : public QObject
{
    Q_OBJECT
private slots:
    void cursorWalk();
    void afterScrollSuppression();
    void deltaIsNetPerRow_data();
    void deltaIsNetPerRow();
    void undoLastChange_data();
    void undoLastChange();
    void mergeAndCancelUpdates();
    void valuesAreTyped();
    void locateTyped();
    void emptyShape();
    void modelFollowsDataSet();

private:
    static void fill(ClientDataSet &ds, int n = 3);
};

void TestClientDataSet::fill(ClientDataSet &ds, int n)
{
    QList<QVariantList> rows;
    for (int i = 1; i <= n; ++i)
        rows << QVariantList{i, QStringLiteral("名称%1").arg(i), QVariant()};
    ds.setRows({{QStringLiteral("bmlsh"), QMetaType::Int},
                {QStringLiteral("bmmc"), QMetaType::QString},
                {QStringLiteral("xssx"), QMetaType::Int}},
               rows);
}

void TestClientDataSet::cursorWalk()
{
    ClientDataSet ds;
    fill(ds);
    QList<int> seen;
    for (ds.first(); !ds.eof(); ds.next())
        seen << ds.asInt(QStringLiteral("BMLSH")); // names are case-insensitive
    QCOMPARE(seen, (QList<int>{1, 2, 3}));
    QCOMPARE(ds.recNo(), 3);
    ds.prior();
    QCOMPARE(ds.recNo(), 2);
    QVERIFY(!ds.bof());
    ds.first();
    ds.prior();
    QVERIFY(ds.bof());
    QCOMPARE(ds.recNo(), 1);
    QVERIFY(!ds.moveTo(4));
    QVERIFY(ds.moveTo(3));
    QCOMPARE(ds.asString(QStringLiteral("bmmc")), QStringLiteral("名称3"));

    ClientDataSet empty;
    empty.createEmpty({QStringLiteral("xz")});
    empty.first();
    QVERIFY(empty.eof());
    QCOMPARE(empty.recNo(), 0);
    QVERIFY(!empty.setValue(QStringLiteral("xz"), QStringLiteral("1"))); // no row to write into
}

void TestClientDataSet::afterScrollSuppression()
{
    ClientDataSet ds;
    fill(ds, 5);
    int calls = 0;
    ds.setAfterScroll([&] { ++calls; });
    ds.next();
    QCOMPARE(calls, 1);
    {
        ClientDataSet::ScrollGuard outer(&ds);
        ds.disableScroll(); // counted: nested suspension
        ds.next();
        ds.enableScroll();
        ds.last();
        QCOMPARE(calls, 1);
    }
    ds.first();
    QCOMPARE(calls, 2);
    ds.next();
    ds.next();
    ds.next();
    ds.next();
    ds.next(); // already on the last row: no move, no call
    QCOMPARE(calls, 6);
}

void TestClientDataSet::deltaIsNetPerRow_data()
{
    // Script over 3 fetched rows: e<recNo>=<name> edit, d<recNo> delete, a<key> append.
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("expected"); // kind+key per delta row, in order
    QTest::newRow("nothing") << ""
                             << "";
    QTest::newRow("edit") << "e2=x"
                          << "M2";
    QTest::newRow("edit back to fetched value") << "e2=x e2=名称2"
                                                << "";
    QTest::newRow("edit twice is one change") << "e1=x e1=y"
                                              << "M1";
    QTest::newRow("insert then delete") << "a9 d4"
                                        << "";
    QTest::newRow("edit then delete") << "e3=x d3"
                                      << "D3";
    QTest::newRow("order of first change") << "e3=x a7 d1 e1=z"
                                           << "M3 I7 D1 M2"; // after d1 row 1 holds key 2
    QTest::newRow("delete and insert same key") << "d1 a1"
                                                << "D1 I1";
}

void TestClientDataSet::deltaIsNetPerRow()
{
    QFETCH(QString, script);
    QFETCH(QString, expected);
    ClientDataSet ds;
    fill(ds);
    for (const QString &step : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QChar op = step[0];
        if (op == QLatin1Char('e')) {
            const QStringList p = step.mid(1).split(QLatin1Char('='));
            QVERIFY(ds.moveTo(p[0].toInt()));
            ds.setValue(QStringLiteral("bmmc"), p[1]);
            ds.post();
        } else if (op == QLatin1Char('d')) {
            QVERIFY(ds.moveTo(step.mid(1).toInt()));
            ds.remove();
        } else if (op == QLatin1Char('a')) {
            ds.append();
            ds.setValue(QStringLiteral("bmlsh"), step.mid(1).toInt());
            ds.setValue(QStringLiteral("bmmc"), QStringLiteral("新"));
            ds.post();
        }
    }
    QStringList got;
    for (const auto &d : ds.delta()) {
        const QVariantList &vals = d.kind == Kind::Delete ? d.original : d.current;
        got << QStringLiteral("%1%2")
                   .arg(d.kind == Kind::Insert   ? "I"
                        : d.kind == Kind::Modify ? "M"
                                                 : "D")
                   .arg(vals[0].toInt());
        if (d.kind == Kind::Modify) // the fetched values travel with the change
            QCOMPARE(d.original[1].toString(), QStringLiteral("名称%1").arg(vals[0].toInt()));
    }
    QCOMPARE(got.join(QLatin1Char(' ')), expected);
}

void TestClientDataSet::undoLastChange_data()
{
    QTest::addColumn<QString>("last");
    QTest::newRow("insert") << "insert";
    QTest::newRow("edit") << "edit";
    QTest::newRow("delete") << "delete";
}

void TestClientDataSet::undoLastChange()
{
    QFETCH(QString, last);
    ClientDataSet ds;
    fill(ds);
    ds.moveTo(1);
    ds.setValue(QStringLiteral("bmmc"), QStringLiteral("先改"));
    ds.post(); // an earlier change that must stay pending
    if (last == QLatin1String("insert")) {
        ds.append();
        ds.setValue(QStringLiteral("bmlsh"), 4);
        ds.post();
    } else if (last == QLatin1String("edit")) {
        ds.moveTo(2);
        ds.setValue(QStringLiteral("bmmc"), QStringLiteral("后改"));
        ds.post();
    } else {
        ds.moveTo(2);
        ds.remove();
    }
    QCOMPARE(ds.changeCount(), 2);
    QVERIFY(ds.undoLastChange());
    QCOMPARE(ds.changeCount(), 1);
    QCOMPARE(ds.recordCount(), 3);
    QStringList names;
    for (int i = 0; i < ds.recordCount(); ++i)
        names << ds.valueAt(i, 1).toString();
    QCOMPARE(names, (QStringList{"先改", "名称2", "名称3"}));
    const auto d = ds.delta();
    QCOMPARE(d.size(), 1);
    QCOMPARE(d[0].kind, Kind::Modify);
}

void TestClientDataSet::mergeAndCancelUpdates()
{
    ClientDataSet ds;
    fill(ds);
    ds.edit();
    ds.setValue(QStringLiteral("xssx"), 7);
    ds.append();       // posts the edit first
    ds.setValue(0, 9); // into the new row
    ds.cancel();       // drops only the unposted insert
    QCOMPARE(ds.recordCount(), 3);
    QCOMPARE(ds.changeCount(), 1);
    ds.mergeChangeLog();
    QVERIFY(!ds.hasChanges());
    QVERIFY(ds.delta().isEmpty());
    ds.moveTo(1);
    QCOMPARE(ds.asInt(QStringLiteral("xssx")), 7);

    ds.remove();
    ds.moveTo(1);
    ds.setValue(QStringLiteral("bmmc"), QStringLiteral("x"));
    ds.post();
    ds.cancelUpdates();
    QCOMPARE(ds.recordCount(), 3);
    QCOMPARE(ds.valueAt(0, 1).toString(), QStringLiteral("名称1"));
    QCOMPARE(ds.valueAt(0, 2).toInt(), 7);
}

void TestClientDataSet::valuesAreTyped()
{
    ClientDataSet ds;
    fill(ds, 1);
    QVERIFY(ds.isNull(QStringLiteral("xssx")));
    QVERIFY(!ds.setValue(QStringLiteral("xssx"), QStringLiteral("abc"))); // refused, nothing changed
    QVERIFY(ds.setValue(QStringLiteral("xssx"), QStringLiteral(" 12 ")));
    QCOMPARE(ds.value(QStringLiteral("xssx")).metaType().id(), int(QMetaType::Int));
    QVERIFY(ds.setValue(QStringLiteral("xssx"), QString())); // empty text in a number column: null
    QVERIFY(ds.isNull(QStringLiteral("xssx")));
    QVERIFY(!ds.setValue(QStringLiteral("nosuch"), 1));
    QVERIFY(ds.setValue(QStringLiteral("bmmc"), QString())); // an empty text stays a text
    QVERIFY(!ds.isNull(QStringLiteral("bmmc")));
    // Date-times in a text column (SQLite keeps them so) always take the full, comparable shape.
    QVERIFY(ds.setValue(QStringLiteral("bmmc"), QDateTime(QDate(2011, 6, 13), QTime(0, 0))));
    QCOMPARE(ds.value(QStringLiteral("bmmc")).toString(), QStringLiteral("2011-06-13 00:00:00"));
    QVERIFY(ds.setValue(QStringLiteral("bmmc"), QDate(2011, 6, 13)));
    QCOMPARE(ds.value(QStringLiteral("bmmc")).toString(), QStringLiteral("2011-06-13"));
    ds.cancel();
    QCOMPARE(ds.asString(QStringLiteral("bmmc")), QStringLiteral("名称1"));
    QCOMPARE(ds.changeCount(), 0);
}

void TestClientDataSet::locateTyped()
{
    ClientDataSet ds;
    fill(ds, 12);
    ds.moveTo(5);
    QVERIFY(ds.locate(QStringLiteral("bmlsh"), QStringLiteral("12")));
    QCOMPARE(ds.recNo(), 12);
    QVERIFY(ds.locate(QStringLiteral("bmlsh"), QStringLiteral("2.0"))); // numerically, not as text
    QCOMPARE(ds.recNo(), 2);
    QVERIFY(!ds.locate(QStringLiteral("bmmc"), QStringLiteral("名称")));
    QCOMPARE(ds.recNo(), 2);
    QVERIFY(ds.locate(QStringLiteral("bmmc"), QStringLiteral("名称1")));
    QCOMPARE(ds.recNo(), 1);
}

void TestClientDataSet::emptyShape()
{
    ClientDataSet ds;
    ds.createEmpty({QStringLiteral("xz"), QStringLiteral("zyzllsh"), QStringLiteral("zyzlmc")});
    QCOMPARE(ds.fieldCount(), 3);
    QVERIFY(ds.isEmpty());
    ds.append();
    QVERIFY(ds.setValue(QStringLiteral("zyzllsh"), 17)); // a number into a text column becomes its text
    ds.post();
    QCOMPARE(ds.value(QStringLiteral("zyzllsh")), QVariant(QStringLiteral("17")));

    ClientDataSet copy;
    copy.copyFrom(ds);
    QCOMPARE(copy.recordCount(), 1);
    QCOMPARE(copy.delta().size(), 1);
    copy.mergeChangeLog();
    QCOMPARE(ds.changeCount(), 1); // independent copies
    copy.emptyDataSet();
    QCOMPARE(copy.fieldCount(), 3);
    QVERIFY(copy.isEmpty());
    QVERIFY(!copy.hasChanges());
}

void TestClientDataSet::modelFollowsDataSet()
{
    ClientDataSet ds;
    fill(ds);
    ClientDataSetModel model(&ds);
    model.setHeader(QStringLiteral("bmmc"), QStringLiteral("部门名称"));
    model.setEditable(QStringLiteral("xssx"));
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("部门名称"));
    QVERIFY(!(model.flags(model.index(0, 1)) & Qt::ItemIsEditable));
    QVERIFY(model.flags(model.index(0, 2)) & Qt::ItemIsEditable);

    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    ds.append();
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(model.rowCount(), 4);
    ds.cancel();
    QCOMPARE(removed.count(), 1);

    QVERIFY(model.setData(model.index(2, 2), 5));
    QCOMPARE(ds.changeCount(), 1);
    QCOMPARE(model.data(model.index(2, 2)).toString(), QStringLiteral("5"));
    QVERIFY(!model.setData(model.index(2, 2), QStringLiteral("x")));
    QCOMPARE(ds.changeCount(), 1);

    ds.disableControls();
    ds.append();
    ds.post();
    ds.append();
    ds.post();
    QCOMPARE(inserted.count(), 1); // silent while the controls are disabled
    ds.enableControls();
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model.rowCount(), 5);
}

QTEST_GUILESS_MAIN(TestClientDataSet)
#include "tst_clientdataset.moc"
