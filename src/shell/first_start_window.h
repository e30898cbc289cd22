#pragma once

#include "core/register_location.h"
#include "import/import.h"

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace fenlark {

class Dialogs;

// Brings an old Access register over into a new register file (importAccessRegister, or a
// stand-in in tests); false with error set when it did not.
using RegisterImport = std::function<bool(const QString &accessPath, const QString &newPath,
                                          const importer::ImportProgress &progress, QString &error)>;

// The window of the first start, when no register was found: it names the folders looked in and
// offers, in one place, an empty register, the import of an old Access register (with its
// progress), the county server (its fenlark-server.conf written once a connection worked), or
// quitting. It closes accepted only once a register or a conf exists in place.folder.
class FirstStartWindow final : public QDialog {
    Q_OBJECT
public:
    FirstStartWindow(RegisterLocation place, Dialogs &dialogs, RegisterImport import, QWidget *parent = nullptr);

    QString messageText() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void createEmpty();
    void importOld();
    void connectServer();
    bool prepareFolder();
    void showProgress(const QString &table, qint64 done, qint64 total);

    RegisterLocation m_place;
    Dialogs &m_dialogs;
    RegisterImport m_import;
    QLabel *m_message = nullptr;
    QLabel *m_progressText = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_create = nullptr;
    QPushButton *m_importButton = nullptr;
    QPushButton *m_server = nullptr;
    QPushButton *m_quit = nullptr;
};

// Shows the window through dialogs; true when a register (or a server's conf) now exists in
// place.folder, false when the clerk quit.
bool offerFirstStart(const RegisterLocation &place, Dialogs &dialogs, QWidget *parent = nullptr,
                     RegisterImport import = {});

} // namespace fenlark
