#pragma once

#include "runtime/PathMapper.h"

#include <QHash>

// Windows has the drives and the case-insensitive names itself: paths pass through.
class WindowsPathMapper : public PathMapper
{
public:
    explicit WindowsPathMapper(FileAccess &files) : m_files(files) {}

    void prepare() override;
    HostPath resolve(QChar drive, const QStringList &names, FileAccess::Why *why = nullptr) override;
    HostPath resolveIn(const HostPath &folder, std::span<const QString> names, FileAccess::Why *why) override;
    QStringList drives() override;
    void noteCreated(const HostPath &) override {}
    void noteRemoved(const HostPath &) override {}

private:
    FileAccess &m_files;
};
