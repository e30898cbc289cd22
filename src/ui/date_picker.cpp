#include "ui/date_picker.h"

namespace fenlark {

DatePicker::DatePicker(QWidget *parent) : QDateTimeEdit(QDate::currentDate(), parent)
{
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    setTimeSpec(Qt::LocalTime);
}

} // namespace fenlark
