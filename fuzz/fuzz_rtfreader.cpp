// Feeds arbitrary bytes to the RTF reader, then writes what it read and reads that again.
// Build: CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DLUMORA_FUZZ=ON -DBUILD_TESTING=OFF
//        cmake --build build-fuzz --target fuzz_rtfreader
// Run:   build-fuzz/fuzz/fuzz_rtfreader -dict=fuzz/rtf.dict -detect_leaks=0 -timeout=10 corpus/ \
//            tests/platform/fixtures/rtf
#include "platform/richtext/RtfReader.h"
#include "platform/richtext/RtfWriter.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    QTextDocument doc;
    RichText::ReadRtf(input, &doc);
    const QByteArray written = RichText::WriteRtf(&doc);
    QTextDocument again;
    RichText::ReadRtf(written, &again);
    // Inserting into the middle of existing text takes the other path through tables and paragraphs.
    QTextCursor cursor(&again);
    cursor.setPosition(again.characterCount() / 2);
    RichText::InsertRtf(input, cursor);
    return 0;
}
