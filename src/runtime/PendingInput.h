#pragma once

// Clicks and keys that arrived while the program was busy were meant for a screen that has changed
// since: they are dropped, not run.
namespace PendingInput
{
    void discard();
} // namespace PendingInput
