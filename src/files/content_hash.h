#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// A 64-bit hash of bytes (XXH3), the same on every system and in every version of the program:
// what the journal stores of a page's content and of each of its own records.
std::uint64_t ContentHash(std::string_view bytes);

// A page's state when it was checked: it counts as unchanged while all three agree.
struct TFileFingerprint {
    std::uint64_t Size = 0;
    std::int64_t ModifiedTime = 0; // in the system's own units (TFile::ModifiedTime)
    std::uint64_t Hash = 0;        // ContentHash of the whole content
    bool operator==(const TFileFingerprint&) const = default;
};

// The fingerprint of the regular file at path, read in pieces, so that a large page costs no
// more memory than a small one; nothing when it is no regular file or cannot be read whole.
std::optional<TFileFingerprint> FingerprintOf(const std::string& path);

// Whether the regular file at path still holds what fingerprint describes: its size and
// modification time agree, or its size does and its content hashes the same (a copy, a sync
// tool). Reads the content only in the second case.
bool StillMatches(const std::string& path, const TFileFingerprint& fingerprint);
