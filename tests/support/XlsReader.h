#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// Reads back the cells of the first sheet of an Excel 97-2003 file, for checking what the program
// wrote: text cells (shared strings, split over CONTINUE records or not) as QString, number cells as
// double. Rows and columns that hold no cell stay null. An empty list when the file is not a workbook.
QList<QVariantList> ReadXlsCells(const QString &path, QString *error = nullptr);

// Converts a spreadsheet to CSV with LibreOffice (soffice --headless) and returns its lines; an empty
// list, and *available = false, when LibreOffice is not installed.
QStringList ConvertToCsvWithLibreOffice(const QString &path, bool *available);
