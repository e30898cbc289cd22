#pragma once

#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <functional>

class QPrinter;
class QWidget;

namespace fenlark {

// One document to print: its name (the print queue's and a saved PDF's title), the paper's
// orientation, and what paints its pages onto a printer that is ready (false: nothing usable
// was painted).
struct PrintJob {
    QString documentName;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    std::function<bool(QPrinter &printer)> paint;
};

// How a document reaches paper: the seam between the print layouts and the print dialog, so
// tests print straight to a PDF file while the program shows the preview and the print dialog.
class PrintService {
public:
    virtual ~PrintService() = default;
    // True when the document was printed (or saved); false when the user cancelled or it failed.
    virtual bool print(QWidget *parent, const PrintJob &job) = 0;
};

// The system's print dialog behind a preview: the preview shows the pages on A4; its print
// button opens the print dialog, which offers the printers and "Print to File" for a PDF.
class PreviewPrintService final : public PrintService {
public:
    bool print(QWidget *parent, const PrintJob &job) override;
};

// Test double: prints every job straight to one PDF file (replaced each time) and remembers
// the documents' names.
class PdfPrintService final : public PrintService {
public:
    explicit PdfPrintService(QString path) : m_path(std::move(path)) {}
    bool print(QWidget *parent, const PrintJob &job) override;

    QString path() const { return m_path; }
    const QStringList &printed() const { return m_printed; }

private:
    QString m_path;
    QStringList m_printed;
};

} // namespace fenlark
