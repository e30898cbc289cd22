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
    // defaultId: what xdg-mime answers for the .xlsx type (nothing when empty); desktopFile: where
    // its entry lies under the fake root; exec: the entry's Exec line (@BIN@ is the bin folder);
    // programs: fake programs in bin; ran: the program and arguments seen (@FILE@ the workbook),
    // empty when no program may be found.
    QTest::addColumn<QString>("defaultId");
    QTest::addColumn<QString>("desktopFile");
    QTest::addColumn<QString>("exec");
    QTest::addColumn<QStringList>("programs");
    QTest::addColumn<QStringList>("ran");

    const QString file = QStringLiteral("@FILE@");
    QTest::newRow("desktop default") << QStringLiteral("fake-calc.desktop")
                                     << QStringLiteral("home/applications/fake-calc.desktop")
                                     << QStringLiteral("@BIN@/fakecalc --view %U")
                                     << QStringList{QStringLiteral("fakecalc")}
                                     << QStringList{QStringLiteral("@BIN@/fakecalc"), QStringLiteral("--view"), file};
    QTest::newRow("default in a system folder, program on PATH, dashes as folders")
        << QStringLiteral("vendor-calc.desktop") << QStringLiteral("system/applications/vendor/calc.desktop")
        << QStringLiteral("fakecalc %f") << QStringList{QStringLiteral("fakecalc")}
        << QStringList{QStringLiteral("@BIN@/fakecalc"), file};
    QTest::newRow("quoted program without a file field")
        << QStringLiteral("calc.desktop") << QStringLiteral("home/applications/calc.desktop")
        << QStringLiteral("\"@BIN@/my calc\" --new") << QStringList{QStringLiteral("my calc")}
        << QStringList{QStringLiteral("@BIN@/my calc"), QStringLiteral("--new"), file};
    QTest::newRow("default names a missing program, localc on PATH")
        << QStringLiteral("calc.desktop") << QStringLiteral("home/applications/calc.desktop")
        << QStringLiteral("@BIN@/gone %f") << QStringList{QStringLiteral("localc")}
        << QStringList{QStringLiteral("@BIN@/localc"), file};
    QTest::newRow("default without its entry, nothing on PATH")
        << QStringLiteral("calc.desktop") << QString() << QString() << QStringList() << QStringList();
    QTest::newRow("default names a missing program, nothing on PATH")
        << QStringLiteral("calc.desktop") << QStringLiteral("home/applications/calc.desktop")
        << QStringLiteral("/nowhere/calc %f") << QStringList() << QStringList();
    QTest::newRow("no default, gnumeric on PATH")
        << QString() << QString() << QString() << QStringList{QStringLiteral("gnumeric")}
        << QStringList{QStringLiteral("@BIN@/gnumeric"), file};
    QTest::newRow("nothing at all") << QString() << QString() << QString() << QStringList() << QStringList();
}

void TestExportOpener::findsAProgramThatOpensWorkbooks()
{
    QFETCH(QString, defaultId);
    QFETCH(QString, desktopFile);
    QFETCH(QString, exec);
    QFETCH(QStringList, programs);
    QFETCH(QStringList, ran);

    // xdg-mime answers only the question for the .xlsx type.
    QVERIFY(writeFile(bin() + QStringLiteral("/xdg-mime"),
                      QStringLiteral("#!/bin/sh\n[ \"$1 $2 $3\" = 'query default ") + xlsxMimeType() +
                          QStringLiteral("' ] && echo '") + defaultId + QStringLiteral("'\nexit 0\n"),
                      true));
    if (!desktopFile.isEmpty())
        QVERIFY(writeFile(m_root->path() + u'/' + desktopFile,
                          QStringLiteral("[Desktop Entry]\nType=Application\nName=Calc\nExec=") +
                              QString(exec).replace(QStringLiteral("@BIN@"), bin()) + QStringLiteral("\n")));
    for (const QString &program : programs)
        QVERIFY(addProgram(program));

    DesktopSpreadsheetOpener opener;
    QCOMPARE(opener.available(), !ran.isEmpty());
    const QString workbook = m_root->path() + QStringLiteral("/贫农明细表 1.xlsx");
    QCOMPARE(opener.open(workbook), !ran.isEmpty());
    if (ran.isEmpty())
        return;
    ran.replaceInStrings(QStringLiteral("@BIN@"), bin()).replaceInStrings(QStringLiteral("@FILE@"), workbook);
    QTRY_COMPARE(readLines(m_root->path() + u'/' + QString::fromLatin1(kRunLog)), ran);
}

QTEST_GUILESS_MAIN(TestExportOpener)
#include "tst_export_opener.moc"
