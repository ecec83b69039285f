#include "Rig.h"
#include "windows/DriveSelector.h"
#include "windows/FolderSelector.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

void openSetup(Rig &rig)
{
    rig.installBrowser();
    rig.start();
    rig.host->messages.clear();
    rig.click("CmndSetup");
}

void openFolder(FolderSelector *dir, const QString &text)
{
    for (int i = 0; i < dir->count(); ++i) {
        if (dir->item(i)->text().trimmed() == text) {
            dir->setCurrentRow(i);
            QTest::keyClick(dir, Qt::Key_Return);
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no folder ") + text));
}

} // namespace

class TestSetupWindow : public QObject
{
    Q_OBJECT

private slots:
    void siteIdTypedACharacterAtATime();
    void formatCodeTurnsUpperAtThreeCharacters();
    void folderSelectorFillsTheClaimFolder();
    void driveSelectorMovesTheFolderList();
    void unreadableDriveIsRefused();
    void newPracticeSetsUpAndRestarts();
    void enterAndEscapeDoNothing();
    void windowProperties();
    void controls_data();
    void controls();
    void tabOrder();
};

void TestSetupWindow::siteIdTypedACharacterAtATime()
{
    Rig rig;
    openSetup(rig);
    QLineEdit *siteId = rig.setup().SiteIDText();
    QLineEdit *shown = rig.main().YourSiteID();
    const QStringList expected{"a", "ab", "ab1"};
    for (const QString &text : expected) {
        QTest::keyClick(siteId, text.back().toLatin1());
        QCOMPARE(rig.session->vars().SiteId, text);
        QVERIFY(shown->text().isEmpty());
    }
    QTest::keyClick(siteId, Qt::Key_2);
    QCOMPARE(rig.session->vars().SiteId, QStringLiteral("ab12"));
    QCOMPARE(shown->text(), QStringLiteral("AB12"));
    QCOMPARE(siteId->text(), QStringLiteral("ab12"));

    QTest::keyClick(siteId, Qt::Key_3);
    QCOMPARE(rig.session->vars().SiteId, QStringLiteral("ab123"));
    QCOMPARE(shown->text(), QStringLiteral("AB12"));

    siteId->selectAll();
    QTest::keyClick(siteId, Qt::Key_Delete);
    QVERIFY(rig.session->vars().SiteId.isEmpty());
    QCOMPARE(shown->text(), QStringLiteral("AB12"));
    QTest::mouseClick(rig.setup().findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
    rig.click("SendClaims");
    QCOMPARE(rig.host->messages, QStringList{QStringLiteral("Please Enter Your Site ID in Setup")});
}

void TestSetupWindow::formatCodeTurnsUpperAtThreeCharacters()
{
    Rig rig;
    openSetup(rig);
    QLineEdit *format = rig.setup().SftwrFormatText();
    QTest::keyClicks(format, QStringLiteral("sd"));
    QCOMPARE(format->text(), QStringLiteral("sd"));
    QTest::keyClick(format, Qt::Key_W);
    QCOMPARE(format->text(), QStringLiteral("SDW"));
    format->setText(QStringLiteral("sdwx"));
    QCOMPARE(format->text(), QStringLiteral("sdwx"));
    format->end(false);
    QTest::keyClick(format, Qt::Key_Backspace);
    QCOMPARE(format->text(), QStringLiteral("SDW"));
}

void TestSetupWindow::folderSelectorFillsTheClaimFolder()
{
    Rig rig;
    QDir().mkpath(rig.onC(QStringLiteral("SOFTDENT")));
    rig.write(QStringLiteral("qrn/setup.fil"), "sitepat:C:\\STORED\r\n");
    openSetup(rig);
    FolderSelector *dir = rig.setup().Dir1();
    QCOMPARE(dir->path(), QStringLiteral("C:\\qrn"));
    QCOMPARE(rig.setup().FilePathText()->text(), QStringLiteral("C:\\STORED"));

    openFolder(dir, QStringLiteral("C:\\"));
    QCOMPARE(rig.setup().FilePathText()->text(), QStringLiteral("C:\\"));
    openFolder(dir, QStringLiteral("SOFTDENT"));
    QCOMPARE(rig.setup().FilePathText()->text(), QStringLiteral("C:\\SOFTDENT"));
    const QPoint root = dir->visualItemRect(dir->item(0)).center();
    QTest::mouseClick(dir->viewport(), Qt::LeftButton, {}, root);
    QCOMPARE(dir->path(), QStringLiteral("C:\\SOFTDENT"));   // a single click opens nothing
    QTest::mouseDClick(dir->viewport(), Qt::LeftButton, {}, root);
    QCOMPARE(dir->path(), QStringLiteral("C:\\"));
    QCOMPARE(rig.runtime->currentFolder(), QStringLiteral("c:\\qrn"));
    QCOMPARE(rig.session->vars().ClaimPath, QStringLiteral("C:\\STORED\\"));
}

void TestSetupWindow::driveSelectorMovesTheFolderList()
{
    Rig rig;
    QDir().mkpath(rig.dir.filePath(QStringLiteral("d_drive/Data")));
    QFile::link(rig.dir.filePath(QStringLiteral("d_drive")), rig.driveFolder + QStringLiteral("/d:"));
    openSetup(rig);
    DriveSelector *drive = rig.setup().Drive1();
    QCOMPARE(drive->currentText().left(2), QStringLiteral("c:"));
    drive->setCurrentIndex(drive->findText(QStringLiteral("d:"), Qt::MatchStartsWith));
    QCOMPARE(rig.setup().Dir1()->path(), QStringLiteral("D:\\"));
    QCOMPARE(rig.setup().FilePathText()->text(), QStringLiteral("D:\\"));
    openFolder(rig.setup().Dir1(), QStringLiteral("Data"));
    QCOMPARE(rig.setup().FilePathText()->text(), QStringLiteral("D:\\Data"));
    QCOMPARE(rig.runtime->currentFolder(), QStringLiteral("c:\\qrn"));
    QVERIFY(rig.host->messages.isEmpty());
}

void TestSetupWindow::unreadableDriveIsRefused()
{
    Rig rig;
    QFile::link(rig.dir.filePath(QStringLiteral("gone")), rig.driveFolder + QStringLiteral("/e:"));
    openSetup(rig);
    DriveSelector *drive = rig.setup().Drive1();
    rig.setup().FilePathText()->setText(QStringLiteral("C:\\KEEP"));
    drive->setCurrentIndex(drive->findText(QStringLiteral("e:"), Qt::MatchStartsWith));
    QCOMPARE(rig.host->messages, QStringList{QStringLiteral("Drive E: cannot be read.")});
    QCOMPARE(drive->currentText().left(2), QStringLiteral("c:"));
    QCOMPARE(rig.setup().Dir1()->path(), QStringLiteral("C:\\qrn"));
    QCOMPARE(rig.setup().FilePathText()->text(), QStringLiteral("C:\\KEEP"));
}

void TestSetupWindow::newPracticeSetsUpAndRestarts()
{
    Rig rig;
    openSetup(rig);
    QListWidget *list = rig.setup().SftwrList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(8)).center());
    QTest::keyClicks(rig.setup().SiteIDText(), QStringLiteral("ab12"));
    rig.click("CmndSaveSetup");
    QVERIFY(rig.host->messages.isEmpty());
    QVERIFY(rig.setup().isVisible());
    QCOMPARE(rig.read(QStringLiteral("qrn/setup.fil")),
             QByteArray("site-id:ab12\r\nsiteswr:SoftDent\r\nsitefmt:SDW\r\nsitepat:C:\\SOFTDENT\r\nsitefil:*.REP\r\n"));
    QVERIFY(rig.session->vars().ClaimPath.isEmpty());   // the new folder waits for the next start

    rig.write(QStringLiteral("SoftDent/CLAIMS.REP"));
    QVERIFY(rig.restart());
    QCOMPARE(rig.setup().SftwrText()->text(), QStringLiteral("SOFTDENT"));
    QCOMPARE(rig.main().YourSiteID()->text(), QStringLiteral("AB12"));
    QCOMPARE(rig.session->vars().ClaimPath, QStringLiteral("C:\\SOFTDENT\\"));
    rig.click("SendClaims");
    QCOMPARE(rig.files(QStringLiteral("qrn/claims")), QStringList{QStringLiteral("CLAIMS.SDW")});
    QVERIFY(rig.files(QStringLiteral("SoftDent")).isEmpty());
}

