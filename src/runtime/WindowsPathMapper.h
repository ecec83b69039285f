#pragma once

#include "runtime/PathMapper.h"

// Windows has the drives and the case-insensitive names itself: paths pass through.
class WindowsPathMapper : public PathMapper
{
public:
    void prepare() override;
    QString resolve(QChar drive, const QStringList &names) override;
    QStringList drives() override;
    void noteCreated(const QString &hostPath) override;
    void noteRemoved(const QString &hostPath) override;
};
