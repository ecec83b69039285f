#pragma once

#include "runtime/FileAccess.h"

#include <QByteArray>
#include <QString>

#include <functional>

#include <dirent.h>
#include <sys/stat.h>

// The system calls the POSIX file access makes, each with its failure turned into a cause and a plain reason.
namespace PosixCalls {

// A file as a folder descriptor and a name below it.
struct At
{
    int folder;
    QByteArray name;
};

QString reasonFor(int error);
FileAccess::Why whyFor(int error);
// Sets the cause and reason errno gives; always false, to be returned.
bool failErrno(Why *why);
QString notPlain();
FileAccess::Stamp stampOf(const struct stat &st);
QByteArray parentOf(const QByteArray &path);
// Opens a file for reading only if it is a plain file; -1 otherwise.
int openPlain(const At &at, struct stat *st, Why *why);
// Each entry of a folder but "." and "..", with the folder's descriptor; the errno that stopped the
// walk (opening the folder or reading it), 0 when every entry was seen.
int forEachEntry(const QByteArray &folder, const std::function<void(int fd, const dirent &entry)> &each);
bool writeAll(int fd, const char *data, qint64 size, Why *why);
bool closeChecked(int fd, Why *why);

} // namespace PosixCalls
