#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

// What the tests need of the system under the program that differs between Linux and Windows.
// One implementation per system; tests/CMakeLists.txt picks it.
namespace TestSystem {

// Why the program has no drive folder to lay out on this system, or empty where it has one.
QString noDriveFolder();
// Drive C as the drive list shows it: on Windows with the volume label the tests' prefix gives it.
QString driveCShown();

// Host folder (ending in '/') that stands for drive C in a rig over this scratch folder, empty of
// everything a test may have left. On Linux a folder linked into the drive folder; on Windows the
// real C:, which only a scratch drive of the tests' own may be.
QString layDriveC(const QString &scratch, const QString &driveFolder);
// Host folder (ending in '/') for the root of drive ("d:"), which stands for folder below scratch;
// a folder that does not exist makes a drive that cannot be read.
QString addDrive(const QString &scratch, const QString &driveFolder, const QString &drive, const QString &folder);

// Makes an entry of the kind its name begins with (PIPE, DEVICE, DANGLING, a device name
// such as AUX or CON, or a plain file)
// at path, bytes as the system spells them; or says why this system can hold no such entry.
QString makeEntry(const QByteArray &path, const QByteArray &name);
bool entryExists(const QByteArray &path);
void removeEntry(const QByteArray &path);

// Holds a file open, as a program that lets others read it but neither change nor remove it does, for
// as long as the handle lives; or says why this system has no such thing.
std::shared_ptr<void> holdOpen(const QString &path, QString *cannot);

// A file name as the system stores it: Windows drops trailing dots and blanks.
QString stored(const QString &name);

// Whether two names that differ only in case name two files.
bool namesAreCaseSensitive();

// A small file system of its own mounted over folder ("size=64k", "ro,size=64k"); or why not.
QString mountSmallDisk(const QString &folder, const QString &options);
void unmountSmallDisk(const QString &folder);

} // namespace TestSystem
