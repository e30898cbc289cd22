#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace fenlark {

// Writes the stored logo to logo.jpg in folder (the register's, which the user can write to)
// when no file is there; a logo the user put there is left untouched. A failed write is not
// reported. Returns the path.
QString placeLogo(const QString &folder);

// Decodes JPEG bytes with libjpeg; a null image for anything that is not a readable JPEG.
QImage decodeJpeg(const QByteArray &bytes);

// placeLogo, then reads the file back and decodes it (null image when unreadable).
QImage loadLogo(const QString &folder);

} // namespace fenlark
