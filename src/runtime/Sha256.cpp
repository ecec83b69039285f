#include "runtime/Sha256.h"

#include <QCryptographicHash>

QByteArray Sha256::of(QByteArrayView bytes)
{
    const QByteArray digest = inHardware(bytes);
    return digest.isEmpty() ? QCryptographicHash::hash(bytes, QCryptographicHash::Sha256) : digest;
}
