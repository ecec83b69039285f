#pragma once

#include "session/SetupWindowFields.h"

#include <QWidget>

class ClickableLabel;
class DriveSelector;
class FolderSelector;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class Session;

// The setup window: site id, practice software and format code, claim folder and file name. It is
// built when it is first shown; it shows the setup window's fields and takes the person's edits
// into them.
class Form3 : public QWidget
{
    Q_OBJECT
public:
    explicit Form3(Session &session);

    QLineEdit *SiteIDText() const { return m_siteId; }
    QLineEdit *SftwrText() const { return m_software; }
    QLineEdit *SftwrFormatText() const { return m_format; }
    QLineEdit *FilePathText() const { return m_filePath; }
    QLineEdit *FileNameText() const { return m_fileName; }
    QListWidget *SftwrList() const { return m_list; }
    DriveSelector *Drive1() const { return m_drive; }
    FolderSelector *Dir1() const { return m_dir; }
    QPlainTextEdit *HelpPanel() const { return m_help; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    using Field = SetupWindowFields::Field;
    QLineEdit *box(Field field) const;
    void follow(Field field);
    ClickableLabel *addLabel(const char *name, const QString &text, int left, int top, int width, int height,
                             const QFont &font, bool flat);

    Session &m_session;
    QLineEdit *m_siteId = nullptr;
    QLineEdit *m_software = nullptr;
    QLineEdit *m_format = nullptr;
    QLineEdit *m_filePath = nullptr;
    QLineEdit *m_fileName = nullptr;
    QListWidget *m_list = nullptr;
    DriveSelector *m_drive = nullptr;
    FolderSelector *m_dir = nullptr;
    QPlainTextEdit *m_help = nullptr;
    bool m_captionsFitted = false;
};
