#include "setup/SoftwareCatalogue.h"

#include "session/Session.h"
#include "session/TextCase.h"
#include "windows/Form3.h"

#include <QLineEdit>
#include <QListWidget>

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

void SoftwareCatalogue::fill(QListWidget *list)
{
    list->clear();
    for (const Entry &entry : catalogue())
        list->addItem(entry.listed);
}

void SoftwareCatalogue::pick(Session &session)
{
    Uservar &v = session.vars();
    Form3 &window = session.setupWindow();
    QListWidget *list = window.SftwrList();

    const QList<QListWidgetItem *> selected = list->selectedItems();
    v.ScratchIndex = qint16(selected.isEmpty() ? -1 : list->row(selected.first()));
    if (v.ScratchIndex <= 0)
        return;
    v.SelectedSoftware = list->item(v.ScratchIndex)->text();
    window.SftwrText()->setText(list->item(v.ScratchIndex)->text());

    const QString key = TextCase::lower(TextCase::trimRight(v.SelectedSoftware));
    for (const Entry &entry : catalogue()) {
        if (!entry.key.isEmpty() && entry.key == key) {
            window.SftwrFormatText()->setText(entry.format);
            window.FilePathText()->setText(entry.folder);
            window.FileNameText()->setText(entry.fileName);
            return;
        }
    }
}
