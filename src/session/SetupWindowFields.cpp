#include "session/SetupWindowFields.h"

QString SetupWindowFields::text(Field field) const
{
    return int(field) < int(std::size(m_texts)) ? m_texts[int(field)] : QString();
}

void SetupWindowFields::setText(Field field, const QString &text)
{
    if (int(field) >= int(std::size(m_texts)) || m_texts[int(field)] == text)
        return;
    m_texts[int(field)] = text;
    raise(field, true);
}

void SetupWindowFields::setSoftwareEntries(const QStringList &entries)
{
    m_entries = entries;
    m_selected = -1;
    raise(Field::SoftwareList, false);
}

void SetupWindowFields::selectSoftware(int index)
{
    if (index == m_selected)
        return;
    m_selected = index;
    raise(Field::SoftwareList, true);
}

void SetupWindowFields::chooseDrive(const QString &entry)
{
    if (entry == m_drive)
        return;
    m_drive = entry;
    raise(Field::Drive, true);
}

void SetupWindowFields::showDrive(const QString &drive)
{
    const QString wanted = drive.left(2).toLower();
    for (const QString &entry : std::as_const(m_drives)) {
        if (entry.left(2).toLower() == wanted) {
            if (entry != m_drive) {
                m_drive = entry;
                raise(Field::Drive, false);
            }
            return;
        }
    }
}

void SetupWindowFields::setFolder(const QString &path)
{
    if (path == m_folder)
        return;
    m_folder = path;
    raise(Field::Dir, true);
}

void SetupWindowFields::showHelp(const QString &text)
{
    m_helpShown = true;
    m_helpText = text;
    raise(Field::Help, false);
}

void SetupWindowFields::hideHelp()
{
    if (!std::exchange(m_helpShown, false))
        return;
    raise(Field::Help, false);
}

void SetupWindowFields::showWindow()
{
    if (!std::exchange(m_shown, true))
        raise(Field::Window, false);
}

void SetupWindowFields::hideWindow()
{
    if (std::exchange(m_shown, false))
        raise(Field::Window, false);
}

void SetupWindowFields::raise(Field field, bool change)
{
    emit updated(field);
    if (change)
        emit changed(field);
}
