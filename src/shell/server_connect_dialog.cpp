#include "shell/server_connect_dialog.h"

#include "data/server_conf.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fenlark {

namespace {

QLineEdit *field(QWidget *parent, const char16_t *name, const QString &text = QString())
{
    auto *edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromUtf16(name));
    return edit;
}

} // namespace

ServerConnectDialog::ServerConnectDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("连接县级服务器"));
    setWindowTitle(QStringLiteral("连接县级服务器"));
    m_host = field(this, u"编辑框_主机");
    m_port = field(this, u"编辑框_端口", QStringLiteral("5432"));
    m_port->setValidator(new QIntValidator(1, 65535, m_port));
    m_database = field(this, u"编辑框_数据库");
    m_user = field(this, u"编辑框_用户");

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("服务器地址："), m_host);
    form->addRow(QStringLiteral("端口："), m_port);
    form->addRow(QStringLiteral("数据库名："), m_database);
    form->addRow(QStringLiteral("用户名："), m_user);
    auto *note = new QLabel(QStringLiteral("密码不会保存：请放在 ~/.pgpass 中,或在连接时输入。"), this);

    auto *connectButton = new QPushButton(QStringLiteral("连接"), this);
    connectButton->setObjectName(QStringLiteral("按钮_连接"));
    auto *cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("按钮_取消"));
    // Return must not try a half-typed server.
    connectButton->setAutoDefault(false);
    cancel->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(connectButton);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addLayout(buttons);
    connect(connectButton, &QPushButton::clicked, this, &ServerConnectDialog::acceptIfNamed);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ServerConnectDialog::acceptIfNamed()
{
    // Without a host and a database there is nothing to try.
    if (m_host->text().trimmed().isEmpty()) {
        m_host->setFocus();
        return;
    }
    if (m_database->text().trimmed().isEmpty()) {
        m_database->setFocus();
        return;
    }
    accept();
}

QString ServerConnectDialog::connectionString() const
{
    return serverConnectionString(m_host->text(), m_port->text(), m_database->text(), m_user->text());
}

} // namespace fenlark
