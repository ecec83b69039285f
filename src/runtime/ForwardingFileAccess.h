#pragma once

#include "runtime/FileAccess.h"

// Hands every operation to another file access: the base of one that watches or changes a few of
// them and leaves the rest to the disk.
class ForwardingFileAccess : public FileAccess
{
public:
    explicit ForwardingFileAccess(std::unique_ptr<FileAccess> real = makeNativeFileAccess()) : m_real(std::move(real)) {}

    std::unique_ptr<HostFile> open(const QString &hostPath, Mode mode, Why *why) override
    {
        return m_real->open(hostPath, mode, why);
    }
    bool copy(const QString &from, const QStringList &to, Copy *result, Why *why) override
    {
        return m_real->copy(from, to, result, why);
    }
    bool remove(const QString &hostPath, Why *why) override { return m_real->remove(hostPath, why); }
    bool makeFolder(const QString &hostPath, Why *why) override { return m_real->makeFolder(hostPath, why); }
    bool link(const QString &existing, const QString &name, Why *why) override { return m_real->link(existing, name, why); }
    bool rename(const QString &from, const QString &to, Why *why) override { return m_real->rename(from, to, why); }
    bool flush(const QStringList &hostFiles, Why *why) override { return m_real->flush(hostFiles, why); }
    Listing list(const QString &hostFolder) override { return m_real->list(hostFolder); }
    Names names(const QString &hostFolder) override { return m_real->names(hostFolder); }
    Entry entry(const QString &hostPath) override { return m_real->entry(hostPath); }
    bool makeLink(const QString &target, const QString &name, Why *why) override
    {
        return m_real->makeLink(target, name, why);
    }
    bool removeOdd(const QString &hostFolder, Why *why) override { return m_real->removeOdd(hostFolder, why); }
    Stamp stamp(const QString &hostPath) override { return m_real->stamp(hostPath); }
    std::shared_ptr<void> lock(const QString &hostFolder, bool *busy, Why *why) override
    {
        return m_real->lock(hostFolder, busy, why);
    }
    bool sameFile(const QString &a, const QString &b, Why *why) override { return m_real->sameFile(a, b, why); }
    std::shared_ptr<void> pin(const QString &hostFolder) override { return m_real->pin(hostFolder); }

protected:
    FileAccess &real() { return *m_real; }

private:
    std::unique_ptr<FileAccess> m_real;
};
