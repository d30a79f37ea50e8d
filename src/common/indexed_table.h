// Tables indexed by an enumeration (a failure, a status): a row is found by
// its key's value, so each table is checked at compile time to hold one row
// per value, in order, up to the last.
#pragma once

#include <cstddef>

namespace ecc200 {

// Whether row i's `key` is the value i for every row, the last row's being
// `last`.
template <typename Row, typename Key, std::size_t N>
constexpr bool RowsInKeyOrder(const Row (&rows)[N], Key Row::*key, Key last) {
    for (std::size_t i = 0; i < N; ++i) {
        if (rows[i].*key != static_cast<Key>(i)) return false;
    }
    return rows[N - 1].*key == last;
}

}  // namespace ecc200
