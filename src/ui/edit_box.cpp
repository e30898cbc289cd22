#include "ui/edit_box.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace fenlark {

namespace {
const QRegularExpression &decimalPattern()
{
    // Chinese input methods in full-width mode type the full-width forms of digits, point and
    // signs; they are taken here and turned into ASCII when the number is read.
    static const QRegularExpression pattern(QStringLiteral("[+\\-＋－]?[0-9０-９]*[.．]?[0-9０-９]*"));
    return pattern;
}
} // namespace

EditBox::EditBox(QWidget *parent, Input input) : QWidget(parent), m_input(input)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    rebuild();
}

bool EditBox::isDecimalInput(const QString &text)
{
    static const QRegularExpression whole(QRegularExpression::anchoredPattern(decimalPattern().pattern()));
    return whole.match(text).hasMatch();
}

void EditBox::setInput(Input input)
{
    if (input == m_input)
        return;
    m_input = input;
    rebuild();
}

void EditBox::rebuild()
{
    const QString text = m_line ? m_line->text() : (m_multiLine ? m_multiLine->toPlainText() : QString());
    delete m_line;
    delete m_multiLine;
    m_line = nullptr;
    m_multiLine = nullptr;
    if (m_input == Input::MultiLine) {
        m_multiLine = new QPlainTextEdit(this);
        m_multiLine->setPlainText(text);
        m_multiLine->setTabChangesFocus(true);
        connect(m_multiLine, &QPlainTextEdit::textChanged, this, &EditBox::contentChanged);
        layout()->addWidget(m_multiLine);
        setFocusProxy(m_multiLine);
    } else {
        m_line = new QLineEdit(this);
        if (m_input == Input::Decimal)
            m_line->setValidator(new QRegularExpressionValidator(decimalPattern(), m_line));
        m_line->setText(m_input == Input::Decimal && !isDecimalInput(text) ? QString() : text);
        connect(m_line, &QLineEdit::textChanged, this, &EditBox::contentChanged);
        layout()->addWidget(m_line);
        setFocusProxy(m_line);
    }
}

QString EditBox::content() const
{
    return m_line ? m_line->text() : m_multiLine->toPlainText();
}

void EditBox::setContent(const QString &text)
{
    if (m_line)
        m_line->setText(text);
    else
        m_multiLine->setPlainText(text);
}

} // namespace fenlark
