#pragma once

#include "runtime/FileAccess.h"

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

// The system calls the POSIX file access makes, each with its failure turned into a plain reason.
namespace PosixCalls {

// A file as a folder descriptor and a name below it.
struct At
{
    int folder;
    QByteArray name;
};

QString reasonFor(int error);
FileAccess::Why whyFor(int error);
// Sets the reason errno gives; always false, to be returned.
bool failErrno(QString *reason);
QString notPlain();
FileAccess::Stamp stampOf(const struct stat &st);
QByteArray parentOf(const QByteArray &path);
// Opens a file for reading only if it is a plain file; -1 otherwise.
int openPlain(const At &at, struct stat *st, QString *reason);
bool writeAll(int fd, const char *data, qint64 size, QString *reason);
bool closeChecked(int fd, QString *reason);

} // namespace PosixCalls
