#pragma once

#include <QString>

// The five values of a setup, as the setup file holds them and the setup window shows them.
struct SetupValues
{
    QString siteId;
    QString software;
    QString format;
    QString folder;
    QString fileName;
};
