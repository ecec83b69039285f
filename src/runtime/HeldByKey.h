#pragma once

#include <QHash>

#include <memory>

// Things held by key for as long as anyone holds them: made once, shared while held, and gone with
// their last holder; the table itself holds none of them.
template <typename Key, typename T>
class HeldByKey
{
public:
    // The thing held under key, or none.
    std::shared_ptr<T> find(const Key &key) const { return m_held.value(key).lock(); }
    bool isEmpty() const { return m_held.isEmpty(); }

    // The thing held under key, or the one make() makes now (none when it cannot).
    template <typename Make>
    std::shared_ptr<T> hold(const Key &key, Make make)
    {
        if (std::shared_ptr<T> held = find(key))
            return held;
        std::shared_ptr<T> made = make();
        if (made) {
            m_held.removeIf([](const auto &entry) { return entry.value().expired(); });
            m_held.insert(key, made);
        }
        return made;
    }

private:
    QHash<Key, std::weak_ptr<T>> m_held;
};
