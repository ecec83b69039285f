#pragma once

#include <QString>

// The session variables, shared by both windows for the whole run.
struct Uservar
{
    QString BaseDir;           // "c:\qrn" early in start-up, then "c:\qrn\"
    QString BrowserPath;       // the browser found at start-up, as the candidate list spells it
    QString SiteId;            // always lower case
    QString ClaimPath;         // upper case, ending in a backslash; set by start-up only
    QString ClaimFileSpec;     // upper case; set by start-up only
    QString SelectedSoftware;  // the software list entry last picked
    qint16 ScratchIndex = 0;   // scratch number of claim submission and of the software list
    QString LogFilePath;
    qint16 LogFileNo = 0;
    qint16 SetupReadFileNo = 0;
    qint16 SetupWriteFileNo = 0;
};
