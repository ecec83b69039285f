#include "Rig.h"
#include "windows/DesktopHost.h"
#include "windows/FolderSelector.h"

#include <QFontInfo>
#include <QMessageBox>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

namespace {

// The real desktop under a clock of the test's.
struct ClockedDesktop : DesktopHost
{
    const QDateTime start = QDateTime(QDate(2026, 3, 2), QTime(9, 0));
    QDateTime at = start;
    QDateTime now() const override { return at; }
};

QWidget *window(Rig &rig, const QString &name)
{
    return name == QLatin1String("Form1") ? static_cast<QWidget *>(&rig.main()) : &rig.setup();
}

// Where a caption of this control needs room, or an empty rectangle for a control without one.
QRect captionNeeds(QWidget *control, const QFont &font)
{
    const QFontMetrics metrics(font);
    if (auto *label = qobject_cast<QLabel *>(control)) {
        const QRect room = label->contentsRect();
        const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        return metrics.boundingRect(room, flags, label->text()).translated(control->pos());
    }
    if (auto *button = qobject_cast<QPushButton *>(control)) {
        const QSize text = metrics.size(Qt::TextShowMnemonic, button->text()).grownBy({3, 1, 3, 1});   // the frame
        return QRect(control->geometry().center() - QPoint(text.width() / 2, text.height() / 2), text);
    }
    return {};
}

} // namespace

