#pragma once

#include <QString>

#include <span>

class Session;
class SetupWindowFields;

// The practice software the setup window offers, with where each leaves its claim file.
namespace SoftwareCatalogue
{
    struct Entry
    {
        QString listed;        // the text of the list entry
        QString key;           // empty for the two group headers
        QString format;
        QString folder;
        QString fileName;
    };

    std::span<const Entry> entries();

    // The setup window's Load: the list holds the catalogue, in order, nothing selected.
    void fill(SetupWindowFields &window);

    // A pick in the list: the software name and, for a known program, its preset.
    void pick(Session &session);
} // namespace SoftwareCatalogue
