#include "runtime/AnsiCodePage.h"

#include <windows.h>

QString AnsiCodePage::decode(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return {};
    const int size = int(bytes.size());
    QString text(size, Qt::Uninitialized);   // a one-byte code page gives one UTF-16 unit a byte
    const int got = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, reinterpret_cast<wchar_t *>(text.data()), size);
    text.resize(got);
    return text;
}

QByteArray AnsiCodePage::encode(QStringView text)
{
    if (text.isEmpty())
        return {};
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    const int size = int(text.size());
    // No best fit: a character the code page lacks becomes '?', never a look-alike letter.
    const int needed = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, size, nullptr, 0, "?", nullptr);
    QByteArray bytes(needed, Qt::Uninitialized);
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, size, bytes.data(), needed, "?", nullptr);
    return bytes;
}

bool AnsiCodePage::holds(QChar c)
{
    if (c.isSurrogate())
        return false;
    const wchar_t wide = wchar_t(c.unicode());
    char byte[4];
    BOOL lacking = FALSE;
    const int got = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &wide, 1, byte, sizeof byte, "?", &lacking);
    return got == 1 && !lacking;
}
