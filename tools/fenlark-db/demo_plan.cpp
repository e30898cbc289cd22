#include "demo_plan.h"

#include "demo_random.h"
#include "demo_words.h"

#include <QSet>

#include <algorithm>

namespace fenlark::dbtool {

namespace {

int ceilDiv(qint64 a, qint64 b)
{
    return int((a + b - 1) / b);
}

// count distinct place names of random characters followed by one of the suffixes. The names
// grow a character longer whenever the pairs would run short, so a pick rarely repeats.
std::vector<QString> placeNames(int count, const std::vector<QString> &suffixes, DemoRandom &random)
{
    const std::vector<QString> &characters = words::placeCharacters();
    int length = 2;
    qint64 combinations = qint64(characters.size()) * qint64(characters.size());
    while (combinations < qint64(count) * 2) {
        ++length;
        combinations *= qint64(characters.size());
    }
    std::vector<QString> names;
    names.reserve(size_t(count));
    QSet<QString> stems;
    while (int(names.size()) < count) {
        QString stem;
        for (int i = 0; i < length; ++i)
            stem += random.pick(characters);
        // The stem must be unique, not only the name: 白沙镇 and 白沙乡 would read as one place.
        if (stems.contains(stem))
            continue;
        stems.insert(stem);
        names.push_back(stem + random.pick(suffixes));
    }
    return names;
}

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n % 100, 2, 10, QLatin1Char('0'));
}

} // namespace

DemoRegions planDemoRegions(int households, DemoRandom &random)
{
    const int villageCount = std::max(20, ceilDiv(households, 300));
    const int townshipCount = std::max(6, ceilDiv(villageCount, 12));
    const int cityCount = std::max(3, ceilDiv(townshipCount, 10));

    const QString country = QStringLiteral("中国");
    const QString province = QStringLiteral("湖南省");
    const std::vector<QString> cities = placeNames(cityCount, {QStringLiteral("市")}, random);
    const std::vector<QString> townships =
        placeNames(townshipCount, {QStringLiteral("镇"), QStringLiteral("镇"), QStringLiteral("乡")}, random);
    const std::vector<QString> villages = placeNames(villageCount, {QStringLiteral("村委会")}, random);

    DemoRegions regions;
    regions.units.reserve(size_t(2 + cityCount + townshipCount + villageCount));
    regions.units.push_back({1, QStringLiteral("国家"), country, QString()});
    regions.units.push_back({2, QStringLiteral("省"), province, country});
    for (const QString &city : cities)
        regions.units.push_back({3, QStringLiteral("市"), city, province});
    // Townships and villages are dealt out in even blocks: township t belongs to city
    // t * cities / townships, and likewise for the villages.
    for (int t = 0; t < townshipCount; ++t)
        regions.units.push_back(
            {4, QStringLiteral("乡镇"), townships[size_t(t)], cities[size_t(qint64(t) * cityCount / townshipCount)]});
    regions.villages.reserve(size_t(villageCount));
    for (int v = 0; v < villageCount; ++v) {
        const int t = int(qint64(v) * townshipCount / villageCount);
        const int c = int(qint64(t) * cityCount / townshipCount);
        const QString &name = villages[size_t(v)];
        const QString &township = townships[size_t(t)];
        regions.units.push_back({5, QStringLiteral("村委会"), name, township});
        QString village = name;
        village.chop(2); // 石桥村委会 → 石桥村
        // 43 is the province; then the city and the county (one per township within its city).
        const QString areaCode = QStringLiteral("43") + twoDigits(1 + c % 99) + twoDigits(21 + t % 79);
        regions.villages.push_back({name, township, township + village, areaCode});
    }
    return regions;
}

} // namespace fenlark::dbtool
