#include "runtime/DosPath.h"

DosPath DosPath::operator/(const QString &name) const
{
    // Built whole, each list and text in one allocation: a day's claims make many such paths.
    DosPath child;
    child.m_drive = m_drive;
    child.m_pinned = m_pinned;
    child.m_names.reserve(m_names.size() + 1);
    child.m_names.append(m_names);
    child.m_names.append(name);
    const bool separated = m_text.isEmpty() || m_text.endsWith(u'\\') || m_text.endsWith(u'/')
        || (m_text.size() == 2 && m_text[1] == u':');
    child.m_text.reserve(m_text.size() + 1 + name.size());
    child.m_text += m_text;
    if (!separated)
        child.m_text += u'\\';
    child.m_text += name;
    return child;
}

DosPath DosPath::folder() const
{
    DosPath parent = *this;
    if (parent.m_names.isEmpty())
        return parent;
    parent.m_names.removeLast();
    parent.m_text = QString(m_drive) + QStringLiteral(":\\") + parent.m_names.join(u'\\');
    if (m_pinned && m_pinned->depth > parent.m_names.size())
        parent.m_pinned.reset();
    return parent;
}
