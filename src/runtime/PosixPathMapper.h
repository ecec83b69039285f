#pragma once

#include "runtime/FoldedName.h"
#include "runtime/PathMapper.h"

#include <QHash>
#include <QSet>

// Drives as Wine lays them out: <driveFolder>/c: links to the folder that stands for drive C.
// Below the drive, names resolve without regard to case.
class PosixPathMapper : public PathMapper
{
public:
    PosixPathMapper(const QString &driveFolder, FileAccess &files);

    void prepare() override;
    HostPath resolve(QChar drive, const QStringList &names, FileAccess::Why *why = nullptr) override;
    HostPath resolveIn(const HostPath &folder, std::span<const QString> names, FileAccess::Why *why) override;
    QStringList drives() override;
    void noteCreated(const HostPath &path) override;
    void noteRemoved(const HostPath &path) override;

private:
    struct Listing
    {
        qint64 stamp = -1;                  // the folder's modification time when it was read
        std::weak_ptr<void> trustedWhile;   // the pin it was checked against the disk under
        // Name -> the name on disk; of several case variants, the least in code-point order,
        // always the same one.
        QHash<FoldedName, QString> byFolded;
        QSet<QString> variants;             // every name that shares its folded form with another

        // The name on disk that name stands for: itself where it is there as given.
        QString spelling(const QString &name) const;
        void add(const QString &name);
        // False when another case variant of name may remain unrecorded.
        bool remove(const QString &name);
    };

    // Empty, with why (never null here), when the folder could not be read.
    QString entryIn(const QString &hostFolder, const QString &name, FileAccess::Why *why);
    const Listing *listing(const QString &hostFolder, FileAccess::Why *why);
    void note(const QString &hostPath, bool created);
    // What a name is; why, when its status could not be read.
    FileAccess::Entry entry(const QString &hostPath, FileAccess::Why *why);
    bool isThere(const QString &hostPath, FileAccess::Why *why);
    qint64 folderStamp(const QString &hostFolder, FileAccess::Why *why);
    bool makePath(const QString &hostFolder);
    void linkBrowser(const QString &driveC, const QString &folder, const QString &file, const QString &target);

    QString m_driveFolder;
    FileAccess &m_files;
    QHash<QString, Listing> m_listings;
    QHash<QString, QString> m_folders;      // drive and folded folder names -> existing host folder
};
