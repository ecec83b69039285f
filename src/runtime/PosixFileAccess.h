#pragma once

#include "runtime/FileAccess.h"
#include "runtime/HeldByKey.h"
#include "runtime/PosixCalls.h"

#include <QHash>
#include <QSet>

#include <sys/stat.h>

// Host files through the system calls themselves, so that every failure keeps its true cause and a
// copy stays in the kernel where it can (copy_file_range).
class PosixFileAccess : public FileAccess
{
public:
    ~PosixFileAccess() override;

    std::unique_ptr<HostFile> open(const QString &hostPath, Mode mode, Why *why) override;
    bool copy(const QString &from, const QStringList &to, Copy *result, Why *why) override;
    bool remove(const QString &hostPath, Why *why) override;
    bool makeFolder(const QString &hostPath, Why *why) override;
    bool link(const QString &existing, const QString &name, Why *why) override;
    bool rename(const QString &from, const QString &to, Why *why) override;
    bool flush(const QStringList &hostFiles, Why *why) override;
    Listing list(const QString &hostFolder) override;
    Names names(const QString &hostFolder) override;
    Entry entry(const QString &hostPath) override;
    bool makeLink(const QString &target, const QString &name, Why *why) override;
    bool removeOdd(const QString &hostFolder, Why *why) override;
    Stamp stamp(const QString &hostPath) override;
    bool sameFile(const QString &a, const QString &b, Why *why) override;
    std::shared_ptr<void> lock(const QString &hostFolder, bool *busy, Why *why) override;
    std::shared_ptr<void> pin(const QString &hostFolder) override;

private:
    using At = PosixCalls::At;

    At at(const QByteArray &path);
    bool copyTo(int input, const struct stat &in, const QByteArray *whole, const QByteArray &target, qint64 *copied,
                Why *why);
    void watch(quint64 device, const QByteArray &folder);
    void watchFolderOf(const QByteArray &file);

    // One open folder per file system written to since the last flush. A flush reports the
    // write-back errors of a file system only from when it was opened, so it is opened before the
    // first byte goes there.
    QHash<quint64, int> m_watched;
    QSet<QByteArray> m_watchedFolders;   // whose file system is in m_watched
    HeldByKey<QByteArray, int> m_held;   // pinned folder -> its descriptor
    QByteArray m_buffer;   // the small file being copied
};
