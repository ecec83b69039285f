// Processors other than x86: Qt's portable digest.
#include "runtime/Sha256.h"

#include <QCryptographicHash>

QByteArray Sha256::of(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}
