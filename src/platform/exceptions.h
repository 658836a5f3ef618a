#pragma once

#include <exception>
#include <string>

// Base of every failure the program raises; Message is shown to the user as it stands.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : Message(std::move(message)) {}
    const char* what() const noexcept override { return Message.c_str(); }

    std::string Message;
};

// What a file operation that failed was doing, as its message says.
enum class TFileAction { Open, Create, WriteInPlace, GetSize, Read, Write, Close, RenameTo };

// A file operation failed; ErrorCode is the OS error number (errno on Linux).
class EInOutError : public Exception {
public:
    EInOutError(int errorCode, std::string message)
        : Exception(std::move(message)), ErrorCode(errorCode) {}

    // "<what the action could not do>: <path> (<the system's text for errorCode>)", in the
    // narrow encoding, as "ﾌｧｲﾙを作れません: /out/report.txt (No such file or directory)".
    static EInOutError FromCode(int errorCode, TFileAction action, const std::string& path);

    int ErrorCode;
};

// An item number named no item of a list.
class EListError : public Exception {
public:
    using Exception::Exception;

    static EListError IndexError(long long index);
};
