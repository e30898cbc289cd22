#pragma once

// Reads a printed PDF back with poppler's tools, independent of the Qt that wrote it.

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

inline QString runPdfTool(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QStringLiteral("<%1 failed>").arg(tool);
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline int pdfPageCount(const QString &path)
{
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(runPdfTool(QStringLiteral("pdfinfo"), {path}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// The text of one page (from 1), laid out as printed.
inline QString pdfPageText(const QString &path, int page)
{
    return runPdfTool(QStringLiteral("pdftotext"),
                      {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                       QString::number(page), path, QStringLiteral("-")});
}
