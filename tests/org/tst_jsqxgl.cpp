#include "app/uEditCycle.h"
#include "app/ufrmMain.h"
#include "bank/BankFixture.h"
#include "org/ufrmJsqxgl.h"
#include "platform/widgets/CheckTree.h"
#include "support/DbRows.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDb.h"

#include <QLineEdit>
#include <QTest>
#include <QTreeWidgetItemIterator>

// Roles and the menu entries they hold: the two trees, grant and revoke with their group rules, role
// names and deleting roles.
class TestJsqxgl : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void newRoleHoldsNothing();
    void grant_data();
    void grant();
    void revoke_data();
    void revoke();
    void unusedEntryNeverOffered();
    void rename_data();
    void rename();
    void deleteRole_data();
    void deleteRole();
    void menuAtNextLoginFollows();

private:
    void openOn(const QString &role);
    QStringList codes(const char *tree) const;
    void check(const char *tree, const QStringList &codes);
    QStringList held(int role) const;

    std::unique_ptr<ScriptedDialogs> m_dialogs;
    std::unique_ptr<TestDb> m_db;
    std::unique_ptr<TfrmJsqxgl> m_form;
};

void TestJsqxgl::init()
{
    m_dialogs = std::make_unique<ScriptedDialogs>();
    m_db = std::make_unique<TestDb>();
    REQUIRE_TESTDB(*m_db);
    QVERIFY(DbExec("insert into js (jslsh, jsmc) values (2, '出题人')"));
    QVERIFY(DbExec("insert into js (jslsh, jsmc) values (3, '考生')"));
}

void TestJsqxgl::cleanup()
{
    m_form.reset();
    if (m_dialogs)
        QVERIFY2(m_dialogs->unexpected.isEmpty(), qPrintable(m_dialogs->unexpected.join(u'|')));
    m_db.reset();
    m_dialogs.reset();
}

void TestJsqxgl::openOn(const QString &role)
{
    m_form = std::make_unique<TfrmJsqxgl>();
    m_form->show();
    auto *cds = m_form->findChild<ClientDataSet *>(QStringLiteral("cdsJs"));
    QVERIFY(cds->locate(QStringLiteral("jsmc"), role));
    QCOMPARE(Ctl<QLineEdit>(m_form.get(), "edtJsmc")->text(), role);
}

QStringList TestJsqxgl::codes(const char *tree) const
{
    QStringList out;
    for (QTreeWidgetItemIterator it(Ctl<CheckTree>(m_form.get(), tree)); *it; ++it)
        out << CheckTree::nodeKey(*it).toString();
    return out;
}

void TestJsqxgl::check(const char *tree, const QStringList &codes)
{
    auto *t = Ctl<CheckTree>(m_form.get(), tree);
    for (const QString &c : codes) {
        QTreeWidgetItem *node = t->findNode(c);
        QVERIFY2(node, qPrintable(c));
        t->setChecked(node, true);
    }
}

QStringList TestJsqxgl::held(int role) const
{
    return DbRows(QStringLiteral("select cdbh from jsgnqx where jslsh = %1 order by cdbh").arg(role));
}

void TestJsqxgl::newRoleHoldsNothing()
{
    openOn(QStringLiteral("考生"));
    Click(m_form.get(), "btnAddJs");
    Ctl<QLineEdit>(m_form.get(), "edtJsmc")->setText(QStringLiteral("  阅卷人 "));
    Click(m_form.get(), "btnSaveJs");
    QCOMPARE(m_dialogs->lastText(), QStringLiteral("保存角色成功！"));
    QCOMPARE(DbScalar("select jsmc from js where jslsh = 4"), QStringLiteral("阅卷人"));
    QVERIFY(codes("rctYfbqx").isEmpty());
    // Every group that has an item in use is offered, with all those items.
    const QStringList offered = codes("rctWfbqx");
    QCOMPARE(offered.filter(QRegularExpression(QStringLiteral("^\\d{4}$"))),
             DbRows("select distinct sjcdbh from gncd where sfsy = '1' and sjcdbh <> '04' order by sjcdbh"));
    QCOMPARE(offered.size(),
             DbRows("select cdbh from gncd where sfsy = '1' and sjcdbh <> '04'").size() +
                 DbRows("select distinct sjcdbh from gncd where sfsy = '1' and sjcdbh <> '04'").size());
}

void TestJsqxgl::grant_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("one item brings its group")
        << QStringList{} << QStringList{"040101"} << QStringList{"0401", "040101"};
    QTest::newRow("second item of a held group")
        << QStringList{"0401", "040101"} << QStringList{"040102"} << QStringList{"0401", "040101", "040102"};
    QTest::newRow("whole group and an item of another")
        << QStringList{} << QStringList{"0405", "040201"} << QStringList{"0402", "040201", "0405", "040501"};
}

void TestJsqxgl::grant()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, checked);
    QFETCH(QStringList, after);
    for (const QString &c : before)
        QVERIFY(DbExec(QStringLiteral("insert into jsgnqx (cdbh, jslsh) values ('%1', 2)").arg(c)));
    openOn(QStringLiteral("出题人"));
    check("rctWfbqx", checked);
    Click(m_form.get(), "btnAddqx");
    QCOMPARE(held(2), after); // no group twice
    for (const QString &c : after)
        QVERIFY(codes("rctYfbqx").contains(c));
    QVERIFY(!codes("rctWfbqx").contains(checked.last()));
    QVERIFY(held(3).isEmpty());
}

