#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace fenlark {

// Many short texts kept end to end in one buffer, each found by where it ends. A list of
// hundreds of thousands of texts (the query window's keywords) held as one QString each costs
// an allocation and a string header per text, and filling and freeing them took longer than
// reading the texts from the register; here the whole list is two allocations.
class TextTable {
public:
    void reserve(qsizetype texts, qsizetype characters);
    void append(QStringView text);

    qsizetype size() const noexcept { return qsizetype(m_ends.size()); }
    bool isEmpty() const noexcept { return m_ends.empty(); }
    // The text at index, which must be in range; valid until the table changes.
    QStringView at(qsizetype index) const noexcept;

    QStringList toStringList() const;
    static TextTable fromStringList(const QStringList &texts);

private:
    QString m_characters;
    std::vector<qsizetype> m_ends; // m_ends[i]: one past the last character of text i
};

} // namespace fenlark
