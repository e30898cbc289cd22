#include "ui/dialogs.h"

#include <QCoreApplication>
#include <QDialog>
#include <QMessageBox>
#include <QProgressDialog>

namespace fenlark {

namespace {
QMessageBox::Icon toQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

class QtProgressWindow final : public ProgressWindow {
public:
    QtProgressWindow(QWidget *parent, const QString &text, int total)
        : m_dialog(text, QStringLiteral("取消"), 0, total, parent)
    {
        m_dialog.setWindowTitle(defaultMessageTitle());
        m_dialog.setWindowModality(Qt::ApplicationModal);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
        m_dialog.setMinimumDuration(0);
        m_dialog.setValue(0);
        m_dialog.show();
        QCoreApplication::processEvents();
    }

    bool advance(int done) override
    {
        m_dialog.setValue(done);
        // The task runs on this thread: the window repaints and 取消 is seen only from here.
        QCoreApplication::processEvents();
        return !m_dialog.wasCanceled();
    }

private:
    QProgressDialog m_dialog;
};

class ScriptedProgressWindow final : public ProgressWindow {
public:
    ScriptedProgressWindow(std::vector<ScriptedDialogs::ProgressShown> &all, std::size_t at, int cancelAt)
        : m_all(all), m_at(at), m_cancelAt(cancelAt)
    {
    }

    bool advance(int done) override
    {
        ScriptedDialogs::ProgressShown &shown = m_all[m_at];
        shown.values.push_back(done);
        if (m_cancelAt > 0 && int(shown.values.size()) >= m_cancelAt)
            shown.cancelled = true;
        return !shown.cancelled;
    }

private:
    std::vector<ScriptedDialogs::ProgressShown> &m_all;
    std::size_t m_at;
    int m_cancelAt;
};
} // namespace

void QtDialogs::message(QWidget *parent, const QString &text, MessageIcon icon, const QString &title)
{
    QMessageBox box(toQt(icon), title, text, QMessageBox::Ok, parent);
    box.exec();
}

bool QtDialogs::askYesNo(QWidget *parent, const QString &text, MessageIcon icon, const QString &title,
                         DefaultAnswer defaultAnswer)
{
    QMessageBox box(toQt(icon), title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(defaultAnswer == DefaultAnswer::No ? QMessageBox::No : QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

int QtDialogs::showModal(QDialog *window)
{
    return window->exec();
}

std::unique_ptr<ProgressWindow> QtDialogs::showProgress(QWidget *parent, const QString &text, int total)
{
    return std::make_unique<QtProgressWindow>(parent, text, total);
}

std::unique_ptr<ProgressWindow> ScriptedDialogs::showProgress(QWidget *, const QString &text, int total)
{
    int cancelAt = 0;
    if (!m_cancelAt.empty()) {
        cancelAt = m_cancelAt.front();
        m_cancelAt.pop_front();
    }
    m_progress.push_back({text, total, {}, false});
    return std::make_unique<ScriptedProgressWindow>(m_progress, m_progress.size() - 1, cancelAt);
}

void ScriptedDialogs::message(QWidget *, const QString &text, MessageIcon icon, const QString &title)
{
    m_shown.push_back({text, icon, title, false});
}

bool ScriptedDialogs::askYesNo(QWidget *, const QString &text, MessageIcon icon, const QString &title,
                               DefaultAnswer defaultAnswer)
{
    m_shown.push_back({text, icon, title, true, defaultAnswer});
    if (m_answers.empty())
        return false;
    const bool yes = m_answers.front();
    const std::function<void()> meanwhile = std::move(m_meanwhile.front());
    m_answers.pop_front();
    m_meanwhile.pop_front();
    if (meanwhile)
        meanwhile();
    return yes;
}

int ScriptedDialogs::showModal(QDialog *window)
{
    if (m_modalScripts.empty()) {
        window->reject();
        return window->result();
    }
    auto script = std::move(m_modalScripts.front());
    m_modalScripts.pop_front();
    window->setResult(QDialog::Rejected);
    window->show();
    script(window);
    if (window->isVisible())
        window->done(window->result());
    return window->result();
}

} // namespace fenlark
