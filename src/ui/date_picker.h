#pragma once

#include <QDateTimeEdit>

namespace fenlark {

// A date box with a drop-down calendar. Its value is a date-time; the box shows the date.
// It starts at today, 00:00:00, as a fresh date box on the desktop does.
class DatePicker : public QDateTimeEdit {
    Q_OBJECT
public:
    explicit DatePicker(QWidget *parent = nullptr);

    QDateTime value() const { return dateTime(); }
    void setValue(const QDateTime &value) { setDateTime(value); }
};

} // namespace fenlark
