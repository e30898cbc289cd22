#include "sheet_check.h"

#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryFile>

QString checkSheet(const QString &path, const QJsonObject &expected)
{
    // Kept beside the checker's own temporary files, not in the folder the export writes to.
    QTemporaryFile description(QStringLiteral(FENLARK_TEST_SCRATCH_DIR "/expected_XXXXXX.json"));
    if (!description.open())
        return QStringLiteral("cannot write the expectation file");
    description.write(QJsonDocument(expected).toJson());
    description.flush();

    QProcess checker;
    checker.setProcessChannelMode(QProcess::MergedChannels);
    checker.start(QStringLiteral(FENLARK_TEST_PYTHON),
                  {QStringLiteral(FENLARK_SHEET_CHECKER), path, description.fileName()});
    if (!checker.waitForFinished(120000))
        return QStringLiteral("the checker did not finish");
    const QString output = QString::fromUtf8(checker.readAll()).trimmed();
    if (checker.exitStatus() != QProcess::NormalExit || checker.exitCode() != 0)
        return output.isEmpty() ? QStringLiteral("the checker failed") : output;
    return {};
}
