#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class Session;

// The main window: the service's title, the support contacts, the site id and the six commands.
// It shows the main window's fields and takes the person's edits into them.
class Form1 : public QWidget
{
    Q_OBJECT
public:
    explicit Form1(Session &session);

    QLineEdit *YourSiteID() const { return m_yourSiteId; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void follow();
    QLabel *addLabel(const char *name, const QString &text, int left, int top, int width, int height, const QFont &font);

    Session &m_session;
    QLineEdit *m_yourSiteId = nullptr;
};
