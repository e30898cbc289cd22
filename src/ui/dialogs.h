#pragma once

#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

class QWidget;
class QDialog;

namespace fenlark {

enum class MessageIcon { None, Error, Question, Information };

// Which button a question's Return key presses. A question whose Yes destroys something
// defaults to No, so a stray Return never deletes.
enum class DefaultAnswer { Yes, No };

inline QString defaultMessageTitle()
{
    return QStringLiteral("信息：");
}

// A long task's modal progress window with a "取消" button; it closes when destroyed.
class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;
    // Shows that done of the total are done; false once the user has asked to stop.
    virtual bool advance(int done) = 0;
};

// Every message box, question and modal window of the program goes through here, so tests
// can see what was shown and answer it without a box blocking the run.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void message(QWidget *parent, const QString &text, MessageIcon icon,
                         const QString &title = defaultMessageTitle()) = 0;
    // Yes/No question; true only for Yes (closing the box counts as No).
    virtual bool askYesNo(QWidget *parent, const QString &text, MessageIcon icon,
                          const QString &title = defaultMessageTitle(),
                          DefaultAnswer defaultAnswer = DefaultAnswer::Yes) = 0;
    // Shows the window modally and returns when it has closed (QDialog::exec's result).
    virtual int showModal(QDialog *window) = 0;
    // Opens a modal progress window telling text, for a task of total steps.
    virtual std::unique_ptr<ProgressWindow> showProgress(QWidget *parent, const QString &text, int total) = 0;
};

class QtDialogs final : public Dialogs {
public:
    void message(QWidget *parent, const QString &text, MessageIcon icon, const QString &title) override;
    bool askYesNo(QWidget *parent, const QString &text, MessageIcon icon, const QString &title,
                  DefaultAnswer defaultAnswer) override;
    int showModal(QDialog *window) override;
    std::unique_ptr<ProgressWindow> showProgress(QWidget *parent, const QString &text, int total) override;
};

// Test double: records every message and question, answers questions from a queue (No when
// it is empty) and runs a scripted interaction for each modal window instead of blocking.
class ScriptedDialogs final : public Dialogs {
public:
    struct Shown {
        QString text;
        MessageIcon icon;
        QString title;
        bool question;
        DefaultAnswer defaultAnswer = DefaultAnswer::Yes; // meaningful for questions only
    };

    void message(QWidget *parent, const QString &text, MessageIcon icon, const QString &title) override;
    bool askYesNo(QWidget *parent, const QString &text, MessageIcon icon, const QString &title,
                  DefaultAnswer defaultAnswer) override;
    int showModal(QDialog *window) override;
    std::unique_ptr<ProgressWindow> showProgress(QWidget *parent, const QString &text, int total) override;

    // A progress window as it was shown: its text, its total, every value it was advanced to,
    // and whether it asked the task to stop.
    struct ProgressShown {
        QString text;
        int total = 0;
        std::vector<int> values;
        bool cancelled = false;
    };
    // The next progress window's 取消 is pressed at its call-th advance (1 is the first).
    void cancelProgressAt(int call) { m_cancelAt.push_back(call); }
    const std::vector<ProgressShown> &progressShown() const { return m_progress; }

    void answerNext(bool yes) { answerNext(yes, {}); }
    // The same, with meanwhile run while the question is up (another clerk's work, say).
    void answerNext(bool yes, std::function<void()> meanwhile)
    {
        m_answers.push_back(yes);
        m_meanwhile.push_back(std::move(meanwhile));
    }
    // The next modal window is handed to script (it may fill fields, click, close it); the
    // window is shown (not modally) while the script runs. Without a script the window is
    // closed at once with QDialog::Rejected.
    void onNextModal(std::function<void(QDialog *)> script) { m_modalScripts.push_back(std::move(script)); }

    const std::vector<Shown> &shown() const { return m_shown; }
    QString lastText() const { return m_shown.empty() ? QString() : m_shown.back().text; }
    void clear() { m_shown.clear(); }

private:
    std::vector<Shown> m_shown;
    std::deque<bool> m_answers;
    std::deque<std::function<void()>> m_meanwhile; // beside m_answers, one each
    std::deque<std::function<void(QDialog *)>> m_modalScripts;
    std::vector<ProgressShown> m_progress;
    std::deque<int> m_cancelAt;
};

} // namespace fenlark
