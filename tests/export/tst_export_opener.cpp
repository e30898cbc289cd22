#include "export/spreadsheet_opener.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace fenlark;

namespace {

// Every fake program writes the path it was started as and its arguments here, one a line.
constexpr auto kRunLog = "ran.txt";

bool writeFile(const QString &path, const QString &text, bool executable = false)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.write(text.toUtf8());
    file.close();
    return !executable || file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QStringList readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

// A desktop made up in a temporary folder: PATH holds only its bin folder, the XDG data folders
// are its own, and its xdg-mime names the default application given by the test.
class TestExportOpener : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void findsAProgramThatOpensWorkbooks_data();
    void findsAProgramThatOpensWorkbooks();

private:
    QString bin() const { return m_root->path() + QStringLiteral("/bin"); }
    bool addProgram(const QString &name)
    {
        return writeFile(bin() + u'/' + name,
                         QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > '") + m_root->path() + u'/' +
                             QString::fromLatin1(kRunLog) + QStringLiteral("'\n"),
                         true);
    }

    std::unique_ptr<QTemporaryDir> m_root;
    QByteArray m_path;
    QByteArray m_dataHome;
    QByteArray m_dataDirs;
};

void TestExportOpener::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    m_path = qgetenv("PATH");
    m_dataHome = qgetenv("XDG_DATA_HOME");
    m_dataDirs = qgetenv("XDG_DATA_DIRS");
    QVERIFY(QDir().mkpath(bin()));
    qputenv("PATH", QFile::encodeName(bin()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_root->path() + QStringLiteral("/home")));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(m_root->path() + QStringLiteral("/system")));
}

void TestExportOpener::cleanup()
{
    qputenv("PATH", m_path);
    qputenv("XDG_DATA_HOME", m_dataHome);
    qputenv("XDG_DATA_DIRS", m_dataDirs);
    m_root.reset();
}

void TestExportOpener::findsAProgramThatOpensWorkbooks_data()
{
    // defaultId: what xdg-mime answers for the .xlsx type (nothing when empty); programs: the
    // fake desktop helpers in bin; available: whether an export may start; opened: whether the
    // workbook was handed to xdg-open.
    QTest::addColumn<QString>("defaultId");
    QTest::addColumn<QStringList>("programs");
    QTest::addColumn<bool>("available");
    QTest::addColumn<bool>("opened");

    const QString xdgMime = QStringLiteral("xdg-mime");
    const QString xdgOpen = QStringLiteral("xdg-open");
    QTest::newRow("desktop names a default")
        << QStringLiteral("fake-calc.desktop") << QStringList{xdgMime, xdgOpen} << true << true;
    QTest::newRow("no default application") << QString() << QStringList{xdgMime, xdgOpen} << false << false;
    QTest::newRow("no xdg-mime to ask") << QString() << QStringList{xdgOpen} << false << false;
    QTest::newRow("default but no xdg-open")
        << QStringLiteral("fake-calc.desktop") << QStringList{xdgMime} << true << false;
}

void TestExportOpener::findsAProgramThatOpensWorkbooks()
{
    QFETCH(QString, defaultId);
    QFETCH(QStringList, programs);
    QFETCH(bool, available);
    QFETCH(bool, opened);

    for (const QString &program : programs) {
        if (program == QStringLiteral("xdg-mime")) {
            // Answers only the question for the .xlsx type.
            QVERIFY(writeFile(bin() + QStringLiteral("/xdg-mime"),
                              QStringLiteral("#!/bin/sh\n[ \"$1 $2 $3\" = 'query default ") + xlsxMimeType() +
                                  QStringLiteral("' ] && echo '") + defaultId + QStringLiteral("'\nexit 0\n"),
                              true));
        } else {
            QVERIFY(addProgram(program));
        }
    }

    DesktopSpreadsheetOpener opener;
    QCOMPARE(opener.available(), available);
    const QString workbook = m_root->path() + QStringLiteral("/导出/贫农明细表 1.xlsx");
    QCOMPARE(opener.open(workbook), opened);
    const QString log = m_root->path() + u'/' + QString::fromLatin1(kRunLog);
    if (!opened) {
        QTest::qWait(200);
        QVERIFY(!QFile::exists(log));
        return;
    }
    QTRY_COMPARE(readLines(log), (QStringList{bin() + QStringLiteral("/xdg-open"), workbook}));
}

QTEST_GUILESS_MAIN(TestExportOpener)
#include "tst_export_opener.moc"
