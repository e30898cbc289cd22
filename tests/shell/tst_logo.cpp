// The logo's JPEG decoding: a logo.jpg the user (or a fault) put beside the program must never
// stop the start. Crafted headers claim sizes the few bytes behind them cannot back.
#include "shell/logo.h"

#include <QBuffer>
#include <QImage>
#include <QTest>

using namespace fenlark;

namespace {

// A small real JPEG (baseline), as a camera or an editor would write it.
QByteArray smallJpeg()
{
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

// The same bytes with the frame header (SOF0) declaring another size.
QByteArray withDeclaredSize(QByteArray bytes, int width, int height)
{
    const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    if (sof < 0)
        return {};
    // FF C0, length (2), precision (1), height (2), width (2).
    bytes[sof + 5] = char((height >> 8) & 0xFF);
    bytes[sof + 6] = char(height & 0xFF);
    bytes[sof + 7] = char((width >> 8) & 0xFF);
    bytes[sof + 8] = char(width & 0xFF);
    return bytes;
}

} // namespace

class LogoTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void decodesOrRefuses_data();
    void decodesOrRefuses();
};

void LogoTest::decodesOrRefuses_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("size"); // invalid: the picture stays empty

    const QByteArray good = smallJpeg();
    QVERIFY(good.size() < 1000);
    QTest::newRow("small real picture") << good << QSize(16, 8);
    QTest::newRow("huge square claim") << withDeclaredSize(good, 65000, 65000) << QSize();
    QTest::newRow("huge width claim") << withDeclaredSize(good, 65500, 16) << QSize();
    QTest::newRow("huge height claim") << withDeclaredSize(good, 16, 65500) << QSize();
    QTest::newRow("area past the limit") << withDeclaredSize(good, 12000, 12000) << QSize();
    QTest::newRow("zero width") << withDeclaredSize(good, 0, 8) << QSize();
    QTest::newRow("header only") << good.left(good.indexOf(QByteArray("\xFF\xDA", 2))) << QSize();
    QTest::newRow("not a jpeg") << QByteArray("GIF89a not a jpeg at all") << QSize();
    QTest::newRow("start marker then garbage") << (QByteArray("\xFF\xD8\xFF", 3) + QByteArray(300, '\x17')) << QSize();
    QTest::newRow("empty") << QByteArray() << QSize();
}

void LogoTest::decodesOrRefuses()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, size);
    const QImage image = decodeJpeg(bytes);
    if (!size.isValid()) {
        QVERIFY(image.isNull());
        return;
    }
    QCOMPARE(image.size(), size);
}

QTEST_MAIN(LogoTest)
#include "tst_logo.moc"
