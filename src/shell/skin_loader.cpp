#include "shell/skin_loader.h"

#include <QApplication>
#include <QFile>

namespace fenlark {

QByteArray SkinLoader::storedSkin()
{
    QFile file(QStringLiteral(":/style/fenlark.qss"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void SkinLoader::applySkin(const QByteArray &skinData, int, int, int, bool)
{
    if (auto *app = qobject_cast<QApplication *>(QCoreApplication::instance()))
        app->setStyleSheet(QString::fromUtf8(skinData));
}

} // namespace fenlark
