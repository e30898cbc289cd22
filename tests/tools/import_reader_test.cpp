// The Access reader on real Jet 3 and Jet 4 files (the fixtures beside the clone): every column
// type, Unicode and GBK texts, dates from the stored day count, long values, and refusals.
#include "core/datetime.h"
#include "import/access_reader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace fenlark::importer;
using Kind = AccessValue::Kind;

namespace {

QString fixture(const char *name)
{
    return QStringLiteral(FENLARK_ACCESS_FIXTURES "/") + QString::fromUtf8(name);
}

// A value as one comparable text: "NULL", "i:5", "r:3.5", "d:1981-12-12 00:00:00", "t:abc", "b:22970 bytes".
QString show(const AccessValue &v)
{
    switch (v.kind) {
    case Kind::Null:
        return QStringLiteral("NULL");
    case Kind::Integer:
        return QStringLiteral("i:%1").arg(v.integer);
    case Kind::Real:
        return QStringLiteral("r:%1").arg(v.real, 0, 'g', 17);
    case Kind::DateTime:
        return QStringLiteral("d:") + fenlark::daycount::toStored(v.real);
    case Kind::Text:
        return QStringLiteral("t:") + v.text;
    case Kind::Bytes:
        return QStringLiteral("b:%1 bytes").arg(v.bytes.size());
    }
    return QString();
}

QStringList showRow(const AccessRow &row)
{
    QStringList shown;
    for (const AccessValue &v : row)
        shown.append(show(v));
    return shown;
}

int columnIndex(const QList<AccessColumn> &columns, const QString &name)
{
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].name == name)
            return i;
    }
    return -1;
}

struct Table {
    QList<AccessColumn> columns;
    std::vector<AccessRow> rows;
};

Table readWhole(const char *file, const QString &table, const QByteArray &charset = AccessReader::kDefaultJet3Charset)
{
    AccessReader reader;
    QString error;
    Table t;
    if (!reader.open(fixture(file), error, charset))
        qWarning("open: %s", qPrintable(error));
    else if (!reader.readTable(table, t.columns, t.rows, error))
        qWarning("read: %s", qPrintable(error));
    return t;
}

} // namespace

class ImportReaderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (!QDir(QStringLiteral(FENLARK_ACCESS_FIXTURES)).exists())
            QSKIP("the Access fixtures (shared/fixtures/access beside the clone) are not here");
    }

    void tablesAndFormat_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QStringList>("tables");
        QTest::newRow("Jet 3") << QStringLiteral("jackcess_testV1997.mdb") << QStringLiteral("Jet 3")
                               << QStringList{QStringLiteral("Table1"), QStringLiteral("Table2"),
                                              QStringLiteral("Table3"), QStringLiteral("Table4")};
        QTest::newRow("Jet 3 GBK") << QStringLiteral("ucanaccess_charsetGBK.mdb") << QStringLiteral("Jet 3")
                                   << QStringList{QStringLiteral("table1")};
        QTest::newRow("Jet 4 MS Project") << QStringLiteral("jackcess_test2V2003.mdb") << QStringLiteral("Jet 4")
                                          << QStringList{QStringLiteral("MSP_PROJECTS")};
        // The hidden table of Access 2007's attachments is not a user table.
        QTest::newRow("Jet 4 Unicode") << QStringLiteral("jackcess_testUnicodeCompV2003.mdb") << QStringLiteral("Jet 4")
                                       << QStringList{QStringLiteral("Table")};
        QTest::newRow("Jet 4 pivot") << QStringLiteral("ucanaccess_pivot.mdb") << QStringLiteral("Jet 4")
                                     << QStringList{QStringLiteral("t_pivot")};
    }

    void tablesAndFormat()
    {
        QFETCH(QString, file);
        QFETCH(QString, format);
        QFETCH(QStringList, tables);
        AccessReader reader;
        QString error;
        QVERIFY2(reader.open(fixture(file.toUtf8().constData()), error), qPrintable(error));
        QCOMPARE(reader.formatName(), format);
        QCOMPARE(reader.tableNames(), tables);
    }

    // Table1 of the Jet 3 file holds one column of every common type.
    void everyColumnType()
    {
        const Table t = readWhole("jackcess_testV1997.mdb", QStringLiteral("Table1"));
        QStringList columns;
        for (const AccessColumn &c : t.columns)
            columns.append(c.name + u' ' + accessTypeName(c.type));
        QCOMPARE(columns, (QStringList{QStringLiteral("A Text"), QStringLiteral("B Text"), QStringLiteral("C Byte"),
                                       QStringLiteral("D Integer"), QStringLiteral("E Long Integer"),
                                       QStringLiteral("F Double"), QStringLiteral("G Date/Time"),
                                       QStringLiteral("H Currency"), QStringLiteral("I Yes/No")}));
        QCOMPARE(t.rows.size(), size_t(2));
        QCOMPARE(showRow(t.rows[0]),
                 (QStringList{QStringLiteral("t:a"), QStringLiteral("t:b"), QStringLiteral("i:0"),
                              QStringLiteral("i:0"), QStringLiteral("i:0"), QStringLiteral("r:0"),
                              QStringLiteral("d:1981-12-12 00:00:00"), QStringLiteral("r:0"), QStringLiteral("i:0")}));
        QCOMPARE(
            showRow(t.rows[1]),
            (QStringList{QStringLiteral("t:abcdefg"), QStringLiteral("t:hijklmnop"), QStringLiteral("i:2"),
                         QStringLiteral("i:222"), QStringLiteral("i:333333333"), QStringLiteral("r:444.55500000000001"),
                         QStringLiteral("d:1974-09-21 00:00:00"), QStringLiteral("r:3.5"), QStringLiteral("i:1")}));
    }

    void emptyTables_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("columnCount");
        QTest::addColumn<QString>("lastType");
        QTest::newRow("89 texts") << QStringLiteral("Table2") << 89 << QStringLiteral("Text");
        QTest::newRow("Long and Text") << QStringLiteral("Table3") << 2 << QStringLiteral("Text");
        QTest::newRow("Replication ID") << QStringLiteral("Table4") << 2 << QStringLiteral("Replication ID");
    }

    void emptyTables()
    {
        QFETCH(QString, table);
        QFETCH(int, columnCount);
        QFETCH(QString, lastType);
        AccessReader reader;
        QString error;
        QVERIFY2(reader.open(fixture("jackcess_testV1997.mdb"), error), qPrintable(error));
        QCOMPARE(reader.rowCount(table), 0);
        QList<AccessColumn> columns;
        std::vector<AccessRow> rows;
        QVERIFY2(reader.readTable(table, columns, rows, error), qPrintable(error));
        QCOMPARE(columns.size(), columnCount);
        QCOMPARE(accessTypeName(columns.last().type), lastType);
        QVERIFY(rows.empty());
    }

    // Jet 4 "Unicode compression": compressed and full two-byte texts, in every script.
    void unicodeTexts()
    {
        const Table t = readWhole("jackcess_testUnicodeCompV2003.mdb", QStringLiteral("Table"));
        QCOMPARE(t.rows.size(), size_t(8));
        QStringList ids;
        for (const AccessRow &row : t.rows)
            ids.append(show(row[0]));
        QCOMPARE(ids, (QStringList{QStringLiteral("i:1"), QStringLiteral("i:2"), QStringLiteral("i:3"),
                                   QStringLiteral("i:4"), QStringLiteral("i:5"), QStringLiteral("i:6"),
                                   QStringLiteral("i:7"), QStringLiteral("i:8")}));
        QCOMPARE(t.rows[0][1].text, QStringLiteral("only ascii chars"));
        QCOMPARE(t.rows[1][1].text, QStringLiteral("ääkkösiä"));
        QCOMPARE(t.rows[2][1].text, QStringLiteral("Мир"));
        // Polytonic Greek with the oxia forms (U+1F79, U+1F7B), which a normalising copy would change.
        QCOMPARE(t.rows[3][1].text, QString::fromUtf16(u"\u03F0\u03B1\u1F76 \u03C4\u1F79\u03C4' \u1F10\u03B3\u1F7C "
                                                       u"\u039A\u1F7B\u03F0\u03BB\u03C9\u03C0\u03B1"));
        QCOMPARE(t.rows[4][1].text, QStringLiteral("漢字仮名交じり文"));
        for (char16_t control : {u'\u001d', u'\u0002', u'\u0005'})
            QVERIFY(t.rows[5][1].text.contains(QChar(control)));
        QCOMPARE(t.rows[6][1].text, QStringLiteral("ümlaut"));
        QString allLatin1;
        for (char16_t c = 1; c <= 0xff; ++c)
            allLatin1.append(QChar(c));
        QCOMPARE(t.rows[7][1].text, allLatin1);
    }

    // Jet 3 stores texts in a code page; the office's files are GBK, and nothing in the file says so.
    void codePageTexts_data()
    {
        QTest::addColumn<QByteArray>("charset");
        QTest::addColumn<QString>("text");
        QTest::newRow("default GBK") << QByteArray(AccessReader::kDefaultJet3Charset) << QStringLiteral("GBK编码");
        QTest::newRow("GB18030") << QByteArray("GB18030") << QStringLiteral("GBK编码");
        QTest::newRow("read as Western") << QByteArray("CP1252") << QStringLiteral("GBK±àÂë");
    }

    void codePageTexts()
    {
        QFETCH(QByteArray, charset);
        QFETCH(QString, text);
        const Table t = readWhole("ucanaccess_charsetGBK.mdb", QStringLiteral("table1"), charset);
        QCOMPARE(t.rows.size(), size_t(1));
        QCOMPARE(showRow(t.rows[0]), (QStringList{QStringLiteral("i:2"), QStringLiteral("t:") + text}));
    }

    void datesAndCurrency()
    {
        const Table t = readWhole("ucanaccess_pivot.mdb", QStringLiteral("t_pivot"));
        QStringList rows;
        for (const AccessRow &row : t.rows)
            rows.append(showRow(row).join(QStringLiteral(" | ")));
        QCOMPARE(rows, (QStringList{QStringLiteral("t:paperino | r:4444 | d:2013-05-30 13:18:14"),
                                    QStringLiteral("t:piero | r:33 | d:2013-01-30 13:18:14"),
                                    QStringLiteral("t:pippo | r:122 | d:2013-05-30 13:18:14"),
                                    QStringLiteral("t:pluto | r:443 | d:2013-01-30 13:18:14")}));
    }

    // A memo spread over a long-value page, NULLs, a Yes/No in the null mask and a 22 KB OLE object.
    void longValuesAndNulls_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::newRow("memo") << QStringLiteral("PROJ_PROP_AUTHOR") << QStringLiteral("t:Jon Iles this is a a vawe");
        QTest::newRow("NULL memo") << QStringLiteral("PROJ_PROP_CATEGORY") << QStringLiteral("NULL");
        QTest::newRow("text") << QStringLiteral("PROJ_OPT_CURRENCY_SYMBOL") << QStringLiteral("t:£");
        QTest::newRow("NULL text") << QStringLiteral("PROJ_PROP_KEYWORDS") << QStringLiteral("NULL");
        QTest::newRow("Yes/No") << QStringLiteral("PROJ_OPT_CALC_ACT_COSTS") << QStringLiteral("i:1");
        QTest::newRow("Integer") << QStringLiteral("PROJ_OPT_MINUTES_PER_WEEK") << QStringLiteral("i:2400");
        QTest::newRow("date") << QStringLiteral("PROJ_LAST_SAVED") << QStringLiteral("d:2006-02-03 22:11:00");
        QTest::newRow("NULL date") << QStringLiteral("PROJ_CHECKEDOUTDATE") << QStringLiteral("NULL");
        QTest::newRow("OLE") << QStringLiteral("RESERVED_BINARY_DATA") << QStringLiteral("b:22970 bytes");
    }

    void longValuesAndNulls()
    {
        QFETCH(QString, column);
        QFETCH(QString, value);
        const Table t = readWhole("jackcess_test2V2003.mdb", QStringLiteral("MSP_PROJECTS"));
        QCOMPARE(t.columns.size(), 74);
        QCOMPARE(t.rows.size(), size_t(1));
        const int c = columnIndex(t.columns, column);
        QVERIFY(c >= 0);
        const AccessValue &v = t.rows[0][size_t(c)];
        if (column == QStringLiteral("PROJ_PROP_AUTHOR")) {
            QCOMPARE(v.text.size(), 348);
            QCOMPARE(show(v).left(value.size()), value);
        } else {
            QCOMPARE(show(v), value);
        }
    }

    void refusals_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::addColumn<QString>("message");
        QFile pivot(fixture("ucanaccess_pivot.mdb"));
        QVERIFY(pivot.open(QIODevice::ReadOnly));
        const QByteArray whole = pivot.readAll();
        QTest::newRow("missing") << QByteArray() << QStringLiteral("%1 does not exist");
        QTest::newRow("text file") << QByteArray("id,name\n1,x\n")
                                   << QStringLiteral("%1 is not an Access database (.mdb) file");
        QTest::newRow("SQLite file") << QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\0')
                                     << QStringLiteral("%1 is not an Access database (.mdb) file");
        QTest::newRow("cut mid-page") << whole.left(210944)
                                      << QStringLiteral("%1 is damaged: it ends in the middle of a page");
        QTest::newRow("catalog cut off") << whole.left(20480)
                                         << QStringLiteral("%1 is damaged: the definition of table MSysObjects cannot "
                                                           "be read");
        QByteArray unknownVersion = whole.left(8192);
        unknownVersion[0x14] = char(0x7f);
        QTest::newRow("unknown version") << unknownVersion
                                         << QStringLiteral("%1 cannot be opened as an Access database: its header is "
                                                           "damaged or of an unknown version");
    }

    void refusals()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("register.mdb"));
        if (!content.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        AccessReader reader;
        QString error;
        QVERIFY(!reader.open(path, error));
        QCOMPARE(error, message.arg(path));
        QVERIFY(!reader.isOpen());
    }

    // The data pages are gone while the table still records its rows: no silent short read.
    void lostRowsAreDamage()
    {
        QFile pivot(fixture("ucanaccess_pivot.mdb"));
        QVERIFY(pivot.open(QIODevice::ReadOnly));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cut.mdb"));
        QFile cut(path);
        QVERIFY(cut.open(QIODevice::WriteOnly));
        cut.write(pivot.read(204800));
        cut.close();
        AccessReader reader;
        QString error;
        QVERIFY2(reader.open(path, error), qPrintable(error));
        QCOMPARE(reader.rowCount(QStringLiteral("t_pivot")), 4);
        int seen = 0;
        QVERIFY(!reader.readRows(
            QStringLiteral("t_pivot"),
            [&seen](const AccessRow &) {
                ++seen;
                return true;
            },
            error));
        QCOMPARE(error, QStringLiteral("%1 is damaged: table t_pivot records 4 rows, but 0 were found (Access's "
                                       "Compact and Repair may mend the file)")
                            .arg(path));
        QCOMPARE(seen, 0);
    }

    void unknownTable()
    {
        AccessReader reader;
        QString error;
        QVERIFY2(reader.open(fixture("ucanaccess_pivot.mdb"), error), qPrintable(error));
        QList<AccessColumn> columns;
        QVERIFY(!reader.columns(QStringLiteral("成员信息"), columns, error));
        QCOMPARE(error, QStringLiteral("%1 has no table 成员信息").arg(fixture("ucanaccess_pivot.mdb")));
        QCOMPARE(reader.rowCount(QStringLiteral("成员信息")), -1);
        // Access ignores the case of names.
        QCOMPARE(reader.rowCount(QStringLiteral("T_PIVOT")), 4);
    }

    void jet4Texts_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("UTF-16LE") << QByteArray("A\0\xe4\0\x2d\x4e", 6) << QStringLiteral("Aä中");
        QTest::newRow("surrogate pair") << QByteArray("\x3d\xd8\x00\xde", 4) << QString::fromUtf8("\xf0\x9f\x98\x80");
        QTest::newRow("compressed") << QByteArray("\xff\xfe"
                                                  "abc\xe4",
                                                  6)
                                    << QStringLiteral("abcä");
        QTest::newRow("compressed, switching") << QByteArray("\xff\xfe"
                                                             "ab\0\x2d\x4e\0c",
                                                             9)
                                               << QStringLiteral("ab中c");
        QTest::newRow("empty") << QByteArray() << QString();
    }

    void jet4Texts()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(accessdecode::jet4Text(reinterpret_cast<const unsigned char *>(bytes.constData()), bytes.size()),
                 text);
    }

    void numbers_data()
    {
        QTest::addColumn<QByteArray>("decimalBytes");
        QTest::addColumn<int>("scale");
        QTest::addColumn<double>("value");
        // Sign byte, then four little-endian 32-bit words, most significant first.
        QTest::newRow("12.345") << QByteArray("\0"
                                              "\0\0\0\0"
                                              "\0\0\0\0"
                                              "\0\0\0\0"
                                              "\x39\x30\0\0",
                                              17)
                                << 3 << 12.345;
        QTest::newRow("-7") << QByteArray("\x80"
                                          "\0\0\0\0"
                                          "\0\0\0\0"
                                          "\0\0\0\0"
                                          "\x07\0\0\0",
                                          17)
                            << 0 << -7.0;
        QTest::newRow("2^32") << QByteArray("\0"
                                            "\0\0\0\0"
                                            "\0\0\0\0"
                                            "\x01\0\0\0"
                                            "\0\0\0\0",
                                            17)
                              << 0 << 4294967296.0;
    }

    void numbers()
    {
        QFETCH(QByteArray, decimalBytes);
        QFETCH(int, scale);
        QFETCH(double, value);
        QCOMPARE(accessdecode::decimal(reinterpret_cast<const unsigned char *>(decimalBytes.constData()), scale),
                 value);
    }

    void singleAndGuid()
    {
        QCOMPARE(accessdecode::single(444.555f), 444.555);
        QCOMPARE(accessdecode::single(0.1f), 0.1);
        QCOMPARE(accessdecode::single(-2.5f), -2.5);
        const unsigned char guid[16] = {0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66,
                                        0x88, 0x99, 0xaa, 0xbb, 0xcc, 0xdd, 0xee, 0xff};
        QCOMPARE(accessdecode::guid(guid), QStringLiteral("{00112233-4455-6677-8899-AABBCCDDEEFF}"));
    }
};

QTEST_GUILESS_MAIN(ImportReaderTest)
#include "import_reader_test.moc"
