#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <memory>

class HostFile;

// Open text files named by small numbers, one byte a character in the ANSI code page, lines ending
// in CR LF. A file read that begins with a UTF-8 or UTF-16 byte-order mark is read as what it is.
class FileTable
{
public:
    enum class Mode { Input, Output, Replace, Append };

    FileTable();
    ~FileTable();

    // The lowest number from 1 to 255 that names no open file; 0 when all are taken.
    int freeNumber() const;
    // A number from 1 to 255 that names no open file.
    bool isFree(int number) const;
    bool isOpen(int number) const;
    QString hostPath(int number) const;

    // Takes an open host file under a free number.
    void add(int number, std::unique_ptr<HostFile> file, Mode mode, const QString &hostPath);
    // Reads one line; it ends at CR LF, a lone CR or a lone LF, none of which is part of it.
    bool readLine(int number, QString *line);
    // True at the end of the file, and after a read that failed.
    bool atEnd(int number);
    // Why reading stopped before the end of the file; empty while it has not.
    QString readFailure(int number) const;
    bool writeLine(int number, const QString &text, QString *error);
    // Lines written from now on are UTF-8, as Notepad's "UTF-8" saves them: every character kept.
    void writeUnicode(int number);
    // The file read began with a byte-order mark (so far as it has been read).
    bool isUnicode(int number) const;
    // Closes the file; a replacing output replaces its target only now, and only whole.
    bool close(int number, QString *error);
    // Closes without replacing the target of a replacing output.
    void discard(int number);
    void closeAll();

private:
    struct Entry;

    Entry *entry(int number) const;
    bool fill(Entry &e);

    std::array<std::unique_ptr<Entry>, 256> m_entries;
};
