#include "ui/dialogs.h"

#include <QDialog>
#include <QMessageBox>

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
    m_answers.pop_front();
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
