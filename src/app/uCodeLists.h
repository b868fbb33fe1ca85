#pragma once

#include <QStringList>

// The fixed code lists of the question bank. A code column stores the 1-based position of the chosen
// entry (0: nothing chosen); the lists are constants of the program, never read from a table.
namespace CodeLists {

const QStringList &Levels();      // 等级 djlsh: Ⅰ级 Ⅱ级 Ⅲ级
const QStringList &Categories();  // 类别 lblsh: 理论类 操作类 综合类
const QStringList &PostTypes();   // 岗位类型 gwlxlsh: 生产岗位 管理岗位
const QStringList &AssessModes(); // 考核方式 khfslsh
const QStringList &TrainModes();  // 培训方式 pxfslsh

// The code of a drop-down position (index from 0, -1 for none): index + 1, 0 for none.
inline int CodeOfIndex(int index)
{
    return index < 0 ? 0 : index + 1;
}
// The drop-down position of a stored code: code - 1, -1 for 0 or a code outside the list.
inline int IndexOfCode(int code, const QStringList &list)
{
    return code >= 1 && code <= list.size() ? code - 1 : -1;
}

} // namespace CodeLists
