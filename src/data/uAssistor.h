#pragma once

#include <QString>

// The stateless helper created at login: the stored password form and the content operations.
class TAssistor
{
public:
    // The stored form of a password (column ry.dlmm): the GBK bytes of the text, each lowered by 2
    // (modulo 256), in reverse order, ending at the first zero byte. In a Unicode text column those
    // bytes are kept as ASCII when they all are, as the GBK text they spell when they decode and
    // re-encode exactly (what older clients' rows read as), and as Latin-1 characters otherwise.
    static QString EncodePassword(const QString &text);
    // The inverse: add 2 to every byte and reverse (shown by the personnel form; logins compare the
    // stored form and never decode).
    static QString DecodePassword(const QString &stored);
};
