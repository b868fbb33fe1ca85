#include "ufrmMain.h"

#include "platform/AppGlobals.h"

#include <QLabel>

TfrmMain::TfrmMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Lumora"));
    static const char16_t *names[] = {u"SQL Server", u"SQL Server（命名实例 ZERV）", u"本地数据库 korvax.db",
                                      u"PostgreSQL"};
    auto *label =
        new QLabel(QStringLiteral("Lumora 题库与考试系统\n\n数据库：%1  %2")
                       .arg(QString::fromUtf16(names[IsKnownDbType(DBType) ? DBType : 0]),
                            DBType == DbEmbedded ? AppPath + QStringLiteral("korvax.db") : ServerIP),
                   this);
    label->setObjectName(QStringLiteral("lblPlaceholder"));
    label->setAlignment(Qt::AlignCenter);
    setCentralWidget(label);
    resize(1024, 700);
}
