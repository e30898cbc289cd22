#include "core/pinyin.h"

#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/uscript.h>

#include <QStringList>

#include <iterator>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

namespace fenlark {

namespace {

// ICU's transliterators: the names one reads a character as a surname (单 shàn, 曾 zēng, 长
// cháng) and is right for the first character only; the plain one gives the ordinary reading
// that a given name takes (王单 wáng dān). Building them parses large rule tables, so they are
// made on the first name, never at start-up; one call at a time may use them.
class Readings {
public:
    static Readings &instance()
    {
        static Readings readings;
        return readings;
    }

    // The Latin reading of one character, as a surname or as a plain word; empty when ICU has
    // no transliterator.
    icu::UnicodeString read(UChar32 c, bool asSurname)
    {
        icu::UnicodeString text(c);
        const std::lock_guard<std::mutex> lock(m_mutex);
        icu::Transliterator *transliterator = asSurname ? m_names.get() : m_plain.get();
        if (!transliterator)
            return {};
        transliterator->transliterate(text);
        return text;
    }

private:
    Readings() : m_names(make(u"Han-Latin/Names")), m_plain(make(u"Han-Latin")) {}

    static icu::Transliterator *make(const char16_t *id)
    {
        UErrorCode status = U_ZERO_ERROR;
        icu::Transliterator *made = icu::Transliterator::createInstance(icu::UnicodeString(id), UTRANS_FORWARD, status);
        if (U_FAILURE(status)) {
            delete made;
            return nullptr;
        }
        return made;
    }

    std::unique_ptr<icu::Transliterator> m_names;
    std::unique_ptr<icu::Transliterator> m_plain;
    std::mutex m_mutex;
};

struct Reading {
    char16_t character;
    const char *syllable; // toneless pinyin
};

// Reviewed corrections where ICU's names reading of a surname is not the surname's reading
// (it gives 覃 tán, 阚 hǎn, 乜 miē, and 尉 yù, which belongs to 尉迟 only), and for characters
// that head a name without being a surname (峙, 筠), whose ordinary reading stands.
constexpr Reading kSurnameReadings[] = {
    {u'覃', "qin"}, {u'阚', "kan"},  {u'乜', "nie"}, {u'尉', "wei"}, {u'佴', "nai"},
    {u'宓', "fu"},  {u'祭', "zhai"}, {u'句', "gou"}, {u'峙', "zhi"}, {u'筠', "yun"},
};

// Reviewed corrections of ICU's plain reading where a given name takes another one: 长 and 晟
// as names read them (长江 cháng, 晟 shèng), and characters whose common reading is another
// one than ICU's first (咳 ké, 埔 pǔ, 彷 páng, 蹒 pán).
constexpr Reading kGivenNameReadings[] = {
    {u'长', "chang"}, {u'晟', "sheng"}, {u'咳', "ke"}, {u'埔', "pu"}, {u'彷', "pang"}, {u'蹒', "pan"},
};

struct CompoundSurname {
    char16_t first;
    char16_t second;
    const char *firstSyllable;
    const char *secondSyllable;
};

// Two-character surnames, read as surnames as a whole (长孙 zhǎng sūn, not cháng sūn).
constexpr CompoundSurname kCompoundSurnames[] = {
    {u'欧', u'阳', "ou", "yang"},    {u'尉', u'迟', "yu", "chi"},    {u'长', u'孙', "zhang", "sun"},
    {u'万', u'俟', "mo", "qi"},      {u'单', u'于', "chan", "yu"},   {u'澹', u'台', "tan", "tai"},
    {u'令', u'狐', "ling", "hu"},    {u'司', u'马', "si", "ma"},     {u'上', u'官', "shang", "guan"},
    {u'诸', u'葛', "zhu", "ge"},     {u'东', u'方', "dong", "fang"}, {u'皇', u'甫', "huang", "fu"},
    {u'慕', u'容', "mu", "rong"},    {u'宇', u'文', "yu", "wen"},    {u'司', u'徒', "si", "tu"},
    {u'夏', u'侯', "xia", "hou"},    {u'公', u'孙', "gong", "sun"},  {u'轩', u'辕', "xuan", "yuan"},
    {u'端', u'木', "duan", "mu"},    {u'呼', u'延', "hu", "yan"},    {u'闻', u'人', "wen", "ren"},
    {u'南', u'宫', "nan", "gong"},   {u'西', u'门', "xi", "men"},    {u'独', u'孤', "du", "gu"},
    {u'申', u'屠', "shen", "tu"},    {u'太', u'史', "tai", "shi"},   {u'淳', u'于', "chun", "yu"},
    {u'钟', u'离', "zhong", "li"},   {u'赫', u'连', "he", "lian"},   {u'濮', u'阳', "pu", "yang"},
    {u'宗', u'政', "zong", "zheng"}, {u'仲', u'孙', "zhong", "sun"}, {u'拓', u'跋', "tuo", "ba"},
    {u'司', u'空', "si", "kong"},    {u'第', u'五', "di", "wu"},     {u'左', u'丘', "zuo", "qiu"},
    {u'东', u'郭', "dong", "guo"},   {u'公', u'羊', "gong", "yang"}, {u'百', u'里', "bai", "li"},
    {u'乐', u'正', "yue", "zheng"},  {u'公', u'冶', "gong", "ye"},   {u'谷', u'梁', "gu", "liang"},
    {u'鲜', u'于', "xian", "yu"},    {u'闾', u'丘', "lv", "qiu"},    {u'亓', u'官', "qi", "guan"},
    {u'巫', u'马', "wu", "ma"},      {u'羊', u'舌', "yang", "she"},  {u'梁', u'丘', "liang", "qiu"},
};

const char *overrideFor(const Reading *begin, const Reading *end, UChar32 c)
{
    for (const Reading *r = begin; r != end; ++r) {
        if (UChar32(r->character) == c)
            return r->syllable;
    }
    return nullptr;
}

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

// One reading per Han character of a name: a compound surname as a whole, else the first
// character as a surname, the rest in their plain readings.
std::vector<icu::UnicodeString> readingsOf(const std::vector<UChar32> &han)
{
    Readings &readings = Readings::instance();
    std::vector<icu::UnicodeString> syllables;
    size_t k = 0;
    if (han.size() >= 2) {
        for (const CompoundSurname &surname : kCompoundSurnames) {
            if (han[0] == UChar32(surname.first) && han[1] == UChar32(surname.second)) {
                syllables.emplace_back(surname.firstSyllable);
                syllables.emplace_back(surname.secondSyllable);
                k = 2;
                break;
            }
        }
    }
    if (k == 0) {
        const char *fixed = overrideFor(std::begin(kSurnameReadings), std::end(kSurnameReadings), han[0]);
        syllables.push_back(fixed ? icu::UnicodeString(fixed) : readings.read(han[0], true));
        k = 1;
    }
    for (; k < han.size(); ++k) {
        const char *fixed = overrideFor(std::begin(kGivenNameReadings), std::end(kGivenNameReadings), han[k]);
        syllables.push_back(fixed ? icu::UnicodeString(fixed) : readings.read(han[k], false));
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
