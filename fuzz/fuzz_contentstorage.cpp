// Feeds arbitrary stored values to the content decoder (length field, zlib stream, swap), and
// checks that whatever decodes encodes back to the same document.
#include "data/ContentStorage.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray blob(reinterpret_cast<const char *>(data), qsizetype(size));
    QByteArray rtf;
    if (ContentStorage::LoadBlobToStream(blob, &rtf)) {
        QByteArray again;
        if (!ContentStorage::LoadBlobToStream(ContentStorage::SaveStreamToBlob(rtf), &again) || again != rtf)
            std::abort();
    }
    return 0;
}
