#include "windows/FolderSelector.h"

#include "runtime/Runtime.h"

#include <QKeyEvent>

namespace {
constexpr int pathRole = Qt::UserRole;
} // namespace

FolderSelector::FolderSelector(Runtime &runtime, QWidget *parent)
    : QListWidget(parent)
    , m_runtime(runtime)
{
    connect(this, &QListWidget::itemDoubleClicked, this, &FolderSelector::open);
}

void FolderSelector::setPath(const QString &path)
{
    if (path == m_path)
        return;
    m_path = path;
    rebuild();
    emit pathChanged();
}

void FolderSelector::open(QListWidgetItem *item)
{
    if (item)
        setPath(item->data(pathRole).toString());
}

void FolderSelector::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        open(currentItem());
        return;
    }
    QListWidget::keyPressEvent(event);
}

void FolderSelector::rebuild()
{
    clear();
    const QString root = m_path.left(3);
    QStringList names = m_path.mid(3).split(u'\\', Qt::SkipEmptyParts);
    QString path = root;
    int depth = 0;
    auto add = [this](const QString &text, const QString &opens, int indent) {
        auto *item = new QListWidgetItem(QString(indent * 2, u' ') + text, this);
        item->setData(pathRole, opens);
        return item;
    };
    QListWidgetItem *current = add(root, root, depth);
    for (const QString &name : names) {
        path = path.endsWith(u'\\') ? path + name : path + u'\\' + name;
        current = add(name, path, ++depth);
    }
    for (const QString &child : m_runtime.subfolders(m_runtime.path(m_path)))
        add(child, m_path.endsWith(u'\\') ? m_path + child : m_path + u'\\' + child, depth + 1);
    setCurrentItem(current);
}
