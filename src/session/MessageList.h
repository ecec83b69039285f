#pragma once

#include <QString>
#include <QStringList>

// Lists of names in a message box: a box must fit the screen, so it shows the first few lines and
// how many more there are; the whole list goes into the box's details.
namespace MessageList {

constexpr int shownLines = 15;

// The lines joined by line breaks, cut after shownLines with "and N more"; details receives the
// whole list when it was cut, and is emptied otherwise.
QString shortened(const QStringList &lines, QString *details);

} // namespace MessageList
