#pragma once

namespace fenlark {

struct AppState;
class CheckBox;
class Clock;
class ComboBox;
class DBConnection;
class EditBox;
class EGrid;

// 编辑框1 content changed: while "按首拼检索" is ticked, lists every household of the unit of the
// last list load and the chosen year (or all years) whose name initials begin with the typed
// text, in the table's stored order, with no page limit. The paging state is left as it was.
void searchByInitials(AppState &state, DBConnection &connection, const CheckBox &byInitials, const EditBox &box,
                      const ComboBox &years, EGrid &list, const Clock &clock);

} // namespace fenlark
