#include "shell/skin_loader.h"

#include <QApplication>
#include <QFile>
#include <QPalette>

namespace fenlark {

QByteArray SkinLoader::storedSkin()
{
    QFile file(QStringLiteral(":/style/fenlark.qss"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void SkinLoader::applySkin(const QByteArray &skinData, int, int, int, bool)
{
    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    if (!app)
        return;
    // The skin's text colours go into the palette, where a design's own colour (a white title)
    // can still override them and disabled controls keep a grey of their own.
    QPalette palette = QApplication::palette();
    const QColor text(0x1f, 0x2d, 0x24);
    const QColor disabled(0x8c, 0x96, 0x8e);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Active, role, text);
        palette.setColor(QPalette::Inactive, role, text);
        palette.setColor(QPalette::Disabled, role, disabled);
    }
    QApplication::setPalette(palette);
    app->setStyleSheet(QString::fromUtf8(skinData));
}

} // namespace fenlark
