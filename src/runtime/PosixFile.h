#pragma once

#include "runtime/FileAccess.h"

#include <QByteArray>

#include <memory>

// An open file descriptor. A replacing output is written under a temporary name beside its
// target and takes the target's name only when finished whole.
class PosixFile : public HostFile
{
public:
    // durable: finish() puts what was written on disk before it closes.
    explicit PosixFile(int fd, QByteArray temporary = {}, QByteArray target = {}, bool durable = false);
    ~PosixFile() override;

    // A new file that replaces path on finish(), keeping the old one's permissions.
    static std::unique_ptr<HostFile> replacing(const QByteArray &path, Why *why);

    qint64 read(char *data, qint64 size, Why *why) override;
    bool write(const char *data, qint64 size, Why *why) override;
    bool finish(Why *why) override;

private:
    int m_fd;
    QByteArray m_temporary;
    QByteArray m_target;
    bool m_durable;
};