void TestJsqxgl::revoke_data()
{
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("one of two items keeps the group")
        << QStringList{"040101"} << QStringList{"0401", "040102"};
    QTest::newRow("both items take the group") << QStringList{"040101", "040102"} << QStringList{};
}

void TestJsqxgl::revoke()
{
    QFETCH(QStringList, checked);
    QFETCH(QStringList, after);
    for (const char *c : {"0401", "040101", "040102"})
        QVERIFY(DbExec(
            QStringLiteral("insert into jsgnqx (cdbh, jslsh) values ('%1', 2)").arg(QLatin1String(c))));
    openOn(QStringLiteral("出题人"));
    check("rctYfbqx", checked);
    Click(m_form.get(), "btnDelqx");
    QCOMPARE(held(2), after);
    QCOMPARE(codes("rctYfbqx"), after);
}

void TestJsqxgl::unusedEntryNeverOffered()
{
    QVERIFY(DbExec("insert into jsgnqx (cdbh, jslsh) values ('0401', 2)"));
    QVERIFY(DbExec("insert into jsgnqx (cdbh, jslsh) values ('040101', 2)"));
    QVERIFY(DbExec("update gncd set sfsy = '0' where cdbh in ('040101', '040102')"));
    openOn(QStringLiteral("出题人"));
    QVERIFY(codes("rctYfbqx").contains(QStringLiteral("040101"))); // an earlier grant stays visible
    QVERIFY(!codes("rctWfbqx").contains(QStringLiteral("040102")));
    QVERIFY(!codes("rctWfbqx").contains(QStringLiteral("040101")));
}

void TestJsqxgl::rename_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("box");
    QTest::newRow("own name") << "出题人"
                              << "保存角色成功！"
                              << "出题人"
                              << "出题人";
    QTest::newRow("other role's name") << "考生"
                                       << "该角色名称己存在，请重新输入！"
                                       << "出题人"
                                       << "出题人";
    QTest::newRow("blank") << "   "
                           << "角色名称不能为空，请重新输入！"
                           << "出题人"
                           << "   ";
    QTest::newRow("apostrophe") << "O'Brien 的角色"
                                << "保存角色成功！"
                                << "O'Brien 的角色"
                                << "O'Brien 的角色";
}

void TestJsqxgl::rename()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(QString, stored);
    QFETCH(QString, box);
    openOn(QStringLiteral("出题人"));
    Ctl<QLineEdit>(m_form.get(), "edtJsmc")->setText(name);
    Click(m_form.get(), "btnSaveJs");
    QCOMPARE(m_dialogs->lastText(), message);
    QCOMPARE(DbScalar("select jsmc from js where jslsh = 2"), stored);
    QCOMPARE(Ctl<QLineEdit>(m_form.get(), "edtJsmc")->text(), box);
}

void TestJsqxgl::deleteRole_data()
{
    QTest::addColumn<int>("holders");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("gone");
    QTest::newRow("held by two persons")
        << 2 << "该角色还有2个人员在使用，不能删除！请先在人员管理中为他们更换角色。" << false;
    QTest::newRow("held by nobody") << 0 << "" << true;
}

void TestJsqxgl::deleteRole()
{
    QFETCH(int, holders);
    QFETCH(QString, message);
    QFETCH(bool, gone);
    for (int i = 0; i < holders; ++i)
        QVERIFY(DbExec(
            QStringLiteral("insert into ry (rylsh, ryxm, jslsh) values (%1, '持有人', 2)").arg(10 + i)));
    QVERIFY(DbExec("insert into jsgnqx (cdbh, jslsh) values ('0401', 2)"));
    QVERIFY(DbExec("insert into jsgnqx (cdbh, jslsh) values ('040101', 2)"));
    openOn(QStringLiteral("出题人"));
    m_dialogs->answerOk();
    Click(m_form.get(), "btnDelJs");
    QCOMPARE(m_dialogs->texts().last(), gone ? QStringLiteral("确认要删除该角色吗？") : message);
    QCOMPARE(DbRows("select jslsh from js where jslsh = 2").isEmpty(), gone);
    // The menu rows go with the role, so a later role with the same number starts empty.
    QCOMPARE(held(2).isEmpty(), gone);
}

void TestJsqxgl::menuAtNextLoginFollows()
{
    QVERIFY(DbExec("insert into ry (rylsh, ryxm, dlzh, jslsh) values (30, '考生甲', 'ksj', 3)"));
    openOn(QStringLiteral("考生"));
    check("rctWfbqx", {"040404", "040501"});
    Click(m_form.get(), "btnAddqx");
    QList<MenuEntry> entries;
    QVERIFY(TfrmMain::LoadMenuEntries(QStringLiteral("ksj"), 30, entries));
    QStringList seen;
    for (const MenuEntry &e : entries)
        seen << e.cdbh;
    QCOMPARE(seen, (QStringList{"0404", "040404", "0405", "040501"}));

    check("rctYfbqx", {"040404"});
    Click(m_form.get(), "btnDelqx");
    QVERIFY(TfrmMain::LoadMenuEntries(QStringLiteral("ksj"), 30, entries));
    seen.clear();
    for (const MenuEntry &e : entries)
        seen << e.cdbh;
    QCOMPARE(seen, (QStringList{"0405", "040501"}));
}

QTEST_MAIN(TestJsqxgl)
#include "tst_jsqxgl.moc"
