#pragma once

#include "platform/XlsWriter.h"

class QAbstractItemView;

// Exports a grid to an Excel file: asks for the name (filter *.xls, or *.xlsx), appends ".xls" when
// the name contains no ".xls" at all, asks "该文件已存在是否覆盖!" before replacing a file, writes the
// visible columns in their on-screen order under a header row of their captions, one row per grid
// row, and says "数据输出成功!" or "输出失败!" (with the reason on a second line).
// Names ending in .xlsx get the Excel 2007 format, every other name the Excel 97-2003 format.
void ExportGridToXls(QAbstractItemView *grid);

// What ExportGridToXls writes: the visible columns of the view in visual order. Numbers stay numbers,
// a check column gives "1"/"0", everything else the text the grid shows.
SheetData GridSheetData(QAbstractItemView *grid);

// The name rule: the name unchanged when it contains ".xls" (any case), otherwise name + ".xls".
QString XlsFileName(const QString &chosen);
