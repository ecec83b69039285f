#include "Rig.h"

#include "runtime/AnsiCodePage.h"
#include "session/Addresses.h"
#include "setup/HelpText.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMetaEnum>
#include <QPlainTextEdit>
#include <QStringDecoder>
#include <QTest>

#include <optional>

const QByteArray Rig::practice("site-id:ab12\r\nsiteswr:SoftDent\r\nsitefmt:NS2\r\nsitepat:C:\\CLAIMIN\r\nsitefil:*.*\r\n");

Rig::Rig()
    : m_driveC(layDriveC())
{
    makeRun();
}

Rig::~Rig()
{
    windows.reset();
    session.reset();
    runtime.reset();
    // Nothing of the drives is held open once the run is gone (where the system lists it: Linux).
    for (const QFileInfo &held : QDir(u"/proc/self/fd"_s).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        if (held.symLinkTarget().startsWith(dir.path()))
            QTest::qFail(qPrintable(u"held open after the run: "_s + held.symLinkTarget()), __FILE__, __LINE__);
    }
}

void Rig::write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(onC(path)).path());
    QFile file(onC(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray Rig::read(const QString &path) const
{
    QFile file(onC(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("<missing>");
}

bool Rig::exists(const QString &path) const
{
    return QFileInfo::exists(onC(path));
}

QStringList Rig::files(const QString &folder) const
{
    return QDir(onC(folder)).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

bool Rig::startWith(const QByteArray &setup, const QStringList &claims, QByteArray (*content)(const QString &))
{
    installBrowser();
    if (!setup.isEmpty())
        write(u"qrn/setup.fil"_s, setup);
    QDir().mkpath(onC(u"claimin"_s));
    for (const QString &claim : claims)
        write(u"claimin/"_s + claim, content ? content(claim) : "claim " + claim.toLatin1());
    const bool started = start();
    host->messages.clear();
    return started;
}

void Rig::makeRun()
{
    auto files = std::make_unique<FaultyFiles>();
    disk = files.get();
    runtime = std::make_unique<Runtime>(*host, std::move(files));
    session = std::make_unique<Session>(*runtime, SetupBehaviour::hooks());
    windows = std::make_unique<DesktopWindows>(*session);
}

bool Rig::restart(std::function<void(FaultyFiles::Op, const QString &)> before)
{
    windows.reset();
    session.reset();
    makeRun();
    disk->before = std::move(before);
    const bool started = start();
    disk->before = nullptr;
    return started;
}

void Rig::click(const char *button, Qt::MouseButton with)
{
    QTest::mouseClick(find(button), with);
}

Form3 &Rig::setup()
{
    if (!windows->setup())
        qFatal("the setup window was never opened");
    return *windows->setup();
}

void Rig::edit(const QStringList &edits)
{
    const bool opened = !edits.isEmpty() && !session->setupWindow().isShown();
    if (opened)
        click("CmndSetup");
    for (const QString &edit : edits) {
        const qsizetype equals = edit.indexOf(u'=');
        find<QLineEdit>(qPrintable(edit.left(equals)))->setText(edit.mid(equals + 1));
    }
    if (opened)
        click("Command1");
}

void Rig::pick(QListWidget *list, int row)
{
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

void Rig::play(const QString &script)
{
    QStringList steps = script.split(u"; "_s);
    const QStringList laying{u"setup"_s, u"claims"_s, u"write"_s, u"mkdir"_s, u"link"_s, u"entry"_s, u"drive"_s};
    qsizetype first = 0;
    while (first < steps.size() && laying.contains(steps.at(first).section(u' ', 0, 0)))
        ++first;
    if (!steps.contains(u"start"_s))
        steps.insert(first, u"start"_s);
    for (QString step : std::as_const(steps)) {
        step.replace(u"$portal"_s, PortalAddress).replace(u"$web"_s, WebSiteAddress);
        // A path with blanks is quoted.
        const QString verb = step.section(u' ', 0, 0), rest = step.section(u' ', 1);
        const bool quoted = rest.startsWith(u'"');
        const QString words = quoted ? rest.section(u'"', 2).trimmed() : rest.section(u' ', 1);
        const QByteArray name = (quoted ? rest.section(u'"', 1, 1) : rest.section(u' ', 0, 0)).toUtf8();
        std::optional<QString> seen;   // what a check sees
        QString expected = rest;       // and what the scenario says it sees
        if (verb == u"setup") {
            write(u"qrn/setup.fil"_s, AnsiCodePage::encode(rest));
        } else if (verb == u"claims") {
            for (const QString &claim : list(rest))
                write(u"claimin/"_s + claim, "claim " + claim.toLatin1());
        } else if (verb == u"write") {
            write(QString::fromUtf8(name), words.isEmpty() ? QByteArray("claim data\r\n") : words.toUtf8());
        } else if (verb == u"mkdir") {
            QDir().mkpath(onC(rest));
        } else if (verb == u"link") {
            if (const QString cannot = link(onC(QString::fromLatin1(name)), onC(words)); !cannot.isEmpty())
                QSKIP(qPrintable(cannot));
        } else if (verb == u"entry") {
            if (const QString cannot = makeEntry(QFile::encodeName(onC(QString::fromLatin1(name))), words.toLatin1()); !cannot.isEmpty())
                QSKIP(qPrintable(cannot));
        } else if (verb == u"drive") {   // the drive the program is started from
            addDrive(rest, rest.left(1) + u"_drive"_s);
            QVERIFY(runtime->changeDrive(rest) && runtime->currentFolder().text().startsWith(rest));
        } else if (verb == u"unlistable") {   // the folder cannot be read, as a share that is down
            disk->fail(FaultyFiles::Op::List, rest);
            disk->fail(FaultyFiles::Op::Names, rest);
        } else if (verb == u"unresolvable") {   // only as a name in it is looked up
            if (*system.noDriveFolder)
                QSKIP("the system looks names up itself, without listing their folder");
            disk->fail(FaultyFiles::Op::Names, rest);
        } else if (verb == u"nolinks") {   // the drives' file system refuses a second name for a file
            disk->fail(FaultyFiles::Op::Link, {});
        } else if (verb == u"remove") {   // a file, or a folder and all it holds
            QFileInfo(onC(rest)).isDir() ? QDir(onC(rest)).removeRecursively() : QFile::remove(onC(rest));
        } else if (verb == u"start" || verb == u"restart") {
            installBrowser();
            QDir().mkpath(onC(u"claimin"_s));
            QVERIFY2(verb == u"start" ? start() : restart(), "the program ended at its start");
        } else if (verb == u"click") {   // with the left button, or as told; the busy pointer goes with the work
            click(name, words == u"right" ? Qt::RightButton : Qt::LeftButton);
            QVERIFY2(!QGuiApplication::overrideCursor(), "the busy pointer stayed after the click");
        } else if (verb == u"type") {
            QTest::keyClicks(find(name), words);
        } else if (verb == u"set") {
            find<QLineEdit>(name)->setText(words);
        } else if (verb == u"key") {
            bool known = false;
            const int key = QMetaEnum::fromType<Qt::Key>().keyToValue(("Key_" + words).toLatin1(), &known);
            QVERIFY2(known, qPrintable(step));
            QTest::keyClick(find(name), Qt::Key(key));
        } else if (verb == u"pick") {
            pick(find<QListWidget>(name), words.toInt());
        } else if (verb == u"close") {
            find(name)->close();
        } else if (verb == u"answer") {
            host->answers << Host::Answer(rest.toInt());
        } else if (verb == u"told" || verb == u"asked") {
            const bool box = !host->messages.isEmpty();
            seen = box ? (host->messageButtons.takeFirst() == Host::Buttons::YesNo ? u"asked "_s : u"told "_s)
                             + host->messages.takeFirst().left(rest.size())
                       : u"no box"_s;
            if (box)
                host->details.removeFirst();
            expected = step;
        } else if (verb == u"opened") {
            const TestHost::Start start = host->starts.value(0);
            seen = host->starts.isEmpty() ? u"no browser start; told "_s + host->messages.join(u'|') : QFileInfo(start.program).fileName() + u' ' + start.argument;
            if (!host->starts.isEmpty())
                host->starts.removeFirst();
        } else if (verb == u"files") {
            seen = QDir(onC(QString::fromUtf8(name))).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name).join(u' ');
            expected = words;
        } else if (verb == u"read") {
            seen = AnsiCodePage::decode(read(QString::fromUtf8(name)));
            expected = words;
        } else if (verb == u"history") {   // a line of the history holds the words; its byte-order mark shows
            const QString history = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom)(read(u"qrn/log/history.txt"_s));
            seen = history.split(u"\r\n"_s).filter(rest).isEmpty() ? history : rest;
        } else if (verb == u"field") {
            QWidget *field = find(name);
            auto *panel = qobject_cast<QPlainTextEdit *>(field);
            seen = panel ? panel->toPlainText() : find<QLineEdit>(name)->text();
            expected = words == u"$help" ? QString(HelpText::text()).replace(u"\r\n"_s, u"\n"_s) : words;
        } else if (verb == u"shown" || verb == u"hidden") {
            seen = find(name)->isVisible() ? u"shown"_s : u"hidden"_s;
            expected = verb;
        } else if (verb == u"log") {
            seen = logOpen() ? u"open"_s : u"closed"_s;
        } else if (verb == u"run") {
            seen = runtime->hasEnded() ? u"ended"_s : u"going"_s;
        } else {
            qFatal("unknown step %s", qPrintable(step));
        }
        if (seen && !QTest::qCompare(*seen, expected, qPrintable(step), "the scenario", __FILE__, __LINE__))
            return;
        if (QTest::currentTestFailed())
            return;
    }
    QVERIFY2(host->messages.isEmpty(), qPrintable(u"a box left unchecked: "_s + host->messages.value(0)));
    QVERIFY2(host->starts.isEmpty(), qPrintable(u"a browser start left unchecked: "_s + host->starts.value(0).argument));
}
