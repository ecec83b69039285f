#pragma once

#include "runtime/Host.h"

#include <QDateTime>

#include <memory>

class QProgressDialog;

// The real desktop: Qt message boxes, detached processes, the system clock.
class DesktopHost : public Host
{
public:
    // No busy pointer stands over the box, and no click or key that came while the program was
    // busy answers it unread; the pointer comes back for whatever work still follows.
    Answer messageBox(const QString &text, Buttons buttons, const QString &details) final;
    bool startProgram(const QString &program, const QString &argument, QString *error) override;
    // Work that has lasted a second shows how far it is, in a window of its own that takes no input.
    void progress(const QString &text, qint64 done, qint64 total) override;
    QDateTime now() const override;
    qint64 msecsNow() const override;
    QString driveFolder() const override;

    DesktopHost();
    ~DesktopHost() override;

protected:
    // Shows the box and waits for the person's answer.
    virtual Answer ask(const QString &text, Buttons buttons, const QString &details);

private:
    qint64 m_workStarted = -1;
    qint64 m_shownAt = 0;   // when the progress window was last drawn
    std::unique_ptr<QProgressDialog> m_progress;
};
