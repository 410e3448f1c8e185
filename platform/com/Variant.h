#pragma once

#include "platform/com/Types.h"

struct SAFEARRAY;

constexpr VARTYPE VT_EMPTY = 0;
constexpr VARTYPE VT_I4 = 3;
constexpr VARTYPE VT_R8 = 5;
constexpr VARTYPE VT_BSTR = 8;
constexpr VARTYPE VT_VARIANT = 12;
// Combined with an element type (VT_ARRAY | VT_R8): the value is the array in parray.
constexpr VARTYPE VT_ARRAY = 0x2000;

// A tagged value. It owns what it holds: the BSTR of VT_BSTR, the array of VT_ARRAY | x.
struct VARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        LONG lVal;
        double dblVal;
        BSTR bstrVal;
        SAFEARRAY* parray;
    };
};
using VARIANTARG = VARIANT;

extern "C" {
TAVOCOM_API void VariantInit(VARIANT* value) noexcept;
// Frees what the value holds and leaves it VT_EMPTY; DISP_E_BADVARTYPE (value untouched) for
// a type this runtime does not know.
TAVOCOM_API HRESULT VariantClear(VARIANT* value) noexcept;
// Deep copy (strings and arrays are duplicated); clears destination first only once the copy
// is made, so a failure leaves destination as it was.
TAVOCOM_API HRESULT VariantCopy(VARIANT* destination, const VARIANT* source) noexcept;
}

namespace platform::com {

// VT_R8 and VT_I4 as they are, VT_EMPTY as 0, VT_BSTR when the whole text (spaces around it
// aside) is a decimal number. Anything else: DISP_E_TYPEMISMATCH; a number too large for a
// double: DISP_E_OVERFLOW.
TAVOCOM_API HRESULT VariantToDouble(const VARIANT& value, double& result) noexcept;

// Element index of a one-dimensional VT_ARRAY | VT_R8 or VT_ARRAY | VT_VARIANT, converted as
// VariantToDouble does. DISP_E_BADINDEX for an index outside the bounds, DISP_E_TYPEMISMATCH for
// any other value. Reads nothing outside the array.
TAVOCOM_API HRESULT VariantArrayElementToDouble(const VARIANT& array, LONG index,
                                                double& result) noexcept;

}  // namespace platform::com
