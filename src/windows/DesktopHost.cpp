#include "windows/DesktopHost.h"

#include "windows/PendingInput.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <QProgressDialog>
#include <QProcess>
#include <QStandardPaths>

namespace {

// A key still being pressed for what came before (a second Space on Send Claims) would close the
// box before anyone read it: the box takes no input in its first moments on screen.
class QuietStart : public QObject
{
public:
    QuietStart(const Host &clock, QWidget *box) : clock(clock), box(box)
    {
        QApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == box && event->type() == QEvent::Show)
            shownAt = clock.now();
        if (!PendingInput::isInput(event) || !watched->isWidgetType())
            return false;
        if (static_cast<QWidget *>(watched)->window() != box)
            return false;
        // A clock set back while the box is shown must not lock it.
        const qint64 shownFor = shownAt.isValid() ? shownAt.msecsTo(clock.now()) : 0;
        return shownFor >= 0 && shownFor < quietMs;
    }

    static constexpr int quietMs = 400;

private:
    const Host &clock;
    QWidget *box;
    QDateTime shownAt;
};

} // namespace

Host::Answer DesktopHost::messageBox(const QString &text, Buttons buttons, const QString &details)
{
    QList<QCursor> busy;
    while (const QCursor *cursor = QGuiApplication::overrideCursor()) {
        busy.prepend(*cursor);
        QGuiApplication::restoreOverrideCursor();
    }
    if (!busy.isEmpty())
        PendingInput::discard();
    const Answer answer = ask(text, buttons, details);
    for (const QCursor &cursor : std::as_const(busy))
        QGuiApplication::setOverrideCursor(cursor);
    return answer;
}

Host::Answer DesktopHost::ask(const QString &text, Buttons buttons, const QString &details)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("QRNWeb"), text);
    // Without buttons the box has an Ok alone.
    if (buttons == Buttons::YesNo)
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    if (!details.isEmpty())
        box.setDetailedText(details);
    QuietStart quiet(*this, &box);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Ok;
    }
}

DesktopHost::DesktopHost() = default;
DesktopHost::~DesktopHost() = default;

void DesktopHost::progress(const QString &text, qint64 done, qint64 total)
{
    if (total <= 0 || done >= total) {
        m_progress.reset();
        m_workStarted = -1;
        return;
    }
    const qint64 at = msecsNow();
    if (m_workStarted < 0)
        m_workStarted = at;
    if (!m_progress && at - m_workStarted < 1000)
        return;
    // For a person's eyes: a few times a second is enough, and drawing costs more than a claim's copy.
    if (m_progress && qAbs(at - m_shownAt) < 200)
        return;
    m_shownAt = at;
    if (!m_progress) {
        m_progress = std::make_unique<QProgressDialog>();
        m_progress->setObjectName(QStringLiteral("Progress"));
        m_progress->setWindowTitle(QStringLiteral("QRNWeb"));
        m_progress->setCancelButton(nullptr);   // what is under way is finished, or the claims are not safe
        m_progress->setAutoClose(false);
        m_progress->setAutoReset(false);
        m_progress->setMinimumDuration(0);
        m_progress->setMinimumWidth(360);
        m_progress->show();
    }
    m_progress->setLabelText(text.contains(u"%1") ? text.arg(done + 1).arg(total) : text);
    m_progress->setMaximum(int(qMin<qint64>(total, INT_MAX)));
    m_progress->setValue(int(qMin<qint64>(done, INT_MAX)));
    // Drawn now; input that comes meanwhile is dropped, as all that comes while the program works.
    PendingInput::discard();
}

bool DesktopHost::startProgram(const QString &program, const QString &argument, QString *error)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments({argument});
    if (process.startDetached())
        return true;
    // QProcess's own text names the host's program path; the caller names the browser itself.
    if (error)
        *error = QStringLiteral("the system could not start it");
    return false;
}

QDateTime DesktopHost::now() const
{
    return QDateTime::currentDateTime();
}

qint64 DesktopHost::msecsNow() const
{
    return QDateTime::currentMSecsSinceEpoch();
}

QString DesktopHost::driveFolder() const
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/qrnweb/dosdevices");
}
