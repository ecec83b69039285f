#pragma once

#include <QDateTime>
#include <QString>

// What surrounds the program on a desktop: the person who answers message boxes, the programs it
// starts, the clock, and where the drives are kept. Tests put a scripted host in its place.
class Host
{
public:
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok = 1, Yes = 6, No = 7 };

    virtual ~Host() = default;

    // Shows a modal message box titled "QRNWeb"; details, when given, can be unfolded below the text.
    virtual Answer messageBox(const QString &text, Buttons buttons, const QString &details) = 0;

    // Starts a host program detached with exactly one argument; false and a plain reason when it fails.
    virtual bool startProgram(const QString &program, const QString &argument, QString *error) = 0;

    // How far work that the person waits for has come; done reaching total (or no total) ends it.
    // A %1 in the text stands for the number of the item under way (done + 1), a %2 for the total:
    // filled in only when the text is shown, not for each of thousands of items.
    virtual void progress(const QString &text, qint64 done, qint64 total) = 0;

    virtual QDateTime now() const = 0;
    // The same clock in milliseconds, for timing work: asked at every step, so it must cost little.
    virtual qint64 msecsNow() const { return now().toMSecsSinceEpoch(); }

    // The folder holding one entry per drive ("c:", "z:", …) on hosts without drive letters.
    virtual QString driveFolder() const = 0;
};
