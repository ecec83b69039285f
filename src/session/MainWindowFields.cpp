#include "session/MainWindowFields.h"

void MainWindowFields::setSiteId(const QString &text)
{
    if (text == m_siteId)
        return;
    m_siteId = text;
    emit updated();
}

void MainWindowFields::setShown(bool shown)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    emit updated();
}
