#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

namespace tvl {

// The value of the run a sparse slot array (fonts or colours of a rich text) has at index: the last set
// slot at or before it.
template <class T>
std::optional<T> RunAt(const std::vector<std::optional<T>>& runs, size_t index)
{
    for (size_t i = std::min(index + 1, runs.size()); i > 0; --i) {
        if (runs[i - 1])
            return runs[i - 1];
    }
    return std::nullopt;
}

} // namespace tvl
