#include "runtime/DosPath.h"

DosPath DosPath::operator/(const QString &name) const
{
    DosPath child = *this;
    child.m_names << name;
    const bool separated = m_text.isEmpty() || m_text.endsWith(u'\\') || m_text.endsWith(u'/')
        || (m_text.size() == 2 && m_text[1] == u':');
    child.m_text = separated ? m_text + name : m_text + u'\\' + name;
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
