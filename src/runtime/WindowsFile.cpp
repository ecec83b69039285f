#include "runtime/WindowsFile.h"

#include "runtime/WindowsCalls.h"

#include <algorithm>

using namespace WindowsCalls;

WindowsFile::WindowsFile(HANDLE handle, QString temporary, QString target, bool durable)
    : m_handle(handle)
    , m_temporary(std::move(temporary))
    , m_target(std::move(target))
    , m_durable(durable)
{
}

WindowsFile::~WindowsFile()
{
    if (m_handle != INVALID_HANDLE_VALUE)
        CloseHandle(m_handle);
    if (!m_temporary.isEmpty())
        DeleteFileW(native(m_temporary).c_str());
}

qint64 WindowsFile::read(char *data, qint64 size, Why *why)
{
    DWORD got = 0;
    if (!ReadFile(m_handle, data, DWORD(std::min<qint64>(size, 1 << 20)), &got, nullptr)) {
        failLast(why);
        return -1;
    }
    return got;
}

bool WindowsFile::write(const char *data, qint64 size, Why *why)
{
    return writeAll(m_handle, data, size, why);
}

bool WindowsFile::finish(Why *why)
{
    HANDLE handle = std::exchange(m_handle, INVALID_HANDLE_VALUE);
    if (m_durable && !FlushFileBuffers(handle)) {
        failLast(why);
        CloseHandle(handle);
        return false;
    }
    if (m_temporary.isEmpty())
        return CloseHandle(handle) || failLast(why);
    if (!FlushFileBuffers(handle)) {
        failLast(why);
        CloseHandle(handle);
        return false;
    }
    if (!CloseHandle(handle)
        || !MoveFileExW(native(m_temporary).c_str(), native(m_target).c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return failLast(why);
    m_temporary.clear();
    return true;
}
