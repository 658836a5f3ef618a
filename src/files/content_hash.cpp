#include "files/content_hash.h"

#include "platform/exceptions.h"
#include "platform/file_io.h"

#include <algorithm>

#define XXH_INLINE_ALL
#include <xxhash.h>

std::uint64_t ContentHash(std::string_view bytes) {
    return XXH3_64bits(bytes.data(), bytes.size());
}

std::optional<TFileFingerprint> FingerprintOf(const std::string& path) {
    constexpr std::uint64_t Piece = 1 << 16;
    try {
        std::optional<TFile> file = TFile::OpenRegular(path);
        if (!file) {
            return std::nullopt;
        }
        TFileFingerprint fingerprint{file->Size(), file->ModifiedTime(), 0};
        const std::unique_ptr<XXH3_state_t, decltype(&XXH3_freeState)> state(XXH3_createState(),
                                                                             XXH3_freeState);
        XXH3_64bits_reset(state.get());
        for (std::uint64_t left = fingerprint.Size; left > 0;) {
            const std::string piece = file->ReadExactly(std::min(left, Piece));
            XXH3_64bits_update(state.get(), piece.data(), piece.size());
            left -= piece.size();
        }
        fingerprint.Hash = XXH3_64bits_digest(state.get());
        return fingerprint;
    } catch (const EInOutError&) {
        return std::nullopt;
    }
}
