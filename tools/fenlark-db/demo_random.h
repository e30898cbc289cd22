#pragma once

#include <QtGlobal>

#include <initializer_list>
#include <vector>

namespace fenlark::dbtool {

// splitmix64: small, fast and the same on every machine, so a demo of N households is the
// same file wherever and whenever it is made.
class DemoRandom {
public:
    explicit DemoRandom(quint64 seed) : m_state(seed) {}

    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // 0 … n-1 (n > 0); the tiny bias of the modulo does not matter for demo data.
    int below(int n) { return int((next() >> 11) % quint64(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool percent(int p) { return below(100) < p; }
    bool permille(int p) { return below(1000) < p; }

    template <typename T> const T &pick(const std::vector<T> &items) { return items[size_t(below(int(items.size())))]; }

    // An index chosen with the given relative weights.
    int weighted(std::initializer_list<int> weights)
    {
        int total = 0;
        for (int w : weights)
            total += w;
        int roll = below(total);
        int index = 0;
        for (int w : weights) {
            if (roll < w)
                return index;
            roll -= w;
            ++index;
        }
        return index - 1;
    }

private:
    quint64 m_state;
};

} // namespace fenlark::dbtool
