#include "core/text.h"

#include "core/clock.h"
#include "core/datetime.h"

#include <unicode/ucnv.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <memory>

namespace fenlark {

namespace {

struct ConverterCloser {
    void operator()(UConverter *converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// A converter that stops at the first character it cannot encode instead of substituting,
// so a character outside the code page is noticed and counted in its own way.
ConverterPtr openStrictConverter(const char *name)
{
    UErrorCode status = U_ZERO_ERROR;
    ConverterPtr converter(ucnv_open(name, &status));
    if (U_FAILURE(status))
        return nullptr;
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    return U_SUCCESS(status) ? std::move(converter) : nullptr;
}

// Converters keep state between calls, so every thread has its own.
UConverter *gbkConverter()
{
    thread_local ConverterPtr converter = [] {
        ConverterPtr c = openStrictConverter("GBK");
        return c ? std::move(c) : openStrictConverter("windows-936");
    }();
    return converter.get();
}

UConverter *gb18030Converter()
{
    thread_local ConverterPtr converter = openStrictConverter("GB18030");
    return converter.get();
}

// Encoded length of one character (units UTF-16 units at utf16) with converter, or -1 when
// it has no encoding there. A real buffer, not a preflight: a preflight reports the buffer
// overflow before the unmappable character and so would count the substitute.
int encodedLength(UConverter *converter, const char16_t *utf16, int units)
{
    if (!converter)
        return -1;
    ucnv_resetFromUnicode(converter);
    char bytes[16];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ucnv_fromUChars(converter, bytes, sizeof bytes, utf16, units, &status);
    return U_SUCCESS(status) || status == U_STRING_NOT_TERMINATED_WARNING ? length : -1;
}

// Bytes of one character (one code point, one or two UTF-16 units) outside plain ASCII.
int characterLength(const char16_t *utf16, int units)
{
    const int gbk = encodedLength(gbkConverter(), utf16, units);
    if (gbk > 0)
        return gbk;
    const int gb18030 = encodedLength(gb18030Converter(), utf16, units);
    // A lone surrogate has no encoding at all; it still takes room, as much as any other
    // character outside GBK.
    return gb18030 > 0 ? gb18030 : 4;
}

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

char16_t toHalfWidth(char16_t c)
{
    if (c >= 0xFF01 && c <= 0xFF5E)
        return static_cast<char16_t>(c - 0xFEE0);
    if (c == 0x3000)
        return u' ';
    return c;
}

// strtod in the "C" locale: the program runs under the user's locale, whose decimal point
// may be a comma.
double parseCDouble(const QByteArray &ascii)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    if (!cLocale)
        return std::strtod(ascii.constData(), nullptr);
    return strtod_l(ascii.constData(), nullptr, cLocale);
}

} // namespace

int gbkByteLength(const QString &text)
{
    const auto *utf16 = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype size = text.size();
    int total = 0;
    for (qsizetype i = 0; i < size;) {
        const char16_t c = utf16[i];
        if (c < 0x80) {
            ++total;
            ++i;
            continue;
        }
        if (c >= 0x4E00 && c <= 0x9FA5) { // the unified ideographs GBK holds in full
            total += 2;
            ++i;
            continue;
        }
        const int units = (QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(utf16[i + 1])) ? 2 : 1;
        total += characterLength(utf16 + i, units);
        i += units;
    }
    return total;
}

QString asciiLower(const QString &text)
{
    QString result = text;
    for (QChar &c : result) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return result;
}

QString numberToText(double value)
{
    if (value == 0.0)
        return QStringLiteral("0"); // also -0, which would otherwise print its sign
    // Qt's 'g' is independent of the locale and, like %g, drops trailing zeros; beyond 13
    // significant digits of magnitude it switches to an exponent (1e+20, 1.5e-07).
    return QString::number(value, 'g', 13);
}

double textToNumber(const QString &text)
{
    QByteArray ascii;
    ascii.reserve(text.size());
    qsizetype i = 0;
    const qsizetype size = text.size();
    auto at = [&](qsizetype k) -> char16_t { return k < size ? toHalfWidth(text.at(k).unicode()) : char16_t(0); };

    while (i < size && isBlank(at(i)))
        ++i;
    if (at(i) == u'+' || at(i) == u'-')
        ascii += char(at(i++));
    int digits = 0;
    while (isDigit(at(i))) {
        ascii += char(at(i++));
        ++digits;
    }
    if (at(i) == u'.') {
        ascii += '.';
        ++i;
        while (isDigit(at(i))) {
            ascii += char(at(i++));
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    // An exponent counts only when a digit follows it ("1e" is 1, "1e+" is 1 as well).
    if (at(i) == u'e' || at(i) == u'E') {
        qsizetype k = i + 1;
        if (at(k) == u'+' || at(k) == u'-')
            ++k;
        if (isDigit(at(k))) {
            ascii += 'e';
            for (qsizetype j = i + 1; j < k; ++j)
                ascii += char(at(j));
            while (isDigit(at(k)))
                ascii += char(at(k++));
        }
    }
    const double value = parseCDouble(ascii);
    // Too large for a double: the largest one stands in, so a number stays a number.
    if (std::isinf(value))
        return value > 0 ? DBL_MAX : -DBL_MAX;
    return value;
}

QString formatTimestamp(double dayCount, const Clock &clock)
{
    QDate date;
    QTime time;
    if (std::isnan(dayCount) || dayCount == daycount::kZero) {
        // The epoch itself stands for "no date-time": the current one is shown instead.
        const QDateTime now = clock.now();
        date = now.date();
        time = now.time();
    } else {
        const daycount::DateAndTime parts = daycount::toDateAndTime(dayCount);
        date = parts.date;
        time = parts.time;
    }
    return QStringLiteral("%1-%2-%3 %4:%5:%6")
        .arg(date.year())
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(time.hour(), 2, 10, QLatin1Char('0'))
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.second(), 2, 10, QLatin1Char('0'));
}

QStringList splitFields(const QString &text, QChar separator)
{
    return text.split(separator, Qt::KeepEmptyParts);
}

} // namespace fenlark
