#pragma once

#include "session/WindowFields.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class Session;

// The main window: the service's title, the support contacts, the site id and the six commands.
class Form1 : public QWidget, public MainWindowFields
{
    Q_OBJECT
public:
    explicit Form1(Session &session);

    QLineEdit *YourSiteID() const { return m_yourSiteId; }

    QString siteId() const override;
    void setSiteId(const QString &text) override;
    void showWindow() override { show(); }
    void hideWindow() override { hide(); }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QLabel *addLabel(const char *name, const QString &text, int left, int top, int width, int height, const QFont &font);

    Session &m_session;
    QLineEdit *m_yourSiteId = nullptr;
};
