#include "platform/exceptions.h"

#include "platform/system.h"

EInOutError EInOutError::FromCode(int errorCode, const std::string& action,
                                  const std::string& path) {
    return EInOutError(errorCode, action + " \"" + path + "\": " + SystemErrorText(errorCode));
}

EListError EListError::IndexError(long long index) {
    return EListError("List index out of bounds (" + std::to_string(index) + ")");
}
