#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The SHA-256 the history records for each claim. A day's thousands of claims made Qt's portable
// digest cost more than the copies' own work, so it runs on the processor's SHA instructions
// where there are some (Sha256X86.cpp; Sha256Plain.cpp on other processors).
class Sha256
{
public:
    static QByteArray of(QByteArrayView bytes);
};
