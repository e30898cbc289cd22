#pragma once

#include "ui/grid_model.h"

namespace fenlark {

class Clock;
class DBConnection;

// The household list's cells of a queried household, read by its rowid when the list shows it:
// what selectByCriteria gives for the row (column 1 the 户主 column), the check columns as check
// boxes. A household gone from the store since the query shows empty cells.
class QueryRowReader final : public GridRowReader {
public:
    QueryRowReader(DBConnection &connection, const Clock &clock) : m_connection(connection), m_clock(clock) {}
    std::vector<GridListedRow> read(const std::vector<qint64> &keys) override;

private:
    DBConnection &m_connection;
    const Clock &m_clock;
};

} // namespace fenlark
