#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// One sheet of a spreadsheet: a header row of captions and the data rows. A value that is a number
// (integer or floating point) becomes a number cell, a null value an empty cell, anything else text.
struct SheetData
{
    QStringList captions;
    QList<QVariantList> rows;
};

// The limits of the Excel 97-2003 format.
constexpr int kXlsMaxRows = 65536;
constexpr int kXlsMaxColumns = 256;
constexpr int kXlsMaxTextLength = 32767;

// The Workbook stream of an Excel 97-2003 (BIFF8) file with one sheet: header row in bold on grey,
// UTF-16 text through the shared string table, number cells, column widths from the contents.
// Returns an empty array (and the reason in error) when the data exceeds the format's limits.
// Whether a value is written as a number cell (a finite value of a numeric type).
bool IsNumber(const QVariant &v);

QByteArray BuildXlsWorkbook(const SheetData &sheet, QString *error = nullptr);

// Writes a complete .xls file (the workbook inside a compound document). The file is replaced only
// when everything was written.
bool WriteXlsFile(const QString &path, const SheetData &sheet, QString *error = nullptr);

// Writes an Excel 2007+ .xlsx file through libxlsxwriter, the same layout as WriteXlsFile.
bool WriteXlsxFile(const QString &path, const SheetData &sheet, QString *error = nullptr);

// Writes .xlsx for names ending in ".xlsx" (any case), otherwise the Excel 97-2003 format.
bool WriteSpreadsheetFile(const QString &path, const SheetData &sheet, QString *error = nullptr);
