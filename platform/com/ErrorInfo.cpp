#include "platform/com/ErrorInfo.h"

#include <utility>

namespace platform::com {

namespace {

thread_local std::string errorDescription;

}  // namespace

void SetErrorDescription(std::string_view text) noexcept {
    try {
        errorDescription = text;
    } catch (...) {
        errorDescription.clear();
    }
}

std::string TakeErrorDescription() {
    return std::exchange(errorDescription, std::string());
}

}  // namespace platform::com
