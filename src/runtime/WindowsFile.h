#pragma once

#include "runtime/FileAccess.h"

#include <QString>

#include <windows.h>

// An open file handle. A replacing output is written under a temporary name and takes the
// target's name only when finished whole.
class WindowsFile : public HostFile
{
public:
    // durable: finish() puts what was written on disk before it closes.
    explicit WindowsFile(HANDLE handle, QString temporary = {}, QString target = {}, bool durable = false);
    ~WindowsFile() override;

    qint64 read(char *data, qint64 size, Why *why) override;
    bool write(const char *data, qint64 size, Why *why) override;
    bool finish(Why *why) override;

private:
    HANDLE m_handle;
    QString m_temporary;
    QString m_target;
    bool m_durable;
};
