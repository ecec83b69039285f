#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <memory>

class QFileDevice;

// Open text files named by small numbers, one byte a character (Latin-1), lines ending in CR LF.
class FileTable
{
public:
    enum class Mode { Input, Output, AtomicOutput };

    FileTable();
    ~FileTable();

    // The lowest number from 1 to 255 that names no open file; 0 when all are taken.
    int freeNumber() const;
    bool isOpen(int number) const;
    QString hostPath(int number) const;
    // True for an atomic output, which replaces its target only when closed.
    bool replaces(int number) const;

    bool open(int number, const QString &hostPath, Mode mode, QString *error);
    // Reads one line; it ends at CR LF, a lone CR or a lone LF, none of which is part of it.
    bool readLine(int number, QString *line);
    bool atEnd(int number);
    bool writeLine(int number, const QString &text, QString *error);
    // Closes the file; an atomic output replaces its target only now, and only whole.
    bool close(int number, QString *error);
    // Closes without replacing the target of an atomic output.
    void discard(int number);
    void closeAll();

private:
    struct Entry
    {
        std::unique_ptr<QFileDevice> device;
        Mode mode = Mode::Input;
        QByteArray buffer;
        qsizetype position = 0;
    };

    Entry *entry(int number);
    const Entry *entry(int number) const;
    bool fill(Entry &e);

    std::array<std::unique_ptr<Entry>, 256> m_entries;
};
