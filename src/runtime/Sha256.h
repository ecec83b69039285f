#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The SHA-256 the history records for each claim. A day's thousands of claims made Qt's portable
// digest cost more than the copies' own work, so it runs on the processor's SHA instructions
// where there are some.
class Sha256
{
public:
    static QByteArray of(QByteArrayView bytes);

private:
    // Empty where the processor has no SHA instructions.
    static QByteArray inHardware(QByteArrayView bytes);
};
