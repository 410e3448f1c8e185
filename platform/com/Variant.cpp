#include "platform/com/Variant.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string>

#include "platform/com/Bstr.h"
#include "platform/com/SafeArray.h"

namespace {

bool IsKnownArray(VARTYPE vt) {
    return vt == (VT_ARRAY | VT_R8) || vt == (VT_ARRAY | VT_VARIANT);
}

bool IsKnown(VARTYPE vt) {
    return vt == VT_EMPTY || vt == VT_I4 || vt == VT_R8 || vt == VT_BSTR || IsKnownArray(vt);
}

HRESULT TextToDouble(BSTR text, double& result) {
    const std::string utf8 = platform::com::BstrToUtf8(text);
    const std::size_t first = utf8.find_first_not_of(" \t");
    if (first == std::string::npos)
        return DISP_E_TYPEMISMATCH;
    const std::size_t last = utf8.find_last_not_of(" \t");
    const char* begin = utf8.data() + first;
    const char* end = utf8.data() + last + 1;
    bool negative = false;
    if (*begin == '+' || *begin == '-')
        negative = *begin++ == '-';
    // from_chars would also take "inf" and "nan", which are not numbers to a caller.
    if (begin == end || !(std::isdigit(static_cast<unsigned char>(*begin)) || *begin == '.')) {
        return DISP_E_TYPEMISMATCH;
    }
    double magnitude = 0;
    const auto [stop, error] = std::from_chars(begin, end, magnitude);
    if (error == std::errc::result_out_of_range)
        return DISP_E_OVERFLOW;
    if (error != std::errc{} || stop != end)
        return DISP_E_TYPEMISMATCH;
    result = negative ? -magnitude : magnitude;
    return S_OK;
}

}  // namespace

extern "C" {

void VariantInit(VARIANT* value) noexcept {
    if (value != nullptr)
        *value = VARIANT{};
}

HRESULT VariantClear(VARIANT* value) noexcept {
    if (value == nullptr)
        return E_INVALIDARG;
    if (!IsKnown(value->vt))
        return DISP_E_BADVARTYPE;
    if (value->vt == VT_BSTR)
        SysFreeString(value->bstrVal);
    if (IsKnownArray(value->vt))
        SafeArrayDestroy(value->parray);
    *value = VARIANT{};
    return S_OK;
}

HRESULT VariantCopy(VARIANT* destination, const VARIANT* source) noexcept {
    if (destination == nullptr || source == nullptr)
        return E_INVALIDARG;
    if (destination == source)
        return S_OK;
    if (!IsKnown(source->vt))
        return DISP_E_BADVARTYPE;
    VARIANT copy = *source;
    if (source->vt == VT_BSTR && source->bstrVal != nullptr) {
        copy.bstrVal = SysAllocStringLen(source->bstrVal, SysStringLen(source->bstrVal));
        if (copy.bstrVal == nullptr)
            return E_OUTOFMEMORY;
    } else if (IsKnownArray(source->vt)) {
        const HRESULT status = SafeArrayCopy(source->parray, &copy.parray);
        if (FAILED(status))
            return status;
    }
    const HRESULT status = VariantClear(destination);
    if (FAILED(status)) {
        VariantClear(&copy);
        return status;
    }
    *destination = copy;
    return S_OK;
}

}  // extern "C"

namespace platform::com {

HRESULT VariantToDouble(const VARIANT& value, double& result) noexcept {
    switch (value.vt) {
        case VT_EMPTY:
            result = 0;
            return S_OK;
        case VT_I4:
            result = value.lVal;
            return S_OK;
        case VT_R8:
            result = value.dblVal;
            return S_OK;
        case VT_BSTR:
            try {
                return TextToDouble(value.bstrVal, result);
            } catch (...) {
                return E_OUTOFMEMORY;
            }
        default:
            return DISP_E_TYPEMISMATCH;
    }
}

HRESULT VariantArrayElementToDouble(const VARIANT& array, LONG index, double& result) noexcept {
    if (!IsKnownArray(array.vt) || SafeArrayGetDim(array.parray) != 1)
        return DISP_E_TYPEMISMATCH;
    if (array.parray->vt == VT_R8)
        return SafeArrayGetElement(array.parray, &index, &result);
    if (array.parray->vt != VT_VARIANT)
        return DISP_E_TYPEMISMATCH;
    VARIANT element;
    const HRESULT status = SafeArrayGetElement(array.parray, &index, &element);
    if (FAILED(status))
        return status;
    const HRESULT converted = VariantToDouble(element, result);
    VariantClear(&element);
    return converted;
}

}  // namespace platform::com
