#include "platform/SharedServices.h"

#include <benchmark/benchmark.h>

// Scoring a paper compares every objective answer; this is the inner step.
static void BM_CompareAnswerMultiple(benchmark::State &state)
{
    const QString standard = QStringLiteral("答案：Ａ、Ｃ、Ｄ");
    const QString given = QStringLiteral("ACD");
    for (auto _ : state)
        benchmark::DoNotOptimize(CompareAnswer(QStringLiteral("5"), given, standard));
}
BENCHMARK(BM_CompareAnswerMultiple);

BENCHMARK_MAIN();
