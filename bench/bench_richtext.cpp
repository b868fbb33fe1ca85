// RTF read and write throughput, and the stored content format against bare zlib.
#include "data/ContentStorage.h"
#include "platform/Encoding.h"
#include "platform/richtext/RtfReader.h"
#include "platform/richtext/RtfWriter.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QRandomGenerator>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <zlib.h>

namespace {

QByteArray HexEscaped(const QString &text)
{
    QByteArray out;
    for (char b : Encoding::ToGbk(text)) {
        if (uchar(b) < 0x80) {
            out += b;
        } else {
            out += "\\'";
            out += QByteArray::number(uchar(b), 16).rightJustified(2, '0');
        }
    }
    return out;
}

// About 1 MB of question text the way the Windows control writes it on Chinese Windows: GBK escapes,
// a format change every few words, a paragraph every line.
const QByteArray &TextDocument()
{
    static const QByteArray rtf = [] {
        const QStringList words = {"变压器", "额定容量", "是指",   "在额定电压下", "连续运行",   "时",
                                   "输出的", "视在功率", "（",     "）",           "电流互感器", "二次侧",
                                   "不得",   "开路",     "。",     "继电保护",     "装置",       "应",
                                   "满足",   "可靠性",   "选择性", "灵敏性",       "速动性"};
        QByteArray r = "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl{\\f0\\fnil"
                       "\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
                       "\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs24 ";
        QRandomGenerator rng(42);
        int n = 1;
        while (r.size() < 1'000'000) {
            r += QByteArray::number(n++) + HexEscaped(QStringLiteral("．>"));
            for (int w = 0; w < 12; ++w) {
                const int k = rng.bounded(int(words.size()));
                if (k % 7 == 0)
                    r += "\\b " + HexEscaped(words[k]) + "\\b0 ";
                else if (k % 11 == 0)
                    r += "\\cf1 " + HexEscaped(words[k]) + "\\cf0 ";
                else
                    r += HexEscaped(words[k]);
            }
            r += "\\par\r\n";
        }
        return r + "}\r\n";
    }();
    return rtf;
}

QByteArray PngBytes(int w, int h, quint32 seed)
{
    QImage image(w, h, QImage::Format_RGB32);
    QRandomGenerator rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((x * 3 + y) & 255, (y * 5) & 255, rng.bounded(32)));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A question with drawings: short text and ten PNG pictures of 320×240.
const QByteArray &PictureDocument()
{
    static const QByteArray rtf = [] {
        QByteArray r =
            "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
            "\\viewkind4\\uc1\\pard\\f0\\fs24 ";
        for (int i = 0; i < 10; ++i) {
            r += HexEscaped(QStringLiteral("如图所示的电路中：")) +
                 "{\\pict\\pngblip\\picw320\\pich240\\picwgoal4800"
                 "\\pichgoal3600\r\n";
            r += PngBytes(320, 240, quint32(i)).toHex() + "}\\par\r\n";
        }
        return r + "}";
    }();
    return rtf;
}

void Read(benchmark::State &state, const QByteArray &rtf)
{
    for (auto _ : state) {
        QTextDocument doc;
        RichText::ReadRtf(rtf, &doc);
        benchmark::DoNotOptimize(doc.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}

void Write(benchmark::State &state, const QByteArray &rtf)
{
    QTextDocument doc;
    RichText::ReadRtf(rtf, &doc);
    qint64 size = 0;
    for (auto _ : state) {
        const QByteArray out = RichText::WriteRtf(&doc);
        size = out.size();
        benchmark::DoNotOptimize(out.constData());
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["out_bytes"] = double(size);
}

void BM_RtfReadText(benchmark::State &state)
{
    Read(state, TextDocument());
}
BENCHMARK(BM_RtfReadText)->Unit(benchmark::kMillisecond);

void BM_RtfWriteText(benchmark::State &state)
{
    Write(state, TextDocument());
}
BENCHMARK(BM_RtfWriteText)->Unit(benchmark::kMillisecond);

void BM_RtfReadPictures(benchmark::State &state)
{
    Read(state, PictureDocument());
}
BENCHMARK(BM_RtfReadPictures)->Unit(benchmark::kMillisecond);

void BM_RtfWritePictures(benchmark::State &state)
{
    Write(state, PictureDocument());
}
BENCHMARK(BM_RtfWritePictures)->Unit(benchmark::kMillisecond);

// The stored format: swap + level-1 compress, then decompress + swap, of the same RTF bytes.
void BM_StoredFormat(benchmark::State &state)
{
    const QByteArray &rtf = state.range(0) == 0 ? TextDocument() : PictureDocument();
    for (auto _ : state) {
        const QByteArray blob = ContentStorage::SaveStreamToBlob(rtf);
        QByteArray back;
        ContentStorage::LoadBlobToStream(blob, &back);
        benchmark::DoNotOptimize(back.constData());
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(BM_StoredFormat)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_StoredCompressOnly(benchmark::State &state)
{
    const QByteArray &rtf = state.range(0) == 0 ? TextDocument() : PictureDocument();
    for (auto _ : state)
        benchmark::DoNotOptimize(ContentStorage::SaveStreamToBlob(rtf).size());
}
BENCHMARK(BM_StoredCompressOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_StoredDecompressOnly(benchmark::State &state)
{
    const QByteArray blob =
        ContentStorage::SaveStreamToBlob(state.range(0) == 0 ? TextDocument() : PictureDocument());
    for (auto _ : state) {
        QByteArray back;
        ContentStorage::LoadBlobToStream(blob, &back);
        benchmark::DoNotOptimize(back.constData());
    }
    state.counters["blob_bytes"] = double(blob.size());
}
BENCHMARK(BM_StoredDecompressOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Bare zlib on the same bytes: compress2 at level 1 and uncompress.
void BM_BareZlib(benchmark::State &state)
{
    const QByteArray &rtf = state.range(0) == 0 ? TextDocument() : PictureDocument();
    for (auto _ : state) {
        uLongf size = compressBound(uLong(rtf.size()));
        QByteArray packed(qsizetype(size), Qt::Uninitialized);
        compress2(reinterpret_cast<Bytef *>(packed.data()), &size,
                  reinterpret_cast<const Bytef *>(rtf.constData()), uLong(rtf.size()), 1);
        QByteArray back(rtf.size(), Qt::Uninitialized);
        uLongf outSize = uLongf(back.size());
        uncompress(reinterpret_cast<Bytef *>(back.data()), &outSize,
                   reinterpret_cast<const Bytef *>(packed.constData()), size);
        benchmark::DoNotOptimize(back.constData());
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(BM_BareZlib)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// What saving an editor costs end to end: write RTF, then the stored format.
void BM_SaveRichEditToBlob(benchmark::State &state)
{
    QTextDocument doc;
    RichText::ReadRtf(TextDocument(), &doc);
    for (auto _ : state)
        benchmark::DoNotOptimize(ContentStorage::SaveRichEditToBlob(&doc).size());
}
BENCHMARK(BM_SaveRichEditToBlob)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
