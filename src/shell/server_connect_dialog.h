#pragma once

#include <QDialog>

class QLineEdit;

namespace fenlark {

// The first start's small window for a county server: host, port, database and user (no
// password: that comes from ~/.pgpass or is asked for when the server wants one).
class ServerConnectDialog final : public QDialog {
    Q_OBJECT
public:
    explicit ServerConnectDialog(QWidget *parent = nullptr);

    // The libpq connection string of the fields as filled.
    QString connectionString() const;

private:
    void acceptIfNamed();

    QLineEdit *m_host = nullptr;
    QLineEdit *m_port = nullptr;
    QLineEdit *m_database = nullptr;
    QLineEdit *m_user = nullptr;
};

} // namespace fenlark
