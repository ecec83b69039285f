#pragma once

#include "runtime/FileAccess.h"
#include "runtime/HeldByKey.h"
#include "runtime/HostPath.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <span>

// Maps the program's drive-letter paths onto the host's file system, asking the disk through the
// program's one file access. One implementation per OS; makeNativePathMapper(), defined by the one
// the build compiles, picks it.
class PathMapper
{
public:
    virtual ~PathMapper() = default;

    // Lays out what a first start on this host needs (drive links, browser links).
    virtual void prepare() = 0;

    // Host path of a drive letter and the folder and file names below its root. Names that exist
    // in another letter case resolve to the existing entry; names that do not exist stay as given.
    // Empty when the drive does not exist, or when a folder on the way could not be read (why says
    // why, then).
    virtual HostPath resolve(QChar drive, const QStringList &names, FileAccess::Why *why = nullptr) = 0;
    // The same for names below a host folder resolved before.
    virtual HostPath resolveIn(const HostPath &folder, std::span<const QString> names, FileAccess::Why *why) = 0;

    // Drive letters, lower case, with their colon: "c:", "z:".
    virtual QStringList drives() = 0;

    // Tells the mapper that the program itself created or removed this host file.
    virtual void noteCreated(const HostPath &path) = 0;
    virtual void noteRemoved(const HostPath &path) = 0;

    // While the handle lives, nobody but the program adds, renames or removes names in this folder,
    // so that what was read of it once need not be read from the disk again.
    std::shared_ptr<void> pin(const HostPath &folder);

protected:
    // The pin of a host folder; expired when none holds it.
    std::weak_ptr<void> pinOf(const QString &hostFolder) const { return m_pins.find(hostFolder); }

private:
    HeldByKey<QString, void> m_pins;
};

std::unique_ptr<PathMapper> makeNativePathMapper(const QString &driveFolder, FileAccess &files);
