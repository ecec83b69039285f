#include "setup/SoftwareCatalogue.h"

#include "session/Session.h"
#include "session/TextCase.h"

#include <vector>

namespace {

using Entry = SoftwareCatalogue::Entry;

Entry software(const char *listed, const char *format, const char *folder, const char *fileName)
{
    const QString text = QString::fromLatin1(listed);
    return {text, TextCase::lower(text), QString::fromLatin1(format), QString::fromLatin1(folder),
            QString::fromLatin1(fileName)};
}

Entry header(const char *listed)
{
    return {QString::fromLatin1(listed), {}, {}, {}, {}};
}

const std::vector<Entry> &catalogue()
{
    static const std::vector<Entry> rows = {
        header("----Dental Software----"),
        software("DBMS", "DEN", "????????", "???"),
        software("Dental 2000", "NS2", "C:\\CDSDATA\\ECLAIM", "ECLAIM.*"),
        software("Dentrix", "DTX", "C:\\QRN\\USER", "PDF"),
        software("EagleSoft", "EGL", "C:\\QRN\\USER", "PDF"),
        software("EasyDent", "EZD", "C:\\QRN\\USER", "PDF"),
        software("JOEY", "ECP", "C:\\QRN\\USER", "ECP"),
        software("OpenDental", "83D", "C:\\QRN\\USER", "*.*"),
        software("SoftDent", "SDW", "C:\\SOFTDENT", "*.REP"),
        software("Other Dental Software", "???", "????????", "???"),
        header("----Medical Software----"),
        software("Medisoft", "CM5", "C:\\QRN\\USER", "ECLAIMS.*"),
        software("MedLook", "CM5", "C:\\CLAIMS", "CLAIMS.*"),
        software("LyTech", "CM5", "C:\\PROGRAM FILES\\LYTEC SYSTEMS\\LYTEC MEDICAL 2001", "ECLAIMS.*"),
        software("HandyWorks", "83P", "C:\\HWW", "HWEBILL.DAT"),
        software("HealthPac", "83P", "????????", "???"),
        software("TriTech", "83P", "C:\\QRN\\??ER", "HWEBILL.??T"),
        software("Other Medical Software", "???", "????????", "???"),
    };
    return rows;
}

} // namespace

std::span<const Entry> SoftwareCatalogue::entries()
{
    return catalogue();
}

void SoftwareCatalogue::fill(SetupWindowFields &window)
{
    QStringList listed;
    for (const Entry &entry : catalogue())
        listed << entry.listed;
    window.setSoftwareEntries(listed);
}

void SoftwareCatalogue::pick(Session &session)
{
    Uservar &v = session.vars();
    using Field = SetupWindowFields::Field;
    SetupWindowFields &window = session.setupWindow();
    v.ScratchIndex = qint16(window.selectedSoftware());
    if (v.ScratchIndex <= 0)
        return;
    v.SelectedSoftware = window.softwareEntry(v.ScratchIndex);
    window.setText(Field::Software, window.softwareEntry(v.ScratchIndex));

    const QString key = TextCase::lower(TextCase::trimRight(v.SelectedSoftware));
    for (const Entry &entry : catalogue()) {
        if (!entry.key.isEmpty() && entry.key == key) {
            window.setText(Field::Format, entry.format);
            window.setText(Field::Folder, entry.folder);
            window.setText(Field::FileName, entry.fileName);
            return;
        }
    }
}
