// Name-based UUIDs (RFC 4122, version 5: SHA-1): the same namespace and name
// always give the same UUID.
#pragma once

#include <array>
#include <cstdint>
#include <string>

using Uuid = std::array<uint8_t, 16>;

// The namespace of URLs that RFC 4122 defines.
extern const Uuid kUrlNamespace;

// The version-5 UUID of `name` in `space`.
Uuid NameUuid(const Uuid& space, const std::string& name);

// `uuid` as "urn:uuid:" and its 36 lower-case characters.
std::string UuidUrn(const Uuid& uuid);

// The SHA-1 digest of `bytes`.
std::array<uint8_t, 20> Sha1(const std::string& bytes);
