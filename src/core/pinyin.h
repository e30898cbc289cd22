#pragma once

#include <QString>

namespace fenlark {

// Lower-case pinyin initials of a personal name: one initial per Han character once the runs
// of ASCII letters, digits and underscores are removed; zh, ch and sh stay whole; a reading
// without an initial gives nothing (张三 → zhs, 安 → ""). The first character is read as a
// surname (单 shàn, 覃 qín), or the first two when they are a compound surname (长孙 zhǎng sūn,
// 尉迟 yù chí); the given name takes plain readings (王单 dān, 李筠 yún). The readings come from
// ICU's transliterators, made on first use, with small reviewed tables where ICU is wrong.
QString pinyinInitials(const QString &name);

} // namespace fenlark
