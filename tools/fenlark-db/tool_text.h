#pragma once

#include <QString>

#include <cstdio>

// The tool's words: English, or Chinese when the locale (LC_ALL, LC_MESSAGES, LANG, the first set)
// is a Chinese one (zh_CN.UTF-8 and the like). A small table instead of Qt's translation files:
// the tool has a dozen sentences and must not depend on a file beside it.
namespace fenlark::dbtool {

bool speaksChinese();

// The sentence in the user's language; texts not in the table are returned as they are.
QString toolText(const char *english);

// Writes text as UTF-8 and flushes, so lines keep their order between stdout and stderr.
void print(FILE *to, const QString &text);

} // namespace fenlark::dbtool
