// A local date and time with whole seconds, the value FileTimeToDate gives.
#pragma once

#include <compare>
#include <string>

namespace quorvantell {

struct DateTime {
    int year = 1601, month = 1, day = 1, hour = 0, minute = 0, second = 0;

    auto operator<=>(const DateTime&) const = default;

    // The general date format of the current LC_TIME locale; under the C
    // locale the unambiguous form 2026-12-07 10:30:00.
    std::string ToString() const;
};

}  // namespace quorvantell
