#include "platform/file_io.h"

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
