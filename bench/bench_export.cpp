#include "platform/XlsWriter.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

// Exporting a list to Excel: a person list of 10,000 rows × 8 columns (names, codes shown as names,
// numbers), written as .xls and as .xlsx.
static SheetData PersonList(int rows)
{
    SheetData s;
    s.captions = {QStringLiteral("序号"), QStringLiteral("姓名"), QStringLiteral("工号"),
                  QStringLiteral("性别"), QStringLiteral("部门"), QStringLiteral("岗位"),
                  QStringLiteral("电话"), QStringLiteral("成绩")};
    for (int i = 0; i < rows; ++i)
        s.rows.append({i + 1, QStringLiteral("职工%1").arg(i),
                       QStringLiteral("BD%1").arg(i, 5, 10, QLatin1Char('0')),
                       i % 2 ? QStringLiteral("男") : QStringLiteral("女"), QStringLiteral("变电运行工区"),
                       QStringLiteral("值班员"), QStringLiteral("138073%1").arg(i, 5, 10, QLatin1Char('0')),
                       60 + (i % 400) / 10.0});
    return s;
}

static void BM_WriteXls(benchmark::State &state)
{
    const SheetData sheet = PersonList(int(state.range(0)));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.xls"));
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteXlsFile(path, sheet));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WriteXls)->Arg(10000)->Unit(benchmark::kMillisecond);

static void BM_WriteXlsx(benchmark::State &state)
{
    const SheetData sheet = PersonList(int(state.range(0)));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.xlsx"));
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteXlsxFile(path, sheet));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WriteXlsx)->Arg(10000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
