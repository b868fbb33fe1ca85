#include "ExportGridToXls.h"

#include "platform/Dialogs.h"

#include <QAbstractItemModel>
#include <QFileInfo>
#include <QHeaderView>
#include <QTableView>
#include <QTreeView>

namespace {

QHeaderView *Header(QAbstractItemView *grid)
{
    if (auto *t = qobject_cast<QTableView *>(grid))
        return t->horizontalHeader();
    if (auto *t = qobject_cast<QTreeView *>(grid))
        return t->header();
    return nullptr;
}

} // namespace

QString XlsFileName(const QString &chosen)
{
    return chosen.contains(QStringLiteral(".xls"), Qt::CaseInsensitive) ? chosen
                                                                        : chosen + QStringLiteral(".xls");
}

SheetData GridSheetData(QAbstractItemView *grid)
{
    SheetData sheet;
    const QAbstractItemModel *model = grid ? grid->model() : nullptr;
    if (!model)
        return sheet;
    QList<int> columns;
    QHeaderView *header = Header(grid);
    for (int v = 0; v < model->columnCount(); ++v) {
        const int logical = header ? header->logicalIndex(v) : v;
        if (header && header->isSectionHidden(logical))
            continue;
        columns << logical;
    }
    for (int c : columns)
        sheet.captions << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    for (int r = 0; r < model->rowCount(); ++r) {
        QVariantList row;
        for (int c : columns) {
            const QModelIndex idx = model->index(r, c);
            const QVariant shown = idx.data(Qt::DisplayRole);
            const QVariant check = idx.data(Qt::CheckStateRole);
            if (check.isValid() && shown.toString().isEmpty()) {
                row << (check.toInt() == Qt::Checked ? QStringLiteral("1") : QStringLiteral("0"));
                continue;
            }
            const QVariant stored = idx.data(Qt::EditRole);
            // A number shown as itself stays a number in the sheet; codes shown as names stay text.
            if (IsNumber(shown) || (IsNumber(stored) && stored.toString() == shown.toString()))
                row << (IsNumber(shown) ? shown : stored);
            else
                row << shown.toString();
        }
        sheet.rows << row;
    }
    return sheet;
}

void ExportGridToXls(QAbstractItemView *grid)
{
    const QString chosen = Dialogs::instance().getSaveFileName(
        grid, QStringLiteral("输出到Excel文件"), QString(),
        QStringLiteral("Excel 97-2003 文件 (*.xls);;Excel 文件 (*.xlsx)"));
    if (chosen.isEmpty())
        return;
    const QString name = XlsFileName(chosen);
    if (QFileInfo::exists(name) && !AskConfirm(QStringLiteral("该文件已存在是否覆盖!")))
        return;
    QString error;
    if (WriteSpreadsheetFile(name, GridSheetData(grid), &error))
        ShowInfo(QStringLiteral("数据输出成功!"));
    else
        ShowInfo(QStringLiteral("输出失败!") + (error.isEmpty() ? QString() : QStringLiteral("\n") + error));
}
