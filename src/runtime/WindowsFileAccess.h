#pragma once

#include "runtime/FileAccess.h"
#include "runtime/HeldByKey.h"

#include <windows.h>

class QCryptographicHash;

// Host files through the Windows API, so that every failure keeps its true cause.
class WindowsFileAccess : public FileAccess
{
public:
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
    bool copyTo(HANDLE input, const BY_HANDLE_FILE_INFORMATION &in, const QString &to, qint64 *copied, QCryptographicHash *hash,
                Why *why);

    // The volume of a file's folder, looked up once a submission.
    DWORD volumeOf(const QString &hostPath);

    QStringList m_written;   // copies made since the last flush
    HeldByKey<QString, DWORD> m_volumes;   // pinned folder, with its slash -> its volume
};
