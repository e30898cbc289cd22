// The name initials beside an independent pinyin table: the per-character readings of
// go-pinyin (Debian's golang-github-mozillazg-go-pinyin-dev, generated from the pinyin-data
// project), used here only as a reference. Every GB2312 character, read as part of a given name,
// must give the initial of that table's first reading, except where a reviewed choice differs.
// Skipped when the table is not installed.
#include "core/pinyin.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QtTest>

#include <unicode/ucnv.h>

using namespace fenlark;

namespace {

const QString kReferenceTable = QStringLiteral("/usr/share/gocode/src/github.com/mozillazg/go-pinyin/pinyin_dict.go");

// The first reading of every character the table holds.
QHash<char32_t, QString> firstReadings(QFile &file)
{
    QHash<char32_t, QString> readings;
    static const QRegularExpression entry(QStringLiteral("^\\s*0x([0-9A-Fa-f]+): \"([^\",]*)"));
    while (!file.atEnd()) {
        const QRegularExpressionMatch m = entry.match(QString::fromUtf8(file.readLine()));
        if (m.hasMatch())
            readings.insert(char32_t(m.captured(1).toUInt(nullptr, 16)), m.captured(2));
    }
    return readings;
}

QString initialOf(const QString &reading)
{
    QString letters;
    for (const QChar c : reading.normalized(QString::NormalizationForm_D)) {
        if (c >= u'a' && c <= u'z')
            letters += c;
    }
    for (const char *pair : {"zh", "ch", "sh"}) {
        if (letters.startsWith(QLatin1String(pair)))
            return QLatin1String(pair);
    }
    if (!letters.isEmpty() && QStringLiteral("bpmfdtnlgkhjqxrzcsyw").contains(letters.front()))
        return letters.left(1);
    return QString();
}

// The 6,763 Chinese characters of GB2312, in code order.
QString gb2312Characters()
{
    UErrorCode status = U_ZERO_ERROR;
    UConverter *converter = ucnv_open("GB2312", &status);
    if (U_FAILURE(status))
        return {};
    QString characters;
    for (int lead = 0xB0; lead <= 0xF7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            const char bytes[2] = {char(lead), char(trail)};
            UChar unit[4];
            status = U_ZERO_ERROR;
            const int32_t n = ucnv_toUChars(converter, unit, 4, bytes, 2, &status);
            if (U_SUCCESS(status) && n == 1 && unit[0] >= 0x4E00 && unit[0] <= 0x9FFF)
                characters += QChar(unit[0]);
        }
    }
    ucnv_close(converter);
    return characters;
}

} // namespace

class PinyinReferenceTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void givenNameReadingsAgreeWithTheReference()
    {
        QFile file(kReferenceTable);
        if (!file.open(QIODevice::ReadOnly))
            QSKIP("go-pinyin's table is not installed (golang-github-mozillazg-go-pinyin-dev)");
        const QHash<char32_t, QString> reference = firstReadings(file);
        const QString characters = gb2312Characters();
        QCOMPARE(characters.size(), 6763);

        QString differing;
        int agreeing = 0;
        int surnameAgreeing = 0;
        for (const QChar c : characters) {
            const QString expected = initialOf(reference.value(c.unicode()));
            // Behind the surname 王 (w), the character is read as a given name.
            const QString inName = pinyinInitials(QStringLiteral("王") + c);
            QVERIFY(inName.startsWith(u'w'));
            if (inName.mid(1) == expected)
                ++agreeing;
            else
                differing += c;
            if (pinyinInitials(c) == expected)
                ++surnameAgreeing;
        }
        qInfo("given-name readings: %d of %lld agree with the reference (%.2f%%); as a surname: %d", agreeing,
              qlonglong(characters.size()), 100.0 * agreeing / characters.size(), surnameAgreeing);
        // Reviewed differences: 长 and 晟 as given names read them (cháng, shèng); 伽 jiā, 呒 fǔ and
        // 袷 qiā, where the reference puts gā, wǔ and jiá first.
        QCOMPARE(differing, QStringLiteral("长伽呒晟袷"));
    }
};

QTEST_GUILESS_MAIN(PinyinReferenceTest)
#include "pinyin_reference_test.moc"
