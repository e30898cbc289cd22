#pragma once

namespace fenlark {

class EGrid;
class RecordSet;

// Fills the region-page list from the region table, level by level, rows numbered and centred.
void fillRegionList(RecordSet &mainSet, EGrid &regionList);

} // namespace fenlark
