#pragma once

#include "runtime/FileAccess.h"

#include <QString>

#include <string>

#include <windows.h>

// The Windows API calls the Windows file access makes, each with its failure turned into a plain reason.
namespace WindowsCalls {

QString reasonFor(DWORD error);
// Sets the reason GetLastError() gives; always false, to be returned.
bool failLast(QString *reason);
std::wstring native(const QString &hostPath);
// Why a name a folder lists cannot be sent as a claim: Win32 would open a device or another name.
QString unsendable(const QString &name);
HANDLE openHandle(const QString &hostPath, DWORD access, DWORD disposition, DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE);
// The stamp of an open file; empty when the system cannot tell it.
FileAccess::Stamp stampOf(HANDLE handle);
// A plain file on a disk: no folder, no device, no pipe. INVALID_HANDLE_VALUE otherwise.
HANDLE openPlain(const QString &hostPath, BY_HANDLE_FILE_INFORMATION *info, QString *reason, DWORD access = GENERIC_READ,
                 DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE);
bool writeAll(HANDLE handle, const char *data, qint64 size, QString *reason);

} // namespace WindowsCalls