void TestSetupWindow::enterAndEscapeDoNothing()
{
    Rig rig;
    openSetup(rig);
    for (QWidget *focus : {static_cast<QWidget *>(rig.setup().SiteIDText()), static_cast<QWidget *>(rig.setup().SftwrList())}) {
        QTest::keyClick(focus, Qt::Key_Return);
        QTest::keyClick(focus, Qt::Key_Escape);
    }
    QVERIFY(!rig.exists(QStringLiteral("qrn/setup.fil")));
    QVERIFY(rig.setup().isVisible());
    QVERIFY(!rig.runtime->hasEnded());
}

void TestSetupWindow::windowProperties()
{
    Rig rig;
    if (rig.main().logicalDpiX() != 96)
        QSKIP("the layout figures are for a 96 DPI screen");
    openSetup(rig);
    QCOMPARE(rig.setup().windowTitle(), QStringLiteral("QRNWeb Setup"));
    QCOMPARE(rig.setup().size(), QSize(622, 394));
    QCOMPARE(rig.setup().font().pointSizeF(), 9.75);
    QVERIFY(rig.setup().font().bold());
}

void TestSetupWindow::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<qreal>("points");
    QTest::addColumn<bool>("bold");

    QTest::newRow("Dir1") << "Dir1" << "" << QRect(5520, 2160, 3495, 1890) << 8.25 << false;
    QTest::newRow("Label5") << "Label5" << "Select the disk drive and folder where your software saves the claim file."
                            << QRect(5520, 960, 3495, 495) << 8.25 << true;
    QTest::newRow("HelpCommand") << "HelpCommand" << "Help" << QRect(6720, 240, 735, 375) << 8.25 << true;
    QTest::newRow("Label10") << "Label10" << "Claim File Name" << QRect(5520, 4920, 1815, 375) << 9.75 << true;
    QTest::newRow("FileNameText") << "FileNameText" << "" << QRect(7440, 4920, 1575, 405) << 9.75 << false;
    QTest::newRow("CmndSaveSetup") << "CmndSaveSetup" << "Save Setup" << QRect(2520, 4920, 1455, 375) << 9.75 << true;
    QTest::newRow("SftwrFormatText") << "SftwrFormatText" << "" << QRect(3000, 4080, 855, 375) << 9.75 << false;
}

