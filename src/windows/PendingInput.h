#pragma once

class QEvent;

// Clicks and keys that arrived while the program was busy were meant for a screen that has changed
// since: they are dropped, not run.
namespace PendingInput
{
    void discard();

    // A press, release or scroll of the person's, as opposed to what the system sends on its own.
    bool isInput(const QEvent *event);
} // namespace PendingInput
