#include "geom/dct/dct_sort_order.h"

#include <algorithm>

namespace geom {

namespace {

bool PositionLess(const SortedKey& a, const SortedKey& b) {
    return a.x < b.x || (a.x == b.x && a.y < b.y);
}

bool SamePosition(const SortedKey& a, const SortedKey& b) {
    return a.x == b.x && a.y == b.y;
}

// Position order, and the order of the records within one position.
bool KeyLess(const SortedKey& a, const SortedKey& b) {
    return PositionLess(a, b) || (SamePosition(a, b) && a.index < b.index);
}

void SortBucket(SortedKey* begin, SortedKey* end) {
    if (end - begin > 16) {
        // A function object rather than a function pointer, so that the comparison is inlined.
        std::sort(begin, end, [](const SortedKey& a, const SortedKey& b) { return KeyLess(a, b); });
        return;
    }
    for (SortedKey* next = begin + 1; next < end; ++next) {
        const SortedKey key = *next;
        SortedKey* hole = next;
        for (; hole > begin && KeyLess(key, hole[-1]); --hole) {
            *hole = hole[-1];
        }
        *hole = key;
    }
}

// Largest sorted rank within each range of the merge sort's recursion, the ranges numbered as
// a heap (root 1, halves 2 * node and 2 * node + 1). Gives the largest rank of first..last.
std::uint32_t FillRangeMaxima(const std::vector<std::uint32_t>& rank, std::uint32_t node,
                              std::uint32_t first, std::uint32_t last,
                              std::vector<std::uint32_t>& maxima) {
    if (first == last) {
        return rank[first];
    }
    const std::uint32_t mid = (first + last) / 2;
    const std::uint32_t left = FillRangeMaxima(rank, 2 * node, first, mid, maxima);
    const std::uint32_t right = FillRangeMaxima(rank, 2 * node + 1, mid + 1, last, maxima);
    maxima[node] = std::max(left, right);
    return maxima[node];
}

// Writes to `out` the merge order of the records `members` (ascending, within first..last, all
// at one position whose run ends at sorted rank runEnd): the order of the right half's members,
// then that of the left half's, reversed when nothing in first..last sorts after the run.
void RunOrder(const std::vector<std::uint32_t>& maxima, std::uint32_t node, std::uint32_t first,
              std::uint32_t last, const std::uint32_t* members, std::size_t count,
              std::uint32_t runEnd, std::uint32_t* out) {
    if (count == 1) {
        out[0] = members[0];
        return;
    }
    const std::uint32_t mid = (first + last) / 2;
    const std::size_t leftCount =
        static_cast<std::size_t>(std::upper_bound(members, members + count, mid) - members);
    const std::size_t rightCount = count - leftCount;
    if (rightCount > 0) {
        RunOrder(maxima, 2 * node + 1, mid + 1, last, members + leftCount, rightCount, runEnd, out);
    }
    if (leftCount > 0) {
        std::uint32_t* leftOut = out + rightCount;
        RunOrder(maxima, 2 * node, first, mid, members, leftCount, runEnd, leftOut);
        if (maxima[node] <= runEnd) {
            std::reverse(leftOut, leftOut + leftCount);
        }
    }
}

void OrderRuns(SortedKey* sorted, std::uint32_t n) {
    std::vector<std::uint32_t> rank(n);
    for (std::uint32_t k = 0; k < n; ++k) {
        rank[sorted[k].index] = k;
    }
    std::size_t nodes = 2;
    while (nodes < 2 * static_cast<std::size_t>(n)) {
        nodes *= 2;
    }
    std::vector<std::uint32_t> maxima(nodes);
    FillRangeMaxima(rank, 1, 0, n - 1, maxima);
    std::vector<std::uint32_t> members;
    std::vector<std::uint32_t> order;
    std::vector<SortedKey> run;
    for (std::uint32_t begin = 0; begin < n;) {
        std::uint32_t end = begin + 1;
        while (end < n && SamePosition(sorted[begin], sorted[end])) {
            ++end;
        }
        if (end - begin > 1) {
            members.clear();
            for (std::uint32_t k = begin; k < end; ++k) {
                members.push_back(sorted[k].index);
            }
            order.resize(members.size());
            RunOrder(maxima, 1, 0, n - 1, members.data(), members.size(), end - 1, order.data());
            // The keys of the run, ascending by index as the members are, put into that order.
            run.assign(sorted + begin, sorted + end);
            for (std::uint32_t k = begin; k < end; ++k) {
                const std::size_t from = static_cast<std::size_t>(
                    std::lower_bound(members.begin(), members.end(), order[k - begin]) -
                    members.begin());
                sorted[k] = run[from];
            }
        }
        begin = end;
    }
}

bool HasRuns(const SortedKey* sorted, std::uint32_t n) {
    for (std::uint32_t k = 1; k < n; ++k) {
        if (SamePosition(sorted[k - 1], sorted[k])) {
            return true;
        }
    }
    return false;
}

}  // namespace

void SortPointBuckets(SortedKey* sorted, const std::vector<std::uint32_t>& start) {
    for (std::size_t b = 0; b + 1 < start.size(); ++b) {
        SortBucket(sorted + start[b], sorted + start[b + 1]);
    }
}

void OrderPointRuns(SortedKey* sorted, std::uint32_t count) {
    if (HasRuns(sorted, count)) {
        OrderRuns(sorted, count);
    }
}

void MergeIntoPointSortOrder(SortedKey* sorted, std::uint32_t sortedCount, std::uint32_t count) {
    const auto less = [](const SortedKey& a, const SortedKey& b) { return KeyLess(a, b); };
    // The new keys, sorted apart, are merged in from the back: the keys already in order move at
    // most once, and only those that sort after the first new one.
    std::vector<SortedKey> added(sorted + sortedCount, sorted + count);
    std::sort(added.begin(), added.end(), less);
    std::size_t from = sortedCount;
    std::size_t to = count;
    for (std::size_t k = added.size(); k > 0;) {
        if (from > 0 && less(added[k - 1], sorted[from - 1])) {
            sorted[--to] = sorted[--from];
        } else {
            sorted[--to] = added[--k];
        }
    }
    OrderPointRuns(sorted, count);
}

}  // namespace geom
