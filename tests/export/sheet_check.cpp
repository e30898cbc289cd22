#include "sheet_check.h"

#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryFile>

namespace {

QString runChecker(const QStringList &arguments)
{
    QProcess checker;
    checker.setProcessChannelMode(QProcess::MergedChannels);
    checker.start(QStringLiteral(FENLARK_TEST_PYTHON), QStringList{QStringLiteral(FENLARK_SHEET_CHECKER)} + arguments);
    if (!checker.waitForFinished(120000))
        return QStringLiteral("the checker did not finish");
    const QString output = QString::fromUtf8(checker.readAll()).trimmed();
    if (checker.exitStatus() != QProcess::NormalExit || checker.exitCode() != 0)
        return output.isEmpty() ? QStringLiteral("the checker failed") : output;
    return {};
}

} // namespace

QString compareSheets(const QString &path, const QString &referencePath)
{
    return runChecker({QStringLiteral("--same"), path, referencePath});
}

QString checkSheet(const QString &path, const QJsonObject &expected)
{
    // Kept beside the checker's own temporary files, not in the folder the export writes to.
    QTemporaryFile description(QStringLiteral(FENLARK_TEST_SCRATCH_DIR "/expected_XXXXXX.json"));
    if (!description.open())
        return QStringLiteral("cannot write the expectation file");
    description.write(QJsonDocument(expected).toJson());
    description.flush();

    return runChecker({path, description.fileName()});
}
