#include "core/pinyin.h"

#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/uscript.h>

#include <QStringList>

#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

namespace fenlark {

namespace {

// ICU's transliterator for personal names reads the first character as a surname (单 shàn,
// 曾 zēng, 长 cháng), which a plain character table gets wrong. Building it parses large rule
// tables, so it is made on the first name, never at start-up; one call at a time may use it.
class NameReadings {
public:
    static NameReadings &instance()
    {
        static NameReadings readings;
        return readings;
    }

    // Latin transliteration of text, or text unchanged when ICU has no transliterator.
    icu::UnicodeString transliterate(const icu::UnicodeString &text)
    {
        icu::UnicodeString result = text;
        if (m_transliterator) {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_transliterator->transliterate(result);
        }
        return result;
    }

private:
    NameReadings()
    {
        UErrorCode status = U_ZERO_ERROR;
        m_transliterator.reset(
            icu::Transliterator::createInstance(icu::UnicodeString(u"Han-Latin/Names"), UTRANS_FORWARD, status));
        if (U_FAILURE(status))
            m_transliterator.reset();
    }

    std::unique_ptr<icu::Transliterator> m_transliterator;
    std::mutex m_mutex;
};

bool isHan(UChar32 c)
{
    UErrorCode status = U_ZERO_ERROR;
    return uscript_getScript(c, &status) == USCRIPT_HAN && U_SUCCESS(status);
}

// The leading Latin letters of a syllable, tone marks and the diaeresis taken off (lǚ → lu,
// ḿ → m), lower case.
std::string baseLetters(const icu::UnicodeString &syllable)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2 *nfd = icu::Normalizer2::getNFDInstance(status);
    icu::UnicodeString decomposed = U_SUCCESS(status) ? nfd->normalize(syllable, status) : syllable;
    if (U_FAILURE(status))
        decomposed = syllable;
    std::string letters;
    for (int32_t i = 0; i < decomposed.length();) {
        const UChar32 c = decomposed.char32At(i);
        i += U16_LENGTH(c);
        if (u_getCombiningClass(c) != 0 || u_charType(c) == U_NON_SPACING_MARK)
            continue;
        const UChar32 lower = u_tolower(c);
        if (lower < 'a' || lower > 'z')
            break;
        letters += char(lower);
    }
    return letters;
}

// The initial consonant of a pinyin syllable; empty for a syllable that begins with a vowel.
QString initialOf(const icu::UnicodeString &syllable)
{
    const std::string letters = baseLetters(syllable);
    const std::string_view s(letters);
    for (const char *pair : {"zh", "ch", "sh"}) {
        if (s.starts_with(pair))
            return QString::fromLatin1(pair, 2);
    }
    static constexpr std::string_view singles = "bpmfdtnlgkhjqxrzcsyw";
    if (!s.empty() && singles.find(s.front()) != std::string_view::npos)
        return QString(QLatin1Char(s.front()));
    return QString();
}

std::vector<icu::UnicodeString> syllablesOf(const icu::UnicodeString &latin)
{
    std::vector<icu::UnicodeString> syllables;
    icu::UnicodeString current;
    for (int32_t i = 0; i < latin.length();) {
        const UChar32 c = latin.char32At(i);
        i += U16_LENGTH(c);
        if (u_isUWhiteSpace(c)) {
            if (!current.isEmpty())
                syllables.push_back(current);
            current.remove();
        } else {
            current.append(c);
        }
    }
    if (!current.isEmpty())
        syllables.push_back(current);
    return syllables;
}

// One reading per Han character of han (a name of Han characters only), each read within
// the name, so the surname rules apply to the first one only.
std::vector<icu::UnicodeString> readingsOf(const std::vector<UChar32> &han)
{
    NameReadings &readings = NameReadings::instance();
    icu::UnicodeString whole;
    for (UChar32 c : han)
        whole.append(c);
    std::vector<icu::UnicodeString> syllables = syllablesOf(readings.transliterate(whole));
    if (syllables.size() == han.size())
        return syllables;

    // The transliteration did not give one syllable per character (a character it cannot
    // read may stick to its neighbour): read each character on its own, those after the
    // first behind the first, so that they are not taken for a surname.
    syllables.clear();
    for (size_t k = 0; k < han.size(); ++k) {
        icu::UnicodeString piece;
        if (k > 0)
            piece.append(han.front());
        piece.append(han[k]);
        const std::vector<icu::UnicodeString> parts = syllablesOf(readings.transliterate(piece));
        syllables.push_back(int(parts.size()) == piece.countChar32() && !parts.empty() ? parts.back()
                                                                                       : icu::UnicodeString());
    }
    return syllables;
}

bool isRunCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') || u == u'_';
}

// Deletes every run of ASCII letters, digits and underscores: all runs are found first,
// then each run's text is removed wherever it occurs in what is left.
QString withoutAsciiRuns(const QString &name)
{
    QStringList runs;
    for (qsizetype i = 0; i < name.size();) {
        if (!isRunCharacter(name.at(i))) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < name.size() && isRunCharacter(name.at(end)))
            ++end;
        runs << name.mid(i, end - i);
        i = end;
    }
    QString rest = name;
    for (const QString &run : std::as_const(runs))
        rest.remove(run, Qt::CaseSensitive);
    return rest;
}

} // namespace

QString pinyinInitials(const QString &name)
{
    const QString rest = withoutAsciiRuns(name);
    std::vector<UChar32> han;
    for (const uint c : rest.toUcs4()) {
        if (isHan(static_cast<UChar32>(c)))
            han.push_back(static_cast<UChar32>(c));
    }
    if (han.empty())
        return QString();
    QString initials;
    for (const icu::UnicodeString &syllable : readingsOf(han))
        initials += initialOf(syllable);
    return initials;
}

} // namespace fenlark
