#include "app/uCodeLists.h"

namespace CodeLists {

const QStringList &Levels()
{
    static const QStringList list{QStringLiteral("Ⅰ级"), QStringLiteral("Ⅱ级"), QStringLiteral("Ⅲ级")};
    return list;
}

const QStringList &Categories()
{
    static const QStringList list{QStringLiteral("理论类"), QStringLiteral("操作类"),
                                  QStringLiteral("综合类")};
    return list;
}

const QStringList &PostTypes()
{
    static const QStringList list{QStringLiteral("生产岗位"), QStringLiteral("管理岗位")};
    return list;
}

const QStringList &AssessModes()
{
    static const QStringList list{QStringLiteral("笔试"),      QStringLiteral("操作"),
                                  QStringLiteral("口试"),      QStringLiteral("笔试/操作"),
                                  QStringLiteral("笔试/口试"), QStringLiteral("操作/口试")};
    return list;
}

const QStringList &TrainModes()
{
    static const QStringList list{QStringLiteral("自学/脱产"), QStringLiteral("实践性/脱产"),
                                  QStringLiteral("自学"), QStringLiteral("脱产"), QStringLiteral("实践性")};
    return list;
}

} // namespace CodeLists
