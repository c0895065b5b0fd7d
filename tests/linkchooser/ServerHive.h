// Hand-written web server hives for the document map and walk tests.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// One DocMap value: the URL prefix and the directory text, both unescaped.
using MapValueText = std::pair<std::string, std::string>;

// Hive text holding "ServerRoot" (left out when absent) and a DocMap key with
// `values` in this order (left out entirely when absent).
std::string ServerHiveText(const std::optional<std::string>& serverRoot,
                           const std::optional<std::vector<MapValueText>>& values);
