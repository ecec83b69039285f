#pragma once

#include <QListWidget>

class Runtime;

// A classic folder list: the path's folders from the drive's root down, then the folders inside
// the current one. Double-click or Enter opens a folder.
class FolderSelector : public QListWidget
{
    Q_OBJECT
public:
    FolderSelector(Runtime &runtime, QWidget *parent);

    // "C:\SOFTDENT", or "C:\" for a drive's root.
    QString path() const { return m_path; }
    // Shows a folder; raises pathChanged only when the path actually changes.
    void setPath(const QString &path);

signals:
    void pathChanged();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void open(QListWidgetItem *item);
    void rebuild();

    Runtime &m_runtime;
    QString m_path;
};
