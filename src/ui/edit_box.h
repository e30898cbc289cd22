#pragma once

#include <QWidget>

class QLineEdit;
class QPlainTextEdit;

namespace fenlark {

// A text box. Any text, decimal numbers only (a validator lets through exactly what a user types
// on the way to a decimal number: digits, one point, a leading sign, or nothing; each of them
// ASCII or full-width), or several
// lines. The inner editor is a QLineEdit for the first two, a QPlainTextEdit for several lines.
class EditBox : public QWidget {
    Q_OBJECT
public:
    enum class Input { Text, Decimal, MultiLine };

    explicit EditBox(QWidget *parent = nullptr, Input input = Input::Text);

    void setInput(Input input); // keeps the content where the new mode allows it
    Input input() const { return m_input; }

    QString content() const;
    void setContent(const QString &text); // the program's text is shown as given, not validated

    QLineEdit *lineEdit() const { return m_line; }           // nullptr for several lines
    QPlainTextEdit *textEdit() const { return m_multiLine; } // nullptr for one line

    // True when the text is one a decimal box takes as typed (used by the validator).
    static bool isDecimalInput(const QString &text);

Q_SIGNALS:
    // The content changed, by typing or by setContent.
    void contentChanged();

private:
    void rebuild();

    Input m_input;
    QLineEdit *m_line = nullptr;
    QPlainTextEdit *m_multiLine = nullptr;
};

} // namespace fenlark
