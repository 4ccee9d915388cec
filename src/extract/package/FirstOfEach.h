#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

namespace leafmill::extract::package {

// Keeps the first of each name in `names`, and the entries of `alongside`
// at the places kept, both in their order; gives how many were dropped.
// Sorting positions spares a set of every name, which a package of many
// parts would hold twice over.
template <typename T> std::size_t keepFirstOfEach(std::vector<std::string>& names, std::vector<T>& alongside)
{
    std::vector<std::uint32_t> order(names.size());
    std::iota(order.begin(), order.end(), 0U);
    std::ranges::stable_sort(order, [&](std::uint32_t a, std::uint32_t b) { return names[a] < names[b]; });
    std::vector<bool> repeated(names.size());
    for (std::size_t k = 1; k < order.size(); ++k)
        repeated[order[k]] = names[order[k]] == names[order[k - 1]];
    std::size_t kept = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (repeated[i])
            continue;
        if (kept != i) {
            names[kept] = std::move(names[i]);
            alongside[kept] = alongside[i];
        }
        ++kept;
    }
    const std::size_t dropped = names.size() - kept;
    names.resize(kept);
    alongside.resize(kept);
    return dropped;
}

}  // namespace leafmill::extract::package
