#pragma once

#include <QObject>
#include <QString>

// The main window as the program's logic sees it: the site id box and whether the window is shown.
// The window on screen follows it; YourSiteID has no Change of its own.
class MainWindowFields : public QObject
{
    Q_OBJECT
public:
    QString siteId() const { return m_siteId; }   // YourSiteID
    void setSiteId(const QString &text);
    bool isShown() const { return m_shown; }
    void showWindow() { setShown(true); }
    void hideWindow() { setShown(false); }

signals:
    // A value the window shows has changed.
    void updated();

private:
    void setShown(bool shown);

    QString m_siteId;
    bool m_shown = false;
};
