#pragma once

#include <QString>

#include <vector>

namespace fenlark::dbtool {

class DemoRandom;

// One row of 区域管理.
struct DemoUnit {
    int level = 0; // 1 国家 … 5 村委会
    QString levelName;
    QString name;
    QString parent; // the parent's unit name, empty for the country
};

// What a household needs to know of the village committee it belongs to.
struct DemoVillage {
    QString name;     // unit name, e.g. 石桥村委会
    QString township; // its parent's unit name
    QString address;  // address prefix, e.g. 白沙镇石桥村
    QString areaCode; // the six leading digits of the residents' card numbers
};

struct DemoRegions {
    std::vector<DemoUnit> units; // level by level, parents before children
    std::vector<DemoVillage> villages;
};

// A hierarchy sized so that a village committee holds a few hundred households: at least
// 20 villages, about 12 to a township and 10 townships to a city (at least 6 townships and
// 3 cities). Unit names are unique, since units name their parents by name.
DemoRegions planDemoRegions(int households, DemoRandom &random);

} // namespace fenlark::dbtool
