#include "platform/file_io.h"

#include <utility>

TFile::TFile(TFile&& other) noexcept
    : Descriptor(std::exchange(other.Descriptor, -1)), FilePath(std::move(other.FilePath)) {}

TFile& TFile::operator=(TFile&& other) noexcept {
    if (this != &other) {
        if (Descriptor != -1) {
            Release(Descriptor);
        }
        Descriptor = std::exchange(other.Descriptor, -1);
        FilePath = std::move(other.FilePath);
    }
    return *this;
}

TFile::~TFile() {
    if (Descriptor != -1) {
        Release(Descriptor);
    }
}

std::string ReadFileBytes(const std::string& path) {
    TFile file = TFile::OpenRead(path);
    std::string bytes = file.ReadExactly(file.Size());
    file.Close();
    return bytes;
}

void WriteFileBytes(const std::string& path, std::string_view bytes) {
    TFile file = TFile::Create(path);
    file.WriteAll(bytes);
    file.Close();
}
