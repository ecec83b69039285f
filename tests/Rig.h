#pragma once

#include "FaultyFiles.h"
#include "TestHost.h"
#include "runtime/Runtime.h"
#include "session/Session.h"
#include "setup/SetupBehaviour.h"
#include "windows/DesktopWindows.h"
#include "windows/Form1.h"
#include "windows/Form3.h"

#include <QByteArray>
#include <QListWidget>
#include <QTemporaryDir>

#include <memory>

using namespace Qt::StringLiterals;

// Drive C, and the drive folder that holds it where the system has no drive letters of its own, and
// a program run over them.
class Rig
{
public:
    // A practice that sends every file of C:\CLAIMIN as format NS2.
    static const QByteArray practice;

    Rig();
    // Ends the run; fails the test if anything of the drives is still held open then.
    ~Rig();

    // Names written apart by spaces, as the test tables give them.
    static QStringList list(const QString &spaced) { return spaced.split(u' ', Qt::SkipEmptyParts); }

    // Host path of a drive C path written with slashes: "qrn/claims/ECLAIM.NS2".
    QString onC(const QString &path) const { return m_driveC + path; }
    void write(const QString &path, const QByteArray &bytes = QByteArrayLiteral("claim data\r\n"));
    QByteArray read(const QString &path) const;
    bool exists(const QString &path) const;
    QStringList files(const QString &folder) const;
    // Makes a drive ("d:") stand for a folder below the temporary directory, made unless told not to
    // (a drive that cannot be read); the host path (ending in '/') of the drive's root.
    QString addDrive(const QString &drive, const QString &folder, bool made = true);

    // What differs between the systems under the program, one implementation each (RigPosix.cpp,
    // RigWindows.cpp, picked in tests/CMakeLists.txt).
    struct System
    {
        bool caseSensitive;          // two names that differ only in case name two files
        const char *driveC;          // drive C as the drive list shows it
        const char *noDriveFolder;   // why a first start lays out no drives, or nothing
    };
    static const System system;
    // A file name as the system stores it: Windows drops trailing dots and blanks.
    static QString stored(const QString &name);
    // Makes an entry of the kind its name begins with (PIPE, DEVICE, DANGLING, a device name such
    // as AUX, or a plain file) at path, spelt in the system's bytes; or says why this system has none.
    static QString makeEntry(const QByteArray &path, const QByteArray &name);
    static bool entryExists(const QByteArray &path);
    static void removeEntry(const QByteArray &path);
    // Holds a file open for writing, as the practice software does while it writes a claim (on
    // Windows letting others read it but neither change nor remove it), while the handle lives.
    static std::shared_ptr<void> holdOpen(const QString &path, QString *cannot);
    // Gives an existing file or folder a second name, as an administrator's link does; or says why not.
    static QString link(const QString &existing, const QString &name);
    // A disk that fills while a file is written back: the next fsync fails; or says why this system cannot.
    static QString failNextFlush();
    void installBrowser(const QString &path = u"program files/mozilla firefox/firefox.exe"_s) { write(path, "#!/bin/sh\n"); }

    // A browser, this setup file (none if empty) and these claims in C:\CLAIMIN, each holding what
    // content gives for its name ("claim NAME" without it); then the start, with the boxes it showed forgotten.
    bool startWith(const QByteArray &setup, const QStringList &claims = {}, QByteArray (*content)(const QString &) = nullptr);
    // Starts the program as a user would: the main window's Load, then the window.
    bool start() { return session->start(); }
    // Ends this run and starts the program again over the same drives; the new run's disk does what
    // before says at each of its operations while the program starts (see FaultyFiles::before).
    bool restart(std::function<void(FaultyFiles::Op, const QString &)> before = {});
    Form1 &main() { return windows->main(); }
    // The setup window, which a test reaches once a person has opened it.
    Form3 &setup();
    // A field of the setup window as the program holds it, shown or not.
    QString setupField(SetupWindowFields::Field field) { return session->setupWindow().text(field); }
    template<typename T = QWidget>
    T *find(const char *name);
    void click(const char *button, Qt::MouseButton with = Qt::LeftButton);
    // Types each "BoxName=text" into the setup window, opened for it and closed again as a person would.
    void edit(const QStringList &edits);
    bool logOpen() const { return runtime->isOpen(session->vars().LogFileNo); }
    static void pick(QListWidget *list, int row);

    // Plays a scenario: steps apart by "; ", each a verb and its words.
    // - Laying out the drives, before "start" (put after them when missing): setup BYTES,
    //   claims NAMES, write PATH [TEXT], mkdir PATH, link PATH NAME, entry PATH KIND (as makeEntry makes
    //   it), drive D: (the drive it is started from).
    // - What a person or the machine does: click, type, set, key, pick, close, answer, remove, restart,
    //   nolinks (the file system refuses links from now on), unlistable PATH (a folder cannot be read).
    // - What is then seen: told or asked (the next box, OK or Yes/No, begins so), opened (the next
    //   browser start: program and argument), files (a folder's entries), read, history (a line of it
    //   holds the words), field, shown, hidden, log open|closed, run ended|going.
    // A box or browser start that no step checked fails the scenario.
    void play(const QString &script);

    QTemporaryDir dir;
    QString driveFolder = dir.filePath(u"dosdevices"_s);
    std::unique_ptr<TestHost> host = std::make_unique<TestHost>(driveFolder);
    FaultyFiles *disk = nullptr;   // the runtime's files, which a test can make fail
    std::unique_ptr<Runtime> runtime;
    std::unique_ptr<Session> session;
    std::unique_ptr<DesktopWindows> windows;

private:
    void makeRun();
    // Drive C emptied of what a test may have left; on Windows the real C:, which only a scratch
    // drive of the tests' own may be.
    QString layDriveC();

    QString m_driveC;
};

template<typename T>
T *Rig::find(const char *name)
{
    // Both windows have a Command1: the setup window's is meant while it is shown.
    QWidget *order[] = {&main(), windows->setup()};
    if (order[1] && order[1]->isVisible())
        std::swap(order[0], order[1]);
    for (QWidget *window : order) {
        if (!window)
            continue;
        if (window->objectName() == QLatin1String(name))
            return qobject_cast<T *>(window);
        if (T *found = window->findChild<T *>(QLatin1String(name)))
            return found;
    }
    qFatal("no control %s", name);
    return nullptr;
}
