#include "platform/local_time.h"

std::tm LocalTime(std::time_t when, long* utcOffset) {
    std::tm local{};
    localtime_r(&when, &local);
    if (utcOffset != nullptr) *utcOffset = local.tm_gmtoff;
    return local;
}
