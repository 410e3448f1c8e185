#pragma once

#include <string>
#include <string_view>

#include "platform/com/Types.h"

// What a failing server call says beyond its HRESULT, as the error objects of the original
// runtime carry it: the server sets the text on its thread before it returns the failure, and
// the caller takes it. One text per thread; setting it again replaces it.
namespace platform::com {

TAVOCOM_API void SetErrorDescription(std::string_view text) noexcept;
// The text set last on this thread, "" when none; taking it clears it.
TAVOCOM_API std::string TakeErrorDescription();

}  // namespace platform::com
