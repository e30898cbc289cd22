#include "shell/first_start_window.h"

#include "data/db_connection.h"
#include "data/register_file.h"
#include "data/server_conf.h"
#include "shell/server_connect_dialog.h"
#include "shell/server_register.h"
#include "ui/dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdio>

namespace fenlark {

namespace {

QString nativeList(const QStringList &paths)
{
    QStringList lines;
    for (const QString &path : paths)
        lines << QStringLiteral("  ") + QDir::toNativeSeparators(path);
    return lines.join(u'\n');
}

} // namespace

FirstStartWindow::FirstStartWindow(RegisterLocation place, Dialogs &dialogs, RegisterImport import, QWidget *parent)
    : QDialog(parent), m_place(std::move(place)), m_dialogs(dialogs), m_import(std::move(import))
{
    setObjectName(QStringLiteral("首次启动"));
    setWindowTitle(QStringLiteral("Fenlark - 首次启动"));
    if (!m_import) {
        m_import = [](const QString &accessPath, const QString &newPath, const importer::ImportProgress &progress,
                      QString &error) {
            QString report;
            return importer::importAccessRegister(accessPath, newPath, progress, report, error);
        };
    }

    m_message = new QLabel(messageText(), this);
    m_message->setObjectName(QStringLiteral("标签_说明"));
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_progressText = new QLabel(this);
    m_progressText->setObjectName(QStringLiteral("标签_进度"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("进度条1"));
    m_progressText->hide();
    m_progress->hide();

    m_create = new QPushButton(QStringLiteral("新建空数据库"), this);
    m_create->setObjectName(QStringLiteral("按钮_新建"));
    m_importButton = new QPushButton(QStringLiteral("导入旧 Access 数据库…"), this);
    m_importButton->setObjectName(QStringLiteral("按钮_导入"));
    m_server = new QPushButton(QStringLiteral("连接县级服务器"), this);
    m_server->setObjectName(QStringLiteral("按钮_服务器"));
    m_quit = new QPushButton(QStringLiteral("退出"), this);
    m_quit->setObjectName(QStringLiteral("按钮_退出"));
    // Return must never make or change a file the clerk did not choose.
    for (QPushButton *button : {m_create, m_importButton, m_server, m_quit})
        button->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_create);
    buttons->addWidget(m_importButton);
    buttons->addWidget(m_server);
    buttons->addStretch();
    buttons->addWidget(m_quit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_message);
    layout->addWidget(m_progressText);
    layout->addWidget(m_progress);
    layout->addLayout(buttons);

    connect(m_create, &QPushButton::clicked, this, &FirstStartWindow::createEmpty);
    connect(m_importButton, &QPushButton::clicked, this, &FirstStartWindow::importOld);
    connect(m_server, &QPushButton::clicked, this, &FirstStartWindow::connectServer);
    connect(m_quit, &QPushButton::clicked, this, &QDialog::reject);
}

QString FirstStartWindow::messageText() const
{
    return QStringLiteral("未发现数据库,无法使用!\n\n查找过：\n%1\n\n"
                          "可以在下面的文件夹里新建一个空数据库，或者导入旧的 Access 数据库：\n%2\n\n"
                          "县里有服务器时，也可以连接县级服务器。\n\n"
                          "也可以退出，把已有的 data.mdb 放到上述位置后再启动。")
        .arg(nativeList(m_place.searched), nativeList({m_place.folder}));
}

void FirstStartWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // One line a script (the package check) can wait for; the window itself says the rest.
    std::fprintf(stderr, "fenlark: first start: no register found, offering to make %s\n",
                 QFile::encodeName(m_place.path()).constData());
    std::fflush(stderr);
}

bool FirstStartWindow::prepareFolder()
{
    if (QDir().mkpath(m_place.folder))
        return true;
    m_dialogs.message(this, QStringLiteral("无法建立文件夹：%1").arg(QDir::toNativeSeparators(m_place.folder)),
                      MessageIcon::Error);
    return false;
}

void FirstStartWindow::createEmpty()
{
    if (!prepareFolder())
        return;
    QString error;
    if (!createRegisterFile(m_place.path(), error)) {
        m_dialogs.message(this, QStringLiteral("新建数据库失败：%1").arg(error), MessageIcon::Error);
        return;
    }
    accept();
}

void FirstStartWindow::importOld()
{
    QFileDialog picker(this, QStringLiteral("选择旧的 Access 数据库"), QDir::homePath(),
                       QStringLiteral("Access 数据库 (*.mdb *.MDB);;所有文件 (*)"));
    picker.setObjectName(QStringLiteral("选择旧数据库"));
    picker.setFileMode(QFileDialog::ExistingFile);
    picker.setOption(QFileDialog::DontUseNativeDialog);
    if (m_dialogs.showModal(&picker) != QDialog::Accepted || picker.selectedFiles().isEmpty())
        return;
    const QString accessPath = picker.selectedFiles().first();
    if (!prepareFolder())
        return;

    for (QPushButton *button : {m_create, m_importButton, m_server, m_quit})
        button->setEnabled(false);
    m_progressText->show();
    m_progress->show();
    m_progress->setRange(0, 0);
    QString error;
    const bool ok = m_import(
        accessPath, m_place.path(),
        [this](const QString &table, qint64 done, qint64 total) { showProgress(table, done, total); }, error);
    for (QPushButton *button : {m_create, m_importButton, m_server, m_quit})
        button->setEnabled(true);
    if (!ok) {
        m_progressText->hide();
        m_progress->hide();
        m_dialogs.message(this,
                          QStringLiteral("导入失败：%1\n\n文件：%2").arg(error, QDir::toNativeSeparators(accessPath)),
                          MessageIcon::Error);
        return;
    }
    accept();
}

void FirstStartWindow::connectServer()
{
    ServerConnectDialog ask(this);
    if (m_dialogs.showModal(&ask) != QDialog::Accepted)
        return;
    const QString server = ask.connectionString();
    // Only a server that answers, with the register's tables, is written down.
    {
        DBConnection probe;
        QString reason;
        if (!connectAskingPassword(server, probe, m_dialogs, this, reason)) {
            m_dialogs.message(this, serverUnreachableMessage(server, reason), MessageIcon::Error);
            return;
        }
        if (!hasRegisterTables(probe)) {
            m_dialogs.message(this, serverWithoutTablesMessage(server), MessageIcon::Error);
            return;
        }
    }
    if (!prepareFolder())
        return;
    QString error;
    if (!writeServerConf(m_place.serverConfPath(), server, error)) {
        m_dialogs.message(this, QStringLiteral("保存服务器配置失败：%1").arg(error), MessageIcon::Error);
        return;
    }
    accept();
}

void FirstStartWindow::showProgress(const QString &table, qint64 done, qint64 total)
{
    m_progressText->setText(total >= 0 ? QStringLiteral("正在导入 %1：%2 / %3 行").arg(table).arg(done).arg(total)
                                       : QStringLiteral("正在导入 %1：%2 行").arg(table).arg(done));
    if (total > 0) {
        m_progress->setRange(0, 1000);
        m_progress->setValue(int(done * 1000 / total));
    } else {
        m_progress->setRange(0, 0);
    }
    // The import runs on this thread: let the window repaint, but take no clicks meanwhile.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool offerFirstStart(const RegisterLocation &place, Dialogs &dialogs, QWidget *parent, RegisterImport import)
{
    FirstStartWindow window(place, dialogs, std::move(import), parent);
    return dialogs.showModal(&window) == QDialog::Accepted &&
           (QFileInfo::exists(place.path()) || QFileInfo::exists(place.serverConfPath()));
}

} // namespace fenlark
