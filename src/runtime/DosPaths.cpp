#include "runtime/DosPaths.h"

namespace {

bool isSeparator(QChar c)
{
    return c == u'\\' || c == u'/';
}

} // namespace

DosPath DosPaths::parse(const QString &path, const DosPath *from) const
{
    DosPath result;
    result.m_text = path;
    QStringView rest(path);
    if (rest.size() >= 2 && rest[1] == u':' && rest[0].isLetter()) {
        result.m_drive = rest[0].toLower();
        rest = rest.mid(2);
    } else {
        result.m_drive = m_drive;
    }
    if (rest.isEmpty() || !isSeparator(rest[0]))
        result.m_names = from && from->drive() == result.m_drive ? from->names() : m_folders.value(result.m_drive);
    for (const QStringView name : rest.tokenize(u'\\')) {
        for (const QStringView part : name.tokenize(u'/')) {
            if (part.isEmpty() || part == u".")
                continue;
            if (part == u"..") {
                if (!result.m_names.isEmpty())
                    result.m_names.removeLast();
                continue;
            }
            result.m_names << part.toString();
        }
    }
    return result;
}

QString DosPaths::currentFolderOf(const QString &drive) const
{
    const QChar letter = drive.isEmpty() ? m_drive : drive[0].toLower();
    return QString(letter) + QStringLiteral(":\\") + m_folders.value(letter).join(u'\\');
}
