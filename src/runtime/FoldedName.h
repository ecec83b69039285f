#pragma once

#include <QString>

// A name as a key that Windows would take for the same name whatever its case: hashed and compared
// as QString::toCaseFolded() folds it, without making the folded copy for a name in plain ASCII. A day's
// claims are looked up by such keys many times over.
class FoldedName
{
public:
    explicit FoldedName(const QString &name);

    friend bool operator==(const FoldedName &a, const FoldedName &b);
    friend size_t qHash(const FoldedName &key, size_t seed);

private:
    QString m_name;
    bool m_ascii;
    quint64 m_hash;   // of the folded characters: two names that differ in it are two names
};
