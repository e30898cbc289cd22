#pragma once

#include <QByteArray>

namespace fenlark {

// Gives every window of the program its look. The skin is a Qt style sheet stored in the
// program; nothing is written to disk and no system directory is touched.
class SkinLoader {
public:
    static QByteArray storedSkin();
    // hue, saturation and brightness shift nothing in this skin; aero has no counterpart.
    void applySkin(const QByteArray &skinData, int hue, int saturation, int brightness, bool aero);
};

} // namespace fenlark
