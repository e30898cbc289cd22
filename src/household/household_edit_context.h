#pragma once

namespace fenlark {

class Clock;
class ComboBox;
class EGrid;
class Label;
class PrintService;
class RecordSet;
class TreeBox;

// The parts of the main window's household page the household form and the deletion work on.
struct HouseholdEditContext {
    EGrid &list;         // 高级表格1, the household list
    TreeBox &regionTree; // 树型框1: the parent unit of a saved household comes from it
    ComboBox &yearList;  // 组合框1, refilled after every save
    RecordSet &mainSet;  // the main window's 记录集1
    Label &countLabel;   // 标签1, "总项目数："
    const Clock &clock;  // the save time
    // "打印" of the form; none: the system's print preview and dialog.
    PrintService *printer = nullptr;
};

} // namespace fenlark
