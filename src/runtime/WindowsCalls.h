#pragma once

#include "runtime/FileAccess.h"

#include <QString>

#include <functional>
#include <string>

#include <windows.h>

// The Windows API calls the Windows file access makes, each with its failure turned into a cause and a plain reason.
namespace WindowsCalls {

QString reasonFor(DWORD error);
FileAccess::Why whyFor(DWORD error);
// Sets the cause and reason GetLastError() gives; always false, to be returned.
bool failLast(Why *why);
std::wstring native(const QString &hostPath);
// Why a name a folder lists cannot be sent as a claim: Win32 would open a device or another name.
QString unsendable(const QString &name);
HANDLE openHandle(const QString &hostPath, DWORD access, DWORD disposition, DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE);
// The serial number of the volume a path lies on, as its drive or mounted folder names it: one volume
// has one serial, whichever drive letter reaches it (Wine answers an open file with the serial of any
// drive on its Unix device, which differs from one call to the next). 0 when it cannot be told.
DWORD volumeOf(const QString &hostPath);
// The stamp of an open file on the volume of that serial; empty when the system cannot tell it.
FileAccess::Stamp stampOf(HANDLE handle, DWORD volume);
// A plain file on a disk: no folder, no device, no pipe. INVALID_HANDLE_VALUE otherwise.
HANDLE openPlain(const QString &hostPath, BY_HANDLE_FILE_INFORMATION *info, Why *why, DWORD access = GENERIC_READ,
                 DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE);
// Each entry of a folder but "." and ".."; the error that stopped the walk (finding the folder or
// reading it), ERROR_SUCCESS when every entry was seen.
DWORD forEachEntry(const QString &hostFolder, const std::function<void(const WIN32_FIND_DATAW &entry)> &each);
// Each drive as the drive list shows it: "c:", and the volume's label when it has one.
QStringList drives();
bool writeAll(HANDLE handle, const char *data, qint64 size, Why *why);

} // namespace WindowsCalls
