#include "runtime/DosPaths.h"

namespace {

bool isSeparator(QChar c)
{
    return c == u'\\' || c == u'/';
}

} // namespace

DosPaths::Path DosPaths::parse(const QString &path) const
{
    Path result;
    QStringView rest(path);
    if (rest.size() >= 2 && rest[1] == u':' && rest[0].isLetter()) {
        result.drive = rest[0].toLower();
        rest = rest.mid(2);
    } else {
        result.drive = m_drive;
    }
    if (rest.isEmpty() || !isSeparator(rest[0]))
        result.names = m_folders.value(result.drive);
    for (const QStringView name : rest.tokenize(u'\\')) {
        for (const QStringView part : name.tokenize(u'/')) {
            if (part.isEmpty() || part == u".")
                continue;
            if (part == u"..") {
                if (!result.names.isEmpty())
                    result.names.removeLast();
                continue;
            }
            result.names << part.toString();
        }
    }
    return result;
}

QString DosPaths::qualified(const Path &path)
{
    QString text = QString(path.drive) + QStringLiteral(":\\");
    for (const QString &name : path.names)
        text += name + u'\\';
    return text;
}

QString DosPaths::currentFolderOf(const QString &drive) const
{
    const QChar letter = drive.isEmpty() ? m_drive : drive[0].toLower();
    return QString(letter) + QStringLiteral(":\\") + m_folders.value(letter).join(u'\\');
}
