#include "session/MessageList.h"

QString MessageList::shortened(const QStringList &lines, QString *details)
{
    if (details)
        details->clear();
    if (lines.size() <= shownLines)
        return lines.join(u'\n');
    if (details)
        *details = lines.join(u'\n');
    return lines.mid(0, shownLines).join(u'\n') + QStringLiteral("\nand %1 more").arg(lines.size() - shownLines);
}
