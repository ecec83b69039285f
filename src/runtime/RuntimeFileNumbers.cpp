// The runtime's text files under file numbers, as the program's own code reads and writes them.
#include "runtime/Failure.h"
#include "runtime/PathMapper.h"
#include "runtime/Runtime.h"


int Runtime::freeFile() const
{
    return m_files.freeNumber();
}

bool Runtime::open(int number, const DosPath &path, FileTable::Mode mode, QString *error)
{
    if (!m_files.isFree(number))
        return failWith(error, QStringLiteral("file number %1 is not free").arg(number));
    const HostPath host = hostPath(path);
    if (host.isEmpty())
        return failWith(error, notFound());
    const bool existed = kindOf(host) != FileAccess::Kind::None;
    static constexpr FileAccess::Mode how[] = {FileAccess::Mode::Read, FileAccess::Mode::Write, FileAccess::Mode::Replace,
                                               FileAccess::Mode::Append};
    Why why;
    std::unique_ptr<HostFile> file = m_access->open(host.native(), how[int(mode)], &why);
    if (!told(file != nullptr, why, error))
        return false;
    if (mode != FileTable::Mode::Input && !existed)
        m_paths->noteCreated(host);
    m_files.add(number, std::move(file), mode, host.native());
    return true;
}

bool Runtime::openForInput(int number, const DosPath &path, QString *error)
{
    return open(number, path, FileTable::Mode::Input, error);
}

bool Runtime::openForOutput(int number, const DosPath &path, QString *error)
{
    return open(number, path, FileTable::Mode::Output, error);
}

bool Runtime::openForAppend(int number, const DosPath &path, QString *error)
{
    return open(number, path, FileTable::Mode::Append, error);
}

bool Runtime::openForReplace(int number, const DosPath &path, QString *error)
{
    return open(number, path, FileTable::Mode::Replace, error);
}

bool Runtime::readLine(int number, QString *line)
{
    return m_files.readLine(number, line);
}

bool Runtime::atEnd(int number)
{
    return m_files.atEnd(number);
}

QString Runtime::readFailure(int number) const
{
    return m_files.readFailure(number);
}

bool Runtime::writeLine(int number, const QString &text, QString *error)
{
    return m_files.writeLine(number, text, error);
}

bool Runtime::isOpen(int number) const
{
    return m_files.isOpen(number);
}

bool Runtime::closeFile(int number, QString *error)
{
    const HostPath host(m_files.hostPath(number));
    const bool existed = host.isEmpty() || kindOf(host) != FileAccess::Kind::None;
    const bool ok = m_files.close(number, error);
    if (ok && !existed)
        m_paths->noteCreated(host);
    return ok;
}

void Runtime::discardFile(int number)
{
    m_files.discard(number);
}

void Runtime::closeAll()
{
    for (int number = 1; number <= 255; ++number)
        closeFile(number);
}
