// Temporary stub: replaced by the real record layer.
#include "data/record_set.h"
namespace fenlark {
RecordSet::RecordSet() = default;
RecordSet::~RecordSet() = default;
bool RecordSet::attach(DBConnection &) noexcept { return false; }
bool RecordSet::openTable(const QString &) noexcept { return false; }
bool RecordSet::openSorted(const QString &, const QString &) noexcept { return false; }
bool RecordSet::openWhere(const QString &, const QString &) noexcept { return false; }
void RecordSet::close() noexcept {}
bool RecordSet::isOpen() const noexcept { return false; }
bool RecordSet::moveFirst() noexcept { return false; }
bool RecordSet::moveNext() noexcept { return false; }
bool RecordSet::moveFromFirst(int) noexcept { return false; }
bool RecordSet::isAtEnd() const noexcept { return true; }
bool RecordSet::find(const QString &, int) noexcept { return false; }
bool RecordSet::findNext() noexcept { return false; }
bool RecordSet::addNew() noexcept { return false; }
bool RecordSet::update() noexcept { return false; }
bool RecordSet::deleteCurrent() noexcept { return false; }
bool RecordSet::deleteAll() noexcept { return false; }
bool RecordSet::readText(const QString &, QString &) noexcept { return false; }
bool RecordSet::readInt(const QString &, int &) noexcept { return false; }
bool RecordSet::readBool(const QString &, bool &) noexcept { return false; }
bool RecordSet::readDateTime(const QString &, double &) noexcept { return false; }
bool RecordSet::readDouble(const QString &, double &) noexcept { return false; }
bool RecordSet::writeText(const QString &, const QString &) noexcept { return false; }
bool RecordSet::writeInt(const QString &, int) noexcept { return false; }
bool RecordSet::writeBool(const QString &, bool) noexcept { return false; }
bool RecordSet::writeDateTime(const QString &, double, int) noexcept { return false; }
bool RecordSet::writeDouble(const QString &, double) noexcept { return false; }
void RecordSet::preserveRow(const QString &, qint64) noexcept {}
} // namespace fenlark
