#pragma once

// The busy mouse pointer for as long as it lives, restored on every way out; the clicks and keys
// that arrived meanwhile are dropped at the end.
class BusyCursor
{
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};
