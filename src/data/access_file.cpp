#include "data/access_file.h"

#include <QFile>

namespace fenlark {

bool isAccessFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(32);
    // Bytes 0..3 are 00 01 00 00, then the engine's name.
    return head.size() >= 19 && head.startsWith(QByteArray::fromRawData("\x00\x01\x00\x00", 4))
        && (head.mid(4, 15) == "Standard Jet DB" || head.mid(4, 15) == "Standard ACE DB");
}

} // namespace fenlark
