#include "runtime/CaseFold.h"

QString CaseFold::folded(const QString &name)
{
    const QChar *chars = name.constData();
    const qsizetype size = name.size();
    qsizetype firstCapital = -1;
    for (qsizetype i = 0; i < size; ++i) {
        if (chars[i].unicode() >= 0x80)
            return name.toCaseFolded();
        if (firstCapital < 0 && chars[i] >= u'A' && chars[i] <= u'Z')
            firstCapital = i;
    }
    if (firstCapital < 0)
        return name;
    QString result = name;
    QChar *out = result.data();
    for (qsizetype i = firstCapital; i < size; ++i) {
        if (out[i] >= u'A' && out[i] <= u'Z')
            out[i] = QChar(out[i].unicode() + (u'a' - u'A'));
    }
    return result;
}
