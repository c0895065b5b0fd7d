#include "platform/local_time.h"

std::tm LocalTime(std::time_t when, long* utcOffset) {
    std::tm local{};
    localtime_s(&local, &when);
    if (utcOffset != nullptr) {
        // The local calendar time read back as if it were UTC is ahead of
        // `when` by the zone's offset at that moment.
        std::tm copy = local;
        *utcOffset = static_cast<long>(_mkgmtime(&copy) - when);
    }
    return local;
}
