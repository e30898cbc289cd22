// Rare name characters (生僻字) are drawn with a real glyph by the program's font, never as an
// empty box: the demo's rarest names and a sample of every CJK extension from A to G.
#include "ui/window_builder.h"

#include <QApplication>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>
#include <QtTest>

using namespace fenlark;

namespace {

// The glyphs Qt draws for text in font, fallback included; a glyph index 0 is the empty box.
struct Drawn {
    int glyphs = 0;
    int missing = 0;
    QStringList fonts;
};

Drawn draw(const QFont &font, const QString &text)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    Drawn drawn;
    const QList<QGlyphRun> runs = layout.glyphRuns();
    for (const QGlyphRun &run : runs) {
        drawn.fonts << run.rawFont().familyName();
        for (quint32 index : run.glyphIndexes()) {
            ++drawn.glyphs;
            if (index == 0)
                ++drawn.missing;
        }
    }
    return drawn;
}

// The first family named in font that has a glyph for the character: the program's own list must
// cover it, not whatever font the system's fallback happens to find.
QString namedFamilyFor(const QFont &font, char32_t character)
{
    for (const QString &family : font.families()) {
        QFont single(family);
        single.setPixelSize(font.pixelSize());
        const QRawFont raw = QRawFont::fromFont(single);
        if (raw.isValid() && raw.familyName() == family && raw.supportsCharacter(uint(character)))
            return family;
    }
    return {};
}

} // namespace

class RareCharactersTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void drawnWithAGlyph_data();
    void drawnWithAGlyph();
};

void RareCharactersTest::drawnWithAGlyph_data()
{
    QTest::addColumn<QString>("text");
    // The demo's rarest name characters.
    QTest::newRow("demo names") << QStringLiteral("㛃䶮𬀩𫖯𬌗䴉");
    // A few of each extension, first and later code points.
    const struct {
        const char *name;
        std::initializer_list<char32_t> points;
    } blocks[] = {
        {"extension A", {0x3400, 0x36C3, 0x4DAE, 0x4DB5}},     {"extension B", {0x20000, 0x20BB7, 0x2A6A5}},
        {"extension C", {0x2A700, 0x2B5AF, 0x2B734}},          {"extension D", {0x2B740, 0x2B81D}},
        {"extension E", {0x2B820, 0x2C029, 0x2C317, 0x2CEA1}}, {"extension F", {0x2CEB0, 0x2EBE0}},
        {"extension G", {0x30000, 0x30EDE, 0x3134A}},
    };
    for (const auto &block : blocks) {
        QString text;
        for (char32_t point : block.points)
            text += QString::fromUcs4(&point, 1);
        QTest::newRow(block.name) << text;
    }
}

void RareCharactersTest::drawnWithAGlyph()
{
    QFETCH(QString, text);
    // The program's font, and a design's font list completed the same way the builder does.
    QFont designFont;
    designFont.setFamilies(withRareCharacterFonts({QStringLiteral("微软雅黑"), QStringLiteral("WenQuanYi Micro Hei")}));
    designFont.setPixelSize(12);
    for (const QFont &font : {captionFont(12), designFont}) {
        const Drawn drawn = draw(font, text);
        QCOMPARE(drawn.glyphs, int(text.toUcs4().size()));
        QVERIFY2(drawn.missing == 0, qPrintable(QStringLiteral("%1 of %2 glyphs missing in \"%3\" (fonts used: %4)")
                                                    .arg(drawn.missing)
                                                    .arg(drawn.glyphs)
                                                    .arg(text, drawn.fonts.join(QStringLiteral(", ")))));
        for (char32_t character : text.toUcs4()) {
            const QString family = namedFamilyFor(font, character);
            QVERIFY2(!family.isEmpty(), qPrintable(QStringLiteral("no family of [%1] has %2")
                                                       .arg(font.families().join(QStringLiteral(", ")),
                                                            QString::fromUcs4(&character, 1))));
        }
    }
}

QTEST_MAIN(RareCharactersTest)
#include "tst_rare_characters.moc"
