#pragma once

#include <QString>

// A path on the host's file system, as the path mapper resolved it. The program's own paths
// (DosPath) reach the disk only through such a resolution, never as text taken for a host path.
class HostPath
{
public:
    HostPath() = default;
    explicit HostPath(QString native) : m_native(std::move(native)) {}

    const QString &native() const { return m_native; }
    bool isEmpty() const { return m_native.isEmpty(); }

private:
    QString m_native;
};
