#pragma once

#include <QDateTime>
#include <QString>

// What surrounds the program on a desktop: the person who answers message boxes, the programs it
// starts, the clock, and where the drives are kept. Tests put a scripted host in its place.
class Host
{
public:
    enum class Buttons { Ok, YesNo };

    // Host operations that a test may make fail, as a full disk or a locked file would.
    enum class Operation { Copy, Sync, Delete, Save };

    virtual ~Host() = default;

    // Shows a modal message box titled "QRNWeb" and returns 1 for OK, 6 for Yes, 7 for No.
    virtual int messageBox(const QString &text, Buttons buttons) = 0;

    // Starts a host program detached with exactly one argument; false and a reason when it fails.
    virtual bool startProgram(const QString &program, const QString &argument, QString *error) = 0;

    virtual QDateTime now() const = 0;

    // The folder holding one entry per drive ("c:", "z:", …) on hosts without drive letters.
    virtual QString driveFolder() const = 0;

    // True when the host should refuse this operation on this host path. The desktop never does.
    virtual bool refuses(Operation operation, const QString &hostPath) const;
};
