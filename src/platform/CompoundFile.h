#pragma once

#include <QByteArray>
#include <QString>

// A compound document (the container of .xls and .doc files) holding one stream under the root
// storage. Written as version 3 with 512-byte sectors; the stream is padded to 4096 bytes so it lives
// in the regular sector chain and no mini stream is needed. Any size works: the sector allocation
// table grows into extension sectors for streams beyond 7 MB.
QByteArray BuildCompoundFile(const QString &streamName, const QByteArray &stream);

// Reads the stream back out of a compound document (used to check what we write); an empty array when
// the document is damaged or holds no stream of that name.
QByteArray ReadCompoundStream(const QByteArray &file, const QString &streamName);
