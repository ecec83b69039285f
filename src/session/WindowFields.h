#pragma once

#include <QString>
#include <QStringList>

// The two windows as the program's logic sees them: fields read and written as plain values.
// Writing a field runs its Change handler at once, as the control's own event does, and only
// when the value changes; writing the value a field already holds runs nothing.

// The main window: the site id box, and the window shown or hidden.
class MainWindowFields
{
public:
    virtual ~MainWindowFields() = default;

    virtual QString siteId() const = 0;   // YourSiteID
    virtual void setSiteId(const QString &text) = 0;
    virtual void showWindow() = 0;
    virtual void hideWindow() = 0;
};

// The setup window. It is created, hidden, the first time the logic touches it, and its Load
// runs before that touch takes effect.
class SetupWindowFields
{
public:
    // SiteIDText, SftwrText, SftwrFormatText, FilePathText, FileNameText.
    enum class Text { SiteId, Software, Format, Folder, FileName };

    virtual ~SetupWindowFields() = default;

    virtual QString text(Text field) const = 0;
    virtual void setText(Text field, const QString &text) = 0;

    // SftwrList: its entries in order, and the one selected (-1 for none).
    virtual void setSoftwareEntries(const QStringList &entries) = 0;
    virtual QString softwareEntry(int index) const = 0;
    virtual int selectedSoftware() const = 0;

    // Drive1: the entry shown ("c: [label]"); showing one raises no Change.
    virtual QString drive() const = 0;
    virtual void showDrive(const QString &drive) = 0;
    // Dir1: the folder shown ("C:\SOFTDENT").
    virtual QString folder() const = 0;
    virtual void setFolder(const QString &path) = 0;

    // The help panel over the left column: its own shown state, whether the window is shown or not.
    virtual bool helpShown() const = 0;
    virtual void showHelp(const QString &text) = 0;
    virtual void hideHelp() = 0;

    virtual void showWindow() = 0;
    virtual void hideWindow() = 0;
};
