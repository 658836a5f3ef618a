#include "platform/exceptions.h"

#include <cstring>

EInOutError EInOutError::FromCode(int errorCode, const std::string& action,
                                  const std::string& path) {
    return EInOutError(errorCode, action + " \"" + path + "\": " + std::strerror(errorCode));
}

EListError EListError::IndexError(long long index) {
    return EListError("List index out of bounds (" + std::to_string(index) + ")");
}
