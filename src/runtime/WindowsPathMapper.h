#pragma once

#include "runtime/PathMapper.h"

// Windows has the drives and the case-insensitive names itself: paths pass through.
class WindowsPathMapper : public PathMapper
{
public:
    explicit WindowsPathMapper(FileAccess &files) : m_files(files) {}

    void prepare() override;
    QString resolve(QChar drive, const QStringList &names, FileAccess::Why *why = nullptr) override;
    QStringList drives() override;
    void noteCreated(const QString &hostPath) override;
    void noteRemoved(const QString &hostPath) override;

private:
    FileAccess &m_files;
};
