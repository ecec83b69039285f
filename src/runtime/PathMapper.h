#pragma once

#include "runtime/FileAccess.h"

#include <QString>
#include <QStringList>

#include <memory>

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
    virtual QString resolve(QChar drive, const QStringList &names, FileAccess::Why *why = nullptr) = 0;

    // Drive letters, lower case, with their colon: "c:", "z:".
    virtual QStringList drives() = 0;

    // Tells the mapper that the program itself created or removed this host file.
    virtual void noteCreated(const QString &hostPath) = 0;
    virtual void noteRemoved(const QString &hostPath) = 0;

    // While steady, nobody but the program renames or removes what it resolves, so a name once
    // resolved need not be looked up on disk again; hosts whose resolution costs nothing ignore it.
    virtual void setSteady(bool steady) { Q_UNUSED(steady); }
};

std::unique_ptr<PathMapper> makeNativePathMapper(const QString &driveFolder, FileAccess &files);
