#include "setup/SetupBehaviour.h"

#include "runtime/Runtime.h"
#include "session/Session.h"
#include "session/TextCase.h"
#include "setup/SetupFile.h"
#include "windows/DriveSelector.h"
#include "windows/FolderSelector.h"
#include "windows/Form1.h"
#include "windows/Form3.h"

#include <QLineEdit>

void SetupBehaviour::siteIdChanged(Session &session)
{
    Uservar &v = session.vars();
    v.SiteId = TextCase::lower(session.setupWindow().SiteIDText()->text());
    if (v.SiteId.size() == 4)
        session.mainWindow().YourSiteID()->setText(TextCase::upper(v.SiteId));
}

void SetupBehaviour::formatChanged(Session &session)
{
    QLineEdit *format = session.setupWindow().SftwrFormatText();
    if (format->text().size() == 3)
        format->setText(TextCase::upper(format->text()));
}

void SetupBehaviour::driveChanged(Session &session)
{
    Runtime &rt = session.runtime();
    Form3 &window = session.setupWindow();
    const QString drive = window.Drive1()->currentText().left(2);
    const QString folder = rt.currentFolderOf(drive);
    if (!rt.isReadableFolder(folder)) {
        // Back to the drive the folder list still shows, so that both keep pointing at a readable folder.
        window.Drive1()->showDrive(window.Dir1()->path().left(2));
        rt.messageBox(QStringLiteral("Drive %1 cannot be read.").arg(drive.toUpper()));
        return;
    }
    window.Dir1()->setPath(rt.displayPath(folder));
}

void SetupBehaviour::folderChanged(Session &session)
{
    Form3 &window = session.setupWindow();
    window.FilePathText()->setText(window.Dir1()->path());
}

void SetupBehaviour::saveSetup(Session &session)
{
    Runtime &rt = session.runtime();
    Uservar &v = session.vars();
    Form3 &window = session.setupWindow();

    v.SetupWriteFileNo = qint16(rt.freeFile());
    QString error;
    bool saved = rt.openForReplace(v.SetupWriteFileNo, v.BaseDir + QStringLiteral("setup.fil"), &error);
    if (saved) {
        const QStringList lines = SetupFile::lines({v.SiteId, window.SftwrText()->text(), window.SftwrFormatText()->text(),
                                                    window.FilePathText()->text(), window.FileNameText()->text()});
        for (const QString &line : lines)
            saved = saved && rt.writeLine(v.SetupWriteFileNo, line, &error);
        // The file is replaced only here, and only whole: a failed write leaves the earlier setup.
        saved = rt.closeFile(v.SetupWriteFileNo, saved ? &error : nullptr) && saved;
    }
    rt.closeAll();
    if (!saved)
        rt.messageBox(QStringLiteral("The setup was not saved: %1. The earlier setup is unchanged.").arg(error));
}

void SetupBehaviour::exit(Session &session)
{
    session.setupWindow().hide();
    session.mainWindow().show();
}

void SetupBehaviour::unload(Session &session)
{
    session.runtime().endProgram();
}
