#include "setup/SetupBehaviour.h"

#include "runtime/AnsiCodePage.h"
#include "runtime/Runtime.h"
#include "session/Session.h"
#include "session/TextCase.h"
#include "setup/SetupFile.h"
#include "setup/SoftwareCatalogue.h"

#include <algorithm>

namespace {

using Field = SetupWindowFields::Field;

// Why these values cannot be saved as they stand; empty when they can.
QString unsavable(const SetupValues &values)
{
    const std::pair<const QString &, const char *> fields[] = {
        {values.siteId, "site id"},         {values.software, "software name"},
        {values.format, "software file format"}, {values.folder, "claim folder"},
        {values.fileName, "claim file name"},
    };
    // The file holds one byte a character: anything else would come back as another name.
    for (const auto &[value, field] : fields) {
        const auto outside = std::find_if(value.cbegin(), value.cend(), [](QChar c) { return !AnsiCodePage::holds(c); });
        if (outside != value.cend()) {
            return QStringLiteral("the %1 holds the character %2, which the setup file cannot hold; please replace it")
                .arg(QLatin1String(field), *outside);
        }
    }
    if (values.fileName.contains(u'\\') || values.fileName.contains(u'/') || values.fileName.contains(u':')) {
        return QStringLiteral("the claim file name %1 holds a folder; choose the folder with the folder list and enter "
                              "only the file name or pattern").arg(values.fileName);
    }
    return {};
}

} // namespace

SetupHooks SetupBehaviour::hooks()
{
    return {&SetupBehaviour::load, &SetupFile::read};
}

void SetupBehaviour::load(Session &session, SetupWindowFields &window)
{
    // A field's Change runs its handler whoever wrote it, the program or the person at the window.
    QObject::connect(&window, &SetupWindowFields::changed, &window, [&session](Field field) {
        switch (field) {
        case Field::SiteId: siteIdChanged(session); break;
        case Field::Format: formatChanged(session); break;
        case Field::SoftwareList: SoftwareCatalogue::pick(session); break;
        case Field::Drive: driveChanged(session); break;
        case Field::Dir: folderChanged(session); break;
        default: break;   // SftwrText, FilePathText and FileNameText have no Change of consequence
        }
    });
    SoftwareCatalogue::fill(window);
}

void SetupBehaviour::siteIdChanged(Session &session)
{
    Uservar &v = session.vars();
    v.SiteId = TextCase::lower(session.setupWindow().text(Field::SiteId));
    if (v.SiteId.size() == 4)
        session.mainWindow().setSiteId(TextCase::upper(v.SiteId));
}

void SetupBehaviour::formatChanged(Session &session)
{
    SetupWindowFields &window = session.setupWindow();
    const QString format = window.text(Field::Format);
    if (format.size() == 3)
        window.setText(Field::Format, TextCase::upper(format));
}

void SetupBehaviour::driveChanged(Session &session)
{
    Runtime &rt = session.runtime();
    SetupWindowFields &window = session.setupWindow();
    const QString drive = window.drive().left(2);
    const DosPath folder = rt.currentFolderOf(drive);
    if (!rt.isReadableFolder(folder)) {
        // Back to the drive the folder list still shows, so that both keep pointing at a readable folder.
        window.showDrive(window.folder().left(2));
        rt.messageBox(QStringLiteral("Drive %1 cannot be read.").arg(drive.toUpper()));
        return;
    }
    window.setFolder(rt.displayPath(folder));
}

void SetupBehaviour::folderChanged(Session &session)
{
    SetupWindowFields &window = session.setupWindow();
    window.setText(Field::Folder, window.folder());
}

void SetupBehaviour::saveSetup(Session &session)
{
    Runtime &rt = session.runtime();
    Uservar &v = session.vars();
    const SetupWindowFields &window = session.setupWindow();
    const SetupValues values{v.SiteId, window.text(Field::Software), window.text(Field::Format),
                                   window.text(Field::Folder), window.text(Field::FileName)};
    QString error = unsavable(values);
    if (!error.isEmpty()) {
        rt.messageBox(QStringLiteral("The setup was not saved: %1. The earlier setup is unchanged.").arg(error));
        return;
    }
    v.SetupWriteFileNo = qint16(rt.freeFile());
    const QString path = v.BaseDir + QStringLiteral("setup.fil");
    bool saved = rt.openForReplace(v.SetupWriteFileNo, rt.path(path), &error);
    if (saved) {
        for (const QString &line : SetupFile::lines(values))
            saved = saved && rt.writeLine(v.SetupWriteFileNo, line, &error);
        // The file is replaced only here, and only whole: a failed write leaves the earlier setup.
        if (saved)
            saved = rt.closeFile(v.SetupWriteFileNo, &error);
        else
            rt.discardFile(v.SetupWriteFileNo);
    }
    rt.closeAll();
    if (!saved) {
        rt.messageBox(QStringLiteral("The setup was not saved: %1 could not be written: %2. The earlier setup is "
                                     "unchanged.").arg(path, error));
    }
}

void SetupBehaviour::exit(Session &session)
{
    session.setupWindow().hideWindow();
    session.mainWindow().showWindow();
}

void SetupBehaviour::unload(Session &session)
{
    session.runtime().endProgram();
}
