#include "setup/HelpText.h"

#include "session/Session.h"

const QString &HelpText::text()
{
    static const QString help = QStringLiteral(
        "Select Path to Claim File.\r\n"
        "Select the Drive and Directory your software will use when creating the claim file you upload to QRN.\r\n"
        "\r\n"
        "File Path.\r\n"
        "The path you selected above will be displayed here.\r\n"
        "\r\n"
        "Enter File Name.\r\n"
        "Enter the name of the file your software creates. Wild cards are accepted, i.e., *.CLM or ECLAIMS.*\r\n"
        "\r\n"
        "Select File Type.\r\n"
        "Select the type of file (format) your software creates. This tells our system what format to process. "
        "Call QRN if you need help with this.\r\n"
        "\r\n"
        "File Type.\r\n"
        "The File Type you selected will be displayed here.\r\n"
        "\r\n"
        "Site ID.\r\n"
        "Enter the Site ID you were assigned by QRN.\r\n"
        "\r\n"
        "Password.\r\n"
        "Enter the Password you were assigned by QRN.\r\n"
        "\r\n"
        "Re-Enter Password.\r\n"
        "Re-Enter the Password you entered above for spelling check.");
    return help;
}

void HelpText::toggle(Session &session)
{
    SetupWindowFields &window = session.setupWindow();
    if (window.helpShown()) {
        window.hideHelp();
        return;
    }
    // The panel ends lines at LF; each CR LF of the text is one new line.
    window.showHelp(QString(text()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void HelpText::hide(Session &session)
{
    session.setupWindow().hideHelp();
}
