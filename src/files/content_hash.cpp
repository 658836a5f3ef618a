#include "files/content_hash.h"

#include "platform/exceptions.h"
#include "platform/file_io.h"

#include <algorithm>

#define XXH_INLINE_ALL
#include <xxhash.h>

std::uint64_t ContentHash(std::string_view bytes) {
    return XXH3_64bits(bytes.data(), bytes.size());
}

namespace {

std::uint64_t HashOfContent(TFile& file, std::uint64_t size) {
    constexpr std::uint64_t Piece = 1 << 16;
    const std::unique_ptr<XXH3_state_t, decltype(&XXH3_freeState)> state(XXH3_createState(),
                                                                         XXH3_freeState);
    XXH3_64bits_reset(state.get());
    for (std::uint64_t left = size; left > 0;) {
        const std::string piece = file.ReadExactly(std::min(left, Piece));
        XXH3_64bits_update(state.get(), piece.data(), piece.size());
        left -= piece.size();
    }
    return XXH3_64bits_digest(state.get());
}

} // namespace

std::optional<TFileFingerprint> FingerprintOf(const std::string& path) {
    try {
        std::optional<TFile> file = TFile::OpenRegular(path);
        if (!file) {
            return std::nullopt;
        }
        const std::uint64_t size = file->Size();
        return TFileFingerprint{size, file->ModifiedTime(), HashOfContent(*file, size)};
    } catch (const EInOutError&) {
        return std::nullopt;
    }
}

bool StillMatches(const std::string& path, const TFileFingerprint& fingerprint) {
    if (const std::optional<TFileStamp> stamp = StampOf(path);
        stamp && stamp->Size == fingerprint.Size &&
        stamp->ModifiedTime == fingerprint.ModifiedTime) {
        return true;
    }
    try {
        std::optional<TFile> file = TFile::OpenRegular(path);
        if (!file || file->Size() != fingerprint.Size) {
            return false;
        }
        return file->ModifiedTime() == fingerprint.ModifiedTime ||
               HashOfContent(*file, fingerprint.Size) == fingerprint.Hash;
    } catch (const EInOutError&) {
        return false;
    }
}
