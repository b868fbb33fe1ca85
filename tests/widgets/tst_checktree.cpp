#include "platform/widgets/CheckTree.h"

#include <QTest>

// The check tree: children follow their parent, parents show the state of their children.
class TestCheckTree : public QObject
{
    Q_OBJECT
private slots:
    void parentAndChildren();
    void loadSavedKeys();
};

namespace {
// 04 ─┬ 0401 ─┬ 040101
//     │       └ 040102
//     └ 0402 ── 040201
void Fill(CheckTree &t)
{
    auto *root = t.addNode(nullptr, QStringLiteral("全部"), QStringLiteral("04"));
    auto *a = t.addNode(root, QStringLiteral("系统管理"), QStringLiteral("0401"));
    t.addNode(a, QStringLiteral("部门岗位"), QStringLiteral("040101"));
    t.addNode(a, QStringLiteral("人员管理"), QStringLiteral("040102"));
    auto *b = t.addNode(root, QStringLiteral("组卷管理"), QStringLiteral("0402"));
    t.addNode(b, QStringLiteral("组卷计划"), QStringLiteral("040201"));
}
QVariantList Keys(std::initializer_list<const char *> keys)
{
    QVariantList out;
    for (const char *k : keys)
        out << QString::fromLatin1(k);
    return out;
}
} // namespace

void TestCheckTree::parentAndChildren()
{
    CheckTree t;
    Fill(t);
    QTreeWidgetItem *a = t.findNode(QStringLiteral("0401"));
    // The user ticks a child: its parent and the root are partly checked.
    t.findNode(QStringLiteral("040101"))->setCheckState(0, Qt::Checked);
    QCOMPARE(t.checkState(a), Qt::PartiallyChecked);
    QCOMPARE(t.checkState(t.findNode(QStringLiteral("04"))), Qt::PartiallyChecked);
    t.setChecked(t.findNode(QStringLiteral("040102")), true);
    QCOMPARE(t.checkState(a), Qt::Checked);
    QCOMPARE(t.checkedKeys(false), Keys({"0401", "040101", "040102"}));
    QCOMPARE(t.checkedKeys(), Keys({"04", "0401", "040101", "040102"}));
    // Clearing the root clears everything below it; ticking a group ticks its items.
    t.findNode(QStringLiteral("04"))->setCheckState(0, Qt::Unchecked);
    QVERIFY(t.checkedKeys().isEmpty());
    t.setChecked(t.findNode(QStringLiteral("0402")), true);
    QCOMPARE(t.checkedKeys(), Keys({"04", "0402", "040201"}));
}

void TestCheckTree::loadSavedKeys()
{
    CheckTree t;
    Fill(t);
    t.setAllChecked(true);
    // A saved role: group rows come with their items; a group listed without items stays clear.
    t.setCheckedKeys(Keys({"0401", "040102", "0402"}));
    QCOMPARE(t.checkState(t.findNode(QStringLiteral("0401"))), Qt::PartiallyChecked);
    QCOMPARE(t.checkState(t.findNode(QStringLiteral("040101"))), Qt::Unchecked);
    QCOMPARE(t.checkState(t.findNode(QStringLiteral("0402"))), Qt::Unchecked);
    QCOMPARE(t.checkedKeys(), Keys({"04", "0401", "040102"}));
}

QTEST_MAIN(TestCheckTree)
#include "tst_checktree.moc"
