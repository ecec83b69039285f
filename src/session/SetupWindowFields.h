#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// The setup window as the program's logic sees it: its fields as plain values. Writing a field runs
// its Change at once, nested, before the write returns, and only when the value actually changes;
// writing the value a field already holds runs nothing. The window on screen follows the fields,
// and a person's edit there is a write here.
class SetupWindowFields : public QObject
{
    Q_OBJECT
public:
    // SiteIDText, SftwrText, SftwrFormatText, FilePathText and FileNameText are texts; then SftwrList,
    // Drive1, Dir1, HelpPanel and the window itself.
    enum class Field { SiteId, Software, Format, Folder, FileName, SoftwareList, Drive, Dir, Help, Window };
    Q_ENUM(Field)

    QString text(Field field) const;
    void setText(Field field, const QString &text);

    // SftwrList: its entries in order, and the one selected (-1 for none). Filling it selects none;
    // selecting another entry is its Change.
    QStringList softwareEntries() const { return m_entries; }
    void setSoftwareEntries(const QStringList &entries);
    QString softwareEntry(int index) const { return m_entries.value(index); }
    int selectedSoftware() const { return m_selected; }
    void selectSoftware(int index);

    // Drive1: the drives it offers ("c: [label]"), and the one shown. Choosing one is its Change;
    // showing one, as the selector does when it goes back to where it was, is not.
    QStringList drives() const { return m_drives; }
    void setDrives(const QStringList &drives) { m_drives = drives; }
    QString drive() const { return m_drive; }
    void chooseDrive(const QString &entry);
    void showDrive(const QString &drive);

    // Dir1: the folder shown ("C:\SOFTDENT", "C:\" for a root).
    QString folder() const { return m_folder; }
    void setFolder(const QString &path);

    // The help panel over the left column: its own shown state, whether the window is shown or not.
    bool helpShown() const { return m_helpShown; }
    QString helpText() const { return m_helpText; }
    void showHelp(const QString &text);
    void hideHelp();

    bool isShown() const { return m_shown; }
    void showWindow();
    void hideWindow();

signals:
    // A field's Change, which the window's behaviour handles.
    void changed(SetupWindowFields::Field field);
    // A value the window shows has changed, Change or not; raised before the Change.
    void updated(SetupWindowFields::Field field);

private:
    void raise(Field field, bool change);

    QString m_texts[5];
    QStringList m_entries;
    int m_selected = -1;
    QStringList m_drives;
    QString m_drive;
    QString m_folder;
    bool m_helpShown = false;
    QString m_helpText;
    bool m_shown = false;
};
