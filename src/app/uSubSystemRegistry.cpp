#include "uSubSystemRegistry.h"

#include <QHash>

namespace {
// Created on first use: registrations run from static initialisers of other libraries, in any order.
QHash<QString, SubSystemFactory> &Registry()
{
    static QHash<QString, SubSystemFactory> registry;
    return registry;
}
} // namespace

bool RegisterSubSystemClass(const QString &className, SubSystemFactory factory)
{
    Registry().insert(className, std::move(factory));
    return true;
}

SubSystemFactory FindSubSystemClass(const QString &className)
{
    return Registry().value(className.trimmed());
}

void UnregisterSubSystemClass(const QString &className)
{
    Registry().remove(className);
}

const QList<SubSystemClass> &KnownSubSystemClasses()
{
    static const QList<SubSystemClass> known = {
        {"TfrmBmgw", u"部门岗位"},
        {"TfrmRy", u"人员管理"},
        {"TfrmTkqx", u"题库权限设置"},
        {"TfrmQuesStat", u"题库统计"},
        {"TfrmBigQuesEdit", u"大内容试题修订"},
        {"TfrmManualPaper", u"人工组卷"},
        {"TfrmPaperManage", u"试卷管理"},
        {"TfrmZyzl", u"工种管理"},
        {"TfrmKm", u"科目管理"},
        {"TfrmMk", u"模块管理"},
        {"TfrmQuesMake", u"题库制作"},
        {"TfrmQuesAudit", u"试题审核"},
        {"TfrmZjjh", u"组卷计划"},
        {"TfrmQuesImport", u"试题批量导入"},
        {"TfrmNl", u"能力管理"},
        {"TfrmKsjh", u"考试计划"},
        {"TfrmZdkssj", u"指定考试试卷"},
        {"TfrmZdksry", u"指定考试人员"},
        {"TfrmKspf", u"考试评分"},
        {"TfrmJsqxgl", u"角色权限管理"},
        {"TfrmXzlxlb", u"选择练习类别"},
        {"TfrmLoginExam", u"考试登录界面"},
    };
    return known;
}
