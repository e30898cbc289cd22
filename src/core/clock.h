#pragma once

#include <QDateTime>

namespace fenlark {

// The program's source of "now": the save time of a household, the current year of the
// year list and the substitute for an empty date-time. Tests install a fixed clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    int currentYear() const { return now().date().year(); }
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(QDateTime at) : m_at(std::move(at)) {}
    QDateTime now() const override { return m_at; }
    void set(QDateTime at) { m_at = std::move(at); }

private:
    QDateTime m_at;
};

} // namespace fenlark
