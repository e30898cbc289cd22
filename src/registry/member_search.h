#pragma once

namespace fenlark {

struct AppState;
class CheckBox;
class Clock;
class ComboBox;
class DBConnection;
class EditBox;
class EGrid;
class Label;

// Households listed by a search across every unit and year at most; past it the list says so.
inline constexpr int kMemberSearchLimit = 200;

// The controls of the search by a member's name or card beside the initials search.
struct MemberSearchControls {
    const CheckBox &byMember;   // 选择框2 "按姓名/身份证检索"
    const CheckBox &everywhere; // 选择框3 "全部单位和年份"
    const EditBox &box;         // 编辑框2
    const ComboBox &years;      // 组合框1
    EGrid &list;                // 高级表格1
    Label &note;                // 标签6: says when only the first households are listed
};

// 编辑框2 content changed (or 选择框3 toggled): while "按姓名/身份证检索" is ticked, lists the
// households with a member whose name or card number holds the typed text: of the unit of the
// last list load and the chosen year (or all years), or of every unit and year when 选择框3 is
// ticked. An empty text lists the whole unit and year as the initials search does, and nothing
// across every unit. The paging state is left as it was, as the initials search leaves it.
void searchByMember(AppState &state, DBConnection &connection, const MemberSearchControls &controls,
                    const Clock &clock);

} // namespace fenlark
