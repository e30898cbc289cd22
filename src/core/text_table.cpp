#include "core/text_table.h"

namespace fenlark {

void TextTable::reserve(qsizetype texts, qsizetype characters)
{
    m_ends.reserve(size_t(texts));
    m_characters.reserve(characters);
}

void TextTable::append(QStringView text)
{
    m_characters.append(text);
    m_ends.push_back(m_characters.size());
}

QStringView TextTable::at(qsizetype index) const noexcept
{
    const qsizetype begin = index == 0 ? 0 : m_ends[size_t(index - 1)];
    return QStringView(m_characters).mid(begin, m_ends[size_t(index)] - begin);
}

QStringList TextTable::toStringList() const
{
    QStringList texts;
    texts.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        texts << at(i).toString();
    return texts;
}

TextTable TextTable::fromStringList(const QStringList &texts)
{
    TextTable table;
    qsizetype characters = 0;
    for (const QString &text : texts)
        characters += text.size();
    table.reserve(texts.size(), characters);
    for (const QString &text : texts)
        table.append(text);
    return table;
}

} // namespace fenlark