// The two windows as a person sees and reaches them, and the desktop around them.
class TestWindows : public QObject
{
    Q_OBJECT

private slots:
    void controlsFitTheirWindow_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("help");
        QTest::addColumn<QString>("flat");   // labels drawn like text boxes
        const QString flat = u"Label2 Label4 Label5 Label6 Label10"_s;
        QTest::newRow("main window") << "Form1" << "QRNWeb Version 1.3" << false << QString();
        QTest::newRow("setup window") << "Form3" << "QRNWeb Setup" << false << flat;
        QTest::newRow("setup window with help") << "Form3" << "QRNWeb Setup" << true << flat;
    }

    // Guards the layout: every control named, inside its window, clear of the others, its caption
    // whole in the font drawn, buttons bold, labels painted as designed; the help panel over the left
    // column only, its switches in reach.
    void controlsFitTheirWindow()
    {
        QFETCH(QString, form);
        QFETCH(QString, title);
        QFETCH(bool, help);
        QFETCH(QString, flat);
        Rig rig;
        QVERIFY(rig.startWith(Rig::practice));
        rig.click(form == QLatin1String("Form1") ? "CmdQRNWebSite" : "CmndSetup");
        if (help)
            rig.click("HelpCommand");
        QWidget *shown = window(rig, form);
        QVERIFY(shown->isVisible());
        QCOMPARE(shown->objectName(), form);
        QCOMPARE(shown->windowTitle(), title);

        QList<QWidget *> controls;
        for (QWidget *control : shown->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (control->isVisible())
                controls << control;
        }
        // Every control is named once, so that each is found by its name.
        QStringList shownNames;
        for (QWidget *control : std::as_const(controls))
            shownNames << control->objectName();
        QCOMPARE(shownNames.removeDuplicates(), 0);
        QCOMPARE(shownNames.contains(u"HelpPanel"_s), help);
        // As designed: the main window's eleven controls, the setup window's eighteen and the help panel.
        QCOMPARE(shownNames.size(), form == u"Form1" ? 11 : 18 + help);
        for (QWidget *control : controls) {
            const QString name = control->objectName();
            QVERIFY2(!name.isEmpty(), control->metaObject()->className());
            QVERIFY2(shown->rect().contains(control->geometry()), qPrintable(name));
            // Placed as designed, none left where a new widget starts.
            QVERIFY2(control->pos() != QPoint(0, 0), qPrintable(name));
            const QRect needs = captionNeeds(control, control->font());
            QVERIFY2(control->geometry().contains(needs) || needs.isNull(), qPrintable(name));
            // Narrowed only where it must be: as wide as the window's face, the caption would not fit.
            if (QFont wider = control->font(); wider.stretch() != shown->font().stretch()) {
                wider.setStretch(shown->font().stretch());
                QVERIFY2(!control->geometry().contains(captionNeeds(control, wider)), qPrintable(name));
            }
            QCOMPARE(QFontInfo(control->font()).family(), control->font().family());
            if (auto *button = qobject_cast<QPushButton *>(control))
                QVERIFY2(!button->isDefault() && !button->autoDefault() && button->font().bold(), qPrintable(name));
            if (auto *label = qobject_cast<QLabel *>(control)) {
                const bool asBox = Rig::list(flat).contains(name);
                QCOMPARE(label->frameShape() == QFrame::Box, asBox);
                QVERIFY2(label->autoFillBackground(), qPrintable(name));
                QCOMPARE(label->palette().color(QPalette::Window), shown->palette().color(asBox ? QPalette::Base : QPalette::Button));
                // The main window's framed labels centre their text; every other label begins at its top left.
                const bool centred = form == u"Form1" && name != u"Label3";
                QCOMPARE(label->alignment(), centred ? Qt::Alignment(Qt::AlignCenter) : Qt::AlignLeft | Qt::AlignTop);
            }
            if (auto *box = qobject_cast<QLineEdit *>(control))
                QVERIFY2(!box->accessibleName().isEmpty(), qPrintable(name));
            // Only captions are bold: what a person enters or picks is drawn plain.
            if (!qobject_cast<QPushButton *>(control) && !qobject_cast<QLabel *>(control))
                QVERIFY2(!control->font().bold(), qPrintable(name));
            for (QWidget *other : controls) {
                const bool underHelp = other->objectName() == QLatin1String("HelpPanel")
                    && other->geometry().right() < rig.setup().Dir1()->geometry().left();
                if (other != control && !underHelp && control->objectName() != QLatin1String("HelpPanel"))
                    QVERIFY2(!control->geometry().intersects(other->geometry()), qPrintable(name + u' ' + other->objectName()));
            }
        }
        // Tab goes from the site id through the main window's buttons in their designed order.
        if (form == u"Form1") {
            QStringList order;
            QWidget *at = rig.find("YourSiteID");
            while (order.size() < 6) {
                at = at->nextInFocusChain();
                if ((at->focusPolicy() & Qt::TabFocus) && at->isVisible())
                    order << at->objectName();
            }
            QCOMPARE(order, (QStringList{u"SendClaims"_s, u"GetReports"_s, u"Command1"_s, u"Command2"_s, u"CmdQRNWebSite"_s, u"CmndSetup"_s}));
        }
        if (help) {
            for (const char *name : {"HelpCommand", "Label10", "Label5"})
                QVERIFY2(controls.contains(rig.find<QWidget>(name)), name);
            QVERIFY(rig.setup().HelpPanel()->focusPolicy() == Qt::NoFocus && rig.setup().HelpPanel()->isReadOnly());
            for (const char *covered : {"SiteIDText", "SftwrList", "SftwrText", "SftwrFormatText"})
                QVERIFY2(rig.setup().HelpPanel()->geometry().contains(rig.find(covered)->geometry()), covered);
        }
    }

    void messageBoxes_data()
    {
        QTest::addColumn<bool>("yesNo");
        QTest::addColumn<QString>("details");
        QTest::addColumn<int>("pressed");   // the button the person presses
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("answeredAt");   // ms on the clock after the box appeared
        QTest::newRow("OK") << false << "" << int(QMessageBox::Ok) << 1 << 400;
        QTest::newRow("OK, with details") << false << "A.CLM\nB.CLM" << int(QMessageBox::Ok) << 1 << 400;
        QTest::newRow("Yes") << true << "" << int(QMessageBox::Yes) << 6 << 400;
        QTest::newRow("No") << true << "" << int(QMessageBox::No) << 7 << 400;
        QTest::newRow("No, the clock set back an hour") << true << "" << int(QMessageBox::No) << 7 << -3600000;
    }

    // Guards the real message box: its title, its buttons, its details, and the answer the person gave.
    void messageBoxes()
    {
        QFETCH(bool, yesNo);
        QFETCH(QString, details);
        QFETCH(int, pressed);
        QFETCH(int, answer);
        QFETCH(int, answeredAt);
        ClockedDesktop host;
        QString seen;
        // Asked while the program is busy: the box stands under the ordinary pointer, and the busy
        // one comes back for the work that follows.
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        bool busyOverTheBox = true;
        QTimer poll;   // the box comes after the input that was waiting is dropped
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            poll.stop();
            busyOverTheBox = QGuiApplication::overrideCursor() != nullptr;
            seen = box->windowTitle() + u'|' + box->text() + u'|' + box->detailedText() + u'|'
                + QString::number(int(box->standardButtons()), 16);
            // A press still meant for what came before, in the box's first moments, is not an answer.
            QWidget *button = box->button(QMessageBox::StandardButton(pressed));
            for (int ms : {0, 399}) {
                host.at = host.start.addMSecs(ms);
                QTest::keyClick(box, Qt::Key_Space);
                QTest::keyClick(box, Qt::Key_Return);
                QTest::mouseClick(button, Qt::LeftButton);
                QVERIFY(box->isVisible());
            }
            host.at = host.start.addMSecs(answeredAt);
            QTest::mouseClick(button, Qt::LeftButton);
        });
        poll.start(1);
        QCOMPARE(int(host.messageBox(u"Shown"_s, yesNo ? Host::Buttons::YesNo : Host::Buttons::Ok, details)), answer);
        const auto buttons = yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::StandardButtons(QMessageBox::Ok);
        QCOMPARE(seen, u"QRNWeb|Shown|"_s + details + u'|' + QString::number(int(buttons), 16));
        QVERIFY(!busyOverTheBox);
        QVERIFY(QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor);
        QGuiApplication::restoreOverrideCursor();
    }

    void browserGetsOneArgument_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::newRow("shell words") << u"https://x/ecp/ab 12;rm -rf $HOME"_s;
        // Windows splits a command line at blanks and takes quotes and the backslashes before them.
        QTest::newRow("quotes and backslashes") << u"https://x/ecp/a\"b \\\"c\\\\ d\\"_s;
    }

    // Guards the browser start: one argument, passed as it stands, never through a shell, to a
    // program whose path holds blanks.
    void browserGetsOneArgument()
    {
        QFETCH(QString, argument);
        QTemporaryDir dir;
        const QString recorder = QStandardPaths::findExecutable(u"recorder"_s, {QCoreApplication::applicationDirPath()});
        const QString browser = dir.filePath(u"program files/the browser"_s) + recorder.mid(recorder.lastIndexOf(u"/recorder"_s) + 9);
        QVERIFY(QDir().mkpath(dir.filePath(u"program files"_s)) && QFile::copy(recorder, browser));
        DesktopHost host;
        QVERIFY(host.startProgram(browser, argument, nullptr));
        QFile seen(browser + u".seen"_s);
        QTRY_VERIFY(seen.exists());
        QVERIFY(seen.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(seen.readAll()), u"1\n"_s + argument);
        QString error;
        QVERIFY(!host.startProgram(dir.filePath(u"gone"_s), u"x"_s, &error));
        QCOMPARE(error, u"the system could not start it"_s);
    }

    // Guards Enter on a button: held down it presses once; released, the next Enter presses again,
    // and so does the first Enter after the button lost the focus while Enter was down; the space
    // bar still presses it.
    void enterHeldDown()
    {
        Rig rig;
        QVERIFY(rig.startWith(Rig::practice));
        QWidget *reports = rig.main().findChild<QWidget *>(u"GetReports"_s);
        for (int i = 0; i < 3; ++i)
            QTest::keyPress(reports, Qt::Key_Return);
        QCOMPARE(rig.host->starts.size(), 1);
        QTest::keyRelease(reports, Qt::Key_Return);
        QTest::keyPress(reports, Qt::Key_Enter);
        QCOMPARE(rig.host->starts.size(), 2);
        QFocusEvent lost(QEvent::FocusOut);
        QApplication::sendEvent(reports, &lost);
        QTest::keyPress(reports, Qt::Key_Enter);
        QCOMPARE(rig.host->starts.size(), 3);
        // The space bar presses it as it presses every button.
        QTest::keyRelease(reports, Qt::Key_Enter);
        QTest::keyClick(reports, Qt::Key_Space);
        QCOMPARE(rig.host->starts.size(), 4);
    }

    // Guards Exit ending the program's event loop, not only closing its files.
    void exitEndsTheEventLoop()
    {
        Rig rig;
        QVERIFY(rig.startWith(Rig::practice));
        QTimer::singleShot(0, [&] { rig.click("Command1"); });
        QTimer stuck;   // a run Exit did not end
        connect(&stuck, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        stuck.start(10000);
        QCOMPARE(QCoreApplication::exec(), 0);
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
