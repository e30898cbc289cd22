#pragma once

#include <QString>

namespace fenlark {

// Lower-case pinyin initials of a personal name: one initial per Han character once the runs
// of ASCII letters, digits and underscores are removed; zh, ch and sh stay whole; a reading
// without an initial gives nothing (张三 → zhs, 安 → ""). The readings come from ICU's
// transliterator for names, made on first use.
QString pinyinInitials(const QString &name);

} // namespace fenlark
