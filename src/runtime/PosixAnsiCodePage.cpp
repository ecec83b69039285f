#include "runtime/AnsiCodePage.h"

namespace {

// Windows-1252's bytes 0x80 to 0x9F; the five it leaves undefined stand for the control character
// of their own number, as Windows reads them.
constexpr char16_t high[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The byte of a character, or -1 when Windows-1252 has none.
int byteOf(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    if (c > 0x2122)   // the highest the table holds
        return -1;
    for (int i = 0; i < 32; ++i) {
        if (high[i] == c)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

QString AnsiCodePage::decode(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    // Through plain pointers: a setup file or log is read a character at a time otherwise.
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = byte >= 0x80 && byte < 0xA0 ? high[byte - 0x80] : char16_t(byte);
    }
    return text;
}

QByteArray AnsiCodePage::encode(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int byte = byteOf(text[i].unicode());
        bytes[i] = char(byte < 0 ? '?' : byte);
    }
    return bytes;
}

bool AnsiCodePage::holds(QChar c)
{
    return byteOf(c.unicode()) >= 0;
}