void TestSetupWindow::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QRect, twips);
    QFETCH(qreal, points);
    QFETCH(bool, bold);

    Rig rig;
    if (rig.main().logicalDpiX() != 96)
        QSKIP("the layout figures are for a 96 DPI screen");
    QWidget *control = rig.setup().findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), Rig::designed(twips));
    QCOMPARE(control->font().pointSizeF(), points);
    QCOMPARE(control->font().bold(), bold);
    if (auto *button = qobject_cast<QPushButton *>(control)) {
        QCOMPARE(button->text(), text);
        QVERIFY(!button->isDefault() && !button->autoDefault());
    } else if (auto *label = qobject_cast<QLabel *>(control)) {
        QCOMPARE(label->text(), text);
        const bool flat = QStringList{"Label2", "Label4", "Label5", "Label6", "Label10"}.contains(name);
        QCOMPARE(label->frameShape(), flat ? QFrame::Box : QFrame::NoFrame);
    } else if (auto *box = qobject_cast<QLineEdit *>(control)) {
        QVERIFY(!box->accessibleName().isEmpty());
        QVERIFY(box->text().isEmpty());
    }
}

void TestSetupWindow::tabOrder()
{
    Rig rig;
    openSetup(rig);
    QApplication::setActiveWindow(&rig.setup());
    QVERIFY(QTest::qWaitForWindowActive(&rig.setup()));
    QTRY_VERIFY(QApplication::focusWidget());
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Drive1"));
    QStringList visited;
    for (int i = 0; i < 11; ++i) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    visited << QApplication::focusWidget()->objectName();
    QCOMPARE(visited, (QStringList{"Drive1", "Dir1", "SftwrList", "SiteIDText", "HelpCommand", "Command1", "FileNameText",
                                   "FilePathText", "SftwrText", "CmndSaveSetup", "SftwrFormatText", "Drive1"}));
}

QTEST_MAIN(TestSetupWindow)
#include "tst_setupwindow.moc"
